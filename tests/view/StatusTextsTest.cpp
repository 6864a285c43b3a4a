#include "view/StatusTexts.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(StatusTexts, PointerPositionIsMeasuredFromTheOriginWithYDownwards)
{
    const auto mm = ShowPointerPosition({1000, -2500}, {1000, -2000}, false);
    EXPECT_EQ(mm.x, "X: 0 мм");
    EXPECT_EQ(mm.y, "Y: 5 мм");
    const auto above = ShowPointerPosition({1250, 300}, {0, 0}, false);
    EXPECT_EQ(above.x, "X: 12.5 мм");
    EXPECT_EQ(above.y, "Y: -3 мм");
    const auto inch = ShowPointerPosition({2540, -5080}, {0, 0}, true);
    EXPECT_EQ(inch.x, "X: 1 \"");
    EXPECT_EQ(inch.y, "Y: 2 \"");
}

TEST(StatusTexts, BoardSizeShowsWholeMillimetres)
{
    EXPECT_EQ(ShowBoardSize(16050, 10000), "160 x 100 мм");
    EXPECT_EQ(ShowBoardSize(1099, 30000), "10 x 300 мм");
}

} // namespace
} // namespace kestrel
