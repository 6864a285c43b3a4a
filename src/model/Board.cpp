#include "model/Board.h"

#include "geometry/Geometry.h"

namespace kestrel {

size_t removeOffBoardObjects(ObjectList& list, const BoardSettings& settings)
{
    const Rect board = settings.boardRect();
    return list.removeIf([&](const LayoutObject& o) { return !BoundingRect(o).overlaps(board); });
}

} // namespace kestrel
