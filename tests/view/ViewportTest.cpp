#include "view/Viewport.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kestrel;

namespace {

// A 160 x 100 mm board in a 400 x 300 pixel visible area at zoom 0.1:
// the paint box is 1601 x 1001 pixels, the scroll range 1201 x 701.
struct ViewFixture {
    BoardSettings s;
    Viewport vp{s};
    ViewFixture(PixelSize client = {400, 300}, PixelSize box = {420, 320})
    {
        vp.setClientSize(client);
        vp.setBoxSize(box);
    }
};

} // namespace

TEST(Viewport, SetZoomClampsAndSizesThePaintBox)
{
    struct Case {
        double requested, zoom;
        PixelSize paint;
    } cases[] = {
        {5.0, 1.0, {16001, 10001}},
        {0.001, 0.01, {161, 101}},
        {0.25, 0.25, {4001, 2501}},
        {0.0288125, 0.0288125, {462, 289}},
        {-3.0, 0.01, {161, 101}},
        {std::numeric_limits<double>::infinity(), 1.0, {16001, 10001}},
    };
    for (const Case& c : cases) {
        ViewFixture f;
        f.vp.setZoom(c.requested);
        EXPECT_DOUBLE_EQ(f.vp.zoom(), c.zoom) << c.requested;
        EXPECT_EQ(f.vp.paintSize(), c.paint) << c.requested;
    }
    ViewFixture f;
    f.vp.setZoom(std::nan(""));
    EXPECT_DOUBLE_EQ(f.vp.zoom(), 0.1) << "a zoom that is not a number changes nothing";
}

TEST(Viewport, SetZoomKeepsTheCentreOfTheVisibleArea)
{
    ViewFixture f;
    f.vp.setScroll({600, 350}); // centre: board point (8000, -5000)
    f.vp.setZoom(0.2);
    EXPECT_EQ(f.vp.scroll(), (Pixel{1400, 850}));
    f.vp.setZoom(0.1);
    EXPECT_EQ(f.vp.scroll(), (Pixel{600, 350}));
    EXPECT_EQ(f.vp.scrollStep(), 20);
}

TEST(Viewport, CentreIsLimitedTo30000Units)
{
    ViewFixture f;
    f.s.BoardWidth = f.s.BoardHeight = 100000;
    f.s.Zoom = 1.0;
    f.vp.setScroll({50000, 50000});
    f.vp.setZoom(1.0);
    // centre (30000, 30000) - half the visible area
    EXPECT_EQ(f.vp.scroll(), (Pixel{29800, 29850}));
}

TEST(Viewport, CenterViewClampsToTheScrollRange)
{
    struct Case {
        Point downward;
        Pixel scroll;
    } cases[] = {
        {{8000, 5000}, {600, 350}},
        {{0, 0}, {0, 0}},
        {{16000, 10000}, {1201, 701}},
        {{-5000, 2000}, {0, 50}},
        {{30000, 30000}, {1201, 701}},
    };
    for (const Case& c : cases) {
        ViewFixture f;
        f.vp.centerView(c.downward);
        EXPECT_EQ(f.vp.scroll(), c.scroll) << c.downward.x << "," << c.downward.y;
    }
}

TEST(Viewport, ZoomBoardFitsTheScrollBox)
{
    ViewFixture f({451, 402}, {471, 422});
    f.vp.zoomBoard();
    EXPECT_DOUBLE_EQ(f.vp.zoom(), 0.0288125);
    EXPECT_EQ(f.vp.scroll(), (Pixel{0, 0}));
}

TEST(Viewport, ZoomToRect)
{
    ViewFixture f({450, 400}, {471, 422});
    ASSERT_TRUE(f.vp.zoomToRect({1000, -3000, 5000, -1000}));
    EXPECT_DOUBLE_EQ(f.vp.zoom(), 451.0 / 4000.0);
    EXPECT_EQ(f.vp.scroll(), (Pixel{112, 24}));

    // Narrower or lower than 50 units: neither zoom nor scroll change.
    for (const Rect& r : {Rect{1000, -3000, 1049, -1000}, Rect{1000, -1049, 5000, -1000}, Rect{7, -7, 7, -7}}) {
        ViewFixture g;
        g.vp.setScroll({300, 200});
        EXPECT_FALSE(g.vp.zoomToRect(r));
        EXPECT_DOUBLE_EQ(g.vp.zoom(), 0.1);
        EXPECT_EQ(g.vp.scroll(), (Pixel{300, 200}));
    }
}

TEST(Viewport, ZoomToRectSurvivesExtremeCoordinates)
{
    ViewFixture f;
    ASSERT_TRUE(f.vp.zoomToRect({-2147483000, -2147483000, 2147483000, 2147483000}));
    EXPECT_DOUBLE_EQ(f.vp.zoom(), 0.01);
    EXPECT_GE(f.vp.scroll().x, 0);
}

TEST(Viewport, UnitedBoundsOfObjectsAndSelection)
{
    ObjectList list;
    Rect r;
    EXPECT_FALSE(unitedBounds(list, false, r));
    test::addPad(list, {1000, -1000}, 80).Clearance = 0;
    LayoutObject& pad = test::addPad(list, {3000, -2000}, 50);
    pad.Clearance = 0;
    ASSERT_TRUE(unitedBounds(list, false, r));
    EXPECT_EQ(r, (Rect{920, -2050, 3050, -920}));
    EXPECT_FALSE(unitedBounds(list, true, r));
    pad.Selected = 1;
    ASSERT_TRUE(unitedBounds(list, true, r));
    EXPECT_EQ(r, (Rect{2950, -2050, 3050, -1950}));
}

TEST(Viewport, WheelZoomsAboutThePointer)
{
    {
        ViewFixture f;
        f.vp.setScroll({600, 350});
        f.vp.wheelZoom({800, 500}, 120); // board point (8000, -5000)
        EXPECT_DOUBLE_EQ(f.vp.zoom(), 0.14);
        // (8000 - round(200 / 0.14)) * 0.14, (5000 - round(150 / 0.14)) * 0.14
        EXPECT_EQ(f.vp.scroll(), (Pixel{920, 550}));
    }
    {
        // Beyond the right edge of the board: the nearest edge point, x = 16000.
        ViewFixture f;
        f.vp.setScroll({1201, 350});
        f.vp.wheelZoom({1650, 500}, 120);
        EXPECT_EQ(f.vp.scroll(), (Pixel{1841, 550}));
    }
    {
        // Above the top edge: y becomes 0 and the view goes to the top.
        ViewFixture f;
        f.vp.setScroll({600, 350});
        f.vp.wheelZoom({800, -40}, 120);
        EXPECT_EQ(f.vp.scroll(), (Pixel{920, 0}));
    }
    {
        ViewFixture f;
        f.vp.setScroll({600, 350});
        f.vp.wheelZoom({0, 0}, -120); // towards the user: zoom out, centre kept
        EXPECT_DOUBLE_EQ(f.vp.zoom(), 0.1 / 1.4);
        EXPECT_EQ(f.vp.scroll(), (Pixel{371, 207}));
    }
}

TEST(Viewport, ZoomToolFramesAndClicks)
{
    struct Case {
        Point a, b;
        double zoom;
        Pixel scroll;
    } cases[] = {
        // a frame of 200 x 100 pixels: fitted, centred on its middle
        {{1000, -1000}, {3000, -2000}, 0.2, {200, 150}},
        // 4 pixels wide counts as a click: zoom in by 2 about the release point
        {{1000, -1000}, {1040, -1500}, 0.2, {8, 150}},
        // a click outside the board zooms about the nearest board point
        {{1000, -1000}, {1000, -1000}, 0.2, {0, 50}},
    };
    for (const Case& c : cases) {
        ViewFixture f;
        f.vp.zoomToolRelease(c.a, c.b);
        EXPECT_DOUBLE_EQ(f.vp.zoom(), c.zoom);
        EXPECT_EQ(f.vp.scroll(), c.scroll) << c.b.x << "," << c.b.y;
    }
    ViewFixture f;
    f.vp.zoomToolOut();
    EXPECT_DOUBLE_EQ(f.vp.zoom(), 0.05);
}

TEST(Viewport, ScrollAtEdge)
{
    struct Case {
        Pixel start, pointer, after;
        bool horizontal, vertical;
    } cases[] = {
        {{0, 0}, {395, 100}, {20, 0}, true, false},      // right edge
        {{0, 0}, {5, 100}, {0, 0}, false, false},        // left edge, nothing to the left
        {{100, 100}, {105, 150}, {80, 100}, true, false}, // left edge
        {{100, 100}, {300, 395}, {100, 120}, false, true}, // bottom edge
        {{100, 100}, {300, 103}, {100, 80}, false, true},  // top edge
        {{1201, 701}, {1598, 998}, {1201, 701}, false, false}, // board ends there
        {{100, 100}, {300, 250}, {100, 100}, false, false},    // away from the edges
    };
    for (const Case& c : cases) {
        ViewFixture f;
        f.vp.setScroll(c.start);
        const EdgeScroll e = f.vp.scrollAtEdge(c.pointer);
        EXPECT_EQ(f.vp.scroll(), c.after) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(e.horizontal, c.horizontal);
        EXPECT_EQ(e.vertical, c.vertical);
    }
}

TEST(Viewport, ScreenAndBoardConversions)
{
    ViewFixture f;
    EXPECT_EQ(f.vp.screenToBoard({100, 50}, false), (Point{1000, -500}));
    EXPECT_EQ(f.vp.screenToBoard({13, 13}, true), (Point{254, -254}));
    EXPECT_EQ(f.vp.boardToScreen({1000, -500}), (Pixel{100, 50}));
    EXPECT_EQ(f.vp.boardToScreen({1005, -1015}), (Pixel{100, 102})); // 100.5 -> 100, 101.5 -> 102
    EXPECT_EQ(f.vp.boardRectToScreen({1000, -2000, 3000, -1000}), (PixelRect{100, 100, 300, 200}));
}

TEST(Viewport, SnapToGrid)
{
    struct Case {
        Point p;
        double grid;
        Point snapped;
    } cases[] = {
        {{-37, -140}, 127, {0, -127}},
        {{-37, -140}, 15.875, {-32, -143}},
        {{635, 381}, 254, {508, 508}},   // 2.5 and 1.5 grid steps: ties go to even
        {{1000, -1000}, 254, {1016, -1016}},
        {{1000, -1000}, 0, {1000, -1000}}, // an unusable grid leaves points alone
        {{1000, -1000}, std::nan(""), {1000, -1000}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(snapPointToGrid(c.p, c.grid), c.snapped) << c.grid;
}

TEST(Viewport, InvalidationRectangles)
{
    ViewFixture f;
    LayoutObject pad = makePad({1000, -1000}, 80, 1, 1, 30);
    pad.Clearance = 40;
    EXPECT_EQ(f.vp.invalidationRect(pad), (PixelRect{83, 83, 117, 117}));
    LayoutObject zone = makeZone(200, 1);
    zone.Points = {{1000, -1000}, {2000, -1000}, {2000, -2000}};
    // bounding rect grown by width/2 = 100: (900..2100) -> 90..210; margin round(200 * 0.1) + 2
    EXPECT_EQ(f.vp.invalidationRect(zone), (PixelRect{68, 68, 232, 232}));
}

TEST(Viewport, SanitizeValuesFromFiles)
{
    struct Case {
        double zoom, grid;
        uint32_t activeLayer;
        double zoomAfter, gridAfter;
        uint32_t activeAfter;
    } cases[] = {
        {std::nan(""), std::nan(""), 0, 0.1, 254.0, 1},
        {0.0, 0.0, 5, 0.01, 254.0, 1},
        {5.0, -5.0, 3, 1.0, 254.0, 3},
        {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(), 4, 1.0, 254.0, 4},
        {0.05, 1e9, 2, 0.05, 254.0, 2},
        {0.05, 0.5, 2, 0.05, 254.0, 2},
        {0.3, 15.875, 1, 0.3, 15.875, 1},
    };
    for (const Case& c : cases) {
        BoardSettings s;
        s.Zoom = c.zoom;
        s.Grid = c.grid;
        s.ActiveLayer = c.activeLayer;
        sanitizeViewSettings(s);
        EXPECT_DOUBLE_EQ(s.Zoom, c.zoomAfter);
        EXPECT_DOUBLE_EQ(s.Grid, c.gridAfter);
        EXPECT_EQ(s.ActiveLayer, c.activeAfter);
    }
    BoardSettings s;
    s.ActiveLayer = 3;
    s.LayerVisible = {0, 7, 0, 0};
    s.ScrollX = -40;
    sanitizeViewSettings(s);
    EXPECT_EQ(s.LayerVisible, (std::array<uint8_t, 4>{0, 1, 1, 0})) << "the active layer is always visible";
    EXPECT_EQ(s.ScrollX, 0);
}

TEST(Viewport, DamagedBoardSizeKeepsArithmeticFinite)
{
    BoardSettings s;
    s.BoardWidth = -500;
    s.BoardHeight = 2147483647;
    Viewport vp(s);
    vp.setClientSize({400, 300});
    vp.setBoxSize({420, 320});
    vp.zoomBoard();
    EXPECT_GE(vp.zoom(), kMinZoom);
    EXPECT_GT(vp.paintSize().width, 0);
    EXPECT_LE(vp.paintSize().height, kMaxViewBoardUnits + 1);
}
