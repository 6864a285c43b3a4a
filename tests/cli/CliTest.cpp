#include "model/LayoutFile.h"

#include "Refusals.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrel;
using namespace kestrel::test;

TEST(Cli, InfoReportsEveryBoard)
{
    TempDir dir;
    LayoutDocument doc = sampleDocument();
    ASSERT_TRUE(succeeded(writeDocument(doc, dir.file("s.kbd"), false, Language::English)));
    const CommandResult r = runCli({"info", dir.file("s.kbd")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"version\": 3, \"active\": 0, \"origin\": [1270, -1270], \"boards\": ["
              "{\"name\": \"Board 1\", \"width\": 16000, \"height\": 10000, \"objects\": 10, \"lines\": 1, "
              "\"pads\": 5, \"texts\": 1, \"zones\": 1, \"circles\": 1, \"tracks\": 1, \"vias\": 1, \"bands\": 3, "
              "\"groundplane\": [0, 1]}, "
              "{\"name\": \"Zweite Platte\", \"width\": 5000, \"height\": 4000, \"objects\": 2, \"lines\": 0, "
              "\"pads\": 1, \"texts\": 0, \"zones\": 0, \"circles\": 0, \"tracks\": 1, \"vias\": 0, \"bands\": 0, "
              "\"groundplane\": [0, 0]}]}\n");
}

TEST(Cli, ConvertWritesVersionThreeLikeSave)
{
    TempDir dir;
    // A version-0 file, board 8000 x 5000, holding one pad of radius 50 at (1000, -1000) on layer 1.
    std::vector<uint8_t> old = {0x00, 0x33, 0xAA, 0xFF, 0x40, 0x1F, 0, 0, 0x88, 0x13, 0, 0, 1, 0,
                                2,    0xE8, 0x03, 0x18, 0xFC, 50,   0, 0, 0,    0,    0, 0, 1, 1};
    old.resize(14 + 49); // the rest of the record is zero
    writeBytes(dir.file("old.kbd"), old);
    CommandResult r = runCli({"convert", dir.file("old.kbd"), dir.file("new.kbd")});
    ASSERT_EQ(r.status, 0) << r.err;
    auto back = readDocument(dir.file("new.kbd"), Language::English);
    ASSERT_TRUE(succeeded(back));
    EXPECT_EQ(back->version, 3);
    ASSERT_EQ(back->document.currentObjects()->size(), 1u);
    // Saving the read document again gives the same bytes as convert wrote.
    ASSERT_TRUE(succeeded(writeDocument(back->document, dir.file("again.kbd"), false, Language::English)));
    EXPECT_EQ(readBytes(dir.file("again.kbd")), readBytes(dir.file("new.kbd")));
}

TEST(Cli, ExitStatusesAndMessages)
{
    TempDir dir;
    LayoutDocument doc = sampleDocument(); // board 0 holds 10 objects, board 1 holds 2
    const std::string s = dir.file("s.kbd"), junk = dir.file("junk.kbd"), out = dir.file("out.kbd");
    ASSERT_TRUE(succeeded(writeDocument(doc, s, false, Language::English)));
    writeBytes(junk, {0x03, 0x33, 0xAA});
    const CommandResult bare = runCli({});
    EXPECT_EQ(bare.status, 2);
    EXPECT_NE(bare.err.find("usage"), std::string::npos) << bare.err;
    const CommandResult help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("convert"), std::string::npos) << help.out;
    expectRefusals({
        {{"frobnicate"}, 2, "unknown subcommand"},
        {{"info"}, 2, "expected 1 file argument"},
        {{"info", "--bogus", "x"}, 2, "unknown option"},
        {{"info", dir.file("missing.kbd")}, 1, "missing.kbd"},
        {{"convert", junk, out}, 1, "is not a Kestrel layout file"},
        {{"connected", "--board", "1", "--object", "2", s}, 1, "no object 2 (it holds 2)"},
        {{"connected", "--object", "-1", s}, 2, "--object expects a whole number from 0 up, not '-1'"},
        {{"connected", s}, 2, "--object"},
        {{"clear-bands", "--board", "9", s, out}, 1, "no board 9"},
        {{"clear-bands", s, dir.file("no/such/dir/out.kbd")}, 1, "out.kbd"},
        // Commands with --lang read and choose the board in that language.
        {{"check", dir.file("missing.kbd")}, 1, "Не удаётся открыть"},
        {{"check", "--lang", "en", dir.file("missing.kbd")}, 1, "Cannot open"},
        {{"gerber", "--layer", "K1", "--board", "9", s, out}, 1, "в документе нет платы 9"},
        {{"edit", "--lang", "ru", "--board", "9", s, out, "rotate"}, 1, "в документе нет платы 9"},
    });
    EXPECT_FALSE(std::filesystem::exists(out));
}

namespace {

// On both boards pads 0 and 2 are joined by track 1 and by a band. Board 0
// (active) adds silk line 3, board 1 a loose pad 3 banded to pad 0. What is
// connected is checked in the route tests; here that each subcommand works
// on the board asked for.
std::string writeTwoBoards(const TempDir& dir)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.addBoard("second");
    for (size_t b = 0; b < 2; ++b) {
        ObjectList& list = doc.board(b).Objects;
        LayoutObject& p = addPad(list, {1000, -1000}, 80);
        addTrack(list, {{1000, -1000}, {2000, -1000}});
        addBand(p, addPad(list, {2000, -1000}, 80));
        if (b == 0)
            list.append(makeLine({1000, -1000}, {2000, -1000}, 60, 2));
        else
            addBand(p, addPad(list, {6000, -6000}, 80));
    }
    doc.activate(0);
    const std::string file = dir.file("in.kbd");
    EXPECT_TRUE(succeeded(writeDocument(doc, file, false, Language::English)));
    return file;
}

} // namespace

TEST(ConnectivityCommands, ConnectedAndClearBandsWorkOnTheChosenBoard)
{
    TempDir dir;
    const std::string in = writeTwoBoards(dir), out = dir.file("out.kbd");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"connected", "--object", "2", in}, "[0, 1, 2]\n"},
        {{"connected", "--board", "1", "--object", "3", in}, "[3]\n"},
        {{"clear-bands", in, out}, "{\"removed\": 1, \"kept\": 0}\n"},
        {{"clear-bands", "--board", "1", in, out}, "{\"removed\": 1, \"kept\": 1}\n"},
    };
    for (const auto& [args, expected] : cases) {
        const CommandResult r = runCli(args);
        EXPECT_EQ(r.status, 0) << args[1] << " " << args[2] << ": " << r.err;
        EXPECT_EQ(r.out, expected) << args[1] << " " << args[2];
    }

    // The last run cleaned board 1 only; the active board stays board 0.
    auto written = readDocument(out, Language::English);
    ASSERT_TRUE(succeeded(written));
    LayoutDocument& d = written->document;
    EXPECT_EQ(d.ActiveBoard, 0);
    ObjectList& second = d.board(1).Objects;
    ASSERT_EQ(second.size(), 4u);
    EXPECT_EQ(second[0].Connections, std::vector<LayoutObject*>{second.at(3)});
    EXPECT_TRUE(second[2].Connections.empty());
    EXPECT_EQ(d.board(0).Objects[0].Connections.size(), 1u) << "board 0 was not asked for";
}
