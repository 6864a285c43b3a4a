#include "cli/SelectionSteps.h"

#include "edit/ApplyToolParameter.h"
#include "edit/HitTest.h"
#include "edit/Selection.h"
#include "edit/ToolPanelSync.h"
#include "edit/Transformations.h"
#include "model/LayerSwitches.h"
#include "model/Units.h"

#include <cmath>

namespace kestrel::cli {

namespace {

// What a press in the edit tool does after changing the selection.
void syncPanel(EditContext& c)
{
    AdoptToolPanelValues(c.tools, SyncToolPanel(c.objects()));
}

// A turn or mirror the board has no room for changes nothing.
void noteNoRoom(EditContext& c, const char* step)
{
    note(std::string(tr(c.lang, "шаг ", "step ")) + step +
         tr(c.lang, ": выделенное так не уместится на плате; ничего не изменено",
            ": the selection would not fit on the board that way; nothing changed"));
}

} // namespace

void selectAll(EditContext& c, const StepArgs&)
{
    SelectAll(c.objects(), c.doc.Working);
    syncPanel(c);
}

void selectNone(EditContext& c, const StepArgs&)
{
    DeselectAll(c.objects());
}

// A frame drawn from an empty spot: the press clears the selection first.
void selectFrame(EditContext& c, const StepArgs& a)
{
    DeselectAll(c.objects());
    SelectInFrame(c.objects(), c.freshIndex(), c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]),
                  boardPoint(a.numbers[2], a.numbers[3]));
    syncPanel(c);
}

// A left press without Shift.
void selectAt(EditContext& c, const StepArgs& a)
{
    const long i = FindObjectAt(c.freshIndex(), c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
    if (i < 0 || !c.objects()[static_cast<size_t>(i)].Selected)
        DeselectAll(c.objects());
    if (i >= 0)
        SelectObject(c.objects(), static_cast<size_t>(i), true);
    syncPanel(c);
}

// A left press with Shift toggles the object's selection.
void selectAdd(EditContext& c, const StepArgs& a)
{
    const long i = FindObjectAt(c.freshIndex(), c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
    if (i >= 0)
        SelectObject(c.objects(), static_cast<size_t>(i), !c.objects()[static_cast<size_t>(i)].Selected);
    syncPanel(c);
}

// A move drag by the distance, kept on the board like one.
void move(EditContext& c, const StepArgs& a)
{
    Point delta{unitsFromMm(a.numbers[0]), -unitsFromMm(a.numbers[1])};
    if (const auto bounds = SelectionBounds(c.objects()))
        delta = ClampMoveDelta(*bounds, delta, c.doc.Working, false);
    ApplyMove(c.session, c.doc, delta);
}

void nudge(EditContext& c, const StepArgs& a)
{
    const NudgeDirection d = a.word == "left"    ? NudgeDirection::Left
                             : a.word == "right" ? NudgeDirection::Right
                             : a.word == "up"    ? NudgeDirection::Up
                                                 : NudgeDirection::Down;
    NudgeSelection(c.doc, d, false);
}

void rotate(EditContext& c, const StepArgs&)
{
    if (!RotateSelection(c.session, c.doc))
        noteNoRoom(c, "rotate");
}

void mirror(EditContext& c, const StepArgs& a)
{
    if (!(a.word == "horizontal" ? MirrorHorizontal(c.session, c.doc) : MirrorVertical(c.session, c.doc)))
        noteNoRoom(c, "mirror");
}

bool validSetting(const StepArgs& a)
{
    const double v = a.numbers[0];
    if (a.word == "shape")
        return v >= 1 && v <= 9 && v == std::floor(v);
    // As the panel's spin edits: a pad keeps some copper, the clearance
    // field reaches 5 mm, the others 99.9 mm.
    const double least = a.word == "outer" ? 0.1 : 0;
    return v >= least && v <= (a.word == "clearance" ? 5 : 99.9);
}

void setValue(EditContext& c, const StepArgs& a)
{
    const double v = a.numbers[0];
    if (a.word == "clearance") {
        c.tools.CurrentClearance = clearanceUnitsFromMm(v);
        if (applyClearanceToSelection(c.objects(), c.tools.CurrentClearance) > 0)
            c.doc.Modified = true;
        return;
    }
    ToolParameter which = ToolParameter::Width;
    if (a.word == "width") {
        c.tools.CurrentTrackWidth = unitsFromMm(v);
    } else if (a.word == "outer") {
        setCurrentPadOuter(c.tools, radiusUnitsFromDiameterMm(v));
        which = ToolParameter::OuterRadius;
    } else if (a.word == "inner") {
        setCurrentPadInner(c.tools, radiusUnitsFromDiameterMm(v));
        which = ToolParameter::InnerRadius;
    } else {
        c.tools.CurrentPadShape = static_cast<uint8_t>(v);
        which = ToolParameter::PadShape;
    }
    ApplyToolParameter(c.session, c.doc, c.tools, which);
}

void activeLayer(EditContext& c, const StepArgs& a)
{
    SetActiveLayer(c.doc.Working, c.objects(), layerOf(a.word));
}

} // namespace kestrel::cli
