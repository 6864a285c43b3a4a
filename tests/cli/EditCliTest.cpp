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
    const std::string path = dir.file("in.kbd");
    EXPECT_TRUE(succeeded(writeDocument(doc, path, false, Language::English)));
    return path;
}

using Check = std::function<void(const ObjectList& board0, const ObjectList& board1)>;

struct Case {
    const char* name;
    std::vector<std::string> steps;
    const char* json; // the summary printed, or nullptr
    size_t objects;   // on board 0 in the written file
    Check check = nullptr; // what else the file shows
    std::vector<std::string> options = {};
};

// One row for each kind of step (and option): it reaches the editor's
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
        {"delete, then undo", {"select all", "delete", "undo"}, "{\"objects\": 3, \"selected\": 0}", 3},
        {"copy and paste onto the other side, then set the pasted pads",
         {"select frame 5 5 35 15", "copy", "layer K2", "paste", "set outer 2", "set shape 6"},
         "{\"objects\": 5, \"selected\": 2}", 5,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].Layer, l[4].X2, l[4].Shape, l[0].X2), std::tuple(Layer::K2, 100, 6, 80))
                 << "the originals keep theirs";
         }},
        {"the band drawn again is removed", {"band 10 10 30 10"}, "{\"objects\": 3, \"selected\": 0}", 3,
         [](const ObjectList& l, auto&) { EXPECT_TRUE(l[0].Connections.empty() && l[1].Connections.empty()); }},
        {"the test selects the lone track only", {"select all", "test 20 20"}, "{\"objects\": 3, \"selected\": 1}", 3},
        {"unrouting the laid track", {"select at 10 10", "select add 30 10", "route 0.4 0.2", "unroute"},
         "{\"objects\": 3, \"selected\": 2}", 3,
         [](const ObjectList& l, auto&) { EXPECT_EQ(l[1].Connections.size(), 1u); }},
        {"a band drawn over the laid track is cleared",
         {"select at 10 10", "select add 30 10", "route 0.4 0.2", "band 10 10 30 10", "clear bands"},
         "{\"objects\": 4, \"selected\": 0}", 4,
         [](const ObjectList& l, auto&) { EXPECT_TRUE(l[0].Connections.empty() && l[1].Connections.empty()); }},
        {"a track through three points, straight", {"track 5 5 20 5 20 12.5"}, nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(l[3].Points, (std::vector<Point>{{500, -500}, {2000, -500}, {2000, -1250}}));
         }},
        {"a zone on the active layer is closed on its first point", {"layer K2", "zone 40 40 60 40 60 60"}, nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].kind(), l[3].Layer), std::tuple(ObjectKind::Zone, Layer::K2));
             EXPECT_EQ(l[3].Points, (std::vector<Point>{{4000, -4000}, {6000, -4000}, {6000, -6000}, {4000, -4000}}));
         }},
        {"a pad in via mode brings its twin", {"via on", "pad 70 30"}, nullptr, 5,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].centre(), l[3].Partner), std::tuple(Point{7000, -3000}, l.at(4)));
         }},
        {"a drag from pad A moves it by whole grid steps", {"drag 10 10 15.3 10"},
         "{\"objects\": 3, \"selected\": 1}", 3,
         [](const ObjectList& l, auto&) { EXPECT_EQ(l[0].centre(), (Point{1508, -1000})); }},
        {"track label", {"track-label 10 30 L --height 5 --stroke 0.3 --layer B1"}, nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(l[3].Points, (std::vector<Point>{{1000, -2560}, {1000, -3000}, {1220, -3000}}));
             EXPECT_EQ(std::tuple(l[3].Width, l[3].Layer), std::tuple(30, Layer::B1));
         }},
        {"a track label at the edge is kept on the board", {"track-label 159.9 30 L --height 5 --stroke 0.3"}, nullptr,
         4,
         [](const ObjectList& l, auto&) {
             ASSERT_EQ(l[3].Points.size(), 3u);
             EXPECT_LE(l[3].Points[2].x, 16000);
             EXPECT_EQ(l[3].Points[2].x - l[3].Points[0].x, 220) << "the letter whole";
         }},
        {"polygon", {"polygon 50 50 --corners 4 --radius 10 --offset 45 --width 0.5 --fill"}, nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].kind(), l[3].Points.size(), l[3].Points[0]),
                       std::tuple(ObjectKind::Zone, 5u, Point{5707, -4293}));
         }},
        {"arc", {"arc 50 50 --radius 5 --width 1 --from 90 --to 450"}, nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ((std::tuple{l[3].circleOuterRadius(), l[3].circleInnerRadius()}), (std::tuple{550, 450}));
             EXPECT_EQ((std::tuple{l[3].arcStartDegrees(), l[3].arcStopDegrees()}), (std::tuple{90, 90}));
         }},
        {"segment of the selected arcs",
         {"arc 50 50 --radius 5 --width 1 --from 0 --to 0", "arc 70 50 --radius 5 --width 1 --from 0 --to 0",
          "select frame 40 40 80 60", "segment -90 180 --fill"},
         nullptr, 5,
         [](const ObjectList& l, auto&) {
             for (size_t i : {3u, 4u})
                 EXPECT_EQ((std::tuple{l[i].arcStartDegrees(), l[i].arcStopDegrees(), l[i].Filled}),
                           (std::tuple{270, 180, uint8_t{1}}));
         }},
        {"via", {"select at 10 10", "via"}, nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_EQ(std::tuple(l[3].Partner, l[3].Layer), std::tuple(l.at(0), Layer::K2));
             EXPECT_TRUE(l[3].Connections.empty()) << "the band stays with the pad it was drawn to";
         }},
        // The label step places what the label tool places: the box measured
        // in the label font, turned clockwise.
        {"labels in the system font", {"label 10 5 R 12 --height 2.5 --angle 90 --layer B1", "label 20 30 Q"},
         nullptr, 5,
         [](const ObjectList& l, auto&) {
             const LayoutObject& turned = l[3];
             // A font height of -333 is 2.5 mm at 96 pixels per inch.
             EXPECT_EQ(std::tuple(turned.TextValue, turned.start(), turned.Angle, turned.Layer, turned.Width),
                       std::tuple(std::string("R 12"), Point{1000, -500}, 90, Layer::B1, -333));
             EXPECT_TRUE(turned.X2 < turned.X1 && turned.Y2 < turned.Y1 &&
                         turned.Y1 - turned.Y2 > turned.X1 - turned.X2)
                 << "a quarter turn clockwise: the text runs down";
             EXPECT_EQ(std::tuple(l[4].Layer, l[4].Y1 - l[4].Y2), std::tuple(Layer::K1, 400))
                 << "the active layer; a 3 mm label's cell is 4 mm";
         }},
        {"a label at the far corner moved in to stay on the 160 x 100 mm board", {"label 159 99 EDGE"}, nullptr, 4,
         [](const ObjectList& l, auto&) {
             EXPECT_TRUE(l[3].X1 < 15900 && std::max(l[3].X1, l[3].X2) == 16000 &&
                         std::min(l[3].Y1, l[3].Y2) >= -10000)
                 << l[3].X1 << " " << l[3].X2 << " " << l[3].Y2;
         }},
        {"--board edits that board only", {"select all", "delete"}, "{\"objects\": 0, \"selected\": 0}", 3,
         [](const ObjectList&, const ObjectList& b1) { EXPECT_TRUE(b1.empty()); }, {"--board", "1"}},
        // Depth 3 (the default is 1): two steps back, one forward.
        {"undo depth 3", {"select at 10 10", "move 5 0", "move 5 0", "undo", "undo", "redo"}, nullptr, 3,
         [](const ObjectList& l, auto&) { EXPECT_EQ(l[0].X1, 1500); }, {"--undo-depth", "3"}},
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
    std::string longTrackLabel = "track-label 10 10 ";
    longTrackLabel.append(51, 'A');
    expectRefusals({
        {{"edit", "--lang", "en", in, out, "rotate", "spin"}, 2, "unknown step 'spin'"},
        {{"edit", in, out, "move 5"}, 2, "'move 5'"},
        {{"edit", "--lang", "en", in, out, "move 5 nan"}, 2, "not a number"},
        {{"edit", in, out, "nudge sideways"}, 2, "left|right|up|down"},
        {{"edit", in, out, "layer K3"}, 2, "K1|B1|K2|B2"},
        {{"edit", "--lang", "en", in, out, "route 0.05 0.2"}, 2, "out of range"},
        {{"edit", in, out, "track 1 2 3"}, 2, "'track 1 2 3'"},
        {{"edit", "--lang", "en", in, out, "zone 1 1 10 1 10 10 1"}, 2, "the coordinates come in X Y pairs"},
        {{"edit", in, out, "track 1 1 10 1 10"}, 2, "координаты задаются парами X Y"},
        {{"edit", "--lang", "en", in, out, "label 10 5 A --height 0.5"}, 2, "step 'label 10 5 A --height 0.5'"},
        {{"edit", "--lang", "en", in, out, "track-label 10 10"}, 2, "expects arguments: 3"},
        {{"edit", "--lang", "en", in, out, "track-label 10 10 A --height"}, 2, "--height: expects a value"},
        {{"edit", "--lang", "en", in, out, "track-label 10 10 A --size 3"}, 2, "unknown option --size"},
        {{"edit", "--lang", "en", in, out, "polygon 10 10 --radius 5"}, 2, "requires --corners"},
        {{"edit", "--lang", "en", in, out, "pad 3e7 10"}, 2, "value out of range: 3e7"},
        {{"edit", "--lang", "en", in, out, "track 10 10 20000 10"}, 2, "value out of range: 20000"},
        // Texts the file or the font cannot keep are refused, not cut short.
        {{"edit", "--lang", "en", in, out, "label 10 5 ABCDEFGHIJKLMNOP"}, 2, "text longer than 15 characters"},
        {{"edit", "--lang", "en", in, out, "label 10 5 Ток日"}, 2, "a character the file cannot hold: 日"},
        {{"edit", "--lang", "en", in, out, "track-label 10 10 ЖБ"}, 2, "no character the track font draws"},
        {{"edit", "--lang", "ru", in, out, longTrackLabel}, 2, "текст длиннее 50 знаков"},
        {{"edit", "--lang", "ru", in, out, "spin"}, 2, "неизвестный шаг 'spin'"},
        // Without --lang the steps are refused in Russian.
        {{"edit", in, out, "rotate", "spin"}, 2, "неизвестный шаг 'spin'"},
        {{"edit", in, out, "move 5 nan"}, 2, "не число: nan"},
        {{"edit", "--lang", "de", in, out}, 2, "--lang"},
        {{"edit", "--undo-depth", "0", in, out}, 2, "--undo-depth"},
        {{"edit", "--lang", "en", in}, 2, "IN and OUT"},
        {{"edit", dir.file("missing.kbd"), out, "rotate"}, 1, "missing.kbd"},
    });
    EXPECT_FALSE(std::filesystem::exists(out)) << "nothing written";
}

} // namespace

// A band or route step that finds nothing to do says so on stderr, in the
// language asked for; the steps after it still run and the file is written.
TEST(EditCli, StepsThatFindNothingToDoSaySo)
{
    TempDir dir;
    const std::string in = writeSample(dir), out = dir.file("out.kbd");
    const std::tuple<std::vector<std::string>, std::string> rows[] = {
        {{"--lang", "en", "band 10 10 70 50"}, "kestrel-cli: step band: no pad at one of the points; no band changed\n"},
        {{"band 10 10 70 50"}, "kestrel-cli: шаг band: нет площадки в одной из точек; перемычка не изменена\n"},
        {{"--lang", "en", "select none", "route 0.4 0.2"},
         "kestrel-cli: step route: the selection is not two pads joined by a band; nothing routed\n"},
        {{"--lang", "en", "select at 10 10", "select add 30 10", "route 0.4 0.2"}, ""}, // routed
    };
    for (const auto& [steps, err] : rows) {
        std::vector<std::string> args{"edit"};
        auto it = steps.begin();
        if (*it == "--lang") {
            args.insert(args.end(), {it[0], it[1]});
            it += 2;
        }
        args.insert(args.end(), {in, out});
        args.insert(args.end(), it, steps.end());
        const CommandResult r = runCli(args);
        EXPECT_EQ(r.status, 0) << steps.back();
        EXPECT_EQ(r.err, err) << steps.back();
    }
}

// A damaged grid is replaced as the editor replaces it on opening, so a nudge
// or a paste moves by a sane step and keeps every object.
TEST(EditCli, ADamagedGridMovesByTheDefaultStep)
{
    TempDir dir;
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    addPad(*doc.currentObjects(), {1000, -1000}, 80);
    const std::string in = dir.file("in.kbd"), out = dir.file("out.kbd");
    for (const double grid : {std::nan(""), 1e300, -1.0}) {
        SCOPED_TRACE(grid);
        doc.Working.Grid = grid;
        ASSERT_TRUE(succeeded(writeDocument(doc, in, false, Language::English)));
        const CommandResult r = runCli({"edit", in, out, "select all", "nudge left", "copy", "paste"});
        ASSERT_EQ(r.status, 0) << r.err;
        const auto read = readDocument(out, Language::English);
        ASSERT_TRUE(succeeded(read));
        const ObjectList& list = read->document.board(0).Objects;
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0].X1, 1000 - static_cast<int32_t>(kDefaultGrid)) << "a step of the default grid";
    }
}
