#pragma once
// Areas as integer polygons in board units. This is the one module that
// talks to Clipper; everyone else sees Region.

#include "model/Types.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kestrel {

using Polygon = std::vector<Point>;

// The area a corner list encloses, by the shoelace formula: positive when
// it runs counter-clockwise. For a contour that crosses itself it differs
// from the area filled.
double signedArea(std::span<const Point> ring);

// A set of polygons in board units with non-zero (winding) fill, built and
// combined with Clipper. An empty region covers nothing. A region that is a
// single convex polygon is recognised, and overlap tests between two such
// regions need no clipping.
class Region {
public:
    Region() = default;
    // Zones fill their outline by the even-odd rule, as they are drawn and
    // written: the middle of a self-crossing star is left out.
    enum class Fill : uint8_t { NonZero, EvenOdd };
    static Region fromPolygon(std::span<const Point> polygon, Fill fill = Fill::NonZero);
    // Union of the polygons, all filled by the non-zero rule together.
    static Region fromPolygons(const std::vector<Polygon>& polygons);
    static Region rectangle(const Rect& r);
    // Disc approximated by a polygon whose vertices lie on the circle.
    static Region disc(Point centre, int32_t radius);
    // Rectangle of half extents halfX and halfY with quarter-circle corners.
    static Region roundedRectangle(Point centre, int64_t halfX, int64_t halfY, double cornerRadius);

    bool empty() const { return polygons_.empty(); }
    bool convex() const { return convex_; }
    // Non-overlapping outer rings (counter-clockwise) and holes (clockwise).
    const std::vector<Polygon>& polygons() const { return polygons_; }

    Region united(const Region& other) const;
    Region intersected(const Region& other) const;
    Region subtracted(const Region& other) const;
    Region xored(const Region& other) const;
    // The parts of the region that hang together: each outer ring with the
    // holes directly inside it (a ring inside a hole is a part of its own).
    std::vector<Region> pieces() const;

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

} // namespace kestrel
