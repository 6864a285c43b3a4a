#pragma once
// The file dialog, message box and modal run of the export commands, as
// replaceable functions: the editor passes its own, tests answer them
// without real dialogs.

#include <QMessageBox>
#include <QString>

#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace kestrel {

struct ExportPrompts {
    // `suggested` is the default file name; `filter` is given as
    // "description|pattern|..."; nullopt when cancelled. The dialog asks
    // before an existing file is overwritten.
    std::function<std::optional<QString>(QWidget* parent, const QString& suggested, const QString& filter,
                                         const QString& defaultSuffix)>
        saveFileName;
    std::function<void(QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon)> message;
    // Shows a dialog modally; true when it was accepted.
    std::function<bool(QDialog& dialog)> runDialog;

    // The desktop's own dialogs.
    static ExportPrompts desktop();
};

} // namespace kestrel
