// The fab package of the generated 100,000-object boards against exports of
// the same boards, everything held in memory. Two export rows: the classic
// one (six layers as their buttons preset them, labels in a system font
// left out, and the drill file), and one of exactly the package's content
// (its six layers with the labels drawn from the screen's glyphs, the
// outline layer and the drill file), which is what the package should be
// compared with. The package's row is what its command does: the design
// check beside the files, the README and the zip.

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

size_t totalBytes(const std::vector<ZipEntry>& files)
{
    size_t bytes = 0;
    for (const ZipEntry& f : files)
        bytes += f.bytes.size();
    return bytes;
}

// The package's six layers, outline layer and drill file, as an export
// writes them: the package without its check, README and zip.
void BM_ExportPackageContent(benchmark::State& state)
{
    const LayoutDocument& doc = document(state.range(0));
    const ScreenLabelOutlines labels;
    size_t bytes = 0;
    for (auto _ : state)
        bytes = totalBytes(fabLayerFiles(doc.board(0), doc.Working, &labels));
    state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
    state.SetLabel(boardName(state.range(0)));
}

void BM_FabPackage(benchmark::State& state)
{
    const LayoutDocument& doc = document(state.range(0));
    const ScreenLabelOutlines labels;
    size_t bytes = 0, violations = 0;
    for (auto _ : state) {
        const PreparedFabPackage package = prepareFabPackage(doc.board(0), doc.Working, DesignRules{}, &labels);
        violations = package.report.violations.size();
        const Result<std::string> zip = zipArchive(package.files, {});
        bytes = zip ? zip->size() : 0;
    }
    state.counters["zip_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["violations"] = static_cast<double>(violations);
    state.SetLabel(boardName(state.range(0)));
}

// Where the package's time goes, part by part on one thread: the check
// with its figures, the package's layers, outline and drill file, one silk
// layer's labels drawn from glyphs, the zip of the whole package, and the
// nets of the whole board alone: the least any check of clearances between
// nets has to do.
void BM_FabPackageParts(benchmark::State& state)
{
    const LayoutDocument& doc = document(state.range(1));
    const Board& board = doc.board(0);
    const ScreenLabelOutlines labels;
    GerberOptions silk = GerberOptions::presetFor(GerberLayer::B1);
    silk.fontLabels = true;
    const std::vector<ZipEntry> files = fabPackageFiles(board, doc.Working, &labels, designFigures(board.Objects));
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0:
            benchmark::DoNotOptimize(checkDesignWithFigures(board.Objects, doc.Working, DesignRules{}).violations.size());
            break;
        case 1:
            benchmark::DoNotOptimize(fabLayerFiles(board, doc.Working, &labels).size());
            break;
        case 2:
            benchmark::DoNotOptimize(exportGerber(board.Objects, doc.Working, silk, Language::English, &labels).size());
            break;
        case 3:
            benchmark::DoNotOptimize(zipArchive(files, {})->size());
            break;
        default:
            benchmark::DoNotOptimize(netNumbers(board.Objects).size());
        }
    }
    const char* parts[] = {"design check and figures", "layers, outline and drill", "silk layer with font labels",
                           "zip", "nets alone"};
    state.SetLabel(std::string(parts[state.range(0)]) + ", " + boardName(state.range(1)));
}

// Wall time and the CPU time of the whole process, the worker thread included.
void measured(benchmark::internal::Benchmark* b)
{
    b->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_ExportEveryLayerAndDrill)->DenseRange(0, 1)->Apply(measured);
BENCHMARK(BM_ExportPackageContent)->DenseRange(0, 1)->Apply(measured);
BENCHMARK(BM_FabPackage)->DenseRange(0, 1)->Apply(measured);
BENCHMARK(BM_FabPackageParts)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->Apply(measured);
