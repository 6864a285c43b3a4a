#include "route/RouteGrid.h"

#include "route/RouteMemo.h"

namespace kestrel {

RouteMemo& RouteGrid::memo()
{
    if (!memo_)
        memo_ = std::make_shared<RouteMemo>();
    return *memo_;
}

int32_t CellSize(int32_t widthUnits, int32_t clearanceUnits)
{
    const double pitch = (static_cast<double>(widthUnits) + 2.0 * clearanceUnits) / 10.0;
    return std::max<int32_t>(40, 10 * roundEven(pitch));
}

CellPos CellOfPoint(Point p, int32_t cellSize)
{
    const double half = cellSize / 2;
    return {static_cast<int>(roundEven64((p.x - half) / cellSize)),
            static_cast<int>(-roundEven64((p.y + half) / cellSize))};
}

Point CellCentre(CellPos c, int32_t cellSize)
{
    const int64_t half = cellSize / 2;
    return {static_cast<int32_t>(int64_t{c.x} * cellSize + half),
            static_cast<int32_t>(-int64_t{c.y} * cellSize - half)};
}

int GridExtent(int32_t boardSizeUnits, int32_t cellSize)
{
    const int64_t cells = roundEven64(static_cast<double>(boardSizeUnits) / cellSize) - 1;
    return static_cast<int>(std::clamp<int64_t>(cells, 0, RouteGrid::kCells - 1));
}

} // namespace kestrel
