// The file commands of the main window: New, Open, Save, Save as, importing
// boards, the save question and the title bar.

#include "app/MainWindow.h"

#include "edit/Undo.h"
#include "edit/gui/BoardPointer.h"
#include "model/AutoSave.h"
#include "model/LayoutFile.h"
#include "model/gui/BusyCursor.h"
#include "model/gui/Prompts.h"
#include "output/gui/PrintSession.h"
#include "view/gui/BoardView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrel {

namespace {

// The file a name leads to, through any links; the name itself for a file
// that does not exist (yet).
std::string linkedFile(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    return (target.isEmpty() ? path : target).toStdString();
}

// The backup a document of this name writes, which also marks it open: a
// document opened from its backup writes that backup again; one named
// through a link is the file the link leads to, with that file's backup.
QString backupOf(const QString& path)
{
    const std::string name = linkedFile(path);
    return QString::fromStdString(isBackupName(name) ? name : backupNameFor(name));
}

} // namespace

QString MainWindow::layoutFilter() const
{
    return kestrel::tr(lang_, "*.kbd|*.kbd|Все Файлы (*.*)      |*.*", "Layout files|*.KBD|All files|*.*");
}

// The title follows every change of the file name, and so does the mark
// that the file is open here.
void MainWindow::updateTitle()
{
    // Qt would take "[*]" (the mark of an unnamed document, or part of a
    // file name) for its placeholder of the modified state and drop it;
    // doubled, it shows as written.
    setWindowTitle(windowCaption(doc_.FileName, doc_.Modified).replace("[*]", "[*][*]"));
    markOpenDocument();
}

// The mark is the document's backup, the file two windows would both
// write: a window that opened the backup itself marks the same.
void MainWindow::markOpenDocument()
{
    const QString file = QString::fromStdString(doc_.FileName);
    const QString mark = file.isEmpty() ? QString() : documentBackup();
    if (mark == documentLock_.path())
        return;
    ownBackup_.clear();
    if (documentLock_.mark(mark))
        return;
    prompts_.message(this, kestrel::tr(lang_, "Информация", "Information"),
                     QString::fromUtf8(kestrel::tr(lang_,
                                                   "Файл %1 уже открыт в другом окне Kestrel.\nСохранение в одном "
                                                   "окне заменит файл, сохранённый в другом. Резервные копии этого "
                                                   "окна пишутся в отдельный файл.",
                                                   "%1 is already open in another Kestrel window.\nSaving in one "
                                                   "window replaces the file saved in the other. This window keeps "
                                                   "its backups in a file of its own."))
                         .arg(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath())),
                     Prompts::Icon::Warning);
}

// The document's backup, unless another editor has the document open too
// and writes that backup: then a file of this window's own, listed first
// among the recent files once written.
QString MainWindow::backupPath()
{
    if (!documentLock_.shared())
        return documentBackup();
    if (ownBackup_.isEmpty())
        ownBackup_ = keptWorkPath(lang_, doc_.FileName);
    return ownBackup_;
}

QString MainWindow::documentBackup() const
{
    return backupOf(QString::fromStdString(doc_.FileName));
}

QString MainWindow::existingLastDirectory() const
{
    return QDir(lastDirectory_).exists() ? lastDirectory_ : QString();
}

void MainWindow::rememberDirectory(const QString& path)
{
    lastDirectory_ = QFileInfo(path).absolutePath();
    prompts_.lastFolder = lastDirectory_;
}

bool MainWindow::documentFileGone() const
{
    return !doc_.FileName.empty() && !QFileInfo::exists(QString::fromStdString(doc_.FileName));
}

// Only a document with unsaved changes asks; a fresh, read or saved one
// goes without a question, unless its file has gone from the disk since, as
// the document would then be nowhere.
bool MainWindow::askToSave()
{
    const QString file = QString::fromStdString(doc_.FileName);
    const bool fileGone = documentFileGone();
    if (!doc_.Modified && !fileGone)
        return true;
    const QString question =
        doc_.Modified ? QString::fromUtf8(kestrel::tr(lang_, "Сохранить текущий чертёж или нет ?         ",
                                                      "Save changes?"))
                      : QString::fromUtf8(kestrel::tr(lang_, "Файла %1 больше нет на диске. Сохранить чертёж?",
                                                      "%1 is no longer on the disk. Save the layout?"))
                            .arg(QDir::toNativeSeparators(file));
    const Prompts::Answer answer = prompts_.ask(this, kestrel::tr(lang_, "Информация", "Information"), question,
                                                Prompts::Buttons::YesNoCancel, Prompts::Icon::Question);
    // A termination signal ended the question: the backup it wrote stays
    // newer than the document, and nothing else goes ahead.
    if (endingWithoutQuestions_)
        return false;
    switch (answer) {
    case Prompts::Answer::Yes:
        doc_.Saved = false;
        saveDocument();
        return doc_.Saved;
    case Prompts::Answer::No:
        // The document's backup is this window's to date only when it
        // writes it: another window's may hold that window's unsaved work.
        if (!doc_.FileName.empty() && !documentLock_.shared())
            dateBackupAsDocument(doc_.FileName);
        return true;
    default:
        return false;
    }
}

// Everything that shows the document follows a swap of the whole document.
void MainWindow::documentReplaced()
{
    rebuildTabs();
    activeBoardChanged();
    resetUndoHistory();
    updateTitle();
    // The board dragged about in the print preview was another document's.
    printing_->options.offsetX = printing_->options.offsetY = 0;
}

std::pair<qint64, QDateTime> MainWindow::stampOf(const QString& path)
{
    const QFileInfo info(path);
    return {info.size(), info.lastModified()};
}

void MainWindow::newDocument()
{
    session_.objectsWillChange(); // a track being drawn ends before its document goes
    if (!askToSave())
        return;
    doc_ = LayoutDocument::withFirstBoard(lang_);
    fileStamp_.reset();
    documentReplaced();
    // Sizing the first board belongs to making the document: nothing to save yet.
    editBoardSize();
    view_->zoomBoard();
    doc_.Modified = false;
    updateTitle();
}

void MainWindow::openCommand(bool import)
{
    const auto name = prompts_.openFileName(this, existingLastDirectory(), layoutFilter());
    if (!name)
        return;
    view_->redraw();
    if (!QFileInfo::exists(*name)) {
        reportMissingFile(*name);
        return;
    }
    if (import)
        importBoardsFrom(*name);
    else
        openDocumentFile(*name, true);
}

namespace {
bool isMacroFile(const QString& path) { return QFileInfo(path).suffix().compare("kmk", Qt::CaseInsensitive) == 0; }
} // namespace

// The file is read into a fresh document that replaces the open one only
// when the whole file read correctly; a damaged file leaves it untouched.
bool MainWindow::openDocumentFile(const QString& path, bool askFirst)
{
    // A macro (the desktop opens *.kmk with the editor too) is shown in the
    // macro panel, at its folder, ready to be dragged onto the board.
    if (isMacroFile(path)) {
        showMacroFile(path);
        return false;
    }
    session_.objectsWillChange(); // a track being drawn ends before its document goes
    if (askFirst && !askToSave())
        return false;
    Result<LoadedDocument> read = [&] {
        BusyCursor busy;
        loading_ = true;
        auto result = readDocument(path.toStdString(), lang_);
        loading_ = false;
        return result;
    }();
    if (!read) {
        // A damaged document's newer backup may be all that is left of it.
        const QString failure = QString::fromStdString(read.message());
        if (newerBackupOf(linkedFile(path)).empty()) {
            prompts_.message(this, kestrel::tr(lang_, "Открыть", "Open"), failure, Prompts::Icon::Warning);
            return false;
        }
        return offerNewerBackup(path, failure + "\n\n");
    }
    doc_ = std::move(read->document);
    fileStamp_ = stampOf(path);
    documentReplaced();
    // The stored view belongs to another window size: show the whole board.
    view_->zoomBoard();
    rememberDirectory(path);
    addToHistory(path);
    // While another window has the document, a newer backup is that
    // window's work in progress, not work lost; once that window has ended
    // (this one opening the document again), the document is this one's.
    if (documentLock_.shared() && documentLock_.retake())
        ownBackup_.clear();
    if (!documentLock_.shared())
        offerNewerBackup(path, {});
    return true;
}

// After a crash the backup holds the work since the last save. The user
// chooses on opening, since the next autosave of a changed document would
// replace it. Returns whether the backup was opened.
bool MainWindow::offerNewerBackup(const QString& path, const QString& before)
{
    const std::string backup = newerBackupOf(linkedFile(path));
    if (backup.empty())
        return false;
    const QString question =
        before +
        QString::fromUtf8(kestrel::tr(lang_, "Резервная копия новее документа: ", "The backup is newer than the document: ")) +
        QString::fromStdString(backup) +
        QString::fromUtf8(kestrel::tr(
            lang_,
            "\n\nВ ней может быть несохранённая работа. Открыть копию? Чтобы сохранить её работу, сохраните её затем "
            "под именем документа; иначе её заменит следующее автосохранение.",
            "\n\nIt may hold work that was not saved. Open the backup? To keep its work, save it then as the "
            "document; otherwise the next autosave replaces it."));
    if (prompts_.ask(this, kestrel::tr(lang_, "Открыть", "Open"), question, Prompts::Buttons::YesNo,
                     Prompts::Icon::Question) != Prompts::Answer::Yes)
        return false;
    return openDocumentFile(QString::fromStdString(backup), false);
}

void MainWindow::importBoardsFrom(const QString& path)
{
    // A macro holds no boards: it is shown as Open shows it, not refused as
    // a damaged layout.
    if (isMacroFile(path)) {
        showMacroFile(path);
        return;
    }
    session_.objectsWillChange();
    const int activeBefore = doc_.ActiveBoard;
    const Status imported = [&] {
        BusyCursor busy;
        return importBoards(doc_, path.toStdString(), lang_);
    }();
    if (!imported) {
        prompts_.message(this, kestrel::tr(lang_, "Открыть", "Open"), QString::fromStdString(imported.message()),
                         Prompts::Icon::Warning);
        return;
    }
    rebuildTabs();
    activeBoardChanged();
    // An old file's board, which keeps no view, comes in active: it is
    // fitted to the window, as opening such a file fits it.
    if (doc_.ActiveBoard != activeBefore)
        view_->zoomBoard();
    resetUndoHistory();
    updateTitle();
    rememberDirectory(path);
    addToHistory(path);
}

bool MainWindow::saveDocument()
{
    if (doc_.FileName.empty())
        return saveDocumentAs();
    const QString path = QString::fromStdString(doc_.FileName);
    if (fileStamp_ && QFileInfo(path).isFile() && stampOf(path) != *fileStamp_) {
        const char* text =
            kestrel::tr(lang_, "Файл %1 изменён другой программой после открытия или сохранения. Заменить его?",
                        "The file %1 was changed by another program since it was opened or saved. Replace it?");
        const QString question =
            QString::fromUtf8(text).arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
        if (prompts_.ask(this, kestrel::tr(lang_, "Сохранить", "Save"), question, Prompts::Buttons::YesNo,
                         Prompts::Icon::Warning) != Prompts::Answer::Yes)
            return false;
    }
    if (!writeTo(path))
        return false;
    fileStamp_ = stampOf(path);
    return true;
}

bool MainWindow::saveDocumentAs()
{
    const auto name = prompts_.saveFileName(this, existingLastDirectory(), layoutFilter(), "kbd",
                                            kestrel::tr(lang_, "Сохранить как", "Save as"));
    if (!name)
        return false;
    // Another window's document: its next save would replace this one again.
    if (const QString mark = backupOf(*name); mark != documentLock_.path() && DocumentLock::heldElsewhere(mark)) {
        const QString question =
            QString::fromUtf8(kestrel::tr(lang_,
                                          "Файл %1 открыт в другом окне Kestrel. Заменить его? Сохранение в том окне "
                                          "снова заменит этот файл.",
                                          "%1 is open in another Kestrel window. Replace it? Saving in that window "
                                          "replaces this file again."))
                .arg(QDir::toNativeSeparators(QFileInfo(*name).absoluteFilePath()));
        if (prompts_.ask(this, kestrel::tr(lang_, "Сохранить как", "Save as"), question, Prompts::Buttons::YesNo,
                         Prompts::Icon::Warning) != Prompts::Answer::Yes)
            return false;
    }
    if (!writeTo(*name))
        return false;
    doc_.FileName = name->toStdString();
    fileStamp_ = stampOf(*name);
    updateTitle();
    rememberDirectory(*name);
    return true;
}

Status MainWindow::writeKeepingHistory(const QString& path, bool autosave, size_t* removed)
{
    const ObjectList* before = doc_.currentObjects();
    const HistoryTies ties = before ? CurrentHistoryTies(session_, *before) : HistoryTies{};
    const Status written = writeDocument(doc_, path.toStdString(), autosave, lang_, removed);
    if (const ObjectList* after = doc_.currentObjects())
        RetieHistory(session_, *after, ties);
    return written;
}

bool MainWindow::writeTo(const QString& path)
{
    // A track being drawn is finished (or dropped, with one point) as a right
    // click would: the clean-up before writing would free it under the tool.
    // What a tool only shows selected is not saved as selected.
    pointer_->releaseShownPick();
    session_.objectsWillChange();
    size_t removed = 0;
    const Status written = [&] {
        BusyCursor busy;
        return writeKeepingHistory(path, false, &removed);
    }();
    // Writing removes objects lying wholly outside the board and renumbers
    // groups, so the view and the commands follow even after a failure.
    view_->redraw();
    updateCommandStates();
    updateTitle();
    // Said after a failed write too: the clean-up has happened, and the next
    // save would find nothing left to count.
    const char* removedCaption =
        kestrel::tr(lang_, "Удалено объектов за пределами платы: ", "Objects lying outside the board deleted: ");
    const QString removedText = removed == 0 ? QString() : QString::fromUtf8(removedCaption) + QString::number(removed);
    if (!written) {
        QString text = QString::fromStdString(written.message());
        if (!removedText.isEmpty())
            text += "\n" + removedText;
        prompts_.message(this, kestrel::tr(lang_, "Сохранить", "Save"), text, Prompts::Icon::Error);
        return false;
    }
    addToHistory(path);
    dropOwnBackup();
    if (!removedText.isEmpty())
        prompts_.message(this, kestrel::tr(lang_, "Сохранить", "Save"), removedText, Prompts::Icon::Information);
    return true;
}

// The work this window kept in a file of its own while another window had
// the document is saved now: the file goes, and its entry among the recent
// files, which would open an older copy.
void MainWindow::dropOwnBackup()
{
    if (ownBackup_.isEmpty())
        return;
    QFile::remove(ownBackup_);
    const std::string listed = QFileInfo(ownBackup_).absoluteFilePath().toStdString();
    changeHistory([&listed](FileHistory& history) { return history.remove(listed); });
    ownBackup_.clear();
}

} // namespace kestrel
