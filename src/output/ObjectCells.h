#pragma once
// Objects by the cells of a coarse grid their areas cover, to find those
// near a small rectangle (a drilled hole) without looking at every object.

#include "model/Types.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace kestrel {

class ObjectCells {
public:
    void add(size_t object, const Rect& area);

    // Calls visit(object) for every object whose area's cells meet those of
    // `near` until visit returns true; an object may come more than once.
    // Returns whether a visit returned true.
    template <class Visit>
    bool anyNear(const Rect& near, Visit&& visit) const
    {
        for (int64_t y = cellOf(near.top); y <= cellOf(near.bottom); ++y)
            for (int64_t x = cellOf(near.left); x <= cellOf(near.right); ++x)
                if (const auto it = cells_.find(key(x, y)); it != cells_.end())
                    for (size_t i : it->second)
                        if (visit(i))
                            return true;
        for (size_t i : wide_)
            if (visit(i))
                return true;
        return false;
    }

private:
    static constexpr int32_t kCell = 1024;    // units: about a dozen pads across
    static constexpr int64_t kMostCells = 64; // larger objects are visited for every rectangle
    static int64_t cellOf(int32_t v) { return v >= 0 ? v / kCell : -((-int64_t{v} + kCell - 1) / kCell); }
    static uint64_t key(int64_t x, int64_t y) { return (uint64_t(x) << 32) ^ uint64_t(uint32_t(y)); }

    std::unordered_map<uint64_t, std::vector<size_t>> cells_;
    std::vector<size_t> wide_;
};

} // namespace kestrel
