#include "route/Scanline.h"

#include <algorithm>

namespace kestrel {

namespace {

int64_t floorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t ceilDiv(int64_t a, int64_t b) { return -floorDiv(-a, b); }

// Board y of the centres of row py.
double rowCentreY(int32_t row) { return -static_cast<double>(kUnitsPerPixel) * row - kUnitsPerPixel / 2.0; }

// First pixel column whose centre lies at or right of board x, kept within
// the clip columns.
int32_t columnFrom(double x, const RasterRect& clip)
{
    const double column = std::clamp((x - kUnitsPerPixel / 2.0) / kUnitsPerPixel, static_cast<double>(clip.left),
                                     static_cast<double>(clip.right));
    const auto whole = static_cast<int32_t>(column); // truncation is floor here unless below zero
    return whole < column ? whole + 1 : whole;
}

} // namespace

uint32_t ScanlineFill::addShape(const std::vector<std::vector<Point>>& polygons)
{
    const uint32_t index = beginShape();
    addPolygons(polygons);
    return index;
}

uint32_t ScanlineFill::beginShape()
{
    const auto first = static_cast<uint32_t>(edges_.size());
    shapes_.push_back({first, first, INT32_MAX, INT32_MIN, 0, 0, 0, 0, 0});
    return static_cast<uint32_t>(shapes_.size() - 1);
}

void ScanlineFill::addEdge(Shape& shape, Point a, Point b)
{
    if (a.y == b.y)
        return; // row centres never lie on a horizontal edge
    const int64_t yLow = std::min(a.y, b.y);
    const int64_t yHigh = std::max(a.y, b.y);
    // Rows whose centre y (never a whole unit) lies strictly between the ends.
    const int64_t first = ceilDiv(-yHigh - 2, kUnitsPerPixel);
    const int64_t last = floorDiv(-yLow - 3, kUnitsPerPixel);
    if (last < first)
        return;
    edges_.push_back({a.x, a.y, static_cast<double>(b.x - a.x) / static_cast<double>(b.y - a.y),
                      static_cast<int32_t>(first), static_cast<int32_t>(last), b.y > a.y ? 1 : -1});
    shape.firstRow = std::min(shape.firstRow, static_cast<int32_t>(first));
    shape.lastRow = std::max(shape.lastRow, static_cast<int32_t>(last));
}

void ScanlineFill::addPolygons(const std::vector<std::vector<Point>>& polygons)
{
    Shape& shape = shapes_.back();
    for (const auto& polygon : polygons)
        for (size_t i = 0; i < polygon.size(); ++i)
            addEdge(shape, polygon[i], polygon[i + 1 < polygon.size() ? i + 1 : 0]);
    shape.edgeEnd = static_cast<uint32_t>(edges_.size());
    // Edges enter the sweep in the order of their first rows.
    std::sort(edges_.begin() + shape.edgeBegin, edges_.end(),
              [](const Edge& l, const Edge& r) { return l.firstRow < r.firstRow; });
}

uint32_t ScanlineFill::addConvexPolygon(const std::vector<Point>& polygon)
{
    const uint32_t index = beginShape();
    Shape& shape = shapes_.back();
    const size_t n = polygon.size();
    if (n < 3)
        return index;
    size_t top = 0;
    int32_t bottomY = polygon[0].y;
    for (size_t i = 1; i < n; ++i) {
        if (polygon[i].y > polygon[top].y)
            top = i;
        bottomY = std::min(bottomY, polygon[i].y);
    }
    // Both sides run from the top vertex down to the bottom, so their edges
    // come in the order of their rows.
    for (size_t i = top; polygon[i].y != bottomY;) {
        const size_t next = i + 1 < n ? i + 1 : 0;
        addEdge(shape, polygon[i], polygon[next]);
        i = next;
    }
    shape.sideSplit = static_cast<uint32_t>(edges_.size());
    for (size_t i = top; polygon[i].y != bottomY;) {
        const size_t next = i > 0 ? i - 1 : n - 1;
        addEdge(shape, polygon[i], polygon[next]);
        i = next;
    }
    shape.edgeEnd = static_cast<uint32_t>(edges_.size());
    return index;
}

void ScanlineFill::sweep(const RasterRect& clip, Sink& sink)
{
    std::vector<uint32_t> byFirstRow;
    size_t pool = 0;
    for (uint32_t i = 0; i < shapes_.size(); ++i) {
        Shape& s = shapes_[i];
        s.nextEdge = s.edgeBegin;
        s.activeCount = 0;
        s.nextOnSide = s.sideSplit;
        if (!s.sideSplit) {
            s.activeBegin = static_cast<uint32_t>(pool);
            pool += s.edgeEnd - s.edgeBegin;
        }
        if (s.edgeBegin < s.edgeEnd && s.lastRow >= clip.top && s.firstRow < clip.bottom)
            byFirstRow.push_back(i);
    }
    activePool_.resize(pool);
    std::stable_sort(byFirstRow.begin(), byFirstRow.end(),
                     [&](uint32_t l, uint32_t r) { return shapes_[l].firstRow < shapes_[r].firstRow; });

    std::vector<uint32_t> active;
    size_t next = 0;
    int32_t row = clip.top;
    while (true) {
        if (active.empty()) {
            if (next == byFirstRow.size())
                return;
            row = std::max(row, shapes_[byFirstRow[next]].firstRow);
        }
        if (row >= clip.bottom)
            return;
        const int32_t end = std::min(row + kBandRows, clip.bottom);
        while (next < byFirstRow.size() && shapes_[byFirstRow[next]].firstRow < end)
            active.push_back(byFirstRow[next++]);
        // Shape by shape through the band, so that each shape's edges stay at hand.
        for (uint32_t index : active) {
            Shape& shape = shapes_[index];
            const int32_t first = std::max(row, shape.firstRow);
            const int32_t last = std::min(end - 1, shape.lastRow);
            if (shape.sideSplit)
                emitConvexSpans(index, shape, first, last, clip, sink);
            else
                emitSpans(index, shape, first, last, clip, sink);
        }
        std::erase_if(active, [&](uint32_t index) { return shapes_[index].lastRow < end; });
        sink.rowsDone(row, end);
        row = end;
    }
}

void ScanlineFill::emitConvexSpans(uint32_t shapeIndex, Shape& shape, int32_t firstRow, int32_t lastRow,
                                   const RasterRect& clip, Sink& sink)
{
    for (int32_t row = firstRow; row <= lastRow; ++row) {
        while (shape.nextEdge < shape.sideSplit && edges_[shape.nextEdge].lastRow < row)
            ++shape.nextEdge;
        while (shape.nextOnSide < shape.edgeEnd && edges_[shape.nextOnSide].lastRow < row)
            ++shape.nextOnSide;
        if (shape.nextEdge == shape.sideSplit || shape.nextOnSide == shape.edgeEnd)
            return;
        const Edge& a = edges_[shape.nextEdge];
        const Edge& b = edges_[shape.nextOnSide];
        if (a.firstRow > row || b.firstRow > row)
            continue;
        const double y = rowCentreY(row);
        const double xa = a.x0 + (y - a.y0) * a.dxPerY;
        const double xb = b.x0 + (y - b.y0) * b.dxPerY;
        const int32_t begin = columnFrom(std::min(xa, xb), clip);
        const int32_t end = columnFrom(std::max(xa, xb), clip);
        if (begin < end)
            sink.span(shapeIndex, row, begin, end);
    }
}

void ScanlineFill::emitSpans(uint32_t shapeIndex, Shape& shape, int32_t firstRow, int32_t lastRow,
                             const RasterRect& clip, Sink& sink)
{
    ActiveEdge* active = activePool_.data() + shape.activeBegin;
    for (int32_t row = firstRow; row <= lastRow; ++row) {
        const double y = rowCentreY(row);
        // Edges ending above this row leave, edges starting here enter. Each
        // crossing is computed afresh from the edge, so that a pixel centre on
        // an edge counts the same way in every row and every kind of shape.
        uint32_t kept = 0;
        for (uint32_t i = 0; i < shape.activeCount; ++i) {
            if (active[i].lastRow < row)
                continue;
            if (kept != i)
                active[kept] = active[i];
            ++kept;
        }
        for (; shape.nextEdge < shape.edgeEnd && edges_[shape.nextEdge].firstRow <= row; ++shape.nextEdge) {
            const Edge& e = edges_[shape.nextEdge];
            if (e.lastRow >= row)
                active[kept++] = {e.x0, e.y0, e.dxPerY, e.lastRow, e.winding};
        }
        for (uint32_t i = 0; i < kept; ++i)
            active[i].x = active[i].x0 + (y - active[i].y0) * active[i].dxPerY;
        shape.activeCount = kept;
        auto emit = [&](double left, double right) {
            const int32_t begin = columnFrom(left, clip);
            const int32_t end = columnFrom(right, clip);
            if (begin < end)
                sink.span(shapeIndex, row, begin, end);
        };
        if (kept == 2) { // two crossings always bound one run
            emit(std::min(active[0].x, active[1].x), std::max(active[0].x, active[1].x));
            continue;
        }
        crossings_.clear();
        for (uint32_t i = 0; i < kept; ++i)
            crossings_.emplace_back(active[i].x, active[i].winding);
        // A handful of crossings per row: insertion sort.
        for (size_t i = 1; i < crossings_.size(); ++i)
            for (size_t j = i; j > 0 && crossings_[j].first < crossings_[j - 1].first; --j)
                std::swap(crossings_[j], crossings_[j - 1]);
        int32_t winding = 0;
        double left = 0;
        for (const auto& [x, w] : crossings_) {
            const int32_t before = winding;
            winding += w;
            if (before == 0 && winding != 0)
                left = x;
            else if (before != 0 && winding == 0)
                emit(left, x);
        }
    }
}

} // namespace kestrel
