#pragma once
// Exact gaps between copper shapes for the design check. Each shape is a
// core (a segment, a circular arc or a filled region) grown by a reach, so
// round ends and arcs are measured as true circles rather than through the
// polygons that approximate them.

#include "geometry/Region.h"
#include "model/Types.h"

#include <cstdint>

namespace kestrel {

// A copper shape as a core grown by `reach` (>= 0): a segment (a disc when
// both ends are equal), a circular arc (a full circle when span >= 2*pi),
// or a filled region (reach 0 for pads, zone fills, label boxes).
struct SweptShape {
    enum class Core : uint8_t { Segment, Arc, Area };
    Core core = Core::Segment;
    Point a, b;                 // Segment
    Point centre;               // Arc: centre, radius > 0
    double radius = 0;
    double from = 0, span = 0;  // Arc: start angle and counter-clockwise span, radians,
                                // angles as atan2(y - centre.y, x - centre.x)
    const Region* area = nullptr; // Area: not owned
    double reach = 0;
    Rect bounds() const;        // a rectangle holding the whole grown shape (for pruning)
};

// Distance between the two grown shapes' boundaries; 0 when they touch or
// overlap (also when one lies inside the other). Exact (to double rounding)
// below `limit`; when the shapes are at least `limit` apart it may return
// any value >= limit (it returns limit early when their bounds are that far
// apart). A missing or empty region is infinitely far from everything.
double sweptGap(const SweptShape& s, const SweptShape& t, double limit);

} // namespace kestrel
