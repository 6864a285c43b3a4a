#include "MachineBench.h"
#include "edit/Selection.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace kestrel {
namespace {

constexpr int32_t g = 254; // the default grid

Point at(int gx, int gy)
{
    return {gx * g, -gy * g}; // grid steps right of and below the top-left corner
}

Point plus(Point p, int dx, int dy)
{
    return {p.x + dx * g, p.y + dy * g};
}

using Bench = test::MachineBench;

// Chooses the tool with straight segments (mode 4), SPACE pressed while a
// first point is drawn: rows using it test the points, not the bends.
void straight(Bench& b, ToolMode tool)
{
    b.m.selectTool(tool);
    b.left(at(1, 1));
    for (int i = 0; i < 4; ++i)
        b.m.key(PointerKey::Space, {});
    b.m.abort(); // the one point goes
    ASSERT_EQ(b.m.state().BendMode, 4);
    b.m.selectTool(tool);
}

TEST(PointerMachine, BendModesAndTheirCorners)
{
    // Mode; the second click, grid steps from the first (y up); the expected
    // track, the same steps from the first click. Every row draws one segment.
    const std::tuple<int, int, int, std::vector<Point>> cases[] = {
        {0, 3, 1, {{0, 0}, {2, 0}, {3, 1}}},    // straight first, 45 degrees into the click
        {0, 2, 2, {{0, 0}, {2, 2}}},            // |dx| = |dy|: the corner falls on the start
        {1, 3, 1, {{0, 0}, {1, 1}, {3, 1}}},    // 45 degrees first
        {2, 3, 1, {{0, 0}, {0, 1}, {3, 1}}},    // vertical first
        {3, 3, 1, {{0, 0}, {3, 0}, {3, 1}}},    // horizontal first
        {4, 3, 1, {{0, 0}, {3, 1}}},            // straight at any angle: never a corner
    };
    for (const auto& [mode, dx, dy, corners] : cases) {
        SCOPED_TRACE(::testing::Message() << "mode " << mode << " to " << dx << "," << dy);
        Bench b;
        b.m.selectTool(ToolMode::Track);
        const Point a = at(20, 20);
        b.left(a);
        for (int i = 0; i < mode; ++i)
            b.m.key(PointerKey::Space, {});
        const Point click = plus(a, dx, -dy);
        b.m.move(click, {});
        b.left(click);
        b.right();
        ASSERT_EQ(b.list().size(), 1u);
        std::vector<Point> expected;
        for (Point s : corners)
            expected.push_back(plus(a, s.x, -s.y));
        EXPECT_EQ(b.points(0), expected);
        EXPECT_EQ(b.m.state().BendMode, mode) << "the mode is kept for the next track";
        EXPECT_FALSE(b.m.previews().anyDrawn());
    }
}

// What a sequence with the track or zone tool leaves on the board.
TEST(PointerMachine, TracksAndZonesPointsSnappingAndEndings)
{
    // What happens, the tool, the steps, the tracks or zones left on the board.
    using Case = std::tuple<const char*, ToolMode, std::function<void(Bench&)>, std::vector<std::vector<Point>>>;
    const Point a = at(10, 10), c = at(14, 10);
    const Point p0 = at(10, 10), p1 = at(20, 10), p2 = at(20, 20);
    const PointerKeys ctrl{.ctrl = true};
    const ToolMode track = ToolMode::Track, zone = ToolMode::Zone;
    const Case cases[] = {
        {"clicks snap to the grid", track,
         [&](Bench& b) { b.left({a.x + 100, a.y - 100}), b.left({c.x - 120, c.y}), b.right(); }, {{a, c}}},
        {"Ctrl turns snapping off", track, [&](Bench& b) { b.left({a.x + 7, a.y}, ctrl), b.left(c, ctrl), b.right(); },
         {{{a.x + 7, a.y}, c}}},
        {"a right press after one point deletes the track", track, [&](Bench& b) { b.left(a), b.right(); }, {}},
        {"Delete takes back the second point", track,
         [&](Bench& b) { b.left(a), b.left(c), b.m.key(PointerKey::Delete, {}), b.left(p2), b.right(); }, {{a, p2}}},
        {"Delete keeps the first point", track,
         [&](Bench& b) { b.left(a), b.m.key(PointerKey::Delete, {}), b.left(c), b.right(); }, {{a, c}}},
        {"a tool change keeps a track of two points", track,
         [&](Bench& b) { b.left(a), b.left(c), b.m.selectTool(ToolMode::Edit); }, {{a, c}}},
        {"a click on the first point closes a zone", zone,
         [&](Bench& b) { b.left(p0), b.left(p1), b.left(p2), b.left(p0); }, {{p0, p1, p2, p0}}},
        {"a right press closes it", zone, [&](Bench& b) { b.left(p0), b.left(p1), b.left(p2), b.right(); },
         {{p0, p1, p2, p0}}},
        {"collinear corners span no area", zone,
         [&](Bench& b) { b.left(p0), b.left(p1), b.left(at(30, 10)), b.right(); }, {}},
        {"nor on a slant", zone, [&](Bench& b) { b.left(p0), b.left(p2), b.left(at(30, 30)), b.right(); }, {}},
        {"two corners closed are too few", zone, [&](Bench& b) { b.left(p0), b.left(p2), b.right(); }, {}},
        {"a command keeps an open triangle", zone, [&](Bench& b) { b.left(p0), b.left(p1), b.left(p2), b.m.abort(); },
         {{p0, p1, p2}}},
    };
    for (const auto& [name, tool, steps, shapes] : cases) {
        SCOPED_TRACE(name);
        Bench b;
        // The command before: a pad placed and saved.
        TakeUndoSnapshot(b.session, b.doc);
        test::addPad(b.list(), at(1, 1), 50);
        b.doc.Modified = false;
        b.tools.CurrentTrackWidth = 60;
        b.tools.CurrentClearance = 70;
        straight(b, tool);
        steps(b);
        ASSERT_EQ(b.list().size(), shapes.size() + 1);
        for (size_t i = 0; i < shapes.size(); ++i) {
            EXPECT_EQ(b.points(i + 1), shapes[i]);
            EXPECT_EQ(b.list()[i + 1].Width, 60);
            EXPECT_EQ(b.list()[i + 1].Clearance, 70) << "the panel's clearance";
            if (tool == zone) {
                EXPECT_EQ(b.list()[i + 1].FillOn, 1) << "a finished zone is filled";
            }
        }
        EXPECT_FALSE(b.m.state().Pressed) << "closing does not start the next zone";
        EXPECT_FALSE(b.m.building());
        EXPECT_FALSE(b.m.previews().anyDrawn());
        // A track or zone that came to nothing gives its undo step back: the
        // pad's is still there, and nothing is left to save.
        EXPECT_EQ(b.doc.Modified, !shapes.empty());
        ASSERT_TRUE(Undo(b.session, b.doc));
        EXPECT_EQ(b.list().size(), shapes.size()) << "the last shape or the pad is undone";
    }
}

// Above depth 1 an abandoned track leaves the whole history as it found it:
// the oldest step it pushed out and the redo steps it dropped come back.
TEST(PointerMachine, AnAbandonedTrackKeepsTheHistory)
{
    Bench b;
    b.session.setUndoDepth(2);
    ResetUndoHistory(b.session, b.doc);
    b.m.selectTool(ToolMode::Pad);
    for (int x : {1, 2, 3})
        b.left(at(x, 1));
    ASSERT_TRUE(Undo(b.session, b.doc));
    ASSERT_EQ(b.list().size(), 2u);
    const size_t steps = b.session.undoSteps();
    b.m.selectTool(ToolMode::Track);
    b.left(at(5, 5));
    b.right();
    EXPECT_EQ(b.session.undoSteps(), steps);
    ASSERT_TRUE(Redo(b.session, b.doc));
    EXPECT_EQ(b.list().size(), 3u);
    ASSERT_TRUE(Undo(b.session, b.doc));
    ASSERT_TRUE(Undo(b.session, b.doc));
    EXPECT_EQ(b.list().size(), 1u) << "two steps back from three pads";
}

// Every tool snaps through the edge rule (its cases: Transform.SnappingOntoTheBoard;
// Ctrl is checked with the tracks): a click off the board keeps its point.
TEST(PointerMachine, PadsCirclesAndVias)
{
    // The tool, via mode, the active layer, the point pressed, the centre placed.
    const std::tuple<ToolMode, bool, uint32_t, Point, Point> cases[] = {
        {ToolMode::Pad, false, Layer::K1, {2600, -2500}, at(10, 10)},
        // 63 x 2.54 mm lies 0.02 mm beyond the right edge: the grid point before it.
        {ToolMode::Pad, true, Layer::K1, {15990, -5000}, {15748, -5080}},
        {ToolMode::Circle, true, Layer::B1, {16500, -5000}, {16510, -5080}}, // a circle makes no via
    };
    for (const auto& [tool, viaMode, layer, pressed, centre] : cases) {
        SCOPED_TRACE(::testing::Message() << int(tool) << " via " << viaMode << " layer " << layer);
        Bench b;
        b.tools.ViaMode = viaMode;
        b.doc.Working.ActiveLayer = layer;
        b.m.selectTool(tool);
        b.m.move(pressed, {});
        ASSERT_TRUE(b.m.previews()[PreviewKind::PadCircle].drawn);
        b.left(pressed);
        const bool via = viaMode && tool == ToolMode::Pad;
        ASSERT_EQ(b.list().size(), via ? 2u : 1u);
        for (const auto& o : b.list()) {
            EXPECT_EQ(o->kind(), tool == ToolMode::Pad ? ObjectKind::Pad : ObjectKind::Circle);
            EXPECT_EQ(o->centre(), centre);
            EXPECT_EQ(o->padOuterRadius(), b.tools.CurrentPadOuter);
        }
        EXPECT_EQ(b.list()[0].Layer, layer);
        EXPECT_EQ(b.list()[0].Partner, via ? b.list().at(1) : nullptr);
        EXPECT_FALSE(b.m.previews()[PreviewKind::PadCircle].drawn) << "the press erases the outline";
        b.right();
        EXPECT_EQ(b.m.tool(), ToolMode::Edit);
    }
}

// Two pads and a track: the edit tool's selections.
struct EditBench : Bench {
    EditBench()
    {
        test::addPad(list(), at(10, 10), 90);
        test::addPad(list(), at(20, 10), 90);
        test::addTrack(list(), {at(10, 20), at(20, 20), at(20, 30)}, 40);
    }
};

TEST(PointerMachine, EditToolSelects)
{
    const PointerKeys shift{.shift = true};
    // What happens, the steps, the objects selected afterwards.
    const std::tuple<const char*, std::function<void(EditBench&)>, std::vector<size_t>> cases[] = {
        {"a click selects", [](EditBench& b) { b.left(at(10, 10)); }, {0}},
        {"Shift+click on a selected object removes it",
         [&](EditBench& b) { b.left(at(10, 10)), b.left(at(20, 10), shift), b.left(at(10, 10), shift); }, {1}},
        {"a frame selects what it touches", [](EditBench& b) { b.drag(at(5, 5), at(25, 15)); }, {0, 1}},
        {"another tool deselects everything", [&](EditBench& b) {
             b.left(at(10, 10)), b.left(at(15, 20), shift), b.m.selectTool(ToolMode::Pad);
         }, {}},
        {"a click on empty board deselects", [](EditBench& b) { b.left(at(10, 10)), b.left(at(40, 30)); }, {}},
        {"Esc drops the frame", [](EditBench& b) {
             b.m.press(PointerButton::Left, at(5, 5), {}), b.m.move(at(25, 15), {}), b.m.key(PointerKey::Escape, {}),
                 b.m.release(PointerButton::Left, at(25, 15), {});
         }, {}},
    };
    for (const auto& [name, steps, selected] : cases) {
        SCOPED_TRACE(name);
        EditBench b;
        steps(b);
        EXPECT_EQ(b.selected(), selected);
        EXPECT_FALSE(b.m.previews().anyDrawn());
    }
}

TEST(PointerMachine, MoveDragSnapsAndStaysOnTheBoard)
{
    const Point c = at(10, 10);
    // How the limit and the snap combine: Transformations.MoveDeltaKeepsTheSelectionOnTheBoard.
    // What happens, where the pad at (10, 10) is dragged by its centre, Ctrl
    // held through the drag, the pad's centre afterwards.
    const std::tuple<const char*, Point, bool, Point> cases[] = {
        {"snapped to whole grid steps", {c.x + 300, c.y - 100}, false, {c.x + g, c.y}},
        {"Ctrl: right at the left edge", {-5000, c.y}, true, {90 + 40, c.y}}, // radius and clearance
        {"down as far as dragged", at(12, 13), false, at(12, 13)},
        {"up as far as dragged", at(9, 6), false, at(9, 6)},
    };
    for (const auto& [name, to, ctrl, expected] : cases) {
        SCOPED_TRACE(name);
        EditBench b;
        b.m.press(PointerButton::Left, c, {});
        b.m.move({to.x - 3 * g, to.y}, {.ctrl = ctrl});
        ASSERT_TRUE(b.m.previews()[PreviewKind::MoveOutline].drawn);
        b.m.move(to, {.ctrl = ctrl});
        b.m.release(PointerButton::Left, to, {});
        EXPECT_EQ(b.list()[0].centre(), expected);
        EXPECT_FALSE(b.m.previews().anyDrawn());
        ASSERT_TRUE(Undo(b.session, b.doc));
        EXPECT_EQ(b.list()[0].centre(), c);
    }
}

TEST(PointerMachine, CornerDragAndCornerMenu)
{
    EditBench b;
    b.left(at(15, 20)); // select the track
    b.m.move(at(20, 20), {});
    EXPECT_EQ(b.m.cursor(), PointerCursor::Changer);

    b.m.press(PointerButton::Left, at(20, 20), {});
    EXPECT_TRUE(b.m.state().NodeDrag);
    b.m.move({at(22, 21).x + 40, at(22, 21).y}, {});
    ASSERT_TRUE(b.m.previews()[PreviewKind::Corner].drawn);
    b.m.release(PointerButton::Left, at(22, 21), {});
    EXPECT_EQ(b.points(2), (std::vector<Point>{at(10, 20), at(22, 21), at(20, 30)}));
    EXPECT_FALSE(b.m.previews().anyDrawn());
    ASSERT_TRUE(Undo(b.session, b.doc)) << "the press took a snapshot";
    EXPECT_EQ(b.points(2)[1], at(20, 20));

    b.right(at(40, 40));
    EXPECT_EQ(b.m.takeEffects().menu, PointerMenu::Context) << "off the corners";
    b.left(at(15, 20)); // the undo took the selection
    b.right(at(20, 20));
    EXPECT_EQ(b.m.takeEffects().menu, PointerMenu::Corner);
    EXPECT_TRUE(b.m.cornerMenu().remove && b.m.cornerMenu().split) << "an inner corner of a three-point track";
    b.m.cornerCommand(PointerMachine::CornerCommand::Split);
    EXPECT_EQ(b.list().size(), 4u) << "split at the corner the menu was opened on";
}

// A track in a group has no corners to drag: a drag from one moves the group.
TEST(PointerMachine, ATrackInAGroupMovesWhole)
{
    EditBench b;
    b.list()[1].Groups = {1};
    b.list()[2].Groups = {1};
    b.left(at(15, 20));
    ASSERT_EQ(b.selected(), (std::vector<size_t>{1, 2})) << "the click selects the group";
    b.m.move(at(20, 20), {});
    EXPECT_NE(b.m.cursor(), PointerCursor::Changer);
    b.drag(at(20, 20), at(22, 21));
    EXPECT_FALSE(b.m.state().NodeDrag);
    EXPECT_EQ(b.points(2), (std::vector<Point>{at(12, 21), at(22, 21), at(22, 31)}));
    EXPECT_EQ(b.list()[1].centre(), at(22, 11));
    EXPECT_EQ(b.list()[0].centre(), at(10, 10)) << "outside the group";
    b.right(at(22, 21));
    EXPECT_EQ(b.m.takeEffects().menu, PointerMenu::Context);
}

// A corner dragged off the board stops at the edge it crosses; the board is
// wider than high, so each edge has its own limit.
TEST(PointerMachine, ACornerDragStopsAtTheBoardsEdges)
{
    const Point corner = at(20, 30);
    // Where the track's last corner is dragged, where it lands.
    const std::tuple<const char*, Point, Point> cases[] = {
        {"below the bottom edge", {corner.x, -12000}, {corner.x, -10000}},
        {"beyond the right edge", {20000, corner.y}, {16000, corner.y}},
        {"above the top edge", {corner.x, 3000}, {corner.x, 0}},
    };
    for (const auto& [name, to, expected] : cases) {
        SCOPED_TRACE(name);
        EditBench b;
        ASSERT_EQ(b.doc.Working.BoardWidth, 16000);
        ASSERT_EQ(b.doc.Working.BoardHeight, 10000);
        b.left(at(15, 20));
        b.drag(corner, to);
        EXPECT_EQ(b.points(2), (std::vector<Point>{at(10, 20), at(20, 20), expected}));
    }
}

// A zone corner dragged to where the zone would be flat leaves the zone as it
// was and costs no undo step; elsewhere it moves.
TEST(PointerMachine, AZoneCornerDragKeepsAnArea)
{
    const Point p0 = at(10, 10), p1 = at(20, 10), p2 = at(20, 20);
    // Which corner is dragged, where to, the zone's corners afterwards.
    const std::tuple<const char*, Point, Point, std::vector<Point>> cases[] = {
        {"onto the line through its neighbours", p2, at(30, 10), {p0, p1, p2, p0}},
        {"between its neighbours", p2, at(15, 10), {p0, p1, p2, p0}},
        {"the closing corner onto that line", p0, at(20, 30), {p0, p1, p2, p0}},
        {"onto a neighbour", p2, p1, {p0, p1, p2, p0}},
        {"off the line", p2, at(25, 20), {p0, p1, at(25, 20), p0}},
        {"the closing corner off it", p0, at(5, 10), {at(5, 10), p1, p2, at(5, 10)}},
    };
    for (const auto& [name, from, to, corners] : cases) {
        SCOPED_TRACE(name);
        Bench b;
        LayoutObject zone = makeZone(40, static_cast<uint8_t>(Layer::K1));
        zone.FillOn = 1;
        for (Point p : {p0, p1, p2, p0})
            zone.Points.push_back(p);
        b.list().append(std::move(zone));
        SelectObject(b.list(), 0, true);
        const size_t steps = b.session.undoSteps();
        b.drag(from, to);
        EXPECT_EQ(b.points(0), corners);
        const bool moved = corners[0] != p0 || corners[2] != p2;
        EXPECT_EQ(b.session.undoSteps(), steps + (moved ? 1 : 0));
        EXPECT_FALSE(b.m.previews().anyDrawn());
    }
}

// A right press in the connect tool gives up the band being drawn and keeps
// the tool; with no band it leaves the tool.
TEST(PointerMachine, ConnectToolRightPressDropsTheBandFirst)
{
    Bench b;
    test::addPad(b.list(), at(10, 10), 90);
    test::addPad(b.list(), at(20, 10), 90);
    b.m.selectTool(ToolMode::Connect);
    b.m.move(at(10, 10), {});
    b.left(at(10, 10));
    ASSERT_EQ(b.m.state().StartPad, 0);
    b.m.move(at(15, 12), {});
    ASSERT_TRUE(b.m.previews()[PreviewKind::BandLine].drawn);
    b.right(at(15, 12));
    EXPECT_EQ(b.m.tool(), ToolMode::Connect);
    EXPECT_EQ(b.m.state().StartPad, -1);
    EXPECT_FALSE(b.m.previews()[PreviewKind::BandLine].drawn);
    // The next pad clicked starts a band instead of ending one.
    b.m.move(at(20, 10), {});
    b.left(at(20, 10));
    EXPECT_TRUE(b.list()[0].Connections.empty());
    EXPECT_EQ(b.m.state().StartPad, 1);
    b.right(at(20, 10));
    EXPECT_EQ(b.m.tool(), ToolMode::Connect);
    b.right(at(20, 10));
    EXPECT_EQ(b.m.tool(), ToolMode::Edit);
}

TEST(PointerMachine, ZoomToolAsksTheViewAndKeepsItsFrameOnTheBoard)
{
    Bench b;
    b.m.selectTool(ToolMode::Zoom);
    b.m.press(PointerButton::Left, {-300, 200}, {});
    b.m.move(at(10, 10), {});
    EXPECT_TRUE(b.m.previews()[PreviewKind::Frame].drawn);
    b.m.takeEffects();
    b.m.release(PointerButton::Left, at(10, 10), {});
    PointerEffects fx = b.m.takeEffects();
    EXPECT_EQ(fx.zoom, ZoomRequest::Release);
    EXPECT_EQ(fx.zoomAnchor, (Point{0, 0})) << "clamped into the board";
    EXPECT_FALSE(b.m.previews().anyDrawn());
    b.right();
    EXPECT_EQ(b.m.takeEffects().zoom, ZoomRequest::Out);
}

// The track label tool: a numbered label follows the pointer, kept on the
// board; a command hides it until the next move; a right press drops it.
TEST(PointerMachine, TrackLabelTool)
{
    const Point p = at(20, 20);
    const TrackLabelSettings numbered{.text = "N", .numbered = true, .start = 7};
    Bench b;
    b.m.startTrackLabel(numbered);
    b.m.move(p, {});
    b.left(p);
    EXPECT_EQ(b.list()[0].Points.front(), p) << "the label N7 starts at the pointer";
    EXPECT_EQ(b.m.state().LabelCounter, 9) << "8 follows the pointer";
    // Beyond the right edge the label's box stays on the board.
    b.m.move({b.doc.Working.BoardWidth + 5000, p.y}, {});
    EXPECT_EQ(b.m.state().CurrentPoint.x, b.doc.Working.BoardWidth - StrokeTextExtent(numbered, 8).x);
    b.session.objectsWillChange();
    EXPECT_FALSE(b.m.previews()[PreviewKind::TrackLabel].drawn) << "a command hides it";
    b.m.move(p, {});
    EXPECT_TRUE(b.m.previews()[PreviewKind::TrackLabel].drawn) << "the next move shows it";
    b.left(at(30, 20));
    b.right(p);
    EXPECT_EQ(b.m.tool(), ToolMode::Edit);
    EXPECT_TRUE(b.m.followingLabel().empty()) << "a right press drops the label";
    EXPECT_FALSE(b.m.previews().anyDrawn());
    ASSERT_TRUE(Undo(b.session, b.doc));
    EXPECT_EQ(b.list().size(), 3u) << "one undo step takes the whole label N8; N7 stays";
}

// At the board's edge a label lands where its preview showed it: the letters
// below the line kept on the board, and no further in than that.
TEST(PointerMachine, ATrackLabelAtTheEdgeLandsWhereItsPreviewWas)
{
    const TrackLabelSettings settings{.text = "gjpq"};
    Bench b;
    ASSERT_TRUE(b.m.startTrackLabel(settings));
    const Point below{at(20, 20).x, -b.doc.Working.BoardHeight - 3000};
    b.m.move(below, {});
    const Preview& shown = b.m.previews()[PreviewKind::TrackLabel];
    ASSERT_TRUE(shown.drawn);
    std::vector<Point> previewed, placed;
    for (const auto& o : b.m.followingLabel())
        for (const Point q : o->Points)
            previewed.push_back({q.x + shown.offset.x, q.y + shown.offset.y});
    b.left(below);
    for (const auto& o : b.list())
        placed.insert(placed.end(), o->Points.begin(), o->Points.end());
    EXPECT_EQ(placed, previewed);
    EXPECT_EQ(StrokesBox(b.list(), 0).top, -b.doc.Working.BoardHeight) << "the pen at the edge, no clearance";

    // On a smaller board, shown since the label was asked for, a label that
    // no longer fits is not placed: the dialog is asked again.
    Bench small;
    ASSERT_TRUE(small.m.startTrackLabel({.text = "WWWW", .numbered = true}));
    small.m.move(at(20, 20), {});
    small.doc.addBoard("Small");
    small.doc.activate(1);
    small.doc.Working.BoardWidth = 500;
    small.session.objectsWillChange();
    small.m.move(at(2, 2), {});
    small.left(at(2, 2));
    EXPECT_TRUE(small.list().empty());
    EXPECT_TRUE(small.m.takeEffects().askTrackLabel);
    EXPECT_TRUE(small.m.followingLabel().empty());
}

} // namespace
} // namespace kestrel
