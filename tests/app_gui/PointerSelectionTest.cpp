#include "WindowFixture.h"

#include "app/InterfaceLanguage.h"
#include "app/ToolIcons.h"
#include "app/ToolPanel.h"
#include "edit/PointerMachine.h"
#include "view/gui/BoardView.h"

#include <QDoubleSpinBox>
#include <QLocale>
#include <QMenu>
#include <QListWidget>

namespace kestrel::test {
namespace {

// Gives an edit the focus and takes it away again, as tabbing through does.
void enterAndLeave(WindowFixture& f, const char* name)
{
    f.control<QWidget>(name).setFocus();
    f.window().boardView().scrollBox()->setFocus();
}

// The panel shows a selection's values in tenths of a millimetre; showing
// them, and passing through the edits without typing, must not write the
// rounded value back, while new objects get the value in full. A typed value
// applies once it is finished: the "1" on the way to "10" must not shrink the
// selected pad's 3.2 mm hole. Under a comma locale a typed "0.5" must not
// become 5 mm: the fields read the decimal point, as everything else in the
// interface writes it.
TEST(ToolPanel, ShowingTheSelectionsValuesLeavesThemAloneAndTypedOnesApplyWhenFinished)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    useDecimalPoint();
    {
        WindowFixture f;
        f.trigger("M_AutoMasse"); // shows the clearance edit
        addTrack(f.list(), {{500, -500}, {1500, -500}}, 41);
        addPad(f.list(), {1000, -2000}, 90).Clearance = 45;
        f.doc().Modified = false;
        const Point onTrack{1000, -500}, onPad{1000, -2000};
        for (Point p : {onTrack, onPad}) {
            f.click(p);
            for (const char* edit : {"SE_Breite", "SE_Aussen", "SE_Innen", "SE_FreistanzOffset"})
                enterAndLeave(f, edit);
        }
        f.click(onTrack); // shown again
        EXPECT_EQ(f.window().toolParameters().CurrentTrackWidth, 41);
        f.click(onPad);
        EXPECT_EQ(f.window().toolParameters().CurrentClearance, 45);
        EXPECT_EQ(f.list()[0].widthUnits(), 41);
        EXPECT_EQ(f.list()[1].Clearance, 45);
        EXPECT_FALSE(f.doc().Modified);

        addPad(f.list(), {5000, -2000}, 160, 1, 1, 160);
        addTrack(f.list(), {{5000, -4000}, {7000, -4000}}, 25);
        f.click({5000, -2000});
        QDoubleSpinBox& outer = f.typeInto("SE_Aussen", "10");
        EXPECT_EQ(f.list()[2].X2, 160) << "nothing applied while typing";
        QTest::keyClick(&outer, Qt::Key_Return);
        EXPECT_EQ(f.list()[2].X2, 500);
        EXPECT_EQ(f.list()[2].Y2, 160) << "the hole keeps its size";

        f.click({6000, -4000});
        QDoubleSpinBox& width = f.typeInto("SE_Breite", "0.5");
        QTest::keyClick(&width, Qt::Key_Return);
        EXPECT_EQ(f.list()[3].Width, 50);
        EXPECT_EQ(width.text(), "0.5");
        // The decimal comma of a Russian keyboard is the point, not a
        // thousands separator dropped on the way to 6 mm.
        f.typeInto("SE_Breite", "0,6");
        QTest::keyClick(&width, Qt::Key_Return);
        EXPECT_EQ(f.list()[3].Width, 60);
    }
    QLocale::setDefault(before);
}

// A hole never exceeds its pad, for the next pad too, even when the other
// edit already shows the rounded value the new one makes it.
TEST(ToolPanel, TheNextPadsHoleNeverExceedsItsPad)
{
    WindowFixture f;
    addPad(f.list(), {1000, -1000}, 150, 1, 1, 92); // 3.0 mm with a 1.84 mm hole, shown as 1.8
    f.click({1000, -1000});
    QTest::keyClick(&f.typeInto("SE_Aussen", "1.8"), Qt::Key_Return);
    const ToolParameters& tools = f.window().toolParameters();
    EXPECT_EQ(std::pair(tools.CurrentPadOuter, tools.CurrentPadInner), std::pair(90, 90));
    EXPECT_EQ(std::pair(f.list()[0].X2, f.list()[0].Y2), std::pair(90, 90)) << "the selected pad as well";
    EXPECT_DOUBLE_EQ(f.control<QDoubleSpinBox>("SE_Innen").value(), 1.8);

    // A width typed but not entered is the one the width list shows and adds.
    f.click({6000, -4000});
    f.typeInto("SE_Breite", "1.2");
    Q_EMIT f.control<QMenu>("LinienPopup").aboutToShow();
    EXPECT_EQ(tools.CurrentTrackWidth, 120);
    EXPECT_TRUE(f.action("L_Hinzufuegen").isEnabled());
}

// A click on a pad takes over its shape and via mode for the Pad tool, and
// the Pad button shows them.
TEST(ToolPanel, TheShapeTakenFromASelectedPadShowsOnThePadButton)
{
    WindowFixture f;
    auto [a, b] = addVia(f.list(), {1000, -1000}, 90, 30);
    a->Shape = b->Shape = 6;
    f.click({1000, -1000});
    EXPECT_EQ(f.window().toolParameters().CurrentPadShape, 6);
    const QImage shown = f.window().findChild<ToolPanel*>()->toolButton(2)->icon().pixmap(24).toImage();
    EXPECT_EQ(shown, padShapeIcon(6, true).pixmap(24).toImage());

    // F12 with nothing selected switches the mode and the glyph alike.
    f.click({5000, -5000});
    f.key(Qt::Key_F12);
    EXPECT_FALSE(f.window().toolParameters().ViaMode);
    const QImage plain = f.window().findChild<ToolPanel*>()->toolButton(2)->icon().pixmap(24).toImage();
    EXPECT_EQ(plain, padShapeIcon(6, false).pixmap(24).toImage());
}

// Picking a design-check line selects as a click would: a via with its
// partner, an object of the other side with that side made active; a
// hidden layer is shown, and the place is zoomed to, however thin.
TEST(DesignCheckPick, SelectsAsAClickAndShowsHiddenLayers)
{
    SettingsHome home;
    WindowFixture f;
    addVia(f.list(), {1000, -1000}, 50, 45);                        // rings of 0.05 mm
    addTrack(f.list(), {{3000, -3000}, {5000, -3000}}, 10, Layer::K2); // 0.10 mm wide
    f.doc().Working.LayerVisible[Layer::K2 - 1] = 0;
    f.doc().Origin = {1000, -500}; // the rulers' zero point, which the lines count from
    QString firstLine;
    const auto pick = [&f, &firstLine](int row) {
        f.dialogs = {[row, &firstLine](QDialog& d) {
            auto& list = child<QListWidget>(d, "ViolationList");
            firstLine = list.item(0)->text();
            list.setCurrentRow(row);
            return false;
        }};
        f.trigger("DesignCheck1");
    };
    pick(0); // the width of the track on the hidden other side
    EXPECT_TRUE(firstLine.endsWith("at (30.00, 25.00) mm")) << firstLine.toStdString();
    EXPECT_TRUE(f.doc().Working.LayerVisible[Layer::K2 - 1]);
    BoardView& view = f.window().boardView();
    const Point shown = view.screenToBoard(view.visibleArea().center(), false);
    EXPECT_LT(std::abs(shown.x - 4000) + std::abs(shown.y + 3000), 100) << "zoomed to a place 0.10 mm high";
    EXPECT_EQ(f.selected(), (std::vector<size_t>{2})) << "picked with its side made active";
    EXPECT_EQ(static_cast<int>(f.doc().Working.ActiveLayer), Layer::K2);
    f.control<QWidget>("LB_Makro").setFocus(); // the macro list, whose Del deletes a file
    f.trigger("E_Zoll");
    pick(1); // the ring of the via's pad on side 1
    EXPECT_TRUE(firstLine.endsWith("at (1.181, 0.984) \"")) << "in the rulers' inches: " << firstLine.toStdString();
    EXPECT_EQ(f.selected(), (std::vector<size_t>{0, 1}));
    EXPECT_EQ(f.window().focusWidget(), f.window().boardView().scrollBox()) << "the keys act on the board";
    EXPECT_EQ(static_cast<int>(f.doc().Working.ActiveLayer), Layer::K1);
}

} // namespace
} // namespace kestrel::test
