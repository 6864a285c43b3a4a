#include "view/gui/BoardView.h"

#include "support/ShownOnScreen.h"
#include "support/TestData.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace kestrel;

namespace {

const QColor kBoard(255, 250, 180), kBlack(0, 0, 0), kBlue(0, 0, 255);

struct ShownView {
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    BoardView view;

    ShownView()
    {
        view.resize(640, 480);
        view.setDocument(&doc);
        view.show();
        QApplication::processEvents();
    }
    QWidget* child(const char* name) const { return view.findChild<QWidget*>(QString::fromLatin1(name)); }
    QAbstractScrollArea* area() const { return static_cast<QAbstractScrollArea*>(view.scrollBox()); }
    // The widget painted whole, as a repaint of all of it would show it.
    static QImage repainted(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB888); }
    void send(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, QPointF(pos), target->mapToGlobal(QPointF(pos)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
        QApplication::sendEvent(target, &e);
    }
    void wheel(QPoint inViewport, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        wheel(inViewport, QPoint(0, delta), modifiers);
    }
    void wheel(QPoint inViewport, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWheelEvent e(QPointF(inViewport), area()->viewport()->mapToGlobal(QPointF(inViewport)), QPoint(), angle,
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area()->viewport(), &e);
    }
};

} // namespace

// The rule of each is in Viewport's table; here the wheel reaches it.
TEST(BoardView, WheelZoomsAboutThePointerAndShiftWheelScrollsSideways)
{
    ShownView v;
    QScrollBar* h = v.area()->horizontalScrollBar();
    v.wheel({100, 100}, -120, Qt::ShiftModifier);
    EXPECT_EQ(h->value(), 3 * h->singleStep()) << "a notch towards the user scrolls right";
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.1) << "and does not zoom";
    v.wheel({300, 200}, 120);
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.14);

    // A touchpad or a fine wheel sends parts of a notch: they add up to one
    // step, and turning back starts over.
    for (int i = 0; i < 7; ++i)
        v.wheel({300, 200}, 15);
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.14) << "seven eighths of a notch";
    v.wheel({300, 200}, 15);
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.196);
    v.wheel({300, 200}, 60);
    v.wheel({300, 200}, -60);
    v.wheel({300, 200}, 60);
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.196) << "half a notch each way, not adding up";
    // A tilt wheel scrolls sideways without Shift.
    const int before = h->value();
    v.wheel({100, 100}, QPoint(-120, 0));
    EXPECT_EQ(h->value(), before + 3 * h->singleStep());
}

// Zooming and scrolling move the board under a pointer that stays put: the
// position shown follows without the user moving the mouse.
TEST(BoardView, ThePositionShownFollowsZoomAndScroll)
{
    ShownView v;
    std::vector<Point> shown;
    QObject::connect(&v.view, &BoardView::pointerMoved, [&](Point p) { shown.push_back(p); });
    QWidget* box = v.view.paintBox();
    const QPoint at = box->mapFrom(v.area()->viewport(), QPoint(200, 150));
    // From elsewhere: a pointer already there (left by an earlier run in this
    // process) would not move, and no position would be reported.
    QCursor::setPos(box->mapToGlobal(at) + QPoint(7, 5));
    QApplication::processEvents();
    QCursor::setPos(box->mapToGlobal(at));
    QApplication::processEvents();
    ASSERT_FALSE(shown.empty()) << "the pointer is over the board";
    const Point before = shown.back();

    v.wheel({200, 150}, 120);
    QApplication::processEvents();
    EXPECT_NE(shown.back(), before) << "zoomed in, the pointer stands over another point";
    EXPECT_EQ(shown.back(), v.view.screenToBoard(box->mapFromGlobal(QCursor::pos()), true));

    const Point zoomed = shown.back();
    v.area()->horizontalScrollBar()->setValue(v.area()->horizontalScrollBar()->value() + 40);
    QApplication::processEvents();
    EXPECT_GT(shown.back().x, zoomed.x) << "scrolled right";
    EXPECT_EQ(shown.back(), v.view.screenToBoard(box->mapFromGlobal(QCursor::pos()), true));
}

// Each board keeps its own zoom, grid and scroll: switching back restores the
// record, and the scroll bars and the paint box follow it.
TEST(BoardView, BoardSwitchRestoresTheView)
{
    ShownView v;
    v.view.setZoom(0.3);
    v.view.chooseGridTag(15875);
    v.area()->horizontalScrollBar()->setValue(1234);
    v.area()->verticalScrollBar()->setValue(567);
    ASSERT_EQ(v.doc.Working.ScrollY, 567);
    const BoardSettings before = v.doc.Working;

    v.doc.newBoard(Language::English);
    v.view.reloadFromDocument();
    v.doc.activate(0);
    v.view.reloadFromDocument();
    EXPECT_EQ(v.doc.Working, before);
    EXPECT_EQ(v.area()->horizontalScrollBar()->value(), 1234);
    EXPECT_EQ(v.view.paintBox()->pos(), QPoint(-1234, -567));

    v.doc.Working.Zoom = std::nan(""); // damaged, as read from a file
    v.view.reloadFromDocument();
    EXPECT_DOUBLE_EQ(v.doc.Working.Zoom, 0.1) << "made safe on reload";
}

// Zoom objects fits them to the whole view box, whatever zoomed before: a
// board fitted in between leaves no size of its own behind.
TEST(BoardView, ZoomObjectsFitsTheSameAfterZoomBoard)
{
    ShownView v;
    test::addPad(v.doc.activeBoard()->Objects, {2000, -2000}, 90);
    test::addPad(v.doc.activeBoard()->Objects, {6000, -4000}, 90);
    v.view.zoomObjects();
    const double fitted = v.doc.Working.Zoom;
    v.view.zoomBoard();
    ASSERT_NE(v.doc.Working.Zoom, fitted);
    v.view.zoomObjects();
    EXPECT_DOUBLE_EQ(v.doc.Working.Zoom, fitted);
}

TEST(BoardView, DraggingTheOriginMarker)
{
    ShownView v;
    int changed = 0;
    QObject::connect(&v.view, &BoardView::originChanged, [&] { ++changed; });
    QWidget* marker = v.child("K0_Shape");
    const QImage rulerBefore = test::shownOnScreen(v.child("HScalePaintBox"));
    EXPECT_EQ(marker->geometry().center(), QPoint(0, 0)) << "centred on the board corner";
    // To paint-box pixel (52, 27): board (520, -270), snapped (508, -254).
    const QPoint target = marker->mapFrom(v.area()->viewport(), QPoint(52, 27));
    v.send(marker, QEvent::MouseButtonPress, {6, 6}, Qt::LeftButton);
    v.send(marker, QEvent::MouseMove, target, Qt::LeftButton);
    EXPECT_EQ(v.doc.Origin, (Point{0, 0})) << "only the release moves the origin";
    v.send(marker, QEvent::MouseButtonRelease, target, Qt::LeftButton);
    EXPECT_EQ(v.doc.Origin, (Point{508, -254}));
    EXPECT_EQ(marker->geometry().center(), QPoint(51, 25));
    EXPECT_EQ(changed, 1);
    ASSERT_FALSE(test::shownOnScreen(v.child("HScalePaintBox")) == rulerBefore);
    // The rulers count from the new origin at once.
    for (const char* name : {"HScalePaintBox", "VScalePaintbox"}) {
        QWidget* ruler = v.child(name);
        EXPECT_TRUE(test::shownOnScreen(ruler) == ShownView::repainted(ruler)) << name;
    }

    // Outside the edit tool it cannot be dragged, and a press on it reaches
    // the board below, where the tool places a pad or starts a track.
    QWidget* viewport = v.area()->viewport();
    v.view.setOriginDragEnabled(false);
    EXPECT_EQ(viewport->childAt(marker->geometry().center()), v.view.paintBox());
    v.view.setOriginDragEnabled(true);
    EXPECT_EQ(viewport->childAt(marker->geometry().center()), marker);
}

// The view keeps an index of object bounds between paints; after edits it
// was told about, what it paints must match a fresh view of the board.
TEST(BoardView, RepaintsAfterEditsMatchAFreshView)
{
    ShownView v;
    ObjectList& list = *v.doc.currentObjects();
    LayoutObject& moved = test::addPad(list, {1000, -1000}, 200, 3, 1, 0);
    LayoutObject& track = test::addTrack(list, {{500, -2500}, {2500, -2500}}, 100, 1);
    test::addPad(list, {3000, -1000}, 150, 1, 1, 0);
    // Small rectangles: their repaints look objects up in the index.
    const QRect parts[] = {{150, 150, 100, 100}, {230, 30, 60, 120}, {30, 30, 60, 60}, {270, 70, 60, 60}};
    auto grabParts = [&](BoardView& view) {
        std::vector<QImage> shots;
        for (const QRect& r : parts)
            shots.push_back(view.paintBox()->grab(r).toImage());
        return shots;
    };
    grabParts(v.view); // the index is built and used before the edits

    v.view.invalidateObject(moved); // moved far away: both places repaint
    moved.X1 = 2000, moved.Y1 = -2000;
    v.view.invalidateObject(moved);
    track.Points.push_back({2500, -500}); // a corner outside the old extent
    v.view.invalidateBoardRect({500, -2600, 2600, -400});
    v.view.invalidateObject(test::addPad(list, {500, -500}, 100, 3, 1, 0));
    v.view.invalidateObject(list[2]);
    list.remove(2);
    QApplication::processEvents();
    const std::vector<QImage> after = grabParts(v.view);
    EXPECT_EQ(after[0].pixelColor(50, 50), kBlack) << "the pad at its new place";

    ShownView fresh;
    fresh.doc.Working = v.doc.Working;
    for (const auto& o : list)
        fresh.doc.currentObjects()->append(*o);
    fresh.view.reloadFromDocument();
    const std::vector<QImage> expected = grabParts(fresh.view);
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_TRUE(after[i] == expected[i]) << "part " << i;
}

// Many objects at once (a selection of thousands) go through the tiles of
// the visible area: after they move, the view still matches a fresh one.
TEST(BoardView, ManyObjectsRepaintedAtOnceMatchAFreshView)
{
    ShownView v;
    ObjectList& list = *v.doc.currentObjects();
    std::vector<const LayoutObject*> pads;
    for (int32_t i = 0; i < 100; ++i)
        pads.push_back(&test::addPad(list, {300 + (i % 10) * 400, -300 - (i / 10) * 400}, 60, 1, 1, 0));
    const QRect shown = v.view.visibleArea();
    v.view.paintBox()->grab(shown); // the board image is cached before the move
    v.view.invalidateObjects(pads);
    for (auto& o : list)
        o->X1 += 150;
    v.view.invalidateObjects(pads);
    QApplication::processEvents();
    const QImage after = v.view.paintBox()->grab(shown).toImage();
    // Only the tiles marked are painted again on screen: a pad whose tiles
    // were left out would stay at its old place there.
    const QImage afterOnScreen = test::shownOnScreen(v.area()->viewport());

    ShownView fresh;
    fresh.doc.Working = v.doc.Working;
    for (const auto& o : list)
        fresh.doc.currentObjects()->append(*o);
    fresh.view.reloadFromDocument();
    EXPECT_TRUE(after == fresh.view.paintBox()->grab(shown).toImage());
    EXPECT_TRUE(afterOnScreen == test::shownOnScreen(fresh.area()->viewport()));
}

// Scrolling sideways, another unit and the grid switched off show at once,
// not only where something else happens to be repainted.
TEST(BoardView, RulersAndGridFollowScrollUnitAndGridSwitchAtOnce)
{
    ShownView v;
    QWidget* hRuler = v.child("HScalePaintBox");
    QWidget* vRuler = v.child("VScalePaintbox");
    // The corner above the vertical ruler stays empty, though the first
    // numbers and ticks would reach into it. The unit button there is left out.
    QImage own(hRuler->size(), QImage::Format_RGB32);
    hRuler->render(&own, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    const int corner = v.area()->viewport()->mapTo(&v.view, QPoint(0, 0)).x() - hRuler->x();
    ASSERT_GT(corner, 10);
    int marked = 0;
    for (int y = 0; y < own.height(); ++y)
        for (int x = 0; x < corner; ++x)
            marked += own.pixel(x, y) != hRuler->palette().window().color().rgb();
    EXPECT_EQ(marked, 0) << "pixels drawn in the corner";

    const QImage unscrolled = test::shownOnScreen(hRuler);
    v.area()->horizontalScrollBar()->setValue(v.area()->horizontalScrollBar()->value() + 37);
    const QImage scrolled = test::shownOnScreen(hRuler);
    ASSERT_FALSE(scrolled == unscrolled);
    EXPECT_TRUE(scrolled == ShownView::repainted(hRuler)) << "the numbers follow a sideways scroll";

    const QImage mmV = test::shownOnScreen(vRuler);
    v.view.setInchUnit(true);
    for (QWidget* ruler : {hRuler, vRuler})
        EXPECT_TRUE(test::shownOnScreen(ruler) == ShownView::repainted(ruler)) << "in inch at once";
    EXPECT_FALSE(test::shownOnScreen(vRuler) == mmV);

    const QColor grid(192, 192, 192);
    auto gridPixels = [&] {
        const QImage shot = test::shownOnScreen(v.area()->viewport());
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += shot.pixelColor(x, y) == grid;
        return n;
    };
    ASSERT_GT(gridPixels(), 1000);
    v.view.setGridVisible(false);
    EXPECT_EQ(gridPixels(), 0) << "the grid is gone from the screen";
}

namespace {

// Run in a process started with QT_SCALE_FACTOR=2: the number of faults
// found, each named on stderr.
int scaledViewFaults()
{
    int faults = 0;
    auto check = [&](bool ok, const char* what) {
        if (!ok) {
            std::fprintf(stderr, "%s\n", what);
            ++faults;
        }
    };
    ShownView v;
    ObjectList& list = *v.doc.currentObjects();
    test::addPad(list, {1000, -1000}, 200, 3, 1, 0); // logical pixels 80..120 both ways
    test::addBand(test::addPad(list, {2000, -500}, 50, 1, 1, 0), test::addPad(list, {3500, -500}, 50, 1, 1, 0));
    v.view.redraw();
    const QImage shot = v.view.paintBox()->grab().toImage();
    check(v.view.paintBox()->devicePixelRatioF() == 2, "a scaled screen");
    check(shot.width() == 2 * v.view.paintBox()->width(), "painted in device pixels");
    check(shot.pixelColor(160, 160) == kBlack && shot.pixelColor(239, 239) == kBlack, "the pad's corners");
    check(shot.pixelColor(159, 160) == kBoard && shot.pixelColor(240, 239) == kBoard, "nothing beyond the pad");
    int bandRows = 0;
    for (int y = 90; y < 110; ++y)
        bandRows += shot.pixelColor(550, y) == kBlue;
    check(bandRows == 1, "the rubber band is one device pixel wide");

    Point reported{-1, -1};
    QObject::connect(&v.view, &BoardView::pointerMoved, [&](Point p) { reported = p; });
    v.send(v.view.paintBox(), QEvent::MouseMove, {13, 13}, Qt::NoButton, Qt::ControlModifier);
    check(reported == Point{130, -130}, "Ctrl: no snapping, in logical pixels");
    const int areaLeftInRuler = v.area()->viewport()->mapTo(&v.view, QPoint(0, 0)).x() - v.child("HScalePaintBox")->x();
    check(v.child("HMarker")->x() == 13 + areaLeftInRuler, "the ruler marker follows the pointer");
    return faults;
}

// Run in a process started with a fractional QT_SCALE_FACTOR: the number of
// device pixels on screen that a repaint of part of the view changed, though
// nothing on the board did.
int partialRepaintChangedPixels()
{
    ShownView v;
    test::addPad(*v.doc.currentObjects(), {1000, -1000}, 200, 3, 1, 0);
    v.view.redraw();
    QApplication::processEvents();
    QScreen* screen = v.view.screen();
    const QImage before = screen->grabWindow(v.view.winId()).toImage();
    // Edges on odd pixels, which lie between device pixels at 1.5.
    v.view.invalidateBoardRect({510, -2610, 1730, -410});
    v.view.invalidateBoardRect({2030, -1230, 2330, -1030});
    QApplication::processEvents();
    const QImage after = screen->grabWindow(v.view.winId()).toImage();
    if (before.size() != after.size() || before.isNull())
        return -1;
    int changed = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            changed += before.pixel(x, y) != after.pixel(x, y);
    std::fprintf(stderr, "%d pixels changed of %dx%d\n", changed, before.width(), before.height());
    return std::min(changed, 255);
}

} // namespace

// The board is painted into an image of the screen's device pixels, so a
// scaled screen gets sharp figures and the pixel writer too.
TEST(BoardViewDeathTest, ScaledScreensArePaintedAtDeviceResolution)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("QT_SCALE_FACTOR", "2", 1);
    EXPECT_EXIT(std::exit(scaledViewFaults()), testing::ExitedWithCode(0), "");
    unsetenv("QT_SCALE_FACTOR");
}

// At a fractional scale a repainted part must land on the same device pixels
// as the rest of the view: no grid line may jump by a pixel at its edges.
TEST(BoardViewDeathTest, PartialRepaintsAtFractionalScaleMatchTheRest)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("QT_SCALE_FACTOR", "1.5", 1);
    EXPECT_EXIT(std::exit(partialRepaintChangedPixels()), testing::ExitedWithCode(0), "");
    unsetenv("QT_SCALE_FACTOR");
}
