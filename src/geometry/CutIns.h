#pragma once
// Regions as contours without holes. A Gerber region is one contour; a hole
// is joined to its outer ring by a cut of zero width running to the right
// from the hole's rightmost corner (a "cut-in"), so the contour visits the
// ring, the hole and the ring again.

#include "geometry/Region.h"

#include <vector>

namespace kestrel {

// One contour per outer ring of the region, its holes cut in; an island
// inside a hole is a contour of its own.
std::vector<Polygon> cutInContours(const Region& region);

} // namespace kestrel
