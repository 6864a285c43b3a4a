#include "edit/MacroDrop.h"

#include "EditBoard.h"
#include "edit/Selection.h"
#include "edit/Undo.h"
#include "model/LayoutFile.h"
#include "model/MacroFile.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// Points on the board snap by the edge rule (its cases: Transform.SnappingOntoTheBoard);
// a point beyond an edge is limited to the board first.
TEST(MacroDrop, DropPointIsSnappedAndKeptOnTheBoard)
{
    const BoardSettings board; // 16000 x 10000, grid 254
    // The pointer, the drop point, why.
    const std::tuple<Point, Point, const char*> rows[] = {
        {{-500, 300}, {0, 0}, "beyond the top-left corner"},
        {{20000, -20000}, {15748, -9906}, "beyond the bottom-right corner: the last grid crossing on the board"},
    };
    for (const auto& [pointer, expected, why] : rows)
        EXPECT_EQ(MacroDropPoint(ObjectList{}, pointer, board), expected) << why;
}

// A macro as read from a file, dropped with each layer active: shapes
// relative to the drop point, layers of that side, unmirrored, the via made
// anew with mutual partners, no references into the macro list, all one new
// group, one undo step.
TEST(MacroDrop, DropOnTheActiveSide)
{
    ObjectList macro;
    LayoutObject& via = addPad(macro, {0, 0}, 60, 1, Layer::MacroCopper);
    via.PartnerBytesSet = true;
    LayoutObject& pad = addPad(macro, {1000, 0}, 60, 2, Layer::MacroCopper);
    addBand(via, pad);
    via.Partner = &pad;
    addTrack(macro, {{0, 0}, {1000, -500}}, 30, Layer::MacroCopper);
    macro.append(makeLine({-500, 500}, {1500, 500}, 20, Layer::MacroSilk));
    for (const uint32_t active : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(active);
        EditBoard b;
        b.doc.Working.ActiveLayer = active;
        ObjectList& list = b.objects();
        addPad(list, {500, -500}, 60).Selected = 1; // already there, deselected by the drop
        EXPECT_EQ(DropMacro(b.session, b.doc, macro, {5080, -5080}), 5u);
        ASSERT_EQ(list.size(), 6u);
        const int copper = active < 3 ? Layer::K1 : Layer::K2;
        const int silk = active < 3 ? Layer::B1 : Layer::B2;
        EXPECT_EQ(list[0].Selected, 0);
        EXPECT_EQ(std::make_tuple(int{list[1].Layer}, list[1].X1, list[1].Y1), std::make_tuple(copper, 5080, -5080));
        EXPECT_EQ(list[3].Points, (std::vector<Point>{{5080, -5080}, {6080, -5580}}));
        EXPECT_EQ(std::make_tuple(int{list[4].Layer}, list[4].X1, list[4].X2), std::make_tuple(silk, 4580, 6580));
        const LayoutObject& twin = list[5];
        EXPECT_EQ(list[1].Partner, &twin);
        EXPECT_EQ(twin.Partner, &list[1]);
        for (size_t i = 1; i < list.size(); ++i) {
            EXPECT_EQ(list[i].Selected, 1) << i;
            EXPECT_TRUE(list[i].Connections.empty()) << "no bands: " << i;
            EXPECT_FALSE(list[i].PartnerBytesSet) << i;
        }
        EXPECT_EQ(list[1].Groups, list[4].Groups);
        // Side 1's layers are shown on a new board; the layers that took the
        // side-2 objects and the via's second pad come into sight.
        EXPECT_EQ(b.doc.Working.LayerVisible,
                  (std::array<uint8_t, 4>{1, 1, 1, uint8_t(active < 3 ? 0 : 1)}));
        ASSERT_TRUE(Undo(b.session, b.doc));
        EXPECT_EQ(list.size(), 1u) << "one undo step takes the whole drop back";
    }
}

// Dropped near an edge, a footprint reaching past it comes back onto the
// board whole, in grid steps, instead of losing its outer pads at the next
// save; one that fits stays where its reference point was dropped.
TEST(MacroDrop, AFootprintReachingPastAnEdgeComesBackWhole)
{
    ObjectList macro; // two pads 2540 apart and a silk line 500 beyond them
    addPad(macro, {0, 0}, 60, 1, Layer::MacroCopper);
    addPad(macro, {2540, -2540}, 60, 1, Layer::MacroCopper);
    macro.append(makeLine({-500, 500}, {3040, -3040}, 20, Layer::MacroSilk));
    // The drop point, where the first pad lands.
    const std::tuple<Point, Point> rows[] = {
        {{5080, -5080}, {5080, -5080}},     // inside: as dropped
        {{15748, -9906}, {12700, -6858}},  // the bottom-right corner: the line's end 3050 past, 12 grid steps back
        {{0, 0}, {762, -762}},             // the top-left corner: the line's 510 overhang, 3 steps
    };
    for (const auto& [at, first] : rows) {
        EditBoard b; // 16000 x 10000, grid 254
        DropMacro(b.session, b.doc, macro, MacroDropPoint(macro, at, b.doc.Working));
        const ObjectList& list = b.objects();
        ASSERT_EQ(list.size(), 3u);
        EXPECT_EQ(Point(list[0].X1, list[0].Y1), first);
        EXPECT_EQ(Point(list[1].X1 - list[0].X1, list[1].Y1 - list[0].Y1), Point(2540, -2540)) << "the shape kept";
    }
}

// A version-2 macro's 16-bit group numbers read back negative from 32768
// up: added as they are, they would fall below 1 or onto a group of the
// board. Dropped, they are groups of their own, past the board's, and the
// board is still one a file can hold.
TEST(MacroDrop, GroupNumbers)
{
    // The group stacks of the macro's pads, of the dropped copies, why.
    using Groups = std::vector<std::vector<int32_t>>;
    const std::tuple<Groups, Groups, const char*> rows[] = {
        {{{1}, {1}}, {{6}, {6}}, "one shared group shifted past the board's and no further group"},
        {{{1}, {}}, {{6, 7}, {7}}, "a group and a loose object: a new outermost group"},
        {{{-25536}, {-25536}}, {{6}, {6}}, "far below 1: rank 1 past the board's next number"},
        {{{-1}, {-1}}, {{6}, {6}}, "-1 would land on the board's group"},
    };
    for (const auto& [macroGroups, expected, why] : rows) {
        EditBoard b;
        ObjectList& list = b.objects();
        addPad(list, {500, -500}, 60).Groups = {4};
        ObjectList macro;
        for (const auto& groups : macroGroups)
            addPad(macro, {static_cast<int32_t>(macro.size()) * 300, 0}, 60, 1, Layer::MacroCopper).Groups = groups;
        DropMacro(b.session, b.doc, macro, {2000, -2000});
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(list[1 + i].Groups, expected[i]) << why;
        EXPECT_EQ(list[0].Groups, (std::vector<int32_t>{4}));
        const std::vector<uint8_t> bytes = encodeDocument(b.doc);
        EXPECT_TRUE(succeeded(decodeDocument(bytes.data(), bytes.size(), Language::English, "x.kbd"))) << why;
    }
}

TEST(MacroDrop, PartnerAndConnectionIndicesInAMacroAreNotFollowed)
{
    ObjectList two;
    addPad(two, {0, 0}, 60);
    addPad(two, {300, 0}, 60);
    MacroImage image = encodeMacro(two, true, false, 254.0);
    const size_t firstPartnerField = 8 + 78;
    const int32_t seven = 7;
    std::memcpy(image.bytes.data() + firstPartnerField, &seven, 4);
    image.bytes[8 + 61] = 1; // a non-zero Partner byte in the first record: it was a via
    // First pad: one band to object 99.
    image.bytes.erase(image.bytes.end() - 8, image.bytes.end());
    for (int32_t v : {1, 99, 0})
        for (int k = 0; k < 4; ++k)
            image.bytes.push_back(static_cast<uint8_t>(v >> (8 * k)));

    auto back = decodeMacro(image.bytes.data(), image.bytes.size(), Language::English, "m.kmk");
    ASSERT_TRUE(succeeded(back));
    ObjectList& m = back->objects;
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].Partner, nullptr);
    EXPECT_TRUE(m[0].PartnerBytesSet);
    EXPECT_TRUE(m[0].Connections.empty());
}

} // namespace
