#include "route/Connectivity.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

namespace {

LayoutObject& addLine(ObjectList& list, Point a, Point b, int32_t width, uint8_t layer)
{
    return list.append(makeLine(a, b, width, layer));
}

LayoutObject& addCircle(ObjectList& list, Point centre, int32_t outer, int32_t inner, int32_t start, int32_t stop,
                        uint8_t layer = 1)
{
    LayoutObject c = makeCircle(centre, outer, 1, layer, inner);
    c.Angle = start;
    c.Width = stop;
    return list.append(std::move(c));
}

using Builder = void (*)(ObjectList&);

struct FloodCase {
    const char* name;
    Builder build;
    long start;
    std::vector<size_t> expected;
};

} // namespace

TEST(FloodConnect, ConnectionRule)
{
    const FloodCase cases[] = {
        {"square pads edge to edge",
         [](ObjectList& l) {
             addPad(l, {0, 0}, 50, 3);
             addPad(l, {100, 0}, 50, 3);
         },
         0, {0}},
        {"square pads one unit deep",
         [](ObjectList& l) {
             addPad(l, {0, 0}, 50, 3);
             addPad(l, {99, 0}, 50, 3);
         },
         0, {0, 1}},
        {"capsules one unit deep, then a gap",
         [](ObjectList& l) {
             addTrack(l, {{0, 0}, {1000, 0}}, 40);
             addTrack(l, {{0, 39}, {1000, 39}}, 40);
             addTrack(l, {{0, 79}, {1000, 79}}, 40);
         },
         0, {0, 1}},
        {"a track that touches nothing",
         [](ObjectList& l) {
             addTrack(l, {{0, 0}, {1000, 0}}, 40);
             addPad(l, {0, 500}, 100);
         },
         0, {0}},
        {"same place, other copper layer, no via",
         [](ObjectList& l) {
             addPad(l, {0, 0}, 100, 1, 1);
             addTrack(l, {{0, 0}, {1000, 0}}, 40, 3);
         },
         0, {0}},
        {"via carries the flood to the other layer",
         [](ObjectList& l) {
             addTrack(l, {{-1000, 0}, {0, 0}}, 40, 1);
             addVia(l, {0, 0});
             addTrack(l, {{0, 0}, {0, 1000}}, 40, 3);
             addTrack(l, {{0, 1000}, {500, 1000}}, 40, 1); // under layer 3's end: not joined
         },
         0, {0, 1, 2, 3}},
        {"one-sided partner is no via",
         [](ObjectList& l) {
             LayoutObject& a = addPad(l, {0, 0}, 70, 1, 1);
             LayoutObject& b = addPad(l, {0, 0}, 70, 1, 3);
             a.Partner = &b;
         },
         0, {0}},
        {"octagon is tested as its circle",
         [](ObjectList& l) {
             addPad(l, {0, 0}, 100, 2);
             addTrack(l, {{99, 30}, {99, 38}}, 4); // in the octagon's corner, outside the circle
         },
         0, {0}},
        {"square pad covers the same corner",
         [](ObjectList& l) {
             addPad(l, {0, 0}, 100, 3);
             addTrack(l, {{99, 30}, {99, 38}}, 4);
         },
         0, {0, 1}},
        {"track ending in a pad's hole is joined",
         [](ObjectList& l) {
             addPad(l, {0, 0}, 100, 1, 1, 60);
             addTrack(l, {{0, 0}, {0, 10}}, 20);
         },
         1, {0, 1}},
        {"track inside a ring's opening is not",
         [](ObjectList& l) {
             addCircle(l, {0, 0}, 500, 400, 0, 0);
             addTrack(l, {{-100, 0}, {100, 0}}, 40);
             addTrack(l, {{300, 0}, {450, 0}}, 40);
         },
         0, {0, 2}},
        {"arc from 0 to 90 misses the lower half",
         [](ObjectList& l) {
             addCircle(l, {0, 0}, 500, 400, 0, 90);
             addTrack(l, {{0, -450}, {0, -600}}, 40);
             addTrack(l, {{0, 450}, {0, 600}}, 40);
         },
         0, {0, 2}},
        {"zone interior and label box are copper",
         [](ObjectList& l) {
             LayoutObject z = makeZone(20, 1);
             z.Points = {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}};
             l.append(std::move(z));
             l.append(makeText({400, 400}, "GND", 0, 100, 2000, 500, 1));
             addPad(l, {1900, 450}, 40);
         },
         0, {0, 1, 2}},
        {"silk never joins copper",
         [](ObjectList& l) {
             addTrack(l, {{0, 0}, {1000, 0}}, 40, 1);
             addLine(l, {900, 0}, {2100, 0}, 100, 2);
             addTrack(l, {{2000, 0}, {3000, 0}}, 40, 1);
         },
         0, {0}},
        {"a silk start selects nothing",
         [](ObjectList& l) {
             addLine(l, {0, 0}, {1000, 0}, 100, 2);
             addLine(l, {500, 0}, {1500, 0}, 100, 2);
         },
         0, {}},
        {"single-corner track reaches nothing",
         [](ObjectList& l) {
             addTrack(l, {{0, 0}}, 40);
             addPad(l, {0, 0}, 100);
         },
         0, {0}},
        {"index outside the list", [](ObjectList& l) { addPad(l, {0, 0}, 100); }, 5, {}},
    };
    for (const FloodCase& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectList list;
        c.build(list);
        EXPECT_EQ(connectedObjects(list, c.start), c.expected);
    }
}

TEST(FloodConnect, SharedMapGivesEveryStartItsOwnPiece)
{
    ObjectList list;
    addTrack(list, {{0, 0}, {1000, 0}}, 40);      // 0
    addTrack(list, {{1000, 0}, {1000, 1000}}, 40); // 1
    addTrack(list, {{5000, 0}, {6000, 0}}, 40);    // 2
    addLine(list, {6000, 0}, {6000, 500}, 40, 1);  // 3
    CopperMap map(list);
    map.buildAllOutlines();
    std::vector<uint8_t> reached(list.size(), 0);
    EXPECT_EQ(FloodConnect(map, 1, reached), (std::vector<size_t>{1, 0}));
    // Already reached objects are neither entered nor reported again.
    EXPECT_TRUE(FloodConnect(map, 0, reached).empty());
    EXPECT_EQ(FloodConnect(map, 3, reached), (std::vector<size_t>{3, 2}));
}

TEST(FloodConnect, LongChainNeedsNoRecursion)
{
    constexpr int32_t segments = 100000;
    ObjectList list;
    for (int32_t k = 0; k < segments; ++k) {
        // Alternate rows keep the chain inside a modest area: a meander.
        const int32_t row = k / 1000, col = k % 1000;
        const int32_t x = (row % 2 == 0) ? col * 100 : (999 - col) * 100;
        const int32_t y = row * 100;
        const bool turn = col == 999;
        addLine(list, {x, y}, turn ? Point{x, y + 100} : Point{x + ((row % 2 == 0) ? 100 : -100), y}, 40, 1);
    }
    const auto found = connectedObjects(list, 0);
    ASSERT_EQ(found.size(), static_cast<size_t>(segments));
    EXPECT_EQ(found.back(), static_cast<size_t>(segments - 1));
}

TEST(TestConnection, SelectsExactlyTheConnectedObjects)
{
    ObjectList list;
    LayoutObject& a = addTrack(list, {{0, 0}, {1000, 0}}, 40);
    LayoutObject& b = addPad(list, {1000, 0}, 80);
    LayoutObject& grouped = addTrack(list, {{0, 2000}, {1000, 2000}}, 40);
    LayoutObject& stale = addPad(list, {5000, 5000}, 80);
    a.Groups = {7};
    grouped.Groups = {7}; // same group, no copper: stays unselected
    stale.Selected = 1;
    EXPECT_EQ(TestConnection(list, 0), 2u);
    EXPECT_EQ(a.Selected, 1);
    EXPECT_EQ(b.Selected, 1);
    EXPECT_EQ(grouped.Selected, 0);
    EXPECT_EQ(stale.Selected, 0);

    // Empty board space only clears the selection.
    EXPECT_EQ(TestConnection(list, -1), 0u);
    EXPECT_EQ(a.Selected + b.Selected, 0);
}
