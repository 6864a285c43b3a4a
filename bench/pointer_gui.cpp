// The pointer tools on the 20,000-object board in a shown board view at the
// default zoom: one pointer move while a track is drawn, one move of a drag
// of 500 selected objects, and the drop of that drag, each with the
// repaint it causes (the previews are drawn over the cached board image;
// the drop paints the board again only where objects left or arrived); and
// the repaint of every object of the 100,000-object board zoomed in.

#include "edit/HitTest.h"
#include "edit/PointerMachine.h"
#include "edit/Selection.h"
#include "edit/gui/BoardPointer.h"
#include "geometry/Geometry.h"
#include "support/GeneratedBoard.h"
#include "view/gui/BoardView.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

using namespace kestrel;

namespace {

QApplication& application()
{
    static int argc = 1;
    static char name[] = "bench_pointer_gui";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept to the end of the process: Qt's devices must not be torn down by
    // the exit handlers after the benchmark library's main returns.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// A board view of 1300 x 850 pixels on the generated board, scrolled to
// its middle, with the pointer machine of the editor.
struct Editor {
    LayoutDocument doc;
    EditSession session;
    ToolParameters tools;
    BoardView view;
    PointerMachine machine{session, doc, tools, [this]() -> const ObjectIndex& { return view.objectIndex(); }};
    BoardPointer pointer{view, machine, Language::English, nullptr};

    Editor()
    {
        bench::BoardRecipe recipe;
        recipe.objects = 20000;
        recipe.vias = 200;
        recipe.bands = 400;
        doc = bench::generateDocument(recipe);
        session.EndPointerOperation = [this] { pointer.abort(); };
        view.resize(1300, 850);
        view.setDocument(&doc);
        view.show();
        view.setZoom(0.1);
        const QRect all = view.paintBox()->rect();
        view.scrollByPixels(all.width() / 2 - 600, all.height() / 2 - 400);
        settle();
    }
    static void settle() { QApplication::processEvents(); }
    QPoint centre() const { return view.visibleArea().center(); }
    void send(QEvent::Type type, QPoint pixel, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QWidget* box = view.paintBox();
        QMouseEvent e(type, QPointF(pixel), box->mapToGlobal(QPointF(pixel)), button, held, Qt::NoModifier);
        QApplication::sendEvent(box, &e);
    }
    // Selects the ungrouped objects nearest the view's centre that lie
    // wholly inside the view, as a frame drawn around a part of the board
    // would take them.
    Point selectCluster(size_t count)
    {
        ObjectList& list = doc.activeBoard()->Objects;
        const Point c = view.screenToBoard(centre(), false);
        const QRect v = view.visibleArea();
        const Rect inside = view.viewport().screenRectToBoard({v.left(), v.top(), v.right(), v.bottom()});
        std::vector<std::pair<int64_t, size_t>> near;
        for (size_t i = 0; i < list.size(); ++i) {
            if (!list[i].Groups.empty() || list[i].Partner)
                continue;
            const Rect r = BoundingRect(list[i]);
            if (r.left < inside.left || r.right > inside.right || r.top < inside.top || r.bottom > inside.bottom)
                continue;
            const int64_t dx = (r.left + r.right) / 2 - c.x, dy = (r.top + r.bottom) / 2 - c.y;
            near.push_back({dx * dx + dy * dy, i});
        }
        count = std::min(count, near.size());
        std::partial_sort(near.begin(), near.begin() + static_cast<long>(count), near.end());
        DeselectAll(list);
        for (size_t k = 0; k < count; ++k)
            list[near[k].second].Selected = 1;
        view.redraw();
        settle();
        // A selected pad that a press at its centre finds (not a corner of a
        // selected track, not another pad on top).
        for (size_t k = 0; k < count; ++k) {
            const LayoutObject& o = list[near[k].second];
            if (o.is(ObjectKind::Pad) &&
                FindObjectAt(view.objectIndex(), doc.Working, o.centre()) == static_cast<long>(near[k].second))
                return o.centre();
        }
        return {};
    }
};

Editor& editor()
{
    application();
    static auto* e = new Editor; // kept to the end, like the application
    return *e;
}

void BM_TrackRubberBandMove(benchmark::State& state)
{
    Editor& e = editor();
    e.pointer.selectTool(ToolMode::Track);
    const QPoint start = e.centre();
    e.send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    e.send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    Editor::settle();
    int step = 0;
    for (auto _ : state) {
        // Alternate between grid points so every move redraws the band.
        const QPoint to = start + QPoint(200 + (step++ % 2) * 26, 120);
        e.send(QEvent::MouseMove, to, Qt::NoButton, Qt::NoButton);
        Editor::settle();
    }
    e.pointer.selectTool(ToolMode::Edit);
    Editor::settle();
}
BENCHMARK(BM_TrackRubberBandMove)->Unit(benchmark::kMillisecond);

void BM_DragOf500ObjectsMove(benchmark::State& state)
{
    Editor& e = editor();
    e.pointer.selectTool(ToolMode::Edit);
    const QPoint grip = e.view.boardToScreen(e.selectCluster(500));
    e.send(QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    Editor::settle();
    if (SelectedCount(e.doc.activeBoard()->Objects) < 500 || !e.machine.state().Moving) {
        state.SkipWithError("the press did not grip the selection");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        const QPoint to = grip + QPoint(40 + (step++ % 2) * 26, 30);
        e.send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Editor::settle();
    }
    e.pointer.abort();
    Editor::settle();
}
BENCHMARK(BM_DragOf500ObjectsMove)->Unit(benchmark::kMillisecond);

// Press, one move and the drop, with the repaints they cause; the drop
// alone is what the timer keeps (the press and the move are paused).
void BM_DropOf500Objects(benchmark::State& state)
{
    Editor& e = editor();
    e.pointer.selectTool(ToolMode::Edit);
    const QPoint grip = e.view.boardToScreen(e.selectCluster(500));
    int step = 0;
    qint64 painted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QPoint from = grip + QPoint((step % 2) * 26, 0);
        const QPoint to = grip + QPoint(((step + 1) % 2) * 26, 0);
        ++step;
        e.send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        e.send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Editor::settle();
        const qint64 before = e.view.boardPixelsPainted();
        state.ResumeTiming();
        e.send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        Editor::settle();
        painted += e.view.boardPixelsPainted() - before;
    }
    const QRect view = e.view.visibleArea();
    state.counters["selected"] = static_cast<double>(SelectedCount(e.doc.activeBoard()->Objects));
    // The share of the visible board painted again per drop.
    state.counters["repainted"] =
        static_cast<double>(painted) / static_cast<double>(state.iterations()) / (view.width() * view.height());
}
BENCHMARK(BM_DropOf500Objects)->Unit(benchmark::kMillisecond);

// Select all and a nudge repaint every selected object where it was: the
// 100,000 objects of the generated board of real nets (80 x 10 cm), zoomed
// in to 130 pixels per mm, where they lie apart over a paint box 100,000
// pixels wide. They are marked on the visible area's tiles; united one by
// one as a region they took 92 s here.
void BM_RepaintOfEveryObjectZoomedIn(benchmark::State& state)
{
    application();
    static LayoutDocument doc = [] {
        LayoutDocument d = bench::generateNetDocument(200);
        d.Working.BoardWidth = 80000, d.Working.BoardHeight = 10000;
        return d;
    }();
    BoardView view;
    view.resize(1300, 850);
    view.setDocument(&doc);
    view.show();
    view.setZoom(1.3);
    const QRect whole = view.paintBox()->rect();
    view.scrollByPixels(whole.width() / 2, whole.height() / 2);
    Editor::settle();
    std::vector<const LayoutObject*> all;
    for (const auto& o : doc.activeBoard()->Objects)
        all.push_back(o.get());
    for (auto _ : state) {
        view.invalidateObjects(all);
        Editor::settle();
    }
}
BENCHMARK(BM_RepaintOfEveryObjectZoomedIn)->Unit(benchmark::kMillisecond);

// For comparison: the whole visible area painted again, as every move would
// cost without the cached board image.
void BM_FullRepaintOfTheView(benchmark::State& state)
{
    Editor& e = editor();
    for (auto _ : state) {
        e.view.redraw();
        Editor::settle();
    }
}
BENCHMARK(BM_FullRepaintOfTheView)->Unit(benchmark::kMillisecond);

} // namespace

namespace {
// Diagnostic split of the drop: the core's move and its undo snapshot alone.
void BM_DropWithoutRepaint(benchmark::State& state)
{
    Editor& e = editor();
    e.pointer.selectTool(ToolMode::Edit);
    const QPoint grip = e.view.boardToScreen(e.selectCluster(500));
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QPoint from = grip + QPoint((step % 2) * 26, 0);
        const QPoint to = grip + QPoint(((step + 1) % 2) * 26, 0);
        ++step;
        e.send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        e.send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Editor::settle();
        state.ResumeTiming();
        e.send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        state.PauseTiming();
        Editor::settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DropWithoutRepaint)->Unit(benchmark::kMillisecond);
} // namespace

#include "edit/gui/PreviewPainter.h"
#include "view/gui/BoardPainter.h"

#include <QPainter>

namespace {
// Diagnostic: the move outline of 500 objects drawn into an image of the view.
void BM_MoveOutlineDrawing(benchmark::State& state)
{
    Editor& e = editor();
    e.pointer.selectTool(ToolMode::Edit);
    const QPoint grip = e.view.boardToScreen(e.selectCluster(500));
    e.send(QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    e.send(QEvent::MouseMove, grip + QPoint(40, 30), Qt::NoButton, Qt::LeftButton);
    Editor::settle();
    const Preview& outline = e.machine.previews()[PreviewKind::MoveOutline];
    size_t points = 0;
    for (const PreviewStroke& s : outline.strokes)
        points += s.points.size();
    QImage image(1300, 850, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    const QRect visible = e.view.visibleArea();
    for (auto _ : state)
        DrawPreviews(image, boardTransform(e.view.zoom(), visible.left(), visible.top()), e.machine.previews());
    state.counters["strokes"] = static_cast<double>(outline.strokes.size());
    state.counters["points"] = static_cast<double>(points);
    e.pointer.abort();
    Editor::settle();
}
BENCHMARK(BM_MoveOutlineDrawing)->Unit(benchmark::kMillisecond);
} // namespace
