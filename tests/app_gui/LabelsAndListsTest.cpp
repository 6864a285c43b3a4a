#include "WindowFixture.h"
#include "edit/PointerMachine.h"

#include "support/DialogControls.h"
#include "view/gui/BoardView.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>

namespace kestrel::test {
namespace {

struct Labels : WindowFixture {
    // A fixed item of a list menu, chosen from the opened menu.
    void choose(const char* menuName, const char* item)
    {
        opened(menuName);
        trigger(item);
    }
    // The texts of a menu's entries and fixed items, as the user sees them
    // when it opens (separators as "-" when shown).
    std::vector<std::string> opened(const char* menuName)
    {
        QMenu& menu = control<QMenu>(menuName);
        Q_EMIT menu.aboutToShow();
        std::vector<std::string> out;
        for (QAction* a : menu.actions()) {
            if (!a->isVisible())
                continue;
            if (a->isSeparator()) {
                out.emplace_back("-");
                continue;
            }
            std::string row = a->text().toStdString();
            if (a->isChecked())
                row.insert(0, 1, '*');
            if (!a->isEnabled())
                row += " (off)";
            out.push_back(std::move(row));
        }
        return out;
    }
};

ScriptedPrompts::DialogScript labelScript(const char* text, bool numbering, int start, const char* angleButton = "RB_0")
{
    return [=](QDialog& d) {
        child<QLineEdit>(d, "Edit1").setText(text);
        child<QCheckBox>(d, "CB_WillsteZahl").setChecked(numbering);
        child<QSpinBox>(d, "SE_Start").setValue(start);
        child<QAbstractButton>(d, angleButton).click();
        return WindowFixture::accept(d);
    };
}

// Cancel in the first dialog leaves the edit tool. Numbering from 7: three
// clicks leave 7, 8 and 9, the right button takes the following label away,
// and a double click opens a label's properties. Closing while a label follows
// takes it away first, so the save the window asks for leaves it out.
TEST(LabelTool, PlacesNumberedLabelsEditsThemAndSavesNoFollowingOne)
{
    SettingsHome home;
    TempDir dir;
    WindowFixture f;
    f.dialogs = {ScriptedPrompts::cancel};
    f.tool("SB_Text");
    EXPECT_TRUE(f.control<QAbstractButton>("SB_Standard").isChecked());

    f.dialogs = {labelScript("C", true, 7)};
    f.tool("SB_Text");
    for (Point p : {Point{1000, -1000}, Point{2000, -1000}, Point{3000, -1000}}) {
        f.moveTo(p);
        f.click(p);
    }
    f.rightClick({4000, -1000});
    ASSERT_EQ(f.list().size(), 3u);
    EXPECT_EQ(f.list()[2].TextValue, "C9");

    // Its properties: a new text and a quarter turn, asked for once the
    // double click's button is up; the click after the dialog moves nothing.
    f.dialogs = {[&f](QDialog& d) {
        EXPECT_FALSE(f.window().pointerMachine().state().Pressed) << "no move runs under the dialog";
        EXPECT_EQ(child<QLineEdit>(d, "Edit1").text(), "C7");
        EXPECT_EQ(captionOf(d, "Label1"), "Start at:") << "the window's own texts leave the dialog alone";
        child<QLineEdit>(d, "Edit1").setText("X");
        child<QAbstractButton>(d, "RB_90").click();
        return WindowFixture::accept(d);
    }};
    const LayoutObject& c7 = f.list()[0];
    const Point inside{(c7.X1 + c7.X2) / 2, (c7.Y1 + c7.Y2) / 2};
    QTest::mouseDClick(f.paintBox(), Qt::LeftButton, Qt::NoModifier, f.pixelOf(inside));
    QTest::mouseRelease(f.paintBox(), Qt::LeftButton, Qt::NoModifier, f.pixelOf(inside));
    QCoreApplication::processEvents();
    EXPECT_EQ(c7.TextValue, "X");
    EXPECT_EQ(c7.Angle, 90);
    const Point placed = c7.start();
    f.click({6000, -3000});
    EXPECT_EQ(c7.start(), placed);

    f.dialogs = {labelScript("Q", false, 0)};
    f.tool("SB_Text");
    f.moveTo({1500, -2500});
    ASSERT_EQ(f.list().size(), 4u);
    f.answers = {Answer::Yes};
    f.saveNames = {q(dir.file("closed.kbd"))};
    EXPECT_TRUE(f.window().close());
    EXPECT_TRUE(f.exhausted());
    auto saved = readDocument(dir.file("closed.kbd"), Language::English);
    ASSERT_TRUE(succeeded(saved));
    EXPECT_EQ(saved->document.board(0).Objects.size(), 3u) << "the placed labels alone";
}

// The file keeps label texts in an 8-bit code page: a character beyond it is
// refused in the dialog rather than saved as '?'.
TEST(LabelTool, RefusesCharactersTheFileCannotKeep)
{
    WindowFixture f;
    f.dialogs = {[&f](QDialog& d) {
        child<QLineEdit>(d, "Edit1").setText(QString::fromUtf8("R\u4e2d1"));
        EXPECT_FALSE(WindowFixture::accept(d));
        EXPECT_EQ(f.messages.size(), 1u);
        child<QLineEdit>(d, "Edit1").setText(QString::fromUtf8("Ж1"));
        return WindowFixture::accept(d);
    }, ScriptedPrompts::cancel}; // the next label's text
    f.tool("SB_Text");
    f.moveTo({1000, -1000});
    f.click({1000, -1000});
    ASSERT_EQ(f.list().size(), 1u);
    EXPECT_EQ(f.list()[0].TextValue, "Ж1");
}

// Adding, choosing and removing reach the menus; the lists come back next time.
TEST(ParameterLists, AddChooseRemoveAndReload)
{
    SettingsHome home;
    {
        Labels f;
        EXPECT_EQ(f.opened("LinienPopup"), (std::vector<std::string>{"Add", "Remove (off)"})) << "empty: no separator";
        f.choose("LinienPopup", "L_Hinzufuegen"); // 0.8 mm, the start value
        f.control<QDoubleSpinBox>("SE_Breite").setValue(0.5);
        f.choose("LinienPopup", "L_Hinzufuegen");
        EXPECT_EQ(f.opened("LinienPopup"),
                  (std::vector<std::string>{"*0.5 mm", "0.8 mm", "-", "Add (off)", "Remove"}));
        f.control<QMenu>("LinienPopup").actions().at(1)->trigger(); // choose 0.8
        EXPECT_EQ(f.window().toolParameters().CurrentTrackWidth, 80);
        EXPECT_DOUBLE_EQ(f.control<QDoubleSpinBox>("SE_Breite").value(), 0.8);
        f.choose("LinienPopup", "L_Entfernen");
        EXPECT_EQ(f.opened("LinienPopup").size(), 4u);

        f.dialogs = {[](QDialog& d) {
            child<QDoubleSpinBox>(d, "SE_Raster").setValue(1.5);
            return WindowFixture::accept(d);
        }};
        f.choose("RasterPopup", "R_Hinzufuegen");
        EXPECT_DOUBLE_EQ(f.window().boardView().grid(), 150);
        EXPECT_TRUE(f.window().close());
    }
    Labels again;
    EXPECT_EQ(again.opened("LinienPopup").size(), 4u) << "0.5 came back";
    again.window().boardView().setGrid(150);
    again.opened("RasterPopup");
    EXPECT_TRUE(again.action("R_Entfernen").isEnabled()) << "the reloaded grid is current";
    again.choose("RasterPopup", "R_Entfernen");
    again.opened("RasterPopup");
    EXPECT_FALSE(again.action("R_Entfernen").isEnabled());
}

} // namespace
} // namespace kestrel::test
