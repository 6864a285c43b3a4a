#include "route/PartGrid.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {
constexpr int64_t kMaxCells = int64_t{1} << 22;
constexpr double kPartsPerCellSide = 1.0;
}

void PartGrid::build(const std::vector<CopperPart>& parts, const std::vector<LayoutObject const*>& objects,
                     const std::vector<uint32_t>& ids, int32_t margin, int32_t largestCell)
{
    parts_ = &parts;
    margin_ = margin;
    objects_ = &objects;
    first_.clear();
    live_.clear();
    entries_.clear();
    touched_.clear();
    if (ids.empty()) {
        columns_ = rows_ = 0;
        return;
    }
    area_ = parts[ids[0]].box.grown(margin);
    for (uint32_t id : ids) {
        const Rect b = parts[id].box.grown(margin);
        area_.left = std::min(area_.left, b.left);
        area_.top = std::min(area_.top, b.top);
        area_.right = std::max(area_.right, b.right);
        area_.bottom = std::max(area_.bottom, b.bottom);
    }
    // Cells about as large as a typical part, within a bounded number of cells.
    const double width = double(area_.right) - area_.left + 1, height = double(area_.bottom) - area_.top + 1;
    double extents = 0;
    for (uint32_t id : ids) {
        const Rect& b = parts[id].box;
        extents += std::max(double(b.right) - b.left, double(b.bottom) - b.top);
    }
    double size = kPartsPerCellSide * extents / double(ids.size());
    size = std::max({std::min(size, double(largestCell)), 64.0, std::sqrt(width * height / double(kMaxCells))});
    cellSize_ = static_cast<int32_t>(std::min(size, double(INT32_MAX / 2)));
    columns_ = static_cast<int32_t>(width / cellSize_) + 1;
    rows_ = static_cast<int32_t>(height / cellSize_) + 1;
    const size_t cells = size_t(columns_) * size_t(rows_);

    // Each part's cells, worked out once for the filling and the queries.
    std::vector<uint32_t> counts(cells + 1, 0);
    partCellsFirst_.assign(parts.size() + 1, 0);
    partCells_.clear();
    std::vector<uint32_t> cellsOfPart;
    for (uint32_t id : ids) {
        cellsOf(id, cellsOfPart);
        partCellsFirst_[id] = static_cast<uint32_t>(partCells_.size());
        for (uint32_t c : cellsOfPart)
            ++counts[c];
        partCells_.insert(partCells_.end(), cellsOfPart.begin(), cellsOfPart.end());
        partCellsFirst_[id + 1] = static_cast<uint32_t>(partCells_.size());
    }
    first_.assign(cells + 1, 0);
    for (size_t c = 0; c < cells; ++c)
        first_[c + 1] = first_[c] + counts[c];
    entries_.resize(first_[cells]);
    live_.assign(counts.begin(), counts.end() - 1);
    std::vector<uint32_t> fill(first_.begin(), first_.end() - 1);
    for (uint32_t id : ids)
        for (uint32_t c : cellsFor(id))
            entries_[fill[c]++] = id;
    isTouched_.assign(cells, 0);
}

void PartGrid::reopen()
{
    for (uint32_t c : touched_) {
        live_[c] = first_[c + 1] - first_[c];
        isTouched_[c] = 0;
    }
    touched_.clear();
}

void PartGrid::cellsOf(uint32_t id, std::vector<uint32_t>& out) const
{
    out.clear();
    auto cell = [&](uint32_t c) { out.push_back(c); };
    const CopperPart& part = (*parts_)[id];
    auto column = [&](int64_t x) { return static_cast<int32_t>(std::clamp<int64_t>((x - area_.left) / cellSize_, 0, columns_ - 1)); };
    auto row = [&](int64_t y) { return static_cast<int32_t>(std::clamp<int64_t>((y - area_.top) / cellSize_, 0, rows_ - 1)); };
    auto boxCells = [&](int64_t left, int64_t top, int64_t right, int64_t bottom) {
        for (int32_t y = row(top); y <= row(bottom); ++y)
            for (int32_t x = column(left); x <= column(right); ++x)
                cell(static_cast<uint32_t>(y) * static_cast<uint32_t>(columns_) + static_cast<uint32_t>(x));
    };
    const Rect b = part.box.grown(margin_);
    const int32_t spanX = column(b.right) - column(b.left), spanY = row(b.bottom) - row(b.top);
    if (!part.isCapsule() || (spanX <= 1 && spanY <= 1)) {
        boxCells(b.left, b.top, b.right, b.bottom);
        return;
    }
    // Row by row: the stretch of the segment within the row's band, widened
    // by the half width, gives the row's columns.
    const CapsuleShape c = capsuleOf(*(*objects_)[part.object], part);
    const double grow = std::abs(double(c.halfWidth)) + 3 + margin_;
    const double ax = c.a.x, ay = c.a.y, dx = double(c.b.x) - ax, dy = double(c.b.y) - ay;
    for (int32_t y = row(b.top); y <= row(b.bottom); ++y) {
        const double bandTop = double(area_.top) + double(y) * cellSize_ - grow;
        const double bandBottom = bandTop + cellSize_ + 2 * grow;
        double t0 = 0, t1 = 1;
        if (dy != 0) {
            t0 = (bandTop - ay) / dy;
            t1 = (bandBottom - ay) / dy;
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
        const int32_t from = column(static_cast<int64_t>(std::floor(std::min(xa, xb) - grow)));
        const int32_t to = column(static_cast<int64_t>(std::ceil(std::max(xa, xb) + grow)));
        for (int32_t x = from; x <= to; ++x)
            cell(static_cast<uint32_t>(y) * static_cast<uint32_t>(columns_) + static_cast<uint32_t>(x));
    }
}

} // namespace kestrel
