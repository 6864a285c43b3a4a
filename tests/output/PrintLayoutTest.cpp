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
