#include "model/LayoutDocument.h"

#include <gtest/gtest.h>

using namespace kestrel;

TEST(BoardManagement, NewBoardsAreNamedAndDefaulted)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    EXPECT_EQ(doc.board(0).Name, "Board 1");
    EXPECT_EQ(doc.Working.BoardWidth, 16000);
    EXPECT_EQ(doc.Working.BoardHeight, 10000);
    EXPECT_EQ(doc.Working.Grid, 254.0);
    EXPECT_EQ(doc.Working.Zoom, 0.1);
    EXPECT_EQ(doc.Working.LayerVisible, (std::array<uint8_t, 4>{1, 1, 0, 0}));
    doc.newBoard(Language::English);
    doc.newBoard(Language::English);
    EXPECT_EQ(doc.board(2).Name, "Board 3");
    EXPECT_EQ(doc.ActiveBoard, 2);

    LayoutDocument ru = LayoutDocument::withFirstBoard(Language::Russian);
    EXPECT_EQ(ru.board(0).Name, "Plata 1");
}

TEST(BoardManagement, SwitchingRestoresWorkingState)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.Working.Zoom = 0.37;
    doc.Working.ScrollX = 120;
    doc.Working.ScrollY = 340;
    doc.Working.Grid = 127.0;
    doc.Working.ActiveLayer = 3;
    doc.Working.LayerVisible = {0, 1, 1, 1};
    const BoardSettings a = doc.Working;
    doc.addBoard("B");
    EXPECT_EQ(doc.Working, BoardSettings{}) << "a new board starts with defaults";
    doc.Working.Zoom = 0.9;
    doc.activate(0);
    EXPECT_EQ(doc.Working, a);
    doc.activate(1);
    EXPECT_EQ(doc.Working.Zoom, 0.9);
}

TEST(BoardManagement, DeleteAndMove)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    auto refused = doc.deleteActiveBoard(Language::English);
    ASSERT_TRUE(refused);
    EXPECT_EQ(*refused, "A project must at least contain one board.");
    EXPECT_EQ(*doc.deleteActiveBoard(Language::Russian), "Этот рисунок (чертёж) вы не можете удалить.");
    EXPECT_EQ(doc.boardCount(), 1u);

    doc.addBoard("two");
    doc.Working.BoardWidth = 2000;
    doc.activate(0);
    EXPECT_FALSE(doc.deleteActiveBoard(Language::English));
    ASSERT_EQ(doc.boardCount(), 1u);
    EXPECT_EQ(doc.ActiveBoard, 0);
    EXPECT_EQ(doc.board(0).Name, "two");
    EXPECT_EQ(doc.Working.BoardWidth, 2000) << "the remaining board's state is loaded";

    doc.addBoard("three");
    doc.addBoard("four");
    doc.activate(1);
    doc.moveActiveToFront();
    EXPECT_EQ(doc.ActiveBoard, 0);
    EXPECT_EQ(doc.board(0).Name, "three");
    doc.moveActiveToEnd();
    EXPECT_EQ(doc.ActiveBoard, 2);
    EXPECT_EQ(doc.board(2).Name, "three");
    EXPECT_EQ(doc.board(0).Name, "two");

    // Deleting the last tab activates the new last one.
    EXPECT_FALSE(doc.deleteActiveBoard(Language::English));
    EXPECT_EQ(doc.ActiveBoard, 1);
    EXPECT_EQ(doc.board(1).Name, "four");

    EXPECT_EQ(LayoutDocument::deleteQuestion(Language::English, "X"), "Delete board \"X\" ?");
    EXPECT_EQ(LayoutDocument::deleteQuestion(Language::Russian, "X"),
              " Вы уверены, что чертёж \"X\" следует удалить ?");
}

TEST(BoardManagement, SizeCheck)
{
    struct Case {
        const char* w;
        const char* h;
        bool ok;
        int32_t wUnits;
    };
    const Case cases[] = {
        {"300", "300", true, 30000}, {"10", "10", true, 1000},  {"301", "100", false, 0},
        {"9", "100", false, 0},      {"100", "9.99", false, 0}, {"150.5", "100", false, 0},
        {"150,0", "100", true, 15000}, {" 160 ", "100", true, 16000}, {"abc", "100", false, 0},
        {"", "100", false, 0},       {"1e2", "100", true, 10000},
    };
    for (const Case& c : cases) {
        const BoardSizeCheck r = checkBoardSize(c.w, c.h, Language::English);
        EXPECT_EQ(!r.message.has_value(), c.ok) << c.w << " x " << c.h;
        if (c.ok) {
            EXPECT_EQ(r.widthUnits, c.wUnits) << c.w;
        }
    }
    EXPECT_EQ(*checkBoardSize("9", "9", Language::English).message, "Please enter values from 10 мм to 300 мм.");
    EXPECT_EQ(*checkBoardSize("9", "9", Language::Russian).message, "Der Wert muЯ zwischen 10..300 мм liegen.");
    const auto fraction = checkBoardSize("100.5", "100", Language::English).message;
    ASSERT_TRUE(fraction);
    EXPECT_NE(fraction->find("whole"), std::string::npos);
}
