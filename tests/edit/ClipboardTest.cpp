#include "EditBoard.h"
#include "edit/Clipboard.h"
#include "edit/Selection.h"
#include "edit/Undo.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

// Bands and a routed track's ends follow the copy where both ends were
// copied, and are dropped where one was not.
TEST(Clipboard, ReferencesSurviveOnlyBetweenCopiedObjects)
{
    for (const bool copyBoth : {true, false}) {
        SCOPED_TRACE(copyBoth ? "both pads copied" : "one pad copied");
        test::EditBoard d;
        ObjectList& list = d.objects();
        LayoutObject& a = test::addPad(list, {1000, -1000}, 50);
        LayoutObject& b = test::addPad(list, {2000, -1000}, 50);
        test::addBand(a, b);
        LayoutObject& t = test::addTrack(list, {{1000, -1000}, {2000, -1000}});
        t.Routed = 1;
        t.RouteFrom = &a;
        t.RouteTo = &b;
        a.Selected = t.Selected = 1;
        b.Selected = copyBoth ? 1 : 0;
        Duplicate(d.session, d.doc);
        // The copies follow in list order: a's at 3, then b's, then the track's.
        ASSERT_EQ(list.size(), copyBoth ? 6u : 5u);
        const LayoutObject& copy = list[list.size() - 1];
        ASSERT_TRUE(copy.is(ObjectKind::Track));
        using Peers = std::vector<LayoutObject*>;
        EXPECT_EQ(copy.RouteFrom, list.at(3));
        EXPECT_EQ(copy.RouteTo, copyBoth ? list.at(4) : nullptr);
        EXPECT_EQ(list[3].Connections, copyBoth ? Peers{list.at(4)} : Peers{});
        EXPECT_EQ(list[0].Connections, Peers{&b}) << "the originals keep theirs";
    }
}

TEST(Clipboard, PasteOnAnotherBoardStepsFurtherEachTime)
{
    test::EditBoard d;
    test::addPad(d.objects(), {1000, -1000}, 50, 1, Layer::K2).Selected = 1;
    auto [v1, v2] = test::addVia(d.objects(), {3000, -3000});
    v1->Selected = v2->Selected = 1;
    CopySelection(d.session, d.doc);
    d.doc.newBoard(Language::English);
    d.doc.Working.Grid = 254;
    ResetUndoHistory(d.session, d.doc);
    Paste(d.session, d.doc);
    Paste(d.session, d.doc);
    ObjectList& list = d.objects();
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list[0].centre(), (Point{1254, -1254}));
    EXPECT_EQ(list[3].centre(), (Point{1508, -1508})) << "the second paste one more step";
    EXPECT_EQ(list[0].Layer, Layer::K1) << "to the active side";
    EXPECT_EQ(list[2].Layer, Layer::K2) << "via pads keep their layers";
    EXPECT_EQ(d.doc.Working.LayerVisible, (std::array<uint8_t, 4>{1, 1, 1, 0})) << "and K2 comes into sight";
    EXPECT_EQ(list[1].Partner, list.at(2));
    EXPECT_EQ(SelectedCount(list), 3u) << "only the latest paste is selected";
    EXPECT_EQ(list[3].Groups, (std::vector<int32_t>{2})) << "each paste one group";

    // Onto a board too small for where they would land: back at the edge, on
    // the grid, rather than off the board where the next save drops them.
    d.doc.Working.BoardWidth = d.doc.Working.BoardHeight = 4200;
    for (int i = 0; i < 3; ++i)
        Paste(d.session, d.doc);
    // Five steps out from (1000, -1000) and (3000, -3000), one back, no further
    // than needed: all together, the pad pasted first too.
    EXPECT_EQ(list[list.size() - 3].centre(), (Point{2016, -2016}));
    EXPECT_EQ(list[list.size() - 2].centre(), (Point{4016, -4016}));
}

// A selection wider than the board, duplicated: the step to the right would
// leave the copy of the pad at the right edge wholly off the board, where the
// next save drops it.
TEST(Clipboard, ADuplicateWiderThanTheBoardKeepsEveryObjectOnIt)
{
    test::EditBoard d;
    d.doc.Working.BoardWidth = 10000, d.doc.Working.BoardHeight = 6500, d.doc.Working.Grid = 254;
    ObjectList& list = d.objects();
    list.append(makeCircle({-100, -3000}, 260, 0, Layer::K1, 20)).Selected = 1; // partly off at the left
    test::addPad(list, {9900, -3000}, 75).Selected = 1;
    Duplicate(d.session, d.doc);
    ASSERT_EQ(list.size(), 4u);
    for (size_t i = 2; i < 4; ++i)
        EXPECT_FALSE(liesOffBoard(list[i], d.doc.Working.boardRect())) << i;
    EXPECT_EQ((list[3].centre().x - list[1].centre().x) % 254, 0) << "still in grid steps";
}

// DeleteObject serves commands that took their snapshot already.
TEST(Clipboard, DeleteObjectTakesNoSnapshot)
{
    test::EditBoard d;
    test::addPad(d.objects(), {0, 0}, 50).Selected = 1;
    test::addPad(d.objects(), {1000, 0}, 50);
    CopySelection(d.session, d.doc);
    DeleteSelection(d.session, d.doc);
    DeleteObject(d.session, d.doc, 0);
    EXPECT_EQ(d.ended, 2) << "each list change ends the pointer operation first";
    ASSERT_TRUE(d.objects().empty());
    ASSERT_TRUE(Undo(d.session, d.doc));
    EXPECT_EQ(d.objects().size(), 2u) << "back before DeleteSelection";
}

} // namespace
} // namespace kestrel
