#include "WindowFixture.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>

namespace kestrel::test {
namespace {

// Fills the size dialog (a null text stays as shown) and presses OK, which
// checks the texts.
WindowFixture::DialogScript sizeDialog(const char* width, const char* height, const char* name = nullptr)
{
    return [=](QDialog& d) {
        for (auto [field, text] : {std::pair{"Breite", width}, {"Hoehe", height}, {"E_Name", name}})
            if (text)
                child<QLineEdit>(d, field).setText(QString::fromUtf8(text));
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
    EXPECT_EQ(std::make_tuple(f.doc().Working.Zoom, f.doc().Working.ScrollX, f.doc().Working.ScrollY),
              std::make_tuple(0.1, 0, 0))
        << "a new board's view starts as its record's defaults";

    f.window().boardTabs().setCurrentIndex(1);
    f.answers = {Answer::Cancel, Answer::Ok};
    // Each command, the tabs and the active board afterwards.
    const std::tuple<const char*, std::vector<std::string>, int> steps[] = {
        {"Platinenachlinks1", {"Board 2", "Board 1", "Board 3"}, 0},
        {"Platinenachrechts2", {"Board 1", "Board 3", "Board 2"}, 2},
        {"Platinelschen1", {"Board 1", "Board 3", "Board 2"}, 2}, // cancelled
        {"Platinelschen2", {"Board 1", "Board 3"}, 1}};
    for (const auto& [action, tabs, active] : steps) {
        f.trigger(action);
        EXPECT_EQ(f.tabTexts(), tabs) << action;
        EXPECT_EQ(f.doc().ActiveBoard, active) << action;
        EXPECT_EQ(f.window().boardTabs().currentIndex(), active) << action;
    }
    EXPECT_EQ(f.questions.size(), 2u);

    // A width typed on one board is that board's, though the field keeps
    // the focus while another tab is clicked.
    f.window().boardTabs().setCurrentIndex(0);
    addTrack(f.list(), {{1000, -1000}, {3000, -1000}}, 40).Selected = 1;
    f.window().boardTabs().setCurrentIndex(1);
    addTrack(f.list(), {{1000, -1000}, {3000, -1000}}, 40);
    auto& width = f.typeInto("SE_Breite", "2");
    f.window().boardTabs().setCurrentIndex(0);
    QTest::keyClick(&width, Qt::Key_Return);
    EXPECT_EQ(f.list()[0].Width, 40) << "the selected track of the other board";
    f.window().boardTabs().setCurrentIndex(1);
    EXPECT_EQ(f.list()[0].Width, 40);
    EXPECT_DOUBLE_EQ(width.value(), 2.0);

    // The keyboard steps through the boards, round past either end.
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_PageUp, 0}, {Qt::Key_PageUp, 1}, {Qt::Key_PageDown, 0}};
    for (const auto& [key, active] : keys) {
        f.key(key, Qt::ControlModifier);
        EXPECT_EQ(f.doc().ActiveBoard, active);
        EXPECT_EQ(f.window().boardTabs().currentIndex(), active);
    }
}

// The tab menu acts on the tab clicked, not on the board shown.
TEST(Boards, TabMenuActsOnTheTabClicked)
{
    WindowFixture f;
    f.addBoards(1);
    ASSERT_EQ(f.doc().ActiveBoard, 1);
    QTabBar& tabs = f.window().boardTabs();
    Q_EMIT tabs.customContextMenuRequested(tabs.tabRect(0).center());
    EXPECT_EQ(f.doc().ActiveBoard, 0);
    auto* menu = f.window().findChild<QMenu*>("PlatinenPopup");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    f.answers = {Answer::Ok};
    f.trigger("Platinelschen2");
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Board 2"});
    ASSERT_EQ(f.questions.size(), 1u);
    EXPECT_TRUE(f.questions[0].text.contains("Board 1")) << f.questions[0].text.toStdString();
}

// The tab strip keeps tab sizes by caption: a renamed board's tab, and every
// tab after a font change, must still measure as a plain tab bar's would.
TEST(Boards, TabsMeasureTheirCaptionsAfterARenameAndAFontChange)
{
    WindowFixture f;
    f.addBoards(2);
    QTabBar& tabs = f.window().boardTabs();
    QTabBar plain;
    plain.setShape(tabs.shape());
    plain.setExpanding(false);
    const auto expectPlainSizes = [&](const char* when) {
        while (plain.count() > 0)
            plain.removeTab(0);
        plain.setFont(tabs.font());
        for (int i = 0; i < tabs.count(); ++i)
            plain.addTab(tabs.tabText(i));
        plain.setCurrentIndex(tabs.currentIndex());
        for (int i = 0; i < tabs.count(); ++i)
            EXPECT_EQ(tabs.tabRect(i).size(), plain.tabRect(i).size()) << when << ", tab " << i;
    };
    expectPlainSizes("at the start");

    const int before = tabs.tabRect(2).width();
    f.dialogs = {sizeDialog(nullptr, nullptr, "A much longer board name")};
    f.trigger("Platinengrsse1");
    ASSERT_EQ(f.tabTexts().back(), "A much longer board name");
    EXPECT_GT(tabs.tabRect(2).width(), before);
    expectPlainSizes("after the rename");

    QFont larger = tabs.font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    tabs.setFont(larger);
    expectPlainSizes("after the font change");
}

// Deleting the board, or saving, while a track is being drawn ends the
// track first: the tool must not go on with an object the command freed.
TEST(Boards, ATrackBeingDrawnEndsBeforeItsBoardGoesOrIsSaved)
{
    WindowFixture f;
    f.addBoards(1);
    f.window().boardTabs().setCurrentIndex(0);
    f.tool("SB_Line");
    f.click(at(2, 2));
    f.click(at(6, 2));
    f.answers = {Answer::Ok};
    f.trigger("Platinelschen2");
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Board 2"});
    EXPECT_TRUE(f.list().empty());
    f.click(at(2, 4));
    f.click(at(6, 4));
    f.rightClick(at(6, 4));
    ASSERT_EQ(f.list().size(), 1u) << "a new track on the board left";
    EXPECT_EQ(f.list()[0].Points.size(), 2u);

    // Save with one point of the next track: it is dropped (as by a right
    // click) before the clean-up could free it, and the next clicks start anew.
    TempDir dir;
    f.saveNames = {q(dir.file("saved.kbd"))};
    f.click(at(2, 6));
    f.trigger("Speichern1");
    f.click(at(2, 8));
    f.click(at(6, 8));
    f.rightClick(at(6, 8));
    ASSERT_EQ(f.list().size(), 2u);
    EXPECT_EQ(f.list()[1].Points, (std::vector<Point>{at(2, 8), at(6, 8)}));
    EXPECT_EQ(objectsInFile(dir.file("saved.kbd")), 1u);
}

// A refused size keeps the dialog open with a message.
TEST(Boards, SizeDialogShowsWholeMillimetresAndRejectsValuesOutsideTheRange)
{
    WindowFixture f(Language::Russian);
    f.doc().Working.BoardWidth = 16050;
    f.dialogs = {[&f](QDialog& d) {
        EXPECT_EQ(child<QLineEdit>(d, "Breite").text(), "160");
        EXPECT_EQ(child<QLineEdit>(d, "E_Name").text(), "Плата 1");
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
    EXPECT_EQ(f.messages[1].text.toStdString(), "Этот знак имени платы не сохраняется в файле: 😀");

    // A size the file holds beyond the dialog's range, or with a fraction,
    // stays when only the name changes.
    f.doc().Working.BoardWidth = 80050;
    f.dialogs = {sizeDialog(nullptr, nullptr, "Long")};
    f.trigger("Platinengrsse1");
    EXPECT_EQ(f.doc().Working.BoardWidth, 80050);
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Long"});
    EXPECT_EQ(f.messages.size(), 2u);
    // Nor when only the other side changes; an ampersand is shown, not
    // taken for a shortcut.
    f.doc().Working.BoardHeight = 6550;
    f.dialogs = {sizeDialog(nullptr, "120", nullptr)};
    f.trigger("Platinengrsse1");
    EXPECT_EQ(std::pair(f.doc().Working.BoardWidth, f.doc().Working.BoardHeight), std::pair(80050, 12000))
        << "800.5 mm, beyond the dialog's range, kept";
    f.doc().Working.BoardHeight = 6550;
    f.dialogs = {sizeDialog("100", nullptr, "R&D")};
    f.trigger("Platinengrsse1");
    EXPECT_EQ(std::pair(f.doc().Working.BoardWidth, f.doc().Working.BoardHeight), std::pair(10000, 6550));
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"R&&D"});
    // The digits shown typed again over a size with a fraction set that size.
    f.dialogs = {[](QDialog& d) {
        auto& height = child<QLineEdit>(d, "Hoehe");
        height.selectAll();
        QTest::keyClicks(&height, "65");
        return WindowFixture::accept(d);
    }};
    f.trigger("Platinengrsse1");
    EXPECT_EQ(f.doc().Working.BoardHeight, 6500);
    // A board without a name keeps a tab one can see.
    f.dialogs = {sizeDialog(nullptr, nullptr, "")};
    f.trigger("Platinengrsse1");
    EXPECT_EQ(f.doc().board(0).Name, "");
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"(без имени)"});
}

// Shrinking the board over objects says that saving will delete them, before
// anything changes; Cancel keeps the size, not the name typed with it.
TEST(Boards, ShrinkingOverObjectsAsksFirst)
{
    WindowFixture f;
    addPad(f.list(), {9000, -1000}, 60);  // right of 80 mm
    addPad(f.list(), {20000, -1000}, 60); // off the board already: not counted
    f.answers = {Answer::Cancel, Answer::Ok};
    f.dialogs = {sizeDialog("80", "50", "Renamed")};
    f.trigger("Platinengrsse1");
    EXPECT_EQ(f.doc().Working.BoardWidth, 16000);
    EXPECT_EQ(f.tabTexts(), std::vector<std::string>{"Renamed"});
    f.dialogs = {sizeDialog("80", "50")};
    f.trigger("Platinengrsse1");
    ASSERT_EQ(f.questions.size(), 2u);
    EXPECT_EQ(f.questions[0].text,
              "Objects lying wholly outside the new board: 1. Saving deletes them. Change the size?");
    EXPECT_EQ(f.doc().Working.BoardWidth, 8000) << "changed after Ok only";
    f.dialogs = {sizeDialog("90", "50")};
    f.trigger("Platinengrsse1");
    EXPECT_EQ(f.questions.size(), 2u) << "growing asks nothing";
    EXPECT_TRUE(f.exhausted());
}

} // namespace
} // namespace kestrel::test
