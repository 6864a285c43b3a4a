#include "WindowFixture.h"

#include "app/InterfaceLanguage.h"

#include "edit/PointerMachine.h"
#include "support/DialogControls.h"
#include "view/gui/BoardView.h"

#include <QDoubleSpinBox>
#include <QLocale>
#include <QListWidget>

namespace kestrel::test {
namespace {

// Two pads and a track on an otherwise empty board, the history started
// over with them.
constexpr Point kPadA{1000, -1000};
constexpr Point kPadB{3000, -1000};
constexpr Point kTrackMiddle{2000, -3000};

void addThree(WindowFixture& f)
{
    addPad(f.list(), kPadA, 90);
    addPad(f.list(), kPadB, 90);
    addTrack(f.list(), {{1000, -3000}, {3000, -3000}}, 40);
    f.window().setUndoDepth(1);
}

// A click and a Shift+frame select; the zoom tool's frame does not.
TEST(PointerSelection, ClickAndShiftFrameSelectWithTheEditToolOnly)
{
    WindowFixture f;
    addThree(f);
    f.click(kTrackMiddle);
    f.frame({500, -500}, {1500, -1500}, Qt::ShiftModifier);
    EXPECT_EQ(f.selected(), (std::vector<size_t>{0, 2}));
    EXPECT_FALSE(f.window().pointerMachine().previews()[PreviewKind::Frame].drawn);
    EXPECT_TRUE(f.action("Kopieren1").isEnabled());
    EXPECT_FALSE(f.doc().Modified) << "selecting changes nothing to save";

    f.tool("SB_Zoom");
    EXPECT_TRUE(f.selected().empty());
    f.frame({500, -500}, {3500, -1500});
    EXPECT_TRUE(f.selected().empty());
    f.tool("SB_Standard");
    f.click(kPadB);
    EXPECT_EQ(f.selected(), std::vector<size_t>{1});
}

QDoubleSpinBox& spin(WindowFixture& f, const char* name)
{
    return f.control<QDoubleSpinBox>(name);
}

// Gives an edit the focus and takes it away again, as tabbing through does.
void enterAndLeave(WindowFixture& f, const char* name)
{
    spin(f, name).setFocus();
    f.window().boardView().scrollBox()->setFocus();
}

// The panel shows a selection's values in tenths of a millimetre; showing
// them, and passing through the edits without typing, must not write the
// rounded value back, while new objects get the value in full.
TEST(ToolPanel, ShowingTheSelectionsValuesLeavesThemAlone)
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
}

// A typed diameter applies once it is finished: the "1" on the way to "10"
// must not shrink the selected pad's 3.2 mm hole.
TEST(ToolPanel, TypedDiameterAppliesWhenFinished)
{
    WindowFixture f;
    addPad(f.list(), {1000, -2000}, 160, 1, 1, 160);
    f.click({1000, -2000});
    QDoubleSpinBox& outer = spin(f, "SE_Aussen");
    outer.setFocus();
    outer.selectAll();
    QTest::keyClicks(&outer, "10");
    EXPECT_EQ(f.list()[0].X2, 160) << "nothing applied while typing";
    QTest::keyClick(&outer, Qt::Key_Return);
    EXPECT_EQ(f.list()[0].X2, 500);
    EXPECT_EQ(f.list()[0].Y2, 160) << "the hole keeps its size";
}

// Under a comma locale a typed "0.5" must not become 5 mm: the fields read
// the decimal point, as everything else in the interface writes it.
TEST(ToolPanel, FieldsReadTheDecimalPointUnderACommaLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    useDecimalPoint();
    {
        WindowFixture f;
        addTrack(f.list(), {{1000, -2000}, {3000, -2000}}, 25);
        f.click({2000, -2000});
        QDoubleSpinBox& width = spin(f, "SE_Breite");
        width.setFocus();
        width.selectAll();
        QTest::keyClicks(&width, "0.5");
        QTest::keyClick(&width, Qt::Key_Return);
        EXPECT_EQ(f.list()[0].Width, 50);
        EXPECT_EQ(width.text(), "0.5");
    }
    QLocale::setDefault(before);
}

} // namespace
} // namespace kestrel::test

namespace kestrel::test {
namespace {

// Picking a design-check line selects as a click would: a via with its
// partner, never an object a click could not pick; a hidden layer is shown.
TEST(DesignCheckPick, SelectsAsAClickAndShowsHiddenLayers)
{
    SettingsHome home;
    WindowFixture f;
    addVia(f.list(), {1000, -1000}, 50, 45);                        // rings of 0.05 mm
    addTrack(f.list(), {{3000, -3000}, {5000, -3000}}, 10, Layer::K2); // 0.10 mm wide
    f.doc().Working.LayerVisible[Layer::K2 - 1] = 0;
    const auto pick = [&f](int row) {
        f.dialogs = {[row](QDialog& d) {
            child<QListWidget>(d, "ViolationList").setCurrentRow(row);
            return false;
        }};
        f.trigger("DesignCheck1");
    };
    pick(0); // the width of the track on the hidden other side
    EXPECT_TRUE(f.doc().Working.LayerVisible[Layer::K2 - 1]);
    EXPECT_TRUE(f.selected().empty()) << "a click could not pick it from this side";
    pick(1); // the ring of the via's pad on this side
    EXPECT_EQ(f.selected(), (std::vector<size_t>{0, 1}));
}

} // namespace
} // namespace kestrel::test
