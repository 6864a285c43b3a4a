// The board tabs below the drawing area and the board commands: add, size
// and name, delete, move, switch.

#include "app/MainWindow.h"

#include "app/BoardSizeDialog.h"
#include "app/ToolPanel.h"
#include "edit/gui/BoardPointer.h"
#include "model/BoardProperties.h"
#include "model/gui/Prompts.h"
#include "route/gui/RouteToolActions.h"
#include "view/gui/BoardView.h"

#include <QMenu>
#include <QTabBar>

namespace kestrel {

namespace {

// A tab takes '&' for a shortcut mark; a name shows it as typed. A board
// without a name still has a tab one can see and hit.
QString tabCaption(const std::string& boardName, Language lang)
{
    if (boardName.empty())
        return QString::fromUtf8(kestrel::tr(lang, "(без имени)", "(unnamed)"));
    return QString::fromStdString(boardName).replace('&', "&&");
}

} // namespace

// The tab strip mirrors the board list: tab i carries board i's name.
void MainWindow::rebuildTabs()
{
    rebuildingTabs_ = true;
    while (tabs_->count() > 0)
        tabs_->removeTab(0);
    for (size_t i = 0; i < doc_.boardCount(); ++i)
        tabs_->addTab(tabCaption(doc_.board(i).Name, lang_));
    tabs_->setCurrentIndex(doc_.ActiveBoard);
    // A tab bar filled while hidden does not tell its layout that it grew:
    // the start-up board's tab stayed at no height.
    tabs_->updateGeometry();
    rebuildingTabs_ = false;
}

void MainWindow::switchToBoard(int index)
{
    if (rebuildingTabs_ || index < 0 || index == doc_.ActiveBoard)
        return;
    // A value typed in the tool panel belongs to the board it was typed on,
    // as it does before any command.
    toolPanel_->applyTypedValues();
    // What a tool only shows selected is released on the board it is on.
    pointer_->releaseShownPick();
    session_.objectsWillChange(); // on the board it began on
    doc_.activate(index);
    activeBoardChanged();
    resetUndoHistory();
}

// After the active board or its settings changed: the view, the layer and
// ground-plane controls, the board size, the commands and the title follow.
// A pointer operation on the board shown before ends here.
void MainWindow::activeBoardChanged()
{
    session_.objectsWillChange();
    view_->reloadFromDocument();
    routeTools_->resultNoLongerStands();
    refreshLayerControls();
    showBoardSize();
    updateCommandStates();
    updateTitle();
    // Last: a picture that cannot be loaded is said over the board now shown.
    loadBoardScannedCopies();
}

void MainWindow::addNewBoard()
{
    session_.objectsWillChange();
    doc_.newBoard(lang_);
    rebuildTabs();
    activeBoardChanged();
    resetUndoHistory();
    editBoardSize();
}

void MainWindow::editBoardSize()
{
    Board* board = doc_.activeBoard();
    if (!board)
        return;
    BoardSizeDialog dialog(lang_, prompts_, this);
    dialog.load(doc_.Working.BoardWidth, doc_.Working.BoardHeight, QString::fromStdString(board->Name));
    if (!prompts_.runDialog(dialog))
        return;
    // A smaller board leaves objects beyond its edges, which the next save
    // deletes: the user hears of it now, not after the file is written.
    // Cancel keeps the size; a new name still applies.
    int32_t width = dialog.widthUnits(), height = dialog.heightUnits();
    const size_t leftOut = ObjectsLeftOffBySize(doc_, width, height);
    if (leftOut > 0 &&
        prompts_.ask(this, kestrel::tr(lang_, "Информация", "Information"),
                     QString::fromUtf8(kestrel::tr(lang_,
                                                   "Объектов целиком за краем новой платы: %1. При сохранении они "
                                                   "будут удалены. Изменить размер?",
                                                   "Objects lying wholly outside the new board: %1. Saving deletes "
                                                   "them. Change the size?"))
                         .arg(leftOut),
                     Prompts::Buttons::OkCancel, Prompts::Icon::Question) != Prompts::Answer::Ok) {
        width = doc_.Working.BoardWidth;
        height = doc_.Working.BoardHeight;
    }
    SetBoardProperties(doc_, width, height, dialog.boardName().toStdString());
    tabs_->setTabText(doc_.ActiveBoard, tabCaption(board->Name, lang_));
    activeBoardChanged();
}

void MainWindow::deleteBoard()
{
    session_.objectsWillChange(); // a track being drawn ends before its board goes
    const Board* board = doc_.activeBoard();
    if (!board)
        return;
    if (doc_.boardCount() < 2) {
        const auto refusal = doc_.deleteActiveBoard(lang_);
        prompts_.message(this, kestrel::tr(lang_, "Информация", "Information"), QString::fromStdString(refusal.value_or("")),
                         Prompts::Icon::Information);
        return;
    }
    const QString question = QString::fromStdString(LayoutDocument::deleteQuestion(lang_, board->Name));
    if (prompts_.ask(this, kestrel::tr(lang_, "Информация", "Information"), question, Prompts::Buttons::OkCancel, Prompts::Icon::Question) !=
        Prompts::Answer::Ok)
        return;
    const int deleted = doc_.ActiveBoard;
    doc_.deleteActiveBoard(lang_);
    // One tab goes; refilling the strip takes seconds for thousands of boards.
    rebuildingTabs_ = true;
    tabs_->removeTab(deleted);
    tabs_->setCurrentIndex(doc_.ActiveBoard);
    rebuildingTabs_ = false;
    activeBoardChanged();
    resetUndoHistory();
}

void MainWindow::moveBoard(bool toEnd)
{
    const int from = doc_.ActiveBoard;
    if (toEnd)
        doc_.moveActiveToEnd();
    else
        doc_.moveActiveToFront();
    // The moved board stays active; only its tab moves.
    rebuildingTabs_ = true;
    tabs_->moveTab(from, doc_.ActiveBoard);
    tabs_->setCurrentIndex(doc_.ActiveBoard);
    rebuildingTabs_ = false;
    updateTitle();
}

// The menu's commands act on the active board: the tab clicked becomes it.
void MainWindow::showBoardTabMenu(const QPoint& position)
{
    const int index = tabs_->tabAt(position);
    if (index < 0)
        return;
    tabs_->setCurrentIndex(index);
    boardMenu_->popup(tabs_->mapToGlobal(position));
}

} // namespace kestrel
