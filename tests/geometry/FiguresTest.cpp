#include "geometry/Figures.h"

#include "support/GerberPads.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace kestrel;
using namespace kestrel::test;

namespace {

std::set<std::pair<int32_t, int32_t>> asSet(const std::vector<Point>& points, int32_t dy = 0)
{
    std::set<std::pair<int32_t, int32_t>> s;
    for (const Point& p : points)
        s.insert({p.x, p.y + dy});
    return s;
}

} // namespace

// The corner rules in extended precision: 100 x 0.585 lies just below 58.5.
TEST(Figures, CornerRules)
{
    const std::tuple<int32_t, int32_t, int32_t> rows[] = {
        // half extent, octagon cut, rounded corner diameter
        {100, 58, 150}, {3100, 1813, 4650}, {1, 1, 2}, {5, 3, 8}, {0, 0, 0},
    };
    for (auto [half, cut, diameter] : rows) {
        EXPECT_EQ(octagonCut(half), cut) << half;
        EXPECT_EQ(roundedCornerDiameter(half), diameter) << half;
    }
}

TEST(Figures, GrownSizes)
{
    ObjectList list;
    // The clearance is added once along the long axis: 2R + c, not 2(R + c).
    for (auto [shape, halfX, halfY] : {std::tuple{1, 140, 140}, {4, 240, 140}, {9, 140, 240}}) {
        const PadExtents x = padExtents(addPad(list, {0, 0}, 100, uint8_t(shape)), 40);
        EXPECT_EQ(std::pair(x.halfX, x.halfY), std::pair(halfX, halfY)) << shape;
    }
    // The ring grows by c on both sides; w / 2 = 52.5 rounds to 52 (ties to even): 400 - 52 + 1 = 349.
    // An inner radius above the outer one leaves no negative pen.
    for (auto [inner, c, width, radius] :
         {std::tuple{300, 0, 100, 350}, {300, 40, 180, 350}, {297, 1, 105, 349}, {500, 10, 20, 400}}) {
        const ArcStroke s = arcStroke(makeCircle({0, 0}, 400, 1, 1, inner), c);
        EXPECT_EQ(std::pair(s.widthUnits, s.centreRadius), std::pair(width, radius)) << inner << " " << c;
    }
}

// Every pad shape over the whole range of radii: the figure every drawing
// takes, the Gerber file's flashes and regions, and the ground plane's cut
// agree to the unit (the rounded rectangle's stroke may reach half a unit
// further in the file, where the corner diameter is odd). Shapes 0 and 10
// are unknown: no figure and nothing cut from the plane.
TEST(Figures, GerberAndGroundPlaneDrawThePadFigure)
{
    constexpr int32_t kHeight = 100000;
    std::vector<int32_t> radii = {1, 2, 3, 4, 5, 99, 100, 1500, 3100, 4999, 5000};
    for (int32_t r = 7; r < 5000; r += 37)
        radii.push_back(r);
    for (int shape = 0; shape <= 10; ++shape) {
        for (const int32_t r : radii) {
            for (const int32_t e : {0, 30, 41}) {
                const LayoutObject pad = makePad({20000, -30000}, r, uint8_t(shape), Layer::K1, r / 2);
                const PadFigure f = padFigure(pad, e);
                const Region plane = grownPadRegion(pad, e);
                SCOPED_TRACE("shape " + std::to_string(shape) + " r " + std::to_string(r) + " e " + std::to_string(e));
                ASSERT_EQ(f.kind == PadFigureKind::None, shape == 0 || shape == 10);
                if (f.kind == PadFigureKind::None) {
                    EXPECT_TRUE(plane.empty());
                    continue;
                }
                const GerberPad g = gerberPad(pad, e, kHeight);
                if (f.kind != PadFigureKind::Octagon) {
                    EXPECT_EQ(plane.bounds(),
                              (Rect{20000 - f.halfX, -30000 - f.halfY, 20000 + f.halfX, -30000 + f.halfY}));
                }
                switch (f.kind) {
                case PadFigureKind::Disc:
                case PadFigureKind::Rectangle:
                    EXPECT_EQ(g.aperture, f.kind == PadFigureKind::Disc ? 'C' : 'R');
                    EXPECT_EQ(std::pair(g.sizeX, g.sizeY), (std::pair<int64_t, int64_t>(2 * f.halfX, 2 * f.halfY)));
                    break;
                case PadFigureKind::Octagon: {
                    const auto corners = octagonCorners(f.centre, f.halfX, f.halfY);
                    const std::vector<Point> expected(corners.begin(), corners.end());
                    EXPECT_EQ(asSet(g.regionCorners, -kHeight), asSet(expected));
                    ASSERT_EQ(plane.polygons().size(), 1u);
                    EXPECT_EQ(asSet(plane.polygons()[0]), asSet(expected));
                    break;
                }
                default: { // the rounded rectangle
                    ASSERT_FALSE(g.regionCorners.empty());
                    EXPECT_EQ(g.strokeDiameter, f.corner);
                    // Outer extent in the file: the inset corner plus half the pen.
                    int32_t right = INT32_MIN, top = INT32_MIN;
                    for (const Point& p : g.regionCorners)
                        right = std::max(right, p.x), top = std::max(top, p.y);
                    EXPECT_NEAR(right - 20000 + f.corner / 2.0, f.halfX, 0.5);
                    EXPECT_NEAR(top - kHeight + 30000 + f.corner / 2.0, f.halfY, 0.5);
                }
                }
            }
        }
    }
}
