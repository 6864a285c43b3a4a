#include "view/StatusTexts.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(StatusTexts, GeneralFormatKeepsSignificantDigitsWithoutTrailingZeros)
{
    struct Case {
        double value;
        int precision;
        const char* text;
    };
    for (const Case& c : {Case{0, 4, "0"}, Case{5, 4, "5"}, Case{-5, 4, "-5"}, Case{160.5, 4, "160.5"},
                          Case{12.345, 4, "12.35"}, Case{0.0254, 4, "0.0254"}, Case{2.54, 8, "2.54"},
                          Case{0.15875, 8, "0.15875"}, Case{9.99996, 4, "10"}, Case{1234.4, 4, "1234"},
                          Case{12346, 4, "1.235E+4"}, Case{0.000001, 4, "1E-6"}, Case{-0.00001, 4, "-0.00001"},
                          Case{-0.0000001, 4, "-1E-7"}}) {
        EXPECT_EQ(formatGeneral(c.value, c.precision, 1), c.text) << c.value;
    }
}

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
