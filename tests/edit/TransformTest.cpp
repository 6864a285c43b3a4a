#include "EditBoard.h"
#include "edit/Corners.h"
#include "edit/Selection.h"
#include "edit/Transform.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "route/Autorouter.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

// One object of every kind, not lying symmetrically about any point.
std::vector<LayoutObject> everyKind()
{
    LayoutObject zone = makeZone(20, Layer::K1);
    zone.Points = {{0, 0}, {300, -50}, {120, 400}};
    LayoutObject track = makeTrack(40, Layer::K2);
    track.Points = {{-70, 10}, {500, 10}, {500, -333}};
    LayoutObject circle = makeCircle({130, -70}, 200, 1, Layer::B1, 150);
    circle.setArcStartDegrees(30);
    circle.setArcStopDegrees(100);
    return {makeLine({-10, 40}, {250, -90}, 20, Layer::B1), makePad({17, -33}, 60, 5, Layer::K1, 20),
            makeText({100, -200}, "R1", 0, 150, 420, -50, Layer::B2), zone, track, circle};
}

bool sameGeometry(const LayoutObject& a, const LayoutObject& b)
{
    return a.X1 == b.X1 && a.Y1 == b.Y1 && a.X2 == b.X2 && a.Y2 == b.Y2 && a.Width == b.Width && a.Angle == b.Angle &&
           a.Shape == b.Shape && a.Points == b.Points;
}

TEST(Transform, FourTurnsAreTheIdentity)
{
    const Point c{254, -508};
    for (const LayoutObject& original : everyKind()) {
        LayoutObject o = original;
        for (int i = 0; i < 4; ++i) {
            RotateObject(o, c);
            EXPECT_EQ(sameGeometry(o, original), i == 3) << "kind " << int(o.Kind) << " after " << i + 1 << " turns";
        }
    }
}

TEST(Transform, PadShapesUnderTurns)
{
    const uint8_t turned[] = {0, 1, 2, 3, 7, 8, 9, 4, 5, 6};
    for (uint8_t shape = 1; shape <= 9; ++shape) {
        LayoutObject pad = makePad({100, 0}, 50, shape, Layer::K1, 20);
        RotateObject(pad, {0, 0});
        EXPECT_EQ(pad.Shape, turned[shape]) << int(shape);
    }
}

TEST(Transform, ArcAnglesStayCounterClockwise)
{
    LayoutObject turned = makeCircle({0, 0}, 100, 1, Layer::K1, 80);
    turned.setArcStopDegrees(90); // a quarter arc from 0 to 90 degrees
    LayoutObject mirrored = turned;
    RotateObject(turned, {0, 0});
    EXPECT_EQ((std::pair{turned.arcStartDegrees(), turned.arcStopDegrees()}), (std::pair{270, 0}));
    MirrorObjectHorizontal(mirrored, 0);
    EXPECT_EQ((std::pair{mirrored.arcStartDegrees(), mirrored.arcStopDegrees()}), (std::pair{90, 180}));
    // Upside down about y = -100, the arc from 30 to 100 degrees about
    // (130, -70) runs from -100 to -30 about (130, -130); the left-to-right
    // mirror's 80 to 150 would put it in the upper half.
    LayoutObject flipped = everyKind()[5];
    MirrorObjectVertical(flipped, -100);
    EXPECT_EQ((std::array{flipped.X1, flipped.Y1, flipped.arcStartDegrees(), flipped.arcStopDegrees()}),
              (std::array{130, -130, 260, 330}));
}

// Lines, zones and tracks mirrored about x = 100 and about y = -100: every
// point reflected, in its place in the list, and a line's ends ordered again
// (by x, then the upper one first).
TEST(Transform, MirrorsReflectEveryPoint)
{
    const auto points = [](const LayoutObject& o) {
        return o.is(ObjectKind::Line) ? std::vector<Point>{{o.X1, o.Y1}, {o.X2, o.Y2}}
                                      : std::vector<Point>(o.Points.begin(), o.Points.end());
    };
    const std::vector<LayoutObject> kinds = everyKind();
    // The object, then its points mirrored left to right and upside down.
    const std::tuple<const char*, LayoutObject, std::vector<Point>, std::vector<Point>> rows[] = {
        {"line", kinds[0], {{-50, -90}, {210, 40}}, {{-10, -240}, {250, -110}}},
        {"upright line", makeLine({5, 0}, {5, -100}, 20, Layer::B1), {{195, 0}, {195, -100}}, {{5, -100}, {5, -200}}},
        {"zone", kinds[3], {{200, 0}, {-100, -50}, {80, 400}}, {{0, -200}, {300, -150}, {120, -600}}},
        {"track", kinds[4], {{270, 10}, {-300, 10}, {-300, -333}}, {{-70, -210}, {500, -210}, {500, 133}}},
    };
    for (const auto& [what, original, horizontal, vertical] : rows) {
        LayoutObject h = original, v = original;
        MirrorObjectHorizontal(h, 100);
        MirrorObjectVertical(v, -100);
        EXPECT_EQ(points(h), horizontal) << what << " left to right";
        EXPECT_EQ(points(v), vertical) << what << " upside down";
    }
}

TEST(Transform, LabelBoxes)
{
    LayoutObject label = makeText({0, 0}, "A", 270, 100, 200, 100, Layer::B1);
    RotateObject(label, {0, 0});
    EXPECT_EQ((std::array{label.X1, label.Y1, label.X2, label.Y2, label.Angle}), (std::array{0, 0, 100, -200, 0}));
    LayoutObject flipped = makeText({0, 0}, "A", 90, 100, 200, 100, Layer::B1);
    MirrorObjectHorizontal(flipped, 1000);
    EXPECT_EQ((std::array{flipped.X1, flipped.X2, flipped.Angle}), (std::array{1800, 2000, 90}))
        << "the box is mirrored, the writing keeps its angle";
    MirrorObjectVertical(flipped, 0);
    EXPECT_EQ((std::array{flipped.Y1, flipped.Y2}), (std::array{-100, 0}));
}

// A point on the board whose nearest grid point lies beyond an edge takes
// the one before it, rounded as every other grid point is.
TEST(Transform, SnappingOntoTheBoard)
{
    BoardSettings board; // 16000 x 10000
    board.BoardHeight = 2500;
    const std::tuple<double, Point, Point, const char*> rows[] = {
        {254, {15990, -1000}, {15748, -1016}, "16002 lies beyond the right edge"},
        {254, {10, -10}, {0, 0}, "the top-left corner is a grid point"},
        {31.75, {1000, -2497}, {984, -2476}, "-78.5 steps: half units round to even"},
    };
    for (const auto& [grid, p, expected, why] : rows) {
        board.Grid = grid;
        EXPECT_EQ(snapPointOntoBoard(p, board), expected) << why;
    }
}

struct Board : test::EditBoard {
    Board() { doc.Working.Grid = 100; }
};

TEST(Transformations, MoveDeltaKeepsTheSelectionOnTheBoard)
{
    const Rect sel{1000, -3000, 2000, -1000};       // y from -3000 up to -1000
    const Rect hanging{15000, -3000, 16300, -1000}; // 3 mm over the right edge (a board made smaller)
    const Rect tall{1000, -12000, 2000, -200};      // 11800 high on the 16000 x 10000 board
    // Why, the selection's bounds, the grid, snapped, the move wanted, the move made.
    const std::tuple<const char*, Rect, double, bool, Point, Point> cases[] = {
        {"snapped", sel, 100, true, {120, -230}, {100, -200}},
        {"downwards stops at the bottom edge", sel, 100, false, {0, -9000}, {0, -7000}},
        // Limited first, then snapped: the move stays on the grid, short of the
        // edge by less than a step, and never past it (rounding 13900 or -1000
        // to the nearest step would).
        {"right", sel, 254, true, {20000, 0}, {13970, 0}},
        {"right, 100 wider", {1000, -3000, 2100, -1000}, 254, true, {20000, 0}, {13716, 0}},
        {"left", sel, 254, true, {-20000, 0}, {-762, 0}},
        {"hanging over an edge it may come back", hanging, 254, true, {-300, 0}, {-254, 0}},
        {"but goes no further out", hanging, 254, true, {1000, 0}, {0, 0}},
        {"a move of nothing moves nothing", hanging, 254, false, {0, 0}, {0, 0}},
        // Larger than the board (a circle hanging over the lower edge, a select
        // all): nothing is pushed off.
        {"it may move up by what lies free above it", tall, 100, false, {0, 900}, {0, 200}},
        {"not down", tall, 100, false, {0, -20000}, {0, 0}},
        {"nor by nothing", tall, 100, false, {0, 0}, {0, 0}},
        {"not at all over both edges", {-50, -10050, 16050, 50}, 100, true, {500, -500}, {0, 0}},
    };
    BoardSettings board;
    for (const auto& [why, bounds, grid, snap, wanted, expected] : cases) {
        board.Grid = grid;
        EXPECT_EQ(ClampMoveDelta(bounds, wanted, board, snap), expected) << why;
    }
}

// A paste beyond the edge comes back: wholly onto the board when it fits,
// else just over the whole board, so neither of its ends is pushed off.
TEST(Transformations, PastesComeBackOntoTheBoard)
{
    BoardSettings board; // 16000 x 10000
    board.Grid = 100;
    EXPECT_EQ(BackOntoBoard({15500, -3000, 16300, -1000}, board), (Point{-300, 0}));
    EXPECT_EQ(BackOntoBoard({1000, -3000, 2000, -1000}, board), (Point{0, 0}));
    // A copy of a select-all one step right and down, 11800 high.
    EXPECT_EQ(BackOntoBoard({1100, -12100, 2100, -300}, board), (Point{0, 300}));
    EXPECT_EQ(BackOntoBoard({1100, -12100, 2100, 100}, board), (Point{0, 0})) << "spans the board already";
}

TEST(Transformations, CommandsTurnTheSelectionAboutItsCentre)
{
    Board b;
    test::addPad(b.objects(), {1000, -1000}, 50, 4).Selected = 1;
    test::addPad(b.objects(), {1400, -1000}, 50, 4).Selected = 1;
    RotateSelection(b.session, b.doc);
    // Bounds 840..1560 by -1070..-930: centre (1200, -1000) on the grid.
    EXPECT_EQ(b.objects()[0].centre(), (Point{1200, -800}));
    EXPECT_EQ(b.objects()[1].centre(), (Point{1200, -1200}));
    MirrorVertical(b.session, b.doc);
    EXPECT_EQ(b.objects()[0].centre(), (Point{1200, -1200}));

    // An odd height: bounds -1191..-910 put the middle at -1050, measured
    // down from the upper edge, half a unit above -1050.5; that snaps to
    // -1000 where -1051 would snap to -1100.
    Board odd;
    test::addPad(odd.objects(), {2000, -1000}, 50).Selected = 1;
    test::addPad(odd.objects(), {2000, -1101}, 50).Selected = 1;
    RotateSelection(odd.session, odd.doc);
    EXPECT_EQ(odd.objects()[0].centre(), (Point{2000, -1000}));
    EXPECT_EQ(odd.objects()[1].centre(), (Point{1899, -1000}));
}

// A turn that would leave an object wholly off the board (the next save
// would drop it) moves the turned selection back by whole grid steps; one
// that cannot lie on the board turned is not turned and spends no undo step.
TEST(Transformations, TurnsKeepTheSelectionOnTheBoard)
{
    Board b;
    test::addPad(b.objects(), {15900, -5000}, 50).Selected = 1;
    test::addPad(b.objects(), {15900, -3000}, 50).Selected = 1;
    EXPECT_TRUE(RotateSelection(b.session, b.doc));
    // About (15900, -4000) the second pad would land at x = 16900, 950
    // beyond the edge: ten steps of 100 back.
    EXPECT_EQ(b.objects()[0].centre(), (Point{13900, -4000}));
    EXPECT_EQ(b.objects()[1].centre(), (Point{15900, -4000}));
    Undo(b.session, b.doc);
    EXPECT_EQ(b.objects()[1].centre(), (Point{15900, -3000}));

    Board wide;
    test::addPad(wide.objects(), {400, -5000}, 50).Selected = 1;
    test::addPad(wide.objects(), {15400, -5000}, 50).Selected = 1;
    ApplyMove(wide.session, wide.doc, {100, 0});
    wide.doc.Modified = false;
    EXPECT_FALSE(RotateSelection(wide.session, wide.doc)); // 15000 tall on a 10000 board
    EXPECT_EQ(wide.objects()[0].centre(), (Point{500, -5000}));
    EXPECT_FALSE(wide.doc.Modified);
    ASSERT_TRUE(Undo(wide.session, wide.doc));
    EXPECT_EQ(wide.objects()[0].centre(), (Point{400, -5000})) << "the move before is undone";

    // A pad turned wholly above the board and a track turned longer than the
    // board is high: moved down until the pad reaches the board, the track
    // still on it, rather than up, which would lose the pad.
    Board mixed;
    test::addPad(mixed.objects(), {200, -3000}, 50).Selected = 1;
    test::addTrack(mixed.objects(), {{4000, -3000}, {15800, -3000}}).Selected = 1;
    RotateSelection(mixed.session, mixed.doc); // about (8000, -3000)
    EXPECT_EQ(mixed.objects()[0].centre(), (Point{8000, 0}));
    EXPECT_EQ(mixed.objects()[1].Points, (std::vector<Point>{{8000, -3800}, {8000, -15600}}));

    // A box turned to end exactly on the left edge touches the board without
    // overlapping it, and is dropped all the same: two steps back.
    Board edge;
    test::addPad(edge.objects(), {300, -890}, 50).Selected = 1;
    test::addPad(edge.objects(), {300, -110}, 50).Selected = 1;
    RotateSelection(edge.session, edge.doc); // about (300, -500): the first pad to x = -90, its box to x = 0
    EXPECT_EQ(edge.objects()[0].centre(), (Point{110, -500}));
    EXPECT_EQ(edge.objects()[1].centre(), (Point{890, -500}));
}

// Mirrors and the grid alignment pivot on, and align to, grid points on the
// board: a pad near the edge is not thrown beyond it.
TEST(Transformations, MirrorAndAlignStayOnTheBoard)
{
    Board b;
    b.doc.Working.BoardHeight = 2500;
    b.doc.Working.Grid = 508;
    test::addPad(b.objects(), {2000, -2400}, 40).Selected = 1;
    MirrorVertical(b.session, b.doc); // about y = -2032, not -2540 beyond the edge
    EXPECT_EQ(b.objects()[0].centre(), (Point{2000, -1664}));
    b.doc.Working.Grid = 254;
    b.objects()[0].Y1 = -2440;
    AlignToGrid(b.session, b.doc);
    EXPECT_EQ(b.objects()[0].centre(), (Point{2032, -2286}));
}

TEST(Transformations, NudgeTakesNoSnapshotAndStopsAtTheBoardEdge)
{
    Board b;
    test::addPad(b.objects(), {1000, -1000}, 50).Selected = 1;
    ApplyMove(b.session, b.doc, {0, -100});
    NudgeSelection(b.doc, NudgeDirection::Right, false);
    EXPECT_EQ(b.objects()[0].centre(), (Point{1100, -1100})) << "one grid step";
    NudgeSelection(b.doc, NudgeDirection::Up, true);
    EXPECT_EQ(b.objects()[0].centre(), (Point{1100, -1099})) << "one unit with Ctrl";
    ASSERT_TRUE(Undo(b.session, b.doc));
    EXPECT_EQ(b.objects()[0].centre(), (Point{1000, -1000})) << "back past the nudges, before the move";

    // Saving drops objects off the board, so a nudge stops at its edge; one
    // already beyond it may still come back.
    const int32_t width = b.doc.Working.BoardWidth;
    b.objects()[0].X1 = width - 120;
    b.objects()[0].Selected = 1; // the undo took the selection
    const auto right = [&] { return SelectionBounds(b.objects())->right; };
    NudgeSelection(b.doc, NudgeDirection::Right, false);
    EXPECT_EQ(right(), width - 30) << "no part of a step, which would leave the grid";
    NudgeSelection(b.doc, NudgeDirection::Left, false);
    EXPECT_EQ(right(), width - 130) << "a whole step inwards";
    for (int i = 0; i < 200; ++i)
        NudgeSelection(b.doc, NudgeDirection::Right, true);
    EXPECT_EQ(right(), width) << "with Ctrl up to the edge";
    b.objects()[0].X1 = width + 500;
    NudgeSelection(b.doc, NudgeDirection::Right, false);
    EXPECT_EQ(b.objects()[0].X1, width + 500) << "no further off";
    NudgeSelection(b.doc, NudgeDirection::Left, false);
    EXPECT_EQ(b.objects()[0].X1, width + 400);
}

// A group moves with its first member's grid point; a member that move would
// put wholly off the board brings the group back by whole steps.
TEST(Transformations, AlignMovesGroupsRigidly)
{
    Board b;
    ObjectList& list = b.objects();
    LayoutObject& g1 = test::addPad(list, {1030, -1020}, 50);
    LayoutObject& g2 = test::addTrack(list, {{1130, -1120}, {1250, -1120}});
    g1.Groups = g2.Groups = {3};
    test::addTrack(list, {{2030, -2020}, {2150, -2020}});
    LayoutObject& near = test::addPad(list, {160, -5200}, 30);
    LayoutObject& far = test::addPad(list, {15999, -5200}, 30);
    near.Groups = far.Groups = {4};
    near.Clearance = far.Clearance = 0;
    LayoutObject& line = list.append(makeLine({3030, -3020}, {3470, -3180}, 20, Layer::B1));
    for (auto& o : list)
        o->Selected = 1;
    AlignToGrid(b.session, b.doc);
    EXPECT_EQ(g1.centre(), (Point{1000, -1000}));
    EXPECT_EQ(g2.Points, (std::vector<Point>{{1100, -1100}, {1220, -1100}})) << "moved with its group";
    EXPECT_EQ(list[2].Points, (std::vector<Point>{{2000, -2000}, {2120, -2000}})) << "first point on the grid";
    EXPECT_EQ(near.centre(), (Point{100, -5200}));
    EXPECT_EQ(far.centre(), (Point{15939, -5200}));
    EXPECT_EQ((std::pair{line.start(), line.end()}), (std::pair{Point{3000, -3000}, Point{3500, -3200}}))
        << "a line's ends each on the grid, unlike a track's corners";
}

TEST(Corners, AddRemoveSnapAndSplit)
{
    Board b;
    ObjectList& list = b.objects();
    LayoutObject& t = test::addTrack(list, {{1030, -1000}, {1530, -1000}, {1530, -2000}}, 60, Layer::K2);
    EXPECT_TRUE(AddCorner(b.doc, 0, 0));
    EXPECT_EQ(t.Points[0], (Point{800, -700})) << "2.54 mm left of and above, then snapped";
    EXPECT_TRUE(AddCorner(b.doc, 0, 2));
    EXPECT_EQ(t.Points[2], (Point{1300, -1000})) << "halfway, snapped";
    EXPECT_TRUE(RemoveCorner(b.doc, 0, 0));
    EXPECT_TRUE(RemoveCorner(b.doc, 0, 1));
    EXPECT_TRUE(CornerToGrid(b.doc, 0, 0));
    EXPECT_EQ(t.Points, (std::vector<Point>{{1000, -1000}, {1530, -1000}, {1530, -2000}}));
    EXPECT_FALSE(SplitTrack(b.session, b.doc, 0, 0)) << "only at an inner corner";

    b.doc.Working.ActiveLayer = Layer::K1;
    ASSERT_TRUE(SplitTrack(b.session, b.doc, 0, 1));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Points, (std::vector<Point>{{1000, -1000}, {1530, -1000}}));
    EXPECT_EQ(list[1].Points, (std::vector<Point>{{1530, -2000}, {1530, -1000}})) << "runs backwards";
    EXPECT_EQ(list[1].Layer, Layer::K2) << "the original's layer, not the active one";

    test::addTrack(list, {{0, 0}, {100, 0}});
    EXPECT_FALSE(RemoveCorner(b.doc, 2, 0)) << "a track keeps two corners";

    // Both parts of an autorouted track can be unrouted: then no copper
    // joins the pads beside the band that comes back.
    {
        Board r;
        ObjectList& routed = r.objects();
        LayoutObject& from = test::addPad(routed, {1000, -1000}, 60);
        LayoutObject& to = test::addPad(routed, {3000, -1000}, 60);
        LayoutObject& laid = test::addTrack(routed, {{1000, -1000}, {2000, -1500}, {3000, -1000}}, 40);
        laid.Routed = 1;
        laid.RouteFrom = &from;
        laid.RouteTo = &to;
        ASSERT_TRUE(SplitTrack(r.session, r.doc, 2, 1));
        for (int part = 0; part < 2; ++part) {
            routed[routed.size() - 1].Selected = 1;
            ASSERT_EQ(UnrouteTrack(routed), UnrouteOutcome::BandRestored) << part;
        }
        EXPECT_EQ(routed.size(), 2u) << "the pads alone";
        EXPECT_EQ(from.Connections, (std::vector<LayoutObject*>{&to}));
    }

    // On the 2.54 mm grid the right edge is no grid point: a corner added
    // there takes the last grid point on the board, not the one beyond.
    b.doc.Working.Grid = 254;
    test::addTrack(list, {{15980, -1000}, {b.doc.Working.BoardWidth, -1000}});
    ASSERT_TRUE(AddCorner(b.doc, 3, 1));
    EXPECT_EQ(list[3].Points[1], (Point{15748, -1016}));

    // A closed outline holds its first corner twice: it goes and snaps as
    // one, and a zone keeps an area.
    LayoutObject square = makeZone(10, Layer::K1);
    square.Points = {{1030, -1000}, {3000, -1000}, {3000, -3000}, {1000, -3000}, {1030, -1000}};
    LayoutObject& zone = list.append(std::move(square));
    const size_t z = list.size() - 1, last = 4;
    ASSERT_TRUE(CornerToGrid(b.doc, z, last));
    EXPECT_EQ(zone.Points.front(), zone.Points.back()) << "both ends snapped";
    ASSERT_TRUE(RemoveCorner(b.doc, z, last));
    EXPECT_EQ(zone.Points, (std::vector<Point>{{3000, -1000}, {3000, -3000}, {1000, -3000}, {3000, -1000}}))
        << "closed again on the next corner";
    EXPECT_FALSE(CornerRemovable(zone, 1)) << "two corners enclose nothing";
    EXPECT_FALSE(RemoveCorner(b.doc, z, 3));
}

// Corner commands that would change nothing, leave a zone without area or
// put a corner off the board do nothing, and say so by returning false.
TEST(Corners, NoCommandLeavesAZoneFlatOrACornerOffTheBoard)
{
    Board b;
    b.doc.Working.Grid = 254;
    ObjectList& list = b.objects();
    // A thin triangle whose off-grid corner snaps onto the line of the others.
    LayoutObject flat = makeZone(10, Layer::K1);
    flat.Points = {{508, -508}, {1016, -508}, {770, -530}, {508, -508}};
    list.append(std::move(flat));
    EXPECT_FALSE(CornerToGrid(b.doc, 0, 2)) << "it would flatten the zone";
    EXPECT_EQ(list[0].Points[2], (Point{770, -530}));
    b.doc.Modified = false;
    EXPECT_FALSE(CornerToGrid(b.doc, 0, 1)) << "on the grid already";
    EXPECT_FALSE(b.doc.Modified);

    // Halfway along a segment shorter than a step would snap onto its end:
    // it stays halfway; on a segment of one unit there is no room at all.
    test::addTrack(list, {{508, -508}, {635, -508}, {635, -1016}});
    ASSERT_TRUE(AddCorner(b.doc, 1, 1));
    EXPECT_EQ(list[1].Points[1], (Point{571, -508}));
    test::addTrack(list, {{508, -508}, {509, -508}});
    EXPECT_FALSE(AddCorner(b.doc, 2, 1));
    EXPECT_EQ(list[2].Points.size(), 2u);

    // The first corner on the board's left edge: the new one goes right of
    // it (and above, as usual); at the top edge below it.
    test::addTrack(list, {{0, -508}, {1016, -508}});
    ASSERT_TRUE(AddCorner(b.doc, 3, 0));
    EXPECT_EQ(list[3].Points[0], (Point{254, -254}));
    test::addTrack(list, {{508, 0}, {1016, -508}});
    ASSERT_TRUE(AddCorner(b.doc, 4, 0));
    EXPECT_EQ(list[4].Points[0], (Point{254, -254}));
}

} // namespace
} // namespace kestrel
