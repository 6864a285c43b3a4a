#include "output/ObjectCells.h"

namespace kestrel {

void ObjectCells::add(size_t object, const Rect& area)
{
    const int64_t x0 = cellOf(area.left), x1 = cellOf(area.right), y0 = cellOf(area.top), y1 = cellOf(area.bottom);
    if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMostCells) {
        wide_.push_back(object);
        return;
    }
    for (int64_t y = y0; y <= y1; ++y)
        for (int64_t x = x0; x <= x1; ++x)
            cells_[key(x, y)].push_back(object);
}

} // namespace kestrel
