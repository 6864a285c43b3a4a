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
int32_t columnFrom(double x, const PixelRect& clip)
{
    const double column = (x - kUnitsPerPixel / 2.0) / kUnitsPerPixel;
    if (!(column > clip.left))
        return clip.left;
    if (!(column < clip.right))
        return clip.right;
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
    shapes_.push_back({first, first, INT32_MAX, INT32_MIN, 0, 0});
    return static_cast<uint32_t>(shapes_.size() - 1);
}

void ScanlineFill::addPolygons(const std::vector<std::vector<Point>>& polygons)
{
    Shape& shape = shapes_.back();
    for (const auto& polygon : polygons) {
        for (size_t i = 0; i < polygon.size(); ++i) {
            const Point a = polygon[i];
            const Point b = polygon[i + 1 < polygon.size() ? i + 1 : 0];
            if (a.y == b.y)
                continue; // row centres never lie on a horizontal edge
            const int64_t yLow = std::min(a.y, b.y);
            const int64_t yHigh = std::max(a.y, b.y);
            // Rows whose centre y (never a whole unit) lies strictly between the ends.
            const int64_t first = ceilDiv(-yHigh - 2, kUnitsPerPixel);
            const int64_t last = floorDiv(-yLow - 3, kUnitsPerPixel);
            if (last < first)
                continue;
            edges_.push_back({a.x, a.y, static_cast<double>(b.x - a.x) / static_cast<double>(b.y - a.y),
                              static_cast<int32_t>(first), static_cast<int32_t>(last), b.y > a.y ? 1 : -1});
            shape.firstRow = std::min(shape.firstRow, edges_.back().firstRow);
            shape.lastRow = std::max(shape.lastRow, edges_.back().lastRow);
        }
    }
    shape.edgeEnd = static_cast<uint32_t>(edges_.size());
    // Edges enter the sweep in the order of their first rows.
    std::sort(edges_.begin() + shape.edgeBegin, edges_.end(),
              [](const Edge& l, const Edge& r) { return l.firstRow < r.firstRow; });
}

void ScanlineFill::sweep(const PixelRect& clip, Sink& sink)
{
    activePool_.resize(edges_.size());
    std::vector<uint32_t> byFirstRow;
    for (uint32_t i = 0; i < shapes_.size(); ++i) {
        Shape& s = shapes_[i];
        s.nextEdge = s.edgeBegin;
        s.activeCount = 0;
        if (s.edgeBegin < s.edgeEnd && s.lastRow >= clip.top && s.firstRow < clip.bottom)
            byFirstRow.push_back(i);
    }
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
            emitSpans(index, shape, std::max(row, shape.firstRow), std::min(end - 1, shape.lastRow), clip, sink);
        }
        std::erase_if(active, [&](uint32_t index) { return shapes_[index].lastRow < end; });
        sink.rowsDone(row, end);
        row = end;
    }
}

void ScanlineFill::emitSpans(uint32_t shapeIndex, Shape& shape, int32_t firstRow, int32_t lastRow,
                             const PixelRect& clip, Sink& sink)
{
    ActiveEdge* active = activePool_.data() + shape.edgeBegin;
    for (int32_t row = firstRow; row <= lastRow; ++row) {
        const double y = rowCentreY(row);
        // Edges ending above this row leave, edges starting here enter.
        uint32_t kept = 0;
        for (uint32_t i = 0; i < shape.activeCount; ++i) {
            if (active[i].lastRow < row)
                continue;
            active[i].x += active[i].dxPerRow;
            if (kept != i)
                active[kept] = active[i];
            ++kept;
        }
        for (; shape.nextEdge < shape.edgeEnd && edges_[shape.nextEdge].firstRow <= row; ++shape.nextEdge) {
            const Edge& e = edges_[shape.nextEdge];
            if (e.lastRow >= row)
                active[kept++] = {e.x0 + (y - e.y0) * e.dxPerY, -kUnitsPerPixel * e.dxPerY, e.lastRow, e.winding};
        }
        shape.activeCount = kept;
        auto emit = [&](double left, double right) {
            const int32_t begin = columnFrom(left, clip);
            const int32_t end = columnFrom(right, clip);
            if (begin < end)
                sink.span(shapeIndex, row, begin, end);
        };
        if (kept == 2) { // a convex outline: one run between its two edges
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
