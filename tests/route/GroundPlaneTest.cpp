#include "route/GroundPlane.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;

TEST(GroundPlane, GrownSizes)
{
    ObjectList list;
    LayoutObject& round = test::addPad(list, {0, 0}, 100, 1);
    LayoutObject& longH = test::addPad(list, {0, 0}, 100, 4);
    LayoutObject& longV = test::addPad(list, {0, 0}, 100, 9);
    // The clearance is added once along the long axis: 2R + c, not 2(R + c).
    for (auto [pad, halfX, halfY] : {std::tuple{&round, 140, 140}, {&longH, 240, 140}, {&longV, 140, 240}}) {
        const PadExtents x = grownPadExtents(*pad, 40);
        EXPECT_EQ(std::pair(x.halfX, x.halfY), std::pair(halfX, halfY)) << int(pad->Shape);
    }
    LayoutObject ring = makeCircle({0, 0}, 400, 1, 1, 300);
    for (auto [c, width, radius] : {std::tuple{0, 100, 350}, {40, 180, 350}, {5, 110, 350}}) {
        const ArcStroke s = grownArcStroke(ring, c);
        EXPECT_EQ(std::pair(s.widthUnits, s.centreRadius), std::pair(width, radius)) << c;
    }
    // w / 2 = 52.5 rounds to 52 (ties to even): 400 - 52 + 1 = 349.
    const ArcStroke odd = grownArcStroke(makeCircle({0, 0}, 400, 1, 1, 297), 1);
    EXPECT_EQ(odd.widthUnits, 105);
    EXPECT_EQ(odd.centreRadius, 349);
}

TEST(GroundPlane, RegionLeavesEachClearanceFree)
{
    ObjectList list;
    test::addPad(list, {1000, -1000}, 100, 1);                 // round, clearance 40
    test::addPad(list, {3000, -1000}, 100, 6);                 // long rectangle
    test::addTrack(list, {{500, -2000}, {3500, -2000}}, 40);
    test::addPad(list, {2000, -1000}, 100, 1, 2);              // silk: cuts nothing
    LayoutObject label = makeText({500, -2600}, "A", 0, 100, 900, -2500, 1);
    label.Clearance = 40;
    list.append(label);
    LayoutObject ring = makeCircle({2000, -3000}, 300, 1, 1, 240);
    ring.Clearance = 40;
    list.append(ring);
    BoardSettings s;
    s.BoardWidth = 4000;
    s.BoardHeight = 4000;
    const Region plane = groundPlaneRegion(list, s, 1);
    struct Probe {
        Point at;
        bool copper;
    };
    const Probe probes[] = {
        {{1000, -1000}, false}, {{1000 + 120, -1000}, false}, {{1000 + 150, -1000}, true},
        {{3000 + 230, -1000}, false}, {{3000 + 250, -1000}, true}, {{3000, -1000 + 130}, false},
        {{3000, -1000 + 150}, true}, {{2000, -1000}, true},
        {{2000, -2000 + 55}, false}, {{2000, -2000 + 65}, true},
        {{700, -2550}, true}, // labels cut no gap in Gerber files
        {{2000 + 210, -3000}, false}, {{2000 + 330, -3000}, false}, {{2000 + 190, -3000}, true},
        {{2000 + 350, -3000}, true}, {{10, -10}, true}, {{4010, -10}, false},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(plane.contains(p.at), p.copper) << p.at.x << ", " << p.at.y;
    EXPECT_FALSE(groundPlaneRegion(list, s, 1, true).contains({700, -2550}));
    EXPECT_TRUE(groundPlaneRegion(list, s, 3).contains({1000, -1000}));
}
