#include "route/Connectivity.h"

// The rtree of this Boost release still includes a header it has deprecated itself.
#define BOOST_ALLOW_DEPRECATED_HEADERS
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>

#include <algorithm>
#include <unordered_map>

namespace kestrel {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {
using IndexPoint = bg::model::point<int32_t, 2, bg::cs::cartesian>;
using IndexBox = bg::model::box<IndexPoint>;
using IndexEntry = std::pair<IndexBox, uint32_t>;
using Tree = bgi::rtree<IndexEntry, bgi::rstar<16>>;

IndexBox toBox(const Rect& r) { return {{r.left, r.top}, {r.right, r.bottom}}; }

int treeOf(int layer) { return layer == Layer::K1 ? 0 : 1; }
} // namespace

struct CopperMap::Index {
    Tree trees[2];
    std::unordered_map<const LayoutObject*, uint32_t> positions;
};

CopperMap::CopperMap(const ObjectList& list)
    : list_(list), outlines_(list.size()), built_(list.size(), 0), index_(std::make_unique<Index>())
{
    bounds_.reserve(list.size());
    std::vector<IndexEntry> entries[2];
    index_->positions.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        const LayoutObject& o = list[i];
        bounds_.push_back(OutlineBounds(o));
        index_->positions.emplace(&o, static_cast<uint32_t>(i));
        if (isBoardCopper(o.Layer))
            entries[treeOf(o.Layer)].emplace_back(toBox(bounds_.back()), static_cast<uint32_t>(i));
    }
    // The range constructor packs the tree in one pass.
    for (int t = 0; t < 2; ++t)
        index_->trees[t] = Tree(entries[t]);
}

CopperMap::~CopperMap() = default;

void CopperMap::buildAllOutlines()
{
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
    for (const Region& part : outline(a))
        if (partOverlaps(part, b))
            return true;
    return false;
}

bool CopperMap::partOverlaps(const Region& part, size_t index)
{
    if (!part.bounds().overlaps(bounds_[index]))
        return false;
    for (const Region& other : outline(index))
        if (part.overlaps(other))
            return true;
    return false;
}

long CopperMap::indexOf(const LayoutObject* o) const
{
    const auto it = index_->positions.find(o);
    return it == index_->positions.end() ? -1 : static_cast<long>(it->second);
}

void CopperMap::objectsNear(int layer, const Rect& area, std::vector<uint32_t>& out) const
{
    if (!isBoardCopper(layer))
        return;
    const Tree& tree = index_->trees[treeOf(layer)];
    // The tree also reports boxes that only touch; those cannot overlap.
    tree.query(bgi::intersects(toBox(area)) &&
                   bgi::satisfies([&](const IndexEntry& e) { return bounds_[e.second].overlaps(area); }),
               boost::make_function_output_iterator([&](const IndexEntry& e) { out.push_back(e.second); }));
}

std::vector<size_t> FloodConnect(CopperMap& map, size_t start, std::vector<uint8_t>& reached)
{
    std::vector<size_t> found;
    if (start >= map.size() || reached[start] || !isBoardCopper(map.objects()[start].Layer))
        return found;
    reached[start] = 1;
    found.push_back(start);
    std::vector<uint32_t> near;
    // `found` doubles as the work list: everything before `next` has had its
    // neighbours looked at, so long chains need no recursion.
    for (size_t next = 0; next < found.size(); ++next) {
        const size_t i = found[next];
        const LayoutObject& o = map.objects()[i];
        near.clear();
        map.objectsNear(o.Layer, map.bounds(i), near);
        for (uint32_t j : near) {
            if (!reached[j] && map.outlinesOverlap(i, j)) {
                reached[j] = 1;
                found.push_back(j);
            }
        }
        // A via is the only way to the other layer; a one-sided partner
        // reference is no via.
        if (o.is(ObjectKind::Pad) && o.Partner && o.Partner->Partner == &o && isBoardCopper(o.Partner->Layer)) {
            const long p = map.indexOf(o.Partner);
            if (p >= 0 && !reached[static_cast<size_t>(p)]) {
                reached[static_cast<size_t>(p)] = 1;
                found.push_back(static_cast<size_t>(p));
            }
        }
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
