#include "view/ObjectIndex.h"

#include "geometry/Geometry.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {
// An object goes into the finest grid where it spans at most this many cells.
constexpr int64_t kMaxCellsPerObject = 16;
constexpr int64_t kGridCoarsening = 8;
constexpr size_t kMaxGrids = 4;
constexpr int kMaxCellsPerSide = 1024;
} // namespace

void ObjectIndex::clear()
{
    source_ = nullptr;
    entries_.clear();
    padsWithBands_.clear();
    large_.clear();
    grids_.clear();
}

ObjectIndex::CellSpan ObjectIndex::span(const Grid& g, const Rect& r) const
{
    auto column = [&](int32_t x) {
        return static_cast<int>(std::clamp<int64_t>((int64_t{x} - extent_.left) / g.cellUnits, 0, g.columns - 1));
    };
    auto row = [&](int32_t y) {
        return static_cast<int>(std::clamp<int64_t>((int64_t{y} - extent_.top) / g.cellUnits, 0, g.rows - 1));
    };
    return {column(r.left), column(r.right), row(r.top), row(r.bottom)};
}

void ObjectIndex::build(const ObjectList& objects)
{
    clear();
    source_ = &objects;
    entries_.reserve(objects.size());
    bool first = true;
    for (const auto& o : objects) {
        const Rect bounds = BoundingRect(*o);
        entries_.push_back({o.get(), bounds, o->Layer, o->is(ObjectKind::Pad)});
        extent_ = first ? bounds : extent_.united(bounds);
        first = false;
        if (!o->Connections.empty() && o->is(ObjectKind::Pad))
            padsWithBands_.push_back(o.get());
    }
    if (entries_.empty())
        return;
    // About four objects per square cell of the finest grid.
    const int64_t width = int64_t{extent_.right} - extent_.left + 1;
    const int64_t height = int64_t{extent_.bottom} - extent_.top + 1;
    const double area = static_cast<double>(width) * static_cast<double>(height);
    const double cells = std::max(1.0, entries_.size() / 4.0);
    int64_t cellUnits = std::max<int64_t>(1, static_cast<int64_t>(std::ceil(std::sqrt(area / cells))));
    while (grids_.size() < kMaxGrids) {
        Grid g;
        g.columns = static_cast<int>(std::min<int64_t>(width / cellUnits + 1, kMaxCellsPerSide));
        g.rows = static_cast<int>(std::min<int64_t>(height / cellUnits + 1, kMaxCellsPerSide));
        g.cellUnits = std::max((width + g.columns - 1) / g.columns, (height + g.rows - 1) / g.rows);
        g.cellStart.assign(static_cast<size_t>(g.columns) * g.rows + 1, 0);
        const bool single = g.columns == 1 && g.rows == 1;
        grids_.push_back(std::move(g));
        if (single)
            break;
        cellUnits *= kGridCoarsening;
    }

    // The grid of every entry (grids_.size() for the large list), then two
    // passes per grid: count the items of every cell, then place them.
    std::vector<uint8_t> gridOf(entries_.size(), static_cast<uint8_t>(grids_.size()));
    for (uint32_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        if (e.layer >= 5)
            continue;
        for (size_t k = 0; k < grids_.size(); ++k) {
            const CellSpan s = span(grids_[k], e.bounds);
            if (s.cells() <= kMaxCellsPerObject) {
                gridOf[i] = static_cast<uint8_t>(k);
                break;
            }
        }
        if (gridOf[i] == grids_.size())
            continue;
        Grid& g = grids_[gridOf[i]];
        const CellSpan s = span(g, e.bounds);
        for (int r = s.r0; r <= s.r1; ++r)
            for (int c = s.c0; c <= s.c1; ++c)
                ++g.cellStart[static_cast<size_t>(r) * g.columns + c + 1];
    }
    for (uint32_t i = 0; i < entries_.size(); ++i)
        if (gridOf[i] == grids_.size())
            large_.push_back(i);
    for (Grid& g : grids_) {
        for (size_t c = 1; c < g.cellStart.size(); ++c)
            g.cellStart[c] += g.cellStart[c - 1];
        g.cellItems.resize(g.cellStart.back());
    }
    std::vector<std::vector<uint32_t>> fill;
    for (const Grid& g : grids_)
        fill.emplace_back(g.cellStart.begin(), g.cellStart.end() - 1);
    for (uint32_t i = 0; i < entries_.size(); ++i) {
        if (gridOf[i] == grids_.size())
            continue;
        Grid& g = grids_[gridOf[i]];
        const CellSpan s = span(g, entries_[i].bounds);
        for (int r = s.r0; r <= s.r1; ++r)
            for (int c = s.c0; c <= s.c1; ++c)
                g.cellItems[fill[gridOf[i]][static_cast<size_t>(r) * g.columns + c]++] = i;
    }
}

bool ObjectIndex::qualifies(const Entry& e, const Rect& clip) const
{
    return e.layer >= 5 || e.bounds.overlaps(clip);
}

bool ObjectIndex::scansAll(const Rect& clip) const
{
    // A large part of the board: one pass over all objects is cheaper.
    const Grid& finest = grids_.front();
    return span(finest, clip).cells() * 8 > int64_t{finest.columns} * finest.rows;
}

void ObjectIndex::query(const Rect& clip, std::vector<uint32_t>& positions) const
{
    queryUnordered(clip, positions);
    // Objects spanning several cells were found once per cell; a pass over
    // all objects found them once, in order.
    if (entries_.empty() || scansAll(clip))
        return;
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
}

void ObjectIndex::queryUnordered(const Rect& clip, std::vector<uint32_t>& positions) const
{
    positions.clear();
    if (entries_.empty())
        return;
    if (scansAll(clip)) {
        for (uint32_t i = 0; i < entries_.size(); ++i)
            if (qualifies(entries_[i], clip))
                positions.push_back(i);
        return;
    }
    for (const uint32_t i : large_)
        if (qualifies(entries_[i], clip))
            positions.push_back(i);
    for (const Grid& g : grids_) {
        const CellSpan s = span(g, clip);
        for (int r = s.r0; r <= s.r1; ++r)
            for (int c = s.c0; c <= s.c1; ++c) {
                const size_t cell = static_cast<size_t>(r) * g.columns + c;
                for (uint32_t k = g.cellStart[cell]; k < g.cellStart[cell + 1]; ++k)
                    if (entries_[g.cellItems[k]].bounds.overlaps(clip))
                        positions.push_back(g.cellItems[k]);
            }
    }
}

} // namespace kestrel
