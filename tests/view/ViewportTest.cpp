#include "view/Viewport.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace kestrel {

inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }
inline void PrintTo(const Pixel& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ") px"; }

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

// A 160 x 100 mm board in a 400 x 300 pixel visible area at zoom 0.1:
// the paint box is 1601 x 1001 pixels, the scroll range 1201 x 701.
struct ViewFixture {
    BoardSettings s;
    Viewport vp{s};
    ViewFixture(Pixel scroll = {0, 0}, PixelSize client = {400, 300}, PixelSize box = {420, 320})
    {
        vp.setClientSize(client);
        vp.setBoxSize(box);
        vp.setScroll(scroll);
    }
};

TEST(Viewport, SetZoomClampsAndSizesThePaintBox)
{
    const std::tuple<double, double, PixelSize> cases[] = {
        {5.0, 1.0, {16001, 10001}},    {inf, 1.0, {16001, 10001}},       {0.001, 0.01, {161, 101}},
        {-3.0, 0.01, {161, 101}},      {std::nan(""), 0.1, {1601, 1001}}, // not a number: nothing changes
        {0.0288125, 0.0288125, {462, 289}},
    };
    for (const auto& [requested, zoom, paint] : cases) {
        ViewFixture f;
        f.vp.setZoom(requested);
        EXPECT_DOUBLE_EQ(f.vp.zoom(), zoom) << requested;
        EXPECT_EQ(f.vp.paintSize(), paint) << requested;
    }
}

TEST(Viewport, ZoomAndCentreCommandsPlaceTheScroll)
{
    using Action = void (*)(Viewport&);
    // From a start scroll: the command, the zoom and the scroll after it.
    const std::tuple<const char*, Pixel, Action, double, Pixel> cases[] = {
        {"zoom keeps the centre (8000, -5000)", {600, 350}, [](Viewport& v) { v.setZoom(0.2); }, 0.2, {1400, 850}},
        {"centre left of the board", {0, 0}, [](Viewport& v) { v.centerView({-5000, 2000}); }, 0.1, {0, 50}},
        {"centre past the board", {0, 0}, [](Viewport& v) { v.centerView({30000, 30000}); }, 0.1, {1201, 701}},
        // (8000 - round(200 / 0.14)) * 0.14, (5000 - round(150 / 0.14)) * 0.14
        {"wheel in about (8000, -5000)", {600, 350}, [](Viewport& v) { v.wheelZoom({800, 500}, 120); }, 0.14,
         {920, 550}},
        {"wheel with the pointer past the right edge: x = 16000", {1201, 350},
         [](Viewport& v) { v.wheelZoom({1650, 500}, 120); }, 0.14, {1841, 550}},
        {"zoom tool frame of 200 x 100 pixels: fitted, centred on its middle", {0, 0},
         [](Viewport& v) { v.zoomToolRelease({1000, -1000}, {3000, -2000}); }, 0.2, {200, 150}},
        {"zoom tool frame 4 pixels wide is a click: in by 2 about the release", {0, 0},
         [](Viewport& v) { v.zoomToolRelease({1000, -1000}, {1040, -1500}); }, 0.2, {8, 150}},
    };
    for (const auto& [name, start, action, zoom, scroll] : cases) {
        ViewFixture f(start);
        action(f.vp);
        EXPECT_DOUBLE_EQ(f.vp.zoom(), zoom) << name;
        EXPECT_EQ(f.vp.scroll(), scroll) << name;
    }
}

TEST(Viewport, ZoomBoardAndZoomToRect)
{
    ViewFixture board({0, 0}, {451, 402}, {471, 422});
    board.vp.zoomBoard();
    EXPECT_DOUBLE_EQ(board.vp.zoom(), 0.0288125);

    ViewFixture f({0, 0}, {450, 400}, {471, 422});
    ASSERT_TRUE(f.vp.zoomToRect({1000, -3000, 5000, -1000}));
    EXPECT_DOUBLE_EQ(f.vp.zoom(), 451.0 / 4000.0);
    EXPECT_EQ(f.vp.scroll(), (Pixel{112, 24}));

    // Narrower or lower than 50 units: neither zoom nor scroll change.
    for (const Rect& r : {Rect{1000, -3000, 1049, -1000}, Rect{1000, -1049, 5000, -1000}}) {
        ViewFixture g({300, 200});
        EXPECT_FALSE(g.vp.zoomToRect(r));
        EXPECT_DOUBLE_EQ(g.vp.zoom(), 0.1);
        EXPECT_EQ(g.vp.scroll(), (Pixel{300, 200}));
    }
    // A board wider than the dialog makes, from a file: a place near its far
    // end is centred, not one 300 mm in.
    ViewFixture wide({0, 0}, {450, 400}, {471, 422});
    wide.s.BoardWidth = 80000;
    ASSERT_TRUE(wide.vp.zoomToRect({77000, -3000, 79000, -1000}));
    EXPECT_NEAR((wide.vp.scroll().x + 225) / wide.vp.zoom(), 78000, 300);

    // A place left of the board (a pad the design check found off it) is
    // shown at the left edge, at its height; one above it at the top edge.
    ViewFixture left({300, 200}, {450, 400}, {471, 422});
    ASSERT_TRUE(left.vp.zoomToRect({-600, -1400, -200, -1000}));
    EXPECT_EQ(left.vp.scroll().x, 0);
    EXPECT_NEAR((left.vp.scroll().y + 200) / left.vp.zoom(), 1200, 20);
    ViewFixture above({300, 200}, {450, 400}, {471, 422});
    ASSERT_TRUE(above.vp.zoomToRect({7000, 600, 7400, 200}));
    EXPECT_EQ(above.vp.scroll().y, 0);
    EXPECT_NEAR((above.vp.scroll().x + 225) / above.vp.zoom(), 7200, 20);

    ViewFixture huge;
    ASSERT_TRUE(huge.vp.zoomToRect({-2147483000, -2147483000, 2147483000, 2147483000}));
    EXPECT_DOUBLE_EQ(huge.vp.zoom(), 0.01);

    ViewFixture damaged; // board sizes from a damaged file
    damaged.s.BoardWidth = -500;
    damaged.s.BoardHeight = 2147483647;
    damaged.vp.zoomBoard();
    EXPECT_GE(damaged.vp.zoom(), kMinZoom);
    EXPECT_LE(damaged.vp.paintSize().height, kMaxViewBoardUnits + 1);
}

TEST(Viewport, UnitedBoundsOfObjectsAndSelection)
{
    ObjectList list;
    Rect r;
    test::addPad(list, {1000, -1000}, 80); // clearance 40
    LayoutObject& pad = test::addPad(list, {3000, -2000}, 50);
    ASSERT_TRUE(unitedBounds(list, false, r));
    EXPECT_EQ(r, (Rect{880, -2090, 3090, -880}));
    EXPECT_FALSE(unitedBounds(list, true, r));
    pad.Selected = 1;
    ASSERT_TRUE(unitedBounds(list, true, r));
    EXPECT_EQ(r, (Rect{2910, -2090, 3090, -1910}));
}

TEST(Viewport, ScrollAtEdge)
{
    const std::tuple<Pixel, Pixel, Pixel> cases[] = {
        {{0, 0}, {395, 100}, {20, 0}},          // right edge
        {{0, 0}, {5, 100}, {0, 0}},             // left edge, nothing to the left
        {{1201, 701}, {1598, 998}, {1201, 701}}, // board ends there
        {{100, 100}, {300, 250}, {100, 100}},   // away from the edges
    };
    for (const auto& [start, pointer, after] : cases) {
        ViewFixture f(start);
        const EdgeScroll e = f.vp.scrollAtEdge(pointer);
        EXPECT_EQ(f.vp.scroll(), after) << pointer.x << "," << pointer.y;
        EXPECT_EQ(e.horizontal, after.x != start.x);
        EXPECT_EQ(e.vertical, after.y != start.y);
    }
}

TEST(Viewport, ScreenBoardMappingAndSnap)
{
    ViewFixture f;
    EXPECT_EQ(f.vp.screenToBoard({100, 50}, false), (Point{1000, -500}));
    EXPECT_EQ(f.vp.screenToBoard({13, 13}, true), (Point{254, -254}));
    EXPECT_EQ(f.vp.boardToScreen({1005, -1015}), (Pixel{100, 102})); // 100.5 -> 100, 101.5 -> 102
    EXPECT_EQ(f.vp.boardRectToScreen({1000, -2000, 3000, -1000}), (PixelRect{100, 100, 300, 200}));

    const std::tuple<Point, double, Point> cases[] = {
        {{-37, -140}, 127, {0, -127}}, {{-37, -140}, 15.875, {-32, -143}},
        {{635, 381}, 254, {508, 508}}, // 2.5 and 1.5 grid steps: ties go to even
        {{1000, -1000}, 0, {1000, -1000}}, {{1000, -1000}, std::nan(""), {1000, -1000}}, // unusable grids
    };
    for (const auto& [p, grid, snapped] : cases)
        EXPECT_EQ(snapPointToGrid(p, grid), snapped) << grid;
}

TEST(Viewport, SanitizeValuesFromFiles)
{
    const std::tuple<double, double, uint32_t, double, double, uint32_t> cases[] = {
        {std::nan(""), std::nan(""), 0, 0.1, 254.0, 1}, {0.0, 0.5, 5, 0.01, 254.0, 1},
        {inf, 1e9, 4, 1.0, 254.0, 4},                   {0.3, 15.875, 3, 0.3, 15.875, 3},
    };
    for (const auto& [zoom, grid, active, zoomAfter, gridAfter, activeAfter] : cases) {
        BoardSettings s;
        std::tie(s.Zoom, s.Grid, s.ActiveLayer, s.ScrollX) = std::make_tuple(zoom, grid, active, -40);
        s.LayerVisible = {0, 7, 0, 0};
        sanitizeViewSettings(s);
        EXPECT_EQ(std::tie(s.Zoom, s.Grid, s.ActiveLayer, s.ScrollX), std::make_tuple(zoomAfter, gridAfter, activeAfter, 0))
            << zoom;
        std::array<uint8_t, 4> visible{0, 1, 0, 0};
        visible[activeAfter - 1] = 1;
        EXPECT_EQ(s.LayerVisible, visible) << zoom;
    }
}

} // namespace
} // namespace kestrel
