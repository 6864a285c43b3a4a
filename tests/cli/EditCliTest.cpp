#include "model/LayoutFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include <filesystem>

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

LayoutDocument readBack(const std::string& path)
{
    auto r = readDocument(path, Language::English);
    EXPECT_TRUE(succeeded(r));
    return r ? std::move(r->document) : LayoutDocument{};
}

CommandResult edit(const TempDir& dir, std::vector<std::string> steps, std::vector<std::string> options = {})
{
    std::vector<std::string> args = {"edit"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(dir.file("in.kbd"));
    args.push_back(dir.file("out.kbd"));
    args.insert(args.end(), steps.begin(), steps.end());
    return runCli(args);
}

TEST(EditCli, StepsRunInOrderThroughTheEditorCommands)
{
    struct Case {
        const char* name;
        std::vector<std::string> steps;
        const char* json;
        // Centres (pads) or first points (tracks) of board 0 in the written file.
        std::vector<Point> where;
    };
    const Case cases[] = {
        {"click and move", {"select at 10 10", "move 5 -2.5"}, "{\"objects\": 3, \"selected\": 1}",
         {{1500, -750}, {3000, -1000}, {1000, -2000}}},
        {"a frame takes the track by its stroke", {"select frame 40 19 60 30", "nudge right"},
         "{\"objects\": 3, \"selected\": 1}", {{1000, -1000}, {3000, -1000}, {1254, -2000}}},
        {"duplicate one grid step right and down", {"select at 10 10", "duplicate"},
         "{\"objects\": 4, \"selected\": 1}", {{1000, -1000}, {3000, -1000}, {1000, -2000}, {1254, -1254}}},
        {"delete, then undo", {"select all", "delete", "undo"}, "{\"objects\": 3, \"selected\": 0}",
         {{1000, -1000}, {3000, -1000}, {1000, -2000}}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeSample(dir);
        const CommandResult r = edit(dir, c.steps);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.err;
        EXPECT_EQ(r.out, std::string(c.json) + "\n") << c.name;
        LayoutDocument out = readBack(dir.file("out.kbd"));
        std::vector<Point> where;
        for (const auto& o : out.board(0).Objects)
            where.push_back(o->hasPoints() ? o->Points[0] : o->centre());
        EXPECT_EQ(where, c.where) << c.name;
    }
}

TEST(EditCli, CopyPasteOntoTheOtherSideKeepsTheBand)
{
    TempDir dir;
    writeSample(dir);
    const CommandResult r =
        edit(dir, {"select frame 5 5 35 15", "copy", "layer K2", "paste", "set outer 2", "set shape 6"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"objects\": 5, \"selected\": 2}\n");
    LayoutDocument out = readBack(dir.file("out.kbd"));
    const ObjectList& list = out.board(0).Objects;
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[3].Layer, Layer::K2);
    EXPECT_EQ(list[3].centre(), (Point{1254, -1254}));
    EXPECT_EQ(list[3].Connections, std::vector<LayoutObject*>{out.board(0).Objects.at(4)});
    EXPECT_EQ(list[4].X2, 100) << "2 mm across";
    EXPECT_EQ(list[4].Shape, 6);
    EXPECT_EQ(list[0].X2, 80) << "the originals keep theirs";
    EXPECT_EQ(out.ActiveBoard, 0);
}

TEST(EditCli, BoardOptionEditsThatBoardOnly)
{
    TempDir dir;
    writeSample(dir);
    const CommandResult r = edit(dir, {"select all", "delete"}, {"--board", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"objects\": 0, \"selected\": 0}\n");
    LayoutDocument out = readBack(dir.file("out.kbd"));
    EXPECT_EQ(out.board(0).Objects.size(), 3u);
    EXPECT_EQ(out.board(1).Objects.size(), 0u);
    EXPECT_EQ(out.ActiveBoard, 0) << "the file keeps its active board";
}

TEST(EditCli, UndoDepthDecidesWhatUndoAndRedoDo)
{
    const std::vector<std::string> steps = {"select at 10 10", "move 5 0", "move 5 0", "undo", "undo", "redo"};
    // Depth 1: the second undo toggles back, redo has nothing to do. Depth
    // 3: two steps back, one forward.
    const std::pair<const char*, int32_t> cases[] = {{"1", 2000}, {"3", 1500}};
    for (const auto& [depth, x] : cases) {
        TempDir dir;
        writeSample(dir);
        const CommandResult r = edit(dir, steps, {"--undo-depth", depth});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(readBack(dir.file("out.kbd")).board(0).Objects[0].X1, x) << "depth " << depth;
    }
}

TEST(EditCli, BandTestRouteAndUnrouteSteps)
{
    // Pads A (0) and B (1) start with a band between them.
    struct Case {
        const char* name;
        std::vector<std::string> steps;
        const char* json;
        size_t bandsOfA; // entries in A's list in the written file
    };
    const Case cases[] = {
        {"the band drawn again is removed", {"band 10 10 30 10"}, "{\"objects\": 3, \"selected\": 0}", 0},
        {"undo brings it back", {"band 10 10 30 10", "undo"}, "{\"objects\": 3, \"selected\": 0}", 1},
        {"the test selects the joined copper only", {"select at 10 10", "test 20 20"},
         "{\"objects\": 3, \"selected\": 1}", 1},
        {"routing the band between the selected pads", {"select at 10 10", "select add 30 10", "route 0.4 0.2"},
         "{\"objects\": 4, \"selected\": 3}", 0},
        {"unrouting the laid track", {"select at 10 10", "select add 30 10", "route 0.4 0.2", "unroute"},
         "{\"objects\": 3, \"selected\": 2}", 1},
        {"a band drawn over the laid track is cleared",
         {"select at 10 10", "select add 30 10", "route 0.4 0.2", "band 10 10 30 10", "clear bands"},
         "{\"objects\": 4, \"selected\": 0}", 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeSample(dir);
        const CommandResult r = edit(dir, c.steps);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.err;
        EXPECT_EQ(r.out, std::string(c.json) + "\n") << c.name;
        LayoutDocument out = readBack(dir.file("out.kbd"));
        const ObjectList& list = out.board(0).Objects;
        EXPECT_EQ(list[0].Connections.size(), c.bandsOfA) << c.name;
        EXPECT_EQ(list[1].Connections.size(), c.bandsOfA) << c.name;
    }
}

TEST(EditCli, BadStepsAndFilesAreRefused)
{
    struct Case {
        std::vector<std::string> args; // after "edit"
        int status;
        const char* inError;
    };
    TempDir dir;
    const std::string in = writeSample(dir), out = dir.file("out.kbd");
    const Case cases[] = {
        {{in, out, "rotate", "spin"}, 2, "unknown step 'spin'"},
        {{in, out, "move 5"}, 2, "'move 5'"},
        {{in, out, "move 5 x"}, 2, "not a number: x"},
        {{in, out, "move 5 nan"}, 2, "not a number"},
        {{in, out, "nudge sideways"}, 2, "left|right|up|down"},
        {{in, out, "select frame 1 2 3"}, 2, "'select frame 1 2 3'"},
        {{in, out, "set shape 10"}, 2, "out of range"},
        {{in, out, "set width -1"}, 2, "out of range"},
        {{in, out, "layer K3"}, 2, "K1|B1|K2|B2"},
        {{in, out, "route 0.05 0.2"}, 2, "out of range"},
        {{in, out, "route 0.4 10"}, 2, "out of range"},
        {{in, out, "band 10 10 30"}, 2, "'band 10 10 30'"},
        {{in, out, "track-label 10 10"}, 2, "expects arguments: 3"},
        {{in, out, "track-label 10 10 ###"}, 2, "out of range"},
        {{in, out, "track-label 10 10 A --height 51"}, 2, "out of range"},
        {{in, out, "track-label 10 10 A --angle 45"}, 2, "0|90|180|270"},
        {{in, out, "track-label 10 10 A --height"}, 2, "--height: expects a value"},
        {{in, out, "track-label 10 10 A --size 3"}, 2, "unknown option --size"},
        {{in, out, "polygon 10 10 --radius 5"}, 2, "requires --corners"},
        {{in, out, "polygon 10 10 --corners 100 --radius 5"}, 2, "out of range"},
        {{in, out, "polygon 10 10 --corners 4.5 --radius 5"}, 2, "out of range"},
        {{in, out, "arc 10 10 --radius 1 --width 3 --from 0 --to 90"}, 2, "out of range"},
        {{in, out, "arc 10 10 --radius 1 --width 0.5 --from x --to 90"}, 2, "not a number: x"},
        {{"--lang", "ru", in, out, "spin"}, 2, "неизвестный шаг 'spin'"},
        {{"--lang", "de", in, out}, 2, "--lang"},
        {{"--undo-depth", "0", in, out}, 2, "--undo-depth"},
        {{in}, 2, "IN and OUT"},
        {{dir.file("missing.kbd"), out, "rotate"}, 1, "missing.kbd"},
        {{"--board", "5", in, out}, 1, "no board 5"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"edit"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CommandResult r = runCli(args);
        EXPECT_EQ(r.status, c.status) << c.inError;
        EXPECT_NE(r.err.find(c.inError), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.inError << ": nothing written";
    }
    const CommandResult help = runCli({"edit", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.rfind("  kestrel-cli edit in.kbd out.kbd"), std::string::npos);
}

} // namespace

namespace {

// The drawing steps go through the pointer tools; each row lists the objects
// added after the sample's three: kind, layer and points (pads and circles:
// the centre).
TEST(EditCli, DrawingStepsAddObjectsThroughThePointerTools)
{
    struct Added {
        ObjectKind kind;
        uint8_t layer;
        std::vector<Point> points;
    };
    struct Case {
        const char* name;
        std::vector<std::string> steps;
        std::vector<Added> added;
    };
    const Case cases[] = {
        {"a track through three points, straight", {"track 5 5 20 5 20 12.5"},
         {{ObjectKind::Track, 1, {{500, -500}, {2000, -500}, {2000, -1250}}}}},
        {"a zone is closed on its first point", {"zone 40 40 60 40 60 60"},
         {{ObjectKind::Zone, 1, {{4000, -4000}, {6000, -4000}, {6000, -6000}, {4000, -4000}}}}},
        {"a pad on the active layer", {"layer K2", "pad 70 30.5"}, {{ObjectKind::Pad, 3, {{7000, -3050}}}}},
        {"a pad in via mode brings its twin", {"via on", "pad 70 30"},
         {{ObjectKind::Pad, 1, {{7000, -3000}}}, {ObjectKind::Pad, 3, {{7000, -3000}}}}},
        {"a circle", {"circle 50 50 2.5"}, {{ObjectKind::Circle, 1, {{5000, -5000}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        writeSample(dir);
        const CommandResult r = edit(dir, c.steps);
        ASSERT_EQ(r.status, 0) << r.err;
        LayoutDocument out = readBack(dir.file("out.kbd"));
        const ObjectList& list = out.board(0).Objects;
        ASSERT_EQ(list.size(), 3 + c.added.size());
        for (size_t i = 0; i < c.added.size(); ++i) {
            const LayoutObject& o = list[3 + i];
            EXPECT_EQ(o.kind(), c.added[i].kind);
            EXPECT_EQ(o.Layer, c.added[i].layer);
            EXPECT_EQ(o.hasPoints() ? o.Points : std::vector<Point>{o.centre()}, c.added[i].points);
        }
        if (c.added.size() == 2) {
            EXPECT_EQ(list[3].Partner, list.at(4));
        }
    }
}

TEST(EditCli, DragMovesFromAnObjectAndFramesFromEmptyBoard)
{
    struct Case {
        const char* name;
        std::vector<std::string> steps;
        const char* json;
        Point padA; // afterwards
    };
    const Case cases[] = {
        {"a drag from pad A moves it by whole grid steps", {"drag 10 10 15.3 10"}, "{\"objects\": 3, \"selected\": 1}",
         {1508, -1000}},
        {"a drag from empty board selects by a frame", {"drag 5 5 35 15"}, "{\"objects\": 3, \"selected\": 2}",
         {1000, -1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        writeSample(dir);
        const CommandResult r = edit(dir, c.steps);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, std::string(c.json) + "\n");
        EXPECT_EQ(readBack(dir.file("out.kbd")).board(0).Objects[0].centre(), c.padA);
    }
}

TEST(EditCli, DrawingStepsRejectOddOrTooFewNumbers)
{
    for (const char* step : {"track 1 2 3", "track 1 2", "zone 1 2 3 4", "circle 5 5 0", "pad 1"}) {
        TempDir dir;
        writeSample(dir);
        const CommandResult r = edit(dir, {step});
        EXPECT_EQ(r.status, 2) << step;
        EXPECT_NE(r.err.find(step), std::string::npos) << r.err;
    }
}

// The generator steps reach the core: what each adds to board 0.
TEST(EditCli, LabelPolygonArcAndViaSteps)
{
    struct Case {
        std::vector<std::string> steps;
        size_t added;
        std::function<void(const ObjectList&)> check; // on the objects after the sample's three
    };
    const Case cases[] = {
        {{"track-label 10 30 L --height 5 --stroke 0.3 --layer B1"}, 1,
         [](const ObjectList& l) {
             EXPECT_EQ(l[3].Points, (std::vector<Point>{{1000, -2560}, {1000, -3000}, {1220, -3000}}));
             EXPECT_EQ(l[3].Width, 30);
             EXPECT_EQ(l[3].Layer, Layer::B1);
         }},
        {{"track-label 10 30 A B --angle 90 --mirror"}, 4,
         [](const ObjectList& l) {
             EXPECT_EQ(l[3].Points.front(), (Point{1000, -3000}));
             EXPECT_EQ(l[3].Points[1], (Point{1000 - 6 * 55, -3000})) << "clockwise, mirrored to the left";
             EXPECT_EQ(l[3].Width, 50);
         }},
        {{"polygon 50 50 --corners 4 --radius 10 --offset 45 --width 0.5 --fill"}, 1,
         [](const ObjectList& l) {
             EXPECT_TRUE(l[3].is(ObjectKind::Zone));
             EXPECT_EQ(l[3].Points.size(), 5u);
             EXPECT_EQ(l[3].Points[0], (Point{5707, -4293}));
             EXPECT_EQ(l[3].Width, 50);
         }},
        {{"arc 50 50 --radius 5 --width 1 --from 90 --to 450"}, 1,
         [](const ObjectList& l) {
             EXPECT_TRUE(l[3].is(ObjectKind::Circle));
             EXPECT_EQ((std::tuple{l[3].circleOuterRadius(), l[3].circleInnerRadius()}), (std::tuple{550, 450}));
             EXPECT_EQ((std::tuple{l[3].arcStartDegrees(), l[3].arcStopDegrees()}), (std::tuple{90, 90}));
         }},
        {{"arc 50 50 --radius 5 --width 1 --from 0 --to 0", "arc 70 50 --radius 5 --width 1 --from 0 --to 0",
          "select frame 40 40 80 60", "segment -90 180 --fill"},
         2,
         [](const ObjectList& l) {
             for (size_t i : {3u, 4u})
                 EXPECT_EQ((std::tuple{l[i].arcStartDegrees(), l[i].arcStopDegrees(), l[i].Filled}),
                           (std::tuple{270, 180, uint8_t{1}}));
         }},
        {{"select at 10 10", "via"}, 1,
         [](const ObjectList& l) {
             EXPECT_EQ(l[3].Partner, l.at(0));
             EXPECT_EQ(l[3].Layer, Layer::K2);
             EXPECT_TRUE(l[3].Connections.empty()) << "the band stays with the pad it was drawn to";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps.back());
        TempDir dir;
        writeSample(dir);
        const CommandResult r = edit(dir, c.steps);
        ASSERT_EQ(r.status, 0) << r.err;
        LayoutDocument out = readBack(dir.file("out.kbd"));
        const ObjectList& list = out.board(0).Objects;
        ASSERT_EQ(list.size(), 3 + c.added);
        c.check(list);
    }
}

} // namespace
