#include "view/MacroPreview.h"

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

TEST(MacroPreview, ScaleFitsTheSmallerAxisInWholePercent)
{
    const struct {
        Rect bounds;
        int w, h;
        double scale;
    } rows[] = {
        {{0, -1000, 2000, 0}, 210, 300, 0.10},    // width limits: 200 / 2000
        {{-300, -300, 0, 0}, 150, 150, 0.47},     // 140 / 300 = 0.4667, rounded per cent
        {{0, -100000, 100000, 0}, 110, 110, 0.01}, // 0.1 % raised to the smallest scale
        {{0, -500, 0, 0}, 200, 110, 0.20},        // no width: only the height counts
        {{0, 0, 0, 0}, 200, 110, 1.00},           // a point: shown at full size
        {{0, -100, 100, 0}, 5, 5, 0.01},          // a box smaller than its margin
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(macroPreviewScale(r.bounds, r.w, r.h), r.scale) << r.w << "x" << r.h;
}

TEST(MacroPreview, DotsAndAreaHeight)
{
    EXPECT_TRUE(macroPreviewShowsDots(0.05)) << "4 x 40 units < 254";
    EXPECT_FALSE(macroPreviewShowsDots(0.03)) << "4 x 67 units >= 254";
    EXPECT_EQ(macroPreviewHeight(150, 1000), 180);
    EXPECT_EQ(macroPreviewHeight(150, 100), 50);
}

} // namespace
