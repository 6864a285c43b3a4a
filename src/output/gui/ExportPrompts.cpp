#include "output/gui/ExportPrompts.h"

#include <QDialog>
#include <QFileDialog>
#include <QStringList>

namespace kestrel {

namespace {

// "Drill files|*.DRL" as a Qt name filter that matches either letter case.
QString nameFilters(const QString& filter)
{
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = parts[i + 1].trimmed();
        filters << parts[i].trimmed() + " (" + pattern.toLower() + " " + pattern.toUpper() + ")";
    }
    return filters.join(";;");
}

} // namespace

ExportPrompts ExportPrompts::desktop()
{
    ExportPrompts p;
    p.saveFileName = [](QWidget* parent, const QString& suggested, const QString& filter,
                        const QString& defaultSuffix) -> std::optional<QString> {
        QFileDialog dialog(parent, QString(), suggested, nameFilters(filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(defaultSuffix);
        dialog.selectFile(suggested);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().first();
    };
    p.message = [](QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon) {
        QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
        box.exec();
    };
    p.runDialog = [](QDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    return p;
}

} // namespace kestrel
