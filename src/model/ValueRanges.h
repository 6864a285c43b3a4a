#pragma once
// The values a file may hold. The editor makes boards of at most 300 x 300 mm
// and objects on or near them; these limits leave a wide margin around that
// and are small enough that every later sum of a coordinate, a radius, a
// width and clearances stays far inside 32 bits. The readers refuse a value
// outside them, so nothing downstream has to guard against it again.

#include <cstdint>
#include <limits>

namespace kestrel::ranges {

// Board width and height: 0..2 m (the editor allows 300 mm).
constexpr int32_t kMaxBoardSize = 200'000;
// Every coordinate and point: within 10 m of the origin.
constexpr int32_t kMaxCoordinate = 1'000'000;
// Pad, hole and circle radii: up to 1 m.
constexpr int32_t kMaxRadius = 100'000;
// Pen widths and label font heights: up to 1 m.
constexpr int32_t kMaxWidth = 100'000;
// Clearances to the ground plane: up to 1 m.
constexpr int32_t kMaxClearance = 100'000;
// Angles in whole degrees; the bound covers every 16-bit angle of the old
// versions, so old files keep reading.
constexpr int32_t kMaxAngle = 36'000;
// Points of one zone or track.
constexpr int64_t kMaxPoints = 1'000'000;
// Nesting depth of groups on one object; old files counted it in 16 bits.
constexpr int64_t kMaxGroupDepth = 32'767;
// Group numbers of version 3 are 1..this; old version-2 numbers are any
// 16-bit value and are accepted as such.
constexpr int32_t kMaxGroupNumber = 16'777'216;

// The largest file either reader opens; real documents are a few megabytes.
constexpr uint64_t kMaxFileBytes = 256ull << 20;

// The worst sum the figure and export arithmetic forms: a coordinate plus a
// radius, a pen width, twice the clearance and the solder-mask growth, and
// the difference of two such extremes.
static_assert(2 * (int64_t{kMaxCoordinate} + kMaxRadius + kMaxWidth + 2 * int64_t{kMaxClearance} + 100) <
                  std::numeric_limits<int32_t>::max() / 8,
              "the ranges keep every sum far inside 32 bits");
static_assert(kMaxBoardSize < kMaxCoordinate);
static_assert(kMaxGroupNumber < std::numeric_limits<int32_t>::max() / 2,
              "new group numbers are formed by adding two numbers in range");

} // namespace kestrel::ranges
