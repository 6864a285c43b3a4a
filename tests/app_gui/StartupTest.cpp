#include "WindowFixture.h"

#include "app/InterfaceLanguage.h"
#include "view/gui/BoardView.h"

#include <QFile>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

namespace kestrel::test {
namespace {

// In English only: the Russian board name shows in StartUpFile below, and
// LanguageWalk reads every control of the Russian window.
TEST(StartUp, ShowsOneDefaultBoard)
{
    WindowFixture f(Language::English, {}, true);
    EXPECT_EQ(f.window().windowTitle(), "Kestrel 3.0 R");
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Board 1"});
    // The default board itself is checked in the model tests; here the whole
    // of it shows, once the scroll bars have settled.
    QTest::qWait(50);
    for (const QScrollBar* bar : f.window().boardView().findChildren<QScrollBar*>())
        EXPECT_TRUE(!bar->isVisible() || bar->maximum() == bar->minimum()) << bar->maximum();
    EXPECT_DOUBLE_EQ(f.window().boardView().grid(), 254.0);
    EXPECT_TRUE(f.control<QRadioButton>("RB_K1").isChecked());
    EXPECT_EQ(f.control<QToolButton>("SB_Layoutgroesse").text(), "160 x 100 mm");
    EXPECT_TRUE(f.control<QToolButton>("SB_Standard").isChecked());
}

TEST(LanguageFile, ReadsTheByteBesideTheProgramWithRussianAsDefault)
{
    const std::pair<const char*, Language> cases[] = {
        {nullptr, Language::Russian}, // no file
        {"[Sprache]\nSprache=0\n", Language::Russian},   {"[Sprache]\nSprache=7\n", Language::English},
        {"[Sprache]\nSprache=abc\n", Language::Russian}, {"[Optionen]\nSprache=1\n", Language::Russian}};
    for (const auto& [contents, expected] : cases) {
        TempDir dir;
        if (contents) {
            QFile file(q(dir.file("SPRACHE.INI")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(contents);
        }
        EXPECT_EQ(readInterfaceLanguage({q(dir.path())}), expected) << (contents ? contents : "no file");
    }
}

// The user's folder is searched first; a file there without the key leaves
// the choice to the next folder. The Options menu writes the user's file.
TEST(LanguageFile, TheUsersFileWinsOverTheProgramsAndIsWhatTheMenuWrites)
{
    TempDir user, program;
    ASSERT_TRUE(writeInterfaceLanguage(Language::Russian, q(program.path())));
    EXPECT_EQ(readInterfaceLanguage({q(user.path()), q(program.path())}), Language::Russian);
    ASSERT_TRUE(writeInterfaceLanguage(Language::English, q(user.path())));
    EXPECT_EQ(readInterfaceLanguage({q(user.path()), q(program.path())}), Language::English);

    const QString userFolder = languageFileFolders(QString()).first();
    QFile::remove(userFolder + "/SPRACHE.INI");
    WindowFixture f(Language::Russian);
    f.trigger("SpracheEnglisch1");
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(readInterfaceLanguage({userFolder, q(program.path())}), Language::English);
    EXPECT_TRUE(f.action("SpracheEnglisch1").isChecked());
    QFile::remove(userFolder + "/SPRACHE.INI");
}

TEST(StartUpFile, OpensAnExistingFileWithoutAQuestionAndReportsAMissingOne)
{
    TempDir dir;
    const std::string path = dir.file("Sample.KBD");
    const LayoutDocument sample = writeSample(path);
    {
        WindowFixture f(Language::English, q(path));
        EXPECT_EQ(f.tabTexts().size(), sample.boardCount());
        EXPECT_EQ(f.window().windowTitle(), titleWith(path));
    }
    WindowFixture f(Language::Russian, q(dir.file("missing.kbd")));
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Плата 1"});
    EXPECT_EQ(f.window().windowTitle(), "Kestrel 3.0 R");
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_TRUE(f.messages[0].text.startsWith("Файл не найден")) << f.messages[0].text.toStdString();
}

} // namespace
} // namespace kestrel::test
