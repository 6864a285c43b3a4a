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
        // horizontal between two diagonals: the ends slide along them
        {{0, 0}, {10, 10}, {30, 10}, {40, 0}, 5, {15, 15}, {25, 15}},
        {{0, 0}, {10, 10}, {30, 10}, {40, 0}, -5, {5, 5}, {35, 5}},
        // horizontal between verticals
        {{10, 0}, {10, 10}, {30, 10}, {30, 0}, 7, {10, 17}, {30, 17}},
        // vertical, diagonal after it
        {{0, 0}, {0, 10}, {0, 30}, {10, 40}, 5, {5, 10}, {5, 35}},
        {{10, 0}, {0, 10}, {0, 30}, {10, 40}, 5, {5, 5}, {5, 35}},
        // rising diagonal between a horizontal and a vertical
        {{0, 0}, {10, 0}, {20, 10}, {20, 30}, 5, {5, 0}, {20, 15}},
        // falling diagonal between horizontals
        {{0, 10}, {10, 10}, {20, 0}, {30, 0}, 5, {15, 10}, {25, 0}},
        // diagonal between diagonals: nothing moves
        {{0, 0}, {10, 10}, {20, 0}, {30, 10}, 5, {10, 10}, {20, 0}},
    };
    for (const auto& c : cases) {
        const auto moved = ShiftSegment(c.p0, c.p1, c.p2, c.p3, c.d);
        EXPECT_EQ(moved[0], c.q1) << c.p1.x << "," << c.p1.y << " d " << c.d;
        EXPECT_EQ(moved[1], c.q2) << c.p2.x << "," << c.p2.y << " d " << c.d;
    }
}

TEST(SegmentClearing, HalfClearanceStepsPositiveSideFirst)
{
    // A run up, across at y = 0 and down; copper lies across y = 0. Only the
    // inner segment is checked.
    const std::vector<Point> run = {{100, -200}, {100, 0}, {300, 0}, {300, -200}};
    const struct {
        int32_t copperLow, copperHigh; // the inner segment is blocked while its y lies in this range
        bool cleared;
        int32_t y;
        std::vector<int32_t> tried;
    } cases[] = {
        {-25, 25, true, 30, {0, 10, 20, 30}},
        {-45, 1000, true, -50, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, -10, -20, -30, -40, -50}},
        {-1000, 1000, false, 0, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, -10, -20, -30, -40, -50, -60, -70, -80, -90, -100}},
        {5, 9, true, 0, {0}},
    };
    for (const auto& c : cases) {
        std::vector<Point> points = run;
        std::vector<int32_t> tried;
        const bool ok = ClearSegments(points, 20, [&](Point a, Point b) {
            EXPECT_EQ(a.y, b.y);
            tried.push_back(a.y);
            return a.y >= c.copperLow && a.y <= c.copperHigh;
        });
        EXPECT_EQ(ok, c.cleared) << c.copperLow;
        EXPECT_EQ(tried, c.tried) << c.copperLow;
        if (ok) {
            const std::vector<Point> expected = {{100, -200}, {100, c.y}, {300, c.y}, {300, -200}};
            EXPECT_EQ(points, expected);
        }
    }
}
