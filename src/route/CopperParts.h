#pragma once
// The pieces whose union is an object's copper outline (the parts of
// OutlineParts), described without building their polygons: each capsule
// of a line, track or zone edge, a zone's fill, or the one shape of a pad,
// label or circle, with a rectangle that holds it.

#include "geometry/CapsuleOverlap.h"
#include "model/LayoutObject.h"
#include "route/IndexMemory.h"

#include <cstdint>
#include <vector>

namespace kestrel {

struct CopperPart {
    // Segment number for a capsule (from point k to the next, the last one
    // closing a zone), or one of the kinds below.
    static constexpr int32_t kLine = -1;
    static constexpr int32_t kFill = -2;
    static constexpr int32_t kShape = -3;

    Rect box;
    uint32_t object = 0;
    int32_t piece = kShape;

    bool isCapsule() const { return piece >= 0 || piece == kLine; }
};

// The most parts an object can have: a capsule per point and a fill.
inline size_t maxCopperParts(const LayoutObject& o) { return o.Points.size() + 1; }

// Writes the parts of object `index` to `parts`, and to `capsules` the
// capsule of each capsule part (an empty one for the others); both must
// have room for maxCopperParts(o). Returns the number of parts.
size_t writeCopperParts(const LayoutObject& o, uint32_t index, CopperPart* parts, CapsuleShape* capsules);

} // namespace kestrel
