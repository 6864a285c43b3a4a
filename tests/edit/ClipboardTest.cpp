#include "edit/Clipboard.h"
#include "edit/Selection.h"
#include "edit/Undo.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

struct Doc {
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    EditSession session;
    int ended = 0;
    Doc()
    {
        doc.Working.Grid = 100;
        session.EndPointerOperation = [this] { ++ended; };
        ResetUndoHistory(session, doc);
    }
    ObjectList& objects() { return *doc.currentObjects(); }
};

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

TEST(Clipboard, BandsSurviveOnlyBetweenCopiedPads)
{
    for (const bool copyBoth : {true, false}) {
        Doc d;
        LayoutObject& a = test::addPad(d.objects(), {1000, -1000}, 50);
        LayoutObject& b = test::addPad(d.objects(), {2000, -1000}, 50);
        test::addBand(a, b);
        a.Selected = 1;
        b.Selected = copyBoth ? 1 : 0;
        CopySelection(d.session, d.doc);
        Paste(d.session, d.doc);
        ObjectList& list = d.objects();
        ASSERT_EQ(list.size(), copyBoth ? 4u : 3u);
        if (copyBoth) {
            EXPECT_EQ(bandsOf(list, 2), std::vector<long>{3});
            EXPECT_EQ(bandsOf(list, 3), std::vector<long>{2});
        } else {
            EXPECT_TRUE(list[2].Connections.empty()) << "the band to an uncopied pad is dropped";
        }
        EXPECT_EQ(bandsOf(list, 0), std::vector<long>{1}) << "the originals keep theirs";
    }
}

TEST(Clipboard, PasteOnAnotherBoardStepsFurtherEachTime)
{
    Doc d;
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
    EXPECT_EQ(list[2].Layer, Layer::K1) << "via pads keep their layers";
    EXPECT_EQ(list[3].Layer, Layer::K2);
    EXPECT_EQ(list[2].Partner, list.at(3));
    EXPECT_EQ(SelectedCount(list), 4u) << "only the latest paste is selected";
    EXPECT_EQ(list[4].Groups, (std::vector<int32_t>{2})) << "each paste one group";
    EXPECT_EQ(d.doc.board(0).Objects.size(), 4u) << "the source board is untouched";
}

TEST(Clipboard, RoutedTrackEndsFollowTheCopy)
{
    for (const bool withEnds : {true, false}) {
        Doc d;
        LayoutObject& a = test::addPad(d.objects(), {1000, -1000}, 50);
        LayoutObject& b = test::addPad(d.objects(), {2000, -1000}, 50);
        LayoutObject& t = test::addTrack(d.objects(), {{1000, -1000}, {2000, -1000}});
        t.Routed = 1;
        t.RouteFrom = &a;
        t.RouteTo = &b;
        t.Selected = 1;
        a.Selected = b.Selected = withEnds ? 1 : 0;
        Duplicate(d.session, d.doc);
        ObjectList& list = d.objects();
        const LayoutObject& copy = list[list.size() - 1];
        ASSERT_TRUE(copy.is(ObjectKind::Track));
        EXPECT_EQ(indexIn(list, copy.RouteFrom), withEnds ? 3 : -1);
        EXPECT_EQ(indexIn(list, copy.RouteTo), withEnds ? 4 : -1);
    }
}

// References to removed objects are scrubbed by the list itself (model
// tests) and restored by Undo (UndoEveryCommand); here only what DeleteObject
// adds: it ends the pointer operation and takes no snapshot of its own.
TEST(Clipboard, DeleteObjectEndsThePointerOperationAndTakesNoSnapshot)
{
    Doc d;
    auto [v1, v2] = test::addVia(d.objects(), {0, 0});
    test::addPad(d.objects(), {1000, 0}, 50).Selected = 1;
    DeleteSelection(d.session, d.doc);
    DeleteObject(d.session, d.doc, 1);
    ASSERT_EQ(d.objects().size(), 1u);
    EXPECT_EQ(v1->Partner, nullptr) << "the remaining via pad loses its partner";
    EXPECT_EQ(d.ended, 2);
    ASSERT_TRUE(Undo(d.session, d.doc));
    EXPECT_EQ(d.objects().size(), 3u) << "back before DeleteSelection";
}

TEST(Clipboard, EveryListChangeEndsThePointerOperationFirst)
{
    const std::pair<const char*, void (*)(EditSession&, LayoutDocument&)> commands[] = {
        {"paste", Paste}, {"cut", CutSelection}, {"duplicate", Duplicate}, {"delete", DeleteSelection}};
    for (const auto& [name, command] : commands) {
        Doc d;
        test::addPad(d.objects(), {0, 0}, 50).Selected = 1;
        CopySelection(d.session, d.doc);
        EXPECT_EQ(d.ended, 0) << "copying leaves the list alone";
        command(d.session, d.doc);
        EXPECT_EQ(d.ended, 1) << name;
    }
}

TEST(Clipboard, PasteWithEmptyClipboardOnlyTakesASnapshot)
{
    Doc d;
    test::addPad(d.objects(), {0, 0}, 50).Selected = 1;
    d.doc.Modified = false;
    Paste(d.session, d.doc);
    EXPECT_EQ(d.objects().size(), 1u);
    EXPECT_EQ(SelectedCount(d.objects()), 0u);
    EXPECT_TRUE(d.doc.Modified);
}

} // namespace
} // namespace kestrel
