#include "route/RouteMemo.h"

#include "model/HashMix.h"

#include <bit>

namespace kestrel {

uint64_t CopperFingerprint(const ObjectList& list)
{
    HashMix h;
    h.add(list.size());
    for (const auto& o : list) {
        h.add(std::bit_cast<uint64_t>(o.get()));
        h.add(std::bit_cast<uint64_t>(o->Partner));
        h.add(uint64_t(o->Kind) | uint64_t(o->Layer) << 8 | uint64_t(o->Shape) << 16 | uint64_t(o->Filled) << 24);
        h.add(o->X1, o->Y1);
        h.add(o->X2, o->Y2);
        h.add(o->Width, o->Angle);
        h.add(o->Points.size());
        for (const Point& p : o->Points)
            h.add(p.x, p.y);
    }
    return h.value;
}

void RouteMemo::follow(const ObjectList& list)
{
    const uint64_t fingerprint = CopperFingerprint(list);
    if (list_ == &list && fingerprint == fingerprint_ && copper_)
        return;
    list_ = &list;
    fingerprint_ = fingerprint;
    copper_ = std::make_unique<CopperMap>(list);
    raster_.reset();
    cells_.reset();
    window_.reset();
}

CellRect RouteMemo::searchWindow(int32_t cellSize, WaveArea area)
{
    if (!window_ || window_->cellSize != cellSize || window_->area.columns != area.columns || window_->area.rows != area.rows)
        window_ = Window{cellSize, area, SearchWindow(*list_, cellSize, area)};
    return window_->cells;
}

CopperMap& RouteMemo::copper() { return *copper_; }

const CopperCells& RouteMemo::copperCells(int layer)
{
    if (!cells_ || cells_->layer() != layer)
        cells_.emplace(*copper_, layer);
    return *cells_;
}

const ObstacleRaster* RouteMemo::allCopper(int layer, const RasterRect& clip) const
{
    if (!raster_ || rasterLayer_ != layer)
        return nullptr;
    const RasterRect& kept = raster_->clip();
    const bool same = kept.left == clip.left && kept.top == clip.top && kept.right == clip.right && kept.bottom == clip.bottom;
    return same ? &*raster_ : nullptr;
}

const ObstacleRaster& RouteMemo::keepAllCopper(int layer, ObstacleRaster raster)
{
    rasterLayer_ = layer;
    raster_ = std::move(raster);
    return *raster_;
}

} // namespace kestrel
