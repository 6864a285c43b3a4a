#pragma once
// Large, deterministic documents for the benchmarks.

#include "model/LayoutDocument.h"

#include <cstdint>

namespace kestrel::bench {

struct BoardRecipe {
    size_t objects = 100000; // total objects, vias counted as two
    size_t vias = 1000;
    size_t bands = 2000;
    int32_t widthUnits = 30000;  // 300 mm
    int32_t heightUnits = 30000;
    uint32_t seed = 1;
};

// One board holding every kind: pads of all shapes, tracks and zones of
// 10..50 points, circles, labels, lines, vias, rubber bands and nested groups.
LayoutDocument generateDocument(const BoardRecipe& recipe = {});

} // namespace kestrel::bench
