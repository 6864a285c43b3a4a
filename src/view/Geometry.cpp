#include "view/Geometry.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace kestrel {

namespace {

using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

// Intermediate sums are kept in 64 bits so that odd values read from a file
// (huge radii, far-off points) saturate instead of wrapping.
int32_t toUnits(int64_t v)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t toUnits(double v)
{
    if (!(v == v))
        return 0;
    return toUnits(static_cast<int64_t>(std::clamp(std::nearbyint(v), -4e18, 4e18)));
}

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

double radians(double degrees) { return degrees / 180.0 * std::numbers::pi; }

// Cross product of (a - o) and (b - o); positive for a left turn. 128 bits,
// as coordinate differences can take 33 bits.
__int128 turn(const Point& o, const Point& a, const Point& b)
{
    return static_cast<__int128>(static_cast<int64_t>(a.x) - o.x) * (static_cast<int64_t>(b.y) - o.y) -
           static_cast<__int128>(static_cast<int64_t>(a.y) - o.y) * (static_cast<int64_t>(b.x) - o.x);
}

// Drops repeated points and points in line with their neighbours.
Polygon withoutStraightCorners(Polygon polygon)
{
    bool changed = true;
    while (changed && polygon.size() >= 3) {
        changed = false;
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

Point pointAt(double cx, double cy, double radius, double angleRadians)
{
    return {toUnits(cx + radius * std::cos(angleRadians)), toUnits(cy + radius * std::sin(angleRadians))};
}

// Whole-degree point on a radius, rounded like ArcPoint.
Point pointOnRadius(Point centre, int32_t angleDegrees, int64_t radius)
{
    const double a = radians(angleDegrees);
    return {toUnits(static_cast<int64_t>(centre.x) + roundEven64(std::cos(a) * static_cast<double>(radius))),
            toUnits(static_cast<int64_t>(centre.y) + roundEven64(std::sin(a) * static_cast<double>(radius)))};
}

// Rectangle with quarter-circle corners of radius cornerRadius; half extents
// a (x) and b (y). Counter-clockwise.
Polygon roundedRectangle(Point centre, int64_t a, int64_t b, double cornerRadius)
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
    Polygon polygon;
    polygon.reserve(static_cast<size_t>(4 * (quarter + 1)));
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k <= quarter; ++k) {
            const double angle = std::numbers::pi / 2 * (c + static_cast<double>(k) / quarter);
            polygon.push_back(pointAt(corners[c][0], corners[c][1], cornerRadius, angle));
        }
    return polygon;
}

Polygon rectanglePolygon(int64_t left, int64_t bottom, int64_t right, int64_t top)
{
    return {{toUnits(left), toUnits(bottom)},
            {toUnits(right), toUnits(bottom)},
            {toUnits(right), toUnits(top)},
            {toUnits(left), toUnits(top)}};
}

Region padRegion(const LayoutObject& o)
{
    const Point c{o.X1, o.Y1};
    const int64_t r = o.X2;
    if (r <= 0)
        return {};
    const double cornerRadius = roundEven64(1.5 * static_cast<double>(r)) / 2.0;
    switch (o.Shape) {
    case 1: // round
    case 2: // octagon: its outline is the circle
        return Region::disc(c, o.X2);
    case 3:
        return Region::fromPolygon(rectanglePolygon(c.x - r, c.y - r, c.x + r, c.y + r));
    case 4:
    case 5:
        return Region::fromPolygon(roundedRectangle(c, 2 * r, r, cornerRadius));
    case 6:
        return Region::fromPolygon(rectanglePolygon(c.x - 2 * r, c.y - r, c.x + 2 * r, c.y + r));
    case 7:
    case 8:
        return Region::fromPolygon(roundedRectangle(c, r, 2 * r, cornerRadius));
    case 9:
        return Region::fromPolygon(rectanglePolygon(c.x - r, c.y - 2 * r, c.x + r, c.y + 2 * r));
    default: // an unknown shape draws only its hole
        return Region::disc(c, o.Y2);
    }
}

Region capsule(const LayoutObject& o, Point p1, Point p2)
{
    const auto outline = SegmentOutline(o, p1, p2);
    return Region::fromPolygon(Polygon(outline.begin(), outline.end()));
}

void addPart(Region part, std::vector<Region>& parts)
{
    if (!part.empty())
        parts.push_back(std::move(part));
}

void addPointListParts(const LayoutObject& o, std::vector<Region>& parts)
{
    if (o.Points.size() < 2)
        return;
    for (size_t i = 0; i + 1 < o.Points.size(); ++i)
        addPart(capsule(o, o.Points[i], o.Points[i + 1]), parts);
    if (o.is(ObjectKind::Zone) && o.Points.size() > 2) {
        // The zone is drawn as a closed polygon, so its closing edge carries
        // the wide outline too.
        addPart(capsule(o, o.Points.back(), o.Points.front()), parts);
        addPart(Region::fromPolygon(o.Points), parts);
    }
}

Region circleRegion(const LayoutObject& o)
{
    const Point c{o.X1, o.Y1};
    Region region = Region::disc(c, o.X2);
    if (!o.Filled) {
        int64_t inner = o.Y2;
        if (o.Y2 >= o.X2)
            inner += 10;
        region = region.xored(Region::disc(c, toUnits(inner)));
    }
    const int32_t start = o.Angle;
    const int32_t stop = o.Width;
    if (start == stop)
        return region;

    const int64_t halfWidth = (static_cast<int64_t>(o.X2) - o.Y2) / 2;
    const int64_t rm = halfWidth + o.Y2;
    const int64_t far = 2 * static_cast<int64_t>(o.X2);
    const int32_t d = static_cast<int32_t>(((static_cast<int64_t>(stop) - start) % 360 + 360) % 360);
    // In 64 bits: a start angle read from a file may lie anywhere.
    const int64_t middle64 = d < 181 ? static_cast<int64_t>(start) + d / 2 : static_cast<int64_t>(start) - (360 - d) / 2;
    const auto middle = static_cast<int32_t>(middle64 % 360);
    const Polygon wedge = {pointOnRadius(c, start, rm), pointOnRadius(c, start, far), pointOnRadius(c, middle, far),
                           pointOnRadius(c, stop, far), pointOnRadius(c, stop, rm)};
    region = d < 181 ? region.intersected(Region::fromPolygon(wedge)) : region.subtracted(Region::fromPolygon(wedge));

    const int32_t endRadius = toUnits(halfWidth);
    return region.united(Region::disc(pointOnRadius(c, start, rm), endRadius))
        .united(Region::disc(pointOnRadius(c, stop, rm), endRadius));
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

Region Region::fromPolygon(const Polygon& polygon)
{
    // Outlines are mostly convex (capsules, pads, labels): those need no clipping.
    Polygon cleaned = withoutStraightCorners(polygon);
    if (convexAndSimple(cleaned)) {
        if (turn(cleaned[0], cleaned[1], cleaned[2]) < 0)
            std::reverse(cleaned.begin(), cleaned.end());
        return fromNormalised({std::move(cleaned)});
    }
    return fromPolygons({polygon});
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
    for (int k = 0; k < n; ++k)
        polygon.push_back(pointAt(centre.x, centre.y, radius, 2 * std::numbers::pi * k / n));
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

std::array<Point, 10> SegmentOutline(const LayoutObject& o, Point p1, Point p2)
{
    int64_t w = o.Width / 2;
    if (w == 0 && !o.is(ObjectKind::Zone))
        w = 20;
    const int64_t x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y;
    const double dx = static_cast<double>(x2 - x1);
    double dy = static_cast<double>(y2 - y1);
    if (p1 == p2)
        dy = 1;
    const double len = std::sqrt(dx * dx + dy * dy);
    const int64_t ox = roundEven64(static_cast<double>(w) * dy / len);
    const int64_t oy = roundEven64(static_cast<double>(w) * dx / len);

    int64_t t;
    if (dx != 0) {
        t = roundEven64(std::atan(dy / dx) * 180.0 / std::numbers::pi);
        if (dx > 0)
            t += 180;
        if (t < 0)
            t += 360;
    } else {
        t = dy < 0 ? 90 : 270;
    }
    int64_t s[3], c[3];
    for (int k = 0; k < 3; ++k) {
        const double a = radians(static_cast<double>(t + 45 * (k + 1)));
        s[k] = roundEven64(std::sin(a) * static_cast<double>(w));
        c[k] = roundEven64(std::cos(a) * static_cast<double>(w));
    }
    auto pt = [](int64_t x, int64_t y) { return Point{toUnits(x), toUnits(y)}; };
    return {pt(x1 - ox, y1 + oy),     pt(x1 + s[0], y1 - c[0]), pt(x1 + s[1], y1 - c[1]),
            pt(x1 + s[2], y1 - c[2]), pt(x1 + ox, y1 - oy),     pt(x2 + ox, y2 - oy),
            pt(x2 - s[0], y2 + c[0]), pt(x2 - s[1], y2 + c[1]), pt(x2 - s[2], y2 + c[2]),
            pt(x2 - ox, y2 + oy)};
}

Point ArcPoint(const LayoutObject& circle, int32_t angleDegrees)
{
    return pointOnRadius({circle.X1, circle.Y1}, angleDegrees, circle.X2);
}

int CornerAt(const LayoutObject& o, Point p)
{
    if (!o.hasPoints())
        return -1;
    const int64_t r = std::max<int64_t>(o.Width / 2, 20);
    int hit = -1;
    for (size_t k = 0; k < o.Points.size(); ++k) {
        const Point& c = o.Points[k];
        if (c.x - r <= p.x && p.x < c.x + r && c.y - r <= p.y && p.y < c.y + r)
            hit = static_cast<int>(k);
    }
    return hit;
}

std::vector<Region> OutlineParts(const LayoutObject& o)
{
    std::vector<Region> parts;
    switch (o.kind()) {
    case ObjectKind::Line:
        addPart(capsule(o, {o.X1, o.Y1}, {o.X2, o.Y2}), parts);
        break;
    case ObjectKind::Pad:
        addPart(padRegion(o), parts);
        break;
    case ObjectKind::Text:
        addPart(Region::rectangle({o.X1, o.Y1, o.X2, o.Y2}), parts);
        break;
    case ObjectKind::Zone:
    case ObjectKind::Track:
        addPointListParts(o, parts);
        break;
    case ObjectKind::Circle:
        addPart(circleRegion(o), parts);
        break;
    }
    return parts;
}

Region ObjectRegion(const LayoutObject& o)
{
    std::vector<Region> parts = OutlineParts(o);
    if (parts.size() == 1)
        return std::move(parts[0]);
    // Every part is normalised (winding 1 inside, 0 outside), so filling all
    // their rings together by the non-zero rule gives exactly their union.
    std::vector<Polygon> rings;
    for (Region& part : parts)
        rings.insert(rings.end(), part.polygons().begin(), part.polygons().end());
    return Region::fromPolygons(rings);
}

Rect OutlineBounds(const LayoutObject& o)
{
    // One unit of slack everywhere for vertices rounded to whole units.
    auto around = [](int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t by) {
        return Rect{toUnits(std::min(left, right) - by - 1), toUnits(std::min(top, bottom) - by - 1),
                    toUnits(std::max(left, right) + by + 1), toUnits(std::max(top, bottom) + by + 1)};
    };
    int64_t halfWidth = std::abs(static_cast<int64_t>(o.Width / 2));
    if (halfWidth == 0)
        halfWidth = 20;
    switch (o.kind()) {
    case ObjectKind::Line:
        return around(o.X1, o.Y1, o.X2, o.Y2, halfWidth);
    case ObjectKind::Pad: {
        const int64_t r = std::abs(static_cast<int64_t>(o.X2));
        if (o.Shape >= 1 && o.Shape <= 3)
            return around(o.X1, o.Y1, o.X1, o.Y1, r);
        if (o.Shape >= 4 && o.Shape <= 6)
            return around(o.X1 - 2 * r, o.Y1 - r, o.X1 + 2 * r, o.Y1 + r, 0);
        if (o.Shape >= 7 && o.Shape <= 9)
            return around(o.X1 - r, o.Y1 - 2 * r, o.X1 + r, o.Y1 + 2 * r, 0);
        return around(o.X1, o.Y1, o.X1, o.Y1, std::abs(static_cast<int64_t>(o.Y2)));
    }
    case ObjectKind::Text:
        return around(o.X1, o.Y1, o.X2, o.Y2, 0);
    case ObjectKind::Zone:
    case ObjectKind::Track: {
        if (o.Points.empty())
            return {};
        int64_t left = o.Points[0].x, right = left, top = o.Points[0].y, bottom = top;
        for (const Point& p : o.Points) {
            left = std::min<int64_t>(left, p.x);
            right = std::max<int64_t>(right, p.x);
            top = std::min<int64_t>(top, p.y);
            bottom = std::max<int64_t>(bottom, p.y);
        }
        return around(left, top, right, bottom, halfWidth);
    }
    case ObjectKind::Circle: {
        const int64_t outer = o.X2, inner = o.Y2;
        // A widened inner disc or end caps of odd radii can reach past X2.
        const int64_t r = (inner >= 0 && inner < outer) ? outer : std::abs(outer) + std::abs(inner) + 10;
        return around(o.X1, o.Y1, o.X1, o.Y1, r);
    }
    }
    return {};
}

} // namespace kestrel
