// Selecting with the edit tool and the tool panel that follows the
// selection: the panel shows the values the selected objects share, and a
// value the user edits is applied to them.

#include "app/MainWindow.h"

#include "app/ToolPanel.h"
#include "edit/ApplyToolParameter.h"
#include "edit/PointerMachine.h"
#include "edit/Selection.h"
#include "edit/ToolPanelSync.h"
#include "edit/gui/BoardPointer.h"
#include "model/Units.h"
#include "view/gui/BoardView.h"
#include "view/gui/StatusLine.h"

#include <QApplication>

#include <cmath>

namespace kestrel {

ObjectList& MainWindow::objects()
{
    static ObjectList none; // only while no board is active
    ObjectList* list = doc_.currentObjects();
    return list ? *list : none;
}

std::vector<uint8_t> MainWindow::selectionFlags()
{
    std::vector<uint8_t> flags;
    flags.reserve(objects().size());
    for (const auto& o : objects())
        flags.push_back(o->Selected);
    return flags;
}

void MainWindow::pointerSelectionChanged()
{
    showToolParameters();
    updateCommandStates();
}

void MainWindow::selectAll()
{
    const std::vector<uint8_t> before = selectionFlags();
    SelectAll(objects(), doc_.Working);
    // The track or zone being drawn is no selected object: a nudge or a
    // delete would pull it from under its next point.
    if (LayoutObject* drawn = machine_->builtObject())
        drawn->Selected = 0;
    selectionChanged(before);
}

// The objects are selected as clicks would select them, with their groups
// and via partners, where a click could: a via must not be moved apart
// from its partner, nor an object of the other side deleted unseen. A
// hidden layer is shown first.
void MainWindow::showViolation(const Violation& v)
{
    ObjectList& list = objects();
    if (v.object >= list.size())
        return;
    std::vector<uint32_t> involved{static_cast<uint32_t>(v.object)};
    if (v.other >= 0 && static_cast<size_t>(v.other) < list.size())
        involved.push_back(static_cast<uint32_t>(v.other));
    for (const uint32_t i : involved)
        if (const int layer = list[i].Layer; layer >= 1 && layer <= 4 && !doc_.Working.LayerVisible[layer - 1])
            toggleLayer(layer);
    // An object of the other side is picked as a click there would pick
    // it: with that side active.
    if (const int layer = list[v.object].Layer; layer >= 1 && layer <= 4 && !IsPickable(doc_.Working, layer))
        activateLayer(layer);
    const std::vector<uint8_t> before = selectionFlags();
    DeselectAll(list);
    std::erase_if(involved, [&](uint32_t i) { return !IsPickable(doc_.Working, list[i].Layer); });
    SelectObjects(list, involved);
    selectionChanged(before);
    // With a millimetre round it, so a place as thin as a track's edge is
    // zoomed to as well, and shown among what lies beside it.
    Rect place = v.area.grown(100);
    // The check's window stands at the right of the board: the place is
    // widened to the right by the part it covers, so it is shown in the
    // part left free.
    if (const QWidget* over = QApplication::activeModalWidget(); over && over != this && over->isVisible()) {
        const QWidget* box = view_->scrollBox();
        const QRect shown(box->mapToGlobal(QPoint(0, 0)), box->size());
        const QRect covered = shown.intersected(over->frameGeometry());
        if (!covered.isEmpty() && covered.center().x() > shown.center().x() && covered.width() < shown.width() / 2) {
            const double widen = double(shown.width()) / (shown.width() - covered.width());
            place.right = place.left + static_cast<int32_t>(std::lround((place.right - place.left) * widen));
        }
    }
    view_->zoomArea(place);
}

void MainWindow::selectionChanged(const std::vector<uint8_t>& before)
{
    const ObjectList& list = objects();
    std::vector<const LayoutObject*> changed;
    for (size_t i = 0; i < list.size() && i < before.size(); ++i)
        if (list[i].Selected != before[i])
            changed.push_back(&list[i]);
    view_->invalidateObjects(changed);
    AdoptToolPanelValues(tools_, SyncToolPanel(list));
    showToolParameters();
    updateCommandStates();
}

// Shown without reporting: the rounded millimetres must not flow back.
void MainWindow::showToolParameters()
{
    toolPanel_->showParameters(mmFromUnits(tools_.CurrentTrackWidth), diameterMmFromRadiusUnits(tools_.CurrentPadOuter),
                               diameterMmFromRadiusUnits(tools_.CurrentPadInner));
    status_->showClearanceMm(mmFromUnits(tools_.CurrentClearance));
    // A selected pad hands over its shape and via mode as well: the Pad
    // button shows what the tool will place.
    setPadShape(tools_.CurrentPadShape);
}

void MainWindow::trackWidthEdited(double mm)
{
    tools_.CurrentTrackWidth = unitsFromMm(mm);
    applyToolParameter(ToolParameter::Width);
}

// A hole never exceeds its pad: raising the hole above the pad raises the
// pad with it, and shrinking the pad below the hole shrinks the hole, in
// the values for new pads (whether or not the other edit already showed the
// rounded value) and in the selected pads.
void MainWindow::padOuterEdited(double mm)
{
    setCurrentPadOuter(tools_, radiusUnitsFromDiameterMm(mm));
    showToolParameters();
    applyToolParameter(ToolParameter::OuterRadius);
}

void MainWindow::padInnerEdited(double mm)
{
    setCurrentPadInner(tools_, radiusUnitsFromDiameterMm(mm));
    showToolParameters();
    applyToolParameter(ToolParameter::InnerRadius);
}

// No undo step for panel values; the changed objects are repainted.
void MainWindow::applyToolParameter(ToolParameter which)
{
    pointer_->releaseShownPick();
    const bool drawn = which == ToolParameter::Width && machine_->takeTrackWidth();
    if (!ApplyToolParameter(session_, doc_, tools_, which) && !drawn)
        return;
    view_->redraw();
    updateCommandStates();
    updateTitle();
}

} // namespace kestrel
