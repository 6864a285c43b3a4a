#include "cli/RouteSteps.h"

#include "route/Autorouter.h"
#include "route/ConnectTool.h"
#include "route/RouteTool.h"
#include "route/TestTool.h"

namespace kestrel::cli {

namespace {

// Bands whose two pads are both selected: the route step takes the first.
size_t selectedBands(const ObjectList& objects)
{
    size_t ends = 0;
    for (const auto& o : objects)
        if (o->is(ObjectKind::Pad) && o->Selected)
            for (const LayoutObject* other : o->Connections)
                ends += other->Selected ? 1 : 0;
    return ends / 2;
}

} // namespace

// The connect tool's press on one pad and then on another: draws the band
// between them, or removes it when they have one.
void band(EditContext& c, const StepArgs& a)
{
    const ObjectIndex& index = c.freshIndex();
    const long from = PadForConnecting(index, c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
    const long to = PadForConnecting(index, c.doc.Working, boardPoint(a.numbers[2], a.numbers[3]));
    if (from >= 0 && to >= 0 && from == to) {
        note(tr(c.lang, "шаг band: обе точки на одной площадке; перемычка не изменена",
                "step band: both points are on one pad; no band changed"));
        return;
    }
    if (from >= 0 && to >= 0) {
        ToggleBand(c.session, c.doc, static_cast<size_t>(from), static_cast<size_t>(to));
        return;
    }
    note(tr(c.lang, "шаг band: нет площадки в одной из точек; перемычка не изменена",
               "step band: no pad at one of the points; no band changed"));
}

void testAt(EditContext& c, const StepArgs& a)
{
    TestConnectionAt(c.objects(), c.freshIndex(), c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
}

bool validRouteSizes(const StepArgs& a)
{
    return RouteSettings::inRange(a.numbers[0]) && RouteSettings::inRange(a.numbers[1]);
}

// The autorouter's press on a picked band: the band between the selected
// pads, on the active layer, with the window's width and clearance.
void route(EditContext& c, const StepArgs& a)
{
    if (const ObjectList* objects = c.doc.currentObjects(); objects)
        if (const size_t bands = selectedBands(*objects); bands > 1)
            note(tr(c.lang, "шаг route: выделено перемычек: ", "step route: the selection holds ") +
                 std::to_string(bands) +
                 tr(c.lang, "; прокладывается первая по списку (выделите две площадки одной перемычки)",
                    " bands; the first in the list is routed (select the two pads of one band)"));
    RouteGrid grid;
    const RouteRun run =
        RouteSelectedBand(c.session, c.doc,
                          RouteSettingsFor(a.numbers[0], a.numbers[1], static_cast<int>(c.doc.Working.ActiveLayer),
                                           c.tools.CurrentClearance),
                          {}, grid);
    if (!run.started)
        note(tr(c.lang, "шаг route: выделены не две площадки с перемычкой; ничего не проложено",
                   "step route: the selection is not two pads joined by a band; nothing routed"));
    else if (!run.result.routed)
        note(tr(c.lang, "шаг route: ", "step route: ") + RouteStatusText(c.lang, run.result.failure));
}

// The file does not keep which tracks the router laid: only tracks laid in
// this run can be unrouted, and the step says so when there is none.
void unroute(EditContext& c, const StepArgs&)
{
    const UnrouteRun run = UnrouteSelectedTrack(c.session, c.doc);
    if (run.outcome == UnrouteOutcome::NoTrack)
        note(tr(c.lang, "шаг unroute: не выделено дорожки, проложенной трассировщиком в этом запуске; ничего не изменено",
                "step unroute: no track laid by the router in this run is selected; nothing changed"));
    else if (run.outcome == UnrouteOutcome::TrackKept)
        note(tr(c.lang, "шаг unroute: одной из площадок дорожки больше нет; она осталась обычной дорожкой",
                "step unroute: a pad of the track is gone; it stays as an ordinary track"));
}

} // namespace kestrel::cli
