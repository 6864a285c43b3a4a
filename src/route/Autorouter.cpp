#include "route/Autorouter.h"

#include "route/Connectivity.h"
#include "route/CopperCells.h"
#include "route/ObstacleRaster.h"
#include "route/RouteMemo.h"
#include "route/SearchArea.h"
#include "route/SegmentClearing.h"
#include "route/TraceBack.h"
#include "route/Wave.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

constexpr int kBoxGrowthCells = 10;
constexpr int kBlockCells = 10;
// Runs of the wave, each with more copper blocked than the one before.
constexpr int kMostWaves = 8;
// The raster keeps the clearance to within a pixel either side of a track.
constexpr int32_t kRasterSlack = 2 * kUnitsPerPixel;

int32_t clampToInt32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, -(int64_t{1} << 30), int64_t{1} << 30)); }

// The cells the classification can reach (whole blocks of ten around the
// window) plus the start and target cells, as an inclusive cell rectangle.
CellRect rasterCells(const CellRect& window, CellPos s, CellPos t)
{
    CellRect cells{kBlockCells * (window.left / kBlockCells), kBlockCells * (window.top / kBlockCells),
                   kBlockCells * (window.right / kBlockCells) + kBlockCells - 1,
                   kBlockCells * (window.bottom / kBlockCells) + kBlockCells - 1};
    for (const CellPos& c : {s, t}) {
        cells.left = std::min(cells.left, c.x);
        cells.top = std::min(cells.top, c.y);
        cells.right = std::max(cells.right, c.x);
        cells.bottom = std::max(cells.bottom, c.y);
    }
    return cells;
}

// Pixels of those cells, widened so that every probe of the segment
// clearing lies inside: its segment ends lie within the cells, move by at
// most ten half-clearance steps and carry half the probe width.
RasterRect rasterClip(const CellRect& cells, int32_t cellPixels, int32_t widthUnits, int32_t clearanceUnits)
{
    const int64_t margin = (6 * int64_t{clearanceUnits} + widthUnits + 40) / kUnitsPerPixel + 2;
    return {clampToInt32(int64_t{cells.left} * cellPixels - margin), clampToInt32(int64_t{cells.top} * cellPixels - margin),
            clampToInt32((int64_t{cells.right} + 1) * cellPixels + margin),
            clampToInt32((int64_t{cells.bottom} + 1) * cellPixels + margin)};
}

Rect clipOnBoard(const RasterRect& clip)
{
    return {clampToInt32(int64_t{clip.left} * kUnitsPerPixel), clampToInt32(-int64_t{clip.bottom} * kUnitsPerPixel),
            clampToInt32(int64_t{clip.right} * kUnitsPerPixel), clampToInt32(-int64_t{clip.top} * kUnitsPerPixel)};
}

// Marks the cells whose inside the outline of the parts passes through and
// tells whether one was free. Cells the copper covers whole hold its pixels
// and are marked already; an edge along a cell's side leaves the cell alone.
bool blockCells(CellTouchMap& map, const std::vector<Region>& parts, int32_t cellSize)
{
    bool marked = false;
    // Along either axis the cells whose inside meets lo..hi run from floor(lo)
    // to ceil(hi) - 1, kept to 0..most.
    auto from = [](double lo) { return static_cast<int>(std::max(std::floor(lo), 0.0)); };
    auto to = [](double hi, int most) { return static_cast<int>(std::min(std::ceil(hi) - 1, double(most))); };
    for (const Region& part : parts) {
        for (const Polygon& polygon : part.polygons()) {
            for (size_t k = 0; k < polygon.size(); ++k) {
                // In cells: x to the right, y downwards, as rows count.
                const Point u = polygon[k], v = polygon[(k + 1) % polygon.size()];
                double x0 = double(u.x) / cellSize, y0 = -double(u.y) / cellSize;
                double x1 = double(v.x) / cellSize, y1 = -double(v.y) / cellSize;
                if (x0 > x1) {
                    std::swap(x0, x1);
                    std::swap(y0, y1);
                }
                // The rows the edge passes within each column; an upright edge
                // lies in one column.
                const bool upright = x1 == x0;
                auto yAt = [&](double x) { return upright ? y0 : y0 + (y1 - y0) * (x - x0) / (x1 - x0); };
                for (int x = from(x0); x <= to(x1, map.columns() - 1); ++x) {
                    const double ya = yAt(std::max(x0, double(x))), yb = upright ? y1 : yAt(std::min(x1, x + 1.0));
                    for (int y = from(std::min(ya, yb)); y <= to(std::max(ya, yb), map.rows() - 1); ++y) {
                        marked = marked || !map.touched(x, y);
                        map.mark(x, y);
                    }
                }
            }
        }
    }
    return marked;
}

bool meets(const Rect& a, const Rect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

} // namespace

RouteResult RouteConnection(ObjectList& objects, const BoardSettings& board, LayoutObject& start,
                            LayoutObject& target, const RouteSettings& settings, const RouteObserver& observer)
{
    RouteGrid grid;
    return RouteConnection(objects, board, start, target, settings, observer, grid);
}

RouteResult RouteConnection(ObjectList& objects, const BoardSettings& board, LayoutObject& start,
                            LayoutObject& target, const RouteSettings& settings, const RouteObserver& observer,
                            RouteGrid& grid)
{
    auto say = [&](RouteStatus status, const std::string& box = {}) {
        if (observer.status)
            observer.status(status, box);
    };
    auto finish = [&](RouteResult result) {
        start.Selected = 1;
        target.Selected = 1;
        return result;
    };

    const long startIndex = objects.indexOf(&start);
    const long targetIndex = objects.indexOf(&target);
    if (startIndex < 0 || targetIndex < 0)
        return {};
    if (!isBoardCopper(settings.layer)) {
        say(RouteStatus::LayerNotCopper);
        return finish({.failure = RouteStatus::LayerNotCopper});
    }

    // The nets of both pads, through vias too; only their copper on the
    // routed layer is cut out of the obstacles. The copper map and the
    // raster of all copper stay with the grid while the board is unchanged.
    RouteMemo& memo = grid.memo();
    memo.follow(objects);
    CopperMap& copper = memo.copper();
    std::vector<uint8_t> startNet(objects.size(), 0);
    std::vector<uint8_t> targetNet(objects.size(), 0);
    FloodConnect(copper, static_cast<size_t>(startIndex), startNet);
    FloodConnect(copper, static_cast<size_t>(targetIndex), targetNet);
    for (auto& o : objects)
        o->Selected = 0;

    say(RouteStatus::Analysing);
    const int32_t w = settings.widthUnits;
    const int32_t a = settings.clearanceUnits;
    const int32_t cellSize = CellSize(w, a);
    const WaveArea area{GridExtent(board.BoardWidth, cellSize), GridExtent(board.BoardHeight, cellSize)};
    const Point p{start.X1, start.Y1};
    const Point q{target.X1, target.Y1};
    const CellPos s = CellOfPoint(p, cellSize);
    const CellPos t = CellOfPoint(q, cellSize);
    const Rect onBoard = board.boardRect();
    const auto offBoard = [&](Point c) {
        return c.x < onBoard.left || c.x > onBoard.right || c.y < onBoard.top || c.y > onBoard.bottom;
    };
    if (offBoard(p) || offBoard(q)) {
        say(RouteStatus::PadOffBoard);
        return finish({.failure = RouteStatus::PadOffBoard});
    }
    // Pads beyond the fixed grid cannot be routed (boards from files may be
    // larger than the grid holds; larger cells reach further).
    if (!RouteGrid::contains(s) || !RouteGrid::contains(t)) {
        say(RouteStatus::PadBeyondGrid);
        return finish({.failure = RouteStatus::PadBeyondGrid});
    }
    // Nor pads in cells the wave cannot reach, which a pad within about half
    // a cell of the board's right or lower edge may lie in.
    if (!WaveReaches(s, area) || !WaveReaches(t, area)) {
        say(RouteStatus::PadAtEdge);
        return finish({.failure = RouteStatus::PadAtEdge});
    }
    // The track stays on one layer: ending at a pad that does not reach it,
    // or in a hole that fills the pad there (the band's pad, or its via twin),
    // it would join nothing, yet take the band.
    for (const LayoutObject* pad : {&start, &target}) {
        if (pad->Layer != settings.layer && pad->Partner && pad->Partner->Layer == settings.layer)
            pad = pad->Partner;
        if (pad->Layer != settings.layer) {
            say(RouteStatus::PadOffLayer);
            return finish({.failure = RouteStatus::PadOffLayer});
        }
        if (pad->padOuterRadius() <= pad->holeRadius()) {
            say(RouteStatus::PadWithoutCopper);
            return finish({.failure = RouteStatus::PadWithoutCopper});
        }
    }

    const CellRect window = memo.searchWindow(cellSize, area);
    const CellRect cells = rasterCells(window, s, t);
    const int32_t cellPixels = cellSize / kUnitsPerPixel;
    const RasterRect clip = rasterClip(cells, cellPixels, w, a);
    const Rect clipArea = clipOnBoard(clip);
    // All copper of the layer, then the nets' pixels taken out: the same
    // pixels as foreign copper outside the nets. A hole drilled from the
    // other side counts as copper of its pad.
    auto addCopper = [&](ObstacleRaster& raster, size_t i) {
        if (objects[i].Layer == settings.layer && meets(copper.bounds(i), clipArea))
            raster.addForeign(copper.outline(i));
        else if (DrilledThrough(objects[i], settings.layer))
            if (Region hole = DrilledHole(objects[i]); meets(hole.bounds(), clipArea))
                raster.addForeign({std::move(hole)});
    };
    const ObstacleRaster* allCopper = memo.allCopper(settings.layer, clip);
    if (!allCopper) {
        ObstacleRaster all;
        for (size_t i = 0; i < objects.size(); ++i)
            addCopper(all, i);
        all.build(clip);
        allCopper = &memo.keepAllCopper(settings.layer, std::move(all));
    }
    std::vector<uint8_t> ownNets(objects.size(), 0);
    ObstacleRaster nets;
    for (size_t i = 0; i < objects.size(); ++i) {
        if (startNet[i] || targetNet[i]) {
            ownNets[i] = 1;
            addCopper(nets, i);
        }
    }
    nets.build(clip);
    const ObstacleRaster obstacles = ObstacleRaster::without(*allCopper, nets);
    CellTouchMap touched = obstacles.touchedCells(cellPixels, cells.right + 1, cells.bottom + 1);

    // The raster misses copper thinner than a pixel, so a segment it finds
    // clear is measured exactly too, with the raster's pixel of slack. The
    // exact measure comes first so that what a refused way met is noted
    // even where the raster refused it as well.
    const CopperCells& foreign = memo.copperCells(settings.layer);
    std::vector<long> met;
    auto touches = [&](Point from, Point to, int32_t width, bool asDrawn = false) {
        const long i = foreign.touchedObject(copper, from, to, width, ownNets, asDrawn);
        if (i >= 0)
            met.push_back(i);
        return i >= 0;
    };
    LayoutObject probe = makeTrack(w + 2 * a, settings.layer);
    auto blocked = [&](Point from, Point to) {
        probe.Points = {from, to};
        return touches(from, to, w + 2 * a - kRasterSlack) || obstacles.overlaps(ObjectRegion(probe).polygons());
    };
    // The first and last segments, from the pads' centres, are not cleared:
    // they may come closer than the clearance. No segment may touch foreign
    // copper or a hole through it, which would join another net to the pads.
    auto laidClear = [&](const std::vector<Point>& points) {
        for (size_t k = 0; k + 1 < points.size(); ++k)
            if (touches(points[k], points[k + 1], w, true))
                return false;
        return true;
    };

    std::vector<Point> points;
    for (int wave = 1;; ++wave) {
        grid.fill(Cell::Unclassified);
        CellRect box = SearchBox(s, t);
        bool reached = false;
        while (true) {
            const CellRect attempt = ClampInto(box, window);
            const bool last = attempt == window;
            const Rect shown = BoxOnBoard(attempt, cellSize);
            if (observer.searchBox)
                observer.searchBox(shown, true);
            say(RouteStatus::Searching, BoxText(attempt, cellSize));
            reached = ExpandWave(grid, attempt, s, t, area, touched);
            if (observer.searchBox)
                observer.searchBox(shown, false);
            box = Grown(box, kBoxGrowthCells);
            if (reached || last)
                break;
        }
        if (!reached) {
            say(RouteStatus::NoPath);
            return finish({});
        }
        points = TraceBack(grid, s, t, p, q, cellSize);
        met.clear();
        if (ClearSegments(points, a, blocked) && laidClear(points))
            break;
        // The wave may have run across copper the raster missed in part or
        // whole: it runs again with the cells of all copper the refused way
        // met blocked, as long as that blocks a cell the raster left free.
        bool more = false;
        for (long i : met) {
            const auto k = static_cast<size_t>(i);
            more |= objects[k].Layer == settings.layer ? blockCells(touched, copper.outline(k), cellSize)
                                                       : blockCells(touched, {DrilledHole(objects[k])}, cellSize);
        }
        if (!more || wave == kMostWaves) {
            say(RouteStatus::NoPath);
            return finish({});
        }
    }

    // Only now that a track will be made: a way given up after all leaves
    // no undo step that changes nothing.
    if (observer.beforeTrack)
        observer.beforeTrack();
    LayoutObject made = makeTrack(w, settings.layer);
    made.Clearance = settings.newTrackClearance;
    made.Points = std::move(points);
    made.Routed = 1;
    made.RouteFrom = &start;
    made.RouteTo = &target;
    made.Selected = 1;
    LayoutObject& track = objects.append(std::move(made));
    erase(start.Connections, &target);
    erase(target.Connections, &start);
    say(RouteStatus::Success);
    return finish({true, &track});
}

std::string RouteStatusText(Language lang, RouteStatus status, const std::string& box)
{
    switch (status) {
    case RouteStatus::Analysing:
        return tr(lang, "Анализ...", "Analysing...");
    case RouteStatus::Searching:
        return box;
    case RouteStatus::Success:
        return tr(lang, "Успешно.", "Routed.");
    case RouteStatus::NoPath:
        return tr(lang, "Путь не найден.", "No way found.");
    case RouteStatus::PadWithoutCopper:
        return tr(lang, "Отверстие занимает весь пятачок: меди для соединения нет.",
                  "A hole fills the whole pad: there is no copper to join.");
    case RouteStatus::PadOffLayer:
        return tr(lang, "Площадка перемычки не доходит до слоя трассировки: дорожка на нём её не соединит.",
                  "A pad of the band does not reach the routed layer: a track there would not join it.");
    case RouteStatus::PadOffBoard:
        return tr(lang, "Центр площадки перемычки лежит вне платы.", "A pad of the band lies off the board.");
    case RouteStatus::PadBeyondGrid:
        return tr(lang, "Площадка лежит за пределами области трассировки; при большей ширине или зазоре "
                        "область больше.",
                  "A pad lies beyond the area the router covers; a wider track or a larger clearance covers "
                  "more.");
    case RouteStatus::PadAtEdge:
        return tr(lang, "Площадка лежит слишком близко к краю платы для клеток трассировщика при этой ширине и "
                        "зазоре; при другой ширине или другом зазоре клетки лягут иначе.",
                  "A pad lies too near the board's edge for the router's cells at this width and clearance; another "
                  "width or clearance lays the cells differently.");
    case RouteStatus::LayerNotCopper:
        return tr(lang, "Активный слой — маска: дорожки прокладываются по фольге стороны 1 или 2.",
                  "The active layer is a silk layer: tracks are routed on the copper of side 1 or 2.");
    }
    return {};
}

std::pair<LayoutObject*, LayoutObject*> FindSelectedBand(ObjectList& objects)
{
    for (auto& o : objects) {
        if (!o->is(ObjectKind::Pad) || !o->Selected)
            continue;
        for (LayoutObject* other : o->Connections)
            if (other->Selected)
                return {o.get(), other};
    }
    return {nullptr, nullptr};
}

UnrouteOutcome UnrouteTrack(ObjectList& objects)
{
    for (size_t i = 0; i < objects.size(); ++i) {
        LayoutObject& track = objects[i];
        if (!track.is(ObjectKind::Track) || !track.Routed || !track.Selected)
            continue;
        LayoutObject* from = track.RouteFrom;
        LayoutObject* to = track.RouteTo;
        if (!from || !to || objects.indexOf(from) < 0 || objects.indexOf(to) < 0) {
            track.Routed = 0;
            return UnrouteOutcome::TrackKept;
        }
        // A pair of pads carries at most one band, even if one was drawn
        // again by hand meanwhile.
        if (std::find(from->Connections.begin(), from->Connections.end(), to) == from->Connections.end())
            from->Connections.push_back(to);
        if (std::find(to->Connections.begin(), to->Connections.end(), from) == to->Connections.end())
            to->Connections.push_back(from);
        objects.remove(i);
        return UnrouteOutcome::BandRestored;
    }
    return UnrouteOutcome::NoTrack;
}

} // namespace kestrel
