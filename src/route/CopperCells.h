#pragma once
// The copper of one layer and the holes drilled through it from the other
// side, as outline parts by the cells of a coarse grid: the router's exact
// test of a track against foreign copper looks only at the parts near it.
// The raster the wave runs on can miss copper thinner than a pixel; this
// cannot.

#include "geometry/Geometry.h"
#include "route/Connectivity.h"

#include <cstdint>
#include <vector>

namespace kestrel {

// The disc a pad's drill takes out of both copper layers; empty for a pad
// without a hole and for anything else.
Region DrilledHole(const LayoutObject& o);

// Whether the hole of a pad on some copper layer passes through `layer`
// outside the pad's own copper there: a pad of the other side. A pad's
// hole lies inside its own outline.
bool DrilledThrough(const LayoutObject& o, int layer);

class CopperCells {
public:
    // Every part of the copper of `layer` in the map's list and the hole of
    // every pad drilled through it.
    CopperCells(CopperMap& copper, int layer);

    int layer() const { return layer_; }

    // The first object found (its position in the map's list) one of whose
    // parts or holes the track segment from `a` to `b` of the given width
    // overlaps with positive area, among those whose flag in `passed` is
    // clear; -1 when there is none. The outline parts draw round ends as
    // polygons a little inside them; `asDrawn` measures the round ends of the
    // track and of other lines, tracks and zone edges as the Gerber file
    // draws them.
    long touchedObject(CopperMap& copper, Point a, Point b, int32_t width, const std::vector<uint8_t>& passed,
                       bool asDrawn = false) const;

private:
    struct Entry {
        Rect box;
        uint32_t object;
        int32_t part; // into the object's outline; -1 - k for holes_[k]
    };

    int layer_;
    std::vector<Entry> entries_;
    std::vector<Region> holes_;
    int32_t mostSlack_ = 0; // how far round ends of the layer reach beyond their parts
    // A grid over the entries' extent; entries spanning many cells are
    // kept apart and tried on every query.
    Rect extent_;
    int32_t cellSize_ = 256;
    int32_t columns_ = 0, rows_ = 0;
    std::vector<uint32_t> first_; // per cell, plus an end entry
    std::vector<uint32_t> ids_;
    std::vector<uint32_t> wide_;
    // An entry in several cells of one query is tried once.
    mutable std::vector<uint32_t> seen_;
    mutable uint32_t query_ = 0;
};

} // namespace kestrel
