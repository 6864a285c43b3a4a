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

// Appends the parts of object `index`.
void appendCopperParts(const LayoutObject& o, uint32_t index, IndexVector<CopperPart>& parts);

// The capsule of a part for which isCapsule() holds.
CapsuleShape capsuleOf(const LayoutObject& o, const CopperPart& part);

} // namespace kestrel
