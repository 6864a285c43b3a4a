#include "route/Connectivity.h"

#include "geometry/CapsuleOverlap.h"
#include "route/CopperParts.h"
#include "route/PartGrid.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <tuple>
#include <unordered_map>

namespace kestrel {

namespace {

constexpr uint32_t kNoPiece = UINT32_MAX;
constexpr uint32_t kNoPartner = UINT32_MAX;

int gridOf(int layer) { return layer == Layer::K1 ? 0 : 1; }

// Zone edges at least this wide cover the zone's border with area, so
// whatever crosses the border already overlaps an edge.
constexpr int32_t kCoveringHalfWidth = 2;

// The bounds of a pad's figure or a circle's outline, worked out on first
// use: every capsule near the shape asks for them.
struct ShapeBounds {
    std::optional<FigureBounds> figure;
    std::optional<ArcBounds> arc;
};

class ShapeBoundsCache {
public:
    explicit ShapeBoundsCache(size_t objects) : slot_(objects, kUnknown) {}

    const ShapeBounds& of(uint32_t index, const IndexVector<LayoutObject const*>& objects)
    {
        if (slot_[index] == kUnknown) {
            const LayoutObject& o = *objects[index];
            slot_[index] = static_cast<uint32_t>(bounds_.size());
            ShapeBounds& b = bounds_.emplace_back();
            if (o.is(ObjectKind::Pad))
                b.figure = figureBounds(padOutlineFigure(o));
            else if (o.is(ObjectKind::Circle))
                b.arc = circleBounds(o);
        }
        return bounds_[slot_[index]];
    }

private:
    static constexpr uint32_t kUnknown = UINT32_MAX;
    std::vector<uint32_t> slot_;
    std::vector<ShapeBounds> bounds_;
};

} // namespace

struct CopperMap::Index {
    IndexVector<LayoutObject const*> objects;
    IndexVector<CopperPart> parts;
    IndexVector<CapsuleShape> capsules; // by part id, for the capsule parts
    IndexVector<uint32_t> firstPart;    // per object, plus an end entry
    IndexVector<uint8_t> gridOfObject;  // per object: the grid of a copper object's layer
    IndexVector<uint32_t> viaPartner;   // per object: the other pad of its via, or kNoPartner
    PartGrid grids[2];

    // Pieces found whole by earlier floods.
    IndexVector<uint32_t> pieceOf;
    std::vector<std::vector<uint32_t>> pieces;

    // Per-flood and per-query marks, so nothing needs clearing. A flood
    // may work on both layers at once, so each layer has its own flood
    // marks (one array per thread: no cache line is written by both) and
    // its own query count.
    IndexVector<uint32_t> floodMark[2];
    IndexVector<uint32_t> queryMark;
    uint32_t flood = 0;
    uint32_t query[2] = {0, 0};

    // Per layer, for the same reason.
    std::unordered_map<uint32_t, Region> fills[2];
    std::unique_ptr<ShapeBoundsCache> shapes[2];
};

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

namespace {

// Decides whether two parts, given by their ids, overlap with positive area:
// by the quick tests where they are sure, else on the parts' polygons.
class PartTest {
public:
    PartTest(CopperMap& map, const IndexVector<LayoutObject const*>& objects, const IndexVector<CopperPart>& parts,
             const IndexVector<CapsuleShape>& capsules, ShapeBoundsCache& shapes,
             std::unordered_map<uint32_t, Region>& fills)
        : map_(map), objects_(objects), parts_(parts), capsules_(capsules), shapes_(shapes), fills_(fills)
    {
    }

    // The answer of the quick tests alone: Unsure leaves it to overlap().
    QuickAnswer quick(uint32_t a, uint32_t b)
    {
        const CopperPart &pa = parts_[a], &pb = parts_[b];
        if (!pa.box.overlaps(pb.box))
            return QuickAnswer::Apart;
        if (pa.isCapsule() && pb.isCapsule()) {
            const CapsuleShape &c = capsules_[a], &d = capsules_[b];
            return quickCapsule(c) && quickCapsule(d) ? capsulesOverlap(c, d) : QuickAnswer::Unsure;
        }
        if (coveredFill(pa))
            return fillAgainst(pa, b);
        if (coveredFill(pb))
            return fillAgainst(pb, a);
        if (pa.isCapsule())
            return capsuleAgainstShape(a, pb);
        if (pb.isCapsule())
            return capsuleAgainstShape(b, pa);
        return QuickAnswer::Unsure;
    }

    bool overlap(uint32_t a, uint32_t b)
    {
        if (const QuickAnswer answer = quick(a, b); answer != QuickAnswer::Unsure)
            return answer == QuickAnswer::Overlap;
        const CopperPart &pa = parts_[a], &pb = parts_[b];
        if (coveredFill(pa) && !pb.isCapsule() && pb.piece != CopperPart::kFill)
            return fillAgainstRegion(pa, region(b));
        if (coveredFill(pb) && !pa.isCapsule() && pa.piece != CopperPart::kFill)
            return fillAgainstRegion(pb, region(a));
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
    QuickAnswer capsuleAgainstShape(uint32_t capsule, const CopperPart& shape)
    {
        const CapsuleShape& c = capsules_[capsule];
        if (shape.piece != CopperPart::kShape || !quickCapsule(c))
            return QuickAnswer::Unsure;
        const ShapeBounds& bounds = shapes_.of(shape.object, objects_);
        if (bounds.figure)
            return capsuleAgainstFigure(c, *bounds.figure);
        if (bounds.arc)
            return capsuleAgainstArc(c, *bounds.arc);
        return QuickAnswer::Unsure;
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
    QuickAnswer fillAgainst(const CopperPart& fill, uint32_t otherId)
    {
        const PackedList<Point>& zone = object(fill).Points;
        const CopperPart& other = parts_[otherId];
        if (other.isCapsule()) {
            const CapsuleShape& c = capsules_[otherId];
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
            const PackedList<Point>& second = object(other).Points;
            if (object(other).widthUnits() / 2 < kCoveringHalfWidth)
                return QuickAnswer::Unsure;
            const bool inside = windingNumber(zone, second[0]) != 0 || windingNumber(second, zone[0]) != 0;
            return inside ? QuickAnswer::Overlap : QuickAnswer::Apart;
        }
        const LayoutObject& o = object(other);
        const std::optional<FigureBounds>& bounds = shapes_.of(other.object, objects_).figure;
        if (!bounds || pointInFigure(o.centre(), *bounds) != QuickAnswer::Overlap)
            return QuickAnswer::Unsure;
        if (windingNumber(zone, o.centre()) != 0)
            return QuickAnswer::Overlap;
        return pointInFigure(zone[0], *bounds);
    }

    bool fillAgainstRegion(const CopperPart& fill, const Region& shape) const
    {
        const PackedList<Point>& zone = object(fill).Points;
        if (shape.empty())
            return false;
        return windingNumber(zone, shape.polygons()[0][0]) != 0 || shape.contains(zone[0]);
    }

    const Region& region(uint32_t id)
    {
        const CopperPart& p = parts_[id];
        if (p.isCapsule()) {
            // Outlines built already hold the capsules first, in segment order.
            if (map_.outlineBuilt(p.object)) {
                const std::vector<Region>& parts = map_.outline(p.object);
                const size_t k = p.piece == CopperPart::kLine ? 0 : static_cast<size_t>(p.piece);
                if (k < parts.size() && capsuleCount(object(p)) <= parts.size())
                    return parts[k];
            }
            const CapsuleShape& c = capsules_[id];
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
    const IndexVector<LayoutObject const*>& objects_;
    const IndexVector<CopperPart>& parts_;
    const IndexVector<CapsuleShape>& capsules_;
    ShapeBoundsCache& shapes_;
    std::unordered_map<uint32_t, Region>& fills_;
    Region scratch_[2];
    int which_ = 0;
    const Region empty_;
};

} // namespace

namespace {

// A flood works on each copper layer on its own: within a layer it follows
// overlapping copper, and only the pads of vias lead to the other layer. A
// layer's work is done by one thread at a time (the holder of `owner`),
// which alone touches the layer's grid and the marks of its objects; so
// once a flood has grown large, a second thread takes the other layer and
// the two layers are flooded side by side. Aligned to cache lines, so the
// two threads never write the same one.
struct alignas(64) LayerFlood {
    LayerFlood(PartTest test, IndexVector<uint32_t>& marks, uint32_t query)
        : test(std::move(test)), floodMark(marks), query(query)
    {
    }

    std::mutex owner;
    // On a line of its own: a thread trying for `owner` in vain writes its
    // line.
    alignas(64) PartTest test;
    IndexVector<uint32_t>& floodMark;
    uint32_t query; // the layer's query count, written back at the end
    // This layer's objects reached; those before `next` have had their
    // neighbours looked at, so long chains need no recursion.
    std::vector<size_t> found;
    size_t next = 0;
    // Pairs the quick tests cannot decide wait until the cheap part of the
    // flood has run dry: by then most of them join objects reached another
    // way, and their polygons are never built.
    std::vector<std::pair<uint32_t, uint32_t>> deferred;
    // Whether objects marked by the caller stood near.
    bool cut = false;
    // Grid entries looked at: the measure of the flood's work so far.
    size_t entriesSeen = 0;
    // Pads of vias reached from the other layer, waiting to be taken here.
    alignas(64) std::mutex inboxLock;
    std::vector<uint32_t> inbox;
    // Pads ever put into the inbox, readable without the lock.
    std::atomic<size_t> handedIn{0};
};

class LayerFloods {
public:
    LayerFloods(CopperMap& map, CopperMap::Index& x, const std::vector<uint8_t>& reached)
        : x_(x), reached_(reached), flood_(++x.flood),
          layers_{LayerFlood(PartTest(map, x.objects, x.parts, x.capsules, *x.shapes[0], x.fills[0]), x.floodMark[0],
                             x.query[0]),
                  LayerFlood(PartTest(map, x.objects, x.parts, x.capsules, *x.shapes[1], x.fills[1]), x.floodMark[1],
                             x.query[1])}
    {
    }

    // Floods from `start` and returns what it reached, start first, and
    // whether marks of the caller cut it. The caller's marks are read, not
    // written: it marks what comes back.
    std::pair<std::vector<size_t>, bool> run(size_t start)
    {
        const int first = x_.gridOfObject[start];
        LayerFlood& layer = layers_[first];
        layer.floodMark[start] = flood_;
        layer.found.push_back(start);
        open_.store(1);
        handOverVia(start);
        // The grids are made whole again and the query counts kept
        // whatever happens: the map serves the next flood.
        auto finish = [&] {
            stopHelper();
            for (int g = 0; g < 2; ++g) {
                x_.grids[g].reopen();
                x_.query[g] = layers_[g].query;
            }
        };
        try {
            work(first);
        } catch (...) {
            finish();
            throw;
        }
        finish();
        if (failed_)
            std::rethrow_exception(failed_);
        std::vector<size_t> found = std::move(layer.found);
        const std::vector<size_t>& other = layers_[1 - first].found;
        found.insert(found.end(), other.begin(), other.end());
        return {std::move(found), layers_[0].cut || layers_[1].cut};
    }

private:
    // Grid entries looked at before a second thread is asked to help: most
    // floods end long before, and a thread costs more than they take. A
    // large flood does most of its work early, when every cell is full.
    // The helper is asked only once the other layer has work: a flood on
    // one layer alone gains nothing from it.
    static constexpr size_t kEntriesBeforeHelper = 20000;
    // How long a helper without work sleeps before it looks again.
    static constexpr std::chrono::microseconds kHelperNap{50};

    // The caller's loop over both layers, until no work is left anywhere.
    void work(int first)
    {
        while (open_.load() != 0 && !failedFlag_.load()) {
            bool did = false;
            for (int g : {first, 1 - first})
                did |= tryDrain(g, true);
            if (!did)
                std::this_thread::yield();
        }
    }

    // Until the flood is over: the other layer has work only once a via
    // leads there.
    void helperLoop(int preferred)
    {
        try {
            while (open_.load() != 0 && !stop_.load()) {
                bool did = false;
                for (int g : {preferred, 1 - preferred})
                    did |= tryDrain(g, false);
                if (!did)
                    std::this_thread::sleep_for(kHelperNap);
            }
        } catch (...) {
            failed_ = std::current_exception();
            failedFlag_.store(true);
        }
    }

    void startHelper(int busy)
    {
        try {
            helper_ = std::thread([this, busy] { helperLoop(1 - busy); });
        } catch (const std::system_error&) {
            // No thread to be had: the caller floods both layers alone.
        }
    }

    void stopHelper()
    {
        stop_.store(true);
        if (helper_.joinable())
            helper_.join();
    }

    // Until the helper starts, the caller's is the only thread, and most
    // floods end before then: they take no lock.
    bool tryDrain(int g, bool caller)
    {
        std::unique_lock lock(layers_[g].owner, std::defer_lock);
        if (shared_ && !lock.try_lock())
            return false;
        return drain(g, caller, lock);
    }

    // Works on layer g until it has nothing left; returns whether it did
    // anything. Work made and done here is counted in `open_` once, at the
    // end: the work it started from keeps the count above zero meanwhile.
    bool drain(int g, bool caller, std::unique_lock<std::mutex>& owner)
    {
        LayerFlood& layer = layers_[g];
        ptrdiff_t change = 0;
        bool did = false;
        while (!stop_.load(std::memory_order_relaxed)) {
            if (layer.next < layer.found.size()) {
                lookAround(g, layer.found[layer.next++], change);
                if (caller && !helperAsked_ && layer.entriesSeen >= kEntriesBeforeHelper &&
                    layers_[1 - g].handedIn.load(std::memory_order_relaxed) != 0) {
                    helperAsked_ = true;
                    // This layer is taken before another thread can try.
                    if (!owner.owns_lock())
                        owner.lock();
                    shared_ = true;
                    startHelper(g);
                }
            } else if (!takeInbox(g, change)) {
                if (layer.deferred.empty())
                    break;
                const auto [p, id] = layer.deferred.back();
                layer.deferred.pop_back();
                if (const uint32_t j = x_.parts[id].object; layer.floodMark[j] != flood_ && layer.test.overlap(p, id))
                    take(layer, j, change);
            }
            --change;
            did = true;
        }
        if (change != 0)
            open_.fetch_add(static_cast<size_t>(change));
        return did;
    }

    void take(LayerFlood& layer, size_t j, ptrdiff_t& change)
    {
        layer.floodMark[j] = flood_;
        layer.found.push_back(j);
        ++change;
        handOverVia(j);
    }

    // A via is the only way to the other layer, and the pad there is its
    // layer's to take. It is handed over as soon as this side is reached,
    // not when this side's turn comes: the other layer's thread may be
    // waiting for work. Counted at once, so that thread sees work is left.
    void handOverVia(size_t i)
    {
        const uint32_t partner = x_.viaPartner[i];
        if (partner == kNoPartner)
            return;
        LayerFlood& other = layers_[x_.gridOfObject[partner]];
        open_.fetch_add(1);
        std::unique_lock lock(other.inboxLock, std::defer_lock);
        if (shared_)
            lock.lock();
        other.inbox.push_back(partner);
        other.handedIn.fetch_add(1, std::memory_order_relaxed);
    }

    // Takes the first pad waiting in the inbox, if any.
    bool takeInbox(int g, ptrdiff_t& change)
    {
        LayerFlood& layer = layers_[g];
        uint32_t j;
        {
            std::unique_lock lock(layer.inboxLock, std::defer_lock);
            if (shared_)
                lock.lock();
            if (layer.inbox.empty())
                return false;
            j = layer.inbox.back();
            layer.inbox.pop_back();
        }
        if (layer.floodMark[j] != flood_) {
            if (reached_[j])
                layer.cut = true;
            else
                take(layer, j, change);
        }
        return true;
    }

    // Looks at everything near object i of layer g.
    void lookAround(int g, size_t i, ptrdiff_t& change)
    {
        LayerFlood& layer = layers_[g];
        PartGrid& grid = x_.grids[g];
        const uint32_t flood = flood_;
        const IndexVector<uint32_t>& floodMark = layer.floodMark;
        auto dead = [&](uint32_t j) {
            ++layer.entriesSeen;
            if (floodMark[j] == flood)
                return true;
            if (reached_[j]) {
                layer.cut = true;
                return true;
            }
            return false;
        };
        for (uint32_t p = x_.firstPart[i]; p < x_.firstPart[i + 1]; ++p) {
            const uint32_t query = ++layer.query;
            const Rect box = x_.parts[p].box;
            // A part in one cell meets every other part at most once.
            const bool once = grid.cellCount(p) == 1;
            grid.forEachNear(p, dead, [&](const PartGrid::Entry& entry) {
                const uint32_t id = entry.part, j = entry.object;
                if (floodMark[j] == flood || !box.overlaps(x_.parts[id].box))
                    return;
                if (!once) {
                    if (x_.queryMark[id] == query)
                        return;
                    x_.queryMark[id] = query;
                }
                const QuickAnswer answer = layer.test.quick(p, id);
                if (answer == QuickAnswer::Overlap) {
                    take(layer, j, change);
                } else if (answer == QuickAnswer::Unsure) {
                    layer.deferred.emplace_back(p, id);
                    ++change;
                }
            });
        }
    }

    CopperMap::Index& x_;
    const std::vector<uint8_t>& reached_;
    const uint32_t flood_;
    LayerFlood layers_[2];
    // Objects found and not yet looked at, pads in inboxes and deferred
    // pairs: the flood is over when none are left.
    alignas(64) std::atomic<size_t> open_{0};
    bool helperAsked_ = false; // on the caller's thread only
    // Set by the caller before the helper starts, never changed after.
    bool shared_ = false;
    std::thread helper_;
    std::atomic<bool> stop_{false};
    std::exception_ptr failed_;
    std::atomic<bool> failedFlag_{false};
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

    bool cut = false;
    std::tie(found, cut) = LayerFloods(map, x, reached).run(start);
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
