#include "model/LayoutFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// Board 0 (active): pads 0 and 1 joined by a band (cells (12, 12) and (25, 12)
// at the default pitch), pad 2 without bands, a silk line 3, a pad 4 on silk
// with a band to pad 0. Board 1: the same band, pads 0 and 1, on layer 3.
LayoutDocument document()
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& first = doc.board(0).Objects;
    LayoutObject& p = addPad(first, {1010, -990}, 50);
    LayoutObject& q = addPad(first, {2030, -1010}, 50);
    addPad(first, {5000, -5000}, 50);
    first.append(makeLine({100, -100}, {200, -100}, 20, 2));
    LayoutObject& silk = addPad(first, {3000, -3000}, 50, 1, 2);
    addBand(p, q);
    addBand(p, silk);

    doc.addBoard("second");
    ObjectList& second = doc.board(1).Objects;
    LayoutObject& a = addPad(second, {1010, -990}, 50, 1, 3);
    LayoutObject& b = addPad(second, {2030, -1010}, 50, 1, 3);
    addBand(a, b);
    doc.activate(0);
    return doc;
}

} // namespace

TEST(RouteCommand, RoutesAndWritesTheTrack)
{
    TempDir dir;
    LayoutDocument doc = document();
    const std::string in = dir.file("in.kbd");
    const std::string out = dir.file("out.kbd");
    ASSERT_EQ(writeDocument(doc, in, false, Language::English), "");

    const CommandResult r = runCli({"route", "--from", "0", "--to", "1", in, out});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"routed\": true, \"points\": [[2030, -1010], [2030, -1000], [1010, -1000], [1010, -990]]}\n");

    ReadResult read = readDocument(out, Language::English);
    ASSERT_TRUE(read.document) << read.error;
    const ObjectList& objects = read.document->board(0).Objects;
    ASSERT_EQ(objects.size(), 6u);
    const LayoutObject& track = objects[5];
    EXPECT_TRUE(track.is(ObjectKind::Track));
    EXPECT_EQ(track.Width, 40);
    EXPECT_EQ(track.Clearance, 40);
    EXPECT_EQ(track.Layer, 1);
    ASSERT_EQ(objects[0].Connections.size(), 1u); // only the band to the pad on silk is left
    EXPECT_EQ(objects[0].Connections[0], &objects[4]);
    EXPECT_TRUE(objects[1].Connections.empty());
}

TEST(RouteCommand, OptionsAndBoards)
{
    TempDir dir;
    LayoutDocument doc = document();
    const std::string in = dir.file("in.kbd");
    const std::string out = dir.file("out.kbd");
    ASSERT_EQ(writeDocument(doc, in, false, Language::English), "");

    // Width 0.6 and clearance 0.3 give cells of 120 units: P in (8, 8), Q in
    // (16, 8); neither centre lies behind its pad, so neither is clamped.
    CommandResult r = runCli({"route", "--from=0", "--to=1", "--width", "0.6", "--clearance", "0.3", in, out});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"routed\": true, \"points\": [[2030, -1010], [1980, -1020], [1020, -1020], [1010, -990]]}\n");
    ReadResult read = readDocument(out, Language::English);
    ASSERT_TRUE(read.document);
    EXPECT_EQ(read.document->board(0).Objects[5].Width, 60);

    // The second board, on layer 3, while board 0 stays the active one; the
    // other way round, so the corners are clamped to the x of the pads.
    r = runCli({"route", "--board", "1", "--from", "1", "--to", "0", in, out});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"routed\": true, \"points\": [[1010, -990], [1010, -1000], [2030, -1000], [2030, -1010]]}\n");
    read = readDocument(out, Language::English);
    ASSERT_TRUE(read.document);
    EXPECT_EQ(read.document->ActiveBoard, 0);
    ASSERT_EQ(read.document->board(1).Objects.size(), 3u);
    EXPECT_EQ(read.document->board(1).Objects[2].Layer, 3);
    EXPECT_EQ(read.document->board(0).Objects.size(), 5u);

    // On the other copper layer there is nothing in the way either.
    r = runCli({"route", "--from", "0", "--to", "1", "--layer", "3", in, out});
    EXPECT_EQ(r.status, 0) << r.err;
    read = readDocument(out, Language::English);
    ASSERT_TRUE(read.document);
    EXPECT_EQ(read.document->board(0).Objects[5].Layer, 3);
}

TEST(RouteCommand, NoWayIsNoError)
{
    TempDir dir;
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& list = doc.board(0).Objects;
    // The target lies in the outermost column of the 160 mm board.
    LayoutObject& p = addPad(list, {1010, -990}, 50);
    LayoutObject& q = addPad(list, {15960, -1000}, 50);
    addBand(p, q);
    const std::string in = dir.file("in.kbd");
    const std::string out = dir.file("out.kbd");
    ASSERT_EQ(writeDocument(doc, in, false, Language::English), "");
    const CommandResult r = runCli({"route", "--from", "0", "--to", "1", in, out});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"routed\": false}\n");
    ReadResult read = readDocument(out, Language::English);
    ASSERT_TRUE(read.document);
    EXPECT_EQ(read.document->board(0).Objects.size(), 2u);
    EXPECT_EQ(read.document->board(0).Objects[0].Connections.size(), 1u);
}

TEST(RouteCommand, BadInput)
{
    TempDir dir;
    LayoutDocument doc = document();
    const std::string in = dir.file("in.kbd");
    const std::string out = dir.file("out.kbd");
    ASSERT_EQ(writeDocument(doc, in, false, Language::English), "");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message; // part of the one line on stderr
    } cases[] = {
        {{"--from", "0", "--to", "2"}, 1, "no rubber band between pads 0 and 2"},
        {{"--from", "1", "--to", "1"}, 1, "no rubber band"},
        {{"--from", "0", "--to", "3"}, 1, "object 3 is not a pad"},
        {{"--from", "9", "--to", "1"}, 1, "no object 9"},
        {{"--from", "4", "--to", "0"}, 1, "layer 2 is not a copper layer"},
        {{"--from", "0", "--to", "1", "--layer", "2"}, 1, "layer 2 is not a copper layer"},
        {{"--from", "0", "--to", "1", "--layer", "5"}, 1, "layer 5"},
        {{"--from", "0", "--to", "1", "--width", "0"}, 1, "--width must lie between 0.1 and 9.9 mm"},
        {{"--from", "0", "--to", "1", "--clearance", "12"}, 1, "--clearance must lie"},
        {{"--from", "0", "--to", "1", "--board", "2"}, 1, "no board 2"},
        {{"--from", "0"}, 2, "--from P and --to Q are required"},
        {{"--from", "0", "--to", "x"}, 2, "--to expects a whole number"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"route"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back(in);
        args.push_back(out);
        const CommandResult r = runCli(args);
        EXPECT_EQ(r.status, c.status) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
}
