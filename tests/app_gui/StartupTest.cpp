#include "WindowFixture.h"

#include "app/HelpWindow.h"
#include "app/InterfaceLanguage.h"
#include "app/StartPicture.h"
#include "view/gui/BoardView.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QScrollBar>
#include <QToolButton>

namespace kestrel::test {
namespace {

// The choice beside the program, Russian by default. The user's folder is
// searched first; without a file there the choice is the next folder's. The
// Options menu writes the user's file.
TEST(LanguageFile, TheUsersFileWinsOverTheProgramsAndIsWhatTheMenuWrites)
{
    TempDir user, program;
    EXPECT_EQ(readInterfaceLanguage({q(program.path())}), Language::Russian) << "no file";
    ASSERT_TRUE(writeInterfaceLanguage(Language::English, q(program.path())));
    EXPECT_EQ(readInterfaceLanguage({q(user.path()), q(program.path())}), Language::English);
    ASSERT_TRUE(writeInterfaceLanguage(Language::Russian, q(user.path())));
    EXPECT_EQ(readInterfaceLanguage({q(user.path()), q(program.path())}), Language::Russian);

    const QString userFolder = languageFileFolders(QString()).first();
    QFile::remove(userFolder + "/SPRACHE.INI");
    WindowFixture f(Language::English); // as with --lang en: nothing stored, Russian next
    EXPECT_TRUE(f.action("SpracheRussisch1").isChecked());
    f.trigger("SpracheEnglisch1");
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(readInterfaceLanguage({userFolder, q(user.path())}), Language::English) << "over a Russian one";
    EXPECT_TRUE(f.action("SpracheEnglisch1").isChecked());

    // A file with a line the reader stumbles over is written anew, and the
    // choice is no failure.
    QFile damaged(userFolder + "/SPRACHE.INI");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("# interface language\n[Sprache]\nSprache=1\n");
    damaged.close();
    f.trigger("SpracheRussisch1");
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_EQ(f.messages.back().icon, Prompts::Icon::Information) << f.messages.back().text.toStdString();
    EXPECT_TRUE(f.action("SpracheRussisch1").isChecked());
    EXPECT_EQ(readInterfaceLanguage({userFolder}), Language::Russian);
    QFile::remove(userFolder + "/SPRACHE.INI");
}

// The editor's answers on the terminal, its help and a refused --lang, come
// in the language --lang names, else in the one the settings keep, Qt's own
// words of the help among them.
TEST(LanguageFile, TheEditorsHelpSpeaksTheChosenLanguage)
{
    const std::string editor = std::filesystem::path(KESTREL_CLI_PATH).replace_filename("kestrel");
    const CommandResult russian = runProgram(editor, {"--help", "--lang", "ru"});
    const CommandResult english = runProgram(editor, {"--lang=EN", "--help"});
    EXPECT_EQ(std::pair(russian.status, english.status), std::pair(0, 0));
    for (const char* text : {"Параметры:", "Файл платы (.kbd), который открыть.", "Показать версию"})
        EXPECT_NE(russian.out.find(text), std::string::npos) << russian.out;
    EXPECT_EQ(russian.out.find("Layout file"), std::string::npos) << russian.out;
    for (const char* text : {"Options:", "Layout file (.kbd) to open.", "Print the version"})
        EXPECT_NE(english.out.find(text), std::string::npos) << english.out;
    EXPECT_EQ(english.out.find("\xD0"), std::string::npos) << english.out;
    // --help-all too: Qt's generic options, not all of them translated, are
    // left out.
    const CommandResult all = runProgram(editor, {"--lang", "ru", "--help-all"});
    EXPECT_EQ(all.status, 0);
    EXPECT_NE(all.out.find("Параметры:"), std::string::npos) << all.out;
    EXPECT_EQ(all.out.find("debugger"), std::string::npos) << all.out;
    // A single dash spells the same options.
    const CommandResult single = runProgram(editor, {"-lang", "en", "-help-all"});
    EXPECT_NE(single.out.find("Options:"), std::string::npos) << single.out;
    EXPECT_EQ(single.out.find("Qt"), std::string::npos) << "no option promises Qt's: " << single.out;
    EXPECT_EQ(runProgram(editor, {"-version"}).out, "kestrel 3.0\n");
    EXPECT_EQ(runProgram(editor, {"-lang", "xx"}).status, 2);

    // The editor reads the choice from its own configuration folder.
    TempDir config;
    const std::optional<std::string> before =
        std::getenv("XDG_CONFIG_HOME") ? std::optional<std::string>(std::getenv("XDG_CONFIG_HOME")) : std::nullopt;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    ASSERT_TRUE(writeInterfaceLanguage(Language::English, q(config.path())));
    const CommandResult storedEnglish = runProgram(editor, {"--lang", "de"});
    ASSERT_TRUE(writeInterfaceLanguage(Language::Russian, q(config.path())));
    const CommandResult storedRussian = runProgram(editor, {"--lang", "de"});
    QFile::remove(q(config.file("SPRACHE.INI")));
    const CommandResult nothingStored = runProgram(editor, {"--help"});
    before ? (void)setenv("XDG_CONFIG_HOME", before->c_str(), 1) : (void)unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(std::pair(storedEnglish.status, storedRussian.status), std::pair(2, 2));
    EXPECT_EQ(storedEnglish.err, "kestrel: --lang expects ru or en\n");
    EXPECT_EQ(storedRussian.err, "kestrel: --lang: ru или en\n");
    EXPECT_NE(nothingStored.out.find("Параметры:"), std::string::npos) << "Russian by default";

    // Without a window system a mistyped option is named as such.
    std::vector<std::pair<std::string, std::string>> kept;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* v = std::getenv(name)) {
            kept.emplace_back(name, v);
            unsetenv(name);
        }
    const CommandResult mistyped = runProgram(editor, {"--lang", "en", "--bogus"});
    // Qt's own options, in either spelling, are no mistakes.
    const CommandResult qtOptions =
        runProgram(editor, {"--platform", "offscreen", "-style", "fusion", "-style=fusion", "-reverse", "--version"});
    // Qt takes no "=value": such a spelling names no window system.
    const CommandResult withEquals = runProgram(editor, {"--lang", "en", "-platform=offscreen"});
    for (const auto& [name, value] : kept)
        setenv(name.c_str(), value.c_str(), 1);
    EXPECT_EQ(mistyped.status, 1) << mistyped.err;
    EXPECT_NE(mistyped.err.find("Unknown option 'bogus'"), std::string::npos) << mistyped.err;
    EXPECT_EQ(qtOptions.status, 0) << qtOptions.err;
    EXPECT_EQ(qtOptions.out, "kestrel 3.0\n");
    EXPECT_EQ(withEquals.status, 1) << withEquals.err;
    EXPECT_EQ(withEquals.err, "kestrel: Unknown option 'platform'.\n");
}

// Messages and questions name files as they are: a name with markup in it
// is not drawn as bold text naming another file.
TEST(DesktopPrompts, ShowTextsAsTheyAre)
{
    DesktopPrompts prompts(Language::English);
    std::vector<std::pair<QString, Qt::TextFormat>> shown;
    const auto answerNextBox = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown.emplace_back(box->text(), box->textFormat());
                box->done(QMessageBox::Yes);
            }
        });
    };
    const QString text = "Delete file \"<b>old<i> part.kmk\" ?";
    answerNextBox();
    prompts.message(nullptr, "Save", text, Prompts::Icon::Information);
    answerNextBox();
    EXPECT_EQ(prompts.ask(nullptr, "Macros", text, Prompts::Buttons::YesNo, Prompts::Icon::Question),
              Prompts::Answer::Yes);
    ASSERT_EQ(shown.size(), 2u);
    for (const auto& [said, format] : shown) {
        EXPECT_EQ(said, text);
        EXPECT_EQ(format, Qt::PlainText);
    }

    // Enter on a warning's question (write the package anyway?) is No.
    for (const auto& [icon, answer] : {std::pair{Prompts::Icon::Warning, Prompts::Answer::No},
                                       std::pair{Prompts::Icon::Question, Prompts::Answer::Yes}}) {
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(prompts.ask(nullptr, "Fab package", "Write anyway?", Prompts::Buttons::YesNo, icon), answer);
    }
}

// A name in a folder that is not there is refused in the save dialog,
// which comes back for another.
TEST(DesktopPrompts, ASaveNameNeedsAnExistingFolder)
{
    TempDir dir;
    DesktopPrompts prompts(Language::English);
    QStringList said;
    int fileDialogs = 0;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            said << box->text();
            box->done(QMessageBox::Ok);
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            auto* name = files->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_TRUE(name);
            name->setText(q(dir.file(++fileDialogs == 1 ? "none/x.gbr" : "x.gbr")));
            static_cast<QDialog*>(files)->accept(); // the file dialog's own check runs
        }
    });
    driver.start(10);
    const auto chosen = prompts.saveFileName(nullptr, q(dir.path()), "*.gbr|*.gbr", "GBR", "Gerber");
    driver.stop();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, q(dir.file("x.gbr")));
    EXPECT_EQ(fileDialogs, 2);
    EXPECT_EQ(said, QStringList{"There is no such folder: " + q(dir.file("none"))});
}

// The start picture is up, undecorated, until its time has passed, and
// gone when the main window would open.
TEST(StartPicture, StaysUpItsTimeUndecoratedThenGoes)
{
    QElapsedTimer clock;
    clock.start();
    StartPicture picture(std::chrono::milliseconds(300));
    const auto shown = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "StartPicture" && w->isVisible())
                return w;
        return static_cast<QWidget*>(nullptr);
    };
    QWidget* up = shown();
    ASSERT_TRUE(up);
    EXPECT_TRUE(up->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(up->size(), QSize(360, 170)) << "the about box's picture";
    picture.finish();
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_EQ(shown(), nullptr);
}

// F1 opens the manual at the page of the tool in use, except in the drawing
// area, where it makes layer 1 active.
TEST(StartUpFile, OpensAFileReportsAMissingOneAndF1FollowsTheTool)
{
    TempDir dir;
    const std::string path = dir.file("Sample.KBD");
    const LayoutDocument sample = writeSample(path);
    {
        // Files named after the first are said not to be opened.
        WindowFixture f(Language::English, q(path), false, {q(dir.file("b.kbd")), q(dir.file("c.kbd"))});
        EXPECT_EQ(f.tabTexts().size(), sample.boardCount());
        EXPECT_EQ(f.shownTitle(), titleWith(path));
        ASSERT_EQ(f.messages.size(), 1u);
        EXPECT_EQ(f.messages[0].text, "A window opens one file. Not opened:\n\n" + q(dir.file("b.kbd")) + "\n" +
                                          q(dir.file("c.kbd")));

        QToolButton& route = f.control<QToolButton>("SB_AutoRoute");
        route.click();
        route.setFocus();
        QTest::keyClick(&route, Qt::Key_F1);
        auto* help = f.window().findChild<HelpWindow*>();
        ASSERT_TRUE(help);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->currentPage(), "routing");
        f.tool("SB_Standard");
        f.key(Qt::Key_F1); // there a layer key: Layers.KeysButtonsAndMenuFollowTheLayerRules...
        EXPECT_EQ(help->currentPage(), "routing") << "F1 in the drawing area leaves the manual";
        EXPECT_EQ(f.window().createPopupMenu(), nullptr) << "no blank pop-up on the tool bar";
    }
    // A missing one leaves the default board, all of which shows once the scroll
    // bars have settled (the board itself is checked in the model tests).
    WindowFixture f(Language::Russian, q(dir.file("missing.kbd")), true);
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Плата 1"});
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_TRUE(f.messages[0].text.startsWith("Файл не найден")) << f.messages[0].text.toStdString();
    QTest::qWait(50);
    for (const QScrollBar* bar : f.window().boardView().findChildren<QScrollBar*>())
        EXPECT_TRUE(!bar->isVisible() || bar->maximum() == bar->minimum()) << bar->maximum();
    const QTabBar& tabs = f.window().boardTabs();
    EXPECT_TRUE(tabs.isVisible());
    EXPECT_GT(tabs.height(), 10) << "the single board's tab shows";
}

} // namespace
} // namespace kestrel::test
