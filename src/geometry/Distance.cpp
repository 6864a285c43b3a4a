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

// Edges of disjoint polygons never cross, so their distance is the smallest
// distance of an end point of one to an edge of the other.
double edgeGapSquared(const Polygon& a, const Polygon& b)
{
    double best = INFINITY;
    for (int pass = 0; pass < 2; ++pass) {
        const Polygon& from = pass == 0 ? a : b;
        const Polygon& to = pass == 0 ? b : a;
        for (const Point& p : from)
            for (size_t i = 0, n = to.size(); i < n; ++i)
                best = std::min(best, pointSegmentDistanceSquared(p, to[i], to[(i + 1) % n]));
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
    return std::hypot(dx, dy);
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
        for (const Polygon& pb : b.polygons())
            if (rectGap(ba, polygonBounds(pb)) * rectGap(ba, polygonBounds(pb)) < best2)
                best2 = std::min(best2, edgeGapSquared(pa, pb));
    }
    return std::sqrt(best2);
}

} // namespace kestrel
