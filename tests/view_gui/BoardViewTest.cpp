#include "view/gui/BoardView.h"

#include "support/TestData.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>

using namespace kestrel;

namespace {

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
    QWidget* viewportArea() const { return static_cast<QAbstractScrollArea*>(view.scrollBox())->viewport(); }
    void send(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), type == QEvent::MouseMove ? Qt::NoButton : button,
                      buttons, modifiers);
        QApplication::sendEvent(target, &e);
    }
    void wheel(QPoint inViewport, int delta)
    {
        QWidget* area = viewportArea();
        QWheelEvent e(QPointF(inViewport), area->mapToGlobal(QPointF(inViewport)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area, &e);
    }
};

} // namespace

TEST(BoardView, ControlsCarryTheirNames)
{
    ShownView v;
    for (const char* name : {"PaintBox1", "ScrollBoxEx1", "HScalePaintBox", "VScalePaintbox", "HMarker", "VMarker",
                             "K0_Shape", "SB_Einheit"})
        EXPECT_NE(v.child(name), nullptr) << name;
    EXPECT_EQ(v.view.paintBox()->objectName(), "PaintBox1");
}

TEST(BoardView, PaintBoxFollowsZoom)
{
    ShownView v;
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.1);
    EXPECT_EQ(v.view.paintBox()->size(), QSize(1601, 1001));
    v.view.setZoom(5.0);
    EXPECT_DOUBLE_EQ(v.doc.Working.Zoom, 1.0);
    EXPECT_EQ(v.view.paintBox()->size(), QSize(16001, 10001));
    v.view.zoomBoard();
    const QSize box = v.view.scrollBox()->size();
    EXPECT_DOUBLE_EQ(v.view.zoom(), std::min((box.width() - 10) / 16000.0, (box.height() - 10) / 10000.0));
}

TEST(BoardView, DamagedViewValuesAreMadeSafeOnReload)
{
    ShownView v;
    v.doc.Working.Zoom = std::nan("");
    v.doc.Working.Grid = 0;
    v.doc.Working.ScrollX = -300;
    v.view.reloadFromDocument();
    EXPECT_DOUBLE_EQ(v.doc.Working.Zoom, 0.1);
    EXPECT_DOUBLE_EQ(v.doc.Working.Grid, 254.0);
    EXPECT_EQ(v.doc.Working.ScrollX, 0);
    EXPECT_EQ(v.view.gridCaption(), "  2.54 мм");
}

TEST(BoardView, BoardSwitchRestoresTheView)
{
    ShownView v;
    v.view.setZoom(0.3);
    v.view.chooseGridTag(15875);
    static_cast<QAbstractScrollArea*>(v.view.scrollBox())->horizontalScrollBar()->setValue(1234);
    static_cast<QAbstractScrollArea*>(v.view.scrollBox())->verticalScrollBar()->setValue(567);
    ASSERT_EQ(v.doc.Working.ScrollX, 1234);
    ASSERT_EQ(v.doc.Working.ScrollY, 567);
    const BoardSettings before = v.doc.Working;

    v.doc.newBoard(Language::English); // active now, with its defaults
    v.view.reloadFromDocument();
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.1);
    EXPECT_DOUBLE_EQ(v.view.grid(), 254.0);
    v.view.setZoom(0.05);

    v.doc.activate(0);
    v.view.reloadFromDocument();
    EXPECT_EQ(v.doc.Working, before);
    EXPECT_DOUBLE_EQ(v.view.grid(), 15.875);
    EXPECT_EQ(static_cast<QAbstractScrollArea*>(v.view.scrollBox())->horizontalScrollBar()->value(), 1234);
    EXPECT_EQ(v.view.paintBox()->pos(), QPoint(-1234, -567));
    v.doc.activate(1);
    v.view.reloadFromDocument();
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.05);
}

TEST(BoardView, WheelZooms)
{
    ShownView v;
    int changes = 0;
    QObject::connect(&v.view, &BoardView::viewChanged, [&] { ++changes; });
    v.wheel({100, 100}, 120);
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.14);
    v.wheel({100, 100}, -120);
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.1);
    v.wheel({100, 100}, 0);
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.1) << "an empty wheel step does nothing";
    EXPECT_EQ(changes, 2);
}

TEST(BoardView, UnitButtonCaptionByLanguage)
{
    ShownView v;
    auto* button = static_cast<QToolButton*>(v.child("SB_Einheit"));
    bool reported = false;
    QObject::connect(&v.view, &BoardView::unitChanged, [&](bool inch) { reported = inch; });
    v.view.setLanguage(Language::Russian);
    EXPECT_EQ(button->text(), "M");
    button->click();
    EXPECT_TRUE(v.view.inchUnit());
    EXPECT_TRUE(reported);
    EXPECT_EQ(button->text(), "Z");
    v.view.setLanguage(Language::English);
    EXPECT_EQ(button->text(), "I");
    EXPECT_EQ(button->toolTip(), "Unit of rulers");
    v.view.setInchUnit(false);
    EXPECT_EQ(button->text(), "M");
}

TEST(BoardView, GridChoices)
{
    ShownView v;
    QString caption;
    QObject::connect(&v.view, &BoardView::gridChanged, [&](double, const QString& c) { caption = c; });
    v.view.chooseGridTag(gridPresets()[0].tag);
    EXPECT_DOUBLE_EQ(v.doc.Working.Grid, 15.875);
    EXPECT_EQ(caption, "0.15875 мм");
    v.view.chooseGridTag(200);
    EXPECT_DOUBLE_EQ(v.doc.Working.Grid, 200.0);
    EXPECT_EQ(caption, "     2 мм");
    v.view.chooseGridTag(0);
    EXPECT_DOUBLE_EQ(v.doc.Working.Grid, 200.0) << "an unusable grid is refused";
}

TEST(BoardView, PointerMovesReportSnappedPointsAndMoveTheMarkers)
{
    ShownView v;
    Point reported{-1, -1};
    QObject::connect(&v.view, &BoardView::pointerMoved, [&](Point p) { reported = p; });
    v.send(v.view.paintBox(), QEvent::MouseMove, {13, 13}, Qt::NoButton);
    EXPECT_EQ(reported, (Point{254, -254}));
    v.send(v.view.paintBox(), QEvent::MouseMove, {13, 13}, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(reported, (Point{130, -130})) << "Ctrl: no snapping";

    QWidget* hMarker = v.child("HMarker");
    QWidget* area = v.viewportArea();
    const int areaLeftInRuler = area->mapTo(&v.view, QPoint(0, 0)).x() - v.child("HScalePaintBox")->x();
    EXPECT_TRUE(hMarker->isVisible());
    EXPECT_EQ(hMarker->x(), 13 + areaLeftInRuler);
}

TEST(BoardView, DraggingTheOriginMarker)
{
    ShownView v;
    int changed = 0;
    QObject::connect(&v.view, &BoardView::originChanged, [&] { ++changed; });
    QWidget* marker = v.child("K0_Shape");
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->geometry().center(), QPoint(0, 0)) << "centred on the board corner";
    // Drag to paint-box pixel (52, 27): board (520, -270), snapped (508, -254).
    v.send(marker, QEvent::MouseButtonPress, {6, 6}, Qt::LeftButton);
    v.send(marker, QEvent::MouseMove, marker->mapFrom(v.viewportArea(), QPoint(52, 27)), Qt::LeftButton);
    EXPECT_EQ(v.doc.Origin, (Point{0, 0})) << "only the release moves the origin";
    v.send(marker, QEvent::MouseButtonRelease, marker->mapFrom(v.viewportArea(), QPoint(52, 27)), Qt::LeftButton);
    EXPECT_EQ(v.doc.Origin, (Point{508, -254}));
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(marker->geometry().center(), QPoint(51, 25));
    v.view.resetOrigin();
    EXPECT_EQ(v.doc.Origin, (Point{0, 0}));
    EXPECT_EQ(changed, 2);
}

TEST(BoardView, ZoomTool)
{
    ShownView v;
    v.view.setZoomToolActive(true);
    v.send(v.view.paintBox(), QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    v.send(v.view.paintBox(), QEvent::MouseButtonRelease, {100, 100}, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.2) << "a click zooms in by 2";
    v.send(v.view.paintBox(), QEvent::MouseButtonPress, {300, 300}, Qt::RightButton);
    EXPECT_DOUBLE_EQ(v.view.zoom(), 0.1) << "the right button zooms out";
    // A frame over 100 x 50 board pixels fills the visible area.
    v.send(v.view.paintBox(), QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    v.send(v.view.paintBox(), QEvent::MouseMove, {200, 150}, Qt::LeftButton);
    v.send(v.view.paintBox(), QEvent::MouseButtonRelease, {200, 150}, Qt::LeftButton);
    const QSize client = v.viewportArea()->size();
    EXPECT_DOUBLE_EQ(v.view.zoom(), std::min(client.width() / 1000.0, client.height() / 500.0));
}

TEST(BoardView, ScrollsAtTheEdge)
{
    ShownView v;
    const int width = v.viewportArea()->width();
    EXPECT_TRUE(v.view.scrollAtEdge({width - 3, 100}));
    EXPECT_EQ(v.doc.Working.ScrollX, 20);
    EXPECT_EQ(v.view.paintBox()->x(), -20);
    EXPECT_FALSE(v.view.scrollAtEdge({200, 100}));
}

TEST(BoardView, PaintsTheBoardAndHonoursSuspension)
{
    ShownView v;
    test::addPad(*v.doc.currentObjects(), {1000, -1000}, 200, 3, 1, 0);
    v.view.redraw();
    QImage shot = v.view.paintBox()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(100, 100), QColor(0, 0, 0)) << "the pad";
    EXPECT_EQ(shot.pixelColor(130, 70), QColor(255, 250, 180)) << "the board";

    v.view.setPaintSuspended(true);
    shot = v.view.paintBox()->grab().toImage();
    EXPECT_NE(shot.pixelColor(130, 70), QColor(255, 250, 180)) << "nothing painted while suspended";
    v.view.setPaintSuspended(false);
    shot = v.view.paintBox()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(130, 70), QColor(255, 250, 180));
}

// The view keeps an index of object bounds between paints; after edits it
// was told about, what it paints must match a fresh paint of the board.
TEST(BoardView, RepaintsAfterEditsMatchAFreshPaint)
{
    ShownView v;
    ObjectList& list = *v.doc.currentObjects();
    LayoutObject& moved = test::addPad(list, {1000, -1000}, 200, 3, 1, 0);
    LayoutObject& track = test::addTrack(list, {{500, -2500}, {2500, -2500}}, 100, 1);
    test::addPad(list, {3000, -1000}, 150, 1, 1, 0);
    v.view.redraw();
    ASSERT_EQ(v.view.paintBox()->grab().toImage().pixelColor(100, 100), QColor(0, 0, 0));

    // Small rectangles: their repaints look objects up in the index.
    const QRect parts[] = {{150, 150, 100, 100}, {230, 30, 60, 120}, {30, 30, 60, 60}, {270, 70, 60, 60}};
    auto grabParts = [&](BoardView& view) {
        std::vector<QImage> shots;
        for (const QRect& r : parts)
            shots.push_back(view.paintBox()->grab(r).toImage());
        return shots;
    };
    auto freshPaint = [&] {
        LayoutDocument copy = LayoutDocument::withFirstBoard(Language::English);
        copy.Working = v.doc.Working;
        for (const auto& o : list)
            copy.currentObjects()->append(*o);
        BoardView fresh;
        fresh.resize(640, 480);
        fresh.setDocument(&copy);
        fresh.show();
        QApplication::processEvents();
        return grabParts(fresh);
    };
    grabParts(v.view); // the index is built and used before the edits

    // Moved far from where it was: both places are invalidated.
    v.view.invalidateObject(moved);
    moved.X1 = 2000;
    moved.Y1 = -2000;
    v.view.invalidateObject(moved);
    // A track gains a corner outside its old extent.
    track.Points.push_back({2500, -500});
    v.view.invalidateBoardRect({500, -2600, 2600, -400});
    // An object added and the last one removed.
    v.view.invalidateObject(test::addPad(list, {500, -500}, 100, 3, 1, 0));
    v.view.invalidateObject(list[2]);
    list.remove(2);
    QApplication::processEvents();
    const std::vector<QImage> after = grabParts(v.view);
    EXPECT_EQ(after[0].pixelColor(50, 50), QColor(0, 0, 0)) << "the pad at its new place";
    EXPECT_EQ(after[1].pixelColor(20, 70), QColor(0, 0, 0)) << "the track's new corner";
    const std::vector<QImage> expected = freshPaint();
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_TRUE(after[i] == expected[i]) << "part " << i;
}
