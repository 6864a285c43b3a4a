#include "model/Board.h"

#include "geometry/Geometry.h"

namespace kestrel {

// A point list usually has a point on the board, which settles it without
// the whole outline.
bool liesOffBoard(const LayoutObject& o, const Rect& board)
{
    if (o.hasPoints() && !o.Points.empty()) {
        const int32_t half = o.widthUnits() / 2;
        const int32_t margin = (half == 0 ? kDefaultHalfWidth : half) + o.Clearance;
        const Point p = o.Points.front();
        if (margin >= 0 && Rect{p.x, p.y, p.x, p.y}.grown(margin).overlaps(board))
            return false;
    }
    return !BoundingRect(o).overlaps(board);
}

} // namespace kestrel
