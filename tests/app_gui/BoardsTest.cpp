#include "WindowFixture.h"

#include "view/gui/BoardView.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QTest>

namespace kestrel::test {
namespace {

using Answer = Prompts::Answer;

// Fills the size dialog; the texts are checked when OK is pressed.
std::function<bool(QDialog&)> sizeDialog(const char* width, const char* height, const char* name = nullptr)
{
    return [=](QDialog& d) {
        d.findChild<QLineEdit*>("Breite")->setText(width);
        d.findChild<QLineEdit*>("Hoehe")->setText(height);
        if (name)
            d.findChild<QLineEdit*>("E_Name")->setText(QString::fromUtf8(name));
        d.accept();
        return d.result() == QDialog::Accepted;
    };
}

void addBoards(WindowFixture& f, int count)
{
    for (int i = 0; i < count; ++i) {
        f.prompts().dialogs.push_back(&WindowFixture::cancel);
        f.trigger("NeuePlatine1");
    }
}

TEST(Boards, ANewBoardIsNumberedAfterTheBoardsPresentAndBecomesActive)
{
    WindowFixture f;
    addBoards(f, 1);
    f.doc().Working.Zoom = 0.5; // board 2 changed before the third is added
    f.prompts().dialogs.push_back(sizeDialog("120", "80"));
    f.trigger("NeuePlatine2");
    EXPECT_EQ(f.tabTexts(), (std::vector<std::string>{"Board 1", "Board 2", "Board 3"}));
    EXPECT_EQ(f.doc().ActiveBoard, 2);
    EXPECT_EQ(f.window().boardTabs().currentIndex(), 2);
    EXPECT_EQ(f.doc().Working.BoardWidth, 12000);
    EXPECT_EQ(f.doc().Working.BoardHeight, 8000);
    EXPECT_DOUBLE_EQ(f.doc().Working.Zoom, 0.1);
    EXPECT_EQ(f.doc().Working.LayerVisible, (std::array<uint8_t, 4>{1, 1, 0, 0}));
    EXPECT_EQ(f.control<QToolButton>("SB_Layoutgroesse").text(), "120 x 80 мм");
}

TEST(Boards, SizeDialogRejectsValuesOutsideTheRangeAndStaysOpen)
{
    struct Case {
        const char* width;
        const char* height;
        bool accepted;
    };
    for (const Case& c : {Case{"300", "300", true}, Case{"10", "10", true}, Case{"301", "100", false},
                          Case{"100", "9", false}, Case{"abc", "100", false}, Case{"100.5", "100", false}}) {
        WindowFixture f;
        bool stayedOpen = false;
        f.prompts().dialogs.push_back([&](QDialog& d) {
            const bool accepted = sizeDialog(c.width, c.height, "Renamed")(d);
            stayedOpen = !accepted;
            return accepted || WindowFixture::cancel(d);
        });
        f.trigger("Platinengrsse1");
        EXPECT_EQ(stayedOpen, !c.accepted) << c.width << " x " << c.height;
        if (c.accepted) {
            EXPECT_TRUE(f.prompts().messages.empty());
            EXPECT_EQ(f.doc().Working.BoardWidth, std::atoi(c.width) * 100);
            EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Renamed"});
            EXPECT_EQ(f.doc().board(0).Name, "Renamed");
        } else {
            ASSERT_EQ(f.prompts().messages.size(), 1u) << c.width;
            EXPECT_EQ(f.prompts().messages[0].caption, "Kestrel");
            EXPECT_EQ(f.doc().Working.BoardWidth, 16000) << "the size is kept";
            EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Board 1"}) << "the name is kept";
        }
    }
}

TEST(Boards, SizeDialogShowsWholeMillimetresAndTheRangeMessageInRussian)
{
    WindowFixture f(Language::Russian);
    f.doc().Working.BoardWidth = 16050;
    f.prompts().dialogs.push_back([](QDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("Breite")->text(), "160");
        EXPECT_EQ(d.findChild<QLineEdit*>("E_Name")->text(), "Plata 1");
        EXPECT_EQ(d.windowTitle(), "Плата");
        return sizeDialog("5", "100")(d) || WindowFixture::cancel(d);
    });
    f.trigger("Platinengrsse1");
    ASSERT_EQ(f.prompts().messages.size(), 1u);
    EXPECT_EQ(f.prompts().messages[0].text, "Der Wert muЯ zwischen 10..300 мм liegen.");
}

TEST(Boards, TheOnlyBoardCannotBeDeleted)
{
    WindowFixture f(Language::Russian);
    f.trigger("Platinelschen1");
    EXPECT_TRUE(f.prompts().questions.empty());
    ASSERT_EQ(f.prompts().messages.size(), 1u);
    EXPECT_EQ(f.prompts().messages[0].text, "Этот рисунок (чертёж) вы не можете удалить.");
    EXPECT_EQ(f.prompts().messages[0].caption, "Информация");
    EXPECT_EQ(f.doc().boardCount(), 1u);
}

TEST(Boards, DeletingAsksFirstAndActivatesTheRemainingBoard)
{
    WindowFixture f;
    addBoards(f, 1);
    f.prompts().answers.push_back(Answer::Cancel);
    f.trigger("Platinelschen2");
    ASSERT_EQ(f.prompts().questions.size(), 1u);
    EXPECT_EQ(f.prompts().questions[0].text, "Delete board \"Board 2\" ?");
    EXPECT_EQ(f.doc().boardCount(), 2u);

    f.prompts().answers.push_back(Answer::Ok);
    f.trigger("Platinelschen1");
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Board 1"});
    EXPECT_EQ(f.doc().ActiveBoard, 0);
    EXPECT_EQ(f.window().boardTabs().currentIndex(), 0);
}

TEST(Boards, MovingKeepsTheMovedBoardActive)
{
    WindowFixture f;
    addBoards(f, 2);
    f.window().boardTabs().setCurrentIndex(1);
    addTrack(*f.doc().currentObjects(), {{0, 0}, {100, 0}});
    f.trigger("Platinenachlinks1");
    EXPECT_EQ(f.tabTexts(), (std::vector<std::string>{"Board 2", "Board 1", "Board 3"}));
    EXPECT_EQ(f.doc().ActiveBoard, 0);
    EXPECT_EQ(f.window().boardTabs().currentIndex(), 0);
    EXPECT_EQ(f.doc().currentObjects()->size(), 1u);
    f.trigger("Platinenachrechts2");
    EXPECT_EQ(f.tabTexts(), (std::vector<std::string>{"Board 1", "Board 3", "Board 2"}));
    EXPECT_EQ(f.doc().ActiveBoard, 2);
    EXPECT_EQ(f.window().boardTabs().currentIndex(), 2);
}

// Each board keeps its own view: zoom, scroll position, grid, active layer
// and visible layers come back exactly after a visit to another board.
TEST(Boards, SwitchingRestoresEachBoardsViewExactly)
{
    WindowFixture f;
    addBoards(f, 1);
    QTabBar& tabs = f.window().boardTabs();
    BoardView& view = f.window().boardView();
    tabs.setCurrentIndex(0);

    view.setZoom(0.37);
    view.setGrid(127);
    f.trigger("K2");  // layer 3 active (and shown)
    f.trigger("SB2"); // layer 4 shown
    f.trigger("SB1"); // layer 2 hidden
    const int32_t scrollX = f.doc().Working.ScrollX;
    const int32_t scrollY = f.doc().Working.ScrollY;
    ASSERT_GT(scrollX, 0) << "zooming in about the centre scrolls";
    ASSERT_GT(scrollY, 0);

    tabs.setCurrentIndex(1);
    EXPECT_DOUBLE_EQ(view.zoom(), 0.1);
    EXPECT_DOUBLE_EQ(view.grid(), 254.0);
    EXPECT_EQ(f.doc().Working.ActiveLayer, 1u);
    view.setZoom(0.02);
    f.trigger("B1");

    tabs.setCurrentIndex(0);
    EXPECT_DOUBLE_EQ(view.zoom(), 0.37);
    EXPECT_DOUBLE_EQ(view.grid(), 127.0);
    EXPECT_EQ(f.doc().Working.ActiveLayer, 3u);
    EXPECT_EQ(f.doc().Working.LayerVisible, (std::array<uint8_t, 4>{1, 0, 1, 1}));
    EXPECT_EQ(f.doc().Working.ScrollX, scrollX);
    EXPECT_EQ(f.doc().Working.ScrollY, scrollY);
    EXPECT_TRUE(f.control<QRadioButton>("RB_K2").isChecked());
    EXPECT_FALSE(f.control<QToolButton>("SB_B1").font().bold());

    tabs.setCurrentIndex(1);
    EXPECT_DOUBLE_EQ(view.zoom(), 0.02);
    EXPECT_EQ(f.doc().Working.ActiveLayer, 2u);
    EXPECT_TRUE(f.control<QRadioButton>("RB_B1").isChecked());
}

} // namespace
} // namespace kestrel::test
