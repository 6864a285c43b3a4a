#include "edit/ToolParameters.h"
#include "edit/TrackLabel.h"
#include "model/LayoutFile.h"
#include "view/Viewport.h"

#include "Refusals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// Board 0: pads A (10, 10 mm) and B (30, 10 mm) joined by a band, a track
// from (10, 20) to (50, 20) mm; board 1: one pad. Board 0 is active.
std::string writeSample(const TempDir& dir)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& list = *doc.currentObjects();
    LayoutObject& a = addPad(list, {1000, -1000}, 80);
    LayoutObject& b = addPad(list, {3000, -1000}, 80);
    addBand(a, b);
    addTrack(list, {{1000, -2000}, {5000, -2000}});
    doc.addBoard("Second");
    addPad(*doc.currentObjects(), {500, -500}, 50);
    doc.activate(0);
    return writeLayout(dir, doc);
}

using Check = std::function<void(const ObjectList& board0, const ObjectList& board1)>;

struct Case {
    const char* name;
    std::vector<std::string> steps;
    const char* json; // the summary printed, or nullptr
    size_t objects;   // on board 0 in the written file
    Check check = nullptr; // what else the file shows
    std::vector<std::string> options = {};
    std::string err = ""; // what a step that finds nothing to do says; the steps after it still run
};

// Rows for the main kinds of step (and option): each reaches the editor's
// command or tool, and the written file shows it. What the commands do in
// detail is checked in the edit tests.
TEST(EditCli, EachStepReachesTheEditor)
{
    const Case cases[] = {
        {"click and move", {"select at 10 10", "move 5 -2.5"}, "{\"objects\": 3, \"selected\": 1}", 3,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[0].centre(), l[1].centre()), std::tuple(Point{1500, -750}, Point{3000, -1000}));
         }},
        {"a frame takes the track by its stroke", {"select frame 40 19 60 30", "nudge right"},
         "{\"objects\": 3, \"selected\": 1}", 3,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[0].centre(), l[2].Points[0]), std::tuple(Point{1000, -1000}, Point{1254, -2000}));
         }},
        // A click on an object not selected selects it alone; nudges go a grid step the way named.
        {"a click replaces the selection; nudges up, down and left", {"select at 10 10", "select at 30 10",
         "nudge up", "nudge up", "nudge down", "nudge left"}, "{\"objects\": 3, \"selected\": 1}", 3,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[0].centre(), l[1].centre()), std::tuple(Point{1000, -1000}, Point{2746, -746}));
         }},
        // Across the middle of the selection on the grid, (30.48, 15.24) mm
        // (every point of every kind: Transform.MirrorsReflectEveryPoint).
        {"mirror horizontal swaps left and right", {"select all", "mirror horizontal"}, nullptr, 3,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[0].centre(), l[1].centre()), std::tuple(Point{5096, -1000}, Point{3096, -1000}));
         }},
        {"mirror vertical swaps top and bottom", {"select all", "mirror vertical"}, nullptr, 3,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[0].centre(), l[1].centre()), std::tuple(Point{1000, -2048}, Point{3000, -2048}));
         }},
        {"copy and paste onto the other side, then set the pasted pads",
         {"select frame 5 5 35 15", "copy", "layer K2", "paste", "set outer 2", "set shape 6"},
         "{\"objects\": 5, \"selected\": 2}", 5,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].Layer, l[4].X2, l[4].Shape, l[0].X2), std::tuple(Layer::K2, 100, 6, 80))
                 << "the originals keep theirs";
         }},
        {"the band drawn again is removed", {"band 10 10 30 10"}, "{\"objects\": 3, \"selected\": 0}", 3,
         [](const ObjectList& l, auto&) { EXPECT_TRUE(l[0].Connections.empty() && l[1].Connections.empty()); }},
        {"a route between the banded pads, 0.4 mm wide", {"select at 10 10", "select add 30 10", "route 0.4 0.2"},
         nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].kind(), l[3].Width), std::tuple(ObjectKind::Track, 40));
         }},
        {"the test selects the lone track only", {"select all", "test 20 20"}, "{\"objects\": 3, \"selected\": 1}", 3},
        {"unrouting the laid track", {"select at 10 10", "select add 30 10", "route 0.4 0.2", "unroute"},
         "{\"objects\": 3, \"selected\": 2}", 3,
         [](const ObjectList& l, auto&) { EXPECT_EQ(l[1].Connections.size(), 1u); }},
        {"a track the router did not lay in this run is not unrouted, and the step says so",
         {"track 10 10 30 10", "select at 20 10", "unroute"}, nullptr, 4, nullptr, {"--lang", "en"},
         "kestrel-cli: step unroute: no track laid by the router in this run is selected; nothing changed\n"},
        {"the band joined by a track is cleared", {"track 10 10 30 10", "clear bands"}, nullptr, 4,
         [](const ObjectList& l, auto&) { EXPECT_TRUE(l[0].Connections.empty() && l[1].Connections.empty()); }},
        {"a zone on the active layer, a pad in via mode with its twin",
         {"layer K2", "zone 40 40 60 40 60 60", "via on", "pad 70 30"}, nullptr, 6,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].kind(), l[3].Layer, l[3].Points.size()),
                       std::tuple(ObjectKind::Zone, Layer::K2, 4u));
             EXPECT_EQ(std::tuple(l[4].centre(), l[4].Partner), std::tuple(Point{7000, -3000}, l.at(5)));
         }},
        {"a drag from pad A moves it by whole grid steps, then it becomes a via", {"drag 10 10 15.3 10", "via"},
         nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[0].centre(), l[3].Partner, l[3].Layer),
                       std::tuple(Point{1508, -1000}, l.at(0), Layer::K2));
         }},
        // An arc is as wide as typed, an odd number of hundredths too.
        {"polygon, arc and a segment of the selected arcs",
         {"polygon 50 50 --corners 4 --radius 10 --offset 45 --width 0.5 --fill",
          "arc 80 50 --radius 5 --width 1 --from 90 --to 450", "select at 85 50", "segment -90 180 --fill",
          "arc 80 80 --radius 10 --width 0.97 --from 0 --to 90", "arc 80 20 --radius 10 --width 0.01 --from 0 --to 90",
          "arc 110 20 --radius 5 --width 10 --from 0 --to 90", "polygon 120 60 --corners 3 --radius 5 --offset 180"},
         nullptr, 9,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].kind(), l[3].Points.size(), l[3].Points[0]),
                       std::tuple(ObjectKind::Zone, 5u, Point{5707, -4293}));
             EXPECT_EQ(
                 (std::tuple{l[4].circleOuterRadius(), l[4].arcStartDegrees(), l[4].arcStopDegrees(), l[4].Filled}),
                 (std::tuple{550, 270, 180, uint8_t{1}}));
             EXPECT_EQ(l[5].circleOuterRadius() - l[5].circleInnerRadius(), 97);
             EXPECT_EQ(l[6].circleOuterRadius() - l[6].circleInnerRadius(), 1);
             EXPECT_EQ(std::tuple(l[7].circleOuterRadius(), l[7].circleInnerRadius()), std::tuple(1000, 0)) << "solid";
             EXPECT_EQ(l[8].Points[0], (Point{11500, -6000})) << "the first corner turned by 180°";
         }},
        // The polygon's first corner (60, 50) is also its last.
        {"a closed track's first corner drags and goes as one",
         {"polygon 50 50 --corners 4 --radius 10 --width 0.5", "select at 60 50", "drag 60 50 62.54 50",
          "corner remove 62.54 50", "corner split 30 50"},
         nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(l[3].Points, (std::vector<Point>{{5000, -4000}, {4000, -5000}, {5000, -6000}, {5000, -4000}}));
         },
         {"--lang", "en"}, "kestrel-cli: step corner: no corner of a selected object at the point; nothing changed\n"},
        // A corner dragged onto its neighbour would leave the zone flat; one
        // dragged beyond the board stops at its edge, as the pointer does.
        {"corner drags keep a zone's area and stay on the board",
         {"zone 10.16 5.08 30.48 5.08 30.48 20.32", "select at 25 8", "drag 30.48 20.32 30.48 5.08",
          "track 40 40 60 40", "select at 50 40", "drag 60 40 500 -20",
          "zone 10.16 50.8 30.48 50.8 30.48 71.12 10.16 71.12", "select at 20 60", "drag 30.48 71.12 30.48 50.8"},
         nullptr, 6,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(l[3].Points[2], (Point{3048, -2032}));
             EXPECT_EQ(l[4].Points[1], (Point{16000, 0}));
             EXPECT_EQ(l[5].Points[2], (Point{3048, -7112})) << "no corner doubled";
         }},
        {"a corner on the grid already is left, and the step says so", {"track 40.64 40.64 50.8 40.64",
         "select at 45 40.64", "corner grid 50.8 40.64"}, nullptr, 4, nullptr, {"--lang", "en"},
         "kestrel-cli: step corner: nothing to change there (the corner would fall on its neighbour, is on the grid "
         "already, or the zone would lose its area); nothing changed\n"},
        {"a grouped track's corner is not edited, and the step says why",
         {"track 40 40 60 40 60 50", "pad 70 70", "select at 50 40", "select add 70 70", "group", "corner split 60 40"},
         nullptr, 5, [](const ObjectList& l, auto&) { EXPECT_EQ(l[3].Points.size(), 3u); }, {"--lang", "en"},
         "kestrel-cli: step corner: the corners of a grouped object cannot be edited; split the group first "
         "(ungroup); nothing changed\n"},
        {"a circle no wider than the ring's inner edge is not drawn", {"circle 30 30 0.3", "set inner 0.2",
         "circle 40 30 0.3"}, nullptr, 4, [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].circleOuterRadius(), l[3].circleInnerRadius()), std::tuple(30, 10));
         }, {"--lang", "en"}, "kestrel-cli: step circle: the circle would have no width: its diameter is not larger "
         "than the inner diameter 0.6 mm (see \"set inner\"); nothing added\n"},
        {"a band step with both points on one pad says so", {"band 10 10 10.2 10"}, nullptr, 3, nullptr,
         {"--lang", "en"}, "kestrel-cli: step band: both points are on one pad; no band changed\n"},
        {"a segment step without a selected circle says so", {"select none", "segment 0 90"}, nullptr, 3, nullptr,
         {"--lang", "en"}, "kestrel-cli: step segment: no circle is selected; nothing changed\n"},
        {"a polygon reaching beyond what a file holds is not added, and the run is saved",
         {"pad 20 20", "polygon 9995 3 --corners 6 --radius 7.75"}, nullptr, 3,
         [](const ObjectList&, const ObjectList& b1) { EXPECT_EQ(b1.size(), 2u) << "its object and the pad"; },
         {"--lang", "en", "--board", "1"},
         "kestrel-cli: step polygon: the polygon would reach beyond 10 m from the origin; nothing added\n"},
        {"a zone through corners in one line is dropped, and the step says so", {"zone 10 10 20 20 30 30"}, nullptr, 3,
         nullptr, {"--lang", "en"}, "kestrel-cli: step zone: the corners enclose no area; nothing added\n"},
        // 140 mm across, turned, on a board 100 mm high.
        {"a turn the board has no room for changes nothing and says so",
         {"pad 10 50", "pad 150 50", "select all", "rotate"}, nullptr, 5,
         [](const ObjectList& l, auto&) { EXPECT_EQ(l[4].centre(), (Point{15000, -5000})); }, {"--lang", "en"},
         "kestrel-cli: step rotate: the selection would not fit on the board that way; nothing changed\n"},
        {"a track through three points, straight", {"track 5 5 20 5 20 12.5"}, nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(l[3].Points, (std::vector<Point>{{500, -500}, {2000, -500}, {2000, -1250}}));
         }},
        {"a track label at the edge is kept on the board whole",
         {"track-label 159.9 30 L --height 5 --stroke 0.3 --layer B1"}, nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].Width, l[3].Layer, l[3].Points.size()), std::tuple(30, Layer::B1, 3u));
             EXPECT_LE(l[3].Points[2].x, 16000);
             EXPECT_EQ(l[3].Points[2].x - l[3].Points[0].x, 220) << "the letter whole";
         }},
        // Blanks inside the text as typed: the second label's B lies one
        // blank further right.
        {"a track label keeps the blanks of its text",
         {"track-label 10 30 A B --height 5 --stroke 0.3", "track-label 10 50 --height 5 --stroke 0.3 A  B"}, nullptr,
         11,
         [](const ObjectList& l, auto&) {
             const auto left = [](const LayoutObject& o) {
                 int32_t x = o.Points[0].x;
                 for (Point p : o.Points)
                     x = std::min(x, p.x);
                 return x;
             };
             // Three strokes of A, one of B each.
             EXPECT_GT(left(l[10]) - left(l[7]), left(l[6]) - left(l[3]) + 100);
         }},
        // Wherever it went, a label wider than the board would lose letters
        // beyond an edge with the next save; it is refused, as the dialog does.
        {"a track label wider than the board is refused", {"track-label 10 30 WWWWWWWWWW --height 30"}, nullptr, 3,
         nullptr, {"--lang", "en"}, "kestrel-cli: step track-label: the label is larger than the board; nothing added\n"},
        {"so is one whose pen makes it so", {"track-label 50 30 A --stroke 99.9"}, nullptr, 3, nullptr, {"--lang", "en"},
         "kestrel-cli: step track-label: the label is larger than the board; nothing added\n"},
        {"a label in the system font larger than the board is refused",
         {"label 10 10 WWWWWWWWWWWWWWW --height 30 --layer B1"}, nullptr, 3, nullptr, {"--lang", "en"},
         "kestrel-cli: step label: the label is larger than the board; nothing added\n"},
        // The label step places what the label tool places (the box is the
        // label tool's). The last is moved in to stay on the 160 x 100 mm board.
        {"labels in the system font", {"label 10 5 R 12 --height 2.5 --angle 90 --layer B1", "label 159 99 EDGE"},
         nullptr, 5,
         [](const ObjectList& l, auto&) {
             const LayoutObject& turned = l[3];
             // A font height of -333 is 2.5 mm at 96 pixels per inch.
             EXPECT_EQ(std::tuple(turned.TextValue, turned.start(), turned.Angle, turned.Layer, turned.Width),
                       std::tuple(std::string("R 12"), Point{1000, -500}, 90, Layer::B1, -333));
             EXPECT_TRUE(l[4].X1 < 15900 && std::max(l[4].X1, l[4].X2) == 16000 && std::min(l[4].Y1, l[4].Y2) >= -10000)
                 << l[4].X1 << " " << l[4].X2 << " " << l[4].Y2;
         }},
        {"a label's properties, as its dialog sets them", {"label 10 5 R1 --height 2.5", "relabel 10.5 5.5 R22 --angle 90"},
         nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].TextValue, l[3].Angle, l[3].Width, l[3].start()),
                       std::tuple(std::string("R22"), 90, -333, Point{1000, -500}))
                 << "the height kept, the anchor where it was";
         }},
        {"a label's new text larger than the board is refused, as its dialog refuses it",
         {"label 10 5 R1", "relabel 10.5 5.5 WWWWWWWWWWWWWWW --height 20"}, nullptr, 4,
         [](const ObjectList& l, auto&) {
             // 3 mm high by default (2.5 mm is -333).
             EXPECT_EQ(std::tuple(l[3].TextValue, l[3].Width), std::tuple(std::string("R1"), -400));
         },
         {"--lang", "en"},
         "kestrel-cli: step relabel: the label is larger than the board; nothing changed\n"},
        {"--board edits that board only", {"select all", "delete"}, "{\"objects\": 0, \"selected\": 0}", 3,
         [](const ObjectList&, const ObjectList& b1) { EXPECT_TRUE(b1.empty()); }, {"--board", "1"}},
        // At the default depth 1 an undo takes back the one before it, as in the editor.
        {"undo depth 1 by default", {"select at 10 10", "move 5 0", "move 5 0", "undo", "undo"}, nullptr, 3,
         [](const ObjectList& l, auto&) { EXPECT_EQ(l[0].X1, 2000); }},
        {"a track as wide as set", {"set width 1", "track 10 40 20 40"}, nullptr, 4,
         [](const ObjectList& l, auto&) { EXPECT_EQ(l[3].Width, 100); }},
        // Depth 3 (the default is 1): two steps back, one forward.
        {"undo depth 3", {"select at 10 10", "move 5 0", "move 5 0", "undo", "undo", "redo"}, nullptr, 3,
         [](const ObjectList& l, auto&) { EXPECT_EQ(l[0].X1, 1500); }, {"--undo-depth", "3"}},
        {"a band step with no pad at one end says so, in Russian by default", {"band 10 10 70 50", "select all"},
         "{\"objects\": 3, \"selected\": 3}", 3, nullptr, {},
         "kestrel-cli: шаг band: нет площадки в одной из точек; перемычка не изменена\n"},
        {"a route step with two bands selected says which it takes",
         {"pad 50 10", "band 30 10 50 10", "select all", "route 0.4 0.2"}, nullptr, 5, nullptr, {"--lang", "en"},
         "kestrel-cli: step route: the selection holds 2 bands; the first in the list is routed (select the two "
         "pads of one band)\n"},
        {"a route step without two banded pads says so", {"select none", "route 0.4 0.2"}, nullptr, 3, nullptr,
         {"--lang", "en"}, "kestrel-cli: step route: the selection is not two pads joined by a band; nothing routed\n"},
        {"a route step with a silk layer active says it routes on copper",
         {"layer B1", "select at 10 10", "select add 30 10", "route 0.4 0.2"}, nullptr, 3, nullptr, {"--lang", "en"},
         "kestrel-cli: step route: The active layer is a silk layer: tracks are routed on the copper of side 1 or 2.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::vector<std::string> args = {"edit"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), {writeSample(dir), dir.file("out.kbd")});
        args.insert(args.end(), c.steps.begin(), c.steps.end());
        const CommandResult r = runCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, c.err);
        if (c.json) {
            EXPECT_EQ(r.out, std::string(c.json) + "\n");
        }
        auto read = readDocument(dir.file("out.kbd"), Language::English);
        ASSERT_TRUE(succeeded(read));
        LayoutDocument& out = read->document;
        EXPECT_EQ(out.ActiveBoard, 0) << "the file keeps its active board";
        ASSERT_EQ(out.board(0).Objects.size(), c.objects);
        if (c.check) {
            c.check(out.board(0).Objects, out.board(1).Objects);
        }
    }
}

TEST(EditCli, BadStepsAndFilesAreRefused)
{
    TempDir dir;
    const std::string in = writeSample(dir), out = dir.file("out.kbd");
    expectRefusals({
        {{"edit", "--lang", "en", in, out, "rotate", "spin"}, 2, "unknown step 'spin'"},
        {{"edit", "--board", "-1", "--lang", "en", in, out, "rotate"}, 2, "--board expects a whole number from 0 up"},
        // A refused value says what is allowed.
        {{"edit", "--lang", "en", in, out, "arc 50 30 --radius 5 --width 1 --from 10 --to 10.4"}, 2,
         "value not allowed; allowed: --radius from 0.05 to 99.9 mm, --width from 0.01 mm up to twice the radius, "
         "the angles in whole degrees"},
        // Sizes that would be stored as 0: the smallest circle the tool panel draws is 0.1 mm across.
        {{"edit", "--lang", "en", in, out, "circle 10 10 0.049"}, 2,
         "value not allowed; allowed: a radius from 0.05 to 99.9 mm"},
        {{"edit", "--lang", "en", in, out, "arc 10 10 --radius 1 --width 0.004 --from 0 --to 90"}, 2, "--width from 0.01"},
        {{"edit", "--lang", "en", in, out, "arc 10 10 --radius 1 --width 2.01 --from 0 --to 90"}, 2,
         "twice the radius"},
        {{"edit", "--lang", "en", in, out, "arc 10 10 --radius 0.04 --width 0.01 --from 0 --to 90"}, 2,
         "--radius from 0.05"},
        {{"edit", "--lang", "en", in, out, "track-label 10 10 A --stroke 0"}, 2, "--stroke from 0.01 to 99.9 mm"},
        {{"edit", "--lang", "en", in, out, "move +-5 0"}, 2, "+-5"},
        {{"edit", "--lang", "en", in, out, "polygon 10 10 --corners 4.5 --radius 3"}, 2,
         "allowed: --corners: a whole number from 3 to 99, --radius from 1 to 99.9 mm"},
        {{"edit", in, out, "segment 10.5 90"}, 2, "недопустимое значение; допустимо: углы в целых градусах"},
        {{"edit", "--lang", "en", in, out, "corner bend 10 10"}, 2, "corner"},
        {{"edit", in, out, "move 5"}, 2, "'move 5'"},
        {{"edit", in, out, "track 1 1 10 1 10"}, 2, "координаты задаются парами X Y"}, // Russian by default
        {{"edit", "--lang", "en", in, out, "zone 35 5 40 5"}, 2, "expects at least this many arguments: 6"},
        {{"edit", "--lang", "en", in, out, "rotate 1"}, 2, "expects arguments: 0"},
        {{"edit", "--lang", "en", in, out, "track-label 10 10 A --height"}, 2, "--height: expects a value"},
        {{"edit", "--lang", "en", in, out, "track-label 10 10 A --height 3 B"}, 2,
         "options stand inside the text; they go before or after it"},
        {{"edit", "--lang", "en", in, out, "label 10 10 A --angle 90 --angle 180"}, 2, "option given twice: --angle"},
        {{"edit", "--lang", "en", in, out, "pad 3e7 10"}, 2, "value out of range: 3e7"},
        // Sizes as the panel takes them: a pad keeps copper, a clearance reaches 5 mm.
        {{"edit", "--lang", "en", in, out, "select all", "set outer 0"}, 2,
         "allowed: shape: a whole number from 1 to 9; outer from 0.1 to 99.9 mm, width and inner from 0 to 99.9 mm, "
         "clearance from 0 to 5 mm"},
        {{"edit", in, out, "set clearance 5.1"}, 2, "clearance от 0 до 5 мм"},
        // Texts the file or the font cannot keep are refused, not cut short.
        {{"edit", "--lang", "en", in, out, "label 10 5 ABCDEFGHIJKLMNOP"}, 2, "text longer than 15 characters"},
        {{"edit", "--lang", "en", in, out, "label 10 5 Ток日"}, 2, "a character the file cannot hold: 日"},
        {{"edit", "--lang", "en", in, out, "track-label 10 10 ЖБ"}, 2, "no character the track font draws"},
        {{"edit", in, out, "move 5 nan"}, 2, "не число: nan"},
        {{"edit", dir.file("missing.kbd"), out, "rotate"}, 1, "missing.kbd"},
    });
    EXPECT_FALSE(std::filesystem::exists(out)) << "nothing written";
}

} // namespace

// A damaged grid is replaced as the editor replaces it on opening (which
// values are damaged: Viewport.SanitizeValuesFromFiles), so a nudge or a
// paste moves by a sane step and keeps every object.
TEST(EditCli, ADamagedGridMovesByTheDefaultStep)
{
    TempDir dir;
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    addPad(*doc.currentObjects(), {1000, -1000}, 80);
    doc.Working.Grid = std::nan("");
    const std::string out = dir.file("out.kbd");
    const CommandResult r = runCli({"edit", writeLayout(dir, doc), out, "select all", "nudge left", "copy", "paste"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto read = readDocument(out, Language::English);
    ASSERT_TRUE(succeeded(read));
    const ObjectList& list = read->document.board(0).Objects;
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].X1, 1000 - static_cast<int32_t>(kDefaultGrid)) << "a step of the default grid";
}

// The track-label step's character distance is the dialog's: the label
// written is the one the generator makes with the same settings, --fixed
// among them.
TEST(EditCli, TrackLabelCharacterDistanceIsTheDialogs)
{
    TempDir dir;
    for (const bool fixed : {false, true}) {
        SCOPED_TRACE(fixed);
        LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
        const std::string in = writeLayout(dir, doc), out = dir.file("out.kbd"), expected = dir.file("expected.kbd");
        const CommandResult r =
            runCli({"edit", in, out, std::string("track-label 10 30 IIW --height 5") + (fixed ? " --fixed" : "")});
        ASSERT_EQ(r.status, 0) << r.err;
        TrackLabelSettings settings;
        settings.text = "IIW";
        settings.fixedSpacing = fixed;
        EditSession session;
        int32_t counter = 0;
        GenerateTrackLabel(session, doc, settings, counter, {1000, -3000}, Layer::K1,
                           ToolParameters{}.CurrentClearance);
        ASSERT_TRUE(succeeded(writeDocument(doc, expected, false, Language::English)));
        EXPECT_EQ(readBytes(out), readBytes(expected));
    }
}
