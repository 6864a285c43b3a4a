#include "model/LayoutFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// On both boards pads 0 and 2 are joined by track 1 and by a band. Board 0
// (active) adds silk line 3, board 1 a loose pad 3 banded to pad 0.
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
    EXPECT_EQ(writeDocument(doc, file, false, Language::English), "");
    return file;
}

} // namespace

TEST(ConnectivityCommands, ConnectedAndClearBandsWorkOnTheChosenBoard)
{
    TempDir dir;
    const std::string in = writeTwoBoards(dir), out = dir.file("out.kbd");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"connected", "--object", "2", in}, "[0, 1, 2]\n"},
        {{"connected", "--object", "3", in}, "[]\n"}, // silk
        {{"connected", "--board", "1", "--object", "3", in}, "[3]\n"},
        {{"connected", "--board=1", "--object=1", in}, "[0, 1, 2]\n"},
        {{"clear-bands", in, out}, "{\"removed\": 1, \"kept\": 0}\n"},
        {{"clear-bands", "--board", "1", in, out}, "{\"removed\": 1, \"kept\": 1}\n"},
    };
    for (const auto& [args, expected] : cases) {
        const CommandResult r = runCli(args);
        EXPECT_EQ(r.status, 0) << args[1] << " " << args[2] << ": " << r.err;
        EXPECT_EQ(r.out, expected) << args[1] << " " << args[2];
    }

    // The last run cleaned board 1 only; the active board stays board 0.
    ReadResult written = readDocument(out, Language::English);
    ASSERT_TRUE(written.document) << written.error;
    LayoutDocument& d = *written.document;
    EXPECT_EQ(d.ActiveBoard, 0);
    ObjectList& second = d.board(1).Objects;
    ASSERT_EQ(second.size(), 4u);
    EXPECT_EQ(second[0].Connections, std::vector<LayoutObject*>{second.at(3)});
    EXPECT_TRUE(second[2].Connections.empty());
    EXPECT_EQ(d.board(0).Objects[0].Connections.size(), 1u) << "board 0 was not asked for";
}
