#pragma once
// The autorouter tool (tool 11). Moving the pointer over a rubber band of
// the active layer picks it (its two pads are selected, so the band shows in
// magenta); moving over a track the router laid picks that track. A left
// press routes the picked band, or turns the picked track back into its
// band. Each press that changes the board is one undo step.
//
// The pointer state keeps the pick state between movement and press:
//   move (paint-box pixel px):
//          pick = PickRouteTarget(objects, view.objectIndex(), view.viewport(), px);
//          state = pick.state; repaint pick.change.repaint.
//   left press, state Band:   r = RouteSelectedBand(session, doc, settings, observer, grid);
//   left press, state Track:  u = UnrouteSelectedTrack(session, doc);
//          repaint r.change / u.change and update the command states.
//   right press: back to the edit tool.
// The window's RouteToolActions (route/gui) does the press with the
// autorouter window's settings, status label and search-box flash.

#include "edit/BoardChange.h"
#include "edit/EditSession.h"
#include "model/LayoutDocument.h"
#include "route/Autorouter.h"
#include "view/ObjectIndex.h"
#include "view/Viewport.h"

namespace kestrel {

enum class PickState : uint8_t { Nothing = 0, Band = 1, RoutedTrack = 2 };

struct RoutePick {
    PickState state = PickState::Nothing;
    BoardChange change; // objects whose selection changed, with their bands
};

// Whether pointer p lies on the band drawn from a to b, all in paint-box
// pixels: within 3 pixels of the band's box, and for a slanted band within
// 3 pixels vertically of the line through a and b.
bool PointerOnBand(Pixel a, Pixel b, Pixel p);

// The first band in list order (pads on the active layer, each pad's bands
// in order) under the pointer selects its two pads, unless both already are;
// otherwise a router-laid track under the pointer is selected alone; with
// neither, the selection is cleared. The index must be built from `objects`.
RoutePick PickRouteTarget(ObjectList& objects, const ObjectIndex& index, const Viewport& viewport, Pixel pointer);

// The autorouter window's values: width and clearance in mm, routed on the
// active layer; the new track gets the current clearance for the ground plane.
RouteSettings RouteSettingsFor(double widthMm, double clearanceMm, int activeLayer, int32_t currentClearance);

struct RouteRun {
    bool started = false; // a band between two selected pads was found
    RouteResult result;
    BoardChange change;
};

// Routes the band between the selected pads (FindSelectedBand) on the
// active board. The undo step is taken once a way is found and cleared, just
// before the track is made, so a run that lays none leaves the history alone.
RouteRun RouteSelectedBand(EditSession& session, LayoutDocument& doc, const RouteSettings& settings,
                           const RouteObserver& observer, RouteGrid& grid);

struct UnrouteRun {
    UnrouteOutcome outcome = UnrouteOutcome::NoTrack;
    BoardChange change;
};

// UnrouteTrack on the active board as one undo step: the selected
// router-laid track becomes its band again, or an ordinary track when one of
// its pads is gone.
UnrouteRun UnrouteSelectedTrack(EditSession& session, LayoutDocument& doc);

} // namespace kestrel
