#include "app/InterfaceLanguage.h"

#include <QCoreApplication>
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
    file.sync();
    return file.status() == QSettings::NoError;
}

std::optional<Language> languageFromName(const QString& name)
{
    if (name == "ru")
        return Language::Russian;
    if (name == "en")
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

void useDecimalPoint()
{
    QLocale::setDefault(QLocale::c());
}

} // namespace kestrel
