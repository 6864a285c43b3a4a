#include "view/ObjectIndex.h"

#include "geometry/Geometry.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {
// Objects spanning more cells than this are kept out of the grid.
constexpr int64_t kMaxCellsPerObject = 16;
} // namespace

void ObjectIndex::clear()
{
    source_ = nullptr;
    entries_.clear();
    padsWithBands_.clear();
    large_.clear();
    cellStart_.clear();
    cellItems_.clear();
    columns_ = rows_ = 0;
}

int ObjectIndex::column(int32_t x) const
{
    const int64_t c = (int64_t{x} - extent_.left) / cellUnits_;
    return static_cast<int>(std::clamp<int64_t>(c, 0, columns_ - 1));
}

int ObjectIndex::row(int32_t y) const
{
    const int64_t r = (int64_t{y} - extent_.top) / cellUnits_;
    return static_cast<int>(std::clamp<int64_t>(r, 0, rows_ - 1));
}

void ObjectIndex::build(const ObjectList& objects)
{
    clear();
    source_ = &objects;
    entries_.reserve(objects.size());
    bool first = true;
    for (const auto& o : objects) {
        const Rect bounds = BoundingRect(*o);
        entries_.push_back({o.get(), bounds});
        extent_ = first ? bounds : extent_.united(bounds);
        first = false;
        if (!o->Connections.empty() && o->is(ObjectKind::Pad))
            padsWithBands_.push_back(o.get());
    }
    if (entries_.empty())
        return;
    // About four objects per square cell.
    const int64_t width = int64_t{extent_.right} - extent_.left + 1;
    const int64_t height = int64_t{extent_.bottom} - extent_.top + 1;
    const double area = static_cast<double>(width) * static_cast<double>(height);
    const double cells = std::max(1.0, entries_.size() / 4.0);
    cellUnits_ = std::max<int64_t>(1, static_cast<int64_t>(std::ceil(std::sqrt(area / cells))));
    columns_ = static_cast<int>(std::min<int64_t>(width / cellUnits_ + 1, 1024));
    rows_ = static_cast<int>(std::min<int64_t>(height / cellUnits_ + 1, 1024));
    cellUnits_ = std::max((width + columns_ - 1) / columns_, (height + rows_ - 1) / rows_);

    // Two passes: count the items of every cell, then place them.
    cellStart_.assign(static_cast<size_t>(columns_) * rows_ + 1, 0);
    std::vector<uint8_t> inGrid(entries_.size(), 0);
    for (uint32_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        const int c0 = column(e.bounds.left), c1 = column(e.bounds.right);
        const int r0 = row(e.bounds.top), r1 = row(e.bounds.bottom);
        if (e.object->Layer >= 5 || int64_t{c1 - c0 + 1} * (r1 - r0 + 1) > kMaxCellsPerObject) {
            large_.push_back(i);
            continue;
        }
        inGrid[i] = 1;
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                ++cellStart_[static_cast<size_t>(r) * columns_ + c + 1];
    }
    for (size_t c = 1; c < cellStart_.size(); ++c)
        cellStart_[c] += cellStart_[c - 1];
    cellItems_.resize(cellStart_.back());
    std::vector<uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (uint32_t i = 0; i < entries_.size(); ++i) {
        if (!inGrid[i])
            continue;
        const Entry& e = entries_[i];
        const int c0 = column(e.bounds.left), c1 = column(e.bounds.right);
        const int r0 = row(e.bounds.top), r1 = row(e.bounds.bottom);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                cellItems_[fill[static_cast<size_t>(r) * columns_ + c]++] = i;
    }
}

bool ObjectIndex::qualifies(const Entry& e, const Rect& clip) const
{
    return e.object->Layer >= 5 || e.bounds.overlaps(clip);
}

void ObjectIndex::query(const Rect& clip, std::vector<uint32_t>& positions) const
{
    positions.clear();
    if (entries_.empty())
        return;
    const int c0 = column(clip.left), c1 = column(clip.right);
    const int r0 = row(clip.top), r1 = row(clip.bottom);
    // A large part of the board: one pass over all objects is cheaper.
    if (int64_t{c1 - c0 + 1} * (r1 - r0 + 1) * 8 > int64_t{columns_} * rows_) {
        for (uint32_t i = 0; i < entries_.size(); ++i)
            if (qualifies(entries_[i], clip))
                positions.push_back(i);
        return;
    }
    for (const uint32_t i : large_)
        if (qualifies(entries_[i], clip))
            positions.push_back(i);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            const size_t cell = static_cast<size_t>(r) * columns_ + c;
            for (uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k)
                if (entries_[cellItems_[k]].bounds.overlaps(clip))
                    positions.push_back(cellItems_[k]);
        }
    // Objects spanning several cells were found once per cell.
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
}

} // namespace kestrel
