#include "WindowFixture.h"

#include "view/gui/BoardView.h"
#include "view/gui/StatusLine.h"

#include <QDoubleSpinBox>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace kestrel::test {
namespace {

std::array<uint8_t, 4> visible(WindowFixture& f)
{
    return f.doc().Working.LayerVisible;
}

void pressKey(WindowFixture& f, Qt::Key key)
{
    QWidget* box = f.window().boardView().scrollBox();
    box->setFocus();
    QTest::keyClick(box, key);
}

TEST(LayerKeys, F1ToF4ChooseTheActiveLayerAndShowIt)
{
    WindowFixture f;
    LayoutObject& selected = addTrack(*f.doc().currentObjects(), {{0, 0}, {100, 0}});
    selected.Selected = 1;
    pressKey(f, Qt::Key_F3);
    EXPECT_EQ(f.doc().Working.ActiveLayer, 3u);
    EXPECT_EQ(visible(f), (std::array<uint8_t, 4>{1, 1, 1, 0})) << "an active layer is always shown";
    EXPECT_EQ(selected.Selected, 0) << "a new active layer deselects everything";
    EXPECT_TRUE(f.control<QRadioButton>("RB_K2").isChecked());
    EXPECT_TRUE(f.control<QToolButton>("SB_K2").font().bold());
    pressKey(f, Qt::Key_F2);
    EXPECT_EQ(f.doc().Working.ActiveLayer, 2u);
    EXPECT_TRUE(f.control<QRadioButton>("RB_B1").isChecked());
}

TEST(LayerKeys, F5ToF8ToggleEveryLayerButTheActiveOne)
{
    WindowFixture f;
    struct Step {
        Qt::Key key;
        std::array<uint8_t, 4> after;
    };
    for (const Step& s : {Step{Qt::Key_F5, {1, 1, 0, 0}}, Step{Qt::Key_F7, {1, 1, 1, 0}},
                          Step{Qt::Key_F8, {1, 1, 1, 1}}, Step{Qt::Key_F6, {1, 0, 1, 1}},
                          Step{Qt::Key_F7, {1, 0, 0, 1}}}) {
        pressKey(f, s.key);
        EXPECT_EQ(visible(f), s.after) << QKeySequence(s.key).toString().toStdString();
    }
    EXPECT_EQ(f.doc().Working.ActiveLayer, 1u);
    EXPECT_FALSE(f.control<QToolButton>("SB_B1").font().bold());
    EXPECT_EQ(f.control<QToolButton>("SB_B1").palette().color(QPalette::ButtonText), QColor(128, 128, 128));
    EXPECT_EQ(f.control<QToolButton>("SB_B2").palette().color(QPalette::ButtonText), QColor(255, 0, 0));
}

TEST(LayerButtons, ButtonsAndMenuActLikeTheKeys)
{
    WindowFixture f;
    f.control<QToolButton>("SB_K1").click(); // the active layer: nothing
    EXPECT_EQ(visible(f), (std::array<uint8_t, 4>{1, 1, 0, 0}));
    f.control<QToolButton>("SB_B2").click();
    EXPECT_EQ(visible(f), (std::array<uint8_t, 4>{1, 1, 0, 1}));
    f.control<QRadioButton>("RB_B2").click();
    EXPECT_EQ(f.doc().Working.ActiveLayer, 4u);
    f.trigger("SK1");
    EXPECT_EQ(visible(f), (std::array<uint8_t, 4>{0, 1, 0, 1}));
    f.trigger("K2");
    EXPECT_EQ(f.doc().Working.ActiveLayer, 3u);
    EXPECT_EQ(visible(f), (std::array<uint8_t, 4>{0, 1, 1, 1}));
    f.window().findChild<QMenu*>("L1")->aboutToShow();
    EXPECT_TRUE(f.action("K2").isChecked());
    EXPECT_FALSE(f.action("B2").isChecked());
    EXPECT_FALSE(f.action("SK1").isChecked());
    EXPECT_TRUE(f.action("SB1").isChecked());
}

TEST(GroundPlane, ControlsActOnTheActiveSide)
{
    WindowFixture f;
    QToolButton& button = f.control<QToolButton>("SB_AutoMasse");
    QDoubleSpinBox& spin = f.control<QDoubleSpinBox>("SE_FreistanzOffset");
    EXPECT_FALSE(spin.isVisible());
    button.click();
    EXPECT_EQ(f.doc().Working.GroundPlane1, 1);
    EXPECT_EQ(f.doc().Working.GroundPlane2, 0);
    EXPECT_TRUE(spin.isVisible());
    EXPECT_EQ(spin.parentWidget()->width(), StatusLine::kGroundPanelWidePx);

    f.trigger("K2"); // side 2: its plane is off, so the button shows released
    EXPECT_FALSE(button.isChecked());
    EXPECT_FALSE(spin.isVisible());
    EXPECT_EQ(spin.parentWidget()->width(), StatusLine::kGroundPanelNarrowPx);
    f.trigger("M_AutoMasse");
    EXPECT_EQ(f.doc().Working.GroundPlane2, 1);
    EXPECT_TRUE(button.isChecked());
    EXPECT_TRUE(f.action("M_AutoMasse").isChecked());
    f.trigger("M_AutoMasse");
    EXPECT_EQ(f.doc().Working.GroundPlane2, 0);
    EXPECT_EQ(f.doc().Working.GroundPlane1, 1) << "side 1 keeps its plane";
}

TEST(GroundPlane, ClearanceSpinSetsTheSelectedObjectsOnly)
{
    WindowFixture f;
    ObjectList& objects = *f.doc().currentObjects();
    for (int i = 0; i < 5; ++i)
        addTrack(objects, {{0, -i * 100}, {1000, -i * 100}}).Selected = i < 3 ? 1 : 0;
    f.control<QDoubleSpinBox>("SE_FreistanzOffset").setValue(1.2);
    EXPECT_EQ(f.window().toolParameters().CurrentClearance, 120);
    std::vector<int32_t> clearances;
    for (const auto& o : objects)
        clearances.push_back(o->Clearance);
    EXPECT_EQ(clearances, (std::vector<int32_t>{120, 120, 120, 40, 40}));
}

TEST(StatusLine, PointerPositionIsShownAgainstTheOrigin)
{
    WindowFixture f;
    f.doc().Origin = {1000, -2000};
    Q_EMIT f.window().boardView().pointerMoved(Point{1000, -2500});
    EXPECT_EQ(f.control<QLabel>("L_XPos").text(), "X: 0 мм");
    EXPECT_EQ(f.control<QLabel>("L_YPos").text(), "Y: 5 мм");
    f.trigger("E_Zoll");
    Q_EMIT f.window().boardView().pointerMoved(Point{1000 + 2540, -2000});
    EXPECT_EQ(f.control<QLabel>("L_XPos").text(), "X: 1 \"");
}

TEST(StatusLine, TheLongPartOfAHintGoesToTheHelpLabel)
{
    WindowFixture f;
    QToolButton& pad = f.control<QToolButton>("SB_Circle");
    EXPECT_EQ(pad.toolTip(), "Add pads");
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&pad, &enter);
    EXPECT_EQ(f.control<QLabel>("L_Hilfetext").text(), "Click to the arrow to select a pad shape.");
    QApplication::sendEvent(&f.control<QToolButton>("SB_K1"), &enter);
    EXPECT_EQ(f.control<QLabel>("L_Hilfetext").text(), "Show/hide copper layer 1 (also F5...F8)");
    f.action("TB_ZoomAlles").showStatusText(&f.window());
    EXPECT_EQ(f.control<QLabel>("L_Hilfetext").text(), "Zoom board");
}

} // namespace
} // namespace kestrel::test
