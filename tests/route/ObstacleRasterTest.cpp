#include "route/ObstacleRaster.h"

#include "route/RouteGrid.h"
#include "geometry/Geometry.h"

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

Region square(int32_t left, int32_t bottom, int32_t right, int32_t top)
{
    return Region::rectangle({left, bottom, right, top});
}

const PixelRect kClip{-100, -100, 1000, 1000};

} // namespace

TEST(ObstacleRaster, PixelCentresDecideCoverAndTouchedCells)
{
    ObstacleRaster r;
    // Square 970..1030 by -1030..-970: pixel centres 5 px + 2.5 from 972.5 to 1027.5.
    r.addForeign({square(970, -1030, 1030, -970)});
    r.addForeign({square(1590, -1030, 1610, -970)}); // pixels 318..321 cross from cell 19 into 20
    r.build(kClip);
    for (auto [px, py, covered] : {std::tuple{194, 194, true}, {205, 205, true}, {193, 200, false},
                                   {206, 200, false}, {200, 193, false}, {200, 206, false}})
        EXPECT_EQ(r.covers(px, py), covered) << px << "," << py;

    const CellTouchMap m = r.touchedCells(16, 30, 30); // pixels 194..205 lie in cell 12
    std::vector<CellPos> touched;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            if (m.touched(x, y))
                touched.push_back({x, y});
    EXPECT_EQ(touched, (std::vector<CellPos>{{12, 12}, {19, 12}, {20, 12}}));
}

TEST(ObstacleRaster, NetCopperIsCutOutAndPartsUnite)
{
    ObstacleRaster r;
    r.addForeign({square(970, -1030, 1030, -970)});
    r.addNet({square(1000, -1100, 1100, -900)}); // covers the pixels from 200 on
    r.addForeign({square(0, -1000, 1000, 0).subtracted(square(300, -700, 700, -300))}); // a ring
    r.addForeign({square(2000, -600, 2400, -200), square(2200, -800, 2600, -400)}); // overlapping parts
    r.build(kClip);
    // (102.5, -502.5) in the ring, (502.5, -502.5) in its hole, (2302.5, -502.5)
    // in both parts, then only in the second, then in neither.
    for (auto [px, py, covered] : {std::tuple{199, 200, true}, {200, 200, false}, {20, 100, true},
                                   {100, 100, false}, {460, 100, true}, {500, 140, true}, {410, 150, false}})
        EXPECT_EQ(r.covers(px, py), covered) << px << "," << py;

    ObstacleRaster net; // net copper alone is no obstacle
    net.addNet({square(970, -1030, 1030, -970)});
    net.build(kClip);
    EXPECT_TRUE(net.empty());
}

TEST(ObstacleRaster, ProbeOverlap)
{
    ObstacleRaster r;
    r.addForeign({square(970, -1030, 1030, -970)}); // top pixel row has its centres at y = -972.5
    r.build(kClip);
    // A probe of width 80 covers 40 units either side of its segment, and its
    // octagonal caps reach 40 units beyond the ends.
    const std::tuple<Point, bool> cases[] = {
        {{500, -925}, false},  // reaches down to -965
        {{500, -935}, true},   // reaches down to -975
        {{1060, -1000}, true}, // the cap's tip at x = 1020
        {{1075, -1000}, false}, // the tip at 1035
    };
    LayoutObject probe = makeTrack(80, 1);
    for (const auto& [a, hits] : cases) {
        probe.Points = {a, {1500, a.y}};
        EXPECT_EQ(r.overlaps(ObjectRegion(probe).polygons()), hits) << a.x << "," << a.y;
    }
}
