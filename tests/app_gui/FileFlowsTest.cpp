#include "WindowFixture.h"

#include <QDoubleSpinBox>
#include <QLineEdit>

#include <chrono>
#include <filesystem>

namespace kestrel::test {
namespace {

// A save that fails still says what its clean-up deleted: the next save
// would find nothing left to count. The title names the file as the disk
// has it, letter case kept, and carries "*" while a change is unsaved.
TEST(FileFlows, SaveAsNamesTheWindowAndTheTitleMarksUnsavedChanges)
{
    TempDir dir;
    WindowFixture f;
    f.addContent();
    addPad(f.list(), {f.doc().Working.BoardWidth + 5000, -1000}, 50); // wholly off the board
    const std::string path = dir.file("My Board [*].kbd"); // shown as it is, not as a placeholder
    f.saveNames = {q(dir.file("missing/board.kbd")), q(path)};
    f.trigger("Speichernals1");
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_TRUE(f.messages[0].text.endsWith("\nObjects lying outside the board deleted: 1"))
        << f.messages[0].text.toStdString();
    EXPECT_EQ(f.list().size(), 1u);

    const QString marked = "Kestrel 3.0 R - [*" + q(path) + "]";
    f.trigger("Speichernals1");
    EXPECT_EQ(f.shownTitle(), titleWith(path));
    f.trigger("Allesmarkieren1");
    f.trigger("Duplizieren1");
    EXPECT_EQ(f.shownTitle(), marked);
    f.trigger("TB_Save"); // no dialog now
    EXPECT_EQ(f.shownTitle(), titleWith(path));
    EXPECT_EQ(objectsInFile(path), 2u);
    f.trigger("M_AutoMasse");
    EXPECT_EQ(f.shownTitle(), marked) << "the ground plane is a change";
    // Ctrl+S saves as desktop programs do, also while a panel field has the keys.
    f.key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(f.shownTitle(), titleWith(path));
    // A width typed into the field and not yet entered is saved with the track.
    f.trigger("Allesmarkieren1");
    QTest::keyClick(&f.typeInto("SE_Breite", "2"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(f.shownTitle(), titleWith(path));
    const auto saved = readDocument(path, Language::English);
    ASSERT_TRUE(succeeded(saved));
    EXPECT_EQ(saved->document.board(0).Objects[0].Width, 200);

    // Open starts in the folder the layout was saved to.
    f.openNames = {QString()};
    f.trigger("ffnen1");
    EXPECT_EQ(f.openDirectory, q(dir.path()));

    // A nudge, a moved board and a clearance typed for the selection are
    // changes as well: each marks the title, and closing after the last asks.
    f.addBoards(1);
    f.window().boardTabs().setCurrentIndex(0); // the board with the ground plane: its clearance field shows
    auto& clearance = f.control<QDoubleSpinBox>("SE_FreistanzOffset");
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"arrow key", [&] { f.trigger("Allesmarkieren1"); f.key(Qt::Key_Right); }},
        {"board moved", [&] { f.trigger("Platinenachrechts1"); }},
        {"clearance typed", [&] { f.trigger("Allesmarkieren1"); f.typeInto("SE_FreistanzOffset", "0.7"); }},
    };
    for (const auto& [name, change] : changes) {
        f.trigger("TB_Save");
        ASSERT_EQ(f.shownTitle(), titleWith(path)) << name;
        change();
        EXPECT_EQ(f.shownTitle(), marked) << name;
    }
    ASSERT_TRUE(clearance.isVisible());
    EXPECT_EQ(f.list()[0].Clearance, 70);
    f.answers = {Answer::Cancel};
    EXPECT_FALSE(f.window().close());
    EXPECT_EQ(f.questions.size(), 1u);
}

// Save asks before replacing a file another program changed since it was
// opened or saved here; No keeps the other program's file.
TEST(FileFlows, SaveAsksBeforeReplacingAFileChangedElsewhere)
{
    TempDir dir;
    const std::string path = dir.file("board.kbd");
    writeSample(path);
    WindowFixture f(Language::English, q(path));
    const size_t objects = f.list().size();
    ASSERT_GT(objects, 0u);
    LayoutDocument empty = LayoutDocument::withFirstBoard(Language::English);
    ASSERT_TRUE(succeeded(writeDocument(empty, path, false, Language::English)));
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    f.addContent();
    f.answers = {Answer::No, Answer::Yes};
    f.trigger("Speichern1");
    ASSERT_EQ(f.questions.size(), 1u);
    EXPECT_TRUE(f.questions[0].text.contains("was changed by another program")) << f.questions[0].text.toStdString();
    EXPECT_EQ(objectsInFile(path), 0u) << "No keeps the other program's file";
    f.trigger("Speichern1");
    EXPECT_EQ(objectsInFile(path), objects + 1);
    f.trigger("Speichern1");
    EXPECT_EQ(f.questions.size(), 2u) << "saved here since: no question";

    // The file deleted behind the saved document: New asks first, as the
    // document would be nowhere; Yes writes it again.
    std::filesystem::remove(path);
    f.answers = {Answer::Cancel};
    f.trigger("Neu1");
    ASSERT_EQ(f.questions.size(), 3u);
    EXPECT_TRUE(f.questions[2].text.endsWith("board.kbd is no longer on the disk. Save the layout?"))
        << f.questions[2].text.toStdString();
    EXPECT_EQ(f.list().size(), objects + 1);
    f.answers = {Answer::Yes};
    f.dialogs = {WindowFixture::accept};
    f.trigger("Neu1");
    EXPECT_EQ(objectsInFile(path), objects + 1);
    EXPECT_TRUE(f.list().empty());
    EXPECT_TRUE(f.exhausted());
}

// Opening replaces the document after the save question; importing appends
// the file's boards; a damaged file leaves the document untouched (a missing
// one: StartUpFile.OpensAFileReportsAMissingOneAndF1FollowsTheTool).
TEST(FileFlows, OpenAndImportReplaceOrKeepTheOpenDocument)
{
    TempDir dir;
    const std::string sample = dir.file("sample.kbd"), damaged = dir.file("damaged.kbd");
    const LayoutDocument sampleDoc = writeSample(sample);
    const size_t sampleBoards = sampleDoc.boardCount();
    writeBytes(damaged, {0x03, 0x33, 0xAA, 0xFF, 0x05, 0x00});
    struct Case {
        const char* action;
        std::string path;
        bool asked;          // the save question comes first
        const char* message; // "caption: text" or its start; nullptr: none
        size_t tabs;
        bool replaced;
    };
    for (const Case& c : {Case{"ffnen1", sample, true, nullptr, sampleBoards, true},
                          Case{"Platinennachladen1", sample, false, nullptr, 1 + sampleBoards, false},
                          Case{"TB_Open", damaged, true, "Open: ", 1, false}}) {
        SCOPED_TRACE(std::string(c.action) + " " + c.path);
        WindowFixture f;
        f.addContent();
        f.openNames = {q(c.path)};
        if (c.asked)
            f.answers = {Answer::No};
        f.trigger(c.action);
        EXPECT_TRUE(f.exhausted());
        ASSERT_EQ(f.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_TRUE((f.messages[0].caption + ": " + f.messages[0].text).startsWith(c.message));
        }
        EXPECT_EQ(f.tabTexts().size(), c.tabs);
        if (c.replaced) {
            EXPECT_EQ(f.shownTitle(), titleWith(c.path));
        } else if (!c.message) {
            EXPECT_EQ(f.shownTitle(), "Kestrel 3.0 R - [*]") << "an unnamed document marks its changes";
        }
        EXPECT_EQ(f.list().size(), c.replaced ? sampleDoc.board(0).Objects.size() : 1u)
            << "kept: the first board stays active";
    }

    // An old file's board keeps no view: imported, it becomes active and is
    // fitted to the window, as Open fits it.
    WindowFixture f;
    const std::string old = dir.file("old.kbd");
    writeBytes(old, {0x02, 0x33, 0xAA, 0xFF, 0x40, 0x1F, 0, 0, 0x88, 0x13, 0, 0, 0, 0}); // version 2, 80 x 50 mm
    f.openNames = {q(old)};
    f.trigger("Platinennachladen1");
    ASSERT_EQ(f.doc().ActiveBoard, 1);
    const double imported = f.doc().Working.Zoom;
    f.window().boardView().zoomBoard();
    EXPECT_NE(imported, 0.1);
    EXPECT_DOUBLE_EQ(imported, f.doc().Working.Zoom);
}

// New on a document with content: each answer of the save question. A new
// document opens the size dialog of its first board.
TEST(FileFlows, NewFollowsTheAnswerToTheSaveQuestion)
{
    SettingsHome home; // Quit writes the options
    TempDir dir;
    const std::string saved = dir.file("saved.kbd");
    // The answer, the save dialog's answer after Yes, and whether the document is cleared.
    const std::tuple<const char*, Answer, QString, bool> cases[] = {
        {"cancel", Answer::Cancel, "", false}, {"yesThenCancelledSave", Answer::Yes, "", false},
        {"yesAndSaved", Answer::Yes, q(saved), true}};
    for (const auto& [name, answer, saveName, cleared] : cases) {
        SCOPED_TRACE(name);
        WindowFixture f;
        f.addContent();
        f.addBoards(1);
        f.answers = {answer};
        if (answer == Answer::Yes)
            f.saveNames = {saveName};
        if (cleared) {
            f.dialogs = {[](QDialog& d) {
                child<QLineEdit>(d, "Breite").setText("120");
                return WindowFixture::accept(d);
            }};
        }
        f.trigger("Neu1");
        EXPECT_TRUE(f.exhausted());
        EXPECT_EQ(f.doc().boardCount(), cleared ? 1u : 2u);
        EXPECT_EQ(f.doc().board(0).Objects.size(), cleared ? 0u : 1u);
        EXPECT_EQ(f.shownTitle(), cleared ? "Kestrel 3.0 R" : "Kestrel 3.0 R - [*]");
        if (cleared) {
            // The size chosen for the new board is not a change: Quit asks nothing.
            EXPECT_EQ(f.doc().Working.BoardWidth, 12000);
            const size_t asked = f.questions.size();
            f.trigger("Beenden1");
            EXPECT_EQ(f.questions.size(), asked);
            EXPECT_FALSE(f.window().isVisible());
        }
    }
    EXPECT_EQ(objectsInFile(saved), 1u);
}

} // namespace
} // namespace kestrel::test
