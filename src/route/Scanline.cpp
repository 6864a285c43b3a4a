#include "route/Scanline.h"

#include <algorithm>
#include <cmath>

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

// First pixel column whose centre lies at or right of board x.
double columnFrom(double x) { return std::ceil((x - kUnitsPerPixel / 2.0) / kUnitsPerPixel); }

} // namespace

uint32_t ScanlineFill::addShape(const std::vector<std::vector<Point>>& polygons)
{
    Shape shape{static_cast<uint32_t>(edges_.size()), 0, INT32_MAX, INT32_MIN, 0, 0};
    for (const auto& polygon : polygons) {
        for (size_t i = 0; i < polygon.size(); ++i) {
            const Point a = polygon[i];
            const Point b = polygon[(i + 1) % polygon.size()];
            if (a.y == b.y)
                continue; // row centres never lie on a horizontal edge
            const int64_t yLow = std::min(a.y, b.y);
            const int64_t yHigh = std::max(a.y, b.y);
            // Rows whose centre y (never a whole unit) lies strictly between the ends.
            const int64_t first = ceilDiv(-yHigh - 2, kUnitsPerPixel);
            const int64_t last = floorDiv(-yLow - 3, kUnitsPerPixel);
            if (last < first)
                continue;
            Edge e;
            e.x0 = a.x;
            e.y0 = a.y;
            e.dxPerY = static_cast<double>(b.x - a.x) / static_cast<double>(b.y - a.y);
            e.firstRow = static_cast<int32_t>(first);
            e.lastRow = static_cast<int32_t>(last);
            e.winding = b.y > a.y ? 1 : -1;
            edges_.push_back(e);
            shape.firstRow = std::min(shape.firstRow, e.firstRow);
            shape.lastRow = std::max(shape.lastRow, e.lastRow);
        }
    }
    shape.edgeEnd = static_cast<uint32_t>(edges_.size());
    std::sort(edges_.begin() + shape.edgeBegin, edges_.end(),
              [](const Edge& l, const Edge& r) { return l.firstRow < r.firstRow; });
    shapes_.push_back(shape);
    return static_cast<uint32_t>(shapes_.size() - 1);
}

void ScanlineFill::startSweep(const PixelRect& clip)
{
    clip_ = clip;
    row_ = clip.top;
    activePool_.assign(edges_.size(), 0);
    byFirstRow_.clear();
    for (uint32_t i = 0; i < shapes_.size(); ++i) {
        Shape& s = shapes_[i];
        s.nextEdge = s.edgeBegin;
        s.activeCount = 0;
        if (s.edgeBegin < s.edgeEnd && s.lastRow >= clip.top && s.firstRow < clip.bottom)
            byFirstRow_.push_back(i);
    }
    std::stable_sort(byFirstRow_.begin(), byFirstRow_.end(),
                     [&](uint32_t l, uint32_t r) { return shapes_[l].firstRow < shapes_[r].firstRow; });
    nextShape_ = 0;
    activeShapes_.clear();
}

bool ScanlineFill::nextRow(int32_t& row, std::vector<PixelSpan>& spans)
{
    spans.clear();
    while (true) {
        if (activeShapes_.empty()) {
            if (nextShape_ == byFirstRow_.size())
                return false;
            row_ = std::max(row_, shapes_[byFirstRow_[nextShape_]].firstRow);
        }
        if (row_ >= clip_.bottom)
            return false;
        while (nextShape_ < byFirstRow_.size() && shapes_[byFirstRow_[nextShape_]].firstRow <= row_)
            activeShapes_.push_back(byFirstRow_[nextShape_++]);

        for (uint32_t index : activeShapes_)
            emitSpans(index, shapes_[index], row_, spans);
        std::erase_if(activeShapes_, [&](uint32_t index) { return shapes_[index].lastRow <= row_; });

        row = row_++;
        if (!spans.empty())
            return true;
    }
}

void ScanlineFill::emitSpans(uint32_t shapeIndex, Shape& shape, int32_t row, std::vector<PixelSpan>& spans)
{
    uint32_t* active = activePool_.data() + shape.edgeBegin;
    while (shape.nextEdge < shape.edgeEnd && edges_[shape.nextEdge].firstRow <= row) {
        if (edges_[shape.nextEdge].lastRow >= row)
            active[shape.activeCount++] = shape.nextEdge;
        ++shape.nextEdge;
    }
    uint32_t kept = 0;
    crossings_.clear();
    const double y = rowCentreY(row);
    for (uint32_t i = 0; i < shape.activeCount; ++i) {
        const Edge& e = edges_[active[i]];
        if (e.lastRow < row)
            continue;
        active[kept++] = active[i];
        crossings_.emplace_back(e.x0 + (y - e.y0) * e.dxPerY, e.winding);
    }
    shape.activeCount = kept;
    std::sort(crossings_.begin(), crossings_.end());

    int winding = 0;
    double left = 0;
    for (const auto& [x, w] : crossings_) {
        const int before = winding;
        winding += w;
        if (before == 0 && winding != 0) {
            left = x;
        } else if (before != 0 && winding == 0) {
            const double begin = std::max(columnFrom(left), static_cast<double>(clip_.left));
            const double end = std::min(columnFrom(x), static_cast<double>(clip_.right));
            if (begin < end)
                spans.push_back({shapeIndex, static_cast<int32_t>(begin), static_cast<int32_t>(end)});
        }
    }
}

} // namespace kestrel
