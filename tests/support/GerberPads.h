#pragma once
// Reads back what the Gerber export writes for one pad, so tests can hold
// the file's figure against the screen's and the ground plane's.

#include "model/LayoutObject.h"

#include <cstdint>
#include <vector>

namespace kestrel::test {

// What the Gerber export draws for one pad, read back from the file: the
// region corners of an octagon or rounded rectangle, the aperture of a flash,
// and the pen a rounded rectangle's corners are stroked with.
struct GerberPad {
    std::vector<Point> regionCorners;
    char aperture = 0; // 'C' or 'R' for a flashed pad
    int64_t sizeX = 0, sizeY = 0, strokeDiameter = 0;
};

// The pad exported alone on a solder-mask layer (no mirror, no outline),
// grown by `enlargement`, on a board of the given height: its corners and
// sizes in file coordinates (y + boardHeight).
GerberPad gerberPad(const LayoutObject& pad, int32_t enlargement, int32_t boardHeight);

} // namespace kestrel::test
