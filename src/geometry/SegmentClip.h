#pragma once
// Cutting a segment to an axis-aligned rectangle (Liang-Barsky), in any
// coordinates: board units for frame tests, device pixels for drawing.

#include <algorithm>

namespace kestrel {

// The part of the segment from (x, y) along (dx, dy) that lies inside the
// rectangle (edges included), as the parameters t0 <= t1 within [0, 1];
// false when no part lies inside.
inline bool clipSegmentToRect(double x, double y, double dx, double dy, double left, double top, double right,
                              double bottom, double& t0, double& t1)
{
    t0 = 0;
    t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x - left, right - x, y - top, bottom - y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

} // namespace kestrel
