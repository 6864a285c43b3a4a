#include "MachineBench.h"
#include "edit/Labels.h"
#include "edit/PointerMachine.h"
#include "edit/Undo.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrel {
namespace {

// Every character 100 units wide and the cell 200 high, plus the blank.
Point fakeMeasure(const std::string& text, int32_t, int32_t angle)
{
    return TurnedLabelExtent(static_cast<int32_t>(text.size() + 1) * 100, 200, angle);
}

struct Bench : test::MachineBench {
    Bench() { m.setLabelMeasure(fakeMeasure); }
    // Ctrl held on the press: the click is placed off the grid.
    void left(Point p) { m.press(PointerButton::Left, p, {.ctrl = true}), m.release(PointerButton::Left, p, {}); }
    // Chooses the label tool and answers its dialog: numbered labels "R".
    void start(int first)
    {
        m.selectTool(ToolMode::Text);
        ASSERT_TRUE(m.takeEffects().labelDialog);
        m.labelChosen(LabelChoice{"R", LabelFontHeight(300), 0, true, first});
    }
};

// The dialog's answer, clicks, then a way out: a right press, a tool change,
// a command that changes the objects, a board change, Escape. The following
// label goes with each and never reaches the undo history: Undo takes back
// the label placed last.
TEST(LabelTool, NumberingFollowsTheClicksAndTheFollowerNeverStays)
{
    // What happens, the first number, the clicks, the way out, the labels on
    // the first board afterwards, LabelCounter afterwards, the tool it ends in.
    using Case = std::tuple<const char*, int, int, void (*)(Bench&), std::vector<std::string>, int, ToolMode>;
    const auto rightPress = [](Bench& b) { b.m.press(PointerButton::Right, {}, {}); };
    const Case cases[] = {
        {"numbers from 7", 7, 3, rightPress, {"R7", "R8", "R9"}, 11, ToolMode::Edit},
        {"tool change", 1, 2, [](Bench& b) { b.m.selectTool(ToolMode::Track); }, {"R1", "R2"}, 4, ToolMode::Track},
        {"undo", 1, 2, [](Bench& b) { Undo(b.session, b.doc); }, {"R1"}, 4, ToolMode::Edit},
        {"board change", 1, 2,
         [](Bench& b) {
             b.doc.addBoard("Second");
             b.doc.activate(1);
             b.session.objectsWillChange();
         },
         {"R1", "R2"}, 4, ToolMode::Edit},
        {"escape", 1, 2, [](Bench& b) { b.m.key(PointerKey::Escape, {}); }, {"R1", "R2"}, 4, ToolMode::Edit},
        {"a macro dragged in", 1, 2,
         [](Bench& b) {
             ObjectList macro;
             macro.append(makePad({0, 0}, 50, 1, Layer::MacroCopper, 20));
             b.m.macroDragMove(macro, {5000, -5000});
             b.m.macroDragLeave();
         },
         {"R1", "R2"}, 4, ToolMode::Edit},
    };
    for (const auto& [name, first, clicks, leave, placed, counter, tool] : cases) {
        SCOPED_TRACE(name);
        Bench b;
        b.start(first);
        for (int i = 0; i < clicks; ++i) {
            const Point p{1000 + 1000 * i, -2000};
            b.m.move(p, {.ctrl = true});
            ASSERT_TRUE(b.m.placingLabel());
            EXPECT_EQ(b.m.placingLabel()->start(), p);
            b.left(p);
        }
        leave(b);
        std::vector<std::string> texts;
        for (const auto& o : b.doc.board(0).Objects)
            texts.push_back(o->TextValue);
        EXPECT_EQ(texts, placed);
        EXPECT_EQ(b.m.state().LabelCounter, counter);
        EXPECT_EQ(b.m.placingLabel(), nullptr);
        EXPECT_EQ(b.m.tool(), tool);
    }
}

// A number that makes the label larger than the board is not placed: the
// dialog is asked again, to go on from that number.
TEST(LabelTool, ANumberedLabelThatOutgrowsTheBoardAsksAgain)
{
    Bench b;
    b.doc.Working.BoardWidth = 400; // "R9" and its blank measure 300 units, "R10" 400, "R100" 500
    b.start(9);
    b.m.move({100, -500}, {.ctrl = true});
    b.left({100, -500});
    ASSERT_TRUE(b.m.placingLabel()) << "R10 still fits";
    EXPECT_FALSE(b.m.takeEffects().labelDialog);
    b.doc.Working.BoardWidth = 399;
    b.left({100, -500});
    EXPECT_EQ(b.m.placingLabel(), nullptr);
    const PointerEffects fx = b.m.takeEffects();
    EXPECT_TRUE(fx.labelDialog);
    EXPECT_EQ(fx.nextLabelNumber, 11);
    std::vector<std::string> texts;
    for (const auto& o : b.doc.board(0).Objects)
        texts.push_back(o->TextValue);
    EXPECT_EQ(texts, (std::vector<std::string>{"R9", "R10"}));
}

// The file keeps 15 characters: a long text gives way to the number, so
// numbered labels never come out alike.
TEST(LabelTool, ALongTextGivesWayToTheNumber)
{
    EXPECT_EQ(NumberedLabelText("PIN_ABCDEFGHIJ", true, 9), "PIN_ABCDEFGHIJ9");
    EXPECT_EQ(NumberedLabelText("PIN_ABCDEFGHIJ", true, 10), "PIN_ABCDEFGHI10");
    EXPECT_EQ(NumberedLabelText("ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ", true, 123), "ЖЖЖЖЖЖЖЖЖЖЖЖ123");
}

TEST(LabelTool, TheBoxTurnsClockwiseAndStaysOnTheBoard)
{
    EXPECT_DOUBLE_EQ(LabelHeightMm(-400), 3.0) << "a font of 400 pixels at 96 per inch";

    // The anchor, the extent, the anchor kept on a board of 10000 x 8000
    // units: x 0..10000, y -8000..0.
    const std::tuple<Point, Point, Point> clamps[] = {
        {{9900, -7950}, {300, -100}, {9700, -7900}},  // right and bottom edges
        {{50, -50}, {-100, -300}, {100, -50}},        // 90 degrees: the box left of the anchor
        {{100, -100}, {20000, -100}, {0, -100}},      // wider than the board: its left edge
    };
    for (const auto& [p, extent, kept] : clamps)
        EXPECT_EQ(ClampLabelAnchor(p, extent, 10000, 8000), kept) << p.x << "," << p.y;
}

// An edit that makes the box longer keeps it on the board: Save would
// delete a label reaching off it.
TEST(LabelTool, AnEditedLabelStaysOnTheBoard)
{
    Bench b;
    LayoutObject& label = b.list().append(makeText({15000, -5000}, "R1", 0, LabelFontHeight(300), 15300, -4800, Layer::K1));
    EditLabel(b.doc, label, "LONGLABELTEXT", LabelFontHeight(300), 0, fakeMeasure);
    EXPECT_EQ(std::tuple(label.X1, label.X2, label.Y1), std::tuple(16000 - 1400, 16000, -5000));
    EditLabel(b.doc, label, "R1", LabelFontHeight(300), 0, fakeMeasure);
    EXPECT_EQ(label.X1, 16000 - 1400) << "a shorter text stays where it is";
}

} // namespace
} // namespace kestrel
