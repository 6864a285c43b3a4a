#include "WindowFixture.h"

#include "edit/PointerMachine.h"
#include "route/gui/AutoRouterWindow.h"
#include "route/gui/RouteToolActions.h"
#include "route/gui/SearchBoxFlash.h"
#include "view/gui/BoardView.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QSpinBox>

#include <filesystem>

namespace kestrel::test {
namespace {

const PointerMachine& machine(WindowFixture& f)
{
    return f.window().pointerMachine();
}

QRgb pixel(WindowFixture& f, Point p)
{
    return f.paintBox()->grab().toImage().pixel(f.pixelOf(p));
}

// Yellow board under a not-xor black pen: every channel inverted.
bool inverted(QRgb shown, QRgb board)
{
    return qRed(shown) == 255 - qRed(board) && qGreen(shown) == 255 - qGreen(board) &&
           qBlue(shown) == 255 - qBlue(board);
}

TEST(PointerTools, TrackDrawnWithItsRubberBandOnTheOverlay)
{
    WindowFixture f;
    const QRgb board = pixel(f, at(12, 10));
    f.key(Qt::Key_T);
    f.moveTo(at(10, 10));
    f.click(at(10, 10));
    f.moveTo(at(14, 10));
    EXPECT_TRUE(inverted(pixel(f, at(12, 10)), board)) << "the rubber band inverts the board";
    f.click(at(14, 10));
    f.rightClick(at(14, 10));
    ASSERT_EQ(f.list().size(), 1u);
    EXPECT_EQ(f.list()[0].Points, (std::vector<Point>{at(10, 10), at(14, 10)}));
    EXPECT_EQ(pixel(f, at(16, 10)), board) << "no preview is left beyond the track";
    EXPECT_NE(pixel(f, at(12, 10)), board) << "the track is painted into the board";
}

// Del while drawing gives back the last point, though with nothing
// selected the Delete command is disabled; the track goes on from there.
// Select all does not make the track being drawn a victim of Del, and Undo
// takes the whole track away.
TEST(PointerTools, DelTakesBackTheLastPointOfATrackBeingDrawn)
{
    for (const bool selectAll : {false, true}) {
        SCOPED_TRACE(selectAll ? "after Select all" : "nothing selected");
        WindowFixture f;
        f.tool("SB_Line");
        for (Point p : {at(10, 10), at(14, 10), at(14, 14)}) {
            f.moveTo(p);
            f.click(p);
        }
        if (selectAll)
            f.trigger("Allesmarkieren1");
        else
            ASSERT_FALSE(f.control<QAction>("Lschen1").isEnabled());
        f.key(Qt::Key_Delete);
        f.moveTo(at(18, 10));
        f.click(at(18, 10));
        f.rightClick(at(18, 10));
        ASSERT_EQ(f.list().size(), 1u);
        EXPECT_EQ(f.list()[0].Points, (std::vector<Point>{at(10, 10), at(14, 10), at(18, 10)}));
        f.trigger("Rckgngig1");
        EXPECT_TRUE(f.list().empty());
    }
}

// While a track is drawn a click beyond the visible area lands on its edge.
TEST(PointerTools, TrackPointsStayInTheVisibleArea)
{
    WindowFixture f;
    BoardView& view = f.window().boardView();
    const QRect shown = view.visibleArea();
    ASSERT_LT(shown.right() + 100, f.paintBox()->width()) << "the board reaches beyond the view";
    f.tool("SB_Line");
    f.click(at(10, 10));
    for (int i = 0; i < 4; ++i)
        f.key(Qt::Key_Space); // straight
    const QPoint beyond(shown.right() + 80, f.pixelOf(at(10, 10)).y());
    QTest::mouseMove(f.paintBox(), beyond);
    QTest::mouseClick(f.paintBox(), Qt::LeftButton, Qt::NoModifier, beyond);
    f.rightClick(at(10, 10));
    ASSERT_EQ(f.list().size(), 1u);
    const Point last = f.list()[0].Points.back();
    EXPECT_LE(last.x, view.screenToBoard(shown.bottomRight(), false).x + kGridStep / 2) << "snapped at the view's edge";
    EXPECT_GT(last.x, view.screenToBoard(shown.bottomRight(), false).x - kGridStep);
}

// Every way an operation ends: a one-point track goes, a longer one stays.
TEST(PointerTools, AbortPathsDropAOnePointTrack)
{
    using Step = std::function<void(WindowFixture&)>;
    struct Case {
        const char* name;
        int points;
        Step end;
        size_t left; // tracks on the first board afterwards
    };
    const Case cases[] = {
        {"another tool", 1, [](WindowFixture& f) { f.tool("SB_Standard"); }, 0},
        {"a command", 1, [](WindowFixture& f) { f.trigger("Rckgngig1"); }, 0},
        {"select all leaves it out, a right click ends it", 2,
         [](WindowFixture& f) {
             f.trigger("Allesmarkieren1");
             EXPECT_TRUE(f.selected().empty());
             f.rightClick(at(9, 5));
         },
         1},
        {"another board", 1, [](WindowFixture& f) { f.addBoards(1); }, 0},
        {"another tool keeps two points", 2, [](WindowFixture& f) { f.tool("SB_Circle"); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFixture f;
        f.tool("SB_Line");
        f.click(at(5, 5));
        if (c.points == 2)
            f.click(at(9, 5));
        c.end(f);
        EXPECT_EQ(f.doc().board(0).Objects.size(), c.left);
        EXPECT_FALSE(machine(f).building());
        EXPECT_FALSE(machine(f).previews().anyDrawn());
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "the pointer is free again";
    }
}

// Commands that arrive while the pointer is busy: a held move drag ends
// before the selection changes under it; a dialog opened while a track is
// being drawn gets the mouse, and the track takes it back afterwards; an
// autosave waits for the track.
TEST(PointerTools, CommandsInTheMiddleOfAPointerOperation)
{
    WindowFixture f;
    addPad(f.list(), at(10, 10), 90);
    addPad(f.list(), at(20, 10), 90);
    f.pressAndMove(at(10, 10), at(14, 10));
    f.trigger("Allesmarkieren1");
    f.moveTo(at(18, 10));
    f.release(at(18, 10));
    EXPECT_EQ(f.list()[0].centre(), at(10, 10)) << "the drag ended; nothing moved";
    EXPECT_EQ(f.list()[1].centre(), at(20, 10));
    EXPECT_FALSE(f.doc().Modified);

    TempDir dir;
    f.saveNames = {q(dir.file("board.kbd"))};
    f.trigger("Speichernals1");
    int64_t now = 0;
    f.window().setAutoSaveClock([&now] { return now; });
    f.dialogs = {[](QDialog& d) {
        d.findChild<QCheckBox*>("RB_AutoSave")->setChecked(true);
        d.findChild<QSpinBox*>("SE_Zyklus")->setValue(1);
        return WindowFixture::accept(d);
    }};
    f.trigger("Autospeichern1");
    f.tool("SB_Line");
    f.click(at(5, 5));
    f.click(at(9, 5));
    ASSERT_EQ(QWidget::mouseGrabber(), f.paintBox());
    QWidget* grabbedInDialog = f.paintBox();
    f.dialogs = {[&](QDialog& d) {
        grabbedInDialog = QWidget::mouseGrabber();
        return WindowFixture::cancel(d);
    }};
    f.trigger("DesignCheck1");
    EXPECT_EQ(grabbedInDialog, nullptr) << "the dialog has the mouse";
    EXPECT_EQ(QWidget::mouseGrabber(), f.paintBox()) << "the track takes it back";
    f.trigger("Index1");
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "the help window beside is used with the mouse";
    f.click(at(9, 7));
    EXPECT_EQ(QWidget::mouseGrabber(), f.paintBox()) << "the next point takes the grab back";
    ASSERT_EQ(f.list()[f.list().size() - 1].Points.size(), 3u);

    now = 5 * 60000; // overdue
    f.window().autoSaveTick();
    EXPECT_FALSE(std::filesystem::exists(dir.file("board.bak"))) << "no backup of a half-drawn track";
    f.rightClick(at(9, 5));
    f.window().autoSaveTick();
    EXPECT_TRUE(std::filesystem::exists(dir.file("board.bak"))) << "the track finished, the backup follows";
}

TEST(PointerTools, MoveDragRepaintsTheBoardWhereItChanged)
{
    WindowFixture f;
    addPad(f.list(), at(10, 10), 90);
    f.window().boardView().redraw();
    const QRgb board = pixel(f, at(16, 10));
    BoardView& view = f.window().boardView();
    f.pressAndMove(at(10, 10), at(13, 10)); // selects the pad: it is painted again in magenta
    QApplication::processEvents();
    const qint64 before = view.boardPixelsPainted();
    f.moveTo(at(20, 12));
    f.moveTo(at(16, 10));
    QApplication::processEvents();
    EXPECT_TRUE(machine(f).previews()[PreviewKind::MoveOutline].drawn);
    const qint64 afterMoves = view.boardPixelsPainted();
    EXPECT_EQ(afterMoves, before) << "the outline moves over the cached board";
    f.release(at(16, 10));
    QApplication::processEvents();
    const QRect shown = view.visibleArea();
    EXPECT_LT(view.boardPixelsPainted() - afterMoves, shown.width() * shown.height() / 50)
        << "the drop repaints where the pad was and is, not the view";
    EXPECT_EQ(f.list()[0].centre(), at(16, 10));
    EXPECT_NE(pixel(f, at(16, 10)), board) << "the pad shows where it was dropped";
    EXPECT_EQ(pixel(f, at(10, 10)), board) << "and has gone from where it was";
}

// The router's tools through the pointer: a band drawn by the connect tool,
// routed by the autorouter tool with the window's sizes, and the track taken
// back into a band.
TEST(PointerTools, ConnectRouteAndUnroute)
{
    WindowFixture f;
    addPad(f.list(), at(10, 10), 60);
    addPad(f.list(), at(20, 10), 60);
    f.window().boardView().redraw();
    f.key(Qt::Key_B);
    f.moveTo(at(10, 10));
    f.click(at(10, 10));
    f.moveTo(at(15, 12));
    EXPECT_TRUE(machine(f).previews()[PreviewKind::BandLine].drawn) << "the dotted line follows the pointer";
    f.moveTo(at(20, 10));
    f.click(at(20, 10));
    ASSERT_EQ(f.list()[0].Connections.size(), 1u);

    f.key(Qt::Key_U);
    TAutoRouter& router = f.window().routeTools().window();
    EXPECT_TRUE(router.isVisible());
    f.moveTo(at(15, 10));
    f.click(at(15, 10));
    ASSERT_EQ(f.list().size(), 3u) << "the band became a track";
    EXPECT_TRUE(f.list()[2].Routed);
    EXPECT_EQ(f.list()[2].Width, 40) << "the window's 0.4 mm";
    const SearchBoxFlash& flash = f.window().routeTools().searchBoxFlash();
    EXPECT_EQ(flash.boxes().size(), 1u) << "free space is found in the first box";
    // It goes by a timer, which a loaded machine may run late.
    for (int ms = 0; ms < SearchBoxFlash::kShownMs + 5000 && flash.isVisible(); ms += 20)
        QTest::qWait(20);
    EXPECT_FALSE(flash.isVisible());
    // Sizes edited in the window: it has the keyboard until the tool ends.
    router.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&router));
    f.rightClick(at(15, 10));
    EXPECT_FALSE(router.isVisible()) << "back to editing hides the router";
    // The window system reports the activation a little later.
    for (int ms = 0; ms < 1000 && QApplication::activeWindow() != &f.window(); ms += 10)
        QTest::qWait(10);
    EXPECT_EQ(QApplication::activeWindow(), &f.window()) << "and hands the keyboard back to the tool keys";
    f.key(Qt::Key_U);
    EXPECT_TRUE(f.control<QAbstractButton>("SB_AutoRoute").isChecked());
    f.moveTo(at(16, 10)); // the pick follows a move, not a click where the pointer already is
    f.click(at(16, 10));
    EXPECT_EQ(f.list().size(), 2u);
    EXPECT_EQ(f.list()[0].Connections.size(), 1u) << "the band is back";
}

} // namespace
} // namespace kestrel::test
