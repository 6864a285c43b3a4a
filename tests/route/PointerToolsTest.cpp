#include "route/ConnectTool.h"
#include "route/TestTool.h"

#include "ToolBoard.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// 0 pad A at (10, -10) mm on K1, 1 track from A to the via, 2/3 the via's
// pads on K1/K2, 4 a K2 track from the via down, 5 a lone pad C, 6 silk
// over C, 7 a K1 track under the K2 track's end (no via there).
struct Net : ToolBoard {
    Net()
    {
        addPad(objects(), {1000, -1000}, 80);
        addTrack(objects(), {{1000, -1000}, {3000, -1000}});
        addVia(objects(), {3000, -1000});
        addTrack(objects(), {{3000, -1000}, {3000, -3000}}, 40, 3);
        addPad(objects(), {5000, -1000}, 80);
        objects().append(makeLine({4500, -1000}, {5500, -1000}, 20, 2));
        addTrack(objects(), {{3000, -3000}, {4000, -3000}}, 40, 1);
        ResetUndoHistory(session, doc); // as after loading the board
    }
};

} // namespace

TEST(TestTool, SelectsTheCopperJoinedToTheObjectUnderThePointer)
{
    const struct {
        const char* name;
        Point at;
        long picked;
        std::vector<size_t> selected;
    } cases[] = {
        {"a pad: its track, the via and the other side", {1000, -1000}, 0, {0, 1, 2, 3, 4}},
        {"a lone pad under silk: the pad wins, the silk is not copper", {5000, -1000}, 5, {5}},
        {"empty board clears the selection", {8000, -8000}, -1, {}},
    };
    for (const auto& c : cases) {
        Net board;
        board.doc.Working.LayerVisible = {1, 1, 1, 1};
        board.at(5).Selected = board.at(6).Selected = 1; // left over from before
        board.at(0).Groups = board.at(5).Groups = {7};   // a group joins nothing
        const ConnectionTestResult r =
            TestConnectionAt(board.objects(), board.freshIndex(), board.doc.Working, c.at);
        EXPECT_EQ(r.picked, c.picked) << c.name;
        EXPECT_EQ(board.selected(), c.selected) << c.name;
        EXPECT_EQ(r.connected, c.selected.size()) << c.name;
        EXPECT_TRUE(r.change.repaint) << c.name; // the old selection's colour changes in every case
        EXPECT_FALSE(board.session.canUndo()) << c.name;
    }
}

// The pointer moving over the board: the pad under it, then the selection
// and whether anything had to be repainted.
TEST(ConnectTool, HighlightFollowsThePointerFromPadToPad)
{
    const struct {
        Point at;
        uint32_t activeLayer;
        long pad;
        std::vector<size_t> selected;
        bool repainted;
    } moves[] = {
        {{1050, -1000}, 1, 0, {0}, true},     // pad A over its track's end: pads win
        {{1000, -1000}, 1, 0, {0}, false},    // still on the same pad
        {{2000, -2000}, 1, -1, {}, true},     // off the pads
        {{3000, -1000}, 1, 2, {2, 3}, true},  // the via's side-1 pad comes with its partner
        {{3000, -1000}, 3, 3, {2, 3}, false}, // its side-2 pad from side 2: the same selection
    };
    Net board;
    board.doc.Working.LayerVisible = {1, 1, 1, 1};
    long highlighted = -1;
    bool selectedByHighlight = false;
    for (const auto& m : moves) {
        board.doc.Working.ActiveLayer = m.activeLayer;
        const long pad = PadForConnecting(board.freshIndex(), board.doc.Working, m.at);
        EXPECT_EQ(pad, m.pad) << m.at.x << "," << m.at.y << " on " << m.activeLayer;
        const BoardChange change = HighlightPadForConnecting(board.objects(), highlighted, pad, selectedByHighlight);
        EXPECT_EQ(board.selected(), m.selected) << "pad " << pad;
        EXPECT_EQ(highlighted, pad);
        EXPECT_EQ(change.repaint.has_value(), m.repainted) << "pad " << pad;
    }
    // An index the list no longer has only drops the highlight.
    const BoardChange change = HighlightPadForConnecting(board.objects(), highlighted, 999, selectedByHighlight);
    EXPECT_EQ(board.selected(), std::vector<size_t>{});
    EXPECT_EQ(highlighted, -1);
    EXPECT_TRUE(change.repaint);

    // A pad the user selected is shown as it is, and stays selected when
    // the pointer leaves it.
    board.objects()[0].Selected = 1;
    HighlightPadForConnecting(board.objects(), highlighted, 0, selectedByHighlight);
    EXPECT_FALSE(selectedByHighlight);
    HighlightPadForConnecting(board.objects(), highlighted, -1, selectedByHighlight);
    EXPECT_EQ(board.selected(), std::vector<size_t>{0});
}

TEST(ConnectTool, PressesDrawABandAndTheSameBandAgainRemovesIt)
{
    Net board;
    // Each press with the pad then highlighted: what it did, the start pad
    // afterwards and the bands.
    const struct {
        long highlighted;
        BandEdit edit;
        long start;
        const char* state;
    } presses[] = {
        {-1, BandEdit::None, -1, "P T P P T P O T "},   // away from pads
        {0, BandEdit::Started, 0, "P T P P T P O T "},
        {0, BandEdit::None, 0, "P T P P T P O T "},     // the start pad again
        {5, BandEdit::Added, -1, "P5 T P P T P0 O T "},
        {5, BandEdit::Started, 5, "P5 T P P T P0 O T "},
        {0, BandEdit::Removed, -1, "P T P P T P O T "}, // drawn the other way round
    };
    long start = -1;
    size_t steps = 0;
    for (const auto& p : presses) {
        const ConnectPress r = ConnectToolPress(board.session, board.doc, start, p.highlighted);
        EXPECT_EQ(r.edit, p.edit) << p.state;
        EXPECT_EQ(start, p.start) << p.state;
        EXPECT_EQ(board.state(), p.state);
        const bool changed = p.edit == BandEdit::Added || p.edit == BandEdit::Removed;
        steps += changed ? 1 : 0;
        EXPECT_EQ(board.session.undoSteps(), steps) << p.state;
        EXPECT_EQ(r.change.repaint.has_value(), changed) << p.state;
    }
}

TEST(ConnectTool, ToggleRefusesWhatIsNoPairOfPads)
{
    const struct {
        const char* name;
        size_t a, b;
    } cases[] = {
        {"a pad and a track", 0, 1},
        {"beyond the list", 0, 42},
    };
    for (const auto& c : cases) {
        Net board;
        const std::string before = board.state();
        EXPECT_EQ(ToggleBand(board.session, board.doc, c.a, c.b), BandEdit::None) << c.name;
        EXPECT_EQ(board.state(), before) << c.name;
        EXPECT_FALSE(board.session.canUndo() || board.doc.Modified) << c.name;
    }
}
