#pragma once
// The router's obstacle map on its pixel raster (5 units per pixel): pixels
// covered by foreign copper and by none of the copper of the two pads' nets.
// Held as runs of pixels per row, so memory follows the copper, not the
// board size.

#include "route/CellTouchMap.h"
#include "route/Scanline.h"
#include "geometry/Geometry.h"

#include <vector>

namespace kestrel {

class ObstacleRaster {
public:
    // One object as normalised parts whose union is the object.
    void addForeign(const std::vector<Region>& parts);
    void addNet(const std::vector<Region>& parts);

    // Rasterises everything added so far inside the clip rectangle; pixels
    // outside it count as free.
    void build(const RasterRect& clip);

    // The obstacles of `all` without the pixels `net` holds; both built
    // over the same clip rectangle.
    static ObstacleRaster without(const ObstacleRaster& all, const ObstacleRaster& net);

    const RasterRect& clip() const { return clip_; }
    bool empty() const { return runs_.empty(); }
    // Whether the pixel holds an obstacle.
    bool covers(int32_t px, int32_t py) const;
    // Whether any pixel of the shape (board units) holds an obstacle.
    bool overlaps(const std::vector<Polygon>& polygons) const;
    // Cells of cellPixels x cellPixels pixels (cell (0, 0) at pixel (0, 0))
    // that hold an obstacle pixel, over the given number of columns and rows.
    CellTouchMap touchedCells(int32_t cellPixels, int columns, int rows) const;

private:
    using Run = std::pair<int32_t, int32_t>; // pixels first..second-1 of a row

    // Whether pixels begin..end-1 of the row hold an obstacle.
    bool meets(int32_t py, int32_t begin, int32_t end) const;
    void add(const std::vector<Region>& parts, bool net);

    // Runs of one row, left to right; empty outside the clip rectangle.
    std::pair<const Run*, const Run*> rowRuns(int32_t py) const;

    ScanlineFill shapes_;
    std::vector<uint8_t> isNet_;
    RasterRect clip_;
    std::vector<uint32_t> rowFirstRun_; // per clip row, plus one end entry
    std::vector<Run> runs_;
};

} // namespace kestrel
