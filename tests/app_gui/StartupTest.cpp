#include "WindowFixture.h"

#include "app/InterfaceLanguage.h"
#include "view/gui/BoardView.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>

namespace kestrel::test {
namespace {

struct StartCase {
    Language lang;
    const char* firstBoard;
    const char* fileMenu;
    const char* newCommand;
    const char* activeLabel;
    const char* copperButton;
};

class StartUp : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartUp, ShowsOneDefaultBoardInTheChosenLanguage)
{
    const StartCase& c = GetParam();
    WindowFixture f(c.lang);
    MainWindow& w = f.window();
    EXPECT_EQ(w.windowTitle(), "Kestrel 3.0 R");
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{c.firstBoard});
    ASSERT_EQ(f.doc().boardCount(), 1u);
    EXPECT_EQ(f.doc().ActiveBoard, 0);
    const BoardSettings& s = f.doc().Working;
    EXPECT_EQ(s.BoardWidth, 16000);
    EXPECT_EQ(s.BoardHeight, 10000);
    EXPECT_DOUBLE_EQ(w.boardView().zoom(), 0.1);
    EXPECT_DOUBLE_EQ(w.boardView().grid(), 254.0);
    EXPECT_EQ(s.ActiveLayer, 1u);
    EXPECT_EQ(s.LayerVisible, (std::array<uint8_t, 4>{1, 1, 0, 0}));
    EXPECT_EQ(s.GroundPlane1 + s.GroundPlane2, 0);

    EXPECT_EQ(f.control<QMenu>("Datei1").title(), QString::fromUtf8(c.fileMenu));
    EXPECT_EQ(f.action("Neu1").text(), QString::fromUtf8(c.newCommand));
    EXPECT_EQ(f.control<QLabel>("Label2").text(), QString::fromUtf8(c.activeLabel));
    EXPECT_EQ(f.control<QToolButton>("SB_K1").text(), QString::fromUtf8(c.copperButton));
    EXPECT_TRUE(f.control<QRadioButton>("RB_K1").isChecked());
    EXPECT_TRUE(f.control<QToolButton>("SB_K1").font().bold());
    EXPECT_FALSE(f.control<QToolButton>("SB_K2").font().bold());
    EXPECT_EQ(f.control<QToolButton>("SB_Layoutgroesse").text(), "160 x 100 мм");
    EXPECT_EQ(f.control<QToolButton>("SB_Raster").text(), "2.54 мм");
    EXPECT_TRUE(f.control<QToolButton>("SB_Standard").isChecked());
    EXPECT_DOUBLE_EQ(w.toolParameters().CurrentClearance, 40);

    // Left in Russian in both interfaces.
    EXPECT_EQ(f.control<QMenu>("L1").title(), "Стороны");
    EXPECT_EQ(f.action("Info2").text(), "О программе");
}

INSTANTIATE_TEST_SUITE_P(Languages, StartUp,
                         ::testing::Values(StartCase{Language::Russian, "Plata 1", "Файл", "&Новый файл", "Активн.", "Ф1"},
                                           StartCase{Language::English, "Board 1", "&File", "&New...", "active", "C1"}),
                         [](const auto& info) { return info.param.lang == Language::English ? "English" : "Russian"; });

TEST(LanguageFile, ReadsTheByteBesideTheProgramWithRussianAsDefault)
{
    struct Case {
        const char* contents; // nullptr: no file
        Language expected;
    };
    for (const Case& c : {Case{nullptr, Language::Russian}, Case{"[Sprache]\nSprache=0\n", Language::Russian},
                          Case{"[Sprache]\nSprache=1\n", Language::English},
                          Case{"[Sprache]\nSprache=7\n", Language::English},
                          Case{"[Sprache]\nSprache=-1\n", Language::English},
                          Case{"[Sprache]\nSprache=abc\n", Language::Russian},
                          Case{"[Optionen]\nSprache=1\n", Language::Russian}}) {
        TempDir dir;
        if (c.contents) {
            QFile file(QString::fromStdString(dir.file("SPRACHE.INI")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.contents);
        }
        EXPECT_EQ(readInterfaceLanguage(QString::fromStdString(dir.path())), c.expected)
            << (c.contents ? c.contents : "no file");
    }
}

TEST(StartUpFile, OpensAnExistingFileWithoutAQuestion)
{
    TempDir dir;
    LayoutDocument sample = sampleDocument();
    const std::string path = dir.file("Sample.KBD");
    saveDocumentFile(sample, path);
    WindowFixture f(Language::English, QString::fromStdString(path));
    EXPECT_EQ(f.doc().boardCount(), sample.boardCount());
    EXPECT_EQ(f.window().windowTitle(), "Kestrel 3.0 R - [" + QString::fromStdString(path).toLower() + "]");
    EXPECT_TRUE(f.prompts().questions.empty());
    EXPECT_EQ(f.tabTexts().size(), sample.boardCount());
}

TEST(StartUpFile, AMissingFileLeavesTheDefaultBoard)
{
    TempDir dir;
    WindowFixture f(Language::Russian, QString::fromStdString(dir.file("missing.kbd")));
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Plata 1"});
    EXPECT_EQ(f.window().windowTitle(), "Kestrel 3.0 R");
    EXPECT_TRUE(f.prompts().messages.empty());
}

} // namespace
} // namespace kestrel::test
