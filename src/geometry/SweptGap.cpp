#include "geometry/SweptGap.h"

#include "geometry/CapsuleOverlap.h"
#include "geometry/Distance.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <utility>

namespace kestrel {

namespace {

constexpr double kPi = std::numbers::pi;

struct Vec {
    double x = 0, y = 0;
};

Vec toVec(Point p) { return {double(p.x), double(p.y)}; }

double distance(Vec p, Vec q) { return std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y)); }

double pointSegmentDistance(Vec p, Vec a, Vec b)
{
    const double abx = b.x - a.x, aby = b.y - a.y, apx = p.x - a.x, apy = p.y - a.y;
    const double length2 = abx * abx + aby * aby;
    const double t = length2 > 0 ? std::clamp((apx * abx + apy * aby) / length2, 0.0, 1.0) : 0;
    const double dx = apx - t * abx, dy = apy - t * aby;
    return std::sqrt(dx * dx + dy * dy);
}

// An axis-aligned box in doubles, for pruning edges that cannot come nearer.
struct Box {
    double minX, minY, maxX, maxY;

    static Box of(Vec a, Vec b)
    {
        return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    }
    void add(Vec p)
    {
        minX = std::min(minX, p.x), minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
    }
    double gap(const Box& o) const
    {
        const double dx = std::max({0.0, o.minX - maxX, minX - o.maxX});
        const double dy = std::max({0.0, o.minY - maxY, minY - o.maxY});
        return std::sqrt(dx * dx + dy * dy);
    }
    // The smallest whole-unit rectangle holding the box grown by reach.
    Rect outward(double reach) const
    {
        // Saturated: a shape within its reach of the coordinate limits.
        const auto units = [](double v) {
            return static_cast<int32_t>(std::clamp(v, double(INT32_MIN), double(INT32_MAX)));
        };
        return {units(std::floor(minX - reach)), units(std::floor(minY - reach)), units(std::ceil(maxX + reach)),
                units(std::ceil(maxY + reach))};
    }
};

// An arc turned to a non-negative span; the ends of a whole circle are never used.
struct Arc {
    Vec centre;
    double radius, from, span;
    bool whole;
    Vec ends[2];

    explicit Arc(const SweptShape& s)
        : centre(toVec(s.centre)), radius(s.radius), from(s.span < 0 ? s.from + s.span : s.from),
          span(std::abs(s.span)), whole(span >= 2 * kPi), ends{at(from), at(from + span)}
    {
    }

    Vec at(double angle) const { return {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)}; }

    // Whether the direction `angle` from the centre falls within the arc.
    bool holds(double angle) const
    {
        if (whole)
            return true;
        double turn = std::fmod(angle - from, 2 * kPi);
        if (turn < 0)
            turn += 2 * kPi;
        return turn <= span;
    }
    bool holdsPoint(Vec p) const { return holds(std::atan2(p.y - centre.y, p.x - centre.x)); }

    // The ends and every axis extreme of the circle within the arc.
    Box box() const
    {
        Box box = Box::of(ends[0], ends[1]);
        for (int quarter = 0; quarter < 4; ++quarter)
            if (holds(quarter * kPi / 2))
                box.add(at(quarter * kPi / 2));
        return box;
    }
};

double pointArcDistance(Vec p, const Arc& arc)
{
    const double d = distance(p, arc.centre);
    if (d == 0)
        return arc.radius;
    // Within the arc's angles the nearest point is on the ray through p;
    // outside them the distance grows with the angle, so an end is nearest.
    if (arc.holdsPoint(p))
        return std::abs(d - arc.radius);
    return std::min(distance(p, arc.ends[0]), distance(p, arc.ends[1]));
}

// The nearest pair has a segment end, an arc end, a crossing, or else a
// segment point whose distance to the circle is least: the foot of the centre.
double segmentArcDistance(Vec a, Vec b, const Arc& arc)
{
    double best = std::min(pointArcDistance(a, arc), pointArcDistance(b, arc));
    if (!arc.whole)
        for (const Vec& end : arc.ends)
            best = std::min(best, pointSegmentDistance(end, a, b));
    const double ax = a.x - arc.centre.x, ay = a.y - arc.centre.y, dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    if (length2 == 0)
        return best;
    const double foot = -(ax * dx + ay * dy) / length2;
    if (foot > 0 && foot < 1)
        best = std::min(best, pointArcDistance({a.x + foot * dx, a.y + foot * dy}, arc));
    // The line's crossings with the circle lie half a chord either side of the foot.
    const double length = std::sqrt(length2);
    const double lineDistance = std::abs(ax * dy - ay * dx) / length;
    if (lineDistance <= arc.radius) {
        const double half = std::sqrt((arc.radius - lineDistance) * (arc.radius + lineDistance)) / length;
        for (double t : {foot - half, foot + half})
            if (t >= 0 && t <= 1 && arc.holdsPoint({a.x + t * dx, a.y + t * dy}))
                return 0;
    }
    return best;
}

// The nearest pair has an end of either arc, a crossing, or else both points
// where their circles meet the line through both centres: only there are
// both circles' normals the same line.
double arcArcDistance(const Arc& p, const Arc& q)
{
    double best = std::numeric_limits<double>::infinity();
    for (const auto& [one, other] : {std::pair{&p, &q}, std::pair{&q, &p}})
        if (!one->whole)
            for (const Vec& end : one->ends)
                best = std::min(best, pointArcDistance(end, *other));
    const double dx = q.centre.x - p.centre.x, dy = q.centre.y - p.centre.y;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d == 0) {
        // Concentric: along any direction both arcs hold, they are the radii's difference apart.
        if (p.whole || q.whole || p.holds(q.from) || q.holds(p.from))
            best = std::min(best, std::abs(p.radius - q.radius));
        return best;
    }
    const double along = (d * d + p.radius * p.radius - q.radius * q.radius) / (2 * d);
    const double across2 = p.radius * p.radius - along * along;
    if (across2 >= 0) {
        const double across = std::sqrt(across2), ux = dx / d, uy = dy / d;
        for (double side : {-across, across}) {
            const Vec meet{p.centre.x + along * ux - side * uy, p.centre.y + along * uy + side * ux};
            if (p.holdsPoint(meet) && q.holdsPoint(meet))
                return 0;
        }
    }
    const double direction = std::atan2(dy, dx);
    for (double angle : {direction, direction + kPi}) {
        if (p.holds(angle))
            best = std::min(best, pointArcDistance(p.at(angle), q));
        if (q.holds(angle))
            best = std::min(best, pointArcDistance(q.at(angle), p));
    }
    return best;
}

// Inside by the non-zero rule, for a point that need not be whole units;
// on an edge either answer may come, and the edge's distance is then 0 anyway.
bool regionHolds(const Region& area, Vec p)
{
    int winding = 0;
    for (const Polygon& polygon : area.polygons())
        for (size_t i = 0, n = polygon.size(); i < n; ++i) {
            const Vec a = toVec(polygon[i]), b = toVec(polygon[(i + 1) % n]);
            const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
            if (a.y <= p.y) {
                if (b.y > p.y && cross > 0)
                    ++winding;
            } else if (b.y <= p.y && cross < 0) {
                --winding;
            }
        }
    return winding > 0;
}

// A core outside a region meets it exactly when it crosses an edge, and is
// otherwise as far from it as from its nearest edge. Only edges whose boxes
// lie nearer than the best so far (starting at `limit`) are measured.
template<typename EdgeDistance>
double edgesDistance(const Region& area, const Box& core, double limit, EdgeDistance&& edgeDistance)
{
    double best = limit;
    for (const Polygon& polygon : area.polygons())
        for (size_t i = 0, n = polygon.size(); i < n; ++i) {
            const Point& e0 = polygon[i];
            const Point& e1 = polygon[(i + 1) % n];
            if (Box::of(toVec(e0), toVec(e1)).gap(core) >= best)
                continue;
            best = std::min(best, edgeDistance(e0, e1));
            if (best == 0)
                return 0;
        }
    return best;
}

double segmentAreaDistance(Point a, Point b, const Region& area, double limit)
{
    if (area.contains(a))
        return 0;
    return edgesDistance(area, Box::of(toVec(a), toVec(b)), limit,
                         [&](Point e0, Point e1) { return segmentDistance(a, b, e0, e1); });
}

double arcAreaDistance(const Arc& arc, const Region& area, double limit)
{
    if (regionHolds(area, arc.ends[0]))
        return 0;
    return edgesDistance(area, arc.box(), limit,
                         [&](Point e0, Point e1) { return segmentArcDistance(toVec(e0), toVec(e1), arc); });
}

// An arc without a radius is the point at its centre.
SweptShape normalised(const SweptShape& s)
{
    if (s.core != SweptShape::Core::Arc || s.radius > 0)
        return s;
    SweptShape point = s;
    point.core = SweptShape::Core::Segment;
    point.a = point.b = s.centre;
    return point;
}

// Distance between the cores as point sets, regions with their insides;
// exact below `limit`, and `limit` or more otherwise.
double coreDistance(const SweptShape& s, const SweptShape& t, double limit)
{
    using Core = SweptShape::Core;
    if (s.core > t.core)
        return coreDistance(t, s, limit);
    for (const SweptShape* shape : {&s, &t})
        if (shape->core == Core::Area && (!shape->area || shape->area->empty()))
            return limit;
    if (t.core == Core::Area) {
        switch (s.core) {
        case Core::Segment:
            return segmentAreaDistance(s.a, s.b, *t.area, limit);
        case Core::Arc:
            return arcAreaDistance(Arc(s), *t.area, limit);
        case Core::Area:
            // Overlap, containment included, is an intersection with area.
            return regionGap(*s.area, *t.area, limit);
        }
    }
    if (t.core == Core::Arc && s.core == Core::Arc)
        return arcArcDistance(Arc(s), Arc(t));
    if (t.core == Core::Arc)
        return segmentArcDistance(toVec(s.a), toVec(s.b), Arc(t));
    return segmentDistance(s.a, s.b, t.a, t.b);
}

} // namespace

Rect SweptShape::bounds() const
{
    const SweptShape s = normalised(*this);
    switch (s.core) {
    case Core::Segment:
        return Box::of(toVec(s.a), toVec(s.b)).outward(reach);
    case Core::Arc:
        return Arc(s).box().outward(reach);
    case Core::Area:
        break;
    }
    if (!area || area->empty())
        return {};
    const Rect r = area->bounds();
    return Box{double(r.left), double(r.top), double(r.right), double(r.bottom)}.outward(reach);
}

double sweptGap(const SweptShape& s, const SweptShape& t, double limit)
{
    if (rectGap(s.bounds(), t.bounds()) >= limit)
        return limit;
    const double reach = s.reach + t.reach;
    const double core = coreDistance(normalised(s), normalised(t), limit + reach);
    // Taking the reach off again might round to just below the limit.
    if (core >= limit + reach)
        return limit;
    return std::max(0.0, core - reach);
}

} // namespace kestrel
