#include "route/PartGrid.h"

#include "route/BothLayers.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {
constexpr int64_t kMaxCells = int64_t{1} << 22;
constexpr double kPartsPerCellSide = 2.0;
}

void PartGrid::build(const IndexVector<CopperPart>& parts, const IndexVector<CapsuleShape>& capsules,
                     const IndexVector<uint32_t>& ids, int32_t margin)
{
    parts_ = &parts;
    margin_ = margin;
    capsules_ = &capsules;
    first_.clear();
    live_.clear();
    entries_.clear();
    touched_.clear();
    partCells_.clear();
    if (ids.empty()) {
        columns_ = rows_ = 0;
        partCellsFirst_.assign(parts.size() + 1, 0);
        return;
    }
    area_ = parts[ids[0]].box.grown(margin);
    double extents = 0;
    for (uint32_t id : ids) {
        const Rect b = parts[id].box.grown(margin);
        area_.left = std::min(area_.left, b.left);
        area_.top = std::min(area_.top, b.top);
        area_.right = std::max(area_.right, b.right);
        area_.bottom = std::max(area_.bottom, b.bottom);
        extents += std::max(double(b.right) - b.left, double(b.bottom) - b.top);
    }
    // Cells about twice as large as a typical part, within a bounded number
    // of cells: fewer cells per part outweigh the longer cells.
    const double width = double(area_.right) - area_.left + 1, height = double(area_.bottom) - area_.top + 1;
    double size = kPartsPerCellSide * extents / double(ids.size());
    size = std::max({size, 64.0, std::sqrt(width * height / double(kMaxCells))});
    cellSize_ = static_cast<int32_t>(std::min(size, double(INT32_MAX / 2)));
    columns_ = static_cast<int32_t>(width / cellSize_) + 1;
    rows_ = static_cast<int32_t>(height / cellSize_) + 1;
    const size_t cells = size_t(columns_) * size_t(rows_);

    // Each part's cells, worked out once for the filling and the queries.
    // Parts of the other layer keep an empty range. Nearly every part spans
    // at most two columns and rows: its cells are written in place, which
    // takes a fraction of the time of the general walk.
    IndexVector<uint32_t> counts(cells + 1, 0);
    partCellsFirst_.resize(parts.size() + 1);
    partCells_.resize(ids.size() * 4);
    IndexVector<uint32_t> longCells;
    size_t end = 0;
    size_t next = 0; // ids ascend
    for (uint32_t id : ids) {
        for (; next <= id; ++next)
            partCellsFirst_[next] = static_cast<uint32_t>(end);
        if (partCells_.size() < end + 4)
            partCells_.resize(2 * (end + 4));
        size_t n = fewCellsOf(id, partCells_.data() + end);
        if (n == 0) {
            longCells.clear();
            cellsOf(id, longCells);
            n = longCells.size();
            if (partCells_.size() < end + n)
                partCells_.resize(2 * (end + n));
            std::copy(longCells.begin(), longCells.end(), partCells_.begin() + static_cast<std::ptrdiff_t>(end));
        }
        end += n;
    }
    for (; next <= parts.size(); ++next)
        partCellsFirst_[next] = static_cast<uint32_t>(end);
    partCells_.resize(end);
    for (uint32_t c : partCells_)
        ++counts[c];
    first_.resize(cells + 1);
    first_[0] = 0;
    for (size_t c = 0; c < cells; ++c)
        first_[c + 1] = first_[c] + counts[c];
    entries_.resize(first_[cells]);
    live_.assign(counts.begin(), counts.end() - 1);
    IndexVector<uint32_t>& fill = counts; // reused as each cell's next free slot
    std::copy(first_.begin(), first_.end() - 1, fill.begin());
    for (uint32_t id : ids)
        for (uint32_t c : cellsFor(id))
            entries_[fill[c]++] = {id, parts[id].object};
    isTouched_.assign(cells, 0);
}

void buildLayerGrids(PartGrid (&grids)[2], const IndexVector<CopperPart>& parts,
                     const IndexVector<CapsuleShape>& capsules, const IndexVector<uint32_t> (&ids)[2], int32_t margin)
{
    // Below this many parts on a layer a thread costs more than it saves.
    constexpr size_t kPartsPerLayerForTwoThreads = 20000;
    forBothLayers(std::min(ids[0].size(), ids[1].size()) >= kPartsPerLayerForTwoThreads,
                  [&](int layer) { grids[layer].build(parts, capsules, ids[layer], margin); });
}

void PartGrid::reopen()
{
    for (uint32_t c : touched_) {
        live_[c] = first_[c + 1] - first_[c];
        isTouched_[c] = 0;
    }
    touched_.clear();
}

PartGrid::CellSpan PartGrid::spanOf(const Rect& b) const
{
    // The grown box lies in the area, so the floor of its offsets is their
    // truncation and only the far side needs the clamp.
    const double scale = 1.0 / cellSize_;
    auto cell = [&](int32_t v, int32_t origin, int32_t count) {
        return std::min(static_cast<int32_t>((double(v) - origin) * scale), count - 1);
    };
    return {cell(b.left, area_.left, columns_), cell(b.top, area_.top, rows_), cell(b.right, area_.left, columns_),
            cell(b.bottom, area_.top, rows_)};
}

size_t PartGrid::fewCellsOf(uint32_t id, uint32_t* out) const
{
    const CellSpan s = spanOf((*parts_)[id].box.grown(margin_));
    if (s.x1 - s.x0 > 1 || s.y1 - s.y0 > 1)
        return 0;
    // The four corners in ascending order, each written over by the next
    // when it repeats the one before: no branch on the count.
    const auto stride = static_cast<uint32_t>(columns_);
    const uint32_t row0 = static_cast<uint32_t>(s.y0) * stride, row1 = static_cast<uint32_t>(s.y1) * stride;
    const size_t wide = s.x1 != s.x0, tall = s.y1 != s.y0;
    size_t n = 0;
    out[n] = row0 + static_cast<uint32_t>(s.x0);
    n += 1;
    out[n] = row0 + static_cast<uint32_t>(s.x1);
    n += wide;
    out[n] = row1 + static_cast<uint32_t>(s.x0);
    n += tall;
    out[n] = row1 + static_cast<uint32_t>(s.x1);
    n += wide & tall;
    return n;
}

void PartGrid::cellsOf(uint32_t id, IndexVector<uint32_t>& out) const
{
    const CopperPart& part = (*parts_)[id];
    const double scale = 1.0 / cellSize_;
    const double left = area_.left, top = area_.top;
    // Cell columns in doubles: the clamp keeps far values in range.
    auto column = [&](double x) {
        return static_cast<int32_t>(std::clamp(std::floor((x - left) * scale), 0.0, double(columns_ - 1)));
    };
    const auto stride = static_cast<uint32_t>(columns_);
    auto span = [&](int32_t y, int32_t from, int32_t to) {
        for (int32_t x = from; x <= to; ++x)
            out.push_back(static_cast<uint32_t>(y) * stride + static_cast<uint32_t>(x));
    };
    const CellSpan s = spanOf(part.box.grown(margin_));
    if (!part.isCapsule()) {
        for (int32_t y = s.y0; y <= s.y1; ++y)
            span(y, s.x0, s.x1);
        return;
    }
    // Row by row: the stretch of the segment within the row's band, widened
    // by the half width, gives the row's columns.
    const CapsuleShape& c = (*capsules_)[id];
    const double grow = std::abs(double(c.halfWidth)) + 3 + margin_;
    const double ax = c.a.x, ay = c.a.y, dx = double(c.b.x) - ax, dy = double(c.b.y) - ay;
    const double inverseDy = dy != 0 ? 1.0 / dy : 0;
    for (int32_t y = s.y0; y <= s.y1; ++y) {
        const double bandTop = top + double(y) * cellSize_ - grow;
        const double bandBottom = bandTop + cellSize_ + 2 * grow;
        double t0 = 0, t1 = 1;
        if (dy != 0) {
            t0 = (bandTop - ay) * inverseDy;
            t1 = (bandBottom - ay) * inverseDy;
            if (t0 > t1)
                std::swap(t0, t1);
            t0 = std::max(t0, 0.0);
            t1 = std::min(t1, 1.0);
            if (t0 > t1)
                continue;
        } else if (ay < bandTop || ay > bandBottom) {
            continue;
        }
        const double xa = ax + dx * t0, xb = ax + dx * t1;
        span(y, column(std::min(xa, xb) - grow - 1), column(std::max(xa, xb) + grow + 1));
    }
}

} // namespace kestrel
