#pragma once
// Bounding rectangles of a board's objects, computed once and kept in list
// order, with uniform grids over them: a repaint of a small rectangle or a
// click visits only the objects near it instead of measuring every object
// again. Each grid is eight times coarser than the one before, and an object
// goes into the finest grid where it covers few cells, so long lines and
// wandering tracks do not have to be looked at by every query.
// The index is a snapshot of the list: after any change to the list or to
// an object in it, it must be built again before it is used.

#include "model/ObjectList.h"
#include "model/Types.h"

#include <cstdint>
#include <vector>

namespace kestrel {

class ObjectIndex {
public:
    void build(const ObjectList& objects);
    void clear();

    // The list it was built from and the list's size then.
    const ObjectList* source() const { return source_; }
    size_t size() const { return entries_.size(); }

    // Positions in list order of the objects whose bounding rectangle
    // overlaps clipUnits, and of every object on layers 5 and 6.
    void query(const Rect& clipUnits, std::vector<uint32_t>& positions) const;
    // The same positions unsorted and perhaps more than once, for callers
    // that only look for the best of them (a click's hit test).
    void queryUnordered(const Rect& clipUnits, std::vector<uint32_t>& positions) const;
    const LayoutObject& object(uint32_t position) const { return *entries_[position].object; }
    // The object's bounding rectangle (BoundingRect), layer and whether it
    // is a pad, as they were at build time: read without touching the object.
    const Rect& bounds(uint32_t position) const { return entries_[position].bounds; }
    int layer(uint32_t position) const { return entries_[position].layer; }
    bool isPad(uint32_t position) const { return entries_[position].pad; }
    // Pads that have rubber bands, in list order.
    const std::vector<const LayoutObject*>& padsWithBands() const { return padsWithBands_; }

private:
    struct Entry {
        const LayoutObject* object;
        Rect bounds;
        uint8_t layer;
        bool pad;
    };
    struct Grid {
        int64_t cellUnits = 1;
        int columns = 0;
        int rows = 0;
        // Cell c holds cellItems[cellStart[c] .. cellStart[c + 1]).
        std::vector<uint32_t> cellStart;
        std::vector<uint32_t> cellItems;
    };
    struct CellSpan {
        int c0, c1, r0, r1;
        int64_t cells() const { return int64_t{c1 - c0 + 1} * (r1 - r0 + 1); }
    };
    bool qualifies(const Entry& e, const Rect& clip) const;
    // Whether a query of clip looks at every object rather than the grids.
    bool scansAll(const Rect& clip) const;
    CellSpan span(const Grid& g, const Rect& r) const;

    const ObjectList* source_ = nullptr;
    std::vector<Entry> entries_;
    std::vector<const LayoutObject*> padsWithBands_;
    // Objects on the macro layers and objects too large for every grid,
    // looked at on every query.
    std::vector<uint32_t> large_;
    Rect extent_;
    std::vector<Grid> grids_; // finest first
};

} // namespace kestrel
