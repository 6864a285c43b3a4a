#include "route/TraceBack.h"

namespace kestrel {

namespace {

struct Neighbour {
    int dx, dy, direction;
};
constexpr Neighbour kNeighbourOrder[] = {{-1, 0, 6}, {-1, -1, 7}, {0, -1, 0}, {1, -1, 1},
                                         {1, 0, 2},  {1, 1, 3},   {0, 1, 4},  {-1, 1, 5}};

// Board-axis signs of a direction code (board y grows upwards).
constexpr int kSignX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kSignY[8] = {1, 1, 0, -1, -1, -1, 0, 1};

// Moves each coordinate that lies on the wrong side of the pad (relative to
// the direction's sign times `side`) onto the pad's coordinate.
Point clampAgainst(Point corner, int direction, Point pad, int side)
{
    const int sx = kSignX[direction] * side;
    const int sy = kSignY[direction] * side;
    if ((sx > 0 && corner.x < pad.x) || (sx < 0 && corner.x > pad.x))
        corner.x = pad.x;
    if ((sy > 0 && corner.y < pad.y) || (sy < 0 && corner.y > pad.y))
        corner.y = pad.y;
    return corner;
}

} // namespace

std::optional<WaveStep> BestNeighbour(const RouteGrid& grid, CellPos c)
{
    std::optional<WaveStep> best;
    int32_t bestDistance = 0;
    for (const Neighbour& n : kNeighbourOrder) {
        const CellPos p{c.x + n.dx, c.y + n.dy};
        if (!RouteGrid::contains(p))
            continue;
        const int32_t v = grid.at(p);
        if (v >= 0 && (!best || v < bestDistance)) {
            best = WaveStep{p, n.direction};
            bestDistance = v;
        }
    }
    return best;
}

Point ClampLeavingTarget(Point corner, int direction, Point targetCentre)
{
    return clampAgainst(corner, direction, targetCentre, 1);
}

Point ClampArrivingAtStart(Point corner, int direction, Point startCentre)
{
    return clampAgainst(corner, direction, startCentre, -1);
}

std::vector<Point> TraceBack(const RouteGrid& grid, CellPos start, CellPos target, Point startCentre,
                             Point targetCentre, int32_t cellSize)
{
    std::vector<Point> points{targetCentre};
    CellPos c = target;
    int lastDirection = -1;
    // Distances fall strictly along the way, so the walk ends at the start cell.
    while (c != start && grid.at(c) != 0) {
        const std::optional<WaveStep> step = BestNeighbour(grid, c);
        if (!step)
            break;
        if (step->direction != lastDirection) {
            Point corner = CellCentre(c, cellSize);
            if (lastDirection < 0)
                corner = ClampLeavingTarget(corner, step->direction, targetCentre);
            points.push_back(corner);
            lastDirection = step->direction;
        }
        c = step->next;
    }
    Point last = CellCentre(start, cellSize);
    if (lastDirection >= 0)
        last = ClampArrivingAtStart(last, lastDirection, startCentre);
    points.push_back(last);
    points.push_back(startCentre);
    return points;
}

} // namespace kestrel
