// The design check of 20,000-object boards with the default rules: the
// laid-out net board, and the random board whose copper crosses everywhere;
// the net board also with ground planes on both sides.

#include "output/DesignCheck.h"
#include "support/GeneratedBoard.h"

#include <benchmark/benchmark.h>

using namespace kestrel;

namespace {

void check(benchmark::State& state, const LayoutDocument& doc)
{
    const ObjectList& list = doc.board(0).Objects;
    size_t found = 0;
    for (auto _ : state) {
        const auto violations = checkDesign(list, doc.Working, DesignRules{});
        found = violations.size();
        benchmark::DoNotOptimize(violations.data());
    }
    state.counters["objects"] = static_cast<double>(list.size());
    state.counters["violations"] = static_cast<double>(found);
}

void BM_DesignCheckNetBoard(benchmark::State& state)
{
    static const LayoutDocument doc = [] {
        LayoutDocument d = bench::generateNetDocument();
        d.Working.BoardWidth = 16000, d.Working.BoardHeight = 10000;
        return d;
    }();
    check(state, doc);
}

void BM_DesignCheckNetBoardWithGroundPlanes(benchmark::State& state)
{
    static const LayoutDocument doc = [] {
        LayoutDocument d = bench::generateNetDocument();
        d.Working.BoardWidth = 16000, d.Working.BoardHeight = 10000;
        d.Working.GroundPlane1 = d.Working.GroundPlane2 = 1;
        return d;
    }();
    check(state, doc);
}

void BM_DesignCheckRandomBoard(benchmark::State& state)
{
    static const LayoutDocument doc = [] {
        bench::BoardRecipe recipe;
        recipe.objects = 20000, recipe.vias = 500, recipe.bands = 0;
        recipe.widthUnits = 16000, recipe.heightUnits = 10000;
        return bench::generateDocument(recipe);
    }();
    check(state, doc);
}

} // namespace

BENCHMARK(BM_DesignCheckNetBoard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DesignCheckNetBoardWithGroundPlanes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DesignCheckRandomBoard)->Unit(benchmark::kMillisecond);
