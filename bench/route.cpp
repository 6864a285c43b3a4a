// One autorouter run across a 160 x 100 mm board carrying 5,000 foreign
// copper objects: obstacle preparation, the wave, trace-back and clearing.

#include "route/Autorouter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

using namespace kestrel;

namespace {

constexpr int32_t kBoardWidth = 16000;
constexpr int32_t kBoardHeight = 10000;

// Parts sit on islands of 6 x 6 mm on a 10 mm lattice, every other column
// shifted down by 5 mm, so the channels between them zig-zag and a route
// across the board has to weave. Everything is on copper layer 1 except the
// lower pads of vias.
struct RouteBoard {
    ObjectList objects;
    BoardSettings settings;
    LayoutObject* start = nullptr;
    LayoutObject* target = nullptr;
};

RouteBoard makeBoard(size_t foreignObjects)
{
    RouteBoard b;
    b.settings.BoardWidth = kBoardWidth;
    b.settings.BoardHeight = kBoardHeight;
    std::vector<Rect> islands;
    for (int column = 0; column < 16; ++column) {
        const int32_t shift = column % 2 ? 500 : 0;
        for (int row = 0; row < 10; ++row) {
            const int32_t top = -(1000 * row + 200 + shift);
            if (top - 600 < -kBoardHeight)
                continue;
            islands.push_back({1000 * column + 200, top - 600, 1000 * column + 800, top});
        }
    }
    std::mt19937 rng(5);
    auto uniform = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    size_t made = 0;
    for (size_t k = 0; made < foreignObjects; ++k) {
        const Rect& island = islands[k % islands.size()];
        auto inside = [&](int32_t margin) {
            return Point{uniform(island.left + margin, island.right - margin),
                         uniform(island.top + margin, island.bottom - margin)};
        };
        const int kind = uniform(0, 99);
        LayoutObject o;
        if (kind < 45) {
            o = makePad(inside(60), uniform(25, 60), static_cast<uint8_t>(uniform(1, 9)), Layer::K1, 15);
        } else if (kind < 80) {
            o = makeTrack(uniform(20, 40), Layer::K1);
            Point p = inside(20);
            for (int i = uniform(2, 4); i > 0; --i) {
                o.Points.push_back(p);
                p.x = std::clamp(p.x + uniform(-250, 250), island.left + 20, island.right - 20);
                p.y = std::clamp(p.y + uniform(-250, 250), island.top + 20, island.bottom - 20);
            }
        } else if (kind < 88 && made + 2 <= foreignObjects) {
            const Point c = inside(50);
            LayoutObject& upper = b.objects.append(makePad(c, 45, 1, Layer::K1, 20));
            LayoutObject& lower = b.objects.append(makePad(c, 45, 1, Layer::K2, 20));
            upper.Partner = &lower;
            lower.Partner = &upper;
            made += 2;
            continue;
        } else if (kind < 94) {
            o = makeCircle(inside(150), uniform(60, 140), 1, Layer::K1, 0);
            o.Y2 = o.X2 - uniform(15, 30);
        } else {
            o = makeZone(uniform(0, 20), Layer::K1);
            const Point c = inside(150);
            const int n = uniform(4, 8);
            for (int i = 0; i < n; ++i) {
                const double a = 2 * 3.14159265358979 * i / n;
                const double r = uniform(60, 140);
                o.Points.push_back({c.x + static_cast<int32_t>(r * std::cos(a)), c.y + static_cast<int32_t>(r * std::sin(a))});
            }
        }
        o.Clearance = 40;
        b.objects.append(std::move(o));
        ++made;
    }
    // From the left edge near the top to the right edge near the bottom.
    b.start = &b.objects.append(makePad({100, -1000}, 60, 1, Layer::K1, 30));
    b.target = &b.objects.append(makePad({15900, -9000}, 60, 1, Layer::K1, 30));
    b.start->Connections.push_back(b.target);
    b.target->Connections.push_back(b.start);
    return b;
}

void BM_RouteAcrossBoard(benchmark::State& state)
{
    RouteBoard board = makeBoard(static_cast<size_t>(state.range(0)));
    const RouteSettings settings; // 0.4 mm track, 0.2 mm clearance
    RouteGrid grid; // kept for the session, as the editor does: the unchanged board's copper is reused
    size_t points = 0;
    bool routed = false;
    auto route = [&](bool timed) {
        const RouteResult result = RouteConnection(board.objects, board.settings, *board.start, *board.target, settings, {}, grid);
        routed = result.routed;
        if (timed)
            state.PauseTiming();
        if (result.track) {
            points = result.track->Points.size();
            board.objects.remove(board.objects.size() - 1);
            board.start->Connections.push_back(board.target);
            board.target->Connections.push_back(board.start);
        }
        if (timed)
            state.ResumeTiming();
    };
    // The first route builds what is kept (BM_FirstRouteAcrossBoard times
    // it); with few iterations it would otherwise dominate the figure.
    route(false);
    for (auto _ : state)
        route(true);
    if (!routed)
        state.SkipWithError("the band was not routed");
    state.counters["objects"] = static_cast<double>(board.objects.size());
    state.counters["track_points"] = static_cast<double>(points);
}

// The first route on a board: nothing kept from earlier runs, so the copper
// map, the floods and the raster of all copper are made inside the timing.
void BM_FirstRouteAcrossBoard(benchmark::State& state)
{
    RouteBoard board = makeBoard(static_cast<size_t>(state.range(0)));
    bool routed = false;
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = std::make_unique<RouteGrid>();
        state.ResumeTiming();
        const RouteResult result = RouteConnection(board.objects, board.settings, *board.start, *board.target, {}, {}, *grid);
        routed = result.routed;
        state.PauseTiming();
        if (result.track) {
            board.objects.remove(board.objects.size() - 1);
            board.start->Connections.push_back(board.target);
            board.target->Connections.push_back(board.start);
        }
        grid.reset();
        state.ResumeTiming();
    }
    if (!routed)
        state.SkipWithError("the band was not routed");
}

// The same board with the target walled in by a square frame of copper: the
// wave fills everything it can reach and every search box is tried.
void BM_RouteWithoutWay(benchmark::State& state)
{
    RouteBoard board = makeBoard(5000);
    LayoutObject frame = makeTrack(100, Layer::K1);
    frame.Points = {{15600, -8700}, {16200, -8700}, {16200, -9300}, {15600, -9300}, {15600, -8700}};
    board.objects.append(std::move(frame));
    const RouteSettings settings;
    RouteGrid grid;
    bool routed = true;
    for (auto _ : state)
        routed = RouteConnection(board.objects, board.settings, *board.start, *board.target, settings, {}, grid).routed;
    if (routed)
        state.SkipWithError("the walled-in band was routed");
}

// A maze of n pads of every shape on a 1 mm lattice; the smaller boards hold
// the first pads of the larger ones. The 2,000 pad board ends in "no way
// found" after the trace-back: its wave threads a diagonal chain of free
// cells between pads whose corners leave less than a probe's width.
void BM_RouteMaze(benchmark::State& state)
{
    ObjectList objects;
    BoardSettings board;
    board.BoardWidth = kBoardWidth;
    board.BoardHeight = kBoardHeight;
    std::mt19937 rng(1);
    auto pick = [&](uint32_t lo, uint32_t hi) { return static_cast<int32_t>(lo + rng() % (hi - lo + 1)); };
    for (int64_t i = 0; i < state.range(0); ++i) {
        const Point centre{pick(3, 157) * 100, -pick(3, 97) * 100};
        const int32_t radius = pick(25, 60);
        objects.append(makePad(centre, radius, static_cast<uint8_t>(pick(1, 9)), Layer::K1, 15));
    }
    LayoutObject& start = objects.append(makePad({100, -1000}, 60, 1, Layer::K1, 15));
    LayoutObject& target = objects.append(makePad({15900, -9000}, 60, 1, Layer::K1, 15));
    RouteGrid grid;
    bool routed = false;
    for (auto _ : state) {
        start.Connections = {&target};
        target.Connections = {&start};
        const RouteResult result = RouteConnection(objects, board, start, target, {}, {}, grid);
        routed = result.routed;
        state.PauseTiming();
        if (result.track)
            objects.remove(objects.size() - 1);
        state.ResumeTiming();
    }
    state.counters["routed"] = routed ? 1 : 0;
}

} // namespace

BENCHMARK(BM_RouteMaze)->Unit(benchmark::kMillisecond)->Arg(2000)->Arg(5000)->Arg(8000)->Arg(10000);
BENCHMARK(BM_RouteAcrossBoard)->Unit(benchmark::kMillisecond)->Arg(5000)->Arg(100000);
BENCHMARK(BM_FirstRouteAcrossBoard)->Unit(benchmark::kMillisecond)->Arg(5000)->Arg(100000);
BENCHMARK(BM_RouteWithoutWay)->Unit(benchmark::kMillisecond);
