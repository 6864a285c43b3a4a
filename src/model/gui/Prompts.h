#pragma once
// Every file dialog, message box, question and modal dialog of the editor
// goes through this seam, so tests answer them without real dialogs.

#include "model/Language.h"

#include <QString>

#include <optional>
#include <string>

class QDialog;
class QFileInfo;
class QMessageBox;
class QWidget;

namespace kestrel {

class Prompts {
public:
    enum class Icon { Information, Warning, Question, Error };
    enum class Buttons { YesNoCancel, YesNo, OkCancel };
    enum class Answer { Yes, No, Ok, Cancel };

    virtual ~Prompts() = default;

    // Where a file dialog for a new document's export starts: the folder
    // the user last worked in, not the one the editor was started from.
    QString lastFolder;

    // Filters are given as "description|pattern|description|pattern".
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& directory,
                                                const QString& filter) = 0;
    // startPath is a directory or a file name to suggest; defaultSuffix is
    // appended when the typed name has none; the dialog asks before an
    // existing file is overwritten unless the caller asks itself (about a
    // name it completes further); caption names the command it is for.
    virtual std::optional<QString> saveFileName(QWidget* parent, const QString& startPath, const QString& filter,
                                                const QString& defaultSuffix, const QString& caption,
                                                bool askBeforeReplacing = true) = 0;
    virtual void message(QWidget* parent, const QString& caption, const QString& text, Icon icon) = 0;
    // A warning's yes-or-no question has No as its default button.
    virtual Answer ask(QWidget* parent, const QString& caption, const QString& text, Buttons buttons,
                       Icon icon) = 0;
    // Shows a dialog modally; true when it was accepted.
    virtual bool runDialog(QDialog& dialog) = 0;
};

// The desktop's own dialogs. Qt's translation names their buttons, except
// OK, which its Russian translation leaves in Latin letters.
class DesktopPrompts : public Prompts {
public:
    explicit DesktopPrompts(Language lang) : lang_(lang) {}
    std::optional<QString> openFileName(QWidget* parent, const QString& directory, const QString& filter) override;
    std::optional<QString> saveFileName(QWidget* parent, const QString& startPath, const QString& filter,
                                        const QString& defaultSuffix, const QString& caption,
                                        bool askBeforeReplacing = true) override;
    void message(QWidget* parent, const QString& caption, const QString& text, Icon icon) override;
    Answer ask(QWidget* parent, const QString& caption, const QString& text, Buttons buttons, Icon icon) override;
    bool runDialog(QDialog& dialog) override;

private:
    void nameOkButton(QMessageBox& box) const;
    Language lang_;
};

// The save dialog of an export (a Gerber, drill, bitmap, PDF, macro or zip
// file): a name that is the open layout's own file, by whatever path, is
// refused with a message and gives none. The dialog's "replace?" would let
// the export take the layout's place while the document still counts as
// saved.
std::optional<QString> exportFileName(Prompts& prompts, QWidget* parent, const QString& caption,
                                      const std::string& layoutFile, const QString& startPath, const QString& filter,
                                      const QString& defaultSuffix, Language lang, bool askBeforeReplacing = true);

// The kind of a file or folder as the file dialogs list it.
QString fileKindName(const QFileInfo& file, Language lang);

// "Layout files|*.KBD|All files|*.*" as a Qt name filter list. Patterns
// match either letter case, as on the file systems the files come from.
QString qtNameFilters(const QString& filter);

} // namespace kestrel
