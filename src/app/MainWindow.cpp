#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/BoardTabBar.h"
#include "app/CommandTable.h"
#include "app/HelpWindow.h"
#include "app/InterfaceLanguage.h"
#include "app/MacroPanel.h"
#include "app/SettingsFile.h"
#include "app/ToolIcons.h"
#include "app/ToolPanel.h"
#include "app/UiTexts.h"
#include "edit/ApplyToolParameter.h"
#include "edit/PointerMachine.h"
#include "edit/Selection.h"
#include "edit/gui/BoardPointer.h"
#include "model/FileHistory.h"
#include "model/LayerSwitches.h"
#include "model/Units.h"
#include "model/gui/Prompts.h"
#include "output/gui/DrillDialog.h"
#include "output/gui/DesignCheckDialog.h"
#include "output/gui/FabPackageCommand.h"
#include "output/gui/GerberDialog.h"
#include "route/RouteTool.h"
#include "route/gui/RouteToolActions.h"
#include "view/GridChoice.h"
#include "view/gui/BoardView.h"
#include "view/gui/StatusLine.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QScreen>
#include <QKeyEvent>
#include <QShortcut>
#include <QStyle>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace kestrel {

namespace {

constexpr int kEditTool = 0;
constexpr int kAutoRouteTool = 11;

// Every tool works.
constexpr int kReadyTools[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

// One letter per tool, in tool mode order.
constexpr char kToolKeys[] = {'S', 'T', 'P', 'Z', 'L', 'F', 'R', 'K', 'X', 'B', 'G', 'U'};

} // namespace

MainWindow::MainWindow(Language lang, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), lang_(lang), prompts_(prompts), doc_(LayoutDocument::withFirstBoard(lang)),
      // The menu ticks the stored choice, which the next start takes; --lang
      // chooses only this run's language.
      nextLanguage_(readInterfaceLanguage(languageFileFolders(QCoreApplication::applicationDirPath())))
{
    setObjectName("TForm1");
    // The file dialogs start where the editor was started (a terminal's
    // folder, or the home folder from a desktop), not among its programs.
    lastDirectory_ = QDir::currentPath();
    loadSettings();
    defineHandlers();
    buildMenus();
    refreshHistoryItems();
    buildToolBar();
    buildCentralArea();
    buildRouteTools();
    buildGeneratorTools();
    buildStatusLine();
    buildLabelTool();
    buildParameterLists();
    buildLayerKeys();
    buildEditKeys();
    buildToolKeys();
    applyTexts(this, mainWindowTexts(), lang_);
    // The tool tips name the tool's key.
    for (int mode = 0; mode <= kAutoRouteTool; ++mode)
        if (QAbstractButton* b = toolPanel_->toolButton(mode))
            b->setToolTip(b->toolTip() + QString(" (%1)").arg(QChar(kToolKeys[mode])));
    qApp->installEventFilter(this);

    view_->setLanguage(lang_);
    view_->setDocument(&doc_);
    rebuildTabs();
    showToolParameters();
    toolPanel_->showTool(kEditTool);
    toolPanel_->showGridCaption(view_->gridCaption());
    activeBoardChanged();
    resetUndoHistory();
    updateTitle();
    // The hints switch comes from the settings file: its mark shows it before any menu opens.
    refreshCheckMarks();
    placeOnScreen();
}

void MainWindow::placeOnScreen()
{
    if (!savedGeometry_.isEmpty() && restoreGeometry(savedGeometry_)) {
        // A place kept from a larger screen, or a window left mostly off
        // the screen, comes back whole onto the screen it is on, its menu in
        // reach.
        const QScreen* on = QGuiApplication::screenAt(geometry().center());
        if (!on)
            on = QGuiApplication::primaryScreen();
        if (on && !isMaximized() && !isFullScreen()) {
            const QRect available = on->availableGeometry();
            const QRect g = frameGeometry();
            move(std::max(std::min(g.x(), available.right() + 1 - g.width()), available.left()),
                 std::max(std::min(g.y(), available.bottom() + 1 - g.height()), available.top()));
        }
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        resize(1200, 800);
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize size = (available.size() * 0.85).boundedTo(QSize(1600, 1100)).expandedTo(QSize(640, 480));
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size.boundedTo(available.size()), available));
}

void MainWindow::chooseLanguage(Language next)
{
    const QString folder = languageFileFolders(QCoreApplication::applicationDirPath()).first();
    if (!writeInterfaceLanguage(next, folder)) {
        prompts_.message(this, kestrel::tr(lang_, "Язык интерфейса", "Interface language"),
                         kestrel::tr(lang_, "Не удалось записать выбор языка в папку настроек.",
                                     "The language choice could not be written to the settings folder."),
                         Prompts::Icon::Error);
        return;
    }
    nextLanguage_ = next;
    prompts_.message(this, kestrel::tr(lang_, "Язык интерфейса", "Interface language"),
                     kestrel::tr(lang_, "Выбранный язык будет применён при следующем запуске программы.",
                                 "The chosen language applies the next time Kestrel starts."),
                     Prompts::Icon::Information);
}

void MainWindow::showHelp(const QString& page)
{
    // The help window beside is used with the mouse: the next click on the
    // board takes the grab back.
    if (pointer_)
        pointer_->confine(false);
    pointerLeftFree_ = true;
    if (!help_)
        help_ = new HelpWindow(lang_, this);
    help_->showPage(page);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

QString MainWindow::helpPageOfCurrentTool() const
{
    return QString::fromLatin1(helpPageForTool(static_cast<int>(machine_->tool())));
}

MainWindow::~MainWindow()
{
    // The view paints the document this window owns; detach it first.
    view_->setDocument(nullptr);
}

QString MainWindow::windowCaption(const std::string& fileName, bool modified)
{
    // The name as the disk has it: names that differ only in letter case are
    // different files here. A document without a name shows its mark alone.
    QString caption = "Kestrel 3.0 R";
    const QString name = fileName.empty() ? QString() : QFileInfo(QString::fromStdString(fileName)).absoluteFilePath();
    if (!name.isEmpty() || modified)
        caption += " - [" + QString(modified ? "*" : "") + name + "]";
    return caption;
}

// At depth 1 the history holds a state to toggle with, which means nothing
// at a greater depth: a new depth starts a new history.
void MainWindow::setUndoDepth(int depth)
{
    session_.setUndoDepth(clampedUndoDepth(depth));
    resetUndoHistory();
}

void MainWindow::defineHandlers()
{
    auto on = [this](const char* name, std::function<void()> f) {
        handlers_[name] = [f = std::move(f)](int) { f(); };
    };
    on("SB_NeuClick", [this] { newDocument(); });
    on("SB_LoadClick", [this] { openCommand(false); });
    on("Platinennachladen1Click", [this] { openCommand(true); });
    on("SB_SaveClick", [this] { saveDocument(); });
    on("Speichernals1Click", [this] { saveDocumentAs(); });
    on("Beenden1Click", [this] { close(); });
    handlers_["HistoryClick"] = [this](int number) { openFromHistory(number); };
    on("Autospeichern1Click", [this] { runAutoSaveDialog(); });
    on("Makrospeichern1Click", [this] { saveAsMacro(); });
    on("SB_MakrofensterClick", [this] { showMacroPanel(!macroPanelShown_); });

    on("Gerber274Xerzeugen1Click", [this] { runGerberDialog(this, doc_, lang_, prompts_); });
    on("Bohrdaten1Click", [this] { runDrillDialog(this, doc_, lang_, prompts_); });
    on("FabPackageClick", [this] { runFabPackageCommand(this, doc_, lang_, prompts_, readDesignRules()); });
    on("DesignCheckClick", [this] {
        DesignRules rules = readDesignRules();
        bool picked = false;
        runDesignCheckDialog(
            this, doc_, lang_, prompts_, rules,
            [this, &picked](const Violation& v) {
                showViolation(v);
                picked = true;
            },
            view_->inchUnit());
        // The keys then act on what was picked (Del, the arrows), not on the
        // field or list that had them before, such as the macro list.
        if (picked)
            view_->scrollBox()->setFocus(Qt::OtherFocusReason);
        if (!(rules == readDesignRules()))
            settingsWritten(writeDesignRules(rules));
    });

    on("NeuePlatine1Click", [this] { addNewBoard(); });
    on("Layoutgroesse1Click", [this] { editBoardSize(); });
    on("Platinelschen1Click", [this] { deleteBoard(); });
    on("Platinenachrechts1Click", [this] { moveBoard(true); });
    on("Platinenachlinks1Click", [this] { moveBoard(false); });

    handlers_["B2Click"] = [this](int layer) { activateLayer(layer); };
    handlers_["SB2Click"] = [this](int layer) { toggleLayer(layer); };
    on("M_AutoMasseClick", [this] {
        setGroundPlane(!groundPlaneOn(doc_.Working, static_cast<int>(doc_.Working.ActiveLayer)));
    });

    handlers_["EinheitClick"] = [this](int tag) { view_->setInchUnit(tag == 2); };
    on("TB_ZoomAllesClick", [this] { view_->zoomBoard(); });
    on("TB_ZoomObjekteClick", [this] { view_->zoomObjects(); });
    on("TB_ZoomMarkierungClick", [this] { view_->zoomSelection(); });
    on("SB_NeuzeichnenClick", [this] { view_->redraw(); });
    on("Rastermarkierung1Click", [this] { view_->setGridMarker(!view_->gridMarker()); });
    on("Rastersichtbar1Click", [this] { view_->setGridVisible(!view_->gridVisible()); });
    on("Hinweistexte1Click", [this] { showHints_ = !showHints_; });
    defineEditHandlers();
    definePrintHandlers();
    defineRouteHandlers();
    defineGeneratorHandlers();
    defineLabelHandlers();
    defineListHandlers();
    on("Info2Click", [this] {
        AboutDialog about(lang_, this);
        prompts_.runDialog(about);
    });
    on("Index1Click", [this] { showHelp(QString::fromLatin1(helpPages().front().file)); });
    handlers_["SpracheClick"] = [this](int tag) { chooseLanguage(tag == 1 ? Language::English : Language::Russian); };
}

QAction* MainWindow::makeAction(const MenuCommand& row)
{
    auto* action = new QAction(QString::fromUtf8(captionOf(row, lang_ == Language::English)), this);
    action->setObjectName(row.name);
    if (row.shortcut) {
        const QList<QKeySequence> keys = QKeySequence::listFromString(QString::fromLatin1(row.shortcut));
        action->setShortcuts(keys);
        if (std::strcmp(row.parent, "Datei1") != 0)
            boardShortcuts_.insert(boardShortcuts_.end(), keys.begin(), keys.end());
    }
    action->setCheckable(row.checkable);
    action->setVisible(!row.hidden);
    bindCommand(action, row.handler, row.tag, row.rule);
    return action;
}

void MainWindow::bindCommand(QAction* action, const char* handler, int tag, CommandRule rule)
{
    const auto found = handlers_.find(handler);
    const bool bound = found != handlers_.end();
    if (bound) {
        // Check marks are the window's state, not the action's own toggling.
        // Choosing the active layer moves a label following the pointer to it.
        const bool layerChoice = std::string_view(handler) == "B2Click";
        connect(action, &QAction::triggered, this, [this, tag, layerChoice, h = found->second] {
            toolPanel_->applyTypedValues();
            // A label following the pointer is not part of the board: no
            // command (save, export, print...) may see it. Nor is what the
            // connect or autorouter tool selects only to show it.
            if (machine_ && machine_->placingLabel() && !layerChoice)
                pointer_->abort();
            if (pointer_)
                pointer_->releaseShownPick();
            endDrag();
            // A dialog the command opens needs the mouse; a track still
            // being drawn afterwards takes it back.
            if (pointer_)
                pointer_->confine(false);
            pointerLeftFree_ = false;
            h(tag);
            if (machine_ && machine_->building() && !pointerLeftFree_)
                pointer_->confine(true);
            refreshCheckMarks();
        });
    }
    commands_.push_back({action, rule, bound});
}

void MainWindow::buildMenus()
{
    for (const MenuCommand& row : menuCommands()) {
        QMenu* parent = row.parent ? menus_.at(row.parent) : nullptr;
        switch (row.kind) {
        case CommandKind::Menu: {
            const QString caption = QString::fromUtf8(captionOf(row, lang_ == Language::English));
            QMenu* menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
            menu->setObjectName(row.name);
            menu->menuAction()->setObjectName(QString(row.name) + "_action");
            connect(menu, &QMenu::aboutToShow, this, &MainWindow::refreshCheckMarks);
            menus_[row.name] = menu;
            break;
        }
        case CommandKind::Popup: {
            auto* menu = new QMenu(this);
            menu->setObjectName(row.name);
            connect(menu, &QMenu::aboutToShow, this, &MainWindow::refreshCheckMarks);
            menus_[row.name] = menu;
            break;
        }
        case CommandKind::Item:
            parent->addAction(makeAction(row));
            break;
        case CommandKind::Separator: {
            QAction* line = parent->addSeparator();
            if (row.name)
                line->setObjectName(row.name);
            break;
        }
        }
    }
    popupMenu_ = menus_.at("PopupMenu");
    boardMenu_ = menus_.at("PlatinenPopup");
    gridMenu_ = menus_.at("RasterPopup");

    // The predefined grids open the grid menu, ahead of its separator N17.
    QAction* firstFixed = gridMenu_->actions().value(0);
    for (const GridPreset& preset : gridPresets()) {
        auto* action = new QAction(QString::fromUtf8(preset.caption(lang_)), this);
        action->setObjectName(preset.objectName);
        connect(action, &QAction::triggered, this, [this, tag = preset.tag] { view_->chooseGridTag(tag); });
        gridMenu_->insertAction(firstFixed, action);
    }
    // The separator before the user's grids shows only when there are some.
    for (QAction* a : gridMenu_->actions())
        if (a->objectName() == "R_Trenner")
            a->setVisible(false);
}

void MainWindow::buildToolBar()
{
    auto* bar = addToolBar(QString::fromUtf8(kestrel::tr(lang_, "Панель инструментов", "Tool bar")));
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setIconSize({20, 20});
    for (const ToolBarCommand& row : toolBarCommands()) {
        if (row.separatorBefore)
            bar->addSeparator();
        auto* action = new QAction(toolIcon(row.icon), QString(), this);
        action->setObjectName(row.name);
        bindCommand(action, row.handler, 0, row.rule);
        bar->addAction(action);
        bar->widgetForAction(action)->setObjectName(row.name);
    }
}

void MainWindow::buildCentralArea()
{
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    toolPanel_ = new ToolPanel(central);
    toolPanel_->gridButton()->setMenu(gridMenu_);
    connect(toolPanel_, &ToolPanel::toolChosen, this, &MainWindow::chooseTool);
    for (int mode = 0; mode <= kAutoRouteTool; ++mode)
        if (QAbstractButton* b = toolPanel_->toolButton(mode))
            b->setEnabled(std::find(std::begin(kReadyTools), std::end(kReadyTools), mode) != std::end(kReadyTools));
    connect(toolPanel_, &ToolPanel::trackWidthEdited, this, &MainWindow::trackWidthEdited);
    connect(toolPanel_, &ToolPanel::padOuterEdited, this, &MainWindow::padOuterEdited);
    connect(toolPanel_, &ToolPanel::padInnerEdited, this, &MainWindow::padInnerEdited);
    row->addWidget(toolPanel_);

    // The board and its tabs, and right of them the macro library behind a splitter.
    auto* splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setObjectName("Splitter1");
    splitter->setChildrenCollapsible(false);
    auto* boardArea = new QWidget(splitter);
    auto* boardColumn = new QVBoxLayout(boardArea);
    boardColumn->setContentsMargins(0, 0, 0, 0);
    boardColumn->setSpacing(0);
    view_ = new BoardView(boardArea);
    boardColumn->addWidget(view_, 1);
    tabs_ = new BoardTabBar(boardArea);
    tabs_->setObjectName("TabSet");
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(true);
    tabs_->setContextMenuPolicy(Qt::CustomContextMenu);
    tabs_->setFocusPolicy(Qt::NoFocus);
    connect(tabs_, &QTabBar::currentChanged, this, &MainWindow::switchToBoard);
    connect(tabs_, &QTabBar::customContextMenuRequested, this, &MainWindow::showBoardTabMenu);
    // The tabs take no focus: Ctrl+Page Down and Ctrl+Page Up step through
    // the boards from the keyboard, round from the last to the first.
    for (const auto& [key, step] : {std::pair{Qt::Key_PageDown, 1}, std::pair{Qt::Key_PageUp, -1}}) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        connect(shortcut, &QShortcut::activated, this, [this, step] {
            if (const int n = tabs_->count(); n > 1)
                tabs_->setCurrentIndex((tabs_->currentIndex() + step + n) % n);
        });
    }
    boardColumn->addWidget(tabs_);
    splitter->addWidget(boardArea);
    splitter->addWidget(buildMacroPanel(splitter));
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({1000, 190});
    row->addWidget(splitter, 1);
    setCentralWidget(central);

    connect(view_, &BoardView::pointerMoved, this, &MainWindow::showPointerPosition);
    // The status line follows the rulers' unit at once, not at the next move.
    connect(view_, &BoardView::unitChanged, this, [this] {
        if (shownPointer_)
            showPointerPosition(*shownPointer_);
    });

    machine_ = std::make_unique<PointerMachine>(session_, doc_, tools_,
                                                [this]() -> const ObjectIndex& { return view_->objectIndex(); });
    pointer_ = new BoardPointer(*view_, *machine_, lang_, this);
    connect(pointer_, &BoardPointer::selectionChanged, this, &MainWindow::pointerSelectionChanged);
    connect(pointer_, &BoardPointer::objectsChanged, this, [this] {
        refreshLayerControls(); // a macro dropped shows the layers it put objects on
        updateCommandStates();
        updateTitle();
    });
    connect(pointer_, &BoardPointer::toolSwitched, this, &MainWindow::showToolChoice);
    connect(pointer_, &BoardPointer::contextMenuRequested, this, [this](QPoint at) { popupMenu_->popup(at); });
    connect(pointer_, &BoardPointer::hintChanged, this, [this](const QString& hint) {
        status_->showHelpText(hint);
    });
    session_.EndPointerOperation = [this] { pointer_->abort(); };
    pointer_->setMacroSource([this](const QMimeData& data) { return macroPanel_->macroFor(data); });
    connect(view_, &BoardView::gridChanged, this,
            [this](double, const QString& caption) { toolPanel_->showGridCaption(caption); });
}

void MainWindow::buildStatusLine()
{
    auto* bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    status_ = new StatusLine(bar);
    bar->addPermanentWidget(status_, 1);
    setStatusBar(bar);
    status_->findChild<QToolButton*>("SB_AutoMasse")->setIcon(toolIcon("groundPlane"));
    for (QAbstractButton* b : status_->findChildren<QAbstractButton*>())
        b->setFocusPolicy(Qt::NoFocus);
    connect(status_, &StatusLine::activeLayerClicked, this, &MainWindow::activateLayer);
    connect(status_, &StatusLine::visibleLayerClicked, this, &MainWindow::toggleLayer);
    connect(status_, &StatusLine::boardSizeClicked, this, &MainWindow::editBoardSize);
    connect(status_, &StatusLine::groundPlaneClicked, this, &MainWindow::setGroundPlane);
    connect(status_, &StatusLine::clearanceChanged, this, &MainWindow::clearanceChanged);
}

// F1..F4 make layer 1..4 active, F5..F8 toggle their visibility, while the
// board view has the keyboard focus.
void MainWindow::buildLayerKeys()
{
    for (int layer = 1; layer <= 4; ++layer) {
        if (layer > 1) { // F1 is shared with the help, below
            auto* activate = new QShortcut(QKeySequence(Qt::Key_F1 + layer - 1), view_->scrollBox());
            activate->setContext(Qt::WidgetWithChildrenShortcut);
            connect(activate, &QShortcut::activated, this, [this, layer] { activateLayer(layer); });
        }
        auto* toggle = new QShortcut(QKeySequence(Qt::Key_F5 + layer - 1), view_->scrollBox());
        toggle->setContext(Qt::WidgetWithChildrenShortcut);
        connect(toggle, &QShortcut::activated, this, [this, layer] { toggleLayer(layer); });
    }
    // F1 in the drawing area makes layer 1 active; anywhere else in the
    // window it opens the manual at the page of the tool in use, as
    // Shift+F1 does everywhere.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] {
        QWidget* focus = QApplication::focusWidget();
        if (focus && (focus == view_->scrollBox() || view_->scrollBox()->isAncestorOf(focus)))
            activateLayer(1);
        else
            showHelp(helpPageOfCurrentTool());
    });
    auto* shiftF1 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    connect(shiftF1, &QShortcut::activated, this, [this] { showHelp(helpPageOfCurrentTool()); });
}

// A new tool starts with nothing selected (the pointer deselects).
void MainWindow::chooseTool(int toolMode)
{
    if (toolMode == static_cast<int>(ToolMode::TrackText) || toolMode == static_cast<int>(ToolMode::Polygon)) {
        chooseGeneratorTool(toolMode);
        return;
    }
    pointer_->selectTool(static_cast<ToolMode>(toolMode));
    // The label tool's dialog may have sent it back to the edit tool.
    showToolChoice(static_cast<int>(machine_->tool()));
    pointerSelectionChanged();
}

void MainWindow::showToolChoice(int toolMode)
{
    toolPanel_->showTool(toolMode);
    view_->setOriginDragEnabled(toolMode == kEditTool);
    routeTools_->toolChosen(toolMode);
}

void MainWindow::buildToolKeys()
{
    auto onKey = [this](QKeySequence key, std::function<void()> f) {
        auto* shortcut = new QShortcut(key, view_->scrollBox());
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, std::move(f));
    };
    // A key chooses a tool as its button does, and only when the button can.
    for (int mode = 0; mode <= kAutoRouteTool; ++mode)
        onKey(QKeySequence(QString(QChar(kToolKeys[mode]))), [this, mode] {
            QAbstractButton* b = toolPanel_->toolButton(mode);
            if (b && b->isEnabled())
                b->click();
        });
    onKey(QKeySequence(Qt::Key_Space), [this] { pointer_->key(PointerKey::Space); });
    onKey(QKeySequence(Qt::Key_Escape), [this] { pointer_->key(PointerKey::Escape); });
    onKey(QKeySequence(Qt::Key_F12), [this] { toggleViaMode(); });
}

void MainWindow::updateCommandStates()
{
    states_ = UpdateCommandStates(objects(), session_, machine_->shownOnlyPad());
    // The autorouter tool's selection is its pick, made again at every move:
    // no command acts on it, and a whole selection would not last.
    const bool pickOnly = machine_->selectionOnlyShown();
    if (pickOnly)
        states_.any = states_.group = states_.ungroup = states_.circle = false;
    for (const BoundCommand& c : commands_)
        c.action->setEnabled(c.bound && states_.allows(c.rule) && !(pickOnly && c.rule == CommandRule::Select));
}

void MainWindow::refreshCheckMarks()
{
    auto check = [this](const char* name, bool on) {
        if (auto* a = findChild<QAction*>(name))
            a->setChecked(on);
    };
    const BoardSettings& s = doc_.Working;
    check("Makrofenster1", macroPanelShown_);
    check("Hinweistexte1", showHints_);
    check("E_MM", !view_->inchUnit());
    check("E_Zoll", view_->inchUnit());
    check("M_AutoMasse", groundPlaneOn(s, static_cast<int>(s.ActiveLayer)));
    static constexpr const char* kActive[] = {"K1", "B1", "K2", "B2"};
    static constexpr const char* kVisible[] = {"SK1", "SB1", "SK2", "SB2"};
    for (size_t i = 0; i < 4; ++i) {
        check(kActive[i], s.ActiveLayer == i + 1);
        check(kVisible[i], s.LayerVisible[i] != 0);
    }
    check("Durchkontaktierung1", tools_.ViaMode);
    check("Rastermarkierung1", view_->gridMarker());
    check("Rastersichtbar1", view_->gridVisible());
    check("SpracheRussisch1", nextLanguage_ == Language::Russian);
    check("SpracheEnglisch1", nextLanguage_ == Language::English);
}

bool MainWindow::event(QEvent* event)
{
    // The long part of the hint under the pointer goes to the help label.
    if (event->type() == QEvent::StatusTip) {
        status_->showHelpText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

namespace {

// Widgets whose keys are their own: typing or moving in them.
bool takesTypedKeys(const QObject* o)
{
    return qobject_cast<const QLineEdit*>(o) || qobject_cast<const QAbstractSpinBox*>(o) ||
           qobject_cast<const QComboBox*>(o) || qobject_cast<const QAbstractItemView*>(o) ||
           qobject_cast<const QTextEdit*>(o) || qobject_cast<const QPlainTextEdit*>(o);
}

} // namespace

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Show hints off: no tool tips anywhere (the help label keeps working).
    if (event->type() == QEvent::ToolTip && !showHints_)
        return true;
    // A tool window's long hints (the autorouter's) stop at that window:
    // they go to the help label as the main window's own do.
    if (event->type() == QEvent::StatusTip) {
        const auto* w = qobject_cast<QWidget*>(watched);
        if (w && w != this && w->isWindow() && w->parentWidget() && w->parentWidget()->window() == this) {
            status_->showHelpText(static_cast<QStatusTipEvent*>(event)->tip());
            return true;
        }
    }
    // While a field, list or tree has the focus its keys are its own: Ctrl+D
    // in the width field or Del in the macro folders must not duplicate or
    // delete what is selected on the board.
    if (event->type() == QEvent::ShortcutOverride && takesTypedKeys(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        if (std::find(boardShortcuts_.begin(), boardShortcuts_.end(), pressed) != boardShortcuts_.end()) {
            event->accept();
            return true;
        }
    }
    // Del takes back the last point of a track or zone being drawn. With
    // nothing selected the Delete command is disabled and its shortcut
    // lets the key through to the board, where it is taken here.
    if (event->type() == QEvent::KeyPress && machine_->building()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        QWidget* board = view_->scrollBox();
        if (key->key() == Qt::Key_Delete && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && widget &&
            (widget == board || board->isAncestorOf(widget))) {
            deleteKey();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    // Once the window's layout has its final size and the window shows: the
    // board fits the view, then the file named on the command line opens.
    QTimer::singleShot(0, this, [this] {
        view_->zoomBoard();
        openStartupFile();
    });
    view_->scrollBox()->setFocus();
}

// The document is still the single empty board here, so opening the named
// file cannot raise the save question. A file that cannot be read is
// reported and leaves the empty document.
void MainWindow::openStartupFile()
{
    if (startupFile_.isEmpty())
        return;
    if (QFileInfo::exists(startupFile_))
        openDocumentFile(startupFile_, false);
    else
        reportMissingFile(startupFile_);
    // A window holds one document: files opened together from a file
    // manager would otherwise go without a word.
    if (!filesLeftOut_.isEmpty()) {
        QStringList shown;
        for (const QString& path : filesLeftOut_)
            shown << QDir::toNativeSeparators(path);
        prompts_.message(this, kestrel::tr(lang_, "Открыть", "Open"),
                         kestrel::tr(lang_, "Окно открывает один файл. Не открыты:",
                                     "A window opens one file. Not opened:") +
                             QString("\n\n") + shown.join('\n'),
                         Prompts::Icon::Information);
    }
}

// Names the file: a recent-files entry or a start-up argument may be
// anywhere.
void MainWindow::reportMissingFile(const QString& path)
{
    prompts_.message(this, kestrel::tr(lang_, "Открыть", "Open"),
                     kestrel::tr(lang_, "Файл не найден", "File not found!") + QString("\n\n") +
                         QDir::toNativeSeparators(path),
                     Prompts::Icon::Warning);
}

void MainWindow::endDrag()
{
    if (machine_ && machine_->holdingDrag())
        pointer_->abort();
}

// A new file for work that has no other place, in the documents folder (else
// the home folder), named after the document (if it has a name) and the
// moment, never over another file.
QString MainWindow::keptWorkPath(Language lang, const std::string& documentName)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString named = QFileInfo(QString::fromStdString(documentName)).completeBaseName();
    const QString stem = (named.isEmpty() ? QString::fromUtf8(kestrel::tr(lang, "Без имени", "Unnamed")) : named) +
                         ' ' + QDateTime::currentDateTime().toString("yyyy-MM-dd hh-mm-ss");
    QString path = QDir(folder).filePath(stem + ".kbd");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(stem + QString(" (%1).kbd").arg(n));
    return path;
}

// The system ends the program (a shutdown, a closed terminal): no one is
// there to answer, so unsaved changes are written where the next start finds
// them, and the settings as on closing. A named document's go to its backup,
// which opening it offers (a document opened from its backup writes that
// backup again); an unnamed one's, and a named one's whose backup cannot be
// written (a folder gone, read-only or full), become a file of their own,
// listed first among the recent files, as is a window's own backup while
// another editor has the document open too.
void MainWindow::keepWorkForTermination()
{
    endingWithoutQuestions_ = true;
    if (machine_->placingLabel())
        pointer_->abort();
    pointer_->releaseShownPick();
    endDrag();
    pointer_->confine(false);
    // A document whose file was deleted is kept as unsaved work, and not
    // beside the file, where nothing would lead to it.
    const bool fileGone = documentFileGone();
    if (doc_.Modified || fileGone) {
        const std::string& name = doc_.FileName;
        if (name.empty() || fileGone || documentLock_.shared() || !writeKeepingHistory(backupPath(), true)) {
            const QString path = documentLock_.shared() ? backupPath() : keptWorkPath(lang_, name);
            if (writeKeepingHistory(path, true))
                addToHistory(path);
        }
    }
    saveSettings();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (endingWithoutQuestions_) {
        documentLock_.mark({});
        event->accept();
        return;
    }
    // The save question must not offer a label that only follows the pointer.
    if (machine_->placingLabel())
        pointer_->abort();
    endDrag();
    pointer_->confine(false); // the question needs the mouse
    if (!askToSave()) {
        if (machine_->building())
            pointer_->confine(true);
        event->ignore();
        return;
    }
    saveSettings();
    // A closed window has the document open no longer.
    documentLock_.mark({});
    event->accept();
}

} // namespace kestrel
