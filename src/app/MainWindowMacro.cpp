// The macro library panel, and Save as macro: the questions before the file
// dialog and the write, on the active side of the active board.

#include "app/MacroPanel.h"
#include "app/MainWindow.h"
#include "edit/MacroSave.h"
#include "model/gui/BusyCursor.h"
#include "model/gui/Prompts.h"
#include "view/gui/BoardView.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kestrel {

QString MainWindow::startMacroFolder() const
{
    if (!macroFolder_.isEmpty() && QDir(macroFolder_).exists())
        return macroFolder_;
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString& library : {QString("Makros"), QString("../share/kestrel/Makros")})
        if (program.exists(library))
            return QDir::cleanPath(program.filePath(library));
    return program.path();
}

QWidget* MainWindow::buildMacroPanel(QWidget* parent)
{
    macroPanel_ = new MacroPanel(lang_, prompts_, parent);
    macroPanel_->setDocument(&doc_);
    macroPanel_->setFolder(startMacroFolder());
    macroPanel_->setVisible(macroPanelShown_);
    // The panel's button is the menu's command, with everything a command
    // does first (a tool's shown pick released, typed values applied).
    connect(macroPanel_, &MacroPanel::saveRequested, this, [this] {
        if (auto* command = findChild<QAction*>("Makrospeichern1"))
            command->trigger();
    });
    connect(macroPanel_, &MacroPanel::closeRequested, this, [this] { showMacroPanel(false); });
    connect(macroPanel_, &MacroPanel::folderChosen, this, [this](const QString& path) { macroFolder_ = path; });
    return macroPanel_;
}

void MainWindow::showMacroFile(const QString& path)
{
    macroFolder_ = QFileInfo(path).absolutePath();
    macroPanel_->setFolder(macroFolder_);
    macroPanel_->showSaved(path);
    showMacroPanel(true);
}

// The splitter's handle shows exactly while the panel does.
void MainWindow::showMacroPanel(bool shown)
{
    macroPanelShown_ = shown;
    macroPanel_->setVisible(shown);
    refreshCheckMarks();
}

std::optional<QString> MainWindow::saveAsMacro()
{
    session_.objectsWillChange();
    const MacroSaveScope scope = macroSaveScope(doc_);
    if (scope == MacroSaveScope::NothingOnSide) {
        prompts_.message(this, kestrel::tr(lang_, "Сохранение Макроса", "Save as macro"),
                         kestrel::tr(lang_, "На чертеже нет объектов для сохранения Макроса.",
                                     "There are no objects on this side of the board."),
                         Prompts::Icon::Warning);
        return std::nullopt;
    }
    if (scope == MacroSaveScope::WholeSide) {
        const QString question =
            lang_ == Language::English
                ? QString("No object is selected.\nSave whole layout as macro?")
                : QString("Нет выделенных объектов на плате. \nСохранить чертёж платы целиком как Макрос?") +
                      QString(19, ' ');
        const Prompts::Answer answer =
            prompts_.ask(this, lang_ == Language::English ? QString("Save as macro") : "Сохранить" + QString(6, ' '),
                         question, Prompts::Buttons::OkCancel, Prompts::Icon::Question);
        if (answer != Prompts::Answer::Ok)
            return std::nullopt;
    }
    // An installed program's starter macros are read-only: a macro of one's
    // own then starts in the home folder.
    const QString folder = QFileInfo(macroPanel_->folder()).isWritable() ? macroPanel_->folder() : QDir::homePath();
    // The panel lists *.kmk files only: a name with a dot of its own, such as
    // "LM7805.TO220", still gets the ending. A file of the name it then takes
    // is replaced only when the user says so; otherwise another name is asked.
    // The question about replacing a file is asked here, about the name that
    // is written, not by the dialog about the name typed.
    std::optional<QString> name;
    QString start = folder;
    for (;;) {
        name = exportFileName(
            prompts_, this, kestrel::tr(lang_, "Сохранение Макроса", "Save as macro"), doc_.FileName, start,
            kestrel::tr(lang_, "*.kmk|*.kmk|Все Файлы (*.*)     |*.*", "Macros|*.KMK|All files|*.*"), "kmk", lang_,
            false);
        if (!name)
            return std::nullopt;
        if (QFileInfo(*name).suffix().compare("kmk", Qt::CaseInsensitive) != 0)
            *name += ".kmk";
        if (!QFileInfo::exists(*name) ||
            prompts_.ask(this, kestrel::tr(lang_, "Сохранение Макроса", "Save as macro"),
                         QString::fromUtf8(kestrel::tr(lang_, "Файл %1 уже существует. Заменить его?",
                                                       "%1 already exists. Do you want to replace it?"))
                             .arg(QFileInfo(*name).fileName()),
                         Prompts::Buttons::YesNo, Prompts::Icon::Warning) == Prompts::Answer::Yes)
            break;
        start = *name; // asked again where the user was, with the name typed
    }
    const Result<size_t> written = [&] {
        const BusyCursor busy;
        return saveMacro(doc_, name->toStdString(), scope == MacroSaveScope::Selection, lang_);
    }();
    // Degenerate zones and tracks were removed before writing.
    view_->redraw();
    updateCommandStates();
    if (!written) {
        prompts_.message(this, kestrel::tr(lang_, "Сохранение Макроса", "Save as macro"),
                         QString::fromStdString(written.message()), Prompts::Icon::Error);
        return std::nullopt;
    }
    macroPanel_->showSaved(*name);
    return name;
}

} // namespace kestrel
