#include "geometry/CapsuleOverlap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace kestrel {

namespace {

// Coordinates up to 2^29 keep every product below in exact doubles.
constexpr int32_t kQuickLimit = 1 << 29;
// The caps turn in whole degrees, so a corner may sit half a degree off the
// octagon's: the chord then comes within cos(22.75°) w of the centre, and
// rounding moves each corner by under 0.71 units.
constexpr double kInnerFactor = 0.92;
constexpr double kRounding = 1.0;
// Room for the rounding of the distance itself.
constexpr double kSlack = 0.01;

bool small(Point p) { return std::abs(p.x) < kQuickLimit && std::abs(p.y) < kQuickLimit; }

} // namespace

double pointSegmentDistanceSquared(Point p, Point a, Point b)
{
    const double abx = double(b.x) - a.x, aby = double(b.y) - a.y;
    const double apx = double(p.x) - a.x, apy = double(p.y) - a.y;
    const double length2 = abx * abx + aby * aby;
    double t = length2 > 0 ? (apx * abx + apy * aby) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = apx - t * abx, dy = apy - t * aby;
    return dx * dx + dy * dy;
}

namespace {

double pointSegmentDistance(Point p, Point a, Point b) { return std::sqrt(pointSegmentDistanceSquared(p, a, b)); }

// Sign of the cross product (b - a) x (c - a), exact for small coordinates.
int side(Point a, Point b, Point c)
{
    const int64_t cross = (int64_t{b.x} - a.x) * (int64_t{c.y} - a.y) - (int64_t{b.y} - a.y) * (int64_t{c.x} - a.x);
    return (cross > 0) - (cross < 0);
}

bool segmentsCross(Point a, Point b, Point c, Point d)
{
    const int s1 = side(a, b, c), s2 = side(a, b, d), s3 = side(c, d, a), s4 = side(c, d, b);
    return s1 * s2 < 0 && s3 * s4 < 0;
}

// Distance from the segment a-b to the rectangle, zero when they meet.
double segmentRectDistance(Point a, Point b, const Rect& r)
{
    if (r.left == r.right && r.top == r.bottom)
        return pointSegmentDistance({r.left, r.top}, a, b);
    auto inside = [&](Point p) { return r.left <= p.x && p.x <= r.right && r.top <= p.y && p.y <= r.bottom; };
    if (inside(a) || inside(b))
        return 0;
    const Point corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    double distance = segmentDistance(a, b, corners[3], corners[0]);
    for (int k = 0; k < 3; ++k)
        distance = std::min(distance, segmentDistance(a, b, corners[k], corners[k + 1]));
    return distance;
}

// An upper bound of the distance from the segment a-b to the arc: the exact
// distance from a few points of the segment (its ends, the foot of the
// centre and its crossings with the circle) and from the arc's ends.
double arcDistanceBound(Point a, Point b, const ArcBounds& arc)
{
    const double cx = arc.centre.x, cy = arc.centre.y, r = arc.radius;
    const double ax = a.x - cx, ay = a.y - cy, dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const bool whole = arc.span >= 2 * std::numbers::pi;
    double best = std::numeric_limits<double>::infinity();
    if (!whole) {
        for (double angle : {arc.from, arc.from + arc.span}) {
            const double ex = r * std::cos(angle), ey = r * std::sin(angle);
            const double length2 = dx * dx + dy * dy;
            const double t = length2 > 0 ? std::clamp(((ex - ax) * dx + (ey - ay) * dy) / length2, 0.0, 1.0) : 0;
            const double gx = ax + t * dx - ex, gy = ay + t * dy - ey;
            best = std::min(best, std::sqrt(gx * gx + gy * gy));
        }
    }
    // Within the arc's angles the distance to the arc is the distance to its circle.
    auto along = [&](double t) {
        const double px = ax + t * dx, py = ay + t * dy;
        const double distance = std::sqrt(px * px + py * py);
        if (!whole) {
            constexpr double kAngleSlack = 1e-9;
            constexpr double pi = std::numbers::pi;
            const double turn = std::remainder(std::atan2(py, px) - arc.from - pi, 2 * pi) + pi;
            if (!(turn > kAngleSlack && turn < arc.span - kAngleSlack))
                return;
        }
        best = std::min(best, std::abs(distance - r));
    };
    along(0);
    along(1);
    const double length2 = dx * dx + dy * dy;
    if (length2 > 0) {
        const double foot = -(ax * dx + ay * dy) / length2;
        if (foot > 0 && foot < 1)
            along(foot);
        // |a + t d|^2 = r^2
        const double half = (ax * dx + ay * dy) / length2;
        const double discriminant = half * half - (ax * ax + ay * ay - r * r) / length2;
        if (discriminant >= 0)
            for (double t : {-half - std::sqrt(discriminant), -half + std::sqrt(discriminant)})
                if (t >= 0 && t <= 1)
                    along(t);
    }
    return best;
}

// A reach of zero holds only the core itself, which has area or nothing.
bool innerBoundHolds(const FigureBounds& f)
{
    return f.innerReach > 0 ||
           (f.innerReach == 0 && f.innerCore.left < f.innerCore.right && f.innerCore.top < f.innerCore.bottom);
}

} // namespace

bool quickCapsule(const CapsuleShape& c)
{
    return c.halfWidth >= 4 && c.halfWidth < (1 << 24) && small(c.a) && small(c.b);
}

double segmentDistance(Point a, Point b, Point c, Point d)
{
    if (segmentsCross(a, b, c, d))
        return 0;
    // The root of the least square is the least root: one root, same result.
    return std::sqrt(std::min({pointSegmentDistanceSquared(a, c, d), pointSegmentDistanceSquared(b, c, d),
                               pointSegmentDistanceSquared(c, a, b), pointSegmentDistanceSquared(d, a, b)}));
}

QuickAnswer capsulesOverlap(const CapsuleShape& c, const CapsuleShape& d)
{
    const double distance = segmentDistance(c.a, c.b, d.a, d.b);
    const double inner = kInnerFactor * (double(c.halfWidth) + d.halfWidth) - 2 * kRounding;
    const double outer = double(c.halfWidth) + d.halfWidth + 2 * kRounding;
    if (distance < inner - kSlack)
        return QuickAnswer::Overlap;
    if (distance > outer + kSlack)
        return QuickAnswer::Apart;
    return QuickAnswer::Unsure;
}

QuickAnswer capsuleAgainstFigure(const CapsuleShape& c, const FigureBounds& f)
{
    const double inner = kInnerFactor * c.halfWidth - kRounding + f.innerReach;
    if (innerBoundHolds(f) && segmentRectDistance(c.a, c.b, f.innerCore) < inner - kSlack)
        return QuickAnswer::Overlap;
    const double outer = c.halfWidth + kRounding + f.outerReach;
    if (segmentRectDistance(c.a, c.b, f.outerCore) > outer + kSlack)
        return QuickAnswer::Apart;
    return QuickAnswer::Unsure;
}

QuickAnswer pointInFigure(Point p, const FigureBounds& f)
{
    const Rect& core = f.innerCore;
    const bool insideCore = core.left < p.x && p.x < core.right && core.top < p.y && p.y < core.bottom;
    if (innerBoundHolds(f) && (insideCore || segmentRectDistance(p, p, core) < f.innerReach - kSlack))
        return QuickAnswer::Overlap;
    if (segmentRectDistance(p, p, f.outerCore) > f.outerReach + kSlack)
        return QuickAnswer::Apart;
    return QuickAnswer::Unsure;
}

QuickAnswer capsuleAgainstArc(const CapsuleShape& c, const ArcBounds& arc)
{
    const double inner = kInnerFactor * c.halfWidth - kRounding;
    if (arc.capReach > 0)
        for (const Point& cap : arc.caps)
            if (pointSegmentDistance(cap, c.a, c.b) < inner + arc.capReach - kSlack)
                return QuickAnswer::Overlap;
    if (arc.span > 0 && arc.reach > 0 && arcDistanceBound(c.a, c.b, arc) < inner + arc.reach - kSlack)
        return QuickAnswer::Overlap;
    if (arc.inner >= 0 && arc.inner < arc.outer && capsuleOutsideRing(c, arc.centre, arc.inner, arc.outer))
        return QuickAnswer::Apart;
    return QuickAnswer::Unsure;
}

bool capsuleOutsideRing(const CapsuleShape& c, Point centre, int32_t inner, int32_t outer)
{
    if (!small(centre))
        return false;
    const double nearest = pointSegmentDistance(centre, c.a, c.b);
    auto distance = [&](Point p) {
        const double dx = double(p.x) - centre.x, dy = double(p.y) - centre.y;
        return std::sqrt(dx * dx + dy * dy);
    };
    const double farthest = std::max(distance(c.a), distance(c.b));
    const double reach = c.halfWidth + kRounding + kSlack;
    return nearest - reach > outer + 2 * kRounding || farthest + reach < inner - 2 * kRounding;
}

int windingNumber(std::span<const Point> polygon, Point p)
{
    int winding = 0;
    const size_t n = polygon.size();
    for (size_t i = 0; i < n; ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % n];
        if (a.y <= p.y) {
            if (b.y > p.y && side(a, b, p) > 0)
                ++winding;
        } else if (b.y <= p.y && side(a, b, p) < 0) {
            --winding;
        }
    }
    return winding;
}

} // namespace kestrel
