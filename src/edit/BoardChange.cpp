#include "edit/BoardChange.h"

#include "geometry/Geometry.h"

namespace kestrel {

void BoardChange::include(const Rect& r)
{
    repaint = repaint ? repaint->united(r) : r;
}

void BoardChange::include(const BoardChange& other)
{
    if (other.repaint)
        include(*other.repaint);
}

void BoardChange::include(const LayoutObject& o)
{
    const Rect bounds = BoundingRect(o);
    include(o.is(ObjectKind::Zone) ? bounds.grown(o.widthUnits()) : bounds);
    if (o.is(ObjectKind::Pad))
        for (const LayoutObject* peer : o.Connections)
            include(BoundingRect(*peer));
}

std::vector<uint8_t> SelectionFlags(const ObjectList& list)
{
    std::vector<uint8_t> flags;
    flags.reserve(list.size());
    for (const auto& o : list)
        flags.push_back(o->Selected);
    return flags;
}

BoardChange SelectionChange(const ObjectList& list, const std::vector<uint8_t>& before)
{
    BoardChange change;
    for (size_t i = 0; i < list.size(); ++i) {
        const uint8_t was = i < before.size() ? before[i] : 0;
        if (list[i].Selected != was)
            change.include(list[i]);
    }
    return change;
}

} // namespace kestrel
