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
        {0.000001, 4, 1, "1E-6"},   {9.9996, 4, 1, "10"},   {123.456, 4, 1, "123.5"},    {0.00123, 4, 1, "0.00123"},
        {0, 4, 1, "0"},
    };
    for (const auto& [value, precision, digits, text] : cases)
        EXPECT_EQ(formatGeneral(value, precision, digits), text) << value;

    const std::pair<double, const char*> captions[] = {
        {254, "  2.54 мм"}, {200, "     2 мм"}, {12.345678, "0.12345678 мм"}, {9999, " 99.99 мм"},
    };
    for (const auto& [grid, caption] : captions)
        EXPECT_EQ(gridCaption(grid), caption) << grid;
}

TEST(GridChoice, MenuTags)
{
    EXPECT_DOUBLE_EQ(gridFromTag(10000), 10000.0); // units up to 10000, thousandths above
    // Each predefined caption names the grid its tag stands for.
    for (const GridPreset& p : gridPresets()) {
        const std::string mm = formatGeneral(gridFromTag(p.tag) / 100.0, 8, 3) + " мм";
        EXPECT_NE(std::string(p.caption).find(mm), std::string::npos) << p.caption;
    }
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

    // Fractional grids round each line; too dense at zoom 0.1, drawn at 0.3.
    EXPECT_TRUE(gridLines(16000, 10000, 15.875, 0.1, wholeBoard, true).vertical.empty());
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

TEST(Rulers, TicksAtTheDescribedZooms)
{
    // Zoom 0.1 in millimetres: 10 pixels a step, labelled major ticks every
    // 10 mm, unlabelled minor ticks every millimetre.
    auto ticks = rulerTicks(false, 0.1, 16000, 0, 0, 200);
    ASSERT_EQ(ticks.size(), 21u);
    EXPECT_EQ(ticks[0], (RulerTick{0, true, "0"}));
    EXPECT_EQ(ticks[5], (RulerTick{50, false, ""}));
    EXPECT_EQ(ticks[10], (RulerTick{100, true, "10"}));

    // Zoom 0.5: every millimetre is a labelled major tick.
    ticks = rulerTicks(false, 0.5, 16000, 0, 0, 200);
    ASSERT_EQ(ticks.size(), 5u);
    EXPECT_EQ(ticks[3], (RulerTick{150, true, "3"}));

    // Below 2 pixels a step only the major ticks (every 25 steps) remain,
    // up to the 160 mm board's end; at 2 pixels minor ticks come back.
    ticks = rulerTicks(false, 0.01, 16000, 0, 0, 200);
    ASSERT_EQ(ticks.size(), 7u);
    EXPECT_EQ(ticks[1], (RulerTick{25, true, "25"}));
    EXPECT_EQ(rulerTicks(false, 0.02, 16000, 0, 0, 200).size(), 101u);

    // Inches: 0.1 inch = 25.4 pixels at zoom 0.1, majors every inch; at 50.8
    // pixels a step every tenth is labelled.
    ticks = rulerTicks(true, 0.1, 16000, 0, 0, 260);
    ASSERT_EQ(ticks.size(), 11u);
    EXPECT_EQ(ticks[3], (RulerTick{76, false, ""}));
    EXPECT_EQ(ticks[10], (RulerTick{254, true, "1"}));
    ticks = rulerTicks(true, 0.2, 16000, -200, -1000, 0);
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.back(), (RulerTick{-3, true, "-0.4"}));
}

TEST(Rulers, OffsetsPlaceTheOriginAndLimitTheRange)
{
    // Origin at x = 1000 scrolled 100 pixels to the left, visible area
    // starting 24 pixels into the ruler: the zero tick sits at pixel 24.
    auto ticks = rulerTicks(false, 0.1, 16000, horizontalRulerOffset(100, 24, 1000, 0.1), 0, 60);
    ASSERT_GE(ticks.size(), 3u);
    EXPECT_EQ(ticks[2], (RulerTick{24, true, "0"}));

    // Vertical: origin at y = -2000, scrolled down 50, area starting at 2;
    // steps below the origin count up.
    ticks = rulerTicks(false, 0.1, 10000, verticalRulerOffset(50, 2, -2000, 0.1), 150, 260);
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks[0], (RulerTick{152, true, "0"}));
    EXPECT_EQ(ticks.back(), (RulerTick{252, true, "10"}));

    // Steps stop at +-round(extent / step).
    ticks = rulerTicks(false, 0.5, 1000, -500, 0, 2000);
    ASSERT_EQ(ticks.size(), 21u);
    EXPECT_EQ(ticks.front().label, "-10");
    EXPECT_EQ(ticks.back().label, "10");
}

} // namespace
} // namespace kestrel
