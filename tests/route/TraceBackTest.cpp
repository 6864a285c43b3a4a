#include "route/TraceBack.h"

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

// A grid where the listed cells hold the given distances.
RouteGrid gridWith(std::initializer_list<std::pair<CellPos, int32_t>> values)
{
    RouteGrid g;
    for (const auto& [c, v] : values)
        g.at(c) = v;
    return g;
}

} // namespace

TEST(TraceBack, BestNeighbourPrefersSmallestThenEarliest)
{
    const CellPos c{5, 5};
    // The neighbours in tie order with their directions: each wins a tie
    // against all that follow it.
    const std::pair<CellPos, int> order[] = {{{4, 5}, 6}, {{4, 4}, 7}, {{5, 4}, 0}, {{6, 4}, 1},
                                             {{6, 5}, 2}, {{6, 6}, 3}, {{5, 6}, 4}, {{4, 6}, 5}};
    for (size_t i = 0; i < std::size(order); ++i) {
        RouteGrid g;
        for (size_t k = i; k < std::size(order); ++k)
            g.at(order[k].first) = 3;
        const auto step = BestNeighbour(g, c);
        ASSERT_TRUE(step);
        EXPECT_EQ(std::pair(step->next, step->direction), order[i]) << i;
    }
    // A smaller distance wins over the order; the cell itself and blocked
    // cells are no neighbours.
    EXPECT_EQ(BestNeighbour(gridWith({{{4, 5}, 3}, {{6, 4}, 2}}), c)->next, (CellPos{6, 4}));
    EXPECT_EQ(BestNeighbour(gridWith({{{4, 6}, 4}, {c, 0}, {{5, 6}, Cell::Blocked}}), c)->next, (CellPos{4, 6}));
    EXPECT_FALSE(BestNeighbour(RouteGrid(), c));
    // At the grid's edge the missing neighbours are not looked at.
    EXPECT_EQ(BestNeighbour(gridWith({{{1, 0}, 4}}), {0, 0})->direction, 2);
}

TEST(TraceBack, CornerClamps)
{
    const Point pad{100, -100}, corner{80, -80}; // the corner lies left of and above the pad
    const std::tuple<Point, Point> byDirection[] = { // leaving the target, arriving at the start
        {{80, -80}, {80, -100}}, {{100, -80}, {80, -100}}, {{100, -80}, {80, -80}}, {{100, -100}, {80, -80}},
        {{80, -100}, {80, -80}}, {{80, -100}, {100, -80}}, {{80, -80}, {100, -80}}, {{80, -80}, {100, -100}},
    };
    for (int d = 0; d < 8; ++d) {
        EXPECT_EQ(ClampLeavingTarget(corner, d, pad), std::get<0>(byDirection[d])) << d;
        EXPECT_EQ(ClampArrivingAtStart(corner, d, pad), std::get<1>(byDirection[d])) << d;
    }
}

TEST(TraceBack, CornersWhereTheDirectionChanges)
{
    // Start (2, 5), target (6, 2): distances along an L with a diagonal.
    const RouteGrid g = gridWith({{{2, 5}, 0}, {{3, 5}, 1}, {{4, 5}, 2}, {{5, 4}, 4}, {{6, 3}, 6}, {{6, 2}, 7},
                                  {{5, 2}, 9}, {{7, 3}, 8}});
    const Point p{212, -452}; // start pad, a little off its cell centre (200, -440)
    const Point q{527, -200}; // target pad; cell (6, 2) has its centre at (520, -200)
    const std::vector<Point> expected = {
        q,
        {520, -200}, // target cell, leaving downwards: not above Q
        {520, -280}, // (6, 3): turns to the diagonal -x, -y
        {360, -440}, // (4, 5): turns to -x
        {212, -440}, // start cell, arriving in -x: not left of P
        p,
    };
    EXPECT_EQ(TraceBack(g, {2, 5}, {6, 2}, p, q, 80), expected);
}
