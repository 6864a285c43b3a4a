#include "geometry/Region.h"

#include "model/Units.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>

namespace kestrel {

namespace {

using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

Path toPath(const Polygon& polygon, ClipperLib::cInt scale = 1)
{
    Path path;
    path.reserve(polygon.size());
    for (const Point& p : polygon)
        path.emplace_back(p.x * scale, p.y * scale);
    return path;
}

Polygon toPolygon(const Path& path)
{
    Polygon polygon;
    polygon.reserve(path.size());
    for (const IntPoint& p : path)
        polygon.push_back({static_cast<int32_t>(p.X), static_cast<int32_t>(p.Y)});
    return polygon;
}

Paths toPaths(const std::vector<Polygon>& polygons, ClipperLib::cInt scale = 1)
{
    Paths paths;
    paths.reserve(polygons.size());
    for (const Polygon& p : polygons)
        paths.push_back(toPath(p, scale));
    return paths;
}

// Clipping puts the corners of an intersection on whole units, which can
// swallow a sliver thinner than a unit; on a 1/16 unit grid it survives.
bool clippedIntersectionHasArea(const std::vector<Polygon>& a, const std::vector<Polygon>& b)
{
    constexpr ClipperLib::cInt scale = 16;
    ClipperLib::Clipper clipper;
    clipper.AddPaths(toPaths(a, scale), ClipperLib::ptSubject, true);
    clipper.AddPaths(toPaths(b, scale), ClipperLib::ptClip, true);
    Paths out;
    clipper.Execute(ClipperLib::ctIntersection, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    double area = 0;
    for (const Path& p : out)
        area += ClipperLib::Area(p);
    return area > 0;
}

std::vector<Polygon> toPolygons(const Paths& paths)
{
    std::vector<Polygon> polygons;
    polygons.reserve(paths.size());
    for (const Path& p : paths)
        if (p.size() >= 3)
            polygons.push_back(toPolygon(p));
    return polygons;
}


// Cross product of (a - o) and (b - o); positive for a left turn. 128 bits,
// as coordinate differences can take 33 bits.
__int128 turn(const Point& o, const Point& a, const Point& b)
{
    return static_cast<__int128>(static_cast<int64_t>(a.x) - o.x) * (static_cast<int64_t>(b.y) - o.y) -
           static_cast<__int128>(static_cast<int64_t>(a.y) - o.y) * (static_cast<int64_t>(b.x) - o.x);
}

// Drops repeated points and points in line with their neighbours. Repeats
// go first: a corner followed by its own copy would otherwise look straight
// at both copies and vanish.
Polygon withoutStraightCorners(Polygon polygon)
{
    bool changed = true;
    while (changed && polygon.size() >= 3) {
        changed = false;
        polygon.erase(std::unique(polygon.begin(), polygon.end()), polygon.end());
        while (polygon.size() > 1 && polygon.front() == polygon.back())
            polygon.pop_back();
        if (polygon.size() < 3)
            break;
        Polygon kept;
        kept.reserve(polygon.size());
        const size_t n = polygon.size();
        for (size_t i = 0; i < n; ++i) {
            const Point& prev = kept.empty() ? polygon[n - 1] : kept.back();
            if (turn(prev, polygon[i], polygon[(i + 1) % n]) == 0 || polygon[i] == prev) {
                changed = true;
                continue;
            }
            kept.push_back(polygon[i]);
        }
        polygon.swap(kept);
    }
    return polygon;
}

// A polygon without straight corners is convex and simple when it turns the
// same way at every corner and winds round only once (each coordinate's
// direction changes sign at most twice).
bool convexAndSimple(const Polygon& polygon)
{
    const size_t n = polygon.size();
    if (n < 3)
        return false;
    int sign = 0, xFlips = 0, yFlips = 0, lastDx = 0, lastDy = 0, firstDx = 0, firstDy = 0;
    for (size_t i = 0; i < n; ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % n];
        const Point& c = polygon[(i + 2) % n];
        const __int128 t = turn(a, b, c);
        const int s = t > 0 ? 1 : -1;
        if (sign == 0)
            sign = s;
        else if (s != sign)
            return false;
        const int dx = (b.x > a.x) - (b.x < a.x), dy = (b.y > a.y) - (b.y < a.y);
        if (dx != 0) {
            if (firstDx == 0)
                firstDx = dx;
            if (lastDx != 0 && dx != lastDx)
                ++xFlips;
            lastDx = dx;
        }
        if (dy != 0) {
            if (firstDy == 0)
                firstDy = dy;
            if (lastDy != 0 && dy != lastDy)
                ++yFlips;
            lastDy = dy;
        }
    }
    xFlips += lastDx != firstDx;
    yFlips += lastDy != firstDy;
    return xFlips <= 2 && yFlips <= 2;
}

bool turnsLeftEverywhere(const Polygon& polygon)
{
    const size_t n = polygon.size();
    for (size_t i = 0; i < n; ++i)
        if (turn(polygon[i], polygon[(i + 1) % n], polygon[(i + 2) % n]) < 0)
            return false;
    return n >= 3;
}

// True when one edge of the counter-clockwise convex polygon a has all of b
// on its outer side or on its line; for two convex polygons such an edge
// exists in one of them exactly when their interiors are disjoint.
bool separatedByEdgeOf(const Polygon& a, const Polygon& b)
{
    const size_t n = a.size();
    for (size_t i = 0; i < n; ++i) {
        const Point& p = a[i];
        const Point& q = a[(i + 1) % n];
        bool allOutside = true;
        for (const Point& v : b)
            if (turn(p, q, v) > 0) {
                allOutside = false;
                break;
            }
        if (allOutside)
            return true;
    }
    return false;
}

// Number of disc vertices so that the chord never strays more than half a
// unit from the circle; a multiple of four so the extreme points are exact.
int discSegments(double radius)
{
    constexpr int minSegments = 8;
    constexpr int maxSegments = 512;
    if (radius <= 1.0)
        return minSegments;
    const double perSegment = std::acos(1.0 - 0.5 / radius);
    int n = static_cast<int>(std::ceil(std::numbers::pi / perSegment));
    n = (n + 3) / 4 * 4;
    return std::clamp(n, minSegments, maxSegments);
}

struct CosSin {
    double cos, sin;
};

Point pointAt(double cx, double cy, double radius, CosSin turn)
{
    return {saturatedUnits(cx + radius * turn.cos), saturatedUnits(cy + radius * turn.sin)};
}

// Cosines and sines of the corner angles of discs and rounded corners,
// worked out once per corner count: every pad, via and rounded corner of a
// board takes them from here rather than calling the trigonometry again.
// `angles(key, add)` adds the angles of one count; each call site has its
// own tables.
template <int Most, typename Angles>
const std::vector<CosSin>& keptTurns(int key, Angles angles)
{
    static std::once_flag made[Most + 1];
    static std::vector<CosSin> turns[Most + 1];
    key = std::clamp(key, 1, Most);
    std::call_once(made[key], [&] {
        angles(key, [&](double angle) { turns[key].push_back({std::cos(angle), std::sin(angle)}); });
    });
    return turns[key];
}

// 2 pi k / n for the n corners of a disc.
const std::vector<CosSin>& discTurns(int n)
{
    return keptTurns<512>(n, [](int count, auto add) {
        for (int k = 0; k < count; ++k)
            add(2 * std::numbers::pi * k / count);
    });
}

// pi / 2 (c + k / quarter) for corner c of four and k up to `quarter`.
const std::vector<CosSin>& cornerTurns(int quarter)
{
    return keptTurns<128>(quarter, [](int q, auto add) {
        for (int c = 0; c < 4; ++c)
            for (int k = 0; k <= q; ++k)
                add(std::numbers::pi / 2 * (c + static_cast<double>(k) / q));
    });
}

Polygon rectanglePolygon(int64_t left, int64_t bottom, int64_t right, int64_t top)
{
    return {{saturatedUnits(left), saturatedUnits(bottom)},
            {saturatedUnits(right), saturatedUnits(bottom)},
            {saturatedUnits(right), saturatedUnits(top)},
            {saturatedUnits(left), saturatedUnits(top)}};
}

// Rectangle with quarter-circle corners of radius cornerRadius; half extents
// a (x) and b (y). Counter-clockwise.
Polygon roundedRectanglePolygon(Point centre, int64_t a, int64_t b, double cornerRadius)
{
    cornerRadius = std::clamp(cornerRadius, 0.0, static_cast<double>(std::min(a, b)));
    const int quarter = discSegments(cornerRadius) / 4;
    const double cx = centre.x, cy = centre.y;
    const double insetX = static_cast<double>(a) - cornerRadius;
    const double insetY = static_cast<double>(b) - cornerRadius;
    const double corners[4][2] = {{cx + insetX, cy + insetY},
                                  {cx - insetX, cy + insetY},
                                  {cx - insetX, cy - insetY},
                                  {cx + insetX, cy - insetY}};
    const CosSin* turn = cornerTurns(quarter).data();
    Polygon polygon;
    polygon.reserve(static_cast<size_t>(4 * (quarter + 1)));
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k <= quarter; ++k)
            polygon.push_back(pointAt(corners[c][0], corners[c][1], cornerRadius, *turn++));
    return polygon;
}

} // namespace

Region Region::fromNormalised(std::vector<Polygon> polygons)
{
    Region r;
    r.polygons_ = std::move(polygons);
    r.bounds_ = Rect{};
    bool first = true;
    for (const Polygon& polygon : r.polygons_)
        for (const Point& p : polygon) {
            if (first) {
                r.bounds_ = {p.x, p.y, p.x, p.y};
                first = false;
            }
            r.bounds_.left = std::min(r.bounds_.left, p.x);
            r.bounds_.right = std::max(r.bounds_.right, p.x);
            r.bounds_.top = std::min(r.bounds_.top, p.y);
            r.bounds_.bottom = std::max(r.bounds_.bottom, p.y);
        }
    r.convex_ = r.polygons_.size() == 1 && turnsLeftEverywhere(r.polygons_[0]);
    return r;
}

Region Region::combined(const Region& other, Operation op) const
{
    static constexpr ClipperLib::ClipType types[] = {ClipperLib::ctUnion, ClipperLib::ctIntersection,
                                                     ClipperLib::ctDifference, ClipperLib::ctXor};
    ClipperLib::Clipper clipper;
    clipper.AddPaths(toPaths(polygons_), ClipperLib::ptSubject, true);
    clipper.AddPaths(toPaths(other.polygons_), ClipperLib::ptClip, true);
    Paths out;
    clipper.Execute(types[static_cast<int>(op)], out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return fromNormalised(toPolygons(out));
}

std::vector<Region> Region::pieces() const
{
    if (polygons_.size() <= 1)
        return empty() ? std::vector<Region>{} : std::vector<Region>{*this};
    ClipperLib::Clipper clipper;
    clipper.AddPaths(toPaths(polygons_), ClipperLib::ptSubject, true);
    ClipperLib::PolyTree tree;
    clipper.Execute(ClipperLib::ctUnion, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    std::vector<Region> pieces;
    std::vector<const ClipperLib::PolyNode*> outers(tree.Childs.begin(), tree.Childs.end());
    while (!outers.empty()) {
        const ClipperLib::PolyNode* outer = outers.back();
        outers.pop_back();
        Paths rings{outer->Contour};
        for (const ClipperLib::PolyNode* hole : outer->Childs) {
            rings.push_back(hole->Contour);
            outers.insert(outers.end(), hole->Childs.begin(), hole->Childs.end());
        }
        pieces.push_back(fromNormalised(toPolygons(rings)));
    }
    return pieces;
}

Region Region::fromPolygon(std::span<const Point> polygon, Fill fill)
{
    // Outlines are mostly convex (capsules, pads, labels): those need no clipping.
    Polygon cleaned = withoutStraightCorners(Polygon(polygon.begin(), polygon.end()));
    if (convexAndSimple(cleaned)) {
        if (turn(cleaned[0], cleaned[1], cleaned[2]) < 0)
            std::reverse(cleaned.begin(), cleaned.end());
        return fromNormalised({std::move(cleaned)});
    }
    if (fill == Fill::NonZero)
        return fromPolygons({Polygon(polygon.begin(), polygon.end())});
    ClipperLib::Clipper clipper;
    clipper.AddPaths(toPaths({Polygon(polygon.begin(), polygon.end())}), ClipperLib::ptSubject, true);
    Paths out;
    clipper.Execute(ClipperLib::ctUnion, out, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    return fromNormalised(toPolygons(out));
}

Region Region::fromPolygons(const std::vector<Polygon>& polygons)
{
    ClipperLib::Clipper clipper;
    clipper.AddPaths(toPaths(polygons), ClipperLib::ptSubject, true);
    Paths out;
    clipper.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return fromNormalised(toPolygons(out));
}

Region Region::rectangle(const Rect& r)
{
    const Rect n = r.normalised();
    if (n.left == n.right || n.top == n.bottom)
        return {};
    return fromNormalised({rectanglePolygon(n.left, n.top, n.right, n.bottom)});
}

Region Region::disc(Point centre, int32_t radius)
{
    if (radius <= 0)
        return {};
    const int n = discSegments(radius);
    Polygon polygon;
    polygon.reserve(static_cast<size_t>(n));
    for (const CosSin& turn : discTurns(n))
        polygon.push_back(pointAt(centre.x, centre.y, radius, turn));
    return fromPolygon(polygon);
}

Region Region::united(const Region& other) const
{
    if (other.empty())
        return *this;
    if (empty())
        return other;
    return combined(other, Operation::Union);
}

Region Region::intersected(const Region& other) const
{
    if (empty() || other.empty() || !bounds_.overlaps(other.bounds_))
        return {};
    return combined(other, Operation::Intersection);
}

Region Region::subtracted(const Region& other) const
{
    if (empty() || other.empty() || !bounds_.overlaps(other.bounds_))
        return *this;
    return combined(other, Operation::Difference);
}

Region Region::xored(const Region& other) const
{
    if (other.empty())
        return *this;
    if (empty())
        return other;
    return combined(other, Operation::Xor);
}

double signedArea(std::span<const Point> ring)
{
    double twice = 0;
    for (size_t i = 0, n = ring.size(); i < n; ++i) {
        const Point& a = ring[i];
        const Point& b = ring[(i + 1) % n];
        twice += double(a.x) * b.y - double(b.x) * a.y;
    }
    return twice / 2;
}

double Region::area() const
{
    double sum = 0;
    for (const Polygon& p : polygons_)
        sum += ClipperLib::Area(toPath(p));
    return sum;
}

bool Region::contains(Point p) const
{
    if (empty() || p.x < bounds_.left || p.x > bounds_.right || p.y < bounds_.top || p.y > bounds_.bottom)
        return false;
    // Outer rings run counter-clockwise and holes clockwise, so the signed
    // count of rings around p is 1 inside and 0 outside. The edge counts as inside.
    const IntPoint ip(p.x, p.y);
    int winding = 0;
    for (const Polygon& polygon : polygons_) {
        const Path path = toPath(polygon);
        const int where = ClipperLib::PointInPolygon(ip, path);
        if (where < 0)
            return true;
        if (where > 0)
            winding += ClipperLib::Orientation(path) ? 1 : -1;
    }
    return winding > 0;
}

bool Region::overlaps(const Region& other) const
{
    if (empty() || other.empty() || !bounds_.overlaps(other.bounds_))
        return false;
    if (convex_ && other.convex_)
        return !separatedByEdgeOf(polygons_[0], other.polygons_[0]) &&
               !separatedByEdgeOf(other.polygons_[0], polygons_[0]);
    return clippedIntersectionHasArea(polygons_, other.polygons_);
}

Region Region::roundedRectangle(Point centre, int64_t halfX, int64_t halfY, double cornerRadius)
{
    if (halfX <= 0 || halfY <= 0)
        return {};
    return fromPolygon(roundedRectanglePolygon(centre, halfX, halfY, cornerRadius));
}

} // namespace kestrel
