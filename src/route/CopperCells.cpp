#include "route/CopperCells.h"

#include "geometry/CapsuleOverlap.h"
#include "geometry/SegmentClip.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace kestrel {

namespace {

constexpr int32_t kSmallestCell = 256;
constexpr int64_t kMostSide = 512;      // columns and rows at most
constexpr int64_t kMostEntryCells = 64; // larger entries go to the wide list

// Whether the segment meets the closed rectangle.
bool segmentMeets(Point a, Point b, const Rect& r)
{
    double t0 = 0, t1 = 1;
    return clipSegmentToRect(a.x, a.y, double(b.x) - a.x, double(b.y) - a.y, r.left, r.top, r.right, r.bottom, t0,
                             t1);
}

// The radius of the round ends of a line's, track's or zone edge's
// segments: half the Gerber file's pen, an odd width's half unit included
// (a track without width counts as its outline's); 0 for anything else.
double roundEndRadius(const LayoutObject& o)
{
    if (!o.is(ObjectKind::Line) && !o.is(ObjectKind::Track) && !o.is(ObjectKind::Zone))
        return 0;
    if (o.widthUnits() / 2 == 0 && !o.is(ObjectKind::Zone))
        return kDefaultHalfWidth;
    return std::max(o.widthUnits(), 0) / 2.0;
}

// How far the round ends of o reach beyond its outline parts: their ten
// corners on the circle leave chords up to r (1 - cos 22.5 degrees) inside
// it. Discs and arcs keep within half a unit.
int32_t outlineSlack(const LayoutObject& o)
{
    return static_cast<int32_t>(std::ceil(0.08 * roundEndRadius(o))) + 2;
}

// Whether one of the points lies nearer the segment a-b than `reach`.
template <class Points>
bool pointNear(const Points& points, Point a, Point b, double reach)
{
    return std::any_of(points.begin(), points.end(),
                       [&](Point p) { return pointSegmentDistanceSquared(p, a, b) < reach * reach; });
}

} // namespace

Region DrilledHole(const LayoutObject& o)
{
    if (!o.is(ObjectKind::Pad) || !isBoardCopper(o.Layer) || o.holeRadius() <= 0)
        return {};
    return Region::disc(o.start(), o.holeRadius());
}

bool DrilledThrough(const LayoutObject& o, int layer)
{
    return o.is(ObjectKind::Pad) && isBoardCopper(o.Layer) && o.Layer != layer && o.holeRadius() > 0;
}

CopperCells::CopperCells(CopperMap& copper, int layer) : layer_(layer)
{
    const ObjectList& objects = copper.objects();
    for (size_t i = 0; i < objects.size(); ++i) {
        const LayoutObject& o = objects[i];
        const auto object = static_cast<uint32_t>(i);
        if (o.Layer == layer) {
            const std::vector<Region>& parts = copper.outline(i);
            for (size_t k = 0; k < parts.size(); ++k)
                if (!parts[k].empty())
                    entries_.push_back({parts[k].bounds(), object, static_cast<int32_t>(k)});
        } else if (DrilledThrough(o, layer)) {
            holes_.push_back(DrilledHole(o));
            entries_.push_back({holes_.back().bounds(), object, -static_cast<int32_t>(holes_.size())});
        }
        if (o.Layer == layer)
            mostSlack_ = std::max(mostSlack_, outlineSlack(o));
    }
    seen_.assign(entries_.size(), 0);
    if (entries_.empty())
        return;

    extent_ = entries_[0].box;
    for (const Entry& e : entries_)
        extent_ = extent_.united(e.box);
    const int64_t width = int64_t{extent_.right} - extent_.left + 1;
    const int64_t height = int64_t{extent_.bottom} - extent_.top + 1;
    const int64_t side = std::max(width, height);
    cellSize_ = static_cast<int32_t>(std::max<int64_t>(kSmallestCell, (side + kMostSide - 1) / kMostSide));
    columns_ = static_cast<int32_t>((width + cellSize_ - 1) / cellSize_);
    rows_ = static_cast<int32_t>((height + cellSize_ - 1) / cellSize_);

    // Two passes: count per cell, then place.
    auto span = [&](const Rect& r) {
        return std::array<int32_t, 4>{static_cast<int32_t>((int64_t{r.left} - extent_.left) / cellSize_),
                                      static_cast<int32_t>((int64_t{r.top} - extent_.top) / cellSize_),
                                      static_cast<int32_t>((int64_t{r.right} - extent_.left) / cellSize_),
                                      static_cast<int32_t>((int64_t{r.bottom} - extent_.top) / cellSize_)};
    };
    auto wide = [](const std::array<int32_t, 4>& s) {
        return (int64_t{s[2]} - s[0] + 1) * (int64_t{s[3]} - s[1] + 1) > kMostEntryCells;
    };
    first_.assign(static_cast<size_t>(columns_) * static_cast<size_t>(rows_) + 1, 0);
    for (const Entry& e : entries_) {
        const auto s = span(e.box);
        if (wide(s))
            continue;
        for (int32_t y = s[1]; y <= s[3]; ++y)
            for (int32_t x = s[0]; x <= s[2]; ++x)
                ++first_[static_cast<size_t>(y) * static_cast<size_t>(columns_) + static_cast<size_t>(x) + 1];
    }
    for (size_t c = 1; c < first_.size(); ++c)
        first_[c] += first_[c - 1];
    ids_.resize(first_.back());
    std::vector<uint32_t> next(first_.begin(), first_.end() - 1);
    for (size_t id = 0; id < entries_.size(); ++id) {
        const auto s = span(entries_[id].box);
        if (wide(s)) {
            wide_.push_back(static_cast<uint32_t>(id));
            continue;
        }
        for (int32_t y = s[1]; y <= s[3]; ++y)
            for (int32_t x = s[0]; x <= s[2]; ++x)
                ids_[next[static_cast<size_t>(y) * static_cast<size_t>(columns_) + static_cast<size_t>(x)]++] =
                    static_cast<uint32_t>(id);
    }
}

long CopperCells::touchedObject(CopperMap& copper, Point a, Point b, int32_t width, const std::vector<uint8_t>& passed,
                                bool asDrawn) const
{
    if (entries_.empty())
        return -1;
    // Rectangles farther from the segment than this hold nothing the track
    // meets (the outline's corners are whole units, a little outside; round
    // ends drawn reach a little beyond their parts).
    const int32_t half = width / 2;
    const int32_t reach = half + 2 + (asDrawn ? mostSlack_ + 2 : 0);
    const Rect box = Rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)}.grown(reach);
    if (!box.overlaps(extent_))
        return -1;
    if (++query_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        query_ = 1;
    }
    // As drawn, everything is measured a unit wide of the pen: an odd width's
    // half unit, corners rounded to whole units, and copper that only
    // touches count too.
    std::optional<Region> track, ends;
    auto overlapsTrack = [&](const Region& part) {
        if (!track) {
            LayoutObject segment = makeTrack(asDrawn ? width + 2 : width, static_cast<uint8_t>(layer_));
            segment.Points = {a, b};
            track = ObjectRegion(segment);
        }
        if (part.overlaps(*track))
            return true;
        if (!asDrawn)
            return false;
        // The outline's sides are the drawn track's; its round ends are
        // measured as discs.
        if (!ends) {
            const int32_t radius = half + 2;
            ends = Region::disc(a, radius).united(Region::disc(b, radius));
        }
        return part.overlaps(*ends);
    };
    auto test = [&](uint32_t id) {
        if (seen_[id] == query_)
            return false;
        seen_[id] = query_;
        const Entry& e = entries_[id];
        if (passed[e.object] || !e.box.overlaps(box) || !segmentMeets(a, b, e.box.grown(reach)))
            return false;
        const Region& part = e.part >= 0 ? copper.outline(e.object)[static_cast<size_t>(e.part)]
                                         : holes_[static_cast<size_t>(-1 - e.part)];
        if (overlapsTrack(part))
            return true;
        // The round ends of another line, track or zone edge, drawn as discs
        // about its corners.
        const LayoutObject& o = copper.objects()[e.object];
        const double radius = e.part >= 0 && asDrawn ? roundEndRadius(o) : 0;
        if (radius == 0)
            return false;
        const double apart = width / 2.0 + radius + 1;
        return o.is(ObjectKind::Line) ? pointNear(std::array{o.start(), o.end()}, a, b, apart)
                                      : pointNear(o.Points, a, b, apart);
    };
    for (uint32_t id : wide_)
        if (test(id))
            return entries_[id].object;
    auto clampColumn = [&](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, columns_ - 1)); };
    auto clampRow = [&](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, rows_ - 1)); };
    const int32_t x0 = clampColumn((int64_t{box.left} - extent_.left) / cellSize_);
    const int32_t x1 = clampColumn((int64_t{box.right} - extent_.left) / cellSize_);
    const int32_t y0 = clampRow((int64_t{box.top} - extent_.top) / cellSize_);
    const int32_t y1 = clampRow((int64_t{box.bottom} - extent_.top) / cellSize_);
    for (int32_t y = y0; y <= y1; ++y) {
        for (int32_t x = x0; x <= x1; ++x) {
            // A slanting segment's rectangle holds many cells it passes far from.
            const Rect cell{static_cast<int32_t>(extent_.left + int64_t{x} * cellSize_),
                            static_cast<int32_t>(extent_.top + int64_t{y} * cellSize_),
                            static_cast<int32_t>(extent_.left + int64_t{x + 1} * cellSize_),
                            static_cast<int32_t>(extent_.top + int64_t{y + 1} * cellSize_)};
            if (!segmentMeets(a, b, cell.grown(reach)))
                continue;
            const size_t c = static_cast<size_t>(y) * static_cast<size_t>(columns_) + static_cast<size_t>(x);
            for (uint32_t k = first_[c]; k < first_[c + 1]; ++k)
                if (test(ids_[k]))
                    return entries_[ids_[k]].object;
        }
    }
    return -1;
}

} // namespace kestrel
