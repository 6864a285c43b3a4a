// The main window's settings: the options read at start-up and written on
// close, the file history in the File menu, and autosave with its dialog.

#include "app/AutoSaveDialog.h"
#include "app/MainWindow.h"
#include "edit/PointerMachine.h"
#include "model/LayoutFile.h"
#include "model/gui/BusyCursor.h"
#include "model/gui/Prompts.h"
#include "view/gui/StatusLine.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QFileInfo>
#include <QTimer>

#include <memory>

namespace kestrel {

namespace {

// How often the window looks whether an autosave is due.
constexpr int kAutoSavePollMs = 1000;

} // namespace

void MainWindow::loadSettings()
{
    const Settings settings = readSettings();
    session_.setUndoDepth(settings.options.undoDepth);
    showHints_ = settings.options.hints;
    macroPanelShown_ = settings.options.macroPanel;
    macroFolder_ = settings.options.macroFolder;
    savedGeometry_ = settings.options.windowGeometry;
    history_ = settings.history;
    userLists_ = settings.lists;
    optionsKnown_ = settings.options;
    listsKnown_ = settings.lists;

    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    clock_ = [started] { return static_cast<int64_t>(started->elapsed()); };
    autoSave_.configure(settings.options.autoSave, settings.options.autoSaveMs, clock_());
    auto* timer = new QTimer(this);
    timer->setObjectName("AutoSaveTimer");
    timer->setInterval(kAutoSavePollMs);
    connect(timer, &QTimer::timeout, this, &MainWindow::autoSaveTick);
    timer->start();
}

void MainWindow::settingsWritten(bool ok)
{
    if (ok || settingsWarned_ || endingWithoutQuestions_)
        return;
    settingsWarned_ = true;
    prompts_.message(this, kestrel::tr(lang_, "Настройки", "Settings"),
                     QString::fromUtf8(kestrel::tr(lang_, "Настройки не удалось записать в файл ",
                                                   "The settings could not be written to ")) +
                         QDir::toNativeSeparators(settingsFilePath()),
                     Prompts::Icon::Warning);
}

void MainWindow::saveSettings()
{
    Options options;
    options.hints = showHints_;
    options.macroPanel = macroPanelShown_;
    options.macroFolder = macroFolder_;
    options.autoSave = autoSave_.enabled();
    options.autoSaveMs = autoSave_.intervalMs();
    options.undoDepth = session_.UndoDepth;
    options.windowGeometry = saveGeometry();
    // Another window may have changed options since this one read them.
    const Settings onFile = readSettings();
    const Options merged = mergedOptions(optionsKnown_, options, onFile.options);
    const UserLists lists = mergedLists(listsKnown_, parameterLists(), onFile.lists);
    settingsWritten(writeOptionsAndLists(merged, lists));
    optionsKnown_ = merged;
    listsKnown_ = lists;
}

void MainWindow::setAutoSaveClock(std::function<int64_t()> clock)
{
    clock_ = std::move(clock);
    autoSave_.configure(autoSave_.enabled(), autoSave_.intervalMs(), clock_());
}

void MainWindow::addToHistory(const QString& path)
{
    // A name given relative to the folder the editor was started in would
    // name another file, or none, when it starts elsewhere.
    const std::string absolute = QFileInfo(path).absoluteFilePath().toStdString();
    changeHistory([&absolute](FileHistory& history) { return history.add(absolute); });
}

void MainWindow::changeHistory(const std::function<bool(FileHistory&)>& change)
{
    // Another window may have changed the list since this one read it:
    // theirs is the one to change.
    if (QFileInfo(settingsFilePath()).isFile())
        history_ = readHistory();
    if (change(history_))
        settingsWritten(writeHistory(history_));
    refreshHistoryItems();
}

void MainWindow::refreshHistoryItems()
{
    // A long path is cut in the middle, so the file's own name shows.
    const QFontMetrics metrics(QApplication::font("QMenu"));
    for (int number = 1; number <= kHistoryEntries; ++number) {
        auto* item = findChild<QAction*>(QString("History%1").arg(number));
        const QString name = QString::fromStdString(history_.shown(number));
        const QString fitted = metrics.elidedText(name, Qt::ElideMiddle, 60 * metrics.averageCharWidth());
        // An '&' of the name is shown, not taken as the item's access key.
        item->setText(QString("&%1 ").arg(number) + QString(fitted).replace('&', "&&"));
        item->setVisible(!name.isEmpty());
    }
    if (auto* line = findChild<QAction*>("HistoryTrenner"))
        line->setVisible(!history_.shown(1).empty());
}

void MainWindow::openFromHistory(int number)
{
    const QString path = QString::fromStdString(history_.shown(number));
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        reportMissingFile(path);
        return;
    }
    openDocumentFile(path, true);
}

void MainWindow::runAutoSaveDialog()
{
    AutoSaveDialog dialog(lang_, this);
    dialog.load(autoSave_.enabled(), autoSave_.intervalMs());
    if (!prompts_.runDialog(dialog))
        return;
    // Unchanged, the schedule runs on: looking at the dialog does not put
    // the next backup off by a whole interval.
    if (dialog.enabled() != autoSave_.enabled() || clampedAutoSaveMs(dialog.intervalMs()) != autoSave_.intervalMs())
        autoSave_.configure(dialog.enabled(), dialog.intervalMs(), clock_());
}

// The backup is written as it stands: nothing is repaired or deleted first,
// and the document keeps its name, its title and its unsaved state.
void MainWindow::autoSaveTick()
{
    const int64_t now = clock_();
    if (!autoSave_.due(now))
        return;
    const AutoSaveMoment moment{doc_.FileName, loading_, doc_.activeBoard() != nullptr,
                                QApplication::activeModalWidget() != nullptr, doc_.Modified};
    // A label following the pointer would be saved as placed: wait for it.
    // Nor a track or zone half drawn, which may yet be dropped.
    if (!autosaveMayRun(moment) || machine_->placingLabel() || machine_->building())
        return;
    autoSave_.saved(now);
    const QString backup = backupPath();
    const QString shownBefore = status_->helpText();
    status_->showHelpText(kestrel::tr(lang_, "Автосохранение...", "Autosave..."));
    status_->repaint();
    Status written;
    {
        const BusyCursor busy;
        written = writeKeepingHistory(backup, true);
    }
    status_->showHelpText(shownBefore);
    if (written && documentLock_.shared())
        addToHistory(backup);
    if (!written)
        prompts_.message(this, kestrel::tr(lang_, "Автосохранение", "AutoSave"), QString::fromStdString(written.message()),
                         Prompts::Icon::Warning);
}

} // namespace kestrel
