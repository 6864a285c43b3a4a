#include "route/GroundPlane.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

TEST(GroundPlane, RegionLeavesEachClearanceFree)
{
    ObjectList list;
    addPad(list, {1000, -1000}, 100, 1); // round, clearance 40
    addPad(list, {3000, -1000}, 100, 6); // long rectangle
    addTrack(list, {{500, -2000}, {3500, -2000}}, 40);
    addPad(list, {2000, -1000}, 100, 1, 2); // silk: cuts nothing
    list.append(makeText({500, -2600}, "A", 0, 100, 900, -2500, 1)).Clearance = 40;
    list.append(makeCircle({2000, -3000}, 300, 1, 1, 240)).Clearance = 40;
    BoardSettings s;
    s.BoardWidth = s.BoardHeight = 4000;
    const Region plane = groundPlaneRegion(list, s, 1);
    const std::pair<Point, bool> probes[] = { // point, copper
        {{1000, -1000}, false}, {{1000 + 120, -1000}, false}, {{1000 + 150, -1000}, true},
        {{3000 + 230, -1000}, false}, {{3000 + 250, -1000}, true}, {{3000, -1000 + 130}, false},
        {{3000, -1000 + 150}, true}, {{2000, -1000}, true}, {{2000, -2000 + 55}, false}, {{2000, -2000 + 65}, true},
        {{700, -2550}, true}, // labels cut no gap in Gerber files
        {{2000 + 210, -3000}, false}, {{2000 + 330, -3000}, false}, {{2000 + 190, -3000}, true},
        {{2000 + 350, -3000}, true}, {{10, -10}, true}, {{4010, -10}, false},
    };
    for (const auto& [at, copper] : probes)
        EXPECT_EQ(plane.contains(at), copper) << at.x << ", " << at.y;
    EXPECT_FALSE(groundPlaneRegion(list, s, 1, true).contains({700, -2550}));
    EXPECT_TRUE(groundPlaneRegion(list, s, 3).contains({1000, -1000}));
}
