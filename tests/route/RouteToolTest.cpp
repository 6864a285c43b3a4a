#include "route/ConnectTool.h"
#include "route/RouteTool.h"
#include "route/RubberBands.h"

#include "ToolBoard.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

TEST(RouteTool, PointerOnBandWithinThreePixels)
{
    const struct {
        Pixel a, b, p;
        bool on;
    } cases[] = {
        {{0, 0}, {100, 0}, {50, 3}, true},
        {{0, 0}, {100, 0}, {50, 4}, false},
        // A steep band is measured vertically: one pixel beside it is ten off.
        {{0, 0}, {10, 100}, {5, 52}, true},
        {{0, 0}, {10, 100}, {6, 50}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PointerOnBand(c.a, c.b, c.p), c.on)
            << c.a.x << "," << c.a.y << " to " << c.b.x << "," << c.b.y << " at " << c.p.x << "," << c.p.y;
}

namespace {

// At the default zoom 0.1 a pixel is 10 units. 0/1: pads on K1 with a band
// along pixel row 100; 2: a router-laid track along row 300; 3: an ordinary
// track along row 400; 4/5: pads on K2 with a band along row 500.
struct Picks : ToolBoard {
    Picks()
    {
        LayoutObject& p = addPad(objects(), {1000, -1000}, 50);
        LayoutObject& q = addPad(objects(), {3000, -1000}, 50);
        addBand(p, q);
        LayoutObject& laid = addTrack(objects(), {{1000, -3000}, {3000, -3000}});
        laid.Routed = 1;
        addTrack(objects(), {{1000, -4000}, {3000, -4000}});
        LayoutObject& r = addPad(objects(), {1000, -5000}, 50, 1, 3);
        addBand(r, addPad(objects(), {3000, -5000}, 50, 1, 3));
        doc.Working.LayerVisible = {1, 1, 1, 1};
    }
};

} // namespace

// The pointer moving over the board: a band of the active layer wins over a
// laid track, and a move that changes no selection repaints nothing.
TEST(RouteTool, PickRouteTargetPrefersBandsThenLaidTracks)
{
    const struct {
        const char* name;
        Pixel pointer;
        uint32_t activeLayer;
        PickState state;
        std::vector<size_t> selected;
        bool repainted;
    } moves[] = {
        {"on the band", {200, 100}, 1, PickState::Band, {0, 1}, true},
        {"over a pad at the band's end", {100, 100}, 1, PickState::Band, {0, 1}, false},
        {"a laid track", {200, 300}, 1, PickState::RoutedTrack, {2}, true},
        {"an ordinary track", {200, 400}, 1, PickState::Nothing, {}, true},
        {"still nothing", {250, 200}, 1, PickState::Nothing, {}, false},
        {"the band of the active layer K2", {200, 500}, 3, PickState::Band, {4, 5}, true},
        {"a K2 band from K1", {200, 500}, 1, PickState::Nothing, {}, true},
    };
    Picks board;
    board.at(3).Selected = 1;
    for (const auto& m : moves) {
        board.doc.Working.ActiveLayer = m.activeLayer;
        const Viewport viewport(board.doc.Working);
        const RoutePick pick = PickRouteTarget(board.objects(), board.freshIndex(), viewport, m.pointer);
        EXPECT_EQ(pick.state, m.state) << m.name;
        EXPECT_EQ(board.selected(), m.selected) << m.name;
        EXPECT_EQ(pick.change.repaint.has_value(), m.repainted) << m.name;
    }
    // With more selected (Select all), the pick becomes the selection: a
    // click routes or unroutes what is under the pointer.
    for (const auto& [pointer, expected] : {std::pair{Pixel{200, 100}, std::vector<size_t>{0, 1}},
                                            std::pair{Pixel{200, 300}, std::vector<size_t>{2}}}) {
        board.doc.Working.ActiveLayer = 1;
        for (auto& o : board.objects())
            o->Selected = 1;
        const Viewport viewport(board.doc.Working);
        PickRouteTarget(board.objects(), board.freshIndex(), viewport, pointer);
        EXPECT_EQ(board.selected(), expected);
    }
}

namespace {

// Pads P and Q with a band, a little off their cells' centres, on a board
// of the default size (the same pair the autorouter's own tests route).
struct BandBoard : ToolBoard {
    explicit BandBoard(Point to = {2030, -1010})
    {
        LayoutObject& p = addPad(objects(), {1010, -990}, 50);
        addBand(p, addPad(objects(), to, 50));
        ResetUndoHistory(session, doc); // as after loading the board
    }
    RouteRun route(const RouteObserver& observer = {})
    {
        RouteGrid grid;
        return RouteSelectedBand(session, doc, RouteSettingsFor(0.2, 0.1, Layer::K1, 40), observer, grid);
    }
};

} // namespace

TEST(RouteTool, RouteThenUnrouteRestoresTheBand)
{
    BandBoard board;
    EXPECT_FALSE(board.route().started); // no band picked yet
    board.at(0).Selected = board.at(1).Selected = 1;
    const RouteRun run = board.route();
    ASSERT_TRUE(run.started && run.result.routed);
    EXPECT_TRUE(run.change.repaint);
    EXPECT_EQ(std::tuple(board.at(2).Width, board.at(2).Clearance), std::tuple(20, 40));
    EXPECT_EQ(UnrouteSelectedTrack(board.session, board.doc).outcome, UnrouteOutcome::BandRestored);
    // Nothing selected is left to unroute, and that takes no step.
    EXPECT_EQ(UnrouteSelectedTrack(board.session, board.doc).outcome, UnrouteOutcome::NoTrack);
    EXPECT_EQ(board.session.undoSteps(), 2u);
}

TEST(RouteTool, ARunThatFindsNoWayTakesNoUndoStep)
{
    BandBoard board;
    // A ring of foreign copper all round the target.
    board.objects().append(makeCircle({2030, -1010}, 300, 1, Layer::K1, 260));
    board.at(0).Selected = board.at(1).Selected = 1;
    std::vector<RouteStatus> said;
    RouteObserver observer;
    observer.status = [&](RouteStatus s, const std::string&) { said.push_back(s); };
    const RouteRun run = board.route(observer);
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.result.routed);
    EXPECT_EQ(said.front(), RouteStatus::Analysing);
    EXPECT_EQ(said.back(), RouteStatus::NoPath);
    EXPECT_EQ(board.state(), "P1 P0 O ");
    EXPECT_FALSE(board.session.canUndo() || board.doc.Modified);
}

TEST(ToolUndo, EveryBandAndRouteOperationIsOneStepBack)
{
    const struct {
        const char* name;
        void (*setup)(BandBoard&);
        void (*operation)(BandBoard&);
        const char* after;
    } cases[] = {
        {"band removed", [](BandBoard&) {}, [](BandBoard& b) { ToggleBand(b.session, b.doc, 1, 0); }, "P P "},
        {"bands cleared", [](BandBoard& b) { addTrack(b.objects(), {{1010, -990}, {2030, -1010}}); },
         [](BandBoard& b) { ClearConnections(b.session, b.doc); }, "P P T "},
        {"band routed", [](BandBoard& b) { b.at(0).Selected = b.at(1).Selected = 1; },
         [](BandBoard& b) { b.route(); }, "P P R "},
        {"track unrouted",
         [](BandBoard& b) {
             b.at(0).Selected = b.at(1).Selected = 1;
             b.route();
         },
         [](BandBoard& b) { UnrouteSelectedTrack(b.session, b.doc); }, "P1 P0 "},
    };
    for (const auto& c : cases) {
        BandBoard board;
        c.setup(board);
        ResetUndoHistory(board.session, board.doc);
        const std::string before = board.state();
        c.operation(board);
        EXPECT_EQ(board.state(), c.after) << c.name;
        EXPECT_EQ(board.session.undoSteps(), 1u) << c.name;
        EXPECT_TRUE(board.doc.Modified) << c.name;
        ASSERT_TRUE(Undo(board.session, board.doc)) << c.name;
        EXPECT_EQ(board.state(), before) << c.name;
    }
}
