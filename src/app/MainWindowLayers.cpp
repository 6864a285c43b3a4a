// The layer switches, the coordinate and board-size display and the
// ground-plane controls of the status line.

#include "app/MainWindow.h"

#include "edit/PointerMachine.h"
#include "edit/gui/BoardPointer.h"
#include "model/LayerSwitches.h"
#include "route/gui/RouteToolActions.h"
#include "view/StatusTexts.h"
#include "view/gui/BoardView.h"
#include "view/gui/StatusLine.h"

namespace kestrel {

void MainWindow::activateLayer(int layer)
{
    endDrag();
    // A track or zone being drawn stays on the layer it was begun on: a new
    // active layer finishes it as drawn so far, as another tool does, rather
    // than let it grow on a layer that may then be hidden.
    if (layer != static_cast<int>(doc_.Working.ActiveLayer) && machine_ && machine_->building())
        pointer_->abort();
    if (SetActiveLayer(doc_.Working, objects(), layer)) {
        pointer_->activeLayerChanged();
        routeTools_->resultNoLongerStands();
        view_->redraw();
        updateCommandStates();
    }
    refreshLayerControls();
}

void MainWindow::toggleLayer(int layer)
{
    endDrag();
    if (SetViewLayer(doc_.Working, objects(), layer)) {
        view_->redraw();
        updateCommandStates();
    }
    refreshLayerControls();
}

void MainWindow::refreshLayerControls()
{
    const BoardSettings& s = doc_.Working;
    status_->showLayers(static_cast<int>(s.ActiveLayer), s.LayerVisible);
    status_->showGroundPlane(groundPlaneOn(s, static_cast<int>(s.ActiveLayer)));
}

void MainWindow::showPointerPosition(Point boardPoint)
{
    shownPointer_ = boardPoint;
    const PointerPositionTexts texts = ShowPointerPosition(boardPoint, doc_.Origin, view_->inchUnit(), lang_);
    status_->showPointerTexts(QString::fromStdString(texts.x), QString::fromStdString(texts.y));
}

void MainWindow::showBoardSize()
{
    status_->showBoardSize(QString::fromStdString(ShowBoardSize(doc_.Working.BoardWidth, doc_.Working.BoardHeight, lang_)));
}

// Both the button and the menu act on the side of the active layer. A
// change marks the document; layer visibility and the active layer are the
// view's state and do not.
void MainWindow::setGroundPlane(bool on)
{
    SetGroundPlane(doc_, on);
    refreshLayerControls();
    view_->redraw();
    updateTitle();
}

void MainWindow::clearanceChanged(double mm)
{
    tools_.CurrentClearance = clearanceUnitsFromMm(mm);
    pointer_->releaseShownPick();
    if (applyClearanceToSelection(objects(), tools_.CurrentClearance) > 0) {
        doc_.Modified = true;
        view_->redraw();
        updateCommandStates();
        updateTitle();
    }
}

} // namespace kestrel
