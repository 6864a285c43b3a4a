#include "MachineBench.h"
#include "edit/Labels.h"
#include "edit/PointerMachine.h"
#include "edit/Undo.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

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
    // Chooses the label tool and answers its dialog.
    void start(bool numbering, int first)
    {
        m.selectTool(ToolMode::Text);
        ASSERT_TRUE(m.takeEffects().labelDialog);
        m.labelChosen(LabelChoice{"R", LabelFontHeight(300), 0, numbering, first});
    }
};

// The dialog's answer, clicks, then a way out: a right press, a tool change,
// a command that changes the objects, a board change, Escape. The following
// label goes with each and never reaches the undo history: Undo takes back
// the label placed last.
TEST(LabelTool, NumberingFollowsTheClicksAndTheFollowerNeverStays)
{
    struct Case {
        const char* name;
        bool numbering;
        int start, clicks;
        void (*leave)(Bench&);
        std::vector<std::string> placed; // on the first board afterwards
        int counter;                     // LabelCounter afterwards
        ToolMode tool;
    };
    const auto rightPress = [](Bench& b) { b.m.press(PointerButton::Right, {}, {}); };
    const Case cases[] = {
        {"numbers from 7", true, 7, 3, rightPress, {"R7", "R8", "R9"}, 11, ToolMode::Edit},
        {"from 9999 on", true, 9999, 2, rightPress, {"R9999", "R10000"}, 10002, ToolMode::Edit},
        {"no numbering", false, 7, 1, rightPress, {"R"}, 7, ToolMode::Edit},
        {"right press at once", true, 0, 0, rightPress, {}, 1, ToolMode::Edit},
        {"tool change", true, 1, 2, [](Bench& b) { b.m.selectTool(ToolMode::Track); }, {"R1", "R2"}, 4, ToolMode::Track},
        {"undo", true, 1, 2, [](Bench& b) { Undo(b.session, b.doc); }, {"R1"}, 4, ToolMode::Edit},
        {"board change", true, 1, 2,
         [](Bench& b) {
             b.doc.addBoard("Second");
             b.doc.activate(1);
             b.session.objectsWillChange();
         },
         {"R1", "R2"}, 4, ToolMode::Edit},
        {"escape", true, 1, 2, [](Bench& b) { b.m.key(PointerKey::Escape, {}); }, {"R1", "R2"}, 4, ToolMode::Edit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        b.start(c.numbering, c.start);
        for (int i = 0; i < c.clicks; ++i) {
            const Point p{1000 + 1000 * i, -2000};
            b.m.move(p, {.ctrl = true});
            ASSERT_TRUE(b.m.placingLabel());
            EXPECT_EQ(b.m.placingLabel()->start(), p);
            b.left(p);
            if (!c.numbering) {
                // The dialog asks for the next label; Cancel ends the tool.
                EXPECT_TRUE(b.m.takeEffects().labelDialog);
                b.m.labelChosen(std::nullopt);
                EXPECT_EQ(b.m.tool(), ToolMode::Edit);
            }
        }
        c.leave(b);
        std::vector<std::string> placed;
        for (const auto& o : b.doc.board(0).Objects)
            placed.push_back(o->TextValue);
        EXPECT_EQ(placed, c.placed);
        EXPECT_EQ(b.m.state().LabelCounter, c.counter);
        EXPECT_EQ(b.m.placingLabel(), nullptr);
        EXPECT_EQ(b.m.tool(), c.tool);
    }
}

// The file keeps 15 characters: a long text gives way to the number, so
// numbered labels never come out alike.
TEST(LabelTool, ALongTextGivesWayToTheNumber)
{
    EXPECT_EQ(NumberedLabelText("PIN_ABCDEFGHIJ", true, 9), "PIN_ABCDEFGHIJ9");
    EXPECT_EQ(NumberedLabelText("PIN_ABCDEFGHIJ", true, 10), "PIN_ABCDEFGHI10");
    EXPECT_EQ(NumberedLabelText("ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ", true, 123), "ЖЖЖЖЖЖЖЖЖЖЖЖ123");
    EXPECT_EQ(NumberedLabelText("PIN_ABCDEFGHIJK", false, 10), "PIN_ABCDEFGHIJK");
}

TEST(LabelTool, TheBoxTurnsClockwiseAndStaysOnTheBoard)
{
    EXPECT_DOUBLE_EQ(LabelHeightMm(-400), 3.0) << "a font of 400 pixels at 96 per inch";
    struct Case {
        int angle;
        Point extent; // of text 300 wide, 100 high
    };
    // Board y points up: at 0 degrees the text runs right and hangs down.
    const Case cases[] = {{0, {300, -100}}, {90, {-100, -300}}, {180, {-300, 100}}, {270, {100, 300}}, {360, {300, -100}}};
    for (const Case& c : cases)
        EXPECT_EQ(TurnedLabelExtent(300, 100, c.angle), c.extent) << c.angle;

    struct Clamp {
        Point p, extent, kept;
    };
    // Board 10000 x 8000 units: x 0..10000, y -8000..0.
    const Clamp clamps[] = {
        {{9900, -7950}, {300, -100}, {9700, -7900}},  // right and bottom edges
        {{50, -50}, {-100, -300}, {100, -50}},        // 90 degrees: the box left of the anchor
        {{100, -100}, {20000, -100}, {0, -100}},      // wider than the board: its left edge
    };
    for (const Clamp& c : clamps)
        EXPECT_EQ(ClampLabelAnchor(c.p, c.extent, 10000, 8000), c.kept) << c.p.x << "," << c.p.y;
}

} // namespace
} // namespace kestrel
