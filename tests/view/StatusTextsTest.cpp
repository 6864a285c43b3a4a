#include "view/StatusTexts.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrel {
namespace {

TEST(StatusTexts, PointerPositionFromTheOriginWithYDownwardsAndBoardSize)
{
    constexpr Language ru = Language::Russian, en = Language::English;
    const std::tuple<Point, Point, bool, Language, const char*, const char*> cases[] = {
        {{1000, -2500}, {1000, -2000}, false, ru, "X: 0 мм", "Y: 5 мм"},
        {{1250, 300}, {0, 0}, false, en, "X: 12.5 mm", "Y: -3 mm"},
        {{2540, -5080}, {0, 0}, true, en, "X: 1 \"", "Y: 2 \""},
    };
    for (const auto& [p, origin, inch, lang, x, y] : cases) {
        const PointerPositionTexts texts = ShowPointerPosition(p, origin, inch, lang);
        EXPECT_EQ(texts.x, x);
        EXPECT_EQ(texts.y, y);
    }
    EXPECT_EQ(ShowBoardSize(16050, 10099, en), "160 x 100 mm");
}

} // namespace
} // namespace kestrel
