#pragma once
// The polygon generator and the arc segment of circles.

#include "edit/EditSession.h"
#include "model/LayoutDocument.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrel {

// What the polygon dialog collects.
struct PolygonSettings {
    static constexpr int kMinCorners = 3, kMaxCorners = 99;
    static constexpr double kMinRadiusMm = 1.0, kMaxRadiusMm = 99.9;
    static constexpr double kMaxOffsetDegrees = 180.0;
    static constexpr double kMaxLineWidthMm = 99.9;

    int corners = 6;
    double radiusMm = 10.0;
    double offsetDegrees = 0.0; // counter-clockwise from +x
    double lineWidthMm = 1.0;
    bool filled = false; // a zone instead of a track
};

// The corners relative to the centre, vertex 0 through vertex `corners`
// (which is vertex 0 again): corners + 1 points.
std::vector<Point> PolygonVertices(const PolygonSettings& settings);

// A new track (or zone when filled) through the corners around p on the
// active layer, after an undo snapshot. Returns it, or nullptr without a
// board.
LayoutObject* PlacePolygon(EditSession& session, LayoutDocument& doc, const PolygonSettings& settings, Point p,
                           int32_t clearance);

// The arc of a circle: start and stop angle in whole degrees, drawn
// counter-clockwise; equal angles are the full circle.
struct ArcSettings {
    int32_t start = 0;
    int32_t stop = 0;
    bool filled = false; // a sector
};

// Degrees brought into 0..359, so no arc spans more than a full turn.
int32_t NormalDegrees(double degrees);

// The values of the last selected circle in list order, none without one.
std::optional<ArcSettings> ArcOfSelection(const ObjectList& list);

// Gives every selected circle the arc (angles normalised). No undo
// snapshot, as the segment command takes none. Returns how many changed.
size_t ApplyArcSegment(LayoutDocument& doc, const ArcSettings& arc);

} // namespace kestrel
