#include "output/PrintLayout.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kestrel;

TEST(PrintLayout, ScaleBarRescalesTheOffsets)
{
    // bar from, to, offsets before, scale, offsets after
    const std::tuple<int, int, PrintPoint, double, PrintPoint, const char*> rows[] = {
        {10, 20, {1000, -600}, 0.5, {500, -300}, "200 %: twice as large, offsets halved"},
        {10, 1, {4000, -5000}, 10.0, {32000, -32000}, "offsets stay within reach"},
        {10, 0, {100, 0}, 10.0, {1000, 0}, "the bar stops at 10 %"},
    };
    for (const auto& [from, to, before, scale, after, why] : rows) {
        PrintOptions o;
        o.trueScale = false;
        o.scalePosition = from;
        applyScaleChoice(o);
        o.offsetX = before.x, o.offsetY = before.y;
        setScalePosition(o, to);
        EXPECT_DOUBLE_EQ(o.printScale, scale) << why;
        EXPECT_EQ(PrintPoint(o.offsetX, o.offsetY), after) << why;
    }
}

TEST(PrintLayout, CopiesLieOneBoardPlusGapApart)
{
    // mirrored, scale, column, row, origin on a 210 mm page
    const std::tuple<bool, double, int, int, PrintPoint, const char*> rows[] = {
        {false, 1.0, 0, 2, {-200, 300 + 2 * 8500}, "two rows down"},
        {true, 1.0, 1, 0, {10500 + 200 - 10500, 300}, "mirrored: x = 0 mid-page, the next one to the left"},
        {false, 10.0, 4, 0, {-200 - 4 * 10500, 300}, "at 10 % the fifth copy is not pinned onto the fourth"},
    };
    for (const auto& [mirror, scale, column, row, origin, why] : rows) {
        PrintOptions o;
        o.mirror = mirror, o.printScale = scale;
        o.offsetX = -200, o.offsetY = 300, o.tileGap = 500;
        EXPECT_EQ(tileOrigin(o, 210, column, row, 10000, 8000), origin) << why;
    }
}

TEST(PrintLayout, DraggingAndCalibrationLimits)
{
    PrintOptions o;
    // A 210 mm page 420 pixels wide: 50 units a pixel.
    dragPreview(o, 10, 4, 420, 210);
    EXPECT_EQ(PrintPoint(o.offsetX, o.offsetY), PrintPoint(-500, 200)) << "the board follows the mouse";
    dragPreview(o, -100000, 100000, 420, 210);
    EXPECT_EQ(PrintPoint(o.offsetX, o.offsetY), PrintPoint(kPrintCoordLimit, kPrintCoordLimit));
    for (const auto& [x, y, ok] : {std::tuple{0.8, 1.2, true}, {0.79, 1.0, false}, {1.0, 1.2001, false}})
        EXPECT_EQ(calibrationAcceptable(x, y), ok) << x << " " << y;
}

// The printer's calibration stretches x and y each by its own factor; the
// preview is not calibrated. Device pixels may differ per axis too.
TEST(PrintLayout, CalibrationStretchesEachAxisOnItsOwn)
{
    // calibration x, y, pixels per mm x, y, calibrated, mirrored, device point of board (1000, -500) from origin 0
    const std::tuple<double, double, double, double, bool, bool, PrintPoint, const char*> rows[] = {
        {1.0, 1.2, 10, 10, true, false, {100, 60}, "only y stretched"},
        {1.2, 0.8, 10, 10, true, false, {120, 40}, "x stretched, y shrunk"},
        {1.2, 0.8, 10, 20, true, false, {120, 80}, "pixels per mm per axis"},
        {1.2, 0.8, 10, 10, false, false, {100, 50}, "the preview is not calibrated"},
        {0.9, 1.1, 10, 10, true, true, {-90, 55}, "mirrored: x flips"},
    };
    for (const auto& [calX, calY, pxX, pxY, calibrated, mirror, expected, why] : rows) {
        PrintOptions o;
        o.calibrationX = calX, o.calibrationY = calY, o.mirror = mirror;
        const PrintPoint p = pageMapping(o, pxX, pxY, calibrated, {0, 0}).toDevice({1000, -500});
        EXPECT_NEAR(p.x, expected.x, 1e-9) << why;
        EXPECT_NEAR(p.y, expected.y, 1e-9) << why;
    }
}

// Whether a 100 x 80 mm board lies on an A4 page (210 x 297 mm) as printed:
// the page is taller than wide, so a board below 210 mm still shows.
TEST(PrintLayout, BoardOnAnA4Page)
{
    struct Row {
        const char* why;
        int32_t offsetX, offsetY;
        BoardOnPage expected;
        double calibrationY = 1.0;
        int tilesY = 1;
    };
    const Row rows[] = {
        {"at the top-left corner", 0, 0, BoardOnPage::Wholly},
        {"its foot on the page's foot", 0, 21700, BoardOnPage::Wholly},
        {"its top 250 mm down", 0, 25000, BoardOnPage::Partly},
        {"its top at the page's foot", 0, 29700, BoardOnPage::Off},
        {"its left edge 200 mm across", -20000, 0, BoardOnPage::Partly},
        {"its left edge 250 mm across, within the page's height but not its width", -25000, 0, BoardOnPage::Off},
        {"its top 200 mm down, stretched by 1.2 in y to 240 mm", 0, 20000, BoardOnPage::Partly, 1.2},
        {"its top 250 mm down, stretched to 300 mm", 0, 25000, BoardOnPage::Off, 1.2},
        {"the fourth of four copies down runs off the foot", 0, 0, BoardOnPage::Partly, 1.0, 4},
    };
    for (const Row& r : rows) {
        PrintOptions o;
        o.offsetX = r.offsetX, o.offsetY = r.offsetY;
        o.calibrationY = r.calibrationY;
        o.tilesY = r.tilesY;
        EXPECT_EQ(boardOnPage(o, 210, 297, 10000, 8000), r.expected) << r.why;
    }
}
