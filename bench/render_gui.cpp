// Repaint cost of a large board: the whole board fitted into a 1600 x 1000
// image, and the rectangle of one changed object at zoom 1.0. The board view
// paints through an index of object bounds that it builds again after each
// edit; that build is measured on its own. The same one-thread repaint runs
// through each figure sink, the pixel writer and the painter, side by side.

#include "support/GeneratedBoard.h"
#include "view/ObjectIndex.h"
#include "view/Viewport.h"
#include "view/gui/BoardPainter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

using namespace kestrel;

namespace {

constexpr int kImageWidth = 1600;
constexpr int kImageHeight = 1000;

LayoutDocument& document()
{
    static LayoutDocument doc = [] {
        bench::BoardRecipe recipe;
        recipe.objects = 20000;
        recipe.vias = 200;
        recipe.bands = 400;
        return bench::generateDocument(recipe);
    }();
    return doc;
}

QApplication& application()
{
    static int argc = 1;
    static char name[] = "bench_render_gui";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(argc, argv);
    return app;
}

void fullRepaint(benchmark::State& state, bool allLayers, int threads, SinkChoice sink = SinkChoice::Fastest)
{
    application();
    if (sink == SinkChoice::Fastest && std::getenv("KESTREL_PAINTER")) {
        state.SkipWithError("KESTREL_PAINTER may turn the pixel writer off");
        return;
    }
    LayoutDocument& doc = document();
    BoardSettings settings = doc.Working;
    if (allLayers)
        settings.LayerVisible = {1, 1, 1, 1};
    Viewport vp(settings);
    vp.setClientSize({kImageWidth, kImageHeight});
    vp.setBoxSize({kImageWidth, kImageHeight});
    vp.zoomBoard();
    BoardPaintOptions options = BoardPaintOptions::of(settings);
    options.paintThreads = threads;
    options.outsideColour = Qt::gray;
    options.sink = sink;
    QImage image(kImageWidth, kImageHeight, QImage::Format_RGB32);
    const Rect clip = vp.screenRectToBoard({0, 0, kImageWidth, kImageHeight}).grown(vp.onePixelUnits());
    ObjectIndex index;
    index.build(doc.activeBoard()->Objects);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setTransform(boardTransform(vp.zoom(), vp.scroll().x, vp.scroll().y));
        PaintBoard(painter, index, options, clip);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    // For comparing the pixels of two builds.
    if (const char* path = std::getenv("KESTREL_BENCH_IMAGE"))
        image.save(QString::fromLocal8Bit(path) + (allLayers ? "-all" : "") + "-" + QString::number(threads) +
                   (sink == SinkChoice::Painter ? "-painter" : "") + ".png");
    state.counters["zoom"] = vp.zoom();
    state.counters["threads"] = threads;
}

// The editor paints with every core; the second figure is one thread's.
const int kCores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));

void BM_FullRepaintZoomBoard(benchmark::State& state)
{
    fullRepaint(state, false, kCores);
}
BENCHMARK(BM_FullRepaintZoomBoard)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullRepaintZoomBoardOneThread(benchmark::State& state)
{
    fullRepaint(state, false, 1);
}
BENCHMARK(BM_FullRepaintZoomBoardOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullRepaintPixelSink(benchmark::State& state)
{
    fullRepaint(state, false, 1, SinkChoice::Fastest);
}
BENCHMARK(BM_FullRepaintPixelSink)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullRepaintPainterSink(benchmark::State& state)
{
    fullRepaint(state, false, 1, SinkChoice::Painter);
}
BENCHMARK(BM_FullRepaintPainterSink)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullRepaintZoomBoardAllLayers(benchmark::State& state)
{
    fullRepaint(state, true, kCores);
}
BENCHMARK(BM_FullRepaintZoomBoardAllLayers)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same repaint while another thread keeps a core busy the whole time,
// as another program would: with range(0) threads, the second figure one
// thread's, the first must not be slower.
void BM_FullRepaintSecondCoreBusy(benchmark::State& state)
{
    std::atomic<bool> stop{false};
    std::thread busy([&] {
        volatile uint64_t spin = 0;
        while (!stop.load(std::memory_order_relaxed))
            spin = spin + 1;
    });
    fullRepaint(state, false, static_cast<int>(state.range(0)));
    stop = true;
    busy.join();
}
BENCHMARK(BM_FullRepaintSecondCoreBusy)->Arg(kCores)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One pad in the middle of the board changed: its invalidation rectangle is
// repainted at zoom 1.0, the view scrolled so that the pad is visible.
void BM_PartialRepaintOneObject(benchmark::State& state)
{
    application();
    LayoutDocument& doc = document();
    BoardSettings settings = doc.Working;
    settings.LayerVisible = {1, 1, 1, 1};
    Viewport vp(settings);
    vp.setClientSize({kImageWidth, kImageHeight});
    vp.setBoxSize({kImageWidth, kImageHeight});
    vp.setZoom(1.0);
    const ObjectList& list = doc.activeBoard()->Objects;
    const LayoutObject* changed = nullptr;
    for (const auto& o : list)
        if (o->is(ObjectKind::Pad) && !o->Partner && o->X1 > 10000 && -o->Y1 > 10000) {
            changed = o.get();
            break;
        }
    vp.centerView({changed->X1, -changed->Y1});
    const PixelRect r = vp.invalidationRect(*changed);
    const Pixel scroll = vp.scroll();
    const QRect device(r.left - scroll.x, r.top - scroll.y, r.right - r.left, r.bottom - r.top);
    const Rect clip = vp.screenRectToBoard(r).grown(vp.onePixelUnits());
    BoardPaintOptions options = BoardPaintOptions::of(settings);
    QImage image(kImageWidth, kImageHeight, QImage::Format_RGB32);
    image.fill(Qt::gray);
    ObjectIndex index;
    index.build(list);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setClipRect(device);
        painter.setTransform(boardTransform(vp.zoom(), scroll.x, scroll.y));
        PaintBoard(painter, index, options, clip);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    if (const char* path = std::getenv("KESTREL_BENCH_IMAGE"))
        image.save(QString::fromLocal8Bit(path) + "-partial.png");
    state.counters["rect_px"] = static_cast<double>(device.width()) * device.height();
}
BENCHMARK(BM_PartialRepaintOneObject)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_BuildObjectIndex(benchmark::State& state)
{
    const ObjectList& list = document().activeBoard()->Objects;
    ObjectIndex index;
    for (auto _ : state) {
        index.build(list);
        benchmark::DoNotOptimize(index.size());
    }
}
BENCHMARK(BM_BuildObjectIndex)->Unit(benchmark::kMicrosecond);

} // namespace
