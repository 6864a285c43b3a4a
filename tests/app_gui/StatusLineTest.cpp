#include "WindowFixture.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>
#include <QApplication>
#include <QStatusTipEvent>

namespace kestrel::test {
namespace {

// A key ("F1".."F8") pressed in the board view, a status-line button clicked
// or a menu action triggered.
void operate(WindowFixture& f, const char* name)
{
    if (name[0] == 'F' && name[1] >= '1' && name[1] <= '8') {
        f.key(Qt::Key(Qt::Key_F1 + name[1] - '1'));
    } else if (auto* button = f.window().findChild<QAbstractButton*>(name)) {
        button->click();
    } else {
        f.trigger(name);
    }
}

// F1..F4, the radio buttons and K/B items choose the active layer (always
// shown); F5..F8, the layer buttons and SK/SB items toggle the others. The
// ground plane follows the active side.
TEST(Layers, KeysButtonsAndMenuFollowTheLayerRulesAndTheGroundPlaneTheActiveSide)
{
    WindowFixture f;
    // Hiding a layer takes it off the view at once, and showing it brings it back.
    addTrack(f.list(), {at(4, 4), at(12, 4)}, 100, 2); // silk of side 1
    f.window().boardView().redraw();
    const auto pixel = [&f](Point p) { return f.paintBox()->grab().toImage().pixel(f.pixelOf(p)); };
    const QRgb board = pixel(at(8, 8));
    ASSERT_NE(pixel(at(8, 4)), board);
    for (const bool shown : {false, true}) {
        f.control<QToolButton>("SB_B1").click();
        ASSERT_EQ(f.doc().Working.LayerVisible[1], shown);
        EXPECT_EQ(pixel(at(8, 4)) == board, !shown) << "silk shown: " << shown;
    }
    f.list().clear();

    struct Step {
        const char* name;
        uint32_t activeLayer;
        Layers visible;
    };
    const char* radios[] = {"RB_K1", "RB_B1", "RB_K2", "RB_B2"};
    for (const Step& s : {Step{"F3", 3, {1, 1, 1, 0}}, Step{"F7", 3, {1, 1, 1, 0}}, Step{"F6", 3, {1, 0, 1, 0}},
                          Step{"F1", 1, {1, 0, 1, 0}}, Step{"F7", 1, {1, 0, 0, 0}}, Step{"SB_B2", 1, {1, 0, 0, 1}},
                          Step{"RB_B2", 4, {1, 0, 0, 1}}, Step{"SK1", 4, {0, 0, 0, 1}}, Step{"K2", 3, {0, 0, 1, 1}}}) {
        operate(f, s.name);
        EXPECT_EQ(f.doc().Working.ActiveLayer, s.activeLayer) << s.name;
        EXPECT_EQ(f.doc().Working.LayerVisible, s.visible) << s.name;
        EXPECT_TRUE(f.control<QRadioButton>(radios[s.activeLayer - 1]).isChecked()) << s.name;
    }
    Q_EMIT f.control<QMenu>("L1").aboutToShow();
    EXPECT_TRUE(f.action("K2").isChecked());
    EXPECT_FALSE(f.action("SK1").isChecked());

    // The ground plane's button and menu act on the active side, the spin on the selection.
    QToolButton& button = f.control<QToolButton>("SB_AutoMasse");
    QDoubleSpinBox& spin = f.control<QDoubleSpinBox>("SE_FreistanzOffset");
    button.click();
    EXPECT_EQ(f.doc().Working.GroundPlane2, 1);
    EXPECT_TRUE(spin.isVisible());
    f.trigger("K1"); // side 1: its plane is off, so the button shows released
    EXPECT_FALSE(button.isChecked());
    EXPECT_FALSE(spin.isVisible());
    f.trigger("M_AutoMasse");
    EXPECT_EQ(f.doc().Working.GroundPlane1, 1);
    EXPECT_TRUE(button.isChecked());

    // A paste onto side 2 with its silk hidden shows that layer, in the
    // document and on its button.
    f.trigger("SB2"); // hide S2
    f.list().append(makeLine({0, 0}, {1000, 0}, 20, Layer::B1)).Selected = 1;
    f.window().updateCommandStates();
    f.trigger("Kopieren1");
    f.trigger("K2");
    ASSERT_EQ(f.doc().Working.LayerVisible[3], 0);
    f.trigger("Einfgen1");
    EXPECT_EQ(f.doc().Working.LayerVisible[3], 1);
    EXPECT_TRUE(f.control<QToolButton>("SB_B2").font().bold());
    f.list().clear();
    f.trigger("K1");

    // Which objects take it: ToolParameters.ClearanceGoesToExactlyTheSelectedObjects.
    addTrack(f.list(), {{0, 0}, {1000, 0}}).Selected = 1;
    spin.setValue(1.2);
    EXPECT_EQ(f.window().toolParameters().CurrentClearance, 120);
    EXPECT_EQ(f.list()[0].Clearance, 120);
}

// The autorouter tool has a hint of its own (not the last tool's), and the
// long hints of its window's fields reach the help label.
TEST(StatusLine, TheAutorouterHintsReachTheHelpLabel)
{
    WindowFixture f;
    QLabel& help = f.control<QLabel>("L_Hilfetext");
    f.tool("SB_Connect");
    f.tool("SB_AutoRoute");
    f.moveTo({1000, -1000});
    EXPECT_TRUE(help.text().startsWith("Autorouter: Click a rubber band")) << help.text().toStdString();
    auto* width = f.window().findChild<QWidget*>("SE_AutoWidth");
    ASSERT_TRUE(width);
    QStatusTipEvent tip(width->statusTip());
    QApplication::sendEvent(width, &tip);
    EXPECT_EQ(help.text(), "The width of the track the autorouter lays");
}

// The pointer's position changes unit with the rulers at once, before the
// pointer moves again.
TEST(StatusLine, PositionFollowsTheUnitAtOnce)
{
    WindowFixture f;
    f.moveTo(at(10, 5)); // 25.4 mm, 12.7 mm
    const QLabel& x = f.control<QLabel>("L_XPos");
    EXPECT_TRUE(x.text().endsWith("mm")) << x.text().toStdString();
    f.trigger("E_Zoll");
    EXPECT_EQ(x.text(), "X: 1 \"");
    f.trigger("E_MM");
    EXPECT_TRUE(x.text().endsWith("mm")) << x.text().toStdString();
}

} // namespace
} // namespace kestrel::test
