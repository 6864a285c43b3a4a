#pragma once
// The maze autorouter: lays one track for the rubber band between two pads
// on one copper layer, and turns such a track back into its band.

#include "model/Board.h"
#include "model/Language.h"
#include "route/RouteGrid.h"

#include <functional>
#include <string>

namespace kestrel {

struct RouteSettings {
    // The track widths and clearances the autorouter window offers, in mm.
    static constexpr double kMinMm = 0.1, kMaxMm = 9.9;

    uint8_t layer = Layer::K1;       // the copper layer to route on (1 or 3)
    int32_t widthUnits = 40;         // track width w
    int32_t clearanceUnits = 20;     // clearance a kept to foreign copper
    int32_t newTrackClearance = 40;  // Clearance given to the new track (ground plane gap)

    // Written so that a NaN lies outside too.
    static bool inRange(double mm) { return mm >= kMinMm && mm <= kMaxMm; }
    static bool routesOn(int layer) { return layer == Layer::K1 || layer == Layer::K2; }
};

// The steps a run reports in the autorouter window's information label.
enum class RouteStatus : uint8_t {
    Analysing, // the run has begun
    Searching, // an attempt over a search box begins
    Success,
    NoPath,
    PadWithoutCopper, // a hole fills one of the pads: no track can join it
    PadOffLayer,      // a pad, and any via through it, lies on the other layer
    PadOffBoard,      // a pad's centre lies off the board
    PadBeyondGrid,    // a pad lies beyond the cells the wave can cover
    PadAtEdge,        // a pad lies too near the board's edge for the wave at this pitch
    LayerNotCopper,   // the layer to route on is a silk layer
};

// The label's text for a step in the interface language; Searching shows
// the box as BoxText gives it.
std::string RouteStatusText(Language lang, RouteStatus status, const std::string& box = {});

// What a routing run shows while it works; every member may be empty.
struct RouteObserver {
    // Each step; `box` is the attempt's search box as "left/top right/bottom"
    // in whole millimetres for Searching and empty otherwise.
    std::function<void(RouteStatus status, const std::string& box)> status;
    // Each attempt's search box in board units, shown before the attempt and
    // hidden after it.
    std::function<void(const Rect& boardRect, bool shown)> searchBox;
    // Called once the way is found and cleared, just before the track is
    // made: the moment for the undo snapshot.
    std::function<void()> beforeTrack;
};

struct RouteResult {
    bool routed = false;
    LayoutObject* track = nullptr; // the new track, appended to the list
    // Why nothing was routed: no way, or one of the pad failures above.
    RouteStatus failure = RouteStatus::NoPath;
};

// Routes the band from the start pad to the target pad. On success the new
// track (from the target's centre to the start's) is appended with Routed
// set and RouteFrom = start, RouteTo = target, the band is removed from both
// pads and the track is selected. Afterwards nothing else is selected but
// the two pads. Copper of either pad's net is no obstacle; everything else
// on the layer is, and so are the holes of other nets' pads drilled through
// it from the other side. No segment of the track touches an obstacle.
RouteResult RouteConnection(ObjectList& objects, const BoardSettings& board, LayoutObject& start,
                            LayoutObject& target, const RouteSettings& settings, const RouteObserver& observer = {});
// The same on a grid the caller keeps between runs, as the editor keeps one
// for the whole session; it is filled anew on every run.
RouteResult RouteConnection(ObjectList& objects, const BoardSettings& board, LayoutObject& start,
                            LayoutObject& target, const RouteSettings& settings, const RouteObserver& observer,
                            RouteGrid& grid);

// The pads of the band to route: the first selected pad in list order with a
// selected pad among its bands, and the first such band partner.
std::pair<LayoutObject*, LayoutObject*> FindSelectedBand(ObjectList& objects);

enum class UnrouteOutcome { NoTrack, BandRestored, TrackKept };

// Takes the first selected track laid by the router. With both of its pads
// still present the band comes back and the track is deleted; otherwise the
// track stays as an ordinary track.
UnrouteOutcome UnrouteTrack(ObjectList& objects);

} // namespace kestrel
