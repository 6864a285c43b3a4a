#include "route/ConnectTool.h"
#include "route/RouteTool.h"
#include "route/RubberBands.h"

#include "ToolBoard.h"
#include "geometry/Geometry.h"
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
        {{0, 0}, {100, 0}, {-3, 0}, true}, // beyond the end by the tolerance
        {{0, 0}, {100, 0}, {104, 0}, false},
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

TEST(RouteTool, PickRouteTargetPrefersBandsThenLaidTracks)
{
    const struct {
        const char* name;
        Pixel pointer;
        uint32_t activeLayer;
        PickState state;
        std::vector<size_t> selected;
    } cases[] = {
        {"on the band", {200, 100}, 1, PickState::Band, {0, 1}},
        {"over a pad at the band's end", {100, 100}, 1, PickState::Band, {0, 1}},
        {"a laid track", {200, 300}, 1, PickState::RoutedTrack, {2}},
        {"an ordinary track", {200, 400}, 1, PickState::Nothing, {}},
        {"the band of the active layer K2", {200, 500}, 3, PickState::Band, {4, 5}},
        {"a K2 band from K1", {200, 500}, 1, PickState::Nothing, {}},
    };
    for (const auto& c : cases) {
        Picks board;
        board.doc.Working.ActiveLayer = c.activeLayer;
        board.at(3).Selected = 1;
        const Viewport viewport(board.doc.Working);
        const RoutePick pick = PickRouteTarget(board.objects(), board.freshIndex(), viewport, c.pointer);
        EXPECT_EQ(pick.state, c.state) << c.name;
        EXPECT_EQ(board.selected(), c.selected) << c.name;
    }
}

TEST(RouteTool, MovingAlongThePickedBandRepaintsNothing)
{
    Picks board;
    const Viewport viewport(board.doc.Working);
    const struct {
        Pixel pointer;
        PickState state;
        bool repainted;
    } moves[] = {
        {{150, 100}, PickState::Band, true},
        {{250, 101}, PickState::Band, false},
        {{250, 200}, PickState::Nothing, true},
        {{250, 210}, PickState::Nothing, false},
    };
    for (const auto& m : moves) {
        const RoutePick pick = PickRouteTarget(board.objects(), board.freshIndex(), viewport, m.pointer);
        EXPECT_EQ(pick.state, m.state) << m.pointer.x << "," << m.pointer.y;
        EXPECT_EQ(pick.change.repaint.has_value(), m.repainted) << m.pointer.x << "," << m.pointer.y;
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
    RouteRun route()
    {
        RouteGrid grid;
        return RouteSelectedBand(session, doc, RouteSettingsFor(0.2, 0.1, Layer::K1, 40), {}, grid);
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
    const LayoutObject& track = board.at(2);
    EXPECT_EQ(std::tuple(track.Width, track.Clearance), std::tuple(20, 40));
    ASSERT_TRUE(run.change.repaint);
    EXPECT_EQ(run.change.repaint->united(BoundingRect(track)), *run.change.repaint);

    const UnrouteRun back = UnrouteSelectedTrack(board.session, board.doc);
    EXPECT_EQ(back.outcome, UnrouteOutcome::BandRestored);
    ASSERT_TRUE(back.change.repaint);
    EXPECT_EQ(back.change.repaint->united(BoundingRect(board.at(1))), *back.change.repaint);
    // Nothing selected is left to unroute, and that takes no step.
    EXPECT_EQ(UnrouteSelectedTrack(board.session, board.doc).outcome, UnrouteOutcome::NoTrack);
    EXPECT_EQ(board.session.undoSteps(), 2u);
}

TEST(RouteTool, ARunThatFindsNoWayTakesNoUndoStep)
{
    BandBoard board({1000, -40}); // the target lies in row 0, which the wave never enters
    board.at(0).Selected = board.at(1).Selected = 1;
    std::vector<RouteStatus> said;
    RouteObserver observer;
    observer.status = [&](RouteStatus s, const std::string&) { said.push_back(s); };
    RouteGrid grid;
    const RouteRun run =
        RouteSelectedBand(board.session, board.doc, RouteSettingsFor(0.4, 0.2, Layer::K1, 40), observer, grid);
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.result.routed);
    EXPECT_EQ(said.front(), RouteStatus::Analysing);
    EXPECT_EQ(said.back(), RouteStatus::NoPath);
    EXPECT_EQ(board.state(), "P1 P0 ");
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
        {"band added", [](BandBoard& b) { ToggleBand(b.session, b.doc, 0, 1); },
         [](BandBoard& b) { ToggleBand(b.session, b.doc, 0, 1); }, "P1 P0 "},
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
