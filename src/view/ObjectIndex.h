#pragma once
// Bounding rectangles of a board's objects, computed once and kept in list
// order, with a uniform grid over them: a repaint of a small rectangle
// visits only the objects near it instead of measuring every object again.
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
    const LayoutObject& object(uint32_t position) const { return *entries_[position].object; }
    // Pads that have rubber bands, in list order.
    const std::vector<const LayoutObject*>& padsWithBands() const { return padsWithBands_; }

private:
    struct Entry {
        const LayoutObject* object;
        Rect bounds;
    };
    bool qualifies(const Entry& e, const Rect& clip) const;
    int column(int32_t x) const;
    int row(int32_t y) const;

    const ObjectList* source_ = nullptr;
    std::vector<Entry> entries_;
    std::vector<const LayoutObject*> padsWithBands_;
    // Objects covering many cells, looked at on every query.
    std::vector<uint32_t> large_;
    Rect extent_;
    int64_t cellUnits_ = 1;
    int columns_ = 0;
    int rows_ = 0;
    // Cell c holds cellItems_[cellStart_[c] .. cellStart_[c + 1]).
    std::vector<uint32_t> cellStart_;
    std::vector<uint32_t> cellItems_;
};

} // namespace kestrel
