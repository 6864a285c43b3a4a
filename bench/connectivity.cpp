// Connectivity flood and rubber-band clean-up on generated boards.

#include "route/Connectivity.h"
#include "route/RubberBands.h"
#include "support/GeneratedBoard.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace kestrel;

// 20,000 objects of every kind placed at random on a 160 x 100 mm board. Its
// long random lines and tracks cross everywhere, so almost all of its copper
// is one piece: the worst case for a flood.
LayoutDocument randomBoard()
{
    bench::BoardRecipe recipe;
    recipe.objects = 20000;
    recipe.vias = 500;
    recipe.bands = 0;
    recipe.widthUnits = 16000;
    recipe.heightUnits = 10000;
    return bench::generateDocument(recipe);
}

LayoutDocument netBoard() { return bench::generateNetDocument(); }

struct FloodCase {
    const char* label;
    LayoutDocument (*make)();
    // The start: an object of the middle cell (net board) or the first pad
    // after the vias (random board).
    size_t (*start)(const ObjectList&);
};

const FloodCase floodCases[] = {
    {"net board, signal net", netBoard, [](const ObjectList& l) { return l.size() / 2 + 2; }},
    {"net board, ground net", netBoard, [](const ObjectList& l) { return l.size() / 2 + 10; }},
    {"random board, one piece", randomBoard,
     [](const ObjectList& l) {
         for (size_t i = 0; i < l.size(); ++i)
             if (l[i].is(ObjectKind::Pad) && !l[i].Partner)
                 return i;
         return size_t{0};
     }},
};

const LayoutDocument& boardFor(int which)
{
    static std::unique_ptr<LayoutDocument> boards[3];
    if (!boards[which])
        boards[which] = std::make_unique<LayoutDocument>(floodCases[which].make());
    return *boards[which];
}

// Floods on one kept map: after the first, the piece found comes back whole.
void BM_FloodWithOutlinesBuilt(benchmark::State& state)
{
    const FloodCase& c = floodCases[state.range(0)];
    const ObjectList& list = boardFor(static_cast<int>(state.range(0))).board(0).Objects;
    CopperMap map(list);
    map.buildAllOutlines();
    const size_t start = c.start(list);
    size_t reached = 0;
    for (auto _ : state) {
        std::vector<uint8_t> marks(list.size(), 0);
        const auto found = FloodConnect(map, start, marks);
        reached = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.SetLabel(c.label);
    state.counters["objects"] = static_cast<double>(list.size());
    state.counters["reached"] = static_cast<double>(reached);
}
BENCHMARK(BM_FloodWithOutlinesBuilt)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The first flood on a map whose index and outlines are built (outside the
// timing): no piece found by an earlier flood to hand back.
void BM_FirstFloodOnBuiltMap(benchmark::State& state)
{
    const FloodCase& c = floodCases[state.range(0)];
    const ObjectList& list = boardFor(static_cast<int>(state.range(0))).board(0).Objects;
    const size_t start = c.start(list);
    size_t reached = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto map = std::make_unique<CopperMap>(list);
        map->buildAllOutlines();
        std::vector<uint8_t> marks(list.size(), 0);
        state.ResumeTiming();
        reached = FloodConnect(*map, start, marks).size();
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    state.SetLabel(c.label);
    state.counters["reached"] = static_cast<double>(reached);
}
// Few iterations: building the map outside the timing costs far more than the flood.
BENCHMARK(BM_FirstFloodOnBuiltMap)->DenseRange(0, 2)->Iterations(10)->Unit(benchmark::kMillisecond);

// From cold: the index and the outlines the flood needs are built inside the timing.
void BM_FloodFromCold(benchmark::State& state)
{
    const FloodCase& c = floodCases[state.range(0)];
    const ObjectList& list = boardFor(static_cast<int>(state.range(0))).board(0).Objects;
    const size_t start = c.start(list);
    size_t reached = 0;
    for (auto _ : state) {
        const auto found = connectedObjects(list, static_cast<long>(start));
        reached = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.SetLabel(c.label);
    state.counters["reached"] = static_cast<double>(reached);
}
BENCHMARK(BM_FloodFromCold)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// 2,000 pads in a grid (plus 250 vias) with 1,000 bands between neighbours: every second
// band is already made in copper, a quarter of them through a via and a
// track on the other side.
struct BandBoard {
    ObjectList list;
    std::vector<PackedList<LayoutObject*>> bands;

    BandBoard()
    {
        std::vector<LayoutObject*> pads;
        for (int32_t row = 0; row < 40; ++row)
            for (int32_t col = 0; col < 50; ++col) {
                LayoutObject pad = makePad({200 + col * 300, -200 - row * 245}, 60, static_cast<uint8_t>(1 + (col % 9)), 1, 30);
                pads.push_back(&list.append(std::move(pad)));
            }
        for (size_t b = 0; b < 1000; ++b) {
            LayoutObject& from = *pads[2 * b];
            LayoutObject& to = *pads[2 * b + 1];
            from.Connections.push_back(&to);
            to.Connections.push_back(&from);
            const Point a{from.X1, from.Y1}, c{to.X1, to.Y1};
            if (b % 4 == 0) {
                LayoutObject t = makeTrack(40, 1);
                t.Points = {a, {a.x + 100, a.y - 60}, c};
                list.append(std::move(t));
            } else if (b % 4 == 2) {
                to.Layer = 3;
                const Point mid{(a.x + c.x) / 2, a.y};
                LayoutObject up = makeTrack(40, 1);
                up.Points = {a, mid};
                list.append(std::move(up));
                LayoutObject& v1 = list.append(makePad(mid, 50, 1, 1, 25));
                LayoutObject& v3 = list.append(makePad(mid, 50, 1, 3, 25));
                v1.Partner = &v3;
                v3.Partner = &v1;
                LayoutObject down = makeTrack(40, 3);
                down.Points = {mid, c};
                list.append(std::move(down));
            }
        }
        for (const auto& o : list)
            bands.push_back(o->Connections);
    }
    void restoreBands()
    {
        for (size_t i = 0; i < list.size(); ++i)
            list[i].Connections = bands[i];
    }
};

void BM_ClearConnections(benchmark::State& state)
{
    BandBoard board;
    BandCleanup result;
    for (auto _ : state) {
        state.PauseTiming();
        board.restoreBands();
        state.ResumeTiming();
        result = ClearConnections(board.list);
    }
    state.counters["removed"] = static_cast<double>(result.removedBands());
    state.counters["kept"] = static_cast<double>(result.keptBands());
}
BENCHMARK(BM_ClearConnections)->Unit(benchmark::kMillisecond);

} // namespace
