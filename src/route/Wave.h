#pragma once
// Block classification of the route grid and the distance wave from the
// start cell.

#include "route/CellTouchMap.h"
#include "route/RouteGrid.h"

namespace kestrel {

// The cells the wave may enter: columns 1..columns-1 and rows 1..rows-1
// (W and H of the board, at most 800).
struct WaveArea {
    int columns = 0;
    int rows = 0;
};

// Classifies the box (cell coordinates >= 0) in blocks of 10, 5, 2 and 1
// cells: untouched blocks become free, touched single cells blocked, touched
// larger blocks stay to be refined. Blocks whose first cell is classified
// already are skipped, and cells classified already keep their value.
void ClassifyCells(RouteGrid& grid, const CellRect& box, const CellTouchMap& obstacles);

// Whether the wave can reach the cell or start from it: the area and the
// outermost columns and rows around it.
bool WaveReaches(CellPos c, WaveArea area);

// One attempt of the router inside the box: classification, then up to 80
// passes over the square rings around the start cell. True when the target
// cell received a distance. Start and target must lie inside the grid.
bool ExpandWave(RouteGrid& grid, const CellRect& box, CellPos start, CellPos target, WaveArea area,
                const CellTouchMap& obstacles);

// The smallest distance reachable from the neighbours of a cell holding a
// distance (edge step 1, corner step 2), -1 when none holds one.
int32_t WaveValue(const RouteGrid& grid, int x, int y);

// The cells of the square ring at distance r around s that lie in the area,
// in wave order: top row left to right, right column downwards, bottom row
// right to left, left column upwards.
void ListRing(CellPos s, int r, WaveArea area, std::vector<CellPos>& out);

} // namespace kestrel
