#include "geometry/CapsuleOverlap.h"
#include "geometry/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace kestrel {
namespace {

struct Tally {
    int sure = 0, total = 0;
};

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

// Every sure answer must be the answer of the polygons OutlineParts makes.
template <class Answer>
void checkAgainstPolygons(const LayoutObject& shape, const LayoutObject& track, Answer answer, Tally& tally)
{
    const CapsuleShape c{track.Points[0], track.Points[1], track.widthUnits() / 2};
    ASSERT_TRUE(quickCapsule(c));
    const QuickAnswer quick = answer(c);
    ++tally.total;
    if (quick == QuickAnswer::Unsure)
        return;
    ++tally.sure;
    const std::vector<Region> parts = OutlineParts(shape);
    const Region capsule = OutlineParts(track)[0];
    const bool overlap = !parts.empty() && parts[0].overlaps(capsule);
    ASSERT_EQ(quick == QuickAnswer::Overlap, overlap)
        << "shape " << int(shape.Shape) << " at " << shape.X1 << "," << shape.Y1 << " r " << shape.X2 << "/" << shape.Y2
        << " angles " << shape.Angle << "," << shape.Width << " filled " << int(shape.Filled) << "; track "
        << track.Points[0].x << "," << track.Points[0].y << " - " << track.Points[1].x << "," << track.Points[1].y
        << " width " << track.widthUnits();
}

TEST(QuickOverlap, PadFiguresAgreeWithTheirPolygons)
{
    std::mt19937 rng(7);
    Tally tally;
    for (int k = 0; k < 4000; ++k) {
        const Point centre{static_cast<int32_t>(rng() % 20001) - 10000, static_cast<int32_t>(rng() % 20001) - 10000};
        const auto shape = static_cast<uint8_t>(rng() % 11); // 0 and 10 draw the hole only
        const LayoutObject pad = makePad(centre, 1 + static_cast<int32_t>(rng() % 300), shape, 1,
                                         static_cast<int32_t>(rng() % 60));
        const auto bounds = figureBounds(padOutlineFigure(pad));
        if (!bounds)
            continue;
        const LayoutObject track = trackNear(rng, centre, 2.0 * pad.padOuterRadius());
        ASSERT_NO_FATAL_FAILURE(checkAgainstPolygons(
            pad, track, [&](const CapsuleShape& c) { return capsuleAgainstFigure(c, *bounds); }, tally));
        // A corner of a zone inside or outside the pad.
        const Point p = track.Points[0];
        const QuickAnswer inside = pointInFigure(p, *bounds);
        if (inside != QuickAnswer::Unsure) {
            ASSERT_EQ(inside == QuickAnswer::Overlap, OutlineParts(pad)[0].contains(p)) << p.x << "," << p.y;
        }
    }
    // The bounds are tight enough to spare most polygons.
    EXPECT_GT(tally.sure, tally.total * 9 / 10);
}

TEST(QuickOverlap, RingsDiscsAndArcsAgreeWithTheirPolygons)
{
    std::mt19937 rng(11);
    Tally tally;
    for (int k = 0; k < 4000; ++k) {
        const Point centre{static_cast<int32_t>(rng() % 20001) - 10000, static_cast<int32_t>(rng() % 20001) - 10000};
        const int32_t outer = 10 + static_cast<int32_t>(rng() % 700);
        const int32_t inner = outer - 1 - static_cast<int32_t>(rng() % (outer / 2 + 1));
        LayoutObject circle = makeCircle(centre, outer, 1, 1, inner);
        circle.Filled = static_cast<uint8_t>(rng() % 2);
        // Whole circles, quarter turns and any angles, a few of them far out.
        const int angles = static_cast<int>(rng() % 4);
        const auto anyAngle = static_cast<int32_t>(rng() % 360);
        circle.Angle = angles == 0 ? 0 : angles == 1 ? 90 * static_cast<int32_t>(rng() % 4) : anyAngle;
        circle.Width = angles == 0 ? 0 : static_cast<int32_t>(rng() % 360) + (angles == 3 ? 720 : 0);
        const auto bounds = circleBounds(circle);
        ASSERT_TRUE(bounds);
        const LayoutObject track = trackNear(rng, centre, static_cast<double>(outer));
        ASSERT_NO_FATAL_FAILURE(checkAgainstPolygons(
            circle, track, [&](const CapsuleShape& c) { return capsuleAgainstArc(c, *bounds); }, tally));
    }
    EXPECT_GT(tally.sure, tally.total * 2 / 3);
}

} // namespace
} // namespace kestrel
