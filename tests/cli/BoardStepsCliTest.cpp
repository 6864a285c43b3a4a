#include "edit/Selection.h"
#include "edit/Transformations.h"
#include "model/BoardProperties.h"
#include "model/LayerSwitches.h"
#include "view/GridChoice.h"
#include "view/Viewport.h"

#include "Refusals.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// Board 0 "Board 1" (active) holds pads at (10, 10) and (150, 90) mm;
// board 1 "Second" pads at (5, 5) and (150, 50) mm and one at (200, 50) mm,
// off its board already (only the active board is cleaned on saving).
std::string writeTwoBoards(const TempDir& dir)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    addPad(*doc.currentObjects(), {1000, -1000}, 80);
    addPad(*doc.currentObjects(), {15000, -9000}, 80);
    doc.addBoard("Second");
    addPad(*doc.currentObjects(), {500, -500}, 50);
    addPad(*doc.currentObjects(), {15000, -5000}, 50);
    addPad(*doc.currentObjects(), {20000, -5000}, 50);
    doc.activate(0);
    return writeLayout(dir, doc);
}

// A version-3 file of one board "Imported" with one pad.
std::string writeImported(const TempDir& dir)
{
    LayoutDocument doc;
    doc.addBoard("Imported");
    addPad(*doc.currentObjects(), {2000, -2000}, 60);
    return writeLayout(dir, doc, "imported.kbd");
}

struct Parity {
    const char* name;
    std::vector<std::string> args; // after "edit": options, then the steps follow IN and OUT
    std::vector<std::string> steps;
    std::string out;                               // the summary printed
    std::string err;                               // what the steps say
    std::function<void(LayoutDocument&)> editor;   // the editor's operations on the document read
};

// Each step writes the file the editor's own operations write when applied
// to the same document and saved: byte for byte.
TEST(BoardSteps, WriteWhatTheEditorsOperationsWrite)
{
    TempDir dir;
    const std::string imported = writeImported(dir);
    const Parity rows[] = {
        // A switch, not a toggle: given twice it stays on.
        {"ground plane of the active side",
         {"--lang", "en"},
         {"ground-plane on", "ground-plane on", "layer B2", "ground-plane on", "ground-plane off"},
         "{\"objects\": 2, \"selected\": 0}\n", "",
         [](LayoutDocument& d) {
             SetGroundPlane(d, true);
             SetGroundPlane(d, true);
             SetActiveLayer(d.Working, *d.currentObjects(), Layer::B2);
             SetGroundPlane(d, true);
             SetGroundPlane(d, false);
         }},
        // 0.635 is the menu's predefined grid (63.5 units), not the dialog's 0.64.
        {"a predefined grid", {}, {"grid 0.635"}, "{\"objects\": 2, \"selected\": 0}\n", "",
         [](LayoutDocument& d) { Viewport(d.Working).setGrid(gridFromTag(gridPresets()[2].tag)); }},
        {"the dialog's grid, which align snaps to", {}, {"grid 0.7", "select all", "align"},
         "{\"objects\": 2, \"selected\": 2}\n", "",
         [](LayoutDocument& d) {
             Viewport(d.Working).setGrid(gridFromTag(70));
             SelectAll(*d.currentObjects(), d.Working);
             EditSession session;
             AlignToGrid(session, d);
         }},
        // The pad at (150, 90) lies off the smaller board: counted, then
        // deleted by the save, as the active board's are.
        {"size and name", {"--lang", "en"}, {"board-size 100 80", "board-name  Power  5 V "},
         "{\"objects\": 1, \"selected\": 0}\n",
         "kestrel-cli: step board-size: objects lying wholly outside the new board: 1; a save with this board active "
         "deletes them\nkestrel-cli: objects off the board removed on writing (as Save does): 1\n",
         [](LayoutDocument& d) {
             EXPECT_EQ(ObjectsLeftOffBySize(d, 10000, 8000), 1u);
             SetBoardProperties(d, 10000, 8000, d.activeBoard()->Name);
             SetBoardProperties(d, 10000, 8000, "Power  5 V");
         }},
        // The pad off board 1 already is not counted again; the file keeps
        // board 0 active, so board 1 keeps all three.
        {"the size of another board", {"--lang", "en", "--board", "1"}, {"board-size 100 100"},
         "{\"objects\": 3, \"selected\": 0}\n",
         "kestrel-cli: step board-size: objects lying wholly outside the new board: 1; a save with this board active "
         "deletes them\n",
         [](LayoutDocument& d) {
             d.activate(1);
             EXPECT_EQ(ObjectsLeftOffBySize(d, 10000, 10000), 1u);
             SetBoardProperties(d, 10000, 10000, d.activeBoard()->Name);
             d.activate(0);
         }},
        // The steps after each act on the board it leaves active (boards
        // imported from a current file are appended inactive); the file keeps
        // "Board 1" active, now second.
        {"add, move and import", {"--lang", "en"}, {"board add", "board-name Third", "board move left",
         "board import " + imported, "ground-plane on"},
         "{\"objects\": 0, \"selected\": 0}\n", "",
         [&imported](LayoutDocument& d) {
             d.newBoard(Language::English);
             SetBoardProperties(d, d.Working.BoardWidth, d.Working.BoardHeight, "Third");
             d.moveActiveToFront();
             EXPECT_TRUE(succeeded(importBoards(d, imported, Language::English)));
             SetGroundPlane(d, true);
             d.activate(1);
         }},
        // The board active in IN is deleted: the file keeps the one shown.
        // The last board is kept, and the step says so.
        {"delete, in Russian by default", {}, {"board delete", "board delete", "board add"},
         "{\"objects\": 0, \"selected\": 0}\n",
         "kestrel-cli: шаг board delete: Этот рисунок (чертёж) вы не можете удалить.\n",
         [](LayoutDocument& d) {
             EXPECT_FALSE(d.deleteActiveBoard(Language::Russian).has_value());
             EXPECT_TRUE(d.deleteActiveBoard(Language::Russian).has_value());
             d.newBoard(Language::Russian);
         }},
        // A board added after the deletion is not the one deleted, though
        // it may be made where that one was.
        {"delete, then add two", {"--lang", "en"}, {"board delete", "board add", "board add"},
         "{\"objects\": 0, \"selected\": 0}\n", "",
         [](LayoutDocument& d) {
             EXPECT_FALSE(d.deleteActiveBoard(Language::English).has_value());
             d.newBoard(Language::English);
             d.newBoard(Language::English);
         }},
    };
    for (const Parity& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string in = writeTwoBoards(dir), out = dir.file("out.kbd"), expected = dir.file("expected.kbd");
        std::vector<std::string> args = {"edit"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        args.insert(args.end(), {in, out});
        args.insert(args.end(), row.steps.begin(), row.steps.end());
        const CommandResult r = runCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, row.out);
        EXPECT_EQ(r.err, row.err);
        auto read = readDocument(in, Language::English);
        ASSERT_TRUE(succeeded(read));
        row.editor(read->document);
        ASSERT_TRUE(succeeded(writeDocument(read->document, expected, false, Language::English)));
        EXPECT_EQ(readBytes(out), readBytes(expected));
    }
}

// The pad pasted after an import of an old file lands on its board, which
// the import made active, named by its place.
TEST(BoardSteps, AnOldFileImportedBecomesTheActiveBoard)
{
    TempDir dir;
    // Version 0: a board of 80 x 50 mm holding one pad of radius 50 at (10, 10) mm on layer 1.
    std::vector<uint8_t> old = {0x00, 0x33, 0xAA, 0xFF, 0x40, 0x1F, 0, 0, 0x88, 0x13, 0, 0, 1, 0,
                                2,    0xE8, 0x03, 0x18, 0xFC, 50,   0, 0, 0,    0,    0, 0, 1, 1};
    old.resize(14 + 49);
    writeBytes(dir.file("old.kbd"), old);
    const CommandResult r = runCli({"edit", "--lang", "en", writeTwoBoards(dir), dir.file("out.kbd"), "select at 10 10",
                                    "copy", "board import " + dir.file("old.kbd"), "select all", "delete", "paste"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"objects\": 1, \"selected\": 1}\n");
    auto read = readDocument(dir.file("out.kbd"), Language::English);
    ASSERT_TRUE(succeeded(read));
    const LayoutDocument& doc = read->document;
    ASSERT_EQ(doc.boardCount(), 3u);
    EXPECT_EQ(doc.ActiveBoard, 0);
    EXPECT_EQ(doc.board(2).Name, "Board 3");
    ASSERT_EQ(doc.board(2).Objects.size(), 1u);
    EXPECT_EQ(doc.board(2).Objects[0].X2, 80) << "the pad copied from board 0";
}

// The limits are the dialogs': each value just inside is taken, each just
// outside refused before anything is read or written.
TEST(BoardSteps, LimitsOfTheDialogs)
{
    TempDir dir;
    const std::string in = writeTwoBoards(dir), out = dir.file("out.kbd");
    const std::string name30(30, 'N');
    const std::pair<std::string, std::function<void(const LayoutDocument&)>> taken[] = {
        {"grid 0.1", [](const LayoutDocument& d) { EXPECT_EQ(d.Working.Grid, 10.0); }},
        {"grid 99.99", [](const LayoutDocument& d) { EXPECT_EQ(d.Working.Grid, 9999.0); }},
        {"grid 0.15875", [](const LayoutDocument& d) { EXPECT_EQ(d.Working.Grid, 15.875); }},
        {"board-size 10 300",
         [](const LayoutDocument& d) {
             EXPECT_EQ(std::pair(d.Working.BoardWidth, d.Working.BoardHeight), std::pair(1000, 30000));
         }},
        {"board-name " + name30, [&name30](const LayoutDocument& d) { EXPECT_EQ(d.board(0).Name, name30); }},
        {"board-name Плата №1", [](const LayoutDocument& d) { EXPECT_EQ(d.board(0).Name, "Плата №1"); }},
    };
    for (const auto& [step, check] : taken) {
        SCOPED_TRACE(step);
        const CommandResult r = runCli({"edit", in, out, step});
        ASSERT_EQ(r.status, 0) << r.err;
        auto read = readDocument(out, Language::English);
        ASSERT_TRUE(succeeded(read));
        check(read->document);
    }
    std::filesystem::remove(out);
    const std::string grids = "allowed: from 0.1 to 99.99 mm in hundredths of a millimetre or a grid of the menu: "
                              "0.15875, 0.3175, 0.635, 1.27, 2.54, 5.08 mm";
    const std::string sizes = "allowed: width and height in whole millimetres from 10 to 300";
    const auto edit = [&](const std::string& step) {
        return std::vector<std::string>{"edit", "--lang", "en", in, out, step};
    };
    expectRefusals({
        {edit("grid 0.09"), 2, grids},
        {edit("grid 100"), 2, grids},
        {edit("grid 0.125"), 2, grids},
        {{"edit", in, out, "grid 0.09"}, 2, "допустимо: от 0.1 до 99.99 мм в сотых долях миллиметра"},
        {edit("board-size 9 100"), 2, sizes},
        {edit("board-size 100 301"), 2, sizes},
        {edit("board-size 100.5 100"), 2, sizes},
        {edit("board-name " + name30 + "N"), 2, "text longer than 30 characters"},
        {edit("board-name 日"), 2, "a character the file cannot hold: 日"},
        {edit("board-name"), 2, "expects at least this many arguments: 1"},
        {edit("ground-plane 1"), 2, "expects on|off"},
        {edit("board move up"), 2, "expects left|right"},
        {edit("board import " + dir.file("missing.kbd")), 1, "missing.kbd"},
        {edit("track-label 10 10 A --fixed 2"), 2, "options stand inside the text"},
    });
    EXPECT_FALSE(std::filesystem::exists(out)) << "nothing written";
}

} // namespace
