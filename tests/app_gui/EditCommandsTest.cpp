#include "SettingsHome.h"
#include "WindowFixture.h"

#include "app/SettingsFile.h"

#include <QFile>
#include <QSettings>

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

// Menu items, pop-up twins and tool-bar buttons alike; the rules themselves
// are the core's, so two selections reach every control in both states.
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

// Undo and Redo offered as the history allows; a new step drops the steps to redo.
TEST(EditCommands, UndoAndRedoThroughTheActions)
{
    struct Step {
        const char* command;
        size_t objects;
        bool undo, redo;
    };
    WindowFixture f;
    addPadsAndGroup(f, 3);
    f.click(kA);
    for (const Step& s : {Step{"Duplizieren1", 5, true, false}, Step{"TB_Delete", 4, true, false},
                          Step{"Rckgngig1", 5, true, true}, Step{"Rckgngig1", 4, false, true},
                          Step{"Wiederholen1", 5, true, true}, Step{"TB_Paste", 6, true, false}}) {
        f.trigger(s.command);
        EXPECT_EQ(f.doc().currentObjects()->size(), s.objects) << s.command;
        EXPECT_EQ(f.action("Rckgngig1").isEnabled(), s.undo) << s.command;
        EXPECT_EQ(f.action("Wiederholen1").isEnabled(), s.redo) << s.command;
    }
}

// Another board, an opened and an imported file each start the history over.
TEST(EditCommands, HistoryStartsOverOnAnotherBoardOrFile)
{
    TempDir dir;
    const std::string path = dir.file("other.kbd");
    writeSample(path);
    using Step = std::function<void(WindowFixture&)>;
    struct Case {
        const char* name;
        Step step;
    };
    const Case cases[] = {
        {"another board", [](auto& f) { f.window().boardTabs().setCurrentIndex(1); }},
        {"open", [&](auto& f) { f.answers = {Answer::No}, f.openNames = {q(path)}, f.trigger("ffnen1"); }},
        {"import", [&](auto& f) { f.openNames = {q(path)}, f.trigger("Platinennachladen1"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFixture f;
        f.addBoards(1);
        f.window().boardTabs().setCurrentIndex(0);
        addPadsAndGroup(f, 3);
        f.click(kA);
        f.trigger("Duplizieren1");
        ASSERT_TRUE(f.action("Rckgngig1").isEnabled());
        c.step(f);
        EXPECT_TRUE(f.exhausted());
        EXPECT_FALSE(f.action("Rckgngig1").isEnabled());
        EXPECT_FALSE(f.action("Wiederholen1").isEnabled());
    }
}

// The arrow keys move the selection without an undo step, so Undo after a
// delete brings back the moved pad; Del deletes.
TEST(EditCommands, ArrowKeysNudgeAndDelDeletes)
{
    WindowFixture f;
    addPadsAndGroup(f);
    f.key(Qt::Key_Right);
    EXPECT_EQ(f.doc().board(0).Objects[0].X1, kA.x);
    EXPECT_FALSE(f.doc().Modified) << "nothing selected, nothing moved";
    f.click(kA);
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Point centre;
    };
    const int32_t grid = static_cast<int32_t>(f.doc().Working.Grid);
    for (const Step& s : {Step{Qt::Key_Right, Qt::NoModifier, {1000 + grid, -1000}},
                          Step{Qt::Key_Down, Qt::ControlModifier, {1000 + grid, -1001}},
                          Step{Qt::Key_Left, Qt::NoModifier, {1000, -1001}}}) {
        f.key(s.key, s.modifiers);
        const LayoutObject& pad = (*f.doc().currentObjects())[0];
        EXPECT_EQ((Point{pad.X1, pad.Y1}), s.centre) << s.key << " " << s.modifiers;
    }
    EXPECT_TRUE(f.doc().Modified);
    QWidget& widthEdit = f.control<QWidget>("SE_Breite");
    widthEdit.setFocus();
    QTest::keyClick(&widthEdit, Qt::Key_Delete);
    EXPECT_EQ(f.doc().currentObjects()->size(), 4u) << "Del in a panel edit belongs to its text";
    f.key(Qt::Key_Delete);
    EXPECT_EQ(f.doc().currentObjects()->size(), 3u);
    f.trigger("Rckgngig1");
    ASSERT_EQ(f.doc().currentObjects()->size(), 4u);
    const LayoutObject& back = (*f.doc().currentObjects())[0];
    EXPECT_EQ((Point{back.X1, back.Y1}), (Point{1000, -1001}));
}

// Opened from a file, the document is unchanged until something changes it;
// only then does the title carry "*". That New and closing ask only then:
// FileFlows.NewFollowsTheAnswerToTheSaveQuestion and ClosingAsksOnlyAfterAChange.
TEST(EditCommands, TitleFollowsUnsavedChanges)
{
    using Step = std::function<void(WindowFixture&)>;
    const std::tuple<const char*, Step, bool> cases[] = {
        {"selecting", [](auto& f) { f.trigger("Allesmarkieren1"); }, false},
        {"the ground plane", [](auto& f) { f.trigger("M_AutoMasse"); }, true},
        {"saved after turning",
         [](auto& f) { f.trigger("Allesmarkieren1"), f.trigger("Rotieren1"), f.trigger("TB_Save"); }, false},
    };
    TempDir dir;
    const std::string path = dir.file("Board.kbd");
    writeSample(path);
    for (const auto& [name, change, modified] : cases) {
        SCOPED_TRACE(name);
        WindowFixture f(Language::English, q(path));
        ASSERT_EQ(f.window().windowTitle(), titleWith(path));
        change(f);
        EXPECT_EQ(f.doc().Modified, modified);
        const QString marked = "Kestrel 3.0 R - [*" + q(path).toLower() + "]";
        EXPECT_EQ(f.window().windowTitle(), modified ? marked : titleWith(path));
    }
}

TEST(EditCommands, UndoDepthComesFromTheSettingsFileAndGoesBackOnClose)
{
    SettingsHome home;
    struct Case {
        const char* stored; // nullptr: no key
        int depth;
    };
    for (const Case& c : {Case{nullptr, 1}, Case{"100", 100}, Case{"0", 1}, Case{"500", 100}, Case{"many", 1}}) {
        SCOPED_TRACE(c.stored ? c.stored : "none");
        {
            QSettings file(settingsFilePath(), QSettings::IniFormat);
            file.clear();
            if (c.stored)
                file.setValue("Optionen/UndoDepth", c.stored);
        }
        WindowFixture f;
        EXPECT_EQ(f.window().editSession().UndoDepth, c.depth);
    }
    {
        WindowFixture f;
        f.window().setUndoDepth(7);
        EXPECT_TRUE(f.window().close());
    }
    EXPECT_EQ(QSettings(settingsFilePath(), QSettings::IniFormat).value("Optionen/UndoDepth").toInt(), 7);
}

} // namespace
} // namespace kestrel::test
