#include "WindowFixture.h"

#include "model/LayoutFile.h"

#include <QFileInfo>

namespace kestrel::test {
namespace {

using Answer = Prompts::Answer;

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

// A window showing an unsaved document with a track on its board.
struct EditedWindow : WindowFixture {
    EditedWindow() : WindowFixture(Language::English)
    {
        addTrack(*doc().currentObjects(), {{1000, -1000}, {3000, -1000}});
        window().updateCommandStates();
    }
};

TEST(FileFlows, SaveAsWritesTheFileAndNamesTheWindowAfterIt)
{
    TempDir dir;
    EditedWindow f;
    const std::string path = dir.file("My Board.kbd");
    f.prompts().saveNames.push_back(q(path));
    f.trigger("Speichernals1");
    EXPECT_EQ(f.window().windowTitle(), "Kestrel 3.0 R - [" + q(path).toLower() + "]");
    EXPECT_EQ(f.doc().FileName, path);
    EXPECT_TRUE(f.doc().Saved);
    ReadResult back = readDocument(path, Language::English);
    ASSERT_TRUE(back.document) << back.error;
    EXPECT_EQ(back.document->board(0).Objects.size(), 1u);

    // Save now writes to the same file without asking.
    addPad(*f.doc().currentObjects(), {2000, -2000}, 90);
    f.trigger("TB_Save");
    EXPECT_TRUE(f.prompts().exhausted());
    EXPECT_EQ(readDocument(path, Language::English).document->board(0).Objects.size(), 2u);
}

TEST(FileFlows, CancelledSaveAsChangesNothing)
{
    EditedWindow f;
    f.prompts().saveNames.push_back(std::nullopt);
    f.trigger("Speichern1"); // no file name yet: save as
    EXPECT_TRUE(f.doc().FileName.empty());
    EXPECT_FALSE(f.doc().Saved);
    EXPECT_EQ(f.window().windowTitle(), "Kestrel 3.0 R");
}

TEST(FileFlows, OpenReplacesTheDocumentAfterTheQuestion)
{
    TempDir dir;
    LayoutDocument sample = sampleDocument();
    const std::string path = dir.file("sample.kbd");
    saveDocumentFile(sample, path);

    EditedWindow f;
    f.prompts().openNames.push_back(q(path));
    f.prompts().answers.push_back(Answer::No);
    f.trigger("ffnen1");
    ASSERT_EQ(f.prompts().questions.size(), 1u);
    EXPECT_EQ(f.prompts().questions[0].caption, "Информация");
    EXPECT_EQ(f.prompts().questions[0].text, "Save changes?");
    EXPECT_EQ(f.prompts().openFilters.at(0), "Layout files|*.KBD|All files|*.*");
    EXPECT_EQ(f.doc().boardCount(), sample.boardCount());
    EXPECT_EQ(f.tabTexts().size(), sample.boardCount());
    EXPECT_EQ(f.doc().FileName, path);
    EXPECT_EQ(f.window().windowTitle(), "Kestrel 3.0 R - [" + q(path).toLower() + "]");
}

TEST(FileFlows, OpenFailuresLeaveTheOpenDocumentUntouched)
{
    TempDir dir;
    const std::string damaged = dir.file("damaged.kbd");
    writeBytes(damaged, {0x03, 0x33, 0xAA, 0xFF, 0x05, 0x00});
    struct Case {
        std::string path;
        bool asked;
        const char* caption;
    };
    for (const Case& c : {Case{dir.file("missing.kbd"), false, "Open"}, Case{damaged, true, "Open"}}) {
        EditedWindow f;
        f.prompts().openNames.push_back(q(c.path));
        if (c.asked)
            f.prompts().answers.push_back(Answer::No);
        f.trigger("TB_Open");
        ASSERT_EQ(f.prompts().messages.size(), 1u) << c.path;
        EXPECT_EQ(f.prompts().messages[0].caption, c.caption);
        if (!c.asked) {
            EXPECT_EQ(f.prompts().messages[0].text, "File not found!");
        }
        EXPECT_EQ(f.doc().boardCount(), 1u);
        ASSERT_NE(f.doc().currentObjects(), nullptr);
        EXPECT_EQ(f.doc().currentObjects()->size(), 1u) << "the open document is kept";
        EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Board 1"});
        EXPECT_TRUE(f.doc().FileName.empty());
    }
}

TEST(FileFlows, TheMissingFileMessageIsGermanInTheRussianInterface)
{
    TempDir dir;
    WindowFixture f(Language::Russian);
    f.prompts().openNames.push_back(q(dir.file("missing.kbd")));
    f.trigger("ffnen1");
    ASSERT_EQ(f.prompts().messages.size(), 1u);
    EXPECT_EQ(f.prompts().messages[0].caption, "Цffnen");
    EXPECT_EQ(f.prompts().messages[0].text, "Datei nicht gefunden");
    EXPECT_EQ(f.prompts().messages[0].icon, Prompts::Icon::Warning);
}

// New on a document with content: each answer of the save question.
TEST(FileFlows, NewFollowsTheAnswerToTheSaveQuestion)
{
    TempDir dir;
    struct Case {
        const char* name;
        Answer answer;
        std::optional<QString> saveName; // the save dialog's answer after Yes
        bool cleared;
    };
    const std::string saved = dir.file("saved.kbd");
    for (const Case& c : {Case{"cancel", Answer::Cancel, std::nullopt, false}, Case{"no", Answer::No, std::nullopt, true},
                          Case{"yesThenCancelledSave", Answer::Yes, std::nullopt, false},
                          Case{"yesAndSaved", Answer::Yes, q(saved), true}}) {
        EditedWindow f;
        f.prompts().dialogs.push_back(&WindowFixture::cancel);
        f.trigger("NeuePlatine1");
        f.prompts().answers.push_back(c.answer);
        if (c.answer == Answer::Yes)
            f.prompts().saveNames.push_back(c.saveName);
        if (c.cleared)
            f.prompts().dialogs.push_back(&WindowFixture::acceptAsIs);
        f.trigger("Neu1");
        EXPECT_TRUE(f.prompts().exhausted()) << c.name;
        if (c.cleared) {
            EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Board 1"}) << c.name;
            EXPECT_TRUE(f.doc().currentObjects()->empty()) << c.name;
            EXPECT_TRUE(f.doc().FileName.empty()) << c.name;
            EXPECT_EQ(f.window().windowTitle(), "Kestrel 3.0 R") << c.name;
        } else {
            EXPECT_EQ(f.doc().boardCount(), 2u) << c.name;
        }
    }
    ReadResult written = readDocument(saved, Language::English);
    ASSERT_TRUE(written.document) << written.error;
    EXPECT_EQ(written.document->boardCount(), 2u);
}

TEST(FileFlows, NewOnTheEmptyDocumentAsksNothingAndOpensTheSizeDialog)
{
    WindowFixture f;
    f.prompts().dialogs.push_back(&WindowFixture::acceptAsIs);
    f.trigger("TB_Neu");
    EXPECT_TRUE(f.prompts().questions.empty());
    EXPECT_EQ(f.prompts().dialogNames, std::vector<QString>{"TL_Groesse"});
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Board 1"});
}

TEST(FileFlows, ClosingAsksOnlyWhenTheDocumentHasContent)
{
    {
        WindowFixture f;
        EXPECT_TRUE(f.window().close());
        EXPECT_TRUE(f.prompts().questions.empty());
    }
    {
        WindowFixture f;
        f.prompts().dialogs.push_back(&WindowFixture::cancel);
        f.trigger("NeuePlatine1"); // a second, empty board counts as content
        f.prompts().answers.push_back(Answer::Cancel);
        EXPECT_FALSE(f.window().close());
        EXPECT_TRUE(f.window().isVisible());
        f.prompts().answers.push_back(Answer::No);
        EXPECT_TRUE(f.window().close());
    }
}

TEST(FileFlows, YesFollowedByACancelledSaveKeepsTheWindowAndTheDocument)
{
    EditedWindow f;
    f.prompts().answers.push_back(Answer::Yes);
    f.prompts().saveNames.push_back(std::nullopt);
    f.trigger("Beenden1");
    EXPECT_TRUE(f.window().isVisible());
    EXPECT_EQ(f.doc().currentObjects()->size(), 1u);
    EXPECT_TRUE(f.prompts().exhausted());
}

TEST(FileFlows, ImportAppendsTheBoardsOfAFileAsNewTabs)
{
    TempDir dir;
    LayoutDocument sample = sampleDocument();
    const std::string path = dir.file("other.kbd");
    saveDocumentFile(sample, path);
    EditedWindow f;
    f.prompts().openNames.push_back(q(path));
    f.trigger("Platinennachladen1");
    EXPECT_TRUE(f.prompts().questions.empty()) << "importing keeps the open document";
    std::vector<std::string> expected{"Board 1"};
    for (size_t i = 0; i < sample.boardCount(); ++i)
        expected.push_back(sample.board(i).Name);
    EXPECT_EQ(f.tabTexts(), expected);
    EXPECT_EQ(f.doc().ActiveBoard, 0);
    EXPECT_EQ(f.window().boardTabs().currentIndex(), 0);
    EXPECT_EQ(f.doc().currentObjects()->size(), 1u);
    EXPECT_TRUE(f.doc().FileName.empty());
}

} // namespace
} // namespace kestrel::test
