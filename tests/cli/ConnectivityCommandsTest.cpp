#include "model/LayoutFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// Board 0 (active): a track joining two pads that also share a band, and a
// silk line. Board 1: a via route between two pads with a band, plus a band
// to a loose pad.
LayoutDocument twoBoards()
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& first = doc.board(0).Objects;
    LayoutObject& a = addPad(first, {1000, -1000}, 80);        // 0
    addTrack(first, {{1000, -1000}, {2000, -1000}});           // 1
    LayoutObject& b = addPad(first, {2000, -1000}, 80);        // 2
    first.append(makeLine({1000, -1000}, {2000, -1000}, 60, 2)); // 3, silk
    addPad(first, {5000, -5000}, 80);                          // 4
    addBand(a, b);

    doc.addBoard("second");
    ObjectList& second = doc.board(1).Objects;
    LayoutObject& p = addPad(second, {1000, -1000}, 80, 1, 1); // 0
    addTrack(second, {{1000, -1000}, {2000, -1000}}, 40, 1);   // 1
    addVia(second, {2000, -1000});                             // 2, 3
    addTrack(second, {{2000, -1000}, {3000, -1000}}, 40, 3);   // 4
    LayoutObject& q = addPad(second, {3000, -1000}, 80, 1, 3); // 5
    LayoutObject& loose = addPad(second, {6000, -6000}, 80);   // 6
    addBand(p, q);
    addBand(p, loose);
    doc.activate(0);
    return doc;
}

} // namespace

TEST(ConnectedCommand, PrintsTheConnectedIndices)
{
    TempDir dir;
    LayoutDocument doc = twoBoards();
    const std::string file = dir.file("in.kbd");
    ASSERT_EQ(writeDocument(doc, file, false, Language::English), "");

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
    } const cases[] = {
        {{"connected", "--object", "0", file}, 0, "[0, 1, 2]\n"},
        {{"connected", "--object", "3", file}, 0, "[]\n"}, // silk
        {{"connected", "--object", "4", file}, 0, "[4]\n"},
        {{"connected", "--board", "1", "--object", "5", file}, 0, "[0, 1, 2, 3, 4, 5]\n"},
        {{"connected", "--board=1", "--object=6", file}, 0, "[6]\n"},
        {{"connected", "--object", "5", file}, 1, ""},      // board 0 holds 5 objects
        {{"connected", "--object", "-1", file}, 1, ""},
        {{"connected", "--board", "2", "--object", "0", file}, 1, ""},
        {{"connected", file}, 2, ""},                       // --object missing
        {{"connected", "--object", "x", file}, 2, ""},
        {{"connected", "--object", "0", dir.file("missing.kbd")}, 1, ""},
    };
    for (const Case& c : cases) {
        const CommandResult r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[1] << " " << c.args[2] << " " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[1] << " " << c.args[2];
        if (c.status != 0) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
    }
}

TEST(ClearBandsCommand, CleansTheChosenBoardAndKeepsTheActiveOne)
{
    TempDir dir;
    LayoutDocument doc = twoBoards();
    const std::string in = dir.file("in.kbd"), out = dir.file("out.kbd");
    ASSERT_EQ(writeDocument(doc, in, false, Language::English), "");

    const CommandResult r = runCli({"clear-bands", "--board", "1", in, out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"removed\": 1, \"kept\": 1}\n");

    ReadResult written = readDocument(out, Language::English);
    ASSERT_TRUE(written.document) << written.error;
    LayoutDocument& d = *written.document;
    EXPECT_EQ(d.ActiveBoard, 0);
    const ObjectList& second = d.board(1).Objects;
    ASSERT_EQ(second.size(), 7u);
    ASSERT_EQ(second[0].Connections.size(), 1u);
    EXPECT_EQ(second[0].Connections[0], second.at(6));
    EXPECT_TRUE(second[5].Connections.empty());
    // Board 0 was not asked for and keeps its band.
    EXPECT_EQ(d.board(0).Objects[0].Connections.size(), 1u);

    const CommandResult active = runCli({"clear-bands", in, out});
    ASSERT_EQ(active.status, 0) << active.err;
    EXPECT_EQ(active.out, "{\"removed\": 1, \"kept\": 0}\n");

    EXPECT_EQ(runCli({"clear-bands", in}).status, 2);
    EXPECT_EQ(runCli({"clear-bands", "--board", "9", in, out}).status, 1);
    EXPECT_EQ(runCli({"clear-bands", in, dir.file("no/such/dir/out.kbd")}).status, 1);
}
