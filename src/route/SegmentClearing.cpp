#include "route/SegmentClearing.h"

namespace kestrel {

namespace {
constexpr int kShiftSteps = 10;
}

int SegmentDirection(Point a, Point b)
{
    if (a.x == b.x)
        return 2;
    if (a.y == b.y)
        return 1;
    return (b.x > a.x) == (b.y > a.y) ? 3 : 4;
}

std::array<Point, 2> ShiftSegment(Point p0, Point p1, Point p2, Point p3, int32_t d)
{
    const int m = SegmentDirection(p1, p2);
    const int m0 = SegmentDirection(p0, p1);
    const int m2 = SegmentDirection(p2, p3);
    // Along a diagonal neighbour an end slides as far in x as in y.
    auto slope = [](int neighbour) { return neighbour == 3 ? 1 : neighbour == 4 ? -1 : 0; };
    switch (m) {
    case 1:
        p1.y += d;
        p2.y += d;
        p1.x += slope(m0) * d;
        p2.x += slope(m2) * d;
        break;
    case 2:
        p1.x += d;
        p2.x += d;
        p1.y += slope(m0) * d;
        p2.y += slope(m2) * d;
        break;
    case 3:
        if (m0 == 1)
            p1.x -= d;
        if (m0 == 2)
            p1.y += d;
        if (m2 == 1)
            p2.x -= d;
        if (m2 == 2)
            p2.y += d;
        break;
    default:
        if (m0 == 1)
            p1.x += d;
        if (m0 == 2)
            p1.y += d;
        if (m2 == 1)
            p2.x += d;
        if (m2 == 2)
            p2.y += d;
        break;
    }
    return {p1, p2};
}

bool ClearSegments(std::vector<Point>& points, int32_t clearanceUnits, const SegmentBlocked& blocked)
{
    const int32_t step = clearanceUnits / 2;
    for (size_t i = 1; i + 3 <= points.size(); ++i) {
        if (!blocked(points[i], points[i + 1]))
            continue;
        bool cleared = false;
        for (int side : {1, -1}) {
            for (int k = 1; k <= kShiftSteps && !cleared; ++k) {
                const auto moved = ShiftSegment(points[i - 1], points[i], points[i + 1], points[i + 2], side * k * step);
                // The new start slides along the segment before, which was
                // clear up to the old one only.
                if (!blocked(moved[0], moved[1]) && (i == 1 || !blocked(points[i - 1], moved[0]))) {
                    points[i] = moved[0];
                    points[i + 1] = moved[1];
                    cleared = true;
                }
            }
        }
        if (!cleared)
            return false;
    }
    return true;
}

} // namespace kestrel
