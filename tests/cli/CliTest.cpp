#include "model/LayoutFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace kestrel;
using namespace kestrel::test;

TEST(Cli, InfoReportsEveryBoard)
{
    TempDir dir;
    LayoutDocument doc = sampleDocument();
    ASSERT_EQ(writeDocument(doc, dir.file("s.kbd"), false, Language::English), "");
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
    // A version-0 file holding one pad.
    std::vector<uint8_t> old = {0x00, 0x33, 0xAA, 0xFF, 0x40, 0x1F, 0, 0, 0x88, 0x13, 0, 0, 1, 0};
    std::vector<uint8_t> record(49, 0);
    record[0] = 2;
    record[1] = 0xE8; record[2] = 0x03;   // x 1000
    record[3] = 0x18; record[4] = 0xFC;   // y -1000
    record[5] = 50;                        // radius
    record[12] = 1;                        // layer
    record[13] = 1;                        // shape
    old.insert(old.end(), record.begin(), record.end());
    writeBytes(dir.file("old.kbd"), old);

    CommandResult info = runCli({"info", dir.file("old.kbd")});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out.rfind("{\"version\": 0,", 0), 0u) << info.out;

    CommandResult r = runCli({"convert", dir.file("old.kbd"), dir.file("new.kbd")});
    ASSERT_EQ(r.status, 0) << r.err;
    ReadResult back = readDocument(dir.file("new.kbd"), Language::English);
    ASSERT_TRUE(back.document) << back.error;
    EXPECT_EQ(back.version, 3);
    EXPECT_EQ(back.document->Working.BoardWidth, 8000);
    ASSERT_EQ(back.document->currentObjects()->size(), 1u);
    EXPECT_EQ((*back.document->currentObjects())[0].Clearance, 40);

    // Saving the read document again gives the same bytes as convert wrote.
    LayoutDocument again = std::move(*back.document);
    ASSERT_EQ(writeDocument(again, dir.file("again.kbd"), false, Language::English), "");
    EXPECT_EQ(readBytes(dir.file("again.kbd")), readBytes(dir.file("new.kbd")));
}

TEST(Cli, ExitStatusesAndHelp)
{
    TempDir dir;
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* inOutput;
    };
    writeBytes(dir.file("junk.kbd"), {0x03, 0x33, 0xAA});
    const Case cases[] = {
        {{}, 2, "usage"},
        {{"--help"}, 0, "convert"},
        {{"info", "--help"}, 0, "usage: kestrel-cli info"},
        {{"frobnicate"}, 2, "unknown subcommand"},
        {{"info"}, 2, "expected 1 file argument"},
        {{"info", "--bogus", "x"}, 2, "unknown option"},
        {{"info", dir.file("missing.kbd")}, 1, "missing.kbd"},
        {{"info", dir.file("junk.kbd")}, 1, "junk.kbd"},
        {{"convert", dir.file("junk.kbd"), dir.file("out.kbd")}, 1, "ends inside"},
    };
    for (const Case& c : cases) {
        const CommandResult r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << (c.args.empty() ? "" : c.args[0]);
        EXPECT_NE((r.out + r.err).find(c.inOutput), std::string::npos) << r.out << r.err;
        if (c.status != 0 && !c.args.empty()) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << "one line on stderr: " << r.err;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.kbd")));
}
