#pragma once
// The copper index a flood works on: every copper part in a grid per layer,
// with the marks that let floods run without clearing anything. Private to
// the flood's files.

#include "geometry/CapsuleOverlap.h"
#include "route/Connectivity.h"
#include "route/CopperParts.h"
#include "route/PartGrid.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace kestrel {

constexpr uint32_t kNoPiece = UINT32_MAX;
constexpr uint32_t kNoPartner = UINT32_MAX;

// The bounds of a pad's figure or a circle's outline, worked out on first
// use: every capsule near the shape asks for them.
struct ShapeBounds {
    std::optional<FigureBounds> figure;
    std::optional<ArcBounds> arc;
};

class ShapeBoundsCache {
public:
    explicit ShapeBoundsCache(size_t objects) : slot_(objects, kUnknown) {}

    const ShapeBounds& of(uint32_t index, const IndexVector<LayoutObject const*>& objects)
    {
        if (slot_[index] == kUnknown) {
            const LayoutObject& o = *objects[index];
            slot_[index] = static_cast<uint32_t>(bounds_.size());
            ShapeBounds& b = bounds_.emplace_back();
            if (o.is(ObjectKind::Pad))
                b.figure = figureBounds(padOutlineFigure(o));
            else if (o.is(ObjectKind::Circle))
                b.arc = circleBounds(o);
        }
        return bounds_[slot_[index]];
    }

private:
    static constexpr uint32_t kUnknown = UINT32_MAX;
    std::vector<uint32_t> slot_;
    std::vector<ShapeBounds> bounds_;
};

struct CopperMap::Index {
    IndexVector<LayoutObject const*> objects;
    IndexVector<CopperPart> parts;
    IndexVector<CapsuleShape> capsules; // by part id, for the capsule parts
    IndexVector<uint32_t> firstPart;    // per object, plus an end entry
    IndexVector<uint8_t> gridOfObject;  // per object: the grid of a copper object's layer
    IndexVector<uint32_t> viaPartner;   // per object: the other pad of its via, or kNoPartner
    PartGrid grids[2];

    // Pieces found whole by earlier floods.
    IndexVector<uint32_t> pieceOf;
    std::vector<std::vector<uint32_t>> pieces;

    // Per-flood and per-query marks, so nothing needs clearing. A flood
    // may work on both layers at once, so each layer has its own flood
    // marks (one array per thread: no cache line is written by both) and
    // its own query count.
    IndexVector<uint32_t> floodMark[2];
    IndexVector<uint32_t> queryMark;
    uint32_t flood = 0;
    uint32_t query[2] = {0, 0};

    // Per layer, for the same reason.
    std::unordered_map<uint32_t, Region> fills[2];
    std::unique_ptr<ShapeBoundsCache> shapes[2];
};

} // namespace kestrel
