#include "WindowFixture.h"

#include "edit/PointerMachine.h"
#include "support/DialogControls.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>

namespace kestrel::test {
namespace {

// K opens the dialog; the label follows the pointer on the overlay, off the
// board, until a click places it and asks for the next one.
TEST(GeneratorTools, TrackLabelTool)
{
    WindowFixture f;
    ObjectList& list = f.list();
    f.dialogs.push_back([](QDialog& d) {
        child<QLineEdit>(d, "E_Text").setText("L");
        child<QAbstractButton>(d, "RB_90").click();
        return WindowFixture::accept(d);
    });
    f.key(Qt::Key_K);
    const QImage before = f.paintBox()->grab().toImage();
    const Point p = at(10, 10);
    f.moveTo(p);
    const QPoint onStroke = f.pixelOf({p.x + 200, p.y}); // the upright of the L, turned clockwise
    EXPECT_NE(f.paintBox()->grab().toImage().pixel(onStroke), before.pixel(onStroke)) << "drawn on the overlay";
    EXPECT_TRUE(list.empty()) << "the following label is no object of the board";

    f.dialogs.push_back(WindowFixture::cancel);
    f.click(p);
    QCoreApplication::processEvents();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Points, (std::vector<Point>{{p.x + 440, p.y}, p, {p.x, p.y - 220}}));
    EXPECT_TRUE(f.control<QAbstractButton>("SB_Standard").isChecked()) << "Cancel in the dialog asked again";
    EXPECT_FALSE(f.window().pointerMachine().previews().anyDrawn());

    f.dialogs.push_back([](QDialog& d) {
        child<QLineEdit>(d, "E_Text").setText("###");
        return WindowFixture::accept(d);
    });
    f.key(Qt::Key_K);
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].text, "The text could not be generated.");
    EXPECT_TRUE(f.control<QAbstractButton>("SB_Standard").isChecked());
}

TEST(GeneratorTools, PolygonToolAndArcSegment)
{
    WindowFixture f;
    ObjectList& list = f.list();
    f.dialogs.push_back([](QDialog& d) {
        child<QSpinBox>(d, "SE_Ecken").setValue(4);
        child<QDoubleSpinBox>(d, "SE_WinkelOffset").setValue(45);
        return WindowFixture::accept(d);
    });
    f.key(Qt::Key_G);
    const Point p = at(40, 20);
    f.moveTo(p);
    EXPECT_TRUE(f.window().pointerMachine().previews()[PreviewKind::Polygon].drawn);
    f.click(p);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Points.front(), (Point{p.x + 707, p.y + 707})) << "four corners from 45 degrees";
    f.rightClick(p);

    // The segment command on two circles: it shows the later one's values.
    list.append(makeCircle({1000, -1000}, 300, 1, Layer::K1, 200)).Selected = 1;
    LayoutObject& later = list.append(makeCircle({3000, -1000}, 300, 1, Layer::K1, 200));
    later.setArcStartDegrees(30);
    later.Selected = 1;
    f.window().updateCommandStates();
    int shownStart = -1;
    f.dialogs.push_back([&shownStart](QDialog& d) {
        shownStart = child<QSpinBox>(d, "SE_StartWinkel").value();
        child<QSpinBox>(d, "SE_StopWinkel").setValue(180);
        return WindowFixture::accept(d);
    });
    f.trigger("Kreisbogen2");
    EXPECT_EQ(shownStart, 30);
    EXPECT_EQ(list[1].arcStopDegrees(), 180) << "each selected circle: Generators.ArcSegmentOfTheSelectedCircles";
}

} // namespace
} // namespace kestrel::test
