// Export of every Gerber layer plus the drill file of the generated
// 100,000-object board, held in memory (no disk time in the figure).

#include "output/DrillExport.h"
#include "output/GerberExport.h"
#include "support/GeneratedBoard.h"

#include <benchmark/benchmark.h>

using namespace kestrel;

namespace {

void allLayers(benchmark::State& state, bool groundPlanes)
{
    LayoutDocument doc = bench::generateDocument();
    doc.Working.GroundPlane1 = groundPlanes;
    doc.Working.GroundPlane2 = groundPlanes;
    const ObjectList& objects = *doc.currentObjects();
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (GerberLayer layer : {GerberLayer::K1, GerberLayer::B1, GerberLayer::K2, GerberLayer::B2,
                                  GerberLayer::LStop1, GerberLayer::LStop2}) {
            const std::string text =
                exportGerber(objects, doc.Working, GerberOptions::presetFor(layer), Language::English);
            bytes += text.size();
            benchmark::DoNotOptimize(text.data());
        }
        const std::string drill = exportDrill(objects, doc.Working, DrillSide::Solder);
        bytes += drill.size();
        benchmark::DoNotOptimize(drill.data());
    }
    state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_ExportAllLayersAndDrill(benchmark::State& state) { allLayers(state, false); }
void BM_ExportAllLayersAndDrillWithGroundPlanes(benchmark::State& state) { allLayers(state, true); }

} // namespace

BENCHMARK(BM_ExportAllLayersAndDrill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportAllLayersAndDrillWithGroundPlanes)->Unit(benchmark::kMillisecond);
