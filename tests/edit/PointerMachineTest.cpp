#include "MachineBench.h"
#include "edit/PointerMachine.h"
#include "edit/Selection.h"
#include "edit/Undo.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <tuple>

#include <functional>

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
    struct Case {
        int mode;
        int dx, dy;                   // the second click, grid steps from the first (y up)
        std::vector<Point> corners;   // expected track, the same steps from the first click
    };
    // A = the first click; every row draws one segment and ends the track.
    const Case cases[] = {
        {0, 3, 1, {{0, 0}, {2, 0}, {3, 1}}},    // straight first, 45 degrees into the click
        {0, 1, -3, {{0, 0}, {0, -2}, {1, -3}}}, // down: the vertical leg first
        {0, 2, 2, {{0, 0}, {2, 2}}},            // |dx| = |dy|: the corner falls on the start
        {1, 3, 1, {{0, 0}, {1, 1}, {3, 1}}},    // 45 degrees first
        {1, -2, 2, {{0, 0}, {-2, 2}}},          // |dx| = |dy|: the corner falls on the click
        {2, 3, 1, {{0, 0}, {0, 1}, {3, 1}}},    // vertical first
        {2, 0, 3, {{0, 0}, {0, 3}}},            // already vertical: no corner
        {3, 3, 1, {{0, 0}, {3, 0}, {3, 1}}},    // horizontal first
        {4, 3, 1, {{0, 0}, {3, 1}}},            // straight at any angle: never a corner
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " to " << c.dx << "," << c.dy);
        Bench b;
        b.m.selectTool(ToolMode::Track);
        for (int i = 0; i < c.mode; ++i)
            b.m.key(PointerKey::Space, {}); // without a track SPACE changes nothing
        const Point a = at(20, 20);
        b.left(a);
        for (int i = 0; i < c.mode; ++i)
            b.m.key(PointerKey::Space, {});
        const Point click = plus(a, c.dx, -c.dy);
        b.m.move(click, {});
        ASSERT_TRUE(b.m.previews()[PreviewKind::RubberBand].drawn);
        EXPECT_EQ(b.m.previews()[PreviewKind::RubberBand].strokes[0].points.back(), click);
        b.left(click);
        b.right();
        ASSERT_EQ(b.list().size(), 1u);
        std::vector<Point> expected;
        for (Point s : c.corners)
            expected.push_back(plus(a, s.x, -s.y));
        EXPECT_EQ(b.points(0), expected);
        EXPECT_EQ(b.m.state().BendMode, c.mode) << "the mode is kept for the next track";
        EXPECT_FALSE(b.m.previews().anyDrawn());
    }
}

// What a sequence with the track or zone tool leaves on the board.
TEST(PointerMachine, TracksAndZonesPointsSnappingAndEndings)
{
    using Steps = std::function<void(Bench&)>;
    struct Case {
        const char* name;
        ToolMode tool;
        Steps steps;
        std::vector<std::vector<Point>> shapes; // the tracks or zones left on the board
    };
    const Point a = at(10, 10), c = at(14, 10);
    const Point p0 = at(10, 10), p1 = at(20, 10), p2 = at(20, 20), p3 = at(10, 20);
    const PointerKeys ctrl{.ctrl = true};
    const ToolMode track = ToolMode::Track, zone = ToolMode::Zone;
    const Case cases[] = {
        {"clicks snap to the grid", track,
         [&](Bench& b) { b.left({a.x + 100, a.y - 100}), b.left({c.x - 120, c.y}), b.right(); }, {{a, c}}},
        {"Ctrl turns snapping off", track, [&](Bench& b) { b.left({a.x + 7, a.y}, ctrl), b.left(c, ctrl), b.right(); },
         {{{a.x + 7, a.y}, c}}},
        {"two clicks at one point give two points", track, [&](Bench& b) { b.left(a), b.left(a), b.right(); }, {{a, a}}},
        {"a right press after one point deletes the track", track, [&](Bench& b) { b.left(a), b.right(); }, {}},
        {"a tool change deletes a one-point track", track, [&](Bench& b) { b.left(a), b.m.selectTool(ToolMode::Pad); },
         {}},
        {"a tool change keeps a track of two points", track,
         [&](Bench& b) { b.left(a), b.left(c), b.m.selectTool(ToolMode::Edit); }, {{a, c}}},
        {"DEL takes the last point back", track,
         [&](Bench& b) { b.left(a), b.left(c), b.left(at(14, 14)), b.m.key(PointerKey::Delete, {}), b.right(); },
         {{a, c}}},
        {"the next press after a right press starts a new track", track,
         [&](Bench& b) { b.left(a), b.left(c), b.right(), b.left(c), b.left(a), b.right(); }, {{a, c}, {c, a}}},
        {"the press of a double click is ignored", track,
         [&](Bench& b) { b.m.ignoreNextPress(), b.left(c), b.left(a), b.left(c), b.right(); }, {{a, c}}},
        {"a click on the first point closes a zone", zone,
         [&](Bench& b) { b.left(p0), b.left(p1), b.left(p2), b.left(p0); }, {{p0, p1, p2, p0}}},
        {"a right press closes it", zone, [&](Bench& b) { b.left(p0), b.left(p1), b.left(p2), b.left(p3), b.right(); },
         {{p0, p1, p2, p3, p0}}},
        {"collinear corners span no area", zone,
         [&](Bench& b) { b.left(p0), b.left(p1), b.left(at(30, 10)), b.right(); }, {}},
        {"nor on a slant", zone, [&](Bench& b) { b.left(p0), b.left(p2), b.left(at(30, 30)), b.right(); }, {}},
        {"two corners closed are too few", zone, [&](Bench& b) { b.left(p0), b.left(p2), b.right(); }, {}},
        {"a command keeps an open triangle", zone, [&](Bench& b) { b.left(p0), b.left(p1), b.left(p2), b.m.abort(); },
         {{p0, p1, p2}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Bench b;
        // The command before: a pad placed and saved.
        TakeUndoSnapshot(b.session, b.doc);
        test::addPad(b.list(), at(1, 1), 50);
        b.doc.Modified = false;
        b.tools.CurrentTrackWidth = 60;
        straight(b, k.tool);
        k.steps(b);
        ASSERT_EQ(b.list().size(), k.shapes.size() + 1);
        for (size_t i = 0; i < k.shapes.size(); ++i) {
            EXPECT_EQ(b.points(i + 1), k.shapes[i]);
            EXPECT_EQ(b.list()[i + 1].Width, 60);
            EXPECT_EQ(b.list()[i + 1].Clearance, b.tools.CurrentClearance);
            if (k.tool == zone) {
                EXPECT_EQ(b.list()[i + 1].FillOn, 1) << "a finished zone is filled";
            }
        }
        EXPECT_FALSE(b.m.state().Pressed) << "closing does not start the next zone";
        EXPECT_FALSE(b.m.building());
        EXPECT_FALSE(b.m.previews().anyDrawn());
        // A track or zone that came to nothing gives its undo step back: the
        // pad's is still there, and nothing is left to save.
        EXPECT_EQ(b.doc.Modified, !k.shapes.empty());
        ASSERT_TRUE(Undo(b.session, b.doc));
        EXPECT_EQ(b.list().size(), k.shapes.size()) << "the last shape or the pad is undone";
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
    EXPECT_FALSE(RedoApplies(b.session, b.list()));
    b.right();
    EXPECT_EQ(b.session.undoSteps(), steps);
    ASSERT_TRUE(Redo(b.session, b.doc));
    EXPECT_EQ(b.list().size(), 3u);
    ASSERT_TRUE(Undo(b.session, b.doc));
    ASSERT_TRUE(Undo(b.session, b.doc));
    EXPECT_EQ(b.list().size(), 1u) << "two steps back from three pads";
}

TEST(PointerMachine, PadsCirclesAndVias)
{
    struct Case {
        ToolMode tool;
        bool via;
        uint32_t layer;
        std::vector<std::pair<ObjectKind, uint8_t>> objects; // kind and layer
        PreviewColour colour;
    };
    const Case cases[] = {
        {ToolMode::Pad, false, Layer::K1, {{ObjectKind::Pad, Layer::K1}}, PreviewColour::Black},
        {ToolMode::Pad, true, Layer::K1, {{ObjectKind::Pad, Layer::K1}, {ObjectKind::Pad, Layer::K2}}, PreviewColour::Black},
        {ToolMode::Circle, true, Layer::B1, {{ObjectKind::Circle, Layer::B1}}, PreviewColour::Red},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.tool) << " via " << c.via << " layer " << c.layer);
        Bench b;
        b.tools.ViaMode = c.via;
        b.tools.CurrentPadShape = 6;
        b.doc.Working.ActiveLayer = c.layer;
        b.m.selectTool(c.tool);
        b.m.move({2600, -2500}, {});
        ASSERT_TRUE(b.m.previews()[PreviewKind::PadCircle].drawn);
        EXPECT_EQ(b.m.previews()[PreviewKind::PadCircle].colour, c.colour);
        b.left({2600, -2500});
        ASSERT_EQ(b.list().size(), c.objects.size());
        for (size_t i = 0; i < c.objects.size(); ++i) {
            EXPECT_EQ(b.list()[i].kind(), c.objects[i].first);
            EXPECT_EQ(b.list()[i].Layer, c.objects[i].second);
            EXPECT_EQ(b.list()[i].centre(), at(10, 10)) << "snapped";
            EXPECT_EQ(b.list()[i].padOuterRadius(), b.tools.CurrentPadOuter);
        }
        if (c.objects.size() == 2) {
            EXPECT_EQ(b.list()[0].Partner, b.list().at(1));
        }
        EXPECT_FALSE(b.m.previews()[PreviewKind::PadCircle].drawn) << "the press erases the outline";
        EXPECT_TRUE(b.session.canUndo());
        b.right();
        EXPECT_EQ(b.m.tool(), ToolMode::Edit);
    }
}

// The tools snap with the edge rule (its cases: Transform.SnappingOntoTheBoard);
// Ctrl and clicks off the board keep their point.
TEST(PointerMachine, ClicksOnTheBoardSnapOntoIt)
{
    // grid, pressed, pad centre, why (the board is 16000 x 10000 units)
    const std::tuple<double, Point, PointerKeys, Point, const char*> rows[] = {
        {254, {15990, -5000}, {}, {15748, -5080}, "63 x 2.54 mm lies 0.02 mm beyond the right edge"},
        {254, {15990, -5000}, {.ctrl = true}, {15990, -5000}, "Ctrl places the point unsnapped"},
        {254, {16500, -5000}, {}, {16510, -5080}, "a click off the board is not pulled in"},
    };
    for (const auto& [grid, pressed, keys, centre, why] : rows) {
        Bench b;
        b.doc.Working.Grid = grid;
        b.m.selectTool(ToolMode::Pad);
        b.left(pressed, keys);
        ASSERT_EQ(b.list().size(), 1u) << why;
        EXPECT_EQ(b.list()[0].centre(), centre) << why;
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
    using Steps = std::function<void(EditBench&)>;
    const PointerKeys shift{.shift = true};
    struct Case {
        const char* name;
        Steps steps;
        std::vector<size_t> selected;
    };
    const Case cases[] = {
        {"a click selects", [](EditBench& b) { b.left(at(10, 10)); }, {0}},
        {"Shift+click adds", [&](EditBench& b) { b.left(at(10, 10)), b.left(at(20, 10), shift); }, {0, 1}},
        {"Shift+click on a selected object removes it",
         [&](EditBench& b) { b.left(at(10, 10)), b.left(at(20, 10), shift), b.left(at(10, 10), shift); }, {1}},
        {"a frame selects what it touches", [](EditBench& b) { b.drag(at(5, 5), at(25, 15)); }, {0, 1}},
        {"Shift+frame adds", [&](EditBench& b) { b.left(at(15, 20)), b.drag(at(5, 5), at(15, 15), shift); }, {0, 2}},
        {"a click on empty board deselects", [](EditBench& b) { b.left(at(10, 10)), b.left(at(40, 30)); }, {}},
        {"Esc drops the frame", [](EditBench& b) {
             b.m.press(PointerButton::Left, at(5, 5), {}), b.m.move(at(25, 15), {}), b.m.key(PointerKey::Escape, {}),
                 b.m.release(PointerButton::Left, at(25, 15), {});
         }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditBench b;
        c.steps(b);
        EXPECT_EQ(b.selected(), c.selected);
        EXPECT_FALSE(b.m.previews().anyDrawn());
        EXPECT_FALSE(b.doc.Modified);
    }
}

TEST(PointerMachine, MoveDragSnapsAndStaysOnTheBoard)
{
    struct Case {
        const char* name;
        Point to;       // where the pad at (10, 10) is dragged by its centre
        bool ctrl;      // held through the drag
        Point expected; // the pad's centre afterwards
    };
    const Point c = at(10, 10);
    // The pad's bounds reach 90 + 40 (clearance) units from its centre.
    const int32_t reach = 130;
    const Case cases[] = {
        {"snapped to whole grid steps", {c.x + 300, c.y - 100}, false, {c.x + g, c.y}},
        {"Ctrl at the start moves freely", {c.x + 300, c.y - 100}, true, {c.x + 300, c.y - 100}},
        // Limited to the edge, then snapped: the grid step nearest to it.
        {"stops at the left edge", {-5000, c.y}, false, {g, c.y}},
        {"Ctrl: right at the left edge", {-5000, c.y}, true, {reach, c.y}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EditBench b;
        b.m.press(PointerButton::Left, c, {});
        b.m.move({k.to.x - 3 * g, k.to.y}, {.ctrl = k.ctrl});
        ASSERT_TRUE(b.m.previews()[PreviewKind::MoveOutline].drawn);
        b.m.move(k.to, {.ctrl = k.ctrl});
        b.m.release(PointerButton::Left, k.to, {});
        EXPECT_EQ(b.list()[0].centre(), k.expected);
        EXPECT_EQ(b.list()[1].centre(), at(20, 10)) << "unselected objects stay";
        EXPECT_FALSE(b.m.previews().anyDrawn());
        ASSERT_TRUE(Undo(b.session, b.doc));
        EXPECT_EQ(b.list()[0].centre(), c);
    }
}

TEST(PointerMachine, CornerDragAndCornerMenu)
{
    EditBench b;
    b.left(at(15, 20)); // select the track
    EXPECT_EQ(b.m.cursor(), PointerCursor::Arrow);
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

    struct MenuCase {
        Point at;
        PointerMenu menu;
        bool remove, split;
    };
    const MenuCase menus[] = {
        {at(20, 20), PointerMenu::Corner, true, true},  // inner corner of a three-point track
        {at(10, 20), PointerMenu::Corner, true, false}, // its first corner cannot split
        {at(40, 40), PointerMenu::Context, false, false},
    };
    for (const MenuCase& c : menus) {
        EditBench e;
        e.left(at(15, 20));
        e.right(c.at);
        const PointerEffects fx = e.m.takeEffects();
        EXPECT_EQ(fx.menu, c.menu);
        EXPECT_EQ(e.m.cornerMenu().remove, c.remove);
        EXPECT_EQ(e.m.cornerMenu().split, c.split);
    }
    EditBench s;
    s.left(at(15, 20));
    s.right(at(20, 20));
    s.m.cornerCommand(PointerMachine::CornerCommand::Split);
    EXPECT_EQ(s.list().size(), 4u) << "split at the corner the menu was opened on";
}

TEST(PointerMachine, ZoomToolAsksTheViewAndKeepsItsFrameOnTheBoard)
{
    Bench b;
    b.m.selectTool(ToolMode::Zoom);
    EXPECT_EQ(b.m.cursor(), PointerCursor::Lupe);
    b.m.press(PointerButton::Left, {-300, 200}, {});
    b.m.move(at(10, 10), {});
    EXPECT_TRUE(b.m.previews()[PreviewKind::Frame].drawn);
    b.m.takeEffects();
    b.m.release(PointerButton::Left, at(10, 10), {});
    PointerEffects fx = b.m.takeEffects();
    EXPECT_EQ(fx.zoom, ZoomRequest::Release);
    EXPECT_EQ(fx.zoomAnchor, (Point{0, 0})) << "clamped into the board";
    EXPECT_EQ(fx.zoomRelease, at(10, 10));
    EXPECT_FALSE(b.m.previews().anyDrawn());
    b.right();
    EXPECT_EQ(b.m.takeEffects().zoom, ZoomRequest::Out);
    EXPECT_EQ(b.m.tool(), ToolMode::Zoom);
}

// Tools 7 and 10: what a sequence leaves on the board, the tool it ends in,
// and whether a label still follows the pointer.
TEST(PointerMachine, TrackLabelAndPolygonTools)
{
    const Point p = at(20, 20);
    TrackLabelSettings label;
    label.text = "L";
    TrackLabelSettings numbered = label;
    numbered.text = "N";
    numbered.numbered = true;
    numbered.start = 7;
    TrackLabelSettings blank = label;
    blank.text = " #";
    const PolygonSettings square{.corners = 4, .radiusMm = 10, .offsetDegrees = 45, .lineWidthMm = 0.5};
    struct Case {
        const char* name;
        std::function<void(Bench&)> steps;
        size_t objects; // on the board afterwards, the pad at (5, 5) included
        ToolMode tool;
        bool following;
    };
    const Case cases[] = {
        {"a click places the label; the dialog is asked again",
         [&](Bench& b) { b.m.startTrackLabel(label), b.m.move(p, {}), b.left(p); }, 2, ToolMode::TrackText, false},
        {"numbered labels: each click places the number shown, the next one follows",
         [&](Bench& b) { b.m.startTrackLabel(numbered), b.m.move(p, {}), b.left(p), b.left(at(30, 20)); }, 7,
         ToolMode::TrackText, true},
        {"a right press drops the label", [&](Bench& b) { b.m.startTrackLabel(label), b.m.move(p, {}), b.right(p); }, 1,
         ToolMode::Edit, false},
        {"a command hides it, the next move shows it",
         [&](Bench& b) { b.m.startTrackLabel(label), b.m.move(p, {}), b.session.objectsWillChange(), b.m.move(p, {}); }, 1,
         ToolMode::TrackText, true},
        {"a tool change drops it", [&](Bench& b) { b.m.startTrackLabel(label), b.m.move(p, {}), b.m.selectTool(ToolMode::Track); },
         1, ToolMode::Track, false},
        {"a text without strokes is refused", [&](Bench& b) { EXPECT_FALSE(b.m.startTrackLabel(blank)); },
         1, ToolMode::Edit, false},
        {"each polygon click places one",
         [&](Bench& b) { b.m.startPolygon(square), b.m.move(p, {}), b.left(p), b.left(at(30, 20)); }, 3, ToolMode::Polygon,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        test::addPad(b.list(), at(5, 5), 60);
        c.steps(b);
        EXPECT_EQ(b.list().size(), c.objects);
        EXPECT_EQ(b.m.tool(), c.tool);
        EXPECT_EQ(!b.m.followingLabel().empty(), c.following);
        EXPECT_EQ(b.m.previews()[PreviewKind::TrackLabel].drawn, c.following);
        if (c.tool == ToolMode::Edit) {
            EXPECT_FALSE(b.m.previews().anyDrawn());
        }
    }

    Bench b;
    b.m.startTrackLabel(numbered);
    b.m.move(p, {});
    b.left(p);
    EXPECT_EQ(b.list()[0].Points.front(), p) << "the label N7 starts at the pointer";
    EXPECT_EQ(b.m.state().LabelCounter, 9) << "8 follows the pointer";
    EXPECT_TRUE(b.m.takeEffects().objectsChanged);
    // Beyond the right edge the label's box stays on the board.
    b.m.move({b.doc.Working.BoardWidth + 5000, p.y}, {});
    EXPECT_EQ(b.m.state().CurrentPoint.x, b.doc.Working.BoardWidth - StrokeTextExtent(numbered, 8).x);
}

} // namespace
} // namespace kestrel
