#include "geometry/SweptGap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace kestrel {
namespace {

using Core = SweptShape::Core;
constexpr double kPi = std::numbers::pi;

struct Spot {
    double x, y;
};

SweptShape segment(Point a, Point b, double reach)
{
    SweptShape s;
    s.a = a, s.b = b, s.reach = reach;
    return s;
}

SweptShape arc(Point centre, double radius, double from, double span, double reach = 0)
{
    SweptShape s;
    s.core = Core::Arc;
    s.centre = centre, s.radius = radius, s.from = from, s.span = span, s.reach = reach;
    return s;
}

SweptShape area(const Region& region, double reach = 0)
{
    SweptShape s;
    s.core = Core::Area;
    s.area = &region, s.reach = reach;
    return s;
}

// Points along the core no more than `spacing` apart; a region gives its outlines.
std::vector<Spot> coreSamples(const SweptShape& s, double spacing)
{
    std::vector<Spot> spots;
    auto line = [&](Point a, Point b) {
        const int n = std::max(1, int(std::ceil(std::hypot(b.x - a.x, b.y - a.y) / spacing)));
        for (int k = 0; k <= n; ++k)
            spots.push_back({a.x + (b.x - a.x) * double(k) / n, a.y + (b.y - a.y) * double(k) / n});
    };
    if (s.core == Core::Segment) {
        line(s.a, s.b);
    } else if (s.core == Core::Arc) {
        const double sweep = std::min(s.span, 2 * kPi);
        const int n = std::max(1, int(std::ceil(s.radius * sweep / spacing)));
        for (int k = 0; k <= n; ++k) {
            const double angle = s.from + sweep * k / n;
            spots.push_back({s.centre.x + s.radius * std::cos(angle), s.centre.y + s.radius * std::sin(angle)});
        }
    } else {
        for (const Polygon& polygon : s.area->polygons())
            for (size_t i = 0; i < polygon.size(); ++i)
                line(polygon[i], polygon[(i + 1) % polygon.size()]);
    }
    return spots;
}

// Even-odd ray casting; the rings of a region never cross, so this is its fill.
bool insideRegion(const Region& region, Spot p)
{
    bool inside = false;
    for (const Polygon& polygon : region.polygons())
        for (size_t i = 0, n = polygon.size(); i < n; ++i) {
            const Point a = polygon[i], b = polygon[(i + 1) % n];
            if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / double(b.y - a.y))
                inside = !inside;
        }
    return inside;
}

// The least distance between sampled core points, 0 when a sample of one
// lies inside the other's region. Every sample is a true core point, so it
// is never below the true distance and at most `spacing` above it.
double sampledCoreDistance(const SweptShape& s, const SweptShape& t, double spacing)
{
    const std::vector<Spot> ps = coreSamples(s, spacing), pt = coreSamples(t, spacing);
    for (const auto& [shape, others] : {std::pair{&s, &pt}, std::pair{&t, &ps}})
        if (shape->core == Core::Area)
            for (const Spot& p : *others)
                if (insideRegion(*shape->area, p))
                    return 0;
    double best2 = INFINITY;
    for (const Spot& p : ps)
        for (const Spot& q : pt)
            best2 = std::min(best2, (p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y));
    return std::sqrt(best2);
}

Region randomRegion(std::mt19937& rng, Point at)
{
    auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    switch (any(0, 1)) {
    case 0: { // convex, a few random corners on a circle
        std::vector<double> angles(size_t(any(3, 8)));
        for (double& angle : angles)
            angle = std::uniform_real_distribution<double>(0, 2 * kPi)(rng);
        std::sort(angles.begin(), angles.end());
        const double radius = any(20, 180);
        Polygon polygon;
        for (double angle : angles)
            polygon.push_back({at.x + int32_t(radius * std::cos(angle)), at.y + int32_t(radius * std::sin(angle))});
        return Region::fromPolygon(polygon);
    }
    default: { // a ring, not convex, with a hole that other shapes can sit in
        const int32_t r = any(60, 200);
        return Region::disc(at, r).subtracted(Region::disc({at.x + any(-10, 10), at.y}, r - any(15, 40)));
    }
    }
}

SweptShape randomShape(std::mt19937& rng, Core core, Region& keep)
{
    auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const Point at{any(-200, 200), any(-200, 200)};
    const double reach = any(0, 60) / 2.0;
    switch (core) {
    case Core::Segment: {
        const Point b = any(0, 9) == 0 ? at : Point{at.x + any(-300, 300), at.y + any(-300, 300)};
        return segment(at, b, reach);
    }
    case Core::Arc: {
        // Starts of any sign and past a whole turn: angles near the half turn wrap round.
        const double from = std::uniform_real_distribution<double>(-3 * kPi, 3 * kPi)(rng);
        const double span = any(0, 6) == 0 ? 2 * kPi + any(0, 1) : std::uniform_real_distribution<double>(0.02, 6.2)(rng);
        return arc(at, std::uniform_real_distribution<double>(10, 220)(rng), from, span, reach);
    }
    case Core::Area:
        do // a few random corners can all lie on one line
            keep = randomRegion(rng, at);
        while (keep.empty());
        return area(keep, any(0, 1) ? 0 : reach);
    }
    return {};
}

} // namespace

// Against dense sampling: never more than a true pair of points apart, never
// less than the sampled pairs allow; symmetric; cut only at the limit; and
// within its bounds.
TEST(SweptGap, MatchesDenseSamplingForEveryPairOfCores)
{
    constexpr double kSpacing = 1.0;
    std::mt19937 rng(2026);
    const Core cores[] = {Core::Segment, Core::Arc, Core::Area};
    for (Core first : cores)
        for (Core second : cores) {
            int touching = 0, apart = 0;
            for (int round = 0; round < 200; ++round) {
                Region keepS, keepT;
                const SweptShape s = randomShape(rng, first, keepS), t = randomShape(rng, second, keepT);
                SCOPED_TRACE(testing::Message() << "cores " << int(first) << "," << int(second) << " round " << round);
                const double gap = sweptGap(s, t, 1e9);
                const double sampled = std::max(0.0, sampledCoreDistance(s, t, kSpacing) - s.reach - t.reach);
                EXPECT_LE(gap, sampled + 1e-6);
                EXPECT_GE(gap, sampled - kSpacing - 1e-6);
                (gap == 0 ? touching : apart)++;
                EXPECT_NEAR(sweptGap(t, s, 1e9), gap, 1e-9);

                const double limit = std::uniform_real_distribution<double>(0, 150)(rng);
                if (gap < limit)
                    EXPECT_EQ(sweptGap(s, t, limit), gap) << "limit " << limit;
                else
                    EXPECT_GE(sweptGap(s, t, limit), limit);

                const Rect bounds = s.bounds();
                for (const Spot& p : coreSamples(s, kSpacing * 4))
                    ASSERT_TRUE(bounds.left <= p.x - s.reach && p.x + s.reach <= bounds.right &&
                                bounds.top <= p.y - s.reach && p.y + s.reach <= bounds.bottom)
                        << "bounds miss " << p.x << "," << p.y;
            }
            // Both outcomes must be well represented for the comparison to mean much.
            EXPECT_GE(touching, 10) << int(first) << " " << int(second);
            EXPECT_GE(apart, 20) << int(first) << " " << int(second);
        }
}

TEST(SweptGap, ConcentricArcs)
{
    const SweptShape quarter = arc({0, 0}, 100, 0, kPi / 2, 5);
    // Spans sharing the directions from pi/4 to pi/2: the radii's difference.
    EXPECT_NEAR(sweptGap(quarter, arc({0, 0}, 130, kPi / 4, 3 * kPi / 4, 5), 1000), 20, 1e-9);
    EXPECT_NEAR(sweptGap(quarter, arc({0, 0}, 130, 0, 2 * kPi), 1000), 25, 1e-9);
    EXPECT_EQ(sweptGap(quarter, arc({0, 0}, 100, kPi / 3, 1), 1000), 0);
    // Spans apart in angle: (0, 100) to (-130, 0) and (100, 0) to (0, -130).
    EXPECT_NEAR(sweptGap(quarter, arc({0, 0}, 130, kPi, kPi / 2, 5), 1000), std::sqrt(130.0 * 130 + 100 * 100) - 10,
                1e-9);
}

TEST(SweptGap, ShapesInsideARegionOrItsHole)
{
    const Region square = Region::rectangle({0, 0, 1000, 1000});
    EXPECT_EQ(sweptGap(area(square), segment({500, 500}, {500, 500}, 10), 1000), 0);
    EXPECT_EQ(sweptGap(area(square), arc({500, 500}, 100, 0, 2 * kPi, 3), 1000), 0);
    const Region inner = Region::rectangle({300, 300, 700, 700});
    EXPECT_EQ(sweptGap(area(square), area(inner), 1000), 0);

    // A frame 200 wide whose hole runs from 200 to 800.
    const Region frame = square.subtracted(Region::rectangle({200, 200, 800, 800}));
    EXPECT_NEAR(sweptGap(area(frame), segment({500, 300}, {500, 300}, 50), 1000), 50, 1e-9);
    EXPECT_NEAR(sweptGap(area(frame), arc({500, 500}, 250, 0, 2 * kPi), 1000), 50, 1e-9);
    EXPECT_NEAR(sweptGap(area(frame), area(inner, 20), 1000), 80, 1e-9);
}

} // namespace kestrel
