#include "view/GridChoice.h"
#include "view/NumberFormat.h"
#include "view/Rulers.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrel {

inline void PrintTo(const RulerTick& t, std::ostream* os)
{
    *os << t.position << (t.major ? " major " : " minor ") << t.label;
}

namespace {

TEST(NumberFormat, GeneralFormatAndGridCaption)
{
    const std::tuple<double, int, int, const char*> cases[] = {
        {0.15875, 8, 3, "0.15875"}, {100, 3, 2, "100"},     {1000, 3, 2, "1E+03"},       {-1.5, 3, 2, "-1.5"},
        {0.000001, 4, 1, "1E-6"},   {9.9996, 4, 1, "10"},
    };
    for (const auto& [value, precision, digits, text] : cases)
        EXPECT_EQ(formatGeneral(value, precision, digits), text) << value;

    const std::tuple<double, Language, const char*> captions[] = {
        {254, Language::Russian, "  2.54 мм"},
        {200, Language::English, "     2 mm"},
    };
    for (const auto& [grid, lang, caption] : captions)
        EXPECT_EQ(gridCaption(grid, lang), caption) << grid;
}

TEST(GridChoice, LinesFollowZoomAndClip)
{
    const Rect wholeBoard{0, -10000, 16000, 0};
    // Grid 254 at zoom 0.01: one pixel is 100 units, 4 pixels >= 254: no grid.
    EXPECT_TRUE(gridLines(16000, 10000, 254, 0.01, wholeBoard, true).vertical.empty());

    const GridLines g = gridLines(16000, 10000, 254, 0.1, wholeBoard, true);
    ASSERT_EQ(g.horizontal.size(), 39u); // trunc(9999 / 254)
    ASSERT_EQ(g.vertical.size(), 62u);   // trunc(15999 / 254)
    EXPECT_EQ(g.horizontal[0], (GridLine{-254, false}));
    EXPECT_EQ(g.horizontal[3], (GridLine{-1016, true}));
    EXPECT_EQ(g.vertical[7], (GridLine{2032, true}));
    EXPECT_FALSE(gridLines(16000, 10000, 254, 0.1, wholeBoard, false).vertical[7].marker);

    // Fractional grids round each line.
    const GridLines fine = gridLines(16000, 10000, 15.875, 0.3, {0, -100, 100, 0}, true);
    ASSERT_GE(fine.vertical.size(), 3u);
    EXPECT_EQ(fine.vertical[2].position, 48);

    // Only lines inside the clip box (widened by one pixel) are returned.
    const GridLines clipped = gridLines(16000, 10000, 254, 0.1, {1000, -3000, 2000, -2000}, true);
    ASSERT_EQ(clipped.vertical.size(), 4u);
    EXPECT_EQ(clipped.vertical.front().position, 1016);
    EXPECT_EQ(clipped.vertical.back().position, 1778);
    ASSERT_EQ(clipped.horizontal.size(), 4u);
    EXPECT_EQ(clipped.horizontal.front().position, -2032);
}

TEST(Rulers, TicksFollowZoomUnitAndOffset)
{
    const double left = horizontalRulerOffset(100, 24, 1000, 0.1); // origin x = 1000, scrolled 100, area at 24
    const double top = verticalRulerOffset(50, 2, -2000, 0.1);     // origin y = -2000, scrolled 50, area at 2
    // What, inch, zoom, extent, offset, pixels from and to, the count of ticks (0: not checked), the index of the
    // tick checked (negative: from the end) and that tick.
    const std::tuple<const char*, bool, double, int32_t, double, int32_t, int32_t, size_t, int, RulerTick> cases[] = {
        {"mm at 0.1: 10 px a step, labels every 10 mm", false, 0.1, 16000, 0, 0, 200, 21, 0, {0, true, "0"}},
        {"mm at 0.5: every step labelled", false, 0.5, 16000, 0, 0, 200, 5, 3, {150, true, "3"}},
        {"below 2 px a step only majors, to the board's end", false, 0.01, 16000, 0, 0, 200, 7, 1, {25, true, "25"}},
        {"inch at 0.1: major every inch", true, 0.1, 16000, 0, 0, 260, 11, 10, {254, true, "1"}},
        {"inch: steps stop at round(16000 / 254) = 63", true, 0.1, 16000, 0, 1590, 1610, 1, 0, {1600, false, ""}},
        {"inch at 0.2: every tenth labelled", true, 0.2, 16000, -200, -1000, 0, 0, -1, {-3, true, "-0.4"}},
        {"horizontal offset puts zero at pixel 24", false, 0.1, 16000, left, 0, 60, 0, 2, {24, true, "0"}},
        {"vertical offset puts zero at pixel 152", false, 0.1, 10000, top, 150, 260, 0, 0, {152, true, "0"}},
        {"steps stop at -round(extent / step)", false, 0.5, 1000, -500, -100, 2000, 21, 0, {0, true, "-10"}},
        {"steps stop at +round(extent / step)", false, 0.5, 1000, -500, -100, 2000, 21, -1, {1000, true, "10"}},
    };
    for (const auto& [what, inch, zoom, extent, offset, fromPx, toPx, count, index, tick] : cases) {
        const auto ticks = rulerTicks(inch, zoom, extent, offset, fromPx, toPx);
        if (count) {
            EXPECT_EQ(ticks.size(), count) << what;
        }
        const size_t at = index < 0 ? ticks.size() - size_t(-index) : size_t(index);
        ASSERT_LT(at, ticks.size()) << what;
        EXPECT_EQ(ticks[at], tick) << what;
    }
}

} // namespace
} // namespace kestrel
