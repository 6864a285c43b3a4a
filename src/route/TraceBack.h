#pragma once
// Turning the wave's distances into the corners of a track.

#include "route/RouteGrid.h"

#include <optional>
#include <vector>

namespace kestrel {

// Direction codes of a step between cells; in board terms 0 is +y, 2 is +x,
// 4 is -y, 6 is -x and the odd codes the diagonals between them.
struct WaveStep {
    CellPos next;
    int direction = 0;
};

// The neighbour holding the smallest distance, the earlier one in the order
// -x, -x-y, -y, +x-y, +x, +x+y, +y, -x+y (cell terms) winning ties; none
// when no neighbour holds a distance.
std::optional<WaveStep> BestNeighbour(const RouteGrid& grid, CellPos c);

// Keeps the first corner from lying behind the target pad's centre along the
// direction leaving it, and the last corner from lying beyond the start
// pad's centre along the direction arriving there.
Point ClampLeavingTarget(Point corner, int direction, Point targetCentre);
Point ClampArrivingAtStart(Point corner, int direction, Point startCentre);

// The track from the target pad's centre through a corner wherever the
// direction changes to the start pad's centre. The target cell must hold a
// distance.
std::vector<Point> TraceBack(const RouteGrid& grid, CellPos start, CellPos target, Point startCentre,
                             Point targetCentre, int32_t cellSize);

} // namespace kestrel
