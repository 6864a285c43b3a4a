#include "WindowFixture.h"

#include "edit/PointerMachine.h"
#include "edit/gui/ArcDialog.h"
#include "edit/gui/PolygonDialog.h"
#include "edit/gui/TrackLabelDialog.h"
#include "support/DialogControls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <tuple>

namespace kestrel::test {
namespace {

constexpr int32_t g = 254;

Point at(int gx, int gy)
{
    return {gx * g, -gy * g};
}

TEST(GeneratorDialogs, CaptionsDefaultsAndLimitsInBothLanguages)
{
    // dialog (0 track label, 1 polygon, 2 arc), control, Russian, English
    const std::tuple<int, const char*, const char*, const char*> rows[] = {
        {0, "", "Текст/Слой ( только ЛАТИНСКИЕ буквы )", "Label made of tracks"},
        {0, "GroupBox5", "Высота [мм]", "Height (mm)"},
        {0, "RB_Fest", "широкий", "&fixed"},
        {0, "RB_Dick", "больше", "&bold"},
        {0, "GroupBox6", "Автонумерация", "Automatic"},
        {0, "Label1", "Начать с № :", "Start at:"},
        {0, "Button2", "О&тмена", "&Cancel"},
        {1, "", "Многоугольник", "Create polygon"},
        {1, "Label2", "Радиус [мм]:", "Radius (mm):"},
        {1, "CB_Gefuellt", "&Заливка", "&Fill"},
        {2, "", "Сектор круга", "Segment"},
        {2, "L_Fuellung", "Нет экспорта Gerber для заполненных секторов", "No Gerber-export for filled segments"},
    };
    for (Language lang : {Language::Russian, Language::English}) {
        TrackLabelDialog label(lang);
        PolygonDialog polygon(lang);
        ArcDialog arc(lang);
        QWidget* dialogs[] = {&label, &polygon, &arc};
        for (const auto& [dialog, name, russian, english] : rows)
            EXPECT_EQ(captionOf(*dialogs[dialog], name),
                      QString::fromUtf8(lang == Language::Russian ? russian : english))
                << name;
        EXPECT_EQ(child<QLineEdit>(label, "E_Text").maxLength(), 50);
        auto& height = child<QDoubleSpinBox>(label, "SE_Hoehe");
        EXPECT_EQ(std::tuple(height.minimum(), height.maximum(), height.value()), std::tuple(0.1, 50.0, 5.0));
        auto& corners = child<QSpinBox>(polygon, "SE_Ecken");
        EXPECT_EQ(std::tuple(corners.minimum(), corners.maximum(), corners.value()), std::tuple(3, 99, 6));
        auto& offset = child<QDoubleSpinBox>(polygon, "SE_WinkelOffset");
        EXPECT_EQ(std::tuple(offset.minimum(), offset.maximum()), std::tuple(-180.0, 180.0));
        EXPECT_EQ(child<QSpinBox>(arc, "SE_StopWinkel").maximum(), 359);
        EXPECT_FALSE(child<QLabel>(arc, "L_Fuellung").isEnabled());
        child<QCheckBox>(arc, "CB_Fuellung").setChecked(true);
        EXPECT_TRUE(child<QLabel>(arc, "L_Fuellung").isEnabled()) << "the warning follows the box";
    }
    TrackLabelDialog shown(Language::English);
    shown.show();
    (void)QTest::qWaitForWindowActive(&shown);
    EXPECT_EQ(shown.focusWidget(), &child<QLineEdit>(shown, "E_Text"));
}

// K opens the dialog; the label follows the pointer on the overlay, off the
// board, until a click places it and asks for the next one.
TEST(GeneratorTools, TrackLabelTool)
{
    WindowFixture f;
    ObjectList& list = *f.doc().currentObjects();
    f.dialogs.push_back([](QDialog& d) {
        EXPECT_EQ(captionOf(d, "Label1"), "Start at:") << "the window's own captions stay out";
        child<QLineEdit>(d, "E_Text").setText("L");
        child<QAbstractButton>(d, "RB_90").click();
        return WindowFixture::accept(d);
    });
    f.key(Qt::Key_K);
    EXPECT_TRUE(f.control<QAbstractButton>("SB_LineText").isChecked());
    const QImage before = f.paintBox()->grab().toImage();
    const Point p = at(10, 10);
    QTest::mouseMove(f.paintBox(), f.pixelOf(p));
    EXPECT_TRUE(f.window().pointerMachine().previews()[PreviewKind::TrackLabel].drawn);
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
    EXPECT_EQ(f.messages[0].caption, "Layout-text");
    EXPECT_TRUE(f.control<QAbstractButton>("SB_Standard").isChecked());
}

TEST(GeneratorTools, PolygonToolAndArcSegment)
{
    WindowFixture f;
    ObjectList& list = *f.doc().currentObjects();
    f.dialogs.push_back(WindowFixture::cancel);
    f.key(Qt::Key_G);
    EXPECT_TRUE(f.control<QAbstractButton>("SB_Standard").isChecked()) << "Cancel keeps the edit tool";
    f.dialogs.push_back([](QDialog& d) {
        EXPECT_EQ(captionOf(d, "Label2"), "Radius (mm):");
        child<QSpinBox>(d, "SE_Ecken").setValue(4);
        child<QDoubleSpinBox>(d, "SE_WinkelOffset").setValue(45);
        return WindowFixture::accept(d);
    });
    f.key(Qt::Key_G);
    EXPECT_TRUE(f.control<QAbstractButton>("SB_Vieleck").isChecked());
    const Point p = at(40, 20);
    QTest::mouseMove(f.paintBox(), f.pixelOf(p));
    EXPECT_TRUE(f.window().pointerMachine().previews()[PreviewKind::Polygon].drawn);
    f.click(p);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Points.front(), (Point{p.x + 707, p.y + 707}));
    EXPECT_EQ(list[0].Points.size(), 5u);
    QTest::mouseClick(f.paintBox(), Qt::RightButton, Qt::NoModifier, f.pixelOf(p));
    EXPECT_TRUE(f.control<QAbstractButton>("SB_Standard").isChecked());

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
    EXPECT_EQ(list[1].arcStopDegrees(), 180);
    EXPECT_EQ(list[2].arcStopDegrees(), 180);
    EXPECT_EQ(list[1].arcStartDegrees(), 30);
}

} // namespace
} // namespace kestrel::test
