#include "route/SegmentClearing.h"

#include <gtest/gtest.h>

using namespace kestrel;

TEST(SegmentClearing, ShiftSegmentSlidesTheEnds)
{
    const struct {
        Point p0, p1, p2, p3;
        int32_t d;
        Point q1, q2;
    } cases[] = {
        {{0, 0}, {10, 10}, {30, 10}, {40, 0}, 5, {15, 15}, {25, 15}}, // horizontal, ends slide along diagonals
        {{0, 0}, {10, 10}, {30, 10}, {40, 0}, -5, {5, 5}, {35, 5}},
        {{10, 0}, {10, 10}, {30, 10}, {30, 0}, 7, {10, 17}, {30, 17}}, // horizontal between verticals
        {{0, 0}, {0, 10}, {0, 30}, {10, 40}, 5, {5, 10}, {5, 35}},     // vertical, diagonal after it
        {{10, 0}, {0, 10}, {0, 30}, {10, 40}, 5, {5, 5}, {5, 35}},
        {{0, 0}, {10, 0}, {20, 10}, {20, 30}, 5, {5, 0}, {20, 15}},   // rising diagonal
        {{0, 10}, {10, 10}, {20, 0}, {30, 0}, 5, {15, 10}, {25, 0}},  // falling diagonal between horizontals
        {{0, 0}, {10, 10}, {20, 0}, {30, 10}, 5, {10, 10}, {20, 0}},  // between diagonals: nothing moves
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShiftSegment(c.p0, c.p1, c.p2, c.p3, c.d), (std::array{c.q1, c.q2}))
            << c.p1.x << "," << c.p1.y << " d " << c.d;
}

TEST(SegmentClearing, HalfClearanceStepsPositiveSideFirst)
{
    // A run up, across at y = 0 and down; copper lies across y = 0. Only the
    // inner segment is checked, at y = 0, 10, ..., 100, then -10, ..., -100.
    std::vector<int32_t> order = {0};
    for (int32_t sign : {1, -1})
        for (int32_t step = 1; step <= 10; ++step)
            order.push_back(sign * 10 * step);
    const struct {
        int32_t copperLow, copperHigh; // the inner segment is blocked while its y lies in this range
        bool cleared;
        int32_t y;
        size_t tries;
    } cases[] = {{-25, 25, true, 30, 4}, {-45, 1000, true, -50, 16}, {-1000, 1000, false, 0, 21}, {5, 9, true, 0, 1}};
    for (const auto& c : cases) {
        std::vector<Point> points = {{100, -200}, {100, 0}, {300, 0}, {300, -200}};
        std::vector<int32_t> tried;
        const bool ok = ClearSegments(points, 20, [&](Point a, Point b) {
            EXPECT_EQ(a.y, b.y);
            tried.push_back(a.y);
            return a.y >= c.copperLow && a.y <= c.copperHigh;
        });
        EXPECT_EQ(ok, c.cleared) << c.copperLow;
        EXPECT_EQ(tried, std::vector<int32_t>(order.begin(), order.begin() + long(c.tries))) << c.copperLow;
        if (ok) {
            EXPECT_EQ(points, (std::vector<Point>{{100, -200}, {100, c.y}, {300, c.y}, {300, -200}}));
        }
    }
}
