#include "route/Connectivity.h"

#include "route/CopperIndex.h"
#include "route/LayerFloods.h"

#include <algorithm>

namespace kestrel {

namespace {

int gridOf(int layer) { return layer == Layer::K1 ? 0 : 1; }

} // namespace

CopperMap::CopperMap(const ObjectList& list) : list_(list), outlines_(list.size()), built_(list.size(), 0) {}

void CopperMap::fillBounds() const
{
    bounds_.reserve(list_.size());
    for (size_t i = 0; i < list_.size(); ++i)
        bounds_.push_back(OutlineBounds(list_[i]));
}

CopperMap::~CopperMap() = default;

CopperMap::Index& CopperMap::index()
{
    if (index_)
        return *index_;
    index_ = std::make_unique<Index>();
    Index& x = *index_;
    const size_t n = list_.size();
    x.objects.resize(n);
    x.firstPart.resize(n + 1);
    size_t most = 0;
    for (size_t i = 0; i < n; ++i)
        if (isBoardCopper(list_[i].Layer))
            most += maxCopperParts(list_[i]);
    // Written in place and cut to size after: pushing part by part took
    // several times as long.
    x.parts.resize(most);
    x.capsules.resize(most);
    x.gridOfObject.assign(n, 0);
    x.viaPartner.assign(n, kNoPartner);
    // Copper objects whose partner names them back: the pads of vias. A
    // one-sided partner reference is no via.
    std::vector<std::pair<const LayoutObject*, uint32_t>> paired;
    IndexVector<uint32_t> ids[2];
    for (IndexVector<uint32_t>& layer : ids)
        layer.resize(most);
    size_t count = 0, layerCount[2] = {0, 0};
    for (uint32_t i = 0; i < n; ++i) {
        const LayoutObject& o = list_[i];
        x.objects[i] = &o;
        const auto first = static_cast<uint32_t>(count);
        x.firstPart[i] = first;
        if (!isBoardCopper(o.Layer))
            continue;
        if (o.Partner && o.Partner->Partner == &o && isBoardCopper(o.Partner->Layer))
            paired.emplace_back(&o, i);
        const int g = gridOf(o.Layer);
        x.gridOfObject[i] = static_cast<uint8_t>(g);
        count += writeCopperParts(o, i, x.parts.data() + count, x.capsules.data() + count);
        uint32_t* layer = ids[g].data() + layerCount[g];
        for (uint32_t p = first; p < count; ++p)
            *layer++ = p;
        layerCount[g] += count - first;
    }
    x.parts.resize(count);
    x.capsules.resize(count);
    for (int g = 0; g < 2; ++g)
        ids[g].resize(layerCount[g]);
    x.firstPart[n] = static_cast<uint32_t>(count);
    std::sort(paired.begin(), paired.end());
    for (const auto& [o, i] : paired) {
        if (!o->is(ObjectKind::Pad))
            continue;
        const LayoutObject* partner = o->Partner;
        const auto it = std::lower_bound(paired.begin(), paired.end(), std::make_pair(partner, uint32_t{0}));
        if (it != paired.end() && it->first == partner)
            x.viaPartner[i] = it->second;
    }
    buildLayerGrids(x.grids, x.parts, x.capsules, ids);
    for (auto& shapes : x.shapes)
        shapes = std::make_unique<ShapeBoundsCache>(n);
    x.pieceOf.assign(n, kNoPiece);
    for (auto& marks : x.floodMark)
        marks.assign(n, 0);
    x.queryMark.assign(x.parts.size(), 0);
    return x;
}

CopperMap::Parts CopperMap::parts()
{
    const Index& x = index();
    return {x.parts, x.capsules, x.firstPart};
}

void CopperMap::buildAllOutlines()
{
    index();
    indexOf(nullptr); // fills the table of positions
    for (size_t i = 0; i < list_.size(); ++i)
        if (isBoardCopper(list_[i].Layer))
            outline(i);
}

const std::vector<Region>& CopperMap::outline(size_t index)
{
    if (!built_[index]) {
        outlines_[index] = OutlineParts(list_[index]);
        built_[index] = 1;
    }
    return outlines_[index];
}

bool CopperMap::outlinesOverlap(size_t a, size_t b)
{
    if (!bounds(a).overlaps(bounds(b)))
        return false;
    for (const Region& part : outline(a))
        for (const Region& other : outline(b))
            if (part.overlaps(other))
                return true;
    return false;
}

long CopperMap::indexOf(const LayoutObject* o) const
{
    if (positions_.empty()) {
        // Filled on the first look-up; most floods never need it.
        positions_.reserve(list_.size());
        for (size_t i = 0; i < list_.size(); ++i)
            positions_.emplace(&list_[i], static_cast<uint32_t>(i));
    }
    const auto it = positions_.find(o);
    return it == positions_.end() ? -1 : static_cast<long>(it->second);
}

std::vector<size_t> FloodConnect(CopperMap& map, size_t start, std::vector<uint8_t>& reached)
{
    std::vector<size_t> found;
    if (start >= map.size() || reached[start] || !isBoardCopper(map.objects()[start].Layer))
        return found;
    CopperMap::Index& x = map.index();

    // A piece found whole before comes back at once, unless some of it is
    // marked already: then the marks may cut it, and the flood runs.
    if (const uint32_t piece = x.pieceOf[start]; piece != kNoPiece) {
        const std::vector<uint32_t>& members = x.pieces[piece];
        if (std::none_of(members.begin(), members.end(), [&](uint32_t m) { return reached[m] != 0; })) {
            found.reserve(members.size());
            found.push_back(start);
            for (uint32_t m : members) {
                reached[m] = 1;
                if (m != start)
                    found.push_back(m);
            }
            return found;
        }
    }

    bool cut = false;
    {
        FloodResult result = floodBothLayers(map, x, reached, start);
        found = std::move(result.found);
        cut = result.cut;
    }
    for (size_t j : found)
        reached[j] = 1;
    if (!cut) {
        const auto piece = static_cast<uint32_t>(x.pieces.size());
        x.pieces.emplace_back(found.begin(), found.end());
        for (size_t j : found)
            x.pieceOf[j] = piece;
    }
    return found;
}

std::vector<size_t> connectedObjects(const ObjectList& list, long start)
{
    if (start < 0 || static_cast<size_t>(start) >= list.size())
        return {};
    CopperMap map(list);
    std::vector<uint8_t> reached(list.size(), 0);
    std::vector<size_t> found = FloodConnect(map, static_cast<size_t>(start), reached);
    std::sort(found.begin(), found.end());
    return found;
}

size_t TestConnection(ObjectList& list, long index)
{
    for (auto& o : list)
        o->Selected = 0;
    const std::vector<size_t> found = connectedObjects(list, index);
    for (size_t i : found)
        list[i].Selected = 1;
    return found.size();
}

} // namespace kestrel
