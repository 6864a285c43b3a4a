#include "view/StatusTexts.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrel {
namespace {

TEST(StatusTexts, PointerPositionFromTheOriginWithYDownwardsAndBoardSize)
{
    const std::tuple<Point, Point, bool, const char*, const char*> cases[] = {
        {{1000, -2500}, {1000, -2000}, false, "X: 0 мм", "Y: 5 мм"},
        {{1250, 300}, {0, 0}, false, "X: 12.5 мм", "Y: -3 мм"},
        {{2540, -5080}, {0, 0}, true, "X: 1 \"", "Y: 2 \""},
    };
    for (const auto& [p, origin, inch, x, y] : cases) {
        const PointerPositionTexts texts = ShowPointerPosition(p, origin, inch);
        EXPECT_EQ(texts.x, x);
        EXPECT_EQ(texts.y, y);
    }
    EXPECT_EQ(ShowBoardSize(16050, 10099), "160 x 100 мм");
}

} // namespace
} // namespace kestrel
