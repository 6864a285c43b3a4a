#include "WindowFixture.h"

#include "edit/PointerMachine.h"
#include "edit/gui/BoardPointer.h"
#include "route/gui/AutoRouterWindow.h"
#include "route/gui/RouteToolActions.h"
#include "view/gui/BoardView.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>

namespace kestrel::test {
namespace {

constexpr int32_t g = 254;

Point at(int gx, int gy)
{
    return {gx * g, -gy * g};
}

// A pointer session on the window's drawing area, at board points.
struct Tools : WindowFixture {
    void press(Point p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers k = Qt::NoModifier)
    {
        QTest::mousePress(paintBox(), b, k, pixelOf(p));
    }
    void releaseAt(Point p) { QTest::mouseRelease(paintBox(), Qt::LeftButton, Qt::NoModifier, pixelOf(p)); }
    void moveTo(Point p) { QTest::mouseMove(paintBox(), pixelOf(p)); }
    void clickAt(Point p) { press(p), releaseAt(p); }
    void rightAt(Point p)
    {
        press(p, Qt::RightButton);
        QTest::mouseRelease(paintBox(), Qt::RightButton, Qt::NoModifier, pixelOf(p));
    }
    void tool(const char* button) { control<QAbstractButton>(button).click(); }
    ObjectList& list() { return *doc().currentObjects(); }
    const PointerMachine& machine() { return window().pointerMachine(); }
    QImage shot() { return paintBox()->grab().toImage(); }
    QRgb pixel(Point p) { return shot().pixel(pixelOf(p)); }
    QString help() { return control<QLabel>("L_Hilfetext").text(); }
};

// Yellow board under a not-xor black pen: every channel inverted.
bool inverted(QRgb shown, QRgb board)
{
    return qRed(shown) == 255 - qRed(board) && qGreen(shown) == 255 - qGreen(board) &&
           qBlue(shown) == 255 - qBlue(board);
}

TEST(PointerTools, TrackDrawnWithItsRubberBandOnTheOverlay)
{
    Tools f;
    const QRgb board = f.pixel(at(12, 10));
    f.key(Qt::Key_T);
    EXPECT_TRUE(f.control<QAbstractButton>("SB_Line").isChecked());
    f.moveTo(at(10, 10));
    f.clickAt(at(10, 10));
    f.moveTo(at(14, 10));
    EXPECT_TRUE(inverted(f.pixel(at(12, 10)), board)) << "the rubber band inverts the board";
    f.clickAt(at(14, 10));
    f.rightAt(at(14, 10));
    ASSERT_EQ(f.list().size(), 1u);
    EXPECT_EQ(f.list()[0].Points, (std::vector<Point>{at(10, 10), at(14, 10)}));
    EXPECT_FALSE(f.machine().previews().anyDrawn());
    EXPECT_EQ(f.pixel(at(16, 10)), board) << "no preview is left beyond the track";
    EXPECT_NE(f.pixel(at(12, 10)), board) << "the track is painted into the board";
}

// While a track is drawn a click beyond the visible area lands on its edge.
TEST(PointerTools, TrackPointsStayInTheVisibleArea)
{
    Tools f;
    BoardView& view = f.window().boardView();
    const QRect shown = view.visibleArea();
    ASSERT_LT(shown.right() + 100, f.paintBox()->width()) << "the board reaches beyond the view";
    f.tool("SB_Line");
    f.clickAt(at(10, 10));
    for (int i = 0; i < 4; ++i)
        f.key(Qt::Key_Space); // straight
    const QPoint beyond(shown.right() + 80, f.pixelOf(at(10, 10)).y());
    QTest::mouseMove(f.paintBox(), beyond);
    QTest::mouseClick(f.paintBox(), Qt::LeftButton, Qt::NoModifier, beyond);
    f.rightAt(at(10, 10));
    ASSERT_EQ(f.list().size(), 1u);
    const Point last = f.list()[0].Points.back();
    EXPECT_LE(last.x, view.screenToBoard(shown.bottomRight(), false).x + g / 2) << "snapped at the view's edge";
    EXPECT_GT(last.x, view.screenToBoard(shown.bottomRight(), false).x - g);
}

// Every way an operation ends: a one-point track goes, a longer one stays.
TEST(PointerTools, AbortPathsDropAOnePointTrack)
{
    using Step = std::function<void(Tools&)>;
    struct Case {
        const char* name;
        int points;
        Step end;
        size_t left; // tracks on the first board afterwards
    };
    const Case cases[] = {
        {"another tool", 1, [](Tools& f) { f.tool("SB_Standard"); }, 0},
        {"a command", 1, [](Tools& f) { f.trigger("Allesmarkieren1"), f.trigger("Duplizieren1"); }, 0},
        {"another board", 1, [](Tools& f) { f.addBoards(1); }, 0},
        {"another tool keeps two points", 2, [](Tools& f) { f.tool("SB_Circle"); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tools f;
        f.tool("SB_Line");
        f.clickAt(at(5, 5));
        if (c.points == 2)
            f.clickAt(at(9, 5));
        c.end(f);
        EXPECT_EQ(f.doc().board(0).Objects.size(), c.left);
        EXPECT_FALSE(f.machine().building());
        EXPECT_FALSE(f.machine().previews().anyDrawn());
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "the pointer is free again";
    }
}

// F12 switches the pad tool to vias; the right button goes back to editing.
TEST(PointerTools, F12PlacesVias)
{
    Tools f;
    f.key(Qt::Key_P);
    f.key(Qt::Key_F12);
    f.moveTo(at(30, 10));
    EXPECT_TRUE(f.machine().previews()[PreviewKind::PadCircle].drawn);
    f.clickAt(at(30, 10));
    EXPECT_EQ(f.list().size(), 2u) << "a pad and its via partner (PointerMachine.PadsCirclesAndVias)";
    f.rightAt(at(30, 10));
    EXPECT_TRUE(f.control<QAbstractButton>("SB_Standard").isChecked());
}

TEST(PointerTools, MoveDragRepaintsTheBoardWhereItChanged)
{
    Tools f;
    addPad(f.list(), at(10, 10), 90);
    f.window().boardView().redraw();
    const QRgb board = f.pixel(at(16, 10));
    BoardView& view = f.window().boardView();
    f.press(at(10, 10)); // selects the pad: it is painted again in magenta
    f.moveTo(at(13, 10));
    QApplication::processEvents();
    const qint64 before = view.boardPixelsPainted();
    f.moveTo(at(20, 12));
    f.moveTo(at(16, 10));
    QApplication::processEvents();
    EXPECT_TRUE(f.machine().previews()[PreviewKind::MoveOutline].drawn);
    const qint64 afterMoves = view.boardPixelsPainted();
    EXPECT_EQ(afterMoves, before) << "the outline moves over the cached board";
    f.releaseAt(at(16, 10));
    QApplication::processEvents();
    const QRect shown = view.visibleArea();
    EXPECT_LT(view.boardPixelsPainted() - afterMoves, shown.width() * shown.height() / 50)
        << "the drop repaints where the pad was and is, not the view";
    EXPECT_EQ(f.list()[0].centre(), at(16, 10));
    EXPECT_NE(f.pixel(at(16, 10)), board) << "the pad shows where it was dropped";
    EXPECT_EQ(f.pixel(at(10, 10)), board) << "and has gone from where it was";
    f.trigger("Rckgngig1");
    EXPECT_EQ(f.list()[0].centre(), at(10, 10));
}

TEST(PointerTools, CornerMenuSplitsATrack)
{
    Tools f;
    addTrack(f.list(), {at(10, 10), at(20, 10), at(20, 20)}, 40);
    f.window().boardView().redraw();
    f.clickAt(at(15, 10));
    f.rightAt(at(20, 10));
    QMenu& menu = f.window().boardPointer().cornerMenu();
    ASSERT_TRUE(menu.isVisible());
    EXPECT_TRUE(menu.findChild<QAction*>("Trennen1")->isEnabled());
    menu.findChild<QAction*>("Trennen1")->trigger();
    menu.hide();
    ASSERT_EQ(f.list().size(), 2u);
    EXPECT_EQ(f.list()[1].Points, (std::vector<Point>{at(20, 20), at(20, 10)}));
}

TEST(PointerTools, ZoomToolAndMiddleButtonPan)
{
    Tools f;
    f.key(Qt::Key_Z);
    f.clickAt(at(10, 10));
    EXPECT_DOUBLE_EQ(f.window().boardView().zoom(), 0.2);

    f.window().boardView().setZoom(0.5);
    auto* area = static_cast<QAbstractScrollArea*>(f.window().boardView().scrollBox());
    const QPoint before(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value());
    const QPoint from = f.pixelOf(at(20, 20));
    QTest::mousePress(f.paintBox(), Qt::MiddleButton, Qt::NoModifier, from);
    QMouseEvent drag(QEvent::MouseMove, QPointF(from - QPoint(40, 30)),
                     f.paintBox()->mapToGlobal(QPointF(from - QPoint(40, 30))), Qt::NoButton, Qt::MiddleButton,
                     Qt::NoModifier);
    QApplication::sendEvent(f.paintBox(), &drag);
    QTest::mouseRelease(f.paintBox(), Qt::MiddleButton, Qt::NoModifier, from - QPoint(40, 30));
    EXPECT_EQ(area->horizontalScrollBar()->value(), before.x() + 40) << "the board follows the pointer";
    EXPECT_EQ(area->verticalScrollBar()->value(), before.y() + 30);
    EXPECT_DOUBLE_EQ(f.window().boardView().zoom(), 0.5) << "the middle button never zooms";
}

// One key per tool.
TEST(PointerTools, ToolKeysFollowTheirButtons)
{
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_Z, "SB_Zoom"},       {Qt::Key_T, "SB_Line"},    {Qt::Key_P, "SB_Circle"},     {Qt::Key_R, "SB_Ring"},
        {Qt::Key_F, "SB_Polygon"},    {Qt::Key_L, "SB_Text"},    {Qt::Key_K, "SB_LineText"},   {Qt::Key_B, "SB_Connect"},
        {Qt::Key_X, "SB_Test"},       {Qt::Key_G, "SB_Vieleck"}, {Qt::Key_U, "SB_AutoRoute"},  {Qt::Key_S, "SB_Standard"},
    };
    Tools f;
    for (const auto& [key, button] : keys) {
        SCOPED_TRACE(button);
        f.tool("SB_Zoom");
        // The label and generator tools begin with their dialogs.
        if (key == Qt::Key_L || key == Qt::Key_K || key == Qt::Key_G)
            f.dialogs.push_back(WindowFixture::accept);
        f.key(key);
        EXPECT_TRUE(f.control<QAbstractButton>(button).isChecked());
    }
}

// The router's tools through the pointer: a band drawn by the connect
// tool, routed by the autorouter tool and its copper found by the test tool.
TEST(PointerTools, ConnectRouteAndTest)
{
    Tools f;
    addPad(f.list(), at(10, 10), 60);
    addPad(f.list(), at(20, 10), 60);
    f.window().boardView().redraw();
    f.key(Qt::Key_B);
    f.moveTo(at(10, 10));
    f.clickAt(at(10, 10));
    f.moveTo(at(15, 12));
    EXPECT_TRUE(f.machine().previews()[PreviewKind::BandLine].drawn) << "the dotted line follows the pointer";
    f.moveTo(at(20, 10));
    f.clickAt(at(20, 10));
    ASSERT_EQ(f.list()[0].Connections.size(), 1u);

    f.key(Qt::Key_U);
    EXPECT_TRUE(f.window().routeTools().window().isVisible());
    f.moveTo(at(15, 10));
    f.clickAt(at(15, 10));
    ASSERT_EQ(f.list().size(), 3u) << "the band became a track";
    EXPECT_TRUE(f.list()[2].Routed);
    f.rightAt(at(15, 10));
    EXPECT_FALSE(f.window().routeTools().window().isVisible()) << "back to editing hides the router";

    f.tool("SB_Test");
    f.clickAt(at(10, 10));
    EXPECT_EQ(f.selected(), (std::vector<size_t>{0, 1, 2}));
}

} // namespace
} // namespace kestrel::test
