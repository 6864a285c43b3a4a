// The layer switches, the coordinate and board-size display and the
// ground-plane controls of the status line.

#include "app/MainWindow.h"

#include "model/LayerSwitches.h"
#include "view/StatusTexts.h"
#include "view/gui/BoardView.h"
#include "view/gui/StatusLine.h"

namespace kestrel {

namespace {

ObjectList& objectsOf(LayoutDocument& doc)
{
    static ObjectList none;
    ObjectList* objects = doc.currentObjects();
    return objects ? *objects : none;
}

} // namespace

void MainWindow::activateLayer(int layer)
{
    if (SetActiveLayer(doc_.Working, objectsOf(doc_), layer)) {
        view_->redraw();
        updateCommandStates();
    }
    refreshLayerControls();
}

void MainWindow::toggleLayer(int layer)
{
    if (SetViewLayer(doc_.Working, objectsOf(doc_), layer)) {
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
    const PointerPositionTexts texts = ShowPointerPosition(boardPoint, doc_.Origin, view_->inchUnit());
    status_->showPointerTexts(QString::fromStdString(texts.x), QString::fromStdString(texts.y));
}

void MainWindow::showBoardSize()
{
    status_->showBoardSize(QString::fromStdString(ShowBoardSize(doc_.Working.BoardWidth, doc_.Working.BoardHeight)));
}

// Both the button and the menu act on the side of the active layer.
void MainWindow::setGroundPlane(bool on)
{
    setGroundPlaneOfActiveSide(doc_.Working, on);
    refreshLayerControls();
    view_->redraw();
}

void MainWindow::clearanceChanged(double mm)
{
    tools_.CurrentClearance = clearanceUnitsFromMm(mm);
    if (applyClearanceToSelection(objectsOf(doc_), tools_.CurrentClearance) > 0)
        view_->redraw();
}

} // namespace kestrel
