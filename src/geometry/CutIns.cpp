#include "geometry/CutIns.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrel {

namespace {

// Even-odd test of a point against one ring.
bool insideRing(Point p, const Polygon& ring)
{
    bool inside = false;
    for (size_t i = 0, n = ring.size(), j = n - 1; i < n; j = i++) {
        const Point& a = ring[i];
        const Point& b = ring[j];
        if ((a.y > p.y) != (b.y > p.y)) {
            const double x = a.x + (double(p.y) - a.y) * (double(b.x) - a.x) / (double(b.y) - a.y);
            if (p.x < x)
                inside = !inside;
        }
    }
    return inside;
}

size_t rightmost(const Polygon& ring)
{
    return static_cast<size_t>(std::max_element(ring.begin(), ring.end(), [](const Point& a, const Point& b) {
                                   return a.x < b.x;
                               }) -
                               ring.begin());
}

// Joins `hole` into `contour`: a horizontal cut from the hole's rightmost
// corner to the nearest edge on its right, which no other edge crosses.
void cutIn(Polygon& contour, const Polygon& hole)
{
    const size_t m = rightmost(hole);
    const Point from = hole[m];
    double bestX = std::numeric_limits<double>::infinity();
    size_t bestEdge = 0;
    for (size_t i = 0, n = contour.size(); i < n; ++i) {
        const Point& a = contour[i];
        const Point& b = contour[(i + 1) % n];
        if ((a.y > from.y) == (b.y > from.y))
            continue;
        const double x = a.x + (double(from.y) - a.y) * (double(b.x) - a.x) / (double(b.y) - a.y);
        if (x >= from.x && x < bestX) {
            bestX = x;
            bestEdge = i;
        }
    }
    if (!std::isfinite(bestX))
        return; // not inside the contour after all; left out rather than drawn wrongly
    const Point to{static_cast<int32_t>(std::lround(bestX)), from.y};
    Polygon joined;
    joined.reserve(contour.size() + hole.size() + 4);
    joined.insert(joined.end(), contour.begin(), contour.begin() + static_cast<long>(bestEdge) + 1);
    joined.push_back(to);
    for (size_t k = 0; k <= hole.size(); ++k)
        joined.push_back(hole[(m + k) % hole.size()]);
    joined.push_back(to);
    joined.insert(joined.end(), contour.begin() + static_cast<long>(bestEdge) + 1, contour.end());
    contour.swap(joined);
}

} // namespace

std::vector<Polygon> cutInContours(const Region& region)
{
    std::vector<Polygon> outers, holes;
    for (const Polygon& p : region.polygons())
        (signedArea(p) > 0 ? outers : holes).push_back(p);
    // Each hole belongs to the smallest outer ring around it.
    std::vector<std::vector<const Polygon*>> holesOf(outers.size());
    for (const Polygon& hole : holes) {
        long owner = -1;
        double ownerArea = 0;
        for (size_t i = 0; i < outers.size(); ++i) {
            const double area = signedArea(outers[i]);
            if (insideRing(hole[0], outers[i]) && (owner < 0 || area < ownerArea)) {
                owner = static_cast<long>(i);
                ownerArea = area;
            }
        }
        if (owner >= 0)
            holesOf[static_cast<size_t>(owner)].push_back(&hole);
    }
    for (size_t i = 0; i < outers.size(); ++i) {
        // Right to left, so every cut runs to an edge that is already joined.
        auto& own = holesOf[i];
        std::sort(own.begin(), own.end(),
                  [](const Polygon* a, const Polygon* b) { return (*a)[rightmost(*a)].x > (*b)[rightmost(*b)].x; });
        for (const Polygon* hole : own)
            cutIn(outers[i], *hole);
    }
    return outers;
}

} // namespace kestrel
