#pragma once
// A uniform grid over the parts of one copper layer. A capsule is entered
// only in the cells along its segment, so a long line costs its length, not
// its bounding box. During a flood, entries of reached objects are moved to
// the back of their cell and no longer looked at; reopen() brings them back.

#include "route/CopperParts.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kestrel {

class PartGrid {
public:
    // A part with its object, so that retiring an entry needs no look-up.
    struct Entry {
        uint32_t part;
        uint32_t object;
    };

    // `parts` must outlive the grid; `capsules` holds the capsule of every
    // capsule part, by part id; `ids` are the indices into `parts` to enter.
    // Each part covers the cells within `margin` of it, so two parts closer
    // than twice the margin share a cell.
    void build(const IndexVector<CopperPart>& parts, const IndexVector<CapsuleShape>& capsules,
               const IndexVector<uint32_t>& ids, int32_t margin = 0);

    // Calls visit(entry) for the live entries of every cell the part covers;
    // entries whose object `dead` says is done are retired on the way. A
    // part entered in several of those cells comes once from each.
    template <class Dead, class Visit>
    void forEachNear(uint32_t part, Dead&& dead, Visit&& visit);

    // Number of cells the part is entered in; no cell is counted twice.
    size_t cellCount(uint32_t part) const { return cellsFor(part).size(); }

    // Makes every retired entry live again.
    void reopen();

private:
    // The columns and rows a box grown by the margin spans, inclusive.
    struct CellSpan {
        int32_t x0, y0, x1, y1;
    };
    CellSpan spanOf(const Rect& grown) const;
    // Writes the cells of a part spanning at most two columns and two rows
    // (at most four) and returns their number; returns 0 for a larger part.
    size_t fewCellsOf(uint32_t part, uint32_t* out) const;
    // Appends the cells a part may cover, each once.
    void cellsOf(uint32_t part, IndexVector<uint32_t>& out) const;
    std::span<const uint32_t> cellsFor(uint32_t part) const
    {
        return {partCells_.data() + partCellsFirst_[part], partCells_.data() + partCellsFirst_[part + 1]};
    }

    const IndexVector<CopperPart>* parts_ = nullptr;
    const IndexVector<CapsuleShape>* capsules_ = nullptr;
    Rect area_;
    int32_t cellSize_ = 256;
    int32_t margin_ = 0;
    int32_t columns_ = 0, rows_ = 0;
    IndexVector<uint32_t> first_; // per cell, plus an end entry
    IndexVector<uint32_t> live_;  // live entries per cell
    IndexVector<Entry> entries_;
    std::vector<uint32_t> touched_;
    IndexVector<uint8_t> isTouched_;
    // Cells of each part entered, by part id (parts of the other layer get
    // an empty range).
    IndexVector<uint32_t> partCellsFirst_;
    IndexVector<uint32_t> partCells_;
};

// Builds the grids of the two copper layers, grids[g] over ids[g]. On a
// large board the second is built on another thread beside the first.
void buildLayerGrids(PartGrid (&grids)[2], const IndexVector<CopperPart>& parts,
                     const IndexVector<CapsuleShape>& capsules, const IndexVector<uint32_t> (&ids)[2],
                     int32_t margin = 0);

template <class Dead, class Visit>
void PartGrid::forEachNear(uint32_t part, Dead&& dead, Visit&& visit)
{
    for (uint32_t c : cellsFor(part)) {
        Entry* begin = entries_.data() + first_[c];
        uint32_t& live = live_[c];
        for (uint32_t k = 0; k < live;) {
            const Entry& entry = begin[k];
            if (dead(entry.object)) {
                std::swap(begin[k], begin[live - 1]);
                --live;
                if (!isTouched_[c]) {
                    isTouched_[c] = 1;
                    touched_.push_back(c);
                }
                continue;
            }
            visit(entry);
            ++k;
        }
    }
}

} // namespace kestrel
