#include "route/ObstacleRaster.h"

#include "route/RouteGrid.h"
#include "view/Geometry.h"

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
    const struct {
        int32_t px, py;
        bool covered;
    } cases[] = {{194, 194, true}, {205, 205, true}, {193, 200, false}, {206, 200, false}, {200, 193, false},
                 {200, 206, false}};
    for (const auto& c : cases)
        EXPECT_EQ(r.covers(c.px, c.py), c.covered) << c.px << "," << c.py;

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
    EXPECT_TRUE(r.covers(199, 200));
    EXPECT_FALSE(r.covers(200, 200));
    EXPECT_TRUE(r.covers(20, 100));   // (102.5, -502.5): in the ring
    EXPECT_FALSE(r.covers(100, 100)); // (502.5, -502.5): in the hole
    EXPECT_TRUE(r.covers(460, 100));  // (2302.5, -502.5): in both parts
    EXPECT_TRUE(r.covers(500, 140));  // only the second
    EXPECT_FALSE(r.covers(410, 150)); // in neither

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
    const struct {
        Point a, b;
        bool hits;
    } cases[] = {
        {{500, -925}, {1500, -925}, false}, // reaches down to -965
        {{500, -935}, {1500, -935}, true},  // reaches down to -975
        {{1060, -1000}, {1500, -1000}, true}, // the cap's tip at x = 1020
        {{1075, -1000}, {1500, -1000}, false}, // the tip at 1035
    };
    LayoutObject probe = makeTrack(80, 1);
    for (const auto& c : cases) {
        probe.Points = {c.a, c.b};
        EXPECT_EQ(r.overlaps(ObjectRegion(probe).polygons()), c.hits) << c.a.x << "," << c.a.y;
    }
}
