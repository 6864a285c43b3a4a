#include "geometry/Distance.h"

#include "geometry/CapsuleOverlap.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

Rect polygonBounds(const Polygon& polygon)
{
    Rect r{polygon[0].x, polygon[0].y, polygon[0].x, polygon[0].y};
    for (const Point& p : polygon)
        r = r.united({p.x, p.y, p.x, p.y});
    return r;
}

double pointRectGapSquared(Point p, const Rect& r)
{
    const double dx = std::max({0.0, double(r.left) - p.x, double(p.x) - r.right});
    const double dy = std::max({0.0, double(r.top) - p.y, double(p.y) - r.bottom});
    return dx * dx + dy * dy;
}

// Edges of disjoint polygons never cross, so their distance is the smallest
// distance of an end point of one to an edge of the other, below `best`
// (squared). A point no nearer than that to the other's bounds meets no
// edge nearer either, and most of a polygon faces away from its neighbour.
double edgeGapSquared(const Polygon& a, const Rect& boundsA, const Polygon& b, const Rect& boundsB, double best)
{
    for (int pass = 0; pass < 2; ++pass) {
        const Polygon& from = pass == 0 ? a : b;
        const Polygon& to = pass == 0 ? b : a;
        const Rect& toBounds = pass == 0 ? boundsB : boundsA;
        for (const Point& p : from) {
            if (pointRectGapSquared(p, toBounds) >= best)
                continue;
            for (size_t i = 0, n = to.size(); i < n; ++i)
                best = std::min(best, pointSegmentDistanceSquared(p, to[i], to[(i + 1) % n]));
        }
    }
    return best;
}

} // namespace

double rectGap(const Rect& a, const Rect& b)
{
    const double dx = std::max({0.0, double(b.left) - a.right, double(a.left) - b.right});
    const double dy = std::max({0.0, double(b.top) - a.bottom, double(a.top) - b.bottom});
    // Side by side is the common case, and exact without the square root.
    if (dx == 0 || dy == 0)
        return dx + dy;
    return std::sqrt(dx * dx + dy * dy); // both below 2^32: no overflow to guard against
}

double regionGap(const Region& a, const Region& b, double limit)
{
    if (a.empty() || b.empty() || rectGap(a.bounds(), b.bounds()) >= limit)
        return limit;
    if (a.overlaps(b))
        return 0;
    double best2 = limit * limit;
    for (const Polygon& pa : a.polygons()) {
        const Rect ba = polygonBounds(pa);
        for (const Polygon& pb : b.polygons()) {
            const Rect bb = polygonBounds(pb);
            if (const double boxGap = rectGap(ba, bb); boxGap * boxGap < best2)
                best2 = edgeGapSquared(pa, ba, pb, bb, best2);
        }
    }
    return std::sqrt(best2);
}

} // namespace kestrel
