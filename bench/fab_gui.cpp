// The fab package of the generated 100,000-object board against the export
// of every layer and the drill file on the same board, both held in memory.
// The package's figure includes what its command does: the design check,
// labels in a system font drawn from the screen's glyphs, and the zip.

#include "output/DesignCheck.h"
#include "output/DrillExport.h"
#include "output/FabPackage.h"
#include "output/GerberExport.h"
#include "support/GeneratedBoard.h"
#include "view/gui/LabelOutlines.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace kestrel;

namespace {

QGuiApplication& application()
{
    static int argc = 1;
    static char name[] = "bench_fab_gui";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(argc, argv);
    return app;
}

// 0: the generated board of every kind at random, whose long lines and
// tracks join almost all copper into one net (the worst case for the nets
// the design check needs); 1: 100,000 objects laid out as real nets.
const LayoutDocument& document(int64_t which)
{
    application();
    static const LayoutDocument random = bench::generateDocument();
    static const LayoutDocument nets = [] {
        LayoutDocument d = bench::generateNetDocument(200);
        d.Working.BoardWidth = 80000, d.Working.BoardHeight = 10000;
        return d;
    }();
    return which == 0 ? random : nets;
}

const char* boardName(int64_t which) { return which == 0 ? "random board" : "net board"; }

void BM_ExportEveryLayerAndDrill(benchmark::State& state)
{
    const LayoutDocument& doc = document(state.range(0));
    const ObjectList& objects = doc.board(0).Objects;
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (GerberLayer layer : {GerberLayer::K1, GerberLayer::B1, GerberLayer::K2, GerberLayer::B2,
                                  GerberLayer::LStop1, GerberLayer::LStop2})
            bytes += exportGerber(objects, doc.Working, GerberOptions::presetFor(layer), Language::English).size();
        bytes += exportDrill(objects, doc.Working, DrillSide::Solder).size();
    }
    state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
    state.SetLabel(boardName(state.range(0)));
}

void BM_FabPackage(benchmark::State& state)
{
    const LayoutDocument& doc = document(state.range(0));
    const Board& board = doc.board(0);
    const ScreenLabelOutlines labels;
    size_t bytes = 0, violations = 0;
    for (auto _ : state) {
        const DesignReport report = checkDesignWithFigures(board.Objects, doc.Working, DesignRules{});
        violations = report.violations.size();
        const Result<std::string> zip = zipArchive(fabPackageFiles(board, doc.Working, &labels, report.figures), 0);
        bytes = zip ? zip->size() : 0;
    }
    state.counters["zip_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["violations"] = static_cast<double>(violations);
    state.SetLabel(boardName(state.range(0)));
}

// Where the package's time goes on the random board: the check with its
// figures (the nets of the whole board), one silk layer's labels drawn from
// glyphs, and the files with the zip once the figures are known.
void BM_FabPackageParts(benchmark::State& state)
{
    const LayoutDocument& doc = document(0);
    const Board& board = doc.board(0);
    const ScreenLabelOutlines labels;
    GerberOptions silk = GerberOptions::presetFor(GerberLayer::B1);
    silk.fontLabels = true;
    const DesignFigures figures = designFigures(board.Objects);
    for (auto _ : state) {
        if (state.range(0) == 0)
            benchmark::DoNotOptimize(checkDesignWithFigures(board.Objects, doc.Working, DesignRules{}).violations.size());
        else if (state.range(0) == 1)
            benchmark::DoNotOptimize(exportGerber(board.Objects, doc.Working, silk, Language::English, &labels).size());
        else
            benchmark::DoNotOptimize(zipArchive(fabPackageFiles(board, doc.Working, &labels, figures), 0)->size());
    }
    const char* parts[] = {"design check and figures", "silk layer with font labels", "files and zip, figures given"};
    state.SetLabel(parts[state.range(0)]);
}

} // namespace

BENCHMARK(BM_ExportEveryLayerAndDrill)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FabPackage)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FabPackageParts)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
