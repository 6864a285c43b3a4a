#include "model/BoardProperties.h"
#include "model/LayoutDocument.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;

TEST(BoardManagement, NewBoardsAndSwitchingKeepEachBoardsWorkingState)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.Working.Zoom = 0.37;
    doc.Working.LayerVisible = {0, 1, 1, 1};
    const BoardSettings first = doc.Working;
    doc.newBoard(Language::English);
    doc.newBoard(Language::English);
    EXPECT_EQ(doc.board(2).Name, "Board 3");
    EXPECT_EQ(doc.ActiveBoard, 2);
    EXPECT_EQ(doc.Working, BoardSettings{}) << "a new board starts with defaults";
    doc.Working.Zoom = 0.9;
    doc.activate(0);
    EXPECT_EQ(doc.Working, first);
    doc.activate(2);
    EXPECT_EQ(doc.Working.Zoom, 0.9);
}

// Moving and deleting tabs are checked with the window's tabs; here: the
// last board stays, and a deletion loads the remaining board's own state.
TEST(BoardManagement, DeleteLoadsTheRemainingBoard)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    EXPECT_EQ(doc.deleteActiveBoard(Language::English), "A project must at least contain one board.");
    EXPECT_EQ(doc.boardCount(), 1u);
    doc.addBoard("two");
    doc.Working.BoardWidth = 2000;
    doc.activate(0);
    EXPECT_FALSE(doc.deleteActiveBoard(Language::English));
    ASSERT_EQ(doc.boardCount(), 1u);
    EXPECT_EQ(doc.board(0).Name, "two");
    EXPECT_EQ(doc.Working.BoardWidth, 2000);
}

TEST(BoardManagement, SizeCheck)
{
    // width, height, accepted width in units (0: refused)
    const std::tuple<const char*, const char*, int32_t> cases[] = {
        {"300", "300", 30000},  {"10", "10", 1000},     {"301", "100", 0},     {"9", "100", 0},
        {"100", "9.99", 0},     {"150.5", "100", 0},    {"150,0", "100", 15000}, {" 160 ", "100", 16000},
        {"abc", "100", 0},      {"", "100", 0},         {"1e2", "100", 10000}, {"100", "301", 0},
    };
    for (const auto& [w, h, widthUnits] : cases) {
        const BoardSizeCheck r = checkBoardSize(w, h, Language::English);
        EXPECT_EQ(!r.message, widthUnits != 0) << w << " x " << h;
        if (!r.message) {
            EXPECT_EQ(r.widthUnits, widthUnits) << w;
        }
    }
}

// Objects a smaller board leaves off it are counted unless they lay off the
// board before; a change of size or name marks the document, the same
// values do not, and the name is cut to what the file keeps.
TEST(BoardManagement, PropertiesCountWhatASmallerBoardLeavesOff)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    test::addPad(*doc.currentObjects(), {1000, -1000}, 50);
    test::addPad(*doc.currentObjects(), {15000, -5000}, 50);
    test::addPad(*doc.currentObjects(), {20000, -5000}, 50); // off the 160 mm board already
    EXPECT_EQ(ObjectsLeftOffBySize(doc, 10000, 10000), 1u);
    EXPECT_EQ(ObjectsLeftOffBySize(doc, 900, 900), 2u);
    EXPECT_EQ(ObjectsLeftOffBySize(doc, 30000, 30000), 0u);
    EXPECT_EQ(ObjectsLeftOffBySize(doc, 16000, 6000), 0u) << "a low board still holds both";
    EXPECT_EQ(ObjectsLeftOffBySize(doc, 6000, 16000), 1u) << "a narrow one leaves the right pad off";
    SetBoardProperties(doc, 16000, 10000, "Board 1");
    EXPECT_FALSE(doc.Modified);
    SetBoardProperties(doc, 16000, 10000, std::string(31, 'N'));
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(doc.activeBoard()->Name, std::string(30, 'N'));
    doc.Modified = false;
    SetBoardProperties(doc, 16000, 9000, doc.activeBoard()->Name);
    EXPECT_EQ(std::tuple(doc.Modified, doc.Working.BoardHeight), std::tuple(true, 9000));
}
