#include "edit/CopyList.h"

#include <algorithm>

namespace kestrel {

namespace {

// Stamps every object of the list with its position (the scratch field the
// file writer uses too), so a reference is looked up without a search.
void stampPositions(const ObjectList& list)
{
    for (size_t i = 0; i < list.size(); ++i)
        list[i].ListIndex = static_cast<int32_t>(i);
}

// Position of a referenced object in a stamped list, -1 when it is not in it.
long positionIn(const ObjectList& list, const LayoutObject* o)
{
    if (!o)
        return -1;
    const int32_t at = o->ListIndex;
    return at >= 0 && static_cast<size_t>(at) < list.size() && list.at(static_cast<size_t>(at)) == o ? at : -1;
}

} // namespace

std::unique_ptr<LayoutObject> CopyObject(LayoutObject& source)
{
    return std::make_unique<LayoutObject>(copyObject(source));
}

void RelinkCopies(const ObjectList& src, ObjectList& dest, size_t base)
{
    stampPositions(src);
    // copiedBefore[m]: how many marked objects precede src[m].
    std::vector<int32_t> copiedBefore(src.size());
    int32_t marked = 0;
    for (size_t m = 0; m < src.size(); ++m) {
        copiedBefore[m] = marked;
        marked += src[m].CopiedMark ? 1 : 0;
    }
    auto copyOf = [&](const LayoutObject* o) -> LayoutObject* {
        const long m = positionIn(src, o);
        if (m < 0 || !src[static_cast<size_t>(m)].CopiedMark)
            return nullptr;
        const size_t at = base + static_cast<size_t>(copiedBefore[static_cast<size_t>(m)]);
        return at < dest.size() ? dest.at(at) : nullptr;
    };
    for (size_t i = base; i < dest.size(); ++i) {
        LayoutObject& o = dest[i];
        if (o.is(ObjectKind::Pad) && !o.Connections.empty()) {
            for (LayoutObject*& peer : o.Connections)
                peer = copyOf(peer);
            erase(o.Connections, nullptr);
        }
        // Cleared too when the track is not routed: a stale end must not
        // keep naming an object of the source list.
        if (o.RouteFrom)
            o.RouteFrom = copyOf(o.RouteFrom);
        if (o.RouteTo)
            o.RouteTo = copyOf(o.RouteTo);
    }
}

void CopyList(ObjectList& dest, ObjectList& src)
{
    dest.clear();
    for (auto& o : src) {
        LayoutObject& copy = dest.append(CopyObject(*o));
        copy.Selected = 0;
    }
    stampPositions(src);
    for (size_t i = 0; i < src.size(); ++i) {
        const long j = positionIn(src, src[i].Partner);
        dest[i].Partner = j >= 0 ? dest.at(static_cast<size_t>(j)) : nullptr;
    }
    RelinkCopies(src, dest, 0);
}

} // namespace kestrel
