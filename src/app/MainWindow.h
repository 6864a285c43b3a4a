#pragma once
// TForm1: the main window. It owns the document, the tool parameters and the
// interface language, builds its menus, tool bar, tool panel, board tabs and
// status line from the command and text tables, and runs the file, board,
// layer, ground-plane and edit commands.

#include "app/DocumentLock.h"
#include "app/SettingsFile.h"
#include "edit/CommandStates.h"
#include "edit/EditSession.h"
#include "edit/ParameterLists.h"
#include "edit/ToolParameters.h"
#include "model/LayoutDocument.h"
#include "model/Language.h"
#include "model/Result.h"

#include <QDateTime>
#include <QKeySequence>
#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QMenu;
class QTabBar;

namespace kestrel {

class BoardPointer;
class HelpWindow;
class BoardView;
class LabelDialog;
class MacroPanel;
class PointerMachine;
class Prompts;
class PrintSession;
class ScannedCopies;
class RouteToolActions;
class PolygonDialog;
class StatusLine;
class TAutoRouter;
class TrackLabelDialog;
class ToolPanel;
struct MenuCommand;
enum class NudgeDirection : uint8_t;
enum class ToolParameter : uint8_t;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Language lang, Prompts& prompts, QWidget* parent = nullptr);
    ~MainWindow() override;

    Language language() const { return lang_; }
    LayoutDocument& document() { return doc_; }
    const ToolParameters& toolParameters() const { return tools_; }
    BoardView& boardView() const { return *view_; }
    QTabBar& boardTabs() const { return *tabs_; }
    // The drawing area's pop-up menu, for the editing tools.
    QMenu& drawingAreaMenu() const { return *popupMenu_; }
    // The pointer tools of the board view and their state.
    const PointerMachine& pointerMachine() const { return *machine_; }
    BoardPointer& boardPointer() const { return *pointer_; }
    // What the test, connect and autorouter tools do to the board
    // (route/gui/RouteToolActions.h); its window is the autorouter window.
    RouteToolActions& routeTools() const { return *routeTools_; }

    // The file named on the command line, opened when the window is first shown.
    void setStartupFile(const QString& path) { startupFile_ = path; }
    // Further files named there, which the window says it did not open.
    void setFilesLeftOut(const QStringList& paths) { filesLeftOut_ = paths; }

    const EditSession& editSession() const { return session_; }
    // Undo steps kept (clamped to 1..100); read from the settings file at
    // start-up and written back on close.
    void setUndoDepth(int depth);

    // "Kestrel 3.0 R", then " - [full file name]" when a file is named, the
    // name marked "*" while the document has unsaved changes (" - [*]" for a
    // document without a name).
    static QString windowCaption(const std::string& fileName, bool modified);

    // Re-evaluates the enabling rules after a change of the selection, the
    // object list or the clipboard.
    void updateCommandStates();
    // One look at the autosave timer: saves to the backup file when a save
    // is due and may run. The timer calls it every second.
    void autoSaveTick();
    // The millisecond clock the autosave schedule reads (a steady clock by default).
    void setAutoSaveClock(std::function<int64_t()> clock);

    MacroPanel& macroPanel() const { return *macroPanel_; }

    // Whether a command row naming this handler does something in this window.
    bool definesHandler(const std::string& handler) const { return handlers_.count(handler) > 0; }

    // The manual at a page (file name without ".html"), opened on first use.
    void showHelp(const QString& page);
    // The page of the tool in use, for F1.
    QString helpPageOfCurrentTool() const;

    // On a termination signal: writes unsaved changes to the backup and the
    // settings; closing then asks nothing. The caller ends the event loop.
    void keepWorkForTermination();

    // No tool-bar pop-up of visible bars: this window has one fixed bar.
    QMenu* createPopupMenu() override { return nullptr; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct BoundCommand {
        QAction* action;
        CommandRule rule;
        bool bound; // the window offers the row's handler
    };
    using Handler = std::function<void(int tag)>;

    // Construction (MainWindow.cpp).
    void defineHandlers();
    void buildMenus();
    void buildToolBar();
    void buildCentralArea();
    void buildStatusLine();
    void buildLayerKeys();
    QAction* makeAction(const MenuCommand& row);
    void bindCommand(QAction* action, const char* handler, int tag, CommandRule rule);
    void refreshCheckMarks();
    void chooseTool(int toolMode);
    // The window's part of a tool change: panel button, origin marker,
    // autorouter colours.
    void showToolChoice(int toolMode);
    // One letter per tool while the board view has the focus, and the keys
    // of the drawing tools (Space, Esc, F12).
    void buildToolKeys();
    // Edit commands and keys (MainWindowEdit.cpp).
    void defineEditHandlers();
    void buildEditKeys();
    // Ends the pointer operation, runs the core command, repaints the whole
    // view and brings the commands, the panel and the title up to date.
    void runEdit(const std::function<void()>& command);
    void nudge(NudgeDirection direction, bool fine);

    // Bitmap export, scanned copy and printing (MainWindowPrint.cpp).
    void definePrintHandlers();
    void runScannedCopyDialog();
    // The active board's scanned copies loaded from their files (a side
    // that fails to load shows none) and handed to the view.
    void loadBoardScannedCopies();
    void showScannedCopy(int side);
    void printBoard();
    // Rubber bands and the autorouter (MainWindowRoute.cpp).
    void defineRouteHandlers();
    void buildRouteTools();
    void clearConnections();
    // Track labels, polygons and arc segments (MainWindowGenerators.cpp).
    void defineGeneratorHandlers();
    void buildGeneratorTools();
    // Tools 7 and 10 begin with their dialogs: OK starts the tool, Cancel
    // (or a text that makes no track) leaves the edit tool chosen.
    void chooseGeneratorTool(int toolMode);
    bool askTrackLabel();
    void askNextTrackLabel();
    bool askPolygon();
    void editArcSegment();
    // F12: via mode on or off, applied to the selected pads (vias made, or
    // the partners on the inactive side removed).
    void toggleViaMode();

    // Selection by the edit tool and the tool panel (MainWindowSelection.cpp).
    ObjectList& objects();
    std::vector<uint8_t> selectionFlags();
    void selectAll();
    // Selects the objects of a design check violation and zooms to them.
    void showViolation(const Violation& v);
    // After the pointer changed the selection: the panel and the commands follow.
    void pointerSelectionChanged();
    // DEL: the selection, and while a track or zone is drawn its last point.
    void deleteKey();
    // Repaints the objects whose selection differs from before, then the
    // panel takes the selection's values and the commands follow.
    void selectionChanged(const std::vector<uint8_t>& before);
    void showToolParameters();
    void trackWidthEdited(double mm);
    void padOuterEdited(double mm);
    void padInnerEdited(double mm);
    void applyToolParameter(ToolParameter which);

    // Files (MainWindowFiles.cpp).
    void newDocument();
    void openCommand(bool import);
    bool openDocumentFile(const QString& path, bool askFirst);
    void openStartupFile();
    void importBoardsFrom(const QString& path);
    bool saveDocument();
    bool saveDocumentAs();
    bool writeTo(const QString& path);
    // Writes the document; the clean-up before writing is no edit, so Undo
    // and Redo keep following the board.
    Status writeKeepingHistory(const QString& path, bool autosave, size_t* removed = nullptr);
    // Yes saves (false when the save did not complete), No goes on, Cancel stops.
    bool askToSave();
    void documentReplaced();
    // The undo history starts over with the objects now shown.
    void resetUndoHistory();
    void updateTitle();
    void markOpenDocument();
    // Whether the document has a file name and the file is no longer there.
    bool documentFileGone() const;
    QString backupPath();
    QString documentBackup() const;
    static QString keptWorkPath(Language lang, const std::string& documentName);
    QString existingLastDirectory() const;
    void rememberDirectory(const QString& path);
    QString layoutFilter() const;

    // Label tool and pad shapes (MainWindowLabels.cpp).
    void defineLabelHandlers();
    void buildLabelTool();
    LabelDialog& labelDialog();
    void runLabelDialog(int nextNumber = -1);
    // Runs `show` once no mouse button is down: a dialog opened by a press
    // on the board, shown while the button is still down, took its release
    // as a click on OK or Cancel when one of them lay under the pointer.
    void afterButtonsReleased(std::function<void()> show);
    void editLabelProperties(long objectIndex);
    void setPadShape(int shape);

    // Parameter lists (MainWindowLists.cpp).
    void defineListHandlers();
    void buildParameterLists();
    // The user's entries into the menus, then their check marks and commands.
    void fillListMenus();
    void showListStates();
    // The caption the pad list's add command writes for the current diameters.
    std::string padSizeCaption() const;
    UserLists parameterLists() const;

    // Settings, history and autosave (MainWindowSettings.cpp).
    void loadSettings();
    void saveSettings();
    // Ends a move, corner drag or frame whose button is still held: the
    // selection it started from is about to change.
    void endDrag();
    // Says once per window that the settings file could not be written.
    void settingsWritten(bool ok);
    bool settingsWarned_ = false;
    bool endingWithoutQuestions_ = false;
    // Set by a command that opened a window beside this one (help): the
    // track being drawn does not take the mouse back from it.
    bool pointerLeftFree_ = false;
    void addToHistory(const QString& path);
    // Changes the recent files as the settings file holds them now, and
    // writes them when `change` says it changed them.
    void changeHistory(const std::function<bool(FileHistory&)>& change);
    // Asks whether to open the document's backup when it is newer; `before`
    // leads the question (why the document itself did not open).
    bool offerNewerBackup(const QString& path, const QString& before);
    void refreshHistoryItems();
    void openFromHistory(int number);
    void reportMissingFile(const QString& path);
    void runAutoSaveDialog();
    // The last geometry from the settings file, else a size that fits the screen.
    void placeOnScreen();
    // Stores the language for the next start in the user's SPRACHE.INI.
    void chooseLanguage(Language next);

    // The macro panel and Save as macro (MainWindowMacro.cpp).
    // The folder the panel opens on: the one the user chose last, else the
    // starter library beside the program or where it is installed, else the
    // program's own folder.
    QString startMacroFolder() const;
    QWidget* buildMacroPanel(QWidget* parent);
    void showMacroPanel(bool shown);
    // Shows the macro file in the panel: its folder listed, it selected.
    void showMacroFile(const QString& path);
    // The saved file's name, or nothing when the user stopped or the write
    // failed (reported). The panel then shows the saved macro.
    std::optional<QString> saveAsMacro();

    // Boards (MainWindowBoards.cpp).
    void rebuildTabs();
    void switchToBoard(int index);
    void activeBoardChanged();
    void addNewBoard();
    void editBoardSize();
    void deleteBoard();
    void moveBoard(bool toEnd);
    void showBoardTabMenu(const QPoint& position);

    // Layers, status line and ground plane (MainWindowLayers.cpp).
    void activateLayer(int layer);
    void toggleLayer(int layer);
    void refreshLayerControls();
    void showPointerPosition(Point boardPoint);
    void showBoardSize();
    void setGroundPlane(bool on);
    void clearanceChanged(double mm);

    Language lang_;
    Prompts& prompts_;
    TrackLabelDialog* trackLabelDialog_ = nullptr;
    PolygonDialog* polygonDialog_ = nullptr;
    LayoutDocument doc_;
    EditSession session_;
    ToolParameters tools_;
    CommandStates states_;
    QString lastDirectory_;
    // The open file marked as open here; while another editor has it too,
    // this window's backups go to a file of their own (`ownBackup_`, named
    // when first needed), not to the backup both would write.
    DocumentLock documentLock_;
    QString ownBackup_;
    void dropOwnBackup();
    // Size and time of the document's file as last read or written here: a
    // Save over a file another program changed since asks first.
    std::optional<std::pair<qint64, QDateTime>> fileStamp_;
    static std::pair<qint64, QDateTime> stampOf(const QString& path);
    QString startupFile_;
    QStringList filesLeftOut_;
    bool shownOnce_ = false;
    bool showHints_ = true;
    // The board point the status line shows, shown again when the unit changes.
    std::optional<Point> shownPointer_;
    // The command table's shortcuts that edit the board: all but the File menu's.
    std::vector<QKeySequence> boardShortcuts_;
    bool rebuildingTabs_ = false;
    bool loading_ = false; // a document is being read
    bool macroPanelShown_ = false;
    QString macroFolder_; // chosen by the user; empty until then
    QByteArray savedGeometry_;
    Language nextLanguage_; // chosen in the Options menu for the next start
    FileHistory history_;
    UserLists userLists_; // as read at start-up
    // The options and lists as this window last read or wrote them: on
    // closing it writes only what it changed since.
    Options optionsKnown_;
    UserLists listsKnown_;
    std::vector<TaggedEntry> widthList_, gridList_;
    std::vector<std::string> padSizeList_;
    LabelDialog* labelDialog_ = nullptr;
    AutoSaveSchedule autoSave_;
    std::function<int64_t()> clock_;

    std::map<std::string, Handler> handlers_;
    std::vector<BoundCommand> commands_;
    std::map<std::string, QMenu*> menus_;

    BoardView* view_ = nullptr;
    QTabBar* tabs_ = nullptr;
    StatusLine* status_ = nullptr;
    ToolPanel* toolPanel_ = nullptr;
    MacroPanel* macroPanel_ = nullptr;
    ScannedCopies* scans_ = nullptr;
    PrintSession* printing_ = nullptr;
    std::unique_ptr<PointerMachine> machine_;
    BoardPointer* pointer_ = nullptr;
    TAutoRouter* autoRouter_ = nullptr;
    HelpWindow* help_ = nullptr;
    RouteToolActions* routeTools_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QMenu* boardMenu_ = nullptr;
    QMenu* gridMenu_ = nullptr;
};

} // namespace kestrel
