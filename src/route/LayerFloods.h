#pragma once
// A flood over the copper index, each copper layer worked on by one thread
// at a time; a large flood takes a second thread for the other layer.

#include "route/CopperIndex.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrel {

struct FloodResult {
    std::vector<size_t> found; // start first
    bool cut = false;          // whether marks of the caller stopped it somewhere
};

// Floods from `start` (a copper object, not marked). The caller's marks in
// `reached` are read, not written: the caller marks what comes back.
FloodResult floodBothLayers(CopperMap& map, CopperMap::Index& x, const std::vector<uint8_t>& reached, size_t start);

} // namespace kestrel
