#include "route/Connectivity.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

TEST(FloodConnect, ConnectionRule)
{
    const struct {
        const char* name;
        void (*build)(ObjectList&);
        long start;
        std::vector<size_t> expected;
    } cases[] = {
        // Pad 1 abuts pad 0 and overlaps pad 2 by one unit.
        {"edge to edge is apart, one unit deep is joined",
         [](ObjectList& l) { addPad(l, {0, 0}, 50, 3), addPad(l, {100, 0}, 50, 3), addPad(l, {199, 0}, 50, 3); }, 1,
         {1, 2}},
        {"via carries the flood to the other layer",
         [](ObjectList& l) {
             addTrack(l, {{-1000, 0}, {0, 0}}, 40, 1), addVia(l, {0, 0}), addTrack(l, {{0, 0}, {0, 1000}}, 40, 3);
             addTrack(l, {{0, 1000}, {500, 1000}}, 40, 1); // under layer 3's end: not joined
         },
         0, {0, 1, 2, 3}},
        {"one-sided partner is no via",
         [](ObjectList& l) {
             LayoutObject& a = addPad(l, {0, 0}, 70, 1, 1);
             a.Partner = &addPad(l, {0, 0}, 70, 1, 3);
         },
         0, {0}},
        // A track inside the octagon's corner but outside its circle.
        {"octagon is tested as its circle",
         [](ObjectList& l) { addPad(l, {0, 0}, 100, 2), addTrack(l, {{99, 30}, {99, 38}}, 4); }, 0, {0}},
        {"track ending in a pad's hole is joined",
         [](ObjectList& l) { addPad(l, {0, 0}, 100, 1, 1, 60), addTrack(l, {{0, 0}, {0, 10}}, 20); }, 1, {0, 1}},
        {"arc from 0 to 90: not its opening, not its lower half",
         [](ObjectList& l) {
             LayoutObject& c = l.append(makeCircle({0, 0}, 500, 1, 1, 400));
             c.Angle = 0, c.Width = 90;
             addTrack(l, {{-100, 0}, {100, 0}}, 40), addTrack(l, {{0, -450}, {0, -600}}, 40);
             addTrack(l, {{0, 450}, {0, 600}}, 40);
         },
         0, {0, 3}},
        {"zone interior and label box are copper",
         [](ObjectList& l) {
             l.append(makeZone(20, 1)).Points = {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}};
             l.append(makeText({400, 400}, "GND", 0, 100, 2000, 500, 1)), addPad(l, {1900, 450}, 40);
         },
         0, {0, 1, 2}},
        {"silk never joins copper",
         [](ObjectList& l) {
             addTrack(l, {{0, 0}, {1000, 0}}, 40, 1), l.append(makeLine({900, 0}, {2100, 0}, 100, 2));
             addTrack(l, {{2000, 0}, {3000, 0}}, 40, 1);
         },
         0, {0}},
        {"a silk start selects nothing",
         [](ObjectList& l) { l.append(makeLine({0, 0}, {1000, 0}, 100, 2)), addPad(l, {0, 0}, 100, 1, 2); }, 0, {}},
        {"single-corner track reaches nothing",
         [](ObjectList& l) { addTrack(l, {{0, 0}}, 40), addPad(l, {0, 0}, 100); }, 0, {0}},
        {"index outside the list", [](ObjectList& l) { addPad(l, {0, 0}, 100); }, 5, {}},
    };
    for (const auto& c : cases) {
        ObjectList list;
        c.build(list);
        EXPECT_EQ(connectedObjects(list, c.start), c.expected) << c.name;
    }
}

TEST(FloodConnect, LongChainNeedsNoRecursion)
{
    // 100000 segments meandering over 100 rows.
    ObjectList list;
    for (int32_t k = 0; k < 100000; ++k) {
        const int32_t row = k / 1000, col = k % 1000, step = row % 2 == 0 ? 100 : -100;
        const Point a{row % 2 == 0 ? col * 100 : (999 - col) * 100, row * 100};
        list.append(makeLine(a, col == 999 ? Point{a.x, a.y + 100} : Point{a.x + step, a.y}, 40, 1));
    }
    const auto found = connectedObjects(list, 0);
    ASSERT_EQ(found.size(), 100000u);
    EXPECT_EQ(found.back(), 99999u);
}

TEST(TestConnection, SelectsExactlyTheConnectedObjects)
{
    ObjectList list;
    LayoutObject& a = addTrack(list, {{0, 0}, {1000, 0}}, 40);
    LayoutObject& b = addPad(list, {1000, 0}, 80);
    LayoutObject& grouped = addTrack(list, {{0, 2000}, {1000, 2000}}, 40);
    a.Groups = grouped.Groups = {7}; // same group, no copper: stays unselected
    grouped.Selected = 1;
    EXPECT_EQ(TestConnection(list, 0), 2u);
    EXPECT_EQ(std::vector<int>({a.Selected, b.Selected, grouped.Selected}), std::vector<int>({1, 1, 0}));
    EXPECT_EQ(TestConnection(list, -1), 0u); // empty board space only clears the selection
    EXPECT_EQ(a.Selected + b.Selected, 0);
}
