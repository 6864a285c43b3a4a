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
    // `parts` must outlive the grid; `ids` are the indices into it to enter.
    // Each part covers the cells within `margin` of it, so two parts closer
    // than twice the margin share a cell. Cells are as large as a typical
    // part unless `largestCell` caps them.
    void build(const std::vector<CopperPart>& parts, const std::vector<LayoutObject const*>& objects,
               const std::vector<uint32_t>& ids, int32_t margin = 0, int32_t largestCell = INT32_MAX);

    // Calls visit(id) for the live entries of every cell the part covers;
    // entries for which `dead` says true are retired on the way. The same
    // id may come more than once.
    template <class Dead, class Visit>
    void forEachNear(uint32_t part, Dead&& dead, Visit&& visit);

    // Makes every retired entry live again.
    void reopen();

private:
    // The cells a part may cover; a cell can appear twice.
    void cellsOf(uint32_t part, std::vector<uint32_t>& out) const;
    std::span<const uint32_t> cellsFor(uint32_t part) const
    {
        return {partCells_.data() + partCellsFirst_[part], partCells_.data() + partCellsFirst_[part + 1]};
    }

    const std::vector<CopperPart>* parts_ = nullptr;
    const std::vector<LayoutObject const*>* objects_ = nullptr;
    Rect area_;
    int32_t cellSize_ = 256;
    int32_t margin_ = 0;
    int32_t columns_ = 0, rows_ = 0;
    std::vector<uint32_t> first_; // per cell, plus an end entry
    std::vector<uint32_t> live_;  // live entries per cell
    std::vector<uint32_t> entries_;
    std::vector<uint32_t> touched_;
    std::vector<uint8_t> isTouched_;
    // Cells of each part entered, by part id (parts of the other layer get
    // an empty range).
    std::vector<uint32_t> partCellsFirst_;
    std::vector<uint32_t> partCells_;
};

template <class Dead, class Visit>
void PartGrid::forEachNear(uint32_t part, Dead&& dead, Visit&& visit)
{
    for (uint32_t c : cellsFor(part)) {
        uint32_t* begin = entries_.data() + first_[c];
        uint32_t& live = live_[c];
        for (uint32_t k = 0; k < live;) {
            const uint32_t id = begin[k];
            if (dead(id)) {
                std::swap(begin[k], begin[live - 1]);
                --live;
                if (!isTouched_[c]) {
                    isTouched_[c] = 1;
                    touched_.push_back(c);
                }
                continue;
            }
            visit(id);
            ++k;
        }
    }
}

} // namespace kestrel
