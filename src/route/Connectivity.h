#pragma once
// Connected copper. Two objects are joined when they lie on the same copper
// layer and their outlines overlap with positive area, or when they are the
// two pads of a via; the relation is transitive. Silk never joins anything,
// and the ground plane is not copper here.

#include "model/ObjectList.h"
#include "geometry/Geometry.h"
#include "route/CopperParts.h"
#include "route/IndexMemory.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kestrel {

// Layers whose objects take part: the two copper layers of a board.
inline bool isBoardCopper(int layer) { return layer == Layer::K1 || layer == Layer::K2; }

// Outlines and a spatial index of a board's copper. Build it once over an
// unchanging object list and flood from as many objects as needed: outlines
// and the index are made on first use and kept, and so is every piece of
// copper a flood has found whole.
class CopperMap {
public:
    explicit CopperMap(const ObjectList& list);
    ~CopperMap();
    CopperMap(const CopperMap&) = delete;
    CopperMap& operator=(const CopperMap&) = delete;

    size_t size() const { return list_.size(); }
    const ObjectList& objects() const { return list_; }

    // Builds the index, the positions and every copper outline now rather
    // than on first use.
    void buildAllOutlines();
    // The object's outline as the parts of OutlineParts.
    const std::vector<Region>& outline(size_t index);
    bool outlineBuilt(size_t index) const { return built_[index] != 0; }
    // Whether the outlines of two objects overlap with positive area.
    bool outlinesOverlap(size_t a, size_t b);

    // Position of an object in the list, -1 when it is not there.
    long indexOf(const LayoutObject* o) const;

    // The copper parts the index is made of (built on first use): by part
    // id, the capsule of each capsule part, and each object's first part
    // with an end entry.
    struct Parts {
        const IndexVector<CopperPart>& parts;
        const IndexVector<CapsuleShape>& capsules;
        const IndexVector<uint32_t>& firstPart;
    };
    Parts parts();

    const Rect& bounds(size_t index) const
    {
        if (bounds_.empty())
            fillBounds();
        return bounds_[index];
    }

    // The index itself: route/CopperIndex.h, for the flood alone.
    struct Index;

private:
    friend std::vector<size_t> FloodConnect(CopperMap& map, size_t start, std::vector<uint8_t>& reached);
    Index& index();
    void fillBounds() const;

    const ObjectList& list_;
    // Filled on the first look-up: floods never need them.
    mutable std::vector<Rect> bounds_;
    IndexVector<std::vector<Region>> outlines_;
    IndexVector<uint8_t> built_;
    std::unique_ptr<Index> index_;
    mutable std::unordered_map<const LayoutObject*, uint32_t> positions_;
};

// Marks the object at `start` and everything connected to it in `reached`
// (one flag per object; flags already set count as reached and are not
// entered) and returns the newly reached indices, start first. A start that
// is not on a copper layer reaches nothing and the result is empty.
std::vector<size_t> FloodConnect(CopperMap& map, size_t start, std::vector<uint8_t>& reached);

// Ascending indices of the objects connected to `start`; empty for an object
// off the copper layers or an index outside the list.
std::vector<size_t> connectedObjects(const ObjectList& list, long start);

// The test tool's operation on the object picked under the pointer (or -1):
// afterwards exactly the objects connected to it are selected, one by one,
// without pulling in their groups. Returns how many are selected.
size_t TestConnection(ObjectList& list, long index);

} // namespace kestrel
