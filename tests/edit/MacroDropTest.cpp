#include "edit/MacroDrop.h"

#include "edit/MacroSave.h"
#include "edit/Undo.h"
#include "model/MacroFile.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// Saves the active side of `from` and reads the macro back as a drop gets it.
ObjectList savedAndRead(LayoutDocument& from)
{
    TempDir dir;
    EXPECT_TRUE(succeeded(saveMacro(from, dir.file("m.kmk"), false, Language::English)));
    auto back = readMacro(dir.file("m.kmk"), Language::English);
    EXPECT_TRUE(succeeded(back));
    return back ? std::move(back->objects) : ObjectList{};
}

TEST(MacroDrop, DropPointIsSnappedAndKeptOnTheBoard)
{
    const BoardSettings board; // 16000 x 10000, grid 254
    const struct {
        Point pointer, expected;
        const char* why;
    } rows[] = {
        {{1000, -1000}, {1016, -1016}, "snapped to the nearest crossing"},
        {{-500, 300}, {0, 0}, "beyond the top-left corner"},
        {{20000, -20000}, {16000, -10000}, "beyond the bottom-right corner: the board edge, off the grid"},
        {{-10, -9990}, {0, -9906}, "just inside the bottom edge: the grid crossing above it"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(MacroDropPoint(r.pointer, board), r.expected) << r.why;
}

// Every kind saved from side 2 and dropped while side 1 is active: shapes
// relative to the drop point, layers of side 1, unmirrored, the via made
// anew with mutual partners and no bands, all one new group, one undo step.
TEST(MacroDrop, SaveAndDropRoundTrip)
{
    LayoutDocument source = LayoutDocument::withFirstBoard(Language::English); // 16000 x 10000, grid 254
    ObjectList& s = *source.currentObjects();
    auto [top, bottom] = addVia(s, {2000, -2000});
    addPad(s, {3000, -2000}, 60, 2, 3);
    addBand(*bottom, s[2]);
    addTrack(s, {{2000, -2000}, {3000, -2500}}, 30, 3);
    s.append(makeLine({1500, -1500}, {3500, -1500}, 20, 4));
    addPad(s, {100, -100}, 60); // side 1: not saved
    source.Working.ActiveLayer = 3;
    ObjectList macro = savedAndRead(source);
    ASSERT_EQ(macro.size(), 4u);

    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    EditSession session;
    ResetUndoHistory(session, doc);
    ObjectList& list = *doc.currentObjects();
    addPad(list, {500, -500}, 60); // already there, deselected by the drop
    list[0].Selected = 1;
    const Point at{5080, -5080};
    EXPECT_EQ(DropMacro(session, doc, macro, at), 5u);
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list[0].Selected, 0);
    EXPECT_EQ(std::tie(list[1].Layer, list[1].X1, list[1].Y1), std::make_tuple(1, 5080, -5080)) << "the via's pad";
    EXPECT_EQ(std::tie(list[2].Layer, list[2].X1, list[2].Y1), std::make_tuple(1, 6080, -5080));
    EXPECT_EQ(list[3].Points, (std::vector<Point>{{5080, -5080}, {6080, -5580}}));
    EXPECT_EQ(std::tie(list[4].Layer, list[4].X1, list[4].X2), std::make_tuple(2, 4580, 6580));
    const LayoutObject& twin = list[5];
    EXPECT_EQ(list[1].Partner, &twin);
    EXPECT_EQ(twin.Partner, &list[1]);
    EXPECT_NE(list[1].Layer, twin.Layer);
    for (size_t i = 1; i < list.size(); ++i) {
        EXPECT_EQ(list[i].Selected, 1) << i;
        EXPECT_TRUE(list[i].Connections.empty()) << "no bands: " << i;
        EXPECT_FALSE(list[i].PartnerBytesSet) << i;
    }
    EXPECT_TRUE(doc.Modified);
    ASSERT_TRUE(Undo(session, doc));
    EXPECT_EQ(doc.currentObjects()->size(), 1u) << "one undo step takes the whole drop back";
}

TEST(MacroDrop, LayersFollowTheActiveSide)
{
    ObjectList macro;
    addPad(macro, {0, 0}, 60, 1, Layer::MacroCopper);
    macro.append(makeLine({0, 0}, {100, 0}, 20, Layer::MacroSilk));
    for (uint32_t active : {1u, 2u, 3u, 4u}) {
        LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
        doc.Working.ActiveLayer = active;
        EditSession session;
        DropMacro(session, doc, macro, {1000, -1000});
        const ObjectList& list = *doc.currentObjects();
        const bool side1 = active < 3;
        EXPECT_EQ(std::tie(list[0].Layer, list[1].Layer),
                  side1 ? std::make_tuple(1, 2) : std::make_tuple(3, 4)) << active;
        EXPECT_EQ(list[1].X2, 1100) << "unmirrored";
    }
}

TEST(MacroDrop, GroupNumbers)
{
    const struct {
        std::vector<std::vector<int32_t>> macroGroups;
        std::vector<std::vector<int32_t>> expected;
        const char* why;
    } rows[] = {
        {{{1}, {1}}, {{6}, {6}}, "one shared group shifted past the board's and no further group"},
        {{{}, {}}, {{5}, {5}}, "ungrouped objects become one new group"},
        {{{1}, {}}, {{6, 7}, {7}}, "a group and a loose object: a new outermost group"},
    };
    for (const auto& r : rows) {
        LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
        ObjectList& list = *doc.currentObjects();
        addPad(list, {500, -500}, 60).Groups = {4};
        ObjectList macro;
        for (const auto& groups : r.macroGroups)
            addPad(macro, {static_cast<int32_t>(macro.size()) * 300, 0}, 60, 1, Layer::MacroCopper).Groups = groups;
        EditSession session;
        DropMacro(session, doc, macro, {2000, -2000});
        for (size_t i = 0; i < r.expected.size(); ++i)
            EXPECT_EQ(list[1 + i].Groups, r.expected[i]) << r.why;
        EXPECT_EQ(list[0].Groups, (std::vector<int32_t>{4}));
    }
}

// The indices of a macro file point nowhere on the board: they are read
// and never followed.
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

    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    EditSession session;
    DropMacro(session, doc, m, {1016, -1016});
    const ObjectList& list = *doc.currentObjects();
    for (const auto& o : list)
        EXPECT_TRUE(o->Connections.empty());
    ASSERT_EQ(list.size(), 3u) << "the via's partner made on the drop";
    EXPECT_EQ(list[0].Partner, &list[2]);
}

} // namespace
