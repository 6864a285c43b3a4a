// How load, export and flood grow with the board: 1k, 10k, 100k and 1M
// tracks. The tracks overlap their neighbours in rows, and the first track
// of each row reaches down into the next, so the whole board is one piece
// of copper and a flood visits every track. items_per_second staying flat
// across the sizes means linear growth.

#include "model/LayoutFile.h"
#include "output/GerberExport.h"
#include "route/Connectivity.h"
#include "support/HeapInUse.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <memory>

using namespace kestrel;

namespace {

constexpr int32_t kPitch = 190;

LayoutDocument tracksDocument(size_t tracks)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    const auto columns = static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(tracks))));
    const size_t rows = (tracks + columns - 1) / columns;
    doc.Working.BoardWidth = static_cast<int32_t>(columns) * kPitch + 400;
    doc.Working.BoardHeight = static_cast<int32_t>(rows) * kPitch + 400;
    ObjectList& list = *doc.currentObjects();
    for (size_t k = 0; k < tracks; ++k) {
        const int32_t x = 200 + static_cast<int32_t>(k % columns) * kPitch;
        const int32_t y = -200 - static_cast<int32_t>(k / columns) * kPitch;
        LayoutObject t = makeTrack(40, Layer::K1);
        if (k % columns == 0 && k + columns < tracks)
            t.Points.push_back({x, y - kPitch - 20});
        t.Points.push_back({x, y});
        t.Points.push_back({x + kPitch + 20, y});
        list.append(std::move(t));
    }
    return doc;
}

struct Sized {
    LayoutDocument doc;
    std::vector<uint8_t> bytes;
};

const Sized& sized(size_t tracks)
{
    static std::map<size_t, std::unique_ptr<Sized>> made;
    auto& slot = made[tracks];
    if (!slot) {
        slot = std::make_unique<Sized>(Sized{tracksDocument(tracks), {}});
        prepareForWriting(slot->doc, true);
        slot->bytes = encodeDocument(slot->doc);
    }
    return *slot;
}

void BM_ScaleLoad(benchmark::State& state)
{
    const auto tracks = static_cast<size_t>(state.range(0));
    const Sized& s = sized(tracks);
    for (auto _ : state) {
        auto r = decodeDocument(s.bytes.data(), s.bytes.size(), Language::English, "scale.kbd");
        if (!r)
            state.SkipWithError(r.message().c_str());
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * tracks));
    state.counters["MB"] = static_cast<double>(s.bytes.size()) / 1e6;
    // Heap held by one loaded document, per object.
    const size_t before = bench::heapInUse();
    auto loaded = decodeDocument(s.bytes.data(), s.bytes.size(), Language::English, "scale.kbd");
    state.counters["heap_bytes_per_object"] =
        static_cast<double>(bench::heapInUse() - before) / static_cast<double>(tracks);
}

void BM_ScaleExport(benchmark::State& state)
{
    const auto tracks = static_cast<size_t>(state.range(0));
    const Sized& s = sized(tracks);
    const ObjectList& objects = s.doc.board(0).Objects;
    for (auto _ : state) {
        const std::string gerber =
            exportGerber(objects, s.doc.Working, GerberOptions::presetFor(GerberLayer::K1), Language::English);
        benchmark::DoNotOptimize(gerber.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * tracks));
}

// From cold: the copper index is built inside the timing.
void BM_ScaleFlood(benchmark::State& state)
{
    const auto tracks = static_cast<size_t>(state.range(0));
    const ObjectList& objects = sized(tracks).doc.board(0).Objects;
    size_t reached = 0;
    for (auto _ : state) {
        reached = connectedObjects(objects, 0).size();
        benchmark::DoNotOptimize(reached);
    }
    if (reached != tracks)
        state.SkipWithError("the flood missed tracks");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * tracks));
}

} // namespace

BENCHMARK(BM_ScaleLoad)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleExport)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleFlood)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
