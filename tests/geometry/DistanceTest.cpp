#include "geometry/CapsuleOverlap.h"
#include "geometry/Distance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace kestrel {
namespace {

// Every corner of either region against every edge of the other.
double everyCornerAndEdge(const Region& a, const Region& b)
{
    double best = INFINITY;
    for (const Region* from : {&a, &b})
        for (const Polygon& p : from->polygons())
            for (const Region* to : {&a, &b})
                if (to != from)
                    for (const Polygon& q : to->polygons())
                        for (const Point& corner : p)
                            for (size_t i = 0; i < q.size(); ++i)
                                best = std::min(best,
                                                pointSegmentDistanceSquared(corner, q[i], q[(i + 1) % q.size()]));
    return std::sqrt(best);
}

Region randomShape(std::mt19937& rng, Point at)
{
    auto any = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
    switch (any(0, 3)) {
    case 0:
        return Region::disc(at, any(5, 120));
    case 1:
        return Region::roundedRectangle(at, any(5, 150), any(5, 150), any(0, 4) * 10);
    case 2: { // a ring: a hole and two outlines
        const int32_t r = any(40, 150);
        return Region::disc(at, r).subtracted(Region::disc({at.x + any(-5, 5), at.y}, r - any(10, 30)));
    }
    default: { // a jagged star, far from convex
        Polygon star;
        const int n = any(5, 12);
        for (int k = 0; k < 2 * n; ++k) {
            const double angle = 3.14159265358979 * k / n, radius = k % 2 ? any(10, 40) : any(60, 160);
            star.push_back({at.x + static_cast<int32_t>(radius * std::cos(angle)),
                            at.y + static_cast<int32_t>(radius * std::sin(angle))});
        }
        return Region::fromPolygon(star);
    }
    }
}

} // namespace

// The gap skips corners that cannot beat the best found so far; it must
// still be the smallest of all corner-to-edge distances below the limit,
// the limit at or beyond it, and 0 for shapes that overlap.
TEST(RegionGap, EqualsTheSmallestCornerToEdgeDistanceBelowTheLimit)
{
    std::mt19937 rng(11);
    int measured = 0, overlapping = 0;
    for (int round = 0; round < 3000; ++round) {
        const Region a = randomShape(rng, {0, 0});
        const Region b = randomShape(rng, {static_cast<int32_t>(rng() % 500), static_cast<int32_t>(rng() % 500) - 250});
        const double limit = 1 + rng() % 200;
        const double gap = regionGap(a, b, limit);
        if (a.overlaps(b)) {
            ++overlapping;
            EXPECT_EQ(gap, 0) << "round " << round;
            continue;
        }
        const double expected = everyCornerAndEdge(a, b);
        measured += expected < limit;
        EXPECT_EQ(gap, std::min(expected, limit)) << "round " << round;
    }
    EXPECT_GT(measured, 500);
    EXPECT_GT(overlapping, 300);
}

} // namespace kestrel
