#include "geometry/CapsuleOverlap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

double pointSegmentDistance(Point p, Point a, Point b)
{
    const double abx = double(b.x) - a.x, aby = double(b.y) - a.y;
    const double apx = double(p.x) - a.x, apy = double(p.y) - a.y;
    const double length2 = abx * abx + aby * aby;
    double t = length2 > 0 ? (apx * abx + apy * aby) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = apx - t * abx, dy = apy - t * aby;
    return std::sqrt(dx * dx + dy * dy);
}

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

} // namespace

bool quickCapsule(const CapsuleShape& c)
{
    return c.halfWidth >= 4 && c.halfWidth < (1 << 24) && small(c.a) && small(c.b);
}

double segmentDistance(Point a, Point b, Point c, Point d)
{
    if (segmentsCross(a, b, c, d))
        return 0;
    return std::min({pointSegmentDistance(a, c, d), pointSegmentDistance(b, c, d), pointSegmentDistance(c, a, b),
                     pointSegmentDistance(d, a, b)});
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

bool capsuleOutsideRing(const CapsuleShape& c, Point centre, int32_t inner, int32_t outer)
{
    if (!small(centre))
        return false;
    const double nearest = pointSegmentDistance(centre, c.a, c.b);
    auto distance = [&](Point p) { return std::hypot(double(p.x) - centre.x, double(p.y) - centre.y); };
    const double farthest = std::max(distance(c.a), distance(c.b));
    const double reach = c.halfWidth + kRounding + kSlack;
    return nearest - reach > outer + 2 * kRounding || farthest + reach < inner - 2 * kRounding;
}

int windingNumber(const std::vector<Point>& polygon, Point p)
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
