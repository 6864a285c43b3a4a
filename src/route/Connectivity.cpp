#include "route/Connectivity.h"

#include "geometry/CapsuleOverlap.h"
#include "route/CopperParts.h"
#include "route/PartGrid.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace kestrel {

namespace {

constexpr uint32_t kNoPiece = UINT32_MAX;

int gridOf(int layer) { return layer == Layer::K1 ? 0 : 1; }

// Zone edges at least this wide cover the zone's border with area, so
// whatever crosses the border already overlaps an edge.
constexpr int32_t kCoveringHalfWidth = 2;

} // namespace

struct CopperMap::Index {
    std::vector<LayoutObject const*> objects;
    std::vector<CopperPart> parts;
    std::vector<uint32_t> firstPart; // per object, plus an end entry
    PartGrid grids[2];

    // Pieces found whole by earlier floods.
    std::vector<uint32_t> pieceOf;
    std::vector<std::vector<uint32_t>> pieces;

    // Per-flood and per-query marks, so nothing needs clearing.
    std::vector<uint32_t> floodMark;
    std::vector<uint32_t> queryMark;
    uint32_t flood = 0;
    uint32_t query = 0;

    std::unordered_map<uint32_t, Region> fills;
};

CopperMap::CopperMap(const ObjectList& list) : list_(list), outlines_(list.size()), built_(list.size(), 0)
{
    bounds_.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        bounds_.push_back(OutlineBounds(list[i]));
}

CopperMap::~CopperMap() = default;

CopperMap::Index& CopperMap::index()
{
    if (index_)
        return *index_;
    index_ = std::make_unique<Index>();
    Index& x = *index_;
    const size_t n = list_.size();
    x.objects.reserve(n);
    x.firstPart.reserve(n + 1);
    std::vector<uint32_t> ids[2];
    for (size_t i = 0; i < n; ++i) {
        const LayoutObject& o = list_[i];
        x.objects.push_back(&o);
        x.firstPart.push_back(static_cast<uint32_t>(x.parts.size()));
        if (!isBoardCopper(o.Layer))
            continue;
        appendCopperParts(o, static_cast<uint32_t>(i), x.parts);
        for (uint32_t p = x.firstPart.back(); p < x.parts.size(); ++p)
            ids[gridOf(o.Layer)].push_back(p);
    }
    x.firstPart.push_back(static_cast<uint32_t>(x.parts.size()));
    for (int g = 0; g < 2; ++g)
        x.grids[g].build(x.parts, x.objects, ids[g]);
    x.pieceOf.assign(n, kNoPiece);
    x.floodMark.assign(n, 0);
    x.queryMark.assign(x.parts.size(), 0);
    return x;
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
    if (!bounds_[a].overlaps(bounds_[b]))
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

namespace {

// Decides whether two parts overlap with positive area: by the quick tests
// where they are sure, else on the parts' polygons.
class PartTest {
public:
    PartTest(CopperMap& map, const std::vector<LayoutObject const*>& objects, std::unordered_map<uint32_t, Region>& fills)
        : map_(map), objects_(objects), fills_(fills)
    {
    }

    // The answer of the quick tests alone: Unsure leaves it to overlap().
    QuickAnswer quick(const CopperPart& a, const CopperPart& b)
    {
        if (!a.box.overlaps(b.box))
            return QuickAnswer::Apart;
        if (a.isCapsule() && b.isCapsule()) {
            const CapsuleShape c = capsuleOf(object(a), a), d = capsuleOf(object(b), b);
            return quickCapsule(c) && quickCapsule(d) ? capsulesOverlap(c, d) : QuickAnswer::Unsure;
        }
        if (coveredFill(a))
            return fillAgainst(a, b);
        if (coveredFill(b))
            return fillAgainst(b, a);
        if (a.isCapsule())
            return capsuleAgainstShape(a, b);
        if (b.isCapsule())
            return capsuleAgainstShape(b, a);
        return QuickAnswer::Unsure;
    }

    // Whether two parts overlap with positive area: by the quick tests
    // where they are sure, else on the parts' polygons.
    bool overlap(const CopperPart& a, const CopperPart& b)
    {
        if (const QuickAnswer answer = quick(a, b); answer != QuickAnswer::Unsure)
            return answer == QuickAnswer::Overlap;
        if (coveredFill(a) && !b.isCapsule() && b.piece != CopperPart::kFill)
            return fillAgainstRegion(a, region(b));
        if (coveredFill(b) && !a.isCapsule() && a.piece != CopperPart::kFill)
            return fillAgainstRegion(b, region(a));
        return region(a).overlaps(region(b));
    }

private:
    // Capsules OutlineParts makes for an object with capsule parts.
    static size_t capsuleCount(const LayoutObject& o)
    {
        if (o.is(ObjectKind::Line))
            return 1;
        const size_t n = o.Points.size();
        return o.is(ObjectKind::Zone) && n > 2 ? n : n - 1;
    }

    // A capsule against the figure of a pad or the ring, disc or arc of a circle.
    QuickAnswer capsuleAgainstShape(const CopperPart& capsule, const CopperPart& shape) const
    {
        if (shape.piece != CopperPart::kShape)
            return QuickAnswer::Unsure;
        const CapsuleShape c = capsuleOf(object(capsule), capsule);
        if (!quickCapsule(c))
            return QuickAnswer::Unsure;
        const LayoutObject& o = object(shape);
        if (o.is(ObjectKind::Pad)) {
            const auto bounds = figureBounds(padOutlineFigure(o));
            return bounds ? capsuleAgainstFigure(c, *bounds) : QuickAnswer::Unsure;
        }
        if (!o.is(ObjectKind::Circle))
            return QuickAnswer::Unsure;
        const auto bounds = circleBounds(o);
        return bounds ? capsuleAgainstArc(c, *bounds) : QuickAnswer::Unsure;
    }

    const LayoutObject& object(const CopperPart& p) const { return *objects_[p.object]; }

    bool coveredFill(const CopperPart& p) const
    {
        return p.piece == CopperPart::kFill && object(p).widthUnits() / 2 >= kCoveringHalfWidth;
    }

    // A zone whose edges cover its border: a part that does not cross the
    // border lies wholly inside or outside the fill, and one that crosses it
    // overlaps an edge, which the test of that edge finds. So one point of
    // each shape inside the other decides.
    QuickAnswer fillAgainst(const CopperPart& fill, const CopperPart& other) const
    {
        const std::vector<Point>& zone = object(fill).Points;
        if (other.isCapsule()) {
            const CapsuleShape c = capsuleOf(object(other), other);
            if (!quickCapsule(c))
                return QuickAnswer::Unsure;
            if (windingNumber(zone, c.a) != 0)
                return QuickAnswer::Overlap;
            // The zone lies wholly outside the capsule when its first
            // corner does.
            if (segmentDistance(zone[0], zone[0], c.a, c.b) > c.halfWidth + 2)
                return QuickAnswer::Apart;
            return QuickAnswer::Unsure;
        }
        if (other.piece == CopperPart::kFill) {
            const std::vector<Point>& second = object(other).Points;
            if (object(other).widthUnits() / 2 < kCoveringHalfWidth)
                return QuickAnswer::Unsure;
            const bool inside = windingNumber(zone, second[0]) != 0 || windingNumber(second, zone[0]) != 0;
            return inside ? QuickAnswer::Overlap : QuickAnswer::Apart;
        }
        const LayoutObject& o = object(other);
        if (!o.is(ObjectKind::Pad))
            return QuickAnswer::Unsure;
        const auto bounds = figureBounds(padOutlineFigure(o));
        if (!bounds || pointInFigure(o.centre(), *bounds) != QuickAnswer::Overlap)
            return QuickAnswer::Unsure;
        if (windingNumber(zone, o.centre()) != 0)
            return QuickAnswer::Overlap;
        return pointInFigure(zone[0], *bounds);
    }

    bool fillAgainstRegion(const CopperPart& fill, const Region& shape) const
    {
        const std::vector<Point>& zone = object(fill).Points;
        if (shape.empty())
            return false;
        return windingNumber(zone, shape.polygons()[0][0]) != 0 || shape.contains(zone[0]);
    }

    const Region& region(const CopperPart& p)
    {
        if (p.isCapsule()) {
            // Outlines built already hold the capsules first, in segment order.
            if (map_.outlineBuilt(p.object)) {
                const std::vector<Region>& parts = map_.outline(p.object);
                const size_t k = p.piece == CopperPart::kLine ? 0 : static_cast<size_t>(p.piece);
                if (k < parts.size() && capsuleCount(object(p)) <= parts.size())
                    return parts[k];
            }
            const CapsuleShape c = capsuleOf(object(p), p);
            const auto outline = SegmentOutline(object(p), c.a, c.b);
            scratch_[which_ ^= 1] = Region::fromPolygon(Polygon(outline.begin(), outline.end()));
            return scratch_[which_];
        }
        if (p.piece == CopperPart::kFill) {
            auto it = fills_.find(p.object);
            if (it == fills_.end())
                it = fills_.emplace(p.object, Region::fromPolygon(object(p).Points)).first;
            return it->second;
        }
        const std::vector<Region>& parts = map_.outline(p.object);
        return parts.empty() ? empty_ : parts[0];
    }

    CopperMap& map_;
    const std::vector<LayoutObject const*>& objects_;
    std::unordered_map<uint32_t, Region>& fills_;
    Region scratch_[2];
    int which_ = 0;
    const Region empty_;
};

} // namespace

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

    const uint32_t flood = ++x.flood;
    bool cut = false; // whether objects marked by the caller stood near
    auto take = [&](size_t j) {
        reached[j] = 1;
        x.floodMark[j] = flood;
        found.push_back(j);
    };
    take(start);
    PartTest test(map, x.objects, x.fills);
    auto dead = [&](uint32_t id) {
        const uint32_t j = x.parts[id].object;
        if (x.floodMark[j] == flood)
            return true;
        if (reached[j]) {
            cut = true;
            return true;
        }
        return false;
    };
    // Pairs the quick tests cannot decide wait until the cheap part of the
    // flood has run dry: by then most of them join objects reached another
    // way, and their polygons are never built.
    std::vector<std::pair<uint32_t, uint32_t>> deferred;
    // `found` doubles as the work list: everything before `next` has had its
    // neighbours looked at, so long chains need no recursion.
    for (size_t next = 0;;) {
        if (next == found.size()) {
            while (!deferred.empty() && next == found.size()) {
                const auto [p, id] = deferred.back();
                deferred.pop_back();
                if (x.floodMark[x.parts[id].object] != flood && test.overlap(x.parts[p], x.parts[id]))
                    take(x.parts[id].object);
            }
            if (next == found.size())
                break;
        }
        const size_t i = found[next++];
        const LayoutObject& o = map.objects()[i];
        PartGrid& grid = x.grids[gridOf(o.Layer)];
        for (uint32_t p = x.firstPart[i]; p < x.firstPart[i + 1]; ++p) {
            const uint32_t query = ++x.query;
            const CopperPart& part = x.parts[p];
            grid.forEachNear(p, dead, [&](uint32_t id) {
                const CopperPart& other = x.parts[id];
                if (x.queryMark[id] == query || x.floodMark[other.object] == flood)
                    return;
                x.queryMark[id] = query;
                const QuickAnswer answer = test.quick(part, other);
                if (answer == QuickAnswer::Overlap)
                    take(other.object);
                else if (answer == QuickAnswer::Unsure)
                    deferred.emplace_back(p, id);
            });
        }
        // A via is the only way to the other layer; a one-sided partner
        // reference is no via.
        if (o.is(ObjectKind::Pad) && o.Partner && o.Partner->Partner == &o && isBoardCopper(o.Partner->Layer)) {
            const long p = map.indexOf(o.Partner);
            if (p >= 0 && x.floodMark[static_cast<size_t>(p)] != flood) {
                if (reached[static_cast<size_t>(p)])
                    cut = true;
                else
                    take(static_cast<size_t>(p));
            }
        }
    }
    for (PartGrid& grid : x.grids)
        grid.reopen();
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
