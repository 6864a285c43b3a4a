#include "WindowFixture.h"

namespace kestrel::test {
namespace {

// Pads at A and B, and a group of two pads at C and D.
constexpr Point kA{1000, -1000}, kB{3000, -1000}, kC{5000, -1000}, kD{7000, -1000}, kEmpty{2000, -3000};

void addPadsAndGroup(WindowFixture& f, int undoDepth = 1)
{
    for (Point p : {kA, kB, kC, kD})
        addPad(f.list(), p, 90);
    f.list()[2].Groups = f.list()[3].Groups = {5};
    f.window().setUndoDepth(undoDepth);
}

const std::map<std::string, std::vector<const char*>> kControls = {
    {"any",
     {"Kopieren1", "Kopieren2", "TB_Copy", "Lschen1", "TB_Delete", "Rotieren2", "TB_Ausrichten"}},
    {"paste", {"Einfgen1", "Einfgen2", "TB_Paste"}},
    {"group", {"Gruppieren1", "Gruppieren2", "TB_Gruppieren"}},
    {"ungroup", {"Gruppierungaufheben1", "Gruppierungaufheben2", "TB_GruppeAufloesen"}},
};

// A click and a Shift+frame select through the mouse (the rules, and the zoom
// tool's frame: PointerMachine.EditToolSelects); the edit commands' menu
// items, pop-up items and buttons follow the selection and the clipboard.
TEST(EditCommands, EnablingFollowsTheSelectionAndTheClipboard)
{
    WindowFixture f;
    addPadsAndGroup(f);
    const auto expectEnabled = [&f](const std::map<std::string, bool>& enabled) {
        for (const auto& [rule, on] : enabled)
            for (const char* name : kControls.at(rule))
                EXPECT_EQ(f.action(name).isEnabled(), on) << name;
    };
    f.click(kD);
    f.pressAndMove({500, -500}, {1500, -1500}, Qt::ShiftModifier);
    f.release({1500, -1500}, Qt::ShiftModifier);
    EXPECT_EQ(f.selected(), (std::vector<size_t>{0, 2, 3})) << "a click and a Shift+frame: a group and a pad";
    expectEnabled({{"any", true}, {"paste", false}, {"group", true}, {"ungroup", true}});
    f.trigger("Kopieren1");
    f.click(kEmpty);
    ASSERT_TRUE(f.selected().empty());
    expectEnabled({{"any", false}, {"paste", true}, {"group", false}, {"ungroup", false}});
}

// An opened and an imported file each start the history over (another board:
// Undo.HistoryBelongsToItsBoard).
TEST(EditCommands, HistoryStartsOverOnAnotherBoardOrFile)
{
    TempDir dir;
    const std::string path = dir.file("other.kbd");
    writeSample(path);
    WindowFixture f;
    f.window().setUndoDepth(3);
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"open", [&] { f.answers = {Answer::No}, f.openNames = {q(path)}, f.trigger("ffnen1"); }},
        {"import", [&] { f.openNames = {q(path)}, f.trigger("Platinennachladen1"); }},
    };
    for (const auto& [name, step] : cases) {
        SCOPED_TRACE(name);
        addPad(f.list(), kEmpty, 90);
        f.click(kEmpty);
        f.trigger("Duplizieren1");
        f.trigger("TB_Delete");
        f.trigger("Rckgngig1");
        ASSERT_TRUE(f.action("Rckgngig1").isEnabled());
        ASSERT_TRUE(f.action("Wiederholen1").isEnabled());
        step();
        EXPECT_TRUE(f.exhausted());
        EXPECT_FALSE(f.action("Rckgngig1").isEnabled());
        EXPECT_FALSE(f.action("Wiederholen1").isEnabled());
    }
}

// The arrow keys nudge the selection, and above depth 1 a nudge alone can be
// undone: Undo is offered at once. Del deletes, but not in a panel edit,
// where no other shortcut of the board acts either.
TEST(EditCommands, ArrowKeysNudgeAndDelDeletes)
{
    WindowFixture f;
    addPadsAndGroup(f, 5);
    f.click(kA);
    ASSERT_FALSE(f.action("Rckgngig1").isEnabled());
    const int32_t grid = static_cast<int32_t>(f.doc().Working.Grid);
    f.key(Qt::Key_Right);
    EXPECT_TRUE(f.action("Rckgngig1").isEnabled()) << "Undo is offered after a nudge";
    f.key(Qt::Key_Down, Qt::ControlModifier);
    const Point moved{1000 + grid, -1001}; // a grid step right, a fine step down
    EXPECT_EQ(f.list()[0].centre(), moved);
    QWidget& widthEdit = f.control<QWidget>("SE_Breite");
    widthEdit.setFocus();
    // The board's shortcuts are the field's keys while it has the focus.
    for (const auto& [key, modifiers] : {std::pair(Qt::Key_Delete, Qt::NoModifier), {Qt::Key_D, Qt::ControlModifier},
                                         {Qt::Key_H, Qt::ControlModifier}, {Qt::Key_R, Qt::ControlModifier},
                                         {Qt::Key_Backspace, Qt::AltModifier}, {Qt::Key_Z, Qt::ControlModifier}})
        QTest::keyClick(&widthEdit, key, modifiers);
    EXPECT_EQ(f.list().size(), 4u);
    EXPECT_EQ(f.list()[0].centre(), moved);
    // The pointer moving over the board takes the keys back from the field.
    f.moveTo(kEmpty);
    QWidget* keys = QApplication::focusWidget();
    ASSERT_NE(keys, &widthEdit);
    QTest::keyClick(keys, Qt::Key_Left);
    EXPECT_EQ(f.list()[0].centre(), (Point{moved.x - grid, moved.y})) << "the arrow nudges the selection";
    f.key(Qt::Key_Delete);
    EXPECT_EQ(f.list().size(), 3u);
    f.key(Qt::Key_Z, Qt::ControlModifier); // Undo's second key, beside Alt+Backspace
    ASSERT_EQ(f.list().size(), 4u);
    EXPECT_EQ(f.list()[0].centre(), (Point{moved.x - grid, moved.y})) << "the pad comes back where it was deleted";
}

// A turn the board has no room for changes nothing, and the window says so
// rather than leaving the user to wonder why Ctrl+R did nothing.
TEST(EditCommands, ATurnWithoutRoomSaysSo)
{
    WindowFixture f;
    addPad(f.list(), {1000, -5000}, 90).Selected = 1;
    addPad(f.list(), {15000, -5000}, 90).Selected = 1; // 140 mm across, the board 100 mm high
    f.window().updateCommandStates();
    f.trigger("Rotieren1");
    EXPECT_EQ(f.list()[1].centre(), (Point{15000, -5000}));
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].text, "The selection would not fit on the board that way; nothing changed.");
    f.trigger("Horizontalspiegeln1");
    EXPECT_EQ(f.messages.size(), 1u) << "a mirror keeps the size: it fits";
}

} // namespace
} // namespace kestrel::test
