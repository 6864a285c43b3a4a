#include "geometry/CapsuleOverlap.h"
#include "geometry/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace kestrel {
namespace {

// A track segment ending at a random distance around `reach` from the
// centre, at any angle and heading: where the bounds are tight.
LayoutObject trackNear(std::mt19937& rng, Point centre, double reach)
{
    std::uniform_real_distribution<double> unit(0, 1);
    const int32_t width = 8 + static_cast<int32_t>(rng() % 120);
    const double distance = reach * (0.5 + unit(rng)) + width / 2.0 * (unit(rng) * 2 - 1);
    const double angle = 2 * std::numbers::pi * unit(rng), heading = 2 * std::numbers::pi * unit(rng);
    const Point a{centre.x + static_cast<int32_t>(std::lround(distance * std::cos(angle))),
                  centre.y + static_cast<int32_t>(std::lround(distance * std::sin(angle)))};
    const double length = unit(rng) < 0.2 ? 0 : 400 * unit(rng);
    const Point b{a.x + static_cast<int32_t>(std::lround(length * std::cos(heading))),
                  a.y + static_cast<int32_t>(std::lround(length * std::sin(heading)))};
    LayoutObject t = makeTrack(width, 1);
    t.Points = {a, b};
    return t;
}

// Rings, discs and arcs meet the same check in the flood's cross-check of
// whole outlines (FloodConnect.AgreesWithTheRuleOnWholeOutlines).
TEST(QuickOverlap, PadFiguresAgreeWithTheirPolygons)
{
    std::mt19937 rng(7);
    int sure = 0, total = 0;
    for (int k = 0; k < 4000; ++k) {
        const Point centre{static_cast<int32_t>(rng() % 20001) - 10000, static_cast<int32_t>(rng() % 20001) - 10000};
        const auto shape = static_cast<uint8_t>(rng() % 11); // 0 and 10 draw the hole only
        const LayoutObject pad = makePad(centre, 1 + static_cast<int32_t>(rng() % 300), shape, 1,
                                         static_cast<int32_t>(rng() % 60));
        const auto bounds = figureBounds(padOutlineFigure(pad));
        if (!bounds)
            continue;
        const LayoutObject track = trackNear(rng, centre, 2.0 * pad.padOuterRadius());
        // A corner of a zone inside or outside the pad.
        const QuickAnswer inside = pointInFigure(track.Points[0], *bounds);
        if (inside != QuickAnswer::Unsure) {
            ASSERT_EQ(inside == QuickAnswer::Overlap, OutlineParts(pad)[0].contains(track.Points[0])) << "draw " << k;
        }
        const CapsuleShape c{track.Points[0], track.Points[1], track.widthUnits() / 2};
        ASSERT_TRUE(quickCapsule(c));
        const QuickAnswer quick = capsuleAgainstFigure(c, *bounds);
        ++total;
        if (quick == QuickAnswer::Unsure)
            continue;
        ++sure;
        // Every sure answer must be the answer of the polygons OutlineParts makes.
        const std::vector<Region> parts = OutlineParts(pad);
        const bool overlap = !parts.empty() && parts[0].overlaps(OutlineParts(track)[0]);
        ASSERT_EQ(quick == QuickAnswer::Overlap, overlap) << "draw " << k;
    }
    // The bounds are tight enough to spare most polygons.
    EXPECT_GT(sure, total * 9 / 10);
}

} // namespace
} // namespace kestrel
