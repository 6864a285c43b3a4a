#include "WindowFixture.h"
#include "edit/PointerMachine.h"
#include "view/gui/BoardView.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>

namespace kestrel::test {
namespace {

// A list menu opened as the user opens it, which brings its entries up to date.
QMenu& opened(WindowFixture& f, const char* menuName)
{
    QMenu& menu = f.control<QMenu>(menuName);
    Q_EMIT menu.aboutToShow();
    return menu;
}

ScriptedPrompts::DialogScript labelScript(const char* text, bool numbering, int start)
{
    return [=](QDialog& d) {
        child<QLineEdit>(d, "Edit1").setText(text);
        child<QCheckBox>(d, "CB_WillsteZahl").setChecked(numbering);
        child<QSpinBox>(d, "SE_Start").setValue(start);
        return WindowFixture::accept(d);
    };
}

// The file keeps label texts in an 8-bit code page: a character beyond it is
// refused in the dialog rather than saved as '?', and so is a label of no text. Numbering from 7: three
// clicks leave 7, 8 and 9, the right button takes the following label away,
// and a double click opens a label's properties. Closing while a label follows
// takes it away first, so the save the window asks for leaves it out.
TEST(LabelTool, PlacesNumberedLabelsEditsThemAndSavesNoFollowingOne)
{
    SettingsHome home;
    TempDir dir;
    WindowFixture f;
    f.dialogs = {[&f](QDialog& d) {
        child<QLineEdit>(d, "Edit1").setText(QString::fromUtf8("R\u4e2d"));
        EXPECT_FALSE(WindowFixture::accept(d));
        EXPECT_EQ(f.messages.size(), 1u);
        child<QLineEdit>(d, "Edit1").setText(" "); // nothing to show, yet a box
        EXPECT_FALSE(WindowFixture::accept(d));
        EXPECT_EQ(f.messages.back().text, "Enter the text of the label.");
        return labelScript("Ж", true, 7)(d);
    }};
    f.tool("SB_Text");
    for (Point p : {Point{1000, -1000}, Point{2000, -1000}, Point{3000, -1000}}) {
        f.moveTo(p);
        f.click(p);
    }
    f.rightClick({4000, -1000});
    ASSERT_EQ(f.list().size(), 3u);
    EXPECT_EQ(f.list()[2].TextValue, "Ж9");

    // Its properties: a new text and a quarter turn, asked for once the
    // double click's button is up; the click after the dialog is taken as
    // it comes, and moves nothing.
    f.dialogs = {[&f](QDialog& d) {
        EXPECT_FALSE(f.window().pointerMachine().state().Pressed) << "no move runs under the dialog";
        EXPECT_EQ(child<QLineEdit>(d, "Edit1").text(), "Ж7");
        EXPECT_EQ(captionOf(d, "Label1"), "Start at:") << "the window's own texts leave the dialog alone";
        // A placed label has no numbering, left checked by the tool: its text may not go.
        EXPECT_FALSE(child<QGroupBox>(d, "GroupBox4").isEnabled());
        child<QLineEdit>(d, "Edit1").setText("");
        EXPECT_FALSE(WindowFixture::accept(d));
        EXPECT_EQ(f.messages.back().text, "Enter the text of the label.");
        child<QLineEdit>(d, "Edit1").setText("X");
        child<QAbstractButton>(d, "RB_90").click();
        return WindowFixture::accept(d);
    }};
    LayoutObject& first = f.list()[0];
    first.Width = -300; // 2.25 mm, which the dialog shows as 2.3 mm
    const Point inside{(first.X1 + first.X2) / 2, (first.Y1 + first.Y2) / 2};
    QTest::mouseDClick(f.paintBox(), Qt::LeftButton, Qt::NoModifier, f.pixelOf(inside));
    QTest::mouseRelease(f.paintBox(), Qt::LeftButton, Qt::NoModifier, f.pixelOf(inside));
    QCoreApplication::processEvents();
    EXPECT_EQ(first.TextValue, "X");
    EXPECT_EQ(first.Angle, 90);
    EXPECT_EQ(first.Width, -300) << "the height left as shown is kept";
    const Point placed = first.start();
    ASSERT_TRUE(first.Selected);
    f.click({6000, -3000});
    EXPECT_EQ(first.start(), placed);
    EXPECT_FALSE(first.Selected) << "the click on the empty board deselected the label";

    f.dialogs = {labelScript("Q", false, 0)};
    f.tool("SB_Text");
    f.moveTo({1500, -2500});
    ASSERT_EQ(f.list().size(), 4u);
    f.answers = {Answer::Yes};
    f.saveNames = {q(dir.file("closed.kbd"))};
    EXPECT_TRUE(f.window().close());
    EXPECT_TRUE(f.exhausted());
    EXPECT_EQ(objectsInFile(dir.file("closed.kbd")), 3u) << "the placed labels alone";
}

// Cancel drops what was typed, and a placed label's values, shown for its
// properties and cancelled, do not stay for the next new label.
TEST(LabelTool, ACancelledDialogKeepsWhatItOfferedBefore)
{
    WindowFixture f;
    std::vector<std::pair<QString, bool>> offered; // the text, and whether 0 degrees was checked
    const auto look = [&offered](QDialog& d) {
        offered.emplace_back(child<QLineEdit>(d, "Edit1").text(), child<QAbstractButton>(d, "RB_0").isChecked());
        return WindowFixture::cancel(d);
    };
    const auto typeAndCancel = [](const char* text) {
        return [text](QDialog& d) {
            child<QLineEdit>(d, "Edit1").setText(text);
            child<QAbstractButton>(d, "RB_270").click();
            return WindowFixture::cancel(d);
        };
    };
    f.dialogs = {labelScript("Q", false, 0), typeAndCancel("CANCELLED")};
    f.tool("SB_Text");
    f.moveTo({1500, -2500});
    f.click({1500, -2500});
    // The next label is asked for once the button is up.
    ASSERT_TRUE(QTest::qWaitFor([&f] { return f.exhausted(); }, 5000));
    ASSERT_EQ(f.list().size(), 1u);
    f.dialogs = {look};
    f.tool("SB_Text");

    LayoutObject& placed = f.list()[0];
    placed.Angle = 90;
    f.dialogs = {typeAndCancel("Z")};
    const Point inside{(placed.X1 + placed.X2) / 2, (placed.Y1 + placed.Y2) / 2};
    QTest::mouseDClick(f.paintBox(), Qt::LeftButton, Qt::NoModifier, f.pixelOf(inside));
    QTest::mouseRelease(f.paintBox(), Qt::LeftButton, Qt::NoModifier, f.pixelOf(inside));
    QCoreApplication::processEvents();
    EXPECT_EQ(std::tuple(placed.TextValue.view(), placed.Angle), std::tuple(std::string_view("Q"), 90));
    f.dialogs = {look};
    f.tool("SB_Text");
    EXPECT_TRUE(f.exhausted());
    EXPECT_EQ(offered, (std::vector<std::pair<QString, bool>>{{"Q", true}, {"Q", true}}));
}

// Another layer chosen while a label follows the pointer: the label goes
// to it, as a pad or a track label would.
TEST(LabelTool, TheFollowingLabelTakesALayerChosenMeanwhile)
{
    WindowFixture f;
    f.dialogs = {labelScript("Q", false, 0), [](QDialog& d) { return WindowFixture::cancel(d); }};
    f.tool("SB_Text");
    f.moveTo({1500, -2500});
    f.key(Qt::Key_F3);
    ASSERT_EQ(f.doc().Working.ActiveLayer, Layer::K2);
    ASSERT_NE(f.window().pointerMachine().placingLabel(), nullptr);
    EXPECT_EQ(f.window().pointerMachine().placingLabel()->Layer, Layer::K2) << "shown on it at once";
    f.trigger("B2"); // from the menu too
    ASSERT_NE(f.window().pointerMachine().placingLabel(), nullptr) << "still following";
    EXPECT_EQ(f.window().pointerMachine().placingLabel()->Layer, Layer::B2);
    f.moveTo({2500, -2500});
    f.click({2500, -2500});
    ASSERT_TRUE(QTest::qWaitFor([&f] { return f.exhausted(); }, 5000)) << "the next label asked for";
    ASSERT_EQ(f.list().size(), 1u);
    EXPECT_EQ(f.list()[0].Layer, Layer::B2);
}

// The press that places a label asks for the next one; shown while the
// button was still down, the dialog took the release as a click on the
// button under the pointer. Held longer than any delay a timer could stand
// in for the release with, it is asked for only once the button comes up,
// and then promptly.
TEST(LabelTool, TheNextLabelIsAskedForOnceTheButtonIsUp)
{
    WindowFixture f;
    bool asked = false;
    f.dialogs = {labelScript("Q", false, 0), [&asked](QDialog& d) {
                     asked = true;
                     return WindowFixture::cancel(d);
                 }};
    f.tool("SB_Text");
    f.moveTo({1500, -2500});
    QTest::mousePress(f.paintBox(), Qt::LeftButton, Qt::NoModifier, f.pixelOf({1500, -2500}));
    QTest::qWait(600);
    EXPECT_EQ(f.list().size(), 1u) << "placed on the press";
    EXPECT_FALSE(asked) << "not while the button is down";
    QTest::mouseRelease(f.paintBox(), Qt::LeftButton, Qt::NoModifier, f.pixelOf({1500, -2500}));
    QElapsedTimer released;
    released.start();
    ASSERT_TRUE(QTest::qWaitFor([&asked] { return asked; }, 5000));
    // Generous for a loaded or instrumented build; the release is polled every 10 ms.
    EXPECT_LT(released.elapsed(), 1000) << "asked for as the button comes up";
}

// A label whose box is larger than the board would lie partly off it
// wherever it went: the dialog stays open and gives both sizes.
TEST(LabelTool, ALabelLargerThanTheBoardIsRefused)
{
    WindowFixture f;
    bool accepted[2] = {true, false};
    f.dialogs = {[&](QDialog& d) {
        child<QLineEdit>(d, "Edit1").setText("WWWWWWWWWWWWWWW");
        auto& height = child<QDoubleSpinBox>(d, "SE_Hoehe");
        height.setValue(30);
        accepted[0] = WindowFixture::accept(d);
        height.setValue(3);
        accepted[1] = WindowFixture::accept(d);
        return accepted[1];
    }};
    f.tool("SB_Text");
    EXPECT_FALSE(accepted[0]);
    EXPECT_TRUE(accepted[1]);
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_TRUE(f.messages[0].text.contains("is larger than the board (160.0 x 100.0 mm)"))
        << f.messages[0].text.toStdString();
}

// A numbered label whose next number would be larger than the board is not
// placed: the dialog comes back to go on from that number.
TEST(LabelTool, ANumberedLabelThatOutgrowsTheBoardAsksAgain)
{
    WindowFixture f;
    const LabelMeasure& measure = f.window().pointerMachine().labelMeasure();
    const int32_t font = LabelFontHeight(f.window().toolParameters().TextHeight);
    f.doc().Working.BoardWidth = (measure("WW9", font, 0).x + measure("WW10", font, 0).x) / 2;
    int shownStart = -1;
    bool numbered = false;
    f.dialogs = {labelScript("WW", true, 9), [&](QDialog& d) {
                     shownStart = child<QSpinBox>(d, "SE_Start").value();
                     numbered = child<QCheckBox>(d, "CB_WillsteZahl").isChecked();
                     return WindowFixture::cancel(d);
                 }};
    f.tool("SB_Text");
    f.moveTo({1000, -2500});
    f.click({1000, -2500});
    for (int ms = 0; ms < 1000 && shownStart < 0; ms += 10)
        QTest::qWait(10);
    EXPECT_EQ(shownStart, 10);
    EXPECT_TRUE(numbered);
    ASSERT_EQ(f.list().size(), 1u) << "no label follows the pointer";
    EXPECT_EQ(f.list()[0].TextValue, "WW9");
}

// Adding, choosing and removing reach the menus; the lists come back next
// time. The lists' own rules: ParameterLists in the edit tests.
TEST(ParameterLists, AddChooseRemoveAndReload)
{
    SettingsHome home;
    {
        WindowFixture f;
        opened(f, "LinienPopup");
        EXPECT_FALSE(f.action("L_Entfernen").isEnabled()) << "an empty list";
        f.trigger("L_Hinzufuegen"); // 0.8 mm, the start value
        f.control<QDoubleSpinBox>("SE_Breite").setValue(0.5);
        opened(f, "LinienPopup");
        f.trigger("L_Hinzufuegen");
        const QList<QAction*> entries = opened(f, "LinienPopup").actions();
        EXPECT_EQ(entries.at(0)->text(), "0.5 mm");
        EXPECT_TRUE(entries.at(0)->isChecked()) << "the current width";
        EXPECT_FALSE(f.action("L_Hinzufuegen").isEnabled()) << "it is listed";
        entries.at(1)->trigger(); // choose 0.8
        EXPECT_EQ(f.window().toolParameters().CurrentTrackWidth, 80);
        EXPECT_DOUBLE_EQ(f.control<QDoubleSpinBox>("SE_Breite").value(), 0.8);
        opened(f, "LinienPopup");
        f.trigger("L_Entfernen");
        opened(f, "LinienPopup");
        EXPECT_TRUE(f.action("L_Hinzufuegen").isEnabled()) << "0.8 is gone";

        f.dialogs = {[](QDialog& d) {
            child<QDoubleSpinBox>(d, "SE_Raster").setValue(1.5);
            return WindowFixture::accept(d);
        }};
        opened(f, "RasterPopup");
        f.trigger("R_Hinzufuegen");
        EXPECT_DOUBLE_EQ(f.window().boardView().grid(), 150);
        EXPECT_TRUE(f.window().close());
    }
    WindowFixture again;
    EXPECT_EQ(opened(again, "LinienPopup").actions().at(0)->text(), "0.5 mm") << "the list came back";
    again.window().boardView().setGrid(150);
    opened(again, "RasterPopup");
    EXPECT_TRUE(again.action("R_Entfernen").isEnabled()) << "the reloaded grid is current";
    again.trigger("R_Entfernen");
    opened(again, "RasterPopup");
    EXPECT_FALSE(again.action("R_Entfernen").isEnabled());

    // A predefined grid of thousandths is not the user's grid it rounds to.
    again.dialogs = {[](QDialog& d) {
        child<QDoubleSpinBox>(d, "SE_Raster").setValue(0.64);
        return WindowFixture::accept(d);
    }};
    again.trigger("R_Hinzufuegen");
    again.window().boardView().setGrid(63.5);
    opened(again, "RasterPopup");
    EXPECT_FALSE(again.action("R_Entfernen").isEnabled()) << "0.635 mm is not 0.64 mm";
    again.window().boardView().setGrid(64);
    opened(again, "RasterPopup");
    EXPECT_TRUE(again.action("R_Entfernen").isEnabled()) << "0.64 mm is still listed";
}

} // namespace
} // namespace kestrel::test
