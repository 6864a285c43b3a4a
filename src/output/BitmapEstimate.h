#pragma once
// The sizes the bitmap export dialog shows before anything is drawn: the
// pixels of the board at a resolution and the memory the bitmap takes.
// Worked out in 64 bits, so a huge board at 600 dpi cannot overflow.

#include <cstdint>

namespace kestrel {

constexpr int kBitmapDpiMin = 100;
constexpr int kBitmapDpiMax = 600;
constexpr int kBitmapDpiDefault = 300;
// Above this many kB the export asks before it goes on.
constexpr int64_t kLargeBitmapKb = 25000;
// The longest side a bitmap may have; beyond it the export refuses.
constexpr int64_t kMaxBitmapSidePx = 32000;

struct BitmapEstimate {
    int64_t widthPx = 0;
    int64_t heightPx = 0;
    int64_t kilobytes = 0;

    bool large() const { return kilobytes > kLargeBitmapKb; }
    bool tooLarge() const { return widthPx > kMaxBitmapSidePx || heightPx > kMaxBitmapSidePx; }
};

// One bit per pixel in black and white, four in colour; board size in units.
BitmapEstimate bitmapEstimate(int32_t boardWidthUnits, int32_t boardHeightUnits, int dpi, bool colour);

} // namespace kestrel
