#include "WindowFixture.h"

#include "edit/PointerMachine.h"
#include "route/gui/AutoRouterWindow.h"
#include "route/gui/RouteToolActions.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QScrollBar>
#include <QMouseEvent>
#include <QSignalSpy>

#include <filesystem>

namespace kestrel::test {
namespace {

QRgb pixel(WindowFixture& f, Point p)
{
    return f.paintBox()->grab().toImage().pixel(f.pixelOf(p));
}

// The finished track is drawn into the board, no rubber band is left. Del
// (the keypad's too) while drawing gives back the last point, though with nothing selected the
// Delete command is disabled, and after Select all, which leaves the track
// being drawn out; the track goes on from there, and Undo takes it all away.
TEST(PointerTools, TrackDrawnWithItsRubberBandAndDelTakesBackItsLastPoint)
{
    WindowFixture f;
    const QRgb board = pixel(f, at(12, 10));
    ASSERT_EQ(f.shownPixel(at(12, 10)), board);
    f.key(Qt::Key_T);
    f.moveTo(at(10, 10));
    f.click(at(10, 10));
    f.moveTo(at(14, 10));
    EXPECT_NE(f.shownPixel(at(12, 10)), board) << "the rubber band shows as the pointer moves";
    f.click(at(14, 10));
    f.moveTo(at(14, 14));
    EXPECT_NE(f.shownPixel(at(14, 12)), board) << "the next rubber band";
    EXPECT_NE(f.shownPixel(at(12, 10)), board) << "the track drawn so far";
    f.click(at(14, 14));
    ASSERT_FALSE(f.action("Lschen1").isEnabled());
    f.key(Qt::Key_Delete);
    f.moveTo(at(16, 10));
    f.click(at(16, 10));
    f.trigger("Allesmarkieren1");
    EXPECT_TRUE(f.selected().empty()) << "Select all leaves the track being drawn out";
    f.key(Qt::Key_Delete, Qt::KeypadModifier); // the keypad's Del as well
    f.moveTo(at(18, 10));
    f.click(at(18, 10));
    f.rightClick(at(18, 10));
    ASSERT_EQ(f.list().size(), 1u);
    EXPECT_EQ(f.list()[0].Points, (std::vector<Point>{at(10, 10), at(14, 10), at(18, 10)}));
    EXPECT_EQ(pixel(f, at(20, 10)), board) << "no preview is left beyond the track";
    EXPECT_NE(pixel(f, at(12, 10)), board) << "the track is painted into the board";
    f.trigger("Rckgngig1");
    EXPECT_TRUE(f.list().empty());
}

// A double click's second press on the same pixel repeats nothing: one pad,
// no corner of no length. A release that went elsewhere (to a menu) ends the
// edit tool's frame and the middle-button pan at the next move.
TEST(PointerTools, DoubleClicksAndLostReleases)
{
    WindowFixture f;
    f.tool("SB_Circle"); // the pad tool
    QTest::mouseDClick(f.paintBox(), Qt::LeftButton, Qt::NoModifier, f.pixelOf(at(10, 10)));
    f.rightClick(at(10, 10));
    EXPECT_EQ(f.list().size(), 1u) << "one pad";

    f.tool("SB_Line");
    f.click(at(20, 10));
    QTest::mouseDClick(f.paintBox(), Qt::LeftButton, Qt::NoModifier, f.pixelOf(at(30, 10)));
    f.rightClick(at(30, 10));
    ASSERT_EQ(f.list().size(), 2u);
    EXPECT_EQ(f.list()[1].Points, (std::vector<Point>{at(20, 10), at(30, 10)}));

    const auto bareMove = [&f](Point p) {
        const QPoint pixel = f.pixelOf(p);
        QMouseEvent move(QEvent::MouseMove, QPointF(pixel), f.paintBox()->mapToGlobal(QPointF(pixel)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(f.paintBox(), &move);
    };
    f.tool("SB_Standard");
    QTest::mousePress(f.paintBox(), Qt::LeftButton, Qt::NoModifier, f.pixelOf(at(40, 30)));
    QTest::mouseMove(f.paintBox(), f.pixelOf(at(45, 35)));
    ASSERT_TRUE(f.window().pointerMachine().holdingDrag());
    bareMove(at(46, 36)); // the release was lost
    EXPECT_FALSE(f.window().pointerMachine().holdingDrag());
    EXPECT_FALSE(f.window().pointerMachine().previews()[PreviewKind::Frame].drawn);

    f.window().boardView().setZoom(0.5);
    auto* scroll = static_cast<QAbstractScrollArea*>(f.window().boardView().scrollBox())->horizontalScrollBar();
    QTest::mousePress(f.paintBox(), Qt::MiddleButton, Qt::NoModifier, f.pixelOf(at(40, 30)));
    const int before = scroll->value();
    bareMove(at(30, 30));
    EXPECT_EQ(scroll->value(), before) << "no pan without the button";
}

// While a track is drawn the pointer beyond the visible area shows at its
// edge; a click out there (a scroll bar, another program) adds no point and
// lets the pointer go, and the track goes on with the next click inside.
TEST(PointerTools, TrackPointsStayInTheVisibleArea)
{
    WindowFixture f;
    BoardView& view = f.window().boardView();
    const QRect shown = view.visibleArea();
    ASSERT_LT(shown.right() + 100, f.paintBox()->width()) << "the board reaches beyond the view";
    f.tool("SB_Line");
    f.click(at(10, 10));
    const QPoint beyond(shown.right() + 80, f.pixelOf(at(10, 10)).y());
    QSignalSpy shownPoints(&view, &BoardView::pointerMoved);
    QMouseEvent move(QEvent::MouseMove, QPointF(beyond), f.paintBox()->mapToGlobal(QPointF(beyond)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f.paintBox(), &move);
    ASSERT_FALSE(shownPoints.isEmpty());
    const Point status = shownPoints.last().at(0).value<Point>();
    EXPECT_LE(status.x, view.screenToBoard(shown.bottomRight(), false).x + kGridStep / 2) << "shown at the edge";
    EXPECT_GT(status.x, view.screenToBoard(shown.bottomRight(), false).x - kGridStep);
    EXPECT_EQ(QWidget::mouseGrabber(), f.paintBox()) << "held between the clicks";
    QTest::mouseClick(f.paintBox(), Qt::LeftButton, Qt::NoModifier, beyond);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "let go";
    f.click(at(20, 10));
    f.rightClick(at(20, 10));
    ASSERT_EQ(f.list().size(), 1u);
    EXPECT_EQ(f.list()[0].Points, (std::vector<Point>{at(10, 10), at(20, 10)})) << "no corner at the edge";
}

// Every way an operation ends drops a one-point track (a longer one stays:
// PointerTools.TrackDrawnWithItsRubberBandAndDelTakesBackItsLastPoint).
TEST(PointerTools, AbortPathsDropAOnePointTrack)
{
    const std::pair<const char*, std::function<void(WindowFixture&)>> cases[] = {
        {"another tool", [](WindowFixture& f) { f.tool("SB_Standard"); }},
        {"a command", [](WindowFixture& f) { f.trigger("Rckgngig1"); }},
        {"another board", [](WindowFixture& f) { f.addBoards(1); }},
        {"another active layer", [](WindowFixture& f) { f.key(Qt::Key_F3); }},
    };
    for (const auto& [name, end] : cases) {
        SCOPED_TRACE(name);
        WindowFixture f;
        f.tool("SB_Line");
        f.click(at(5, 5));
        end(f);
        EXPECT_TRUE(f.doc().board(0).Objects.empty()) << "no track on the first board";
        EXPECT_FALSE(f.window().pointerMachine().building());
        EXPECT_FALSE(f.window().pointerMachine().previews().anyDrawn());
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "the pointer is free again";
    }
}

// A track begun on one layer is finished there when another layer becomes
// active; the next click begins one on the new layer, which can then no
// longer hide the first. A new width goes to the track being drawn.
TEST(PointerTools, ALayerOrWidthChosenWhileDrawing)
{
    WindowFixture f;
    f.tool("SB_Line");
    f.click(at(5, 5));
    f.click(at(9, 5));
    f.key(Qt::Key_F3);
    EXPECT_FALSE(f.window().pointerMachine().building());
    f.click(at(9, 8));
    f.click(at(12, 8));
    f.rightClick(at(12, 8));
    ASSERT_EQ(f.list().size(), 2u);
    EXPECT_EQ(std::tuple(f.list()[0].Layer, f.list()[0].Points.size()), std::tuple(Layer::K1, 2u));
    EXPECT_EQ(std::tuple(f.list()[1].Layer, f.list()[1].Points.size()), std::tuple(Layer::K2, 2u));
    f.key(Qt::Key_F5);
    EXPECT_EQ(f.doc().Working.LayerVisible[0], 0) << "the finished track's layer hides as any other";

    // A width chosen while drawing is the width the rubber band shows, and
    // the track's.
    f.click(at(5, 12));
    f.click(at(9, 12));
    f.control<QDoubleSpinBox>("SE_Breite").setValue(2.0);
    f.click(at(9, 15));
    f.rightClick(at(9, 15));
    ASSERT_EQ(f.list().size(), 3u);
    EXPECT_EQ(std::tuple(f.list()[2].Width, f.list()[2].Points.size()), std::tuple(200, 3u));
    EXPECT_EQ(f.list()[0].Width, f.list()[1].Width) << "the tracks drawn before keep theirs";
}

// Ctrl pressed or let go without a move: the rubber band's end follows at
// once, and the click places the point it showed.
TEST(PointerTools, TheRubberBandFollowsCtrlAtOnce)
{
    WindowFixture f;
    f.tool("SB_Line");
    f.click(at(5, 5));
    const Point offGrid{at(9, 5).x + kGridStep / 3, at(9, 5).y};
    f.moveTo(offGrid);
    const Point snapped = f.window().pointerMachine().state().CurrentPoint;
    ASSERT_NE(snapped, offGrid);
    QWidget* box = f.window().boardView().scrollBox();
    QTest::keyPress(box, Qt::Key_Control, Qt::ControlModifier);
    const Point free = f.window().pointerMachine().state().CurrentPoint;
    EXPECT_EQ(free, f.window().boardView().screenToBoard(f.pixelOf(offGrid), false)) << "Ctrl: the point as it is";
    QTest::keyRelease(box, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(f.window().pointerMachine().state().CurrentPoint, snapped) << "let go: on the grid again";
    QTest::keyPress(box, Qt::Key_Control, Qt::ControlModifier);
    QTest::mouseClick(f.paintBox(), Qt::LeftButton, Qt::ControlModifier, f.pixelOf(offGrid));
    f.rightClick(offGrid);
    ASSERT_EQ(f.list().size(), 1u);
    EXPECT_EQ(f.list()[0].Points.back(), free);

    // In the autorouter Ctrl leaves the band under the pointer picked.
    LayoutObject& a = addPad(f.list(), at(10, 20), 60);
    addBand(a, addPad(f.list(), at(20, 20), 60));
    f.key(Qt::Key_U);
    f.moveTo(at(15, 20));
    QTest::keyPress(box, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyRelease(box, Qt::Key_Control, Qt::NoModifier);
    f.click(at(15, 20));
    EXPECT_EQ(f.list().size(), 4u) << "the band became a track";
}

// While a track is drawn the board holds the pointer; a click on a panel
// field goes on to the field, which takes the keys, and adds no point.
TEST(PointerTools, AClickOnAFieldWhileDrawingReachesTheField)
{
    WindowFixture f;
    f.tool("SB_Line");
    f.click(at(5, 5));
    f.click(at(9, 5));
    ASSERT_EQ(QWidget::mouseGrabber(), f.paintBox());
    // The window system hands the grabbed click to the board, at the field's place.
    auto& width = f.control<QDoubleSpinBox>("SE_Breite");
    const QPoint onField = f.paintBox()->mapFromGlobal(width.mapToGlobal(QPoint(8, width.height() / 2)));
    QTest::mouseClick(f.paintBox(), Qt::LeftButton, Qt::NoModifier, onField);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_TRUE(width.hasFocus() || width.isAncestorOf(QApplication::focusWidget())) << "the field has the keys";
    EXPECT_EQ(f.list()[0].Points.size(), 2u) << "no point at the edge";
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
    f.dialogs = {autoSaveOn(1)};
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

// The autorouter tool through the pointer: a band routed with the window's
// sizes, and the track taken back into a band (the rules: the route tests;
// a band drawn with the connect tool: APadShownForABandIsNoSelectionForKeysOrThePanel).
TEST(PointerTools, RouteAndUnroute)
{
    WindowFixture f;
    LayoutObject& a = addPad(f.list(), at(10, 10), 60);
    addBand(a, addPad(f.list(), at(20, 10), 60));
    f.window().boardView().redraw();

    TAutoRouter& router = f.window().routeTools().window();
    // With a silk layer active no band is picked, and the window says why.
    f.trigger("B1");
    f.key(Qt::Key_U);
    f.moveTo(at(15, 10));
    f.click(at(15, 10));
    ASSERT_EQ(f.list().size(), 2u);
    const auto* info = router.findChild<QLabel*>("L_Info");
    EXPECT_EQ(info->text(), "The active layer is a silk layer: tracks are routed on the copper of side 1 or 2.");
    f.trigger("K1");
    f.moveTo(at(15, 11));
    EXPECT_EQ(info->text(), "Pick a rubber band");
    f.moveTo(at(15, 10));
    f.click(at(15, 10));
    ASSERT_EQ(f.list().size(), 3u) << "the band became a track";
    EXPECT_EQ(f.list()[2].Width, 40) << "the window's 0.4 mm";
    // A click on the routed track takes it back, and the window no longer
    // says it was routed.
    f.moveTo(at(16, 10));
    f.click(at(16, 10));
    ASSERT_EQ(f.list().size(), 2u);
    EXPECT_EQ(info->text(), "Pick a rubber band");
    f.moveTo(at(15, 10));
    f.click(at(15, 10));
    ASSERT_EQ(f.list().size(), 3u);
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
}

// The autorouter tool shows the band under the pointer by selecting its
// pads: no command is offered for them, and keys leave them alone. Select
// all is not offered either: the tool's pick is the only selection it keeps.
TEST(PointerTools, ABandPickedForTheRouterIsNoSelectionForKeysOrCommands)
{
    WindowFixture f;
    LayoutObject& a = addPad(f.list(), at(10, 10), 60);
    addBand(a, addPad(f.list(), at(20, 10), 60));
    f.window().boardView().redraw();
    f.key(Qt::Key_U);
    f.moveTo(at(15, 10));
    ASSERT_EQ(f.selected(), (std::vector<size_t>{0, 1})) << "the band's pads show the pick";
    for (const char* command : {"Lschen1", "Kopieren1", "Rotieren1", "Allesmarkieren1"})
        EXPECT_FALSE(f.action(command).isEnabled()) << command;
    EXPECT_TRUE(f.action("ZoomObjekte1").isEnabled()) << "the view's commands stay";
    f.key(Qt::Key_Right);
    f.key(Qt::Key_F12);
    ASSERT_EQ(f.list().size(), 2u) << "no via twins";
    EXPECT_EQ(std::tuple(f.list()[0].centre(), f.list()[1].centre()), std::tuple(at(10, 10), at(20, 10)));
    EXPECT_FALSE(f.doc().Modified);
    // The next move picks the band again, and a click routes it.
    f.moveTo(at(15, 10.2));
    f.click(at(15, 10.2));
    EXPECT_EQ(f.list().size(), 3u);
}

// A band between two pads on the first of two boards, which is shown.
void bandOnTheFirstOfTwoBoards(WindowFixture& f)
{
    LayoutObject& a = addPad(f.list(), at(10, 10), 60);
    addBand(a, addPad(f.list(), at(20, 10), 60));
    f.addBoards(1);
    f.window().boardTabs().setCurrentIndex(0);
    f.window().boardView().redraw();
}

// What the router and the connect tool select only to show their pick is
// let go wherever the board it is on stops being the one shown or is
// written: left on its board by a tab switch it was deleted by the next
// Delete there (a pad the pointer was nowhere near) and saved as selected,
// and the macro panel's Save took it for the selection.
TEST(PointerTools, APickShownAsSelectedIsLetGoOnAnotherBoardAndBeforeAMacroIsSaved)
{
    WindowFixture f;
    bandOnTheFirstOfTwoBoards(f);
    f.key(Qt::Key_U);
    f.moveTo(at(15, 10));
    ASSERT_EQ(f.selected(), (std::vector<size_t>{0, 1}));
    f.window().boardTabs().setCurrentIndex(1);
    f.key(Qt::Key_S);
    f.window().boardTabs().setCurrentIndex(0);
    EXPECT_TRUE(f.selected().empty());
    f.moveTo(at(40, 40));
    f.key(Qt::Key_Delete);
    EXPECT_EQ(f.list().size(), 2u);

    // The connect tool's pad, the tool kept throughout. (Its button: the
    // router's window may have the keys.)
    f.tool("SB_Connect");
    f.moveTo(at(10, 10));
    ASSERT_EQ(f.selected(), std::vector<size_t>{0});
    f.window().boardTabs().setCurrentIndex(1);
    f.window().boardTabs().setCurrentIndex(0);
    EXPECT_TRUE(f.selected().empty());
    f.moveTo(at(40, 40));
    f.key(Qt::Key_Delete);
    EXPECT_EQ(f.list().size(), 2u);

    f.key(Qt::Key_U);
    f.moveTo(at(15, 10));
    ASSERT_EQ(f.selected(), (std::vector<size_t>{0, 1}));
    f.answers = {Answer::Cancel};
    f.control<QAbstractButton>("B_MakroSpeichern").click();
    ASSERT_EQ(f.questions.size(), 1u) << "nothing is selected: the whole side is offered";
    EXPECT_EQ(f.questions[0].text, "No object is selected.\nSave whole layout as macro?");
    EXPECT_TRUE(f.selected().empty());
}

// The router window's result stays only as long as it is true: undone,
// redone, on another board or with a silk layer active it asks again.
TEST(PointerTools, TheRouterWindowAsksAgainOnceItsResultNoLongerStands)
{
    WindowFixture f;
    bandOnTheFirstOfTwoBoards(f);
    const auto* info = f.window().routeTools().window().findChild<QLabel*>("L_Info");
    f.key(Qt::Key_U);
    const auto route = [&f, info] {
        f.moveTo(at(15, 10));
        f.click(at(15, 10));
        ASSERT_EQ(f.list().size(), 3u);
        ASSERT_EQ(info->text(), "Routed.");
    };
    const auto unroute = [&f] {
        f.moveTo(at(16, 10));
        f.click(at(16, 10));
        ASSERT_EQ(f.list().size(), 2u);
    };
    route();
    f.trigger("Rckgngig1");
    ASSERT_EQ(f.list().size(), 2u);
    EXPECT_EQ(info->text(), "Pick a rubber band");
    f.trigger("Rckgngig1"); // with one step undo undoes itself
    ASSERT_EQ(f.list().size(), 3u);
    EXPECT_EQ(info->text(), "Pick a rubber band");
    unroute();
    route();
    f.window().boardTabs().setCurrentIndex(1);
    EXPECT_EQ(info->text(), "Pick a rubber band");
    f.window().boardTabs().setCurrentIndex(0);
    unroute();
    route();
    f.trigger("B1");
    EXPECT_EQ(info->text(), "The active layer is a silk layer: tracks are routed on the copper of side 1 or 2.");
    f.trigger("K1");
    EXPECT_EQ(info->text(), "Pick a rubber band");
}

// A grouped pad is shown with its group. Neither counts for the commands,
// nor do Del, the arrow keys, F12 or a value typed in the tool panel act on them.
TEST(PointerTools, APadShownForABandIsNoSelectionForKeysOrThePanel)
{
    WindowFixture f;
    for (const double x : {10.0, 15.0})
        addPad(f.list(), at(x, 10), 60).Groups.push_back(1);
    f.window().boardView().redraw();
    f.key(Qt::Key_B);
    f.moveTo(at(10, 10));
    ASSERT_EQ(f.selected(), (std::vector<size_t>{0, 1})) << "shown with its group";
    for (const char* command : {"Lschen1", "Kopieren1", "Rotieren1", "Gruppierungaufheben1"})
        EXPECT_FALSE(f.action(command).isEnabled()) << command;
    for (const Qt::Key key : {Qt::Key_Delete, Qt::Key_Right, Qt::Key_F12})
        f.key(key);
    QTest::keyClick(&f.typeInto("SE_Aussen", "4"), Qt::Key_Return);
    ASSERT_EQ(f.list().size(), 2u) << "no via twins";
    EXPECT_EQ(std::tuple(f.list()[0].centre(), f.list()[0].padOuterRadius(), f.list()[1].padOuterRadius()),
              std::tuple(at(10, 10), 60, 60));
    EXPECT_FALSE(f.doc().Modified);

    // The key let the pad go, yet a click without a move still takes it.
    f.click(at(10, 10));
    addPad(f.list(), at(30, 10), 60);
    f.window().boardView().redraw();
    f.moveTo(at(30, 10));
    f.click(at(30, 10));
    EXPECT_EQ(f.list()[2].Connections.size(), 1u) << "a band from the pad under the pointer";

    // What the user selects is a selection, the pad under the pointer too.
    f.moveTo(at(10, 10));
    f.trigger("Allesmarkieren1");
    EXPECT_TRUE(f.action("Rotieren1").isEnabled());
    std::vector<int32_t> before;
    for (const auto& o : f.list())
        before.push_back(o->centre().x);
    f.key(Qt::Key_Right);
    for (size_t i = 0; i < f.list().size(); ++i)
        EXPECT_GT(f.list()[i].centre().x, before[i]) << i << " moved with the rest";
    f.moveTo(at(20, 20));
    EXPECT_EQ(f.selected(), (std::vector<size_t>{0, 1, 2})) << "leaving the pad keeps it selected";
}

} // namespace
} // namespace kestrel::test
