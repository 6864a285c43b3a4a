#pragma once
// Object outlines shared by drawing, hit tests, connectivity, routing and
// the exports, as integer polygons in board units.

#include "geometry/Figures.h"
#include "geometry/Region.h"
#include "model/LayoutObject.h"

#include <array>
#include <optional>
#include <vector>

namespace kestrel {

// The 10 corners of the capsule drawn around the segment p1-p2 of an object
// (half width Width div 2, 20 when that is 0 and the object is not a zone).
std::array<Point, 10> SegmentOutline(const LayoutObject& o, Point p1, Point p2);

// The figure a pad's outline is: an octagon is taken as the disc or rounded
// rectangle it is inscribed in, and a pad of an unknown shape draws only its
// hole. Kind None for a pad without outer radius.
PadFigure padOutlineFigure(const LayoutObject& pad);

// Bounds of a circle's outline for quick overlap answers; none for a circle
// too large or far out for them or whose inner radius is not below the outer.
std::optional<ArcBounds> circleBounds(const LayoutObject& circle);

// The point of a circle at a whole-degree angle on its outer radius X2.
Point ArcPoint(const LayoutObject& circle, int32_t angleDegrees);

// The corner of a track or zone under the board point p (the last one hit),
// or -1.
int CornerAt(const LayoutObject& o, Point p);

// The area covered by the object as drawn (enlargement and clearance play no part).
Region ObjectRegion(const LayoutObject& o);

// The same area as non-empty parts whose union is ObjectRegion(o): one capsule
// per line, track or zone edge, the zone's fill, or the one shape of a pad,
// label or circle. Overlap tests on the small, mostly convex parts are far
// cheaper than on a whole long track.
std::vector<Region> OutlineParts(const LayoutObject& o);

// Bounding rectangle in board units, clearance included, normalised; the
// area a change to the object repaints and the test for objects off the board.
Rect BoundingRect(const LayoutObject& o);

// A rectangle that holds ObjectRegion(o), found without building the region;
// spatial indexes key objects by it.
Rect OutlineBounds(const LayoutObject& o);

} // namespace kestrel
