#pragma once
// Quick answers on the outlines that SegmentOutline draws around a segment,
// for overlap tests that would otherwise build and clip polygons. Each
// answer is exact or says it cannot tell; then the polygons must decide.

#include "model/Types.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kestrel {

enum class QuickAnswer { Overlap, Apart, Unsure };

// A segment's outline of half width w (as SegmentOutline computes it): a
// convex ten-corner polygon whose corners lie on the round capsule of radius
// w, rounded to whole units. It holds the capsule of radius 0.92 w - 1 and
// lies within the capsule of radius w + 1.
struct CapsuleShape {
    Point a, b;
    int32_t halfWidth = 0;
};

// Whether the shape is small and wide enough for the bounds above to hold.
bool quickCapsule(const CapsuleShape& c);

// Overlap with positive area of two outlines that pass quickCapsule.
QuickAnswer capsulesOverlap(const CapsuleShape& c, const CapsuleShape& d);

// Whether an outline that passes quickCapsule keeps clear of the ring
// between the radii inner and outer around centre, outlines of whose circles
// have their corners on the circles, rounded to whole units.
bool capsuleOutsideRing(const CapsuleShape& c, Point centre, int32_t inner, int32_t outer);

// Bounds of a convex figure's outline polygon: it holds every point nearer
// than innerReach to the rectangle innerCore and lies within outerReach of
// outerCore. A reach of zero about a rectangle with area is the rectangle.
struct FigureBounds {
    Rect innerCore;
    double innerReach = 0;
    Rect outerCore;
    double outerReach = 0;
};

// Overlap with positive area of an outline that passes quickCapsule and a
// figure within the bounds (whose coordinates are as small as quickCapsule
// asks).
QuickAnswer capsuleAgainstFigure(const CapsuleShape& c, const FigureBounds& f);

// Whether p lies inside (Overlap) or outside (Apart) the figure.
QuickAnswer pointInFigure(Point p, const FigureBounds& f);

// Bounds of a circle's outline (a ring, disc or arc): it holds every point
// nearer than reach to the arc of the given radius that runs from the angle
// `from` counter-clockwise through `span` (radians, 2 pi for a whole
// circle; no arc when span or reach is not positive), and every point
// nearer than capReach to either cap centre. It lies within the ring
// between inner and outer.
struct ArcBounds {
    Point centre;
    double radius = 0, reach = 0, from = 0, span = 0;
    Point caps[2];
    double capReach = 0;
    int32_t inner = 0, outer = 0;
};

// Overlap with positive area of an outline that passes quickCapsule and a
// circle's outline within the bounds (coordinates as small as quickCapsule
// asks).
QuickAnswer capsuleAgainstArc(const CapsuleShape& c, const ArcBounds& arc);

// Square of the distance from p to the segment a-b.
double pointSegmentDistanceSquared(Point p, Point a, Point b);

// Smallest distance between the segments a-b and c-d.
double segmentDistance(Point a, Point b, Point c, Point d);

// Winding number of the closed polygon around p; p must not lie on an edge.
int windingNumber(std::span<const Point> polygon, Point p);
// Whether p lies inside a zone's outline by the even-odd rule, as zones are
// drawn and written: the middle of a self-crossing star is outside.
inline bool insideZoneOutline(std::span<const Point> polygon, Point p)
{
    return windingNumber(polygon, p) % 2 != 0;
}

} // namespace kestrel
