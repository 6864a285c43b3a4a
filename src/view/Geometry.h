#pragma once
// Geometry services shared by drawing, hit tests, connectivity, routing and
// the exports: object outlines as integer polygons in board units. This is
// the one module that talks to Clipper; everyone else sees Region.

#include "model/LayoutObject.h"

#include <array>
#include <vector>

namespace kestrel {

using Polygon = std::vector<Point>;

// A set of polygons in board units with non-zero (winding) fill, built and
// combined with Clipper. An empty region covers nothing. A region that is a
// single convex polygon is recognised, and overlap tests between two such
// regions need no clipping.
class Region {
public:
    Region() = default;
    static Region fromPolygon(const Polygon& polygon);
    // Union of the polygons, all filled by the non-zero rule together.
    static Region fromPolygons(const std::vector<Polygon>& polygons);
    static Region rectangle(const Rect& r);
    // Disc approximated by a polygon whose vertices lie on the circle.
    static Region disc(Point centre, int32_t radius);

    bool empty() const { return polygons_.empty(); }
    bool convex() const { return convex_; }
    // Non-overlapping outer rings (counter-clockwise) and holes (clockwise).
    const std::vector<Polygon>& polygons() const { return polygons_; }

    Region united(const Region& other) const;
    Region intersected(const Region& other) const;
    Region subtracted(const Region& other) const;
    Region xored(const Region& other) const;

    double area() const;
    // Smallest rectangle holding every vertex; all zero when empty.
    Rect bounds() const { return bounds_; }
    // Inside or on the edge.
    bool contains(Point p) const;
    // True exactly when the intersection has positive area; unlike
    // intersected(), whose corners are whole units, it also sees slivers
    // thinner than a unit.
    bool overlaps(const Region& other) const;

private:
    enum class Operation { Union, Intersection, Difference, Xor };
    static Region fromNormalised(std::vector<Polygon> polygons);
    Region combined(const Region& other, Operation op) const;

    std::vector<Polygon> polygons_;
    Rect bounds_;
    bool convex_ = false;
};

// The 10 corners of the capsule drawn around the segment p1-p2 of an object
// (half width Width div 2, 20 when that is 0 and the object is not a zone).
std::array<Point, 10> SegmentOutline(const LayoutObject& o, Point p1, Point p2);

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

// A rectangle that holds ObjectRegion(o), found without building the region;
// spatial indexes key objects by it.
Rect OutlineBounds(const LayoutObject& o);

} // namespace kestrel
