#pragma once
// Basic value types of the board: points and rectangles in board units
// (signed 32-bit, 0.01 mm each; x to the right, y upwards).

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kestrel {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};
static_assert(sizeof(Point) == 8, "points are stored as two packed i32");

// left/top/right/bottom; after normalise() left <= right and top <= bottom,
// so "top" holds the smaller y.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    friend bool operator==(const Rect&, const Rect&) = default;

    Rect normalised() const
    {
        Rect r = *this;
        if (r.left > r.right) std::swap(r.left, r.right);
        if (r.top > r.bottom) std::swap(r.top, r.bottom);
        return r;
    }
    Rect grown(int32_t by) const { return {left - by, top - by, right + by, bottom + by}; }
    // Overlap of positive area; touching edges do not count.
    bool overlaps(const Rect& o) const
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    Rect united(const Rect& o) const
    {
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
};

// Rounding to the nearest integer with ties to even, used wherever a value
// is rounded to board units, pixels or percent.
inline int32_t roundEven(double v) { return static_cast<int32_t>(std::nearbyint(v)); }
inline int64_t roundEven64(double v) { return static_cast<int64_t>(std::nearbyint(v)); }

} // namespace kestrel
