#include "model/gui/Prompts.h"

#include "model/FileIO.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace kestrel {

namespace {

QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Information: return QMessageBox::Information;
    case Prompts::Icon::Warning: return QMessageBox::Warning;
    case Prompts::Icon::Question: return QMessageBox::Question;
    case Prompts::Icon::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QString caseInsensitivePatterns(const QString& patterns)
{
    QStringList out;
    for (const QString& p : patterns.split(';', Qt::SkipEmptyParts)) {
        const QString trimmed = p.trimmed();
        out << trimmed;
        for (const QString& variant : {trimmed.toLower(), trimmed.toUpper()})
            if (!out.contains(variant))
                out << variant;
    }
    return out.join(' ');
}

} // namespace

QString qtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // A description that names its patterns already ("All files (*.*)")
        // gets them once, in either letter case; other words in brackets
        // ("(Excellon)") stay.
        QString description = parts[i].trimmed();
        if (const qsizetype open = description.lastIndexOf('(');
            description.endsWith(')') && open >= 0 && description.indexOf('*', open) >= 0)
            description = description.left(open).trimmed();
        filters << description + " (" + caseInsensitivePatterns(parts[i + 1]) + ")";
    }
    return filters.join(";;");
}

QString fileKindName(const QFileInfo& file, Language lang)
{
    if (file.isDir())
        return QString::fromUtf8(tr(lang, "Папка", "Folder"));
    const QString suffix = file.suffix().toUpper();
    if (suffix.isEmpty())
        return QString::fromUtf8(tr(lang, "Файл", "File"));
    return lang == Language::English ? suffix + " file" : QString::fromUtf8("Файл ") + suffix;
}

namespace {

// The kinds in the file dialog's list in the interface language: the
// system's own descriptions follow the number locale, which is C.
class FileKinds : public QFileIconProvider {
public:
    explicit FileKinds(Language lang) : lang_(lang) {}
    QString type(const QFileInfo& file) const override { return fileKindName(file, lang_); }

private:
    Language lang_;
};

} // namespace

std::optional<QString> DesktopPrompts::openFileName(QWidget* parent, const QString& directory,
                                                    const QString& filter)
{
    FileKinds kinds(lang_);
    QFileDialog dialog(parent, QString::fromUtf8(tr(lang_, "Открыть", "Open")), directory, qtNameFilters(filter));
    dialog.setIconProvider(&kinds);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> DesktopPrompts::saveFileName(QWidget* parent, const QString& startPath,
                                                    const QString& filter, const QString& defaultSuffix,
                                                    const QString& caption, bool askBeforeReplacing)
{
    FileKinds kinds(lang_);
    QFileDialog dialog(parent, caption, startPath, qtNameFilters(filter));
    dialog.setIconProvider(&kinds);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !askBeforeReplacing);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString chosen = dialog.selectedFiles().first();
        // The dialog takes a name typed into a folder that is not there; it
        // is refused here, and the dialog comes back with the name kept.
        const QString folder = QFileInfo(chosen).absolutePath();
        if (QFileInfo(folder).isDir())
            return chosen;
        message(&dialog, caption,
                QString::fromUtf8(tr(lang_, "Такой папки нет: ", "There is no such folder: ")) +
                    QDir::toNativeSeparators(folder),
                Icon::Warning);
        dialog.selectFile(QFileInfo(chosen).fileName());
    }
}

void DesktopPrompts::message(QWidget* parent, const QString& caption, const QString& text, Icon icon)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText); // file names are shown as they are, never as markup
    nameOkButton(box);
    box.exec();
}

Prompts::Answer DesktopPrompts::ask(QWidget* parent, const QString& caption, const QString& text,
                                    Buttons buttons, Icon icon)
{
    const auto standard = buttons == Buttons::YesNoCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                          : buttons == Buttons::YesNo     ? QMessageBox::Yes | QMessageBox::No
                                                          : QMessageBox::Ok | QMessageBox::Cancel;
    QMessageBox box(boxIcon(icon), caption, text, standard, parent);
    box.setTextFormat(Qt::PlainText);
    nameOkButton(box);
    // A warning asks whether to go on with something risky: Enter does not.
    if (icon == Icon::Warning && buttons == Buttons::YesNo)
        box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return Answer::Cancel;
    }
}

void DesktopPrompts::nameOkButton(QMessageBox& box) const
{
    if (QAbstractButton* ok = box.button(QMessageBox::Ok))
        ok->setText(QString::fromUtf8(tr(lang_, "ОК", "OK")));
}

bool DesktopPrompts::runDialog(QDialog& dialog)
{
    // Qt's own dialogs (page set-up) carry a standard button box.
    for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
        if (QAbstractButton* ok = box->button(QDialogButtonBox::Ok))
            ok->setText(QString::fromUtf8(tr(lang_, "ОК", "OK")));
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> exportFileName(Prompts& prompts, QWidget* parent, const QString& caption,
                                      const std::string& layoutFile, const QString& startPath, const QString& filter,
                                      const QString& defaultSuffix, Language lang, bool askBeforeReplacing)
{
    // A bare default name starts beside the open layout, where its other
    // files are (a new document's in the folder last worked in), not in
    // whatever folder the editor was started from.
    QString start = startPath;
    if (QFileInfo(startPath).isRelative()) {
        const QDir folder = layoutFile.empty() ? QDir(prompts.lastFolder)
                                               : QFileInfo(QString::fromStdString(layoutFile)).absoluteDir();
        if ((!layoutFile.empty() || !prompts.lastFolder.isEmpty()) && folder.exists())
            start = folder.filePath(startPath);
    }
    const auto path = prompts.saveFileName(parent, start, filter, defaultSuffix, caption, askBeforeReplacing);
    if (path && sameFile(layoutFile, path->toStdString())) {
        prompts.message(parent, caption,
                        QString::fromUtf8(tr(lang, "Файл не может заменить открытую раскладку: ",
                                             "The file cannot replace the open layout: ")) +
                            *path,
                        Prompts::Icon::Error);
        return std::nullopt;
    }
    return path;
}

} // namespace kestrel
