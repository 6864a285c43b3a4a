#include "EditBoard.h"
#include "edit/Clipboard.h"
#include "edit/Selection.h"
#include "edit/Undo.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

long indexIn(const ObjectList& list, const LayoutObject* o)
{
    return o ? list.indexOf(o) : -1;
}

std::vector<long> bandsOf(const ObjectList& list, size_t i)
{
    std::vector<long> out;
    for (const LayoutObject* peer : list[i].Connections)
        out.push_back(indexIn(list, peer));
    return out;
}

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
        EXPECT_EQ(indexIn(list, copy.RouteFrom), 3);
        EXPECT_EQ(indexIn(list, copy.RouteTo), copyBoth ? 4 : -1);
        EXPECT_EQ(bandsOf(list, 3), copyBoth ? std::vector<long>{4} : std::vector<long>{});
        EXPECT_EQ(bandsOf(list, 0), std::vector<long>{1}) << "the originals keep theirs";
        EXPECT_EQ(indexIn(list, t.RouteTo), 1);
    }
}

TEST(Clipboard, PasteOnAnotherBoardStepsFurtherEachTime)
{
    test::EditBoard d;
    test::addPad(d.objects(), {1000, -1000}, 50, 1, Layer::K2).Selected = 1;
    LayoutObject& label = d.objects().append(makeText({1000, -2000}, "A", 0, 100, 1300, -1900, Layer::B2));
    label.Selected = 1;
    auto [v1, v2] = test::addVia(d.objects(), {3000, -3000});
    v1->Selected = v2->Selected = 1;
    CopySelection(d.session, d.doc);
    d.doc.newBoard(Language::English);
    d.doc.Working.Grid = 254;
    ResetUndoHistory(d.session, d.doc);
    ASSERT_EQ(d.doc.Working.ActiveLayer, Layer::K1);
    Paste(d.session, d.doc);
    Paste(d.session, d.doc);
    ObjectList& list = d.objects();
    ASSERT_EQ(list.size(), 8u);
    EXPECT_EQ(list[0].centre(), (Point{1254, -1254}));
    EXPECT_EQ(list[4].centre(), (Point{1508, -1508})) << "the second paste one more step";
    EXPECT_EQ(list[0].Layer, Layer::K1) << "to the active side";
    EXPECT_EQ(list[1].Layer, Layer::B1);
    EXPECT_EQ((std::array{list[1].X1, list[1].Y1, list[1].X2, list[1].Y2}), (std::array{1254, -2254, 1554, -2154}));
    EXPECT_EQ(list[3].Layer, Layer::K2) << "via pads keep their layers";
    EXPECT_EQ(list[2].Partner, list.at(3));
    EXPECT_EQ(SelectedCount(list), 4u) << "only the latest paste is selected";
    EXPECT_EQ(list[4].Groups, (std::vector<int32_t>{2})) << "each paste one group";
}

TEST(Clipboard, EveryListChangeEndsThePointerOperationFirst)
{
    const std::pair<const char*, void (*)(EditSession&, LayoutDocument&)> commands[] = {
        {"paste", Paste},
        {"cut", CutSelection},
        {"duplicate", Duplicate},
        {"delete", DeleteSelection},
        {"delete one object", [](EditSession& s, LayoutDocument& d) { DeleteObject(s, d, 0); }},
    };
    for (const auto& [name, command] : commands) {
        test::EditBoard d;
        test::addPad(d.objects(), {0, 0}, 50).Selected = 1;
        CopySelection(d.session, d.doc);
        EXPECT_EQ(d.ended, 0) << "copying leaves the list alone";
        command(d.session, d.doc);
        EXPECT_EQ(d.ended, 1) << name;
    }
}

// A paste with an empty clipboard only deselects and takes a snapshot;
// DeleteObject serves commands that took their snapshot already.
TEST(Clipboard, DeleteObjectTakesNoSnapshot)
{
    test::EditBoard d;
    test::addPad(d.objects(), {0, 0}, 50).Selected = 1;
    test::addPad(d.objects(), {1000, 0}, 50);
    DeleteSelection(d.session, d.doc);
    DeleteObject(d.session, d.doc, 0);
    ASSERT_TRUE(d.objects().empty());
    ASSERT_TRUE(Undo(d.session, d.doc));
    EXPECT_EQ(d.objects().size(), 2u) << "back before DeleteSelection";
}

} // namespace
} // namespace kestrel
