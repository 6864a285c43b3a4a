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

// A board laid out as real nets: 25 rows of 4 x 4 mm cells with 20 objects
// each (signal nets through vias, zone-tied ground columns, silk and loose
// copper); 40 columns give 20,000 objects on 160 x 100 mm. The board's size
// is the document's default; callers fit it to the columns.
LayoutDocument generateNetDocument(int32_t columns = 40);

} // namespace kestrel::bench
