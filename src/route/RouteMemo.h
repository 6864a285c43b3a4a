#pragma once
// What the router may keep between runs on a board that has not changed:
// the copper map (with the pieces its floods found), and the raster of all
// copper of one layer and its parts by cells. A fingerprint of the object
// list tells whether the board is still the one they were made for.

#include "route/Connectivity.h"
#include "route/CopperCells.h"
#include "route/ObstacleRaster.h"
#include "route/SearchArea.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace kestrel {

// Changes whenever an object's copper, layer, list position or address changes.
uint64_t CopperFingerprint(const ObjectList& list);

class RouteMemo {
public:
    // Forgets everything when the list is not the one remembered.
    void follow(const ObjectList& list);

    CopperMap& copper();

    // The raster of all copper on the layer within the clip, if kept.
    const ObstacleRaster* allCopper(int layer, const RasterRect& clip) const;
    const ObstacleRaster& keepAllCopper(int layer, ObstacleRaster raster);

    // The parts of the layer's copper and the holes through it, made on
    // first use.
    const CopperCells& copperCells(int layer);

    // SearchWindow of the list, worked out once per pitch and grid extent.
    CellRect searchWindow(int32_t cellSize, WaveArea area);

private:
    const ObjectList* list_ = nullptr;
    uint64_t fingerprint_ = 0;
    std::unique_ptr<CopperMap> copper_;
    int rasterLayer_ = 0;
    std::optional<ObstacleRaster> raster_;
    std::optional<CopperCells> cells_;
    struct Window {
        int32_t cellSize;
        WaveArea area;
        CellRect cells;
    };
    std::optional<Window> window_;
};

} // namespace kestrel
