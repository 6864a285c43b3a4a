#include "output/PrintLayout.h"

#include <gtest/gtest.h>

using namespace kestrel;

TEST(PrintLayout, ScaleBarRescalesTheOffsets)
{
    struct Row {
        int from, to;
        int32_t x, y;
        double scale;
        int32_t newX, newY;
        const char* why;
    } rows[] = {
        {10, 20, 1000, -600, 0.5, 500, -300, "200 %: twice as large, offsets halved"},
        {10, 1, 1000, -600, 10.0, 10000, -6000, "10 %"},
        {10, 1, 4000, -5000, 10.0, 32000, -32000, "offsets stay within reach"},
        {20, 10, 500, 0, 1.0, 1000, 0, "back to 100 %"},
        {10, 0, 100, 0, 10.0, 1000, 0, "the bar stops at 10 %"},
    };
    for (const Row& r : rows) {
        PrintOptions o;
        o.trueScale = false;
        o.scalePosition = r.from;
        applyScaleChoice(o);
        o.offsetX = r.x;
        o.offsetY = r.y;
        setScalePosition(o, r.to);
        EXPECT_DOUBLE_EQ(o.printScale, r.scale) << r.why;
        EXPECT_EQ(o.offsetX, r.newX) << r.why;
        EXPECT_EQ(o.offsetY, r.newY) << r.why;
    }
    EXPECT_EQ(scalePercent(20), 200);
}

TEST(PrintLayout, TrueScaleIgnoresTheBar)
{
    PrintOptions o;
    o.scalePosition = 40;
    o.trueScale = false;
    applyScaleChoice(o);
    EXPECT_DOUBLE_EQ(o.effectiveScale(), 0.25);
    o.trueScale = true;
    applyScaleChoice(o);
    EXPECT_DOUBLE_EQ(o.printScale, 1.0);
    EXPECT_DOUBLE_EQ(o.effectiveScale(), 1.0);
}

TEST(PrintLayout, CopiesLieOneBoardPlusGapApart)
{
    struct Row {
        bool mirror;
        double scale;
        int column, row;
        PrintPoint origin;
        const char* why;
    } rows[] = {
        {false, 1.0, 0, 0, {-200, 300}, "the first copy at the offsets"},
        {false, 1.0, 1, 0, {-200 - 10500, 300}, "the next one 105 mm to the right"},
        {false, 1.0, 0, 2, {-200, 300 + 2 * 8500}, "two rows down"},
        {true, 1.0, 0, 0, {10500 + 200, 300}, "mirrored: x = 0 at the middle of a 210 mm page"},
        {true, 1.0, 1, 0, {10500 + 200 - 10500, 300}, "mirrored: the next one to the left"},
        {false, 10.0, 4, 0, {-200 - 4 * 10500, 300}, "at 10 % the fifth copy is not pinned onto the fourth"},
    };
    for (const Row& r : rows) {
        PrintOptions o;
        o.mirror = r.mirror;
        o.printScale = r.scale;
        o.offsetX = -200;
        o.offsetY = 300;
        o.tileGap = 500;
        EXPECT_EQ(tileOrigin(o, 210, r.column, r.row, 10000, 8000), r.origin) << r.why;
    }
}

TEST(PrintLayout, MappingToDevicePixels)
{
    struct Row {
        bool mirror;
        double scale, calX, calY;
        bool calibrated;
        PrintPoint board, device;
        const char* why;
    } rows[] = {
        {false, 1.0, 1.0, 1.0, true, {10000, -5000}, {1000, 500}, "1000 units are 1 cm"},
        {false, 1.0, 1.02, 0.98, true, {10000, -5000}, {1020, 490}, "calibration stretches the printout"},
        {false, 1.0, 1.02, 0.98, false, {10000, -5000}, {1000, 500}, "not the preview"},
        {false, 0.5, 1.0, 1.0, true, {10000, -5000}, {2000, 1000}, "200 %"},
        {true, 1.0, 1.0, 1.0, true, {10000, -5000}, {-1000, 500}, "mirrored left to right"},
    };
    for (const Row& r : rows) {
        PrintOptions o;
        o.mirror = r.mirror;
        o.trueScale = r.scale == 1.0;
        o.printScale = r.scale;
        o.calibrationX = r.calX;
        o.calibrationY = r.calY;
        const PrintPoint d = pageMapping(o, 10, 10, r.calibrated, {0, 0}).toDevice(r.board);
        EXPECT_NEAR(d.x, r.device.x, 1e-9) << r.why;
        EXPECT_NEAR(d.y, r.device.y, 1e-9) << r.why;
    }
}

TEST(PrintLayout, DraggingAndCalibrationLimits)
{
    PrintOptions o;
    // A 210 mm page 420 pixels wide: 50 units a pixel.
    dragPreview(o, 10, 4, 420, 210);
    EXPECT_EQ(o.offsetX, -500) << "dragged right, the board moves right";
    EXPECT_EQ(o.offsetY, 200) << "dragged down, it moves down";
    o.printScale = 0.5;
    dragPreview(o, -10, 0, 420, 210);
    EXPECT_EQ(o.offsetX, -250);
    dragPreview(o, -100000, 100000, 420, 210);
    EXPECT_EQ(o.offsetX, kPrintCoordLimit);
    EXPECT_EQ(o.offsetY, kPrintCoordLimit);

    const std::tuple<double, double, bool> rows[] = {
        {0.8, 1.2, true}, {1.0, 1.0, true}, {0.79, 1.0, false}, {1.0, 1.2001, false}, {0.0, 0.0, false},
    };
    for (const auto& [x, y, ok] : rows)
        EXPECT_EQ(calibrationAcceptable(x, y), ok) << x << " " << y;
}
