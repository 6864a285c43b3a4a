#include "WindowFixture.h"

#include "view/gui/BoardView.h"

#include <QLineEdit>
#include <QToolButton>

namespace kestrel::test {
namespace {

// Fills the size dialog and presses OK, which checks the texts.
WindowFixture::DialogScript sizeDialog(const char* width, const char* height, const char* name = nullptr)
{
    return [=](QDialog& d) {
        d.findChild<QLineEdit*>("Breite")->setText(width);
        d.findChild<QLineEdit*>("Hoehe")->setText(height);
        if (name)
            d.findChild<QLineEdit*>("E_Name")->setText(QString::fromUtf8(name));
        return WindowFixture::accept(d);
    };
}

TEST(Boards, AddMoveAndDeleteKeepTheTabsAndTheActiveBoardInStep)
{
    WindowFixture f;
    f.trigger("Platinelschen1");
    EXPECT_EQ(f.messages.size(), 1u) << "the last board stays";

    f.addBoards(1);
    f.doc().Working.Zoom = 0.5; // board 2 changed before the third is added
    f.dialogs = {sizeDialog("120", "80")};
    f.trigger("NeuePlatine2");
    EXPECT_EQ(f.doc().Working.BoardHeight, 8000);
    EXPECT_EQ(f.control<QToolButton>("SB_Layoutgroesse").text(), "120 x 80 mm");

    f.window().boardTabs().setCurrentIndex(1);
    f.answers = {Answer::Cancel, Answer::Ok};
    struct Step {
        const char* action;
        std::vector<std::string> tabs;
        int active;
    };
    for (const Step& s : {Step{"Platinenachlinks1", {"Board 2", "Board 1", "Board 3"}, 0},
                          Step{"Platinenachrechts2", {"Board 1", "Board 3", "Board 2"}, 2},
                          Step{"Platinelschen1", {"Board 1", "Board 3", "Board 2"}, 2}, // cancelled
                          Step{"Platinelschen2", {"Board 1", "Board 3"}, 1}}) {
        f.trigger(s.action);
        EXPECT_EQ(f.tabTexts(), s.tabs) << s.action;
        EXPECT_EQ(f.doc().ActiveBoard, s.active) << s.action;
        EXPECT_EQ(f.window().boardTabs().currentIndex(), s.active) << s.action;
    }
    EXPECT_EQ(f.questions.size(), 2u);
}

// A refused size keeps the dialog open with a message.
TEST(Boards, SizeDialogShowsWholeMillimetresAndRejectsValuesOutsideTheRange)
{
    WindowFixture f(Language::Russian);
    f.doc().Working.BoardWidth = 16050;
    f.dialogs = {[&f](QDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("Breite")->text(), "160");
        EXPECT_EQ(d.findChild<QLineEdit*>("E_Name")->text(), "Плата 1");
        EXPECT_FALSE(sizeDialog("100", "9", "Refused")(d)) << "the dialog stays open";
        EXPECT_FALSE(sizeDialog("100", "100", "Плата 😀")(d)) << "a name the file would change";
        EXPECT_EQ(f.doc().Working.BoardWidth, 16050);
        EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Плата 1"});
        return sizeDialog("300", "300", "Renamed")(d);
    }};
    f.trigger("Platinengrsse1");
    EXPECT_EQ(f.doc().Working.BoardWidth, 30000);
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Renamed"});
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_EQ(f.messages[0].caption, "Kestrel");
    EXPECT_EQ(f.messages[1].text.toStdString(), "Этот знак имени платы не сохраняется в файле: 😀");

    // A size the file holds beyond the dialog's range, or with a fraction,
    // stays when only the name changes.
    f.doc().Working.BoardWidth = 80050;
    f.dialogs = {[](QDialog& d) {
        d.findChild<QLineEdit*>("E_Name")->setText("Long");
        return WindowFixture::accept(d);
    }};
    f.trigger("Platinengrsse1");
    EXPECT_EQ(f.doc().Working.BoardWidth, 80050);
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Long"});
    EXPECT_EQ(f.messages.size(), 2u);
}

} // namespace
} // namespace kestrel::test
