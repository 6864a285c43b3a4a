#include "view/MacroPreview.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kestrel;

namespace {

TEST(MacroPreview, ScaleFitsTheSmallerAxis)
{
    // The bounds shown, the box's width and height, and the scale.
    const std::tuple<Rect, int, int, double> rows[] = {
        {{0, -1000, 2000, 0}, 210, 300, 0.10},      // width limits: 200 / 2000
        {{-300, -300, 0, 0}, 150, 150, 0.46},       // 140 / 300 = 0.4667, cut to whole per cent
        {{0, -500, 5000, 0}, 200, 300, 0.038},      // under 10 %: the fitting scale, where 4 % ran off the box
        {{0, -100000, 100000, 0}, 110, 110, 0.001}, // and under 1 %
        {{0, -500, 0, 0}, 200, 110, 0.20},          // no width: only the height counts
        {{0, 0, 0, 0}, 200, 110, 1.00},             // a point: shown at full size
        {{0, -100, 100, 0}, 5, 5, 0.01},            // a box smaller than its margin
    };
    for (const auto& [bounds, w, h, scale] : rows)
        EXPECT_DOUBLE_EQ(macroPreviewScale(bounds, w, h), scale) << w << "x" << h;
}

TEST(MacroPreview, DotsAndAreaHeight)
{
    EXPECT_TRUE(macroPreviewShowsDots(0.05)) << "4 x 40 units < 254";
    EXPECT_FALSE(macroPreviewShowsDots(0.03)) << "4 x 67 units >= 254";
    EXPECT_EQ(macroPreviewHeight(150, 1000), 180);
    EXPECT_EQ(macroPreviewHeight(150, 100), 50);
}

} // namespace
