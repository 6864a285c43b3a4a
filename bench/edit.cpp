// Hit test, frame selection, undo snapshot and rotation on generated boards.

#include "edit/HitTest.h"
#include "edit/Selection.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "support/GeneratedBoard.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

using namespace kestrel;

// 20,000 objects of every kind on a 160 x 100 mm board, all layers shown.
LayoutDocument board20k()
{
    bench::BoardRecipe recipe;
    recipe.objects = 20000;
    recipe.vias = 200;
    recipe.bands = 400;
    recipe.widthUnits = 16000;
    recipe.heightUnits = 10000;
    LayoutDocument doc = bench::generateDocument(recipe);
    doc.Working.LayerVisible = {1, 1, 1, 1};
    return doc;
}

// One click at a random point of the board per iteration, through an index
// built once (the board view keeps it until the objects change).
void BM_FindObjectAt(benchmark::State& state)
{
    LayoutDocument doc = board20k();
    ObjectIndex index;
    index.build(*doc.currentObjects());
    std::mt19937 rng(7);
    std::vector<Point> clicks(4096);
    std::uniform_int_distribution<int32_t> x(0, 16000), y(-10000, 0);
    for (Point& p : clicks)
        p = {x(rng), y(rng)};
    size_t i = 0, hits = 0;
    for (auto _ : state) {
        const long found = FindObjectAt(index, doc.Working, clicks[i++ % clicks.size()]);
        hits += found >= 0 ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
    state.counters["hit_share"] = static_cast<double>(hits) / static_cast<double>(i);
}
BENCHMARK(BM_FindObjectAt)->Unit(benchmark::kMicrosecond);

// A frame over the top-left quarter of the board, after clearing the
// selection as the press that starts a frame does.
void BM_SelectInFrameQuarter(benchmark::State& state)
{
    LayoutDocument doc = board20k();
    ObjectList& list = *doc.currentObjects();
    ObjectIndex index;
    index.build(list);
    for (auto _ : state) {
        DeselectAll(list);
        SelectInFrame(list, index, doc.Working, {0, 0}, {8000, -5000});
    }
    state.counters["selected"] = static_cast<double>(SelectedCount(list));
}
BENCHMARK(BM_SelectInFrameQuarter)->Unit(benchmark::kMillisecond);

// The snapshot every editing command takes, of a 100,000-object board; the
// previous snapshot is freed in the same call.
void BM_TakeUndoSnapshot100k(benchmark::State& state)
{
    LayoutDocument doc = bench::generateDocument({});
    EditSession session;
    ResetUndoHistory(session, doc);
    for (auto _ : state)
        TakeUndoSnapshot(session, doc);
}
BENCHMARK(BM_TakeUndoSnapshot100k)->Unit(benchmark::kMillisecond);

// Rotating all 20,000 objects of a board selected, snapshot included.
void BM_RotateSelection20k(benchmark::State& state)
{
    LayoutDocument doc = board20k();
    for (auto& o : *doc.currentObjects())
        o->Selected = 1;
    EditSession session;
    ResetUndoHistory(session, doc);
    for (auto _ : state)
        RotateSelection(session, doc);
}
BENCHMARK(BM_RotateSelection20k)->Unit(benchmark::kMillisecond);

} // namespace
