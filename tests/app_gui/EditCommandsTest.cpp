#include "WindowFixture.h"

namespace kestrel::test {
namespace {

// Pads at A and B, and a group of two pads at C and D.
constexpr Point kA{1000, -1000}, kB{3000, -1000}, kC{5000, -1000}, kD{7000, -1000}, kEmpty{2000, -3000};

void addPadsAndGroup(WindowFixture& f, int undoDepth = 1)
{
    ObjectList& list = *f.doc().currentObjects();
    for (Point p : {kA, kB, kC, kD})
        addPad(list, p, 90);
    list[2].Groups = {5};
    list[3].Groups = {5};
    f.window().setUndoDepth(undoDepth);
}

const std::map<std::string, std::vector<const char*>> kControls = {
    {"any",
     {"Kopieren1", "Kopieren2", "TB_Copy", "Lschen1", "TB_Delete", "Rotieren2", "TB_Ausrichten"}},
    {"paste", {"Einfgen1", "Einfgen2", "TB_Paste"}},
    {"group", {"Gruppieren1", "Gruppieren2", "TB_Gruppieren"}},
    {"ungroup", {"Gruppierungaufheben1", "Gruppierungaufheben2", "TB_GruppeAufloesen"}},
};

TEST(EditCommands, EnablingFollowsTheSelectionAndTheClipboard)
{
    using Step = std::function<void(WindowFixture&)>;
    struct Case {
        const char* name;
        Step select;
        std::map<std::string, bool> enabled;
    };
    const auto shift = Qt::ShiftModifier;
    const Case cases[] = {
        {"nothing", [](auto&) {}, {{"any", false}, {"paste", false}, {"group", false}, {"ungroup", false}}},
        {"a group and a pad", [&](auto& f) { f.click(kD), f.click(kA, shift); },
         {{"any", true}, {"paste", false}, {"group", true}, {"ungroup", true}}},
        {"clipboard filled", [](auto& f) { f.click(kA), f.trigger("Kopieren1"), f.click(kEmpty); },
         {{"any", false}, {"paste", true}, {"group", false}, {"ungroup", false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFixture f;
        addPadsAndGroup(f);
        c.select(f);
        for (const auto& [rule, on] : c.enabled)
            for (const char* name : kControls.at(rule))
                EXPECT_EQ(f.action(name).isEnabled(), on) << name;
    }
}

// Another board, an opened and an imported file each start the history over.
TEST(EditCommands, HistoryStartsOverOnAnotherBoardOrFile)
{
    TempDir dir;
    const std::string path = dir.file("other.kbd");
    writeSample(path);
    using Step = std::function<void(WindowFixture&)>;
    const std::pair<const char*, Step> cases[] = {
        {"another board", [](auto& f) { f.window().boardTabs().setCurrentIndex(1); }},
        {"open", [&](auto& f) { f.answers = {Answer::No}, f.openNames = {q(path)}, f.trigger("ffnen1"); }},
        {"import", [&](auto& f) { f.openNames = {q(path)}, f.trigger("Platinennachladen1"); }},
    };
    for (const auto& [name, step] : cases) {
        SCOPED_TRACE(name);
        WindowFixture f;
        f.addBoards(1);
        f.window().boardTabs().setCurrentIndex(0);
        addPadsAndGroup(f, 3);
        f.click(kA);
        f.trigger("Duplizieren1");
        f.trigger("TB_Delete");
        EXPECT_FALSE(f.action("Wiederholen1").isEnabled());
        f.trigger("Rckgngig1");
        EXPECT_EQ(f.list().size(), 5u);
        ASSERT_TRUE(f.action("Rckgngig1").isEnabled());
        ASSERT_TRUE(f.action("Wiederholen1").isEnabled());
        step(f);
        EXPECT_TRUE(f.exhausted());
        EXPECT_FALSE(f.action("Rckgngig1").isEnabled());
        EXPECT_FALSE(f.action("Wiederholen1").isEnabled());
    }
}

// The arrow keys move the selection without an undo step, so Undo after a
// delete brings back the moved pad; Del deletes, but not in a panel edit.
TEST(EditCommands, ArrowKeysNudgeAndDelDeletes)
{
    WindowFixture f;
    addPadsAndGroup(f);
    f.click(kA);
    const int32_t grid = static_cast<int32_t>(f.doc().Working.Grid);
    f.key(Qt::Key_Right);
    f.key(Qt::Key_Right);
    f.key(Qt::Key_Left);
    f.key(Qt::Key_Down, Qt::ControlModifier);
    const Point moved{1000 + grid, -1001}; // a grid step right, a fine step down
    EXPECT_EQ(f.list()[0].centre(), moved);
    QWidget& widthEdit = f.control<QWidget>("SE_Breite");
    widthEdit.setFocus();
    QTest::keyClick(&widthEdit, Qt::Key_Delete);
    EXPECT_EQ(f.list().size(), 4u);
    // The pointer moving over the board takes the keys back from the field.
    f.moveTo(kEmpty);
    QWidget* keys = QApplication::focusWidget();
    ASSERT_NE(keys, &widthEdit);
    QTest::keyClick(keys, Qt::Key_Left);
    EXPECT_EQ(f.list()[0].centre(), (Point{moved.x - grid, moved.y})) << "the arrow nudges the selection";
    QTest::keyClick(keys, Qt::Key_Right);
    f.key(Qt::Key_Delete);
    EXPECT_EQ(f.list().size(), 3u);
    f.trigger("Rckgngig1");
    ASSERT_EQ(f.list().size(), 4u);
    EXPECT_EQ(f.list()[0].centre(), moved);
}

// Above depth 1 a nudge alone can be undone: Undo is offered at once.
TEST(EditCommands, UndoIsOfferedAfterANudge)
{
    WindowFixture f;
    addPadsAndGroup(f, 5);
    f.click(kA);
    ASSERT_FALSE(f.action("Rckgngig1").isEnabled());
    f.key(Qt::Key_Right);
    EXPECT_TRUE(f.action("Rckgngig1").isEnabled());
    f.trigger("Rckgngig1");
    EXPECT_EQ(f.list()[0].centre(), (Point{1000, -1000}));
}

} // namespace
} // namespace kestrel::test
