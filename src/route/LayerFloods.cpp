#include "route/LayerFloods.h"

#include "route/PartTest.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace kestrel {

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

    FloodResult run(size_t start)
    {
        const int first = x_.gridOfObject[start];
        LayerFlood& layer = layers_[first];
        ptrdiff_t change = 0;
        take(layer, start, change);
        open_.fetch_add(static_cast<size_t>(change));
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
        const bool cut = layers_[0].cut || layers_[1].cut;
        const std::vector<size_t>& other = layers_[1 - first].found;
        if (other.empty())
            return {std::move(layer.found), cut};
        std::vector<size_t> found;
        found.reserve(layer.found.size() + other.size());
        found.insert(found.end(), layer.found.begin(), layer.found.end());
        found.insert(found.end(), other.begin(), other.end());
        return {std::move(found), cut};
    }

private:
    // Grid entries looked at before a second thread is asked to help: most
    // floods end long before, and a thread costs more than they take. A
    // large flood does most of its work early, when every cell is full.
    // The helper is asked only once the other layer has work: a flood on
    // one layer alone gains nothing from it.
    static constexpr size_t kEntriesBeforeHelper = 20000;
    // Room a layer's list starts with: most floods are small, and growing
    // from one by doubling costs an allocation at every step.
    static constexpr size_t kFirstCapacity = 16;
    // How long a helper without work sleeps before it looks again.
    static constexpr std::chrono::microseconds kHelperNap{50};

    // The caller's loop over both layers, until no work is left anywhere.
    void work(int first)
    {
        while (open_.load() != 0 && !failedFlag_.load()) {
            bool did = false;
            for (int g : {first, 1 - first})
                did |= tryDrain(g);
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
                    did |= tryDrain(g);
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
    bool tryDrain(int g)
    {
        std::unique_lock lock(layers_[g].owner, std::defer_lock);
        if (shared_ && !lock.try_lock())
            return false;
        return drain(g, lock);
    }

    // Works on layer g until it has nothing left; returns whether it did
    // anything. Work made and done here is counted in `open_` once, at the
    // end: the work it started from keeps the count above zero meanwhile.
    bool drain(int g, std::unique_lock<std::mutex>& owner)
    {
        LayerFlood& layer = layers_[g];
        ptrdiff_t change = 0;
        bool did = false;
        while (!stop_.load(std::memory_order_relaxed)) {
            if (layer.next < layer.found.size()) {
                lookAround(g, layer.found[layer.next++], change);
                // Before the helper, the caller's is the only thread: the
                // other layer's inbox may be read without its lock.
                if (!shared_ && layer.entriesSeen >= kEntriesBeforeHelper && !layers_[1 - g].inbox.empty()) {
                    // This layer is taken before another thread can try.
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

    // `fromVia` when j came through the inbox: its via's other pad is
    // reached already.
    void take(LayerFlood& layer, size_t j, ptrdiff_t& change, bool fromVia = false)
    {
        layer.floodMark[j] = flood_;
        if (layer.found.empty())
            layer.found.reserve(kFirstCapacity);
        layer.found.push_back(j);
        ++change;
        if (!fromVia)
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
                take(layer, j, change, true);
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
    // Set by the caller when it asks for the helper, never changed after.
    bool shared_ = false;
    std::thread helper_;
    std::atomic<bool> stop_{false};
    std::exception_ptr failed_;
    std::atomic<bool> failedFlag_{false};
};

} // namespace

FloodResult floodBothLayers(CopperMap& map, CopperMap::Index& x, const std::vector<uint8_t>& reached, size_t start)
{
    return LayerFloods(map, x, reached).run(start);
}

} // namespace kestrel
