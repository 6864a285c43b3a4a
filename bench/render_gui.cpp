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
#include <chrono>
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

// The whole board fitted into the image, painted on a given number of threads.
struct FullRepaint {
    LayoutDocument& doc = document();
    BoardSettings settings;
    Viewport vp;
    BoardPaintOptions options;
    QImage image{kImageWidth, kImageHeight, QImage::Format_RGB32};
    Rect clip;
    ObjectIndex index;

    FullRepaint(bool allLayers, SinkChoice sink) : settings(doc.Working), vp(withLayers(settings, allLayers))
    {
        vp.setClientSize({kImageWidth, kImageHeight});
        vp.setBoxSize({kImageWidth, kImageHeight});
        vp.zoomBoard();
        options = BoardPaintOptions::of(settings);
        options.outsideColour = Qt::gray;
        options.sink = sink;
        clip = vp.screenRectToBoard({0, 0, kImageWidth, kImageHeight}).grown(vp.onePixelUnits());
        index.build(doc.activeBoard()->Objects);
    }
    static BoardSettings& withLayers(BoardSettings& s, bool all)
    {
        if (all)
            s.LayerVisible = {1, 1, 1, 1};
        return s;
    }
    void paint(int threads)
    {
        options.paintThreads = threads;
        QPainter painter(&image);
        painter.setTransform(boardTransform(vp.zoom(), vp.scroll().x, vp.scroll().y));
        PaintBoard(painter, index, options, clip);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
};

bool painterForced(benchmark::State& state, SinkChoice sink)
{
    if (sink == SinkChoice::Fastest && std::getenv("KESTREL_PAINTER")) {
        state.SkipWithError("KESTREL_PAINTER may turn the pixel writer off");
        return true;
    }
    return false;
}

void fullRepaint(benchmark::State& state, bool allLayers, int threads, SinkChoice sink = SinkChoice::Fastest)
{
    application();
    if (painterForced(state, sink))
        return;
    FullRepaint repaint(allLayers, sink);
    for (auto _ : state)
        repaint.paint(threads);
    // For comparing the pixels of two builds.
    if (const char* path = std::getenv("KESTREL_BENCH_IMAGE"))
        repaint.image.save(QString::fromLocal8Bit(path) + (allLayers ? "-all" : "") + "-" + QString::number(threads) +
                           (sink == SinkChoice::Painter ? "-painter" : "") + ".png");
    state.counters["zoom"] = repaint.vp.zoom();
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
// as another program would. Each iteration paints on every core and on one
// thread in turn, so that both figures (wall milliseconds a paint) see the
// same load from the rest of the machine: the first must not be larger.
void BM_FullRepaintSecondCoreBusy(benchmark::State& state)
{
    application();
    if (painterForced(state, SinkChoice::Fastest))
        return;
    FullRepaint repaint(false, SinkChoice::Fastest);
    std::atomic<bool> stop{false};
    std::thread busy([&] {
        volatile uint64_t spin = 0;
        while (!stop.load(std::memory_order_relaxed))
            spin = spin + 1;
    });
    using Clock = std::chrono::steady_clock;
    Clock::duration allCores{}, oneThread{};
    for (auto _ : state) {
        for (const int threads : {kCores, 1}) {
            const Clock::time_point start = Clock::now();
            repaint.paint(threads);
            (threads == 1 ? oneThread : allCores) += Clock::now() - start;
        }
    }
    stop = true;
    busy.join();
    const auto perPaintMs = [&](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count() / static_cast<double>(state.iterations());
    };
    state.counters["cores_ms"] = perPaintMs(allCores);
    state.counters["one_thread_ms"] = perPaintMs(oneThread);
    state.counters["cores"] = kCores;
}
BENCHMARK(BM_FullRepaintSecondCoreBusy)->Unit(benchmark::kMillisecond)->UseRealTime();

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
