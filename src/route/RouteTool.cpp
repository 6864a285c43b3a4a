#include "route/RouteTool.h"

#include "edit/HitTest.h"
#include "edit/Selection.h"
#include "edit/Undo.h"
#include "model/Units.h"

#include <algorithm>
#include <cstdlib>

namespace kestrel {

namespace {

constexpr int32_t kBandTolerancePx = 3;

bool between(int32_t v, int32_t a, int32_t b)
{
    return v >= std::min(a, b) - kBandTolerancePx && v <= std::max(a, b) + kBandTolerancePx;
}

long firstRoutedSelectedTrack(const ObjectList& objects)
{
    for (size_t i = 0; i < objects.size(); ++i)
        if (objects[i].is(ObjectKind::Track) && objects[i].Routed && objects[i].Selected)
            return static_cast<long>(i);
    return -1;
}

} // namespace

bool PointerOnBand(Pixel a, Pixel b, Pixel p)
{
    if (!between(p.x, a.x, b.x) || !between(p.y, a.y, b.y))
        return false;
    if (a.x == b.x || a.y == b.y)
        return true;
    const double slope = static_cast<double>(a.y - b.y) / (a.x - b.x);
    const int32_t y = a.y + roundEven(slope * (p.x - a.x));
    return std::abs(y - p.y) <= kBandTolerancePx;
}

RoutePick PickRouteTarget(ObjectList& objects, const ObjectIndex& index, const Viewport& viewport, Pixel pointer)
{
    RoutePick pick;
    const std::vector<uint8_t> before = SelectionFlags(objects);
    const uint8_t layer = viewport.settings().ActiveLayer;
    for (const LayoutObject* pad : index.padsWithBands()) {
        if (pad->Layer != layer)
            continue;
        for (LayoutObject* other : pad->Connections) {
            if (!PointerOnBand(viewport.boardToScreen(pad->centre()), viewport.boardToScreen(other->centre()),
                               pointer))
                continue;
            const long i = objects.indexOf(pad);
            if (i < 0)
                return pick; // an index of another list: nothing to pick from
            LayoutObject& start = objects[static_cast<size_t>(i)];
            // The pick is the whole selection: a click routes the first
            // band whose pads are selected.
            if (!start.Selected || !other->Selected || SelectedCount(objects) != 2) {
                DeselectAll(objects);
                start.Selected = other->Selected = 1;
            }
            pick.state = PickState::Band;
            pick.change = SelectionChange(objects, before);
            return pick;
        }
    }
    const long i = FindObjectAt(index, viewport.settings(), viewport.screenToBoard(pointer, false));
    LayoutObject* track = i >= 0 ? &objects[static_cast<size_t>(i)] : nullptr;
    if (track && track->is(ObjectKind::Track) && track->Routed) {
        if (!track->Selected || SelectedCount(objects) != 1) {
            DeselectAll(objects);
            track->Selected = 1;
        }
        pick.state = PickState::RoutedTrack;
    } else {
        DeselectAll(objects);
    }
    pick.change = SelectionChange(objects, before);
    return pick;
}

RouteSettings RouteSettingsFor(double widthMm, double clearanceMm, int activeLayer, int32_t currentClearance)
{
    RouteSettings s;
    s.layer = static_cast<uint8_t>(activeLayer);
    s.widthUnits = unitsFromMm(widthMm);
    s.clearanceUnits = unitsFromMm(clearanceMm);
    s.newTrackClearance = currentClearance;
    return s;
}

RouteRun RouteSelectedBand(EditSession& session, LayoutDocument& doc, const RouteSettings& settings,
                           const RouteObserver& observer, RouteGrid& grid)
{
    RouteRun run;
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return run;
    const auto [start, target] = FindSelectedBand(*objects);
    if (!start)
        return run;
    run.started = true;
    const std::vector<uint8_t> before = SelectionFlags(*objects);
    // The band itself changes colour or disappears.
    run.change.include(*start);
    run.change.include(*target);
    RouteObserver withUndo = observer;
    withUndo.beforeTrack = [&] {
        session.objectsWillChange();
        TakeUndoSnapshot(session, doc);
        if (observer.beforeTrack)
            observer.beforeTrack();
    };
    run.result = RouteConnection(*objects, doc.Working, *start, *target, settings, withUndo, grid);
    run.change.include(SelectionChange(*objects, before));
    return run;
}

UnrouteRun UnrouteSelectedTrack(EditSession& session, LayoutDocument& doc)
{
    UnrouteRun run;
    ObjectList* objects = doc.currentObjects();
    const long i = objects ? firstRoutedSelectedTrack(*objects) : -1;
    if (i < 0)
        return run;
    const LayoutObject& track = (*objects)[static_cast<size_t>(i)];
    // The track runs from one pad's centre to the other's, so its area holds
    // the band that comes back.
    run.change.include(track);
    for (const LayoutObject* pad : {track.RouteFrom, track.RouteTo})
        if (pad && objects->indexOf(pad) >= 0)
            run.change.include(*pad);
    session.objectsWillChange();
    TakeUndoSnapshot(session, doc);
    run.outcome = UnrouteTrack(*objects);
    return run;
}

} // namespace kestrel
