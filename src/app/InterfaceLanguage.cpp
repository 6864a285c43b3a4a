#include "app/InterfaceLanguage.h"

#include "app/SettingsFile.h"

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLocale>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>

#include <memory>

namespace kestrel {

namespace {

constexpr char kFileName[] = "SPRACHE.INI";
constexpr char kKey[] = "Sprache/Sprache";

} // namespace

QStringList languageFileFolders(const QString& programDirectory)
{
    return {QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), programDirectory};
}

Language readInterfaceLanguage(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(kFileName);
        if (!QFileInfo::exists(path))
            continue;
        const QSettings file(path, QSettings::IniFormat);
        if (!file.contains(kKey))
            continue;
        bool isNumber = false;
        const int value = file.value(kKey).toInt(&isNumber);
        return !isNumber || value == 0 ? Language::Russian : Language::English;
    }
    return Language::Russian;
}

bool writeInterfaceLanguage(Language lang, const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QSettings file(QDir(folder).filePath(kFileName), QSettings::IniFormat);
    file.setValue(kKey, static_cast<int>(lang));
    return settingsWritten(file);
}

std::optional<Language> languageFromName(const QString& name)
{
    if (name.compare("ru", Qt::CaseInsensitive) == 0)
        return Language::Russian;
    if (name.compare("en", Qt::CaseInsensitive) == 0)
        return Language::English;
    return std::nullopt;
}

bool installQtTranslation(Language lang)
{
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (lang != Language::Russian)
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed = translator.release();
    return true;
}

namespace {

// A comma typed into a number field is the decimal comma of the Russian
// keyboard: it is taken as the point. The C locale would take it for a
// thousands separator and drop it, so "0,6" became 6.
class DecimalCommaFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool numberField = qobject_cast<QDoubleSpinBox*>(watched) ||
                                 (watched->parent() && qobject_cast<QDoubleSpinBox*>(watched->parent()));
        if (key->text() != QStringLiteral(",") || !numberField)
            return false;
        QKeyEvent point(QEvent::KeyPress, Qt::Key_Period, key->modifiers(), QStringLiteral("."),
                        key->isAutoRepeat(), static_cast<quint16>(key->count()));
        QCoreApplication::sendEvent(watched, &point);
        return true;
    }
};

} // namespace

QLocale decimalPointLocale()
{
    QLocale point = QLocale::c();
    // A pasted "1,5" is refused rather than read as 15.
    point.setNumberOptions(point.numberOptions() | QLocale::RejectGroupSeparator);
    return point;
}

void useDecimalPoint()
{
    QLocale::setDefault(decimalPointLocale());
    static bool filtering = false;
    if (QCoreApplication* app = QCoreApplication::instance(); app && !filtering) {
        app->installEventFilter(new DecimalCommaFilter(app));
        filtering = true;
    }
}

} // namespace kestrel
