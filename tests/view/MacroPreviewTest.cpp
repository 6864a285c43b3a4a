#include "view/MacroPreview.h"

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

TEST(MacroPreview, ScaleFitsTheSmallerAxis)
{
    const struct {
        Rect bounds;
        int w, h;
        double scale;
    } rows[] = {
        {{0, -1000, 2000, 0}, 210, 300, 0.10},      // width limits: 200 / 2000
        {{-300, -300, 0, 0}, 150, 150, 0.46},       // 140 / 300 = 0.4667, cut to whole per cent
        {{0, -500, 500, 0}, 200, 300, 0.38},        // 190 / 500 = 0.38
        {{0, -500, 5000, 0}, 200, 300, 0.038},      // under 10 %: the fitting scale, where 4 % ran off the box
        {{0, -100000, 100000, 0}, 110, 110, 0.001}, // and under 1 %
        {{0, -500, 0, 0}, 200, 110, 0.20},          // no width: only the height counts
        {{0, 0, 0, 0}, 200, 110, 1.00},             // a point: shown at full size
        {{0, -100, 100, 0}, 5, 5, 0.01},            // a box smaller than its margin
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(macroPreviewScale(r.bounds, r.w, r.h), r.scale) << r.w << "x" << r.h;
    for (int32_t width = 200; width <= 30000; width += 7) {
        const double scale = macroPreviewScale({0, -100, width, 0}, 200, 2000);
        EXPECT_LE((width + 10) * scale, 200.0) << width;
        EXPECT_GT((width + 10) * scale, 170.0) << width << ": the box is filled";
    }
}

TEST(MacroPreview, DotsAndAreaHeight)
{
    EXPECT_TRUE(macroPreviewShowsDots(0.05)) << "4 x 40 units < 254";
    EXPECT_FALSE(macroPreviewShowsDots(0.03)) << "4 x 67 units >= 254";
    EXPECT_EQ(macroPreviewHeight(150, 1000), 180);
    EXPECT_EQ(macroPreviewHeight(150, 100), 50);
}

} // namespace
