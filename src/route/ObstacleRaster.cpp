#include "route/ObstacleRaster.h"

#include <algorithm>
#include <array>
#include <bit>

namespace kestrel {

namespace {

// One raster row as bits, remembering which words were written so that
// clearing and reading cost what was drawn.
class RowBits {
public:
    void resize(int32_t width) { words_.assign(static_cast<size_t>(width) / 64 + 1, 0); }

    void set(int32_t begin, int32_t end)
    {
        const size_t first = static_cast<size_t>(begin) / 64;
        const size_t last = static_cast<size_t>(end - 1) / 64;
        low_ = std::min(low_, first);
        high_ = std::max(high_, last);
        const uint64_t headMask = ~uint64_t{0} << (begin % 64);
        const uint64_t tailMask = ~uint64_t{0} >> (63 - (end - 1) % 64);
        if (first == last) {
            words_[first] |= headMask & tailMask;
            return;
        }
        words_[first] |= headMask;
        for (size_t i = first + 1; i < last; ++i)
            words_[i] = ~uint64_t{0};
        words_[last] |= tailMask;
    }

    bool touched() const { return low_ <= high_; }
    size_t low() const { return low_; }
    size_t high() const { return high_; }
    uint64_t word(size_t i) const { return words_[i]; }

    void clear()
    {
        if (touched())
            std::fill(words_.begin() + static_cast<long>(low_), words_.begin() + static_cast<long>(high_) + 1, 0);
        low_ = SIZE_MAX;
        high_ = 0;
    }

private:
    std::vector<uint64_t> words_;
    size_t low_ = SIZE_MAX;
    size_t high_ = 0;
};

// Collects a band of rows as bits of foreign and of net copper, then keeps
// the runs of foreign pixels outside the nets, row by row.
class RunCollector : public ScanlineFill::Sink {
public:
    RunCollector(const RasterRect& clip, const std::vector<uint8_t>& isNet, std::vector<uint32_t>& rowFirstRun,
                 std::vector<std::pair<int32_t, int32_t>>& runs)
        : clip_(clip), isNet_(isNet), rowFirstRun_(rowFirstRun), runs_(runs)
    {
        for (auto* rows : {&foreign_, &net_})
            for (RowBits& bits : *rows)
                bits.resize(clip.right - clip.left);
    }

    void span(uint32_t shape, int32_t row, int32_t begin, int32_t end) override
    {
        const size_t slot = static_cast<size_t>(row - clip_.top) % ScanlineFill::kBandRows;
        (isNet_[shape] ? net_ : foreign_)[slot].set(begin - clip_.left, end - clip_.left);
    }

    void rowsDone(int32_t first, int32_t end) override
    {
        startRowsUpTo(first);
        for (int32_t row = first; row < end; ++row) {
            startRowsUpTo(row);
            const size_t slot = static_cast<size_t>(row - clip_.top) % ScanlineFill::kBandRows;
            keepRuns(foreign_[slot], net_[slot]);
            foreign_[slot].clear();
            net_[slot].clear();
        }
    }

    void finish() { startRowsUpTo(clip_.bottom); }

private:
    // Rows up to and including `row` begin at the current end of the runs.
    void startRowsUpTo(int32_t row)
    {
        const size_t last = static_cast<size_t>(std::min(row, clip_.bottom) - clip_.top);
        for (; started_ <= last; ++started_)
            rowFirstRun_[started_] = static_cast<uint32_t>(runs_.size());
    }

    void keepRuns(const RowBits& foreign, const RowBits& net)
    {
        if (!foreign.touched())
            return;
        int32_t open = -1;
        for (size_t i = foreign.low(); i <= foreign.high(); ++i) {
            const uint64_t bits = foreign.word(i) & ~net.word(i);
            const auto base = static_cast<int32_t>(i * 64);
            int shift = 0;
            while (shift < 64) {
                if (open >= 0) {
                    const uint64_t gaps = ~bits >> shift;
                    if (gaps == 0)
                        break;
                    shift += std::countr_zero(gaps);
                    runs_.emplace_back(clip_.left + open, clip_.left + base + shift);
                    open = -1;
                } else {
                    const uint64_t ones = bits >> shift;
                    if (ones == 0)
                        break;
                    shift += std::countr_zero(ones);
                    open = base + shift;
                }
            }
        }
        if (open >= 0)
            runs_.emplace_back(clip_.left + open, clip_.left + static_cast<int32_t>((foreign.high() + 1) * 64));
    }

    const RasterRect clip_;
    const std::vector<uint8_t>& isNet_;
    std::vector<uint32_t>& rowFirstRun_;
    std::vector<std::pair<int32_t, int32_t>>& runs_;
    std::array<RowBits, ScanlineFill::kBandRows> foreign_;
    std::array<RowBits, ScanlineFill::kBandRows> net_;
    size_t started_ = 0;
};

} // namespace

void ObstacleRaster::addForeign(const std::vector<Region>& parts) { add(parts, false); }

void ObstacleRaster::addNet(const std::vector<Region>& parts) { add(parts, true); }

void ObstacleRaster::add(const std::vector<Region>& parts, bool net)
{
    // Each part is filled on its own and the pixels of all parts together
    // make the object; the parts are mostly convex, which fill fastest.
    for (const Region& part : parts) {
        if (part.convex())
            shapes_.addConvexPolygon(part.polygons()[0]);
        else
            shapes_.addShape(part.polygons());
        isNet_.push_back(net ? 1 : 0);
    }
}

void ObstacleRaster::build(const RasterRect& clip)
{
    clip_ = clip;
    runs_.clear();
    const int32_t rows = std::max(clip.bottom - clip.top, 0);
    rowFirstRun_.assign(static_cast<size_t>(rows) + 1, 0);
    if (rows == 0 || clip.right <= clip.left)
        return;
    RunCollector collector(clip, isNet_, rowFirstRun_, runs_);
    shapes_.sweep(clip, collector);
    collector.finish();
    // Only the runs are read from here on.
    shapes_ = ScanlineFill();
    isNet_.clear();
}

ObstacleRaster ObstacleRaster::without(const ObstacleRaster& all, const ObstacleRaster& net)
{
    ObstacleRaster result;
    result.clip_ = all.clip_;
    result.rowFirstRun_.assign(all.rowFirstRun_.size(), 0);
    if (net.runs_.empty()) {
        result.rowFirstRun_ = all.rowFirstRun_;
        result.runs_ = all.runs_;
        return result;
    }
    result.runs_.reserve(all.runs_.size());
    const int32_t rows = std::max(all.clip_.bottom - all.clip_.top, 0);
    for (int32_t r = 0; r < rows; ++r) {
        result.rowFirstRun_[static_cast<size_t>(r)] = static_cast<uint32_t>(result.runs_.size());
        auto [cut, cutEnd] = net.rowRuns(all.clip_.top + r);
        const Run* run = all.runs_.data() + all.rowFirstRun_[static_cast<size_t>(r)];
        const Run* runEnd = all.runs_.data() + all.rowFirstRun_[static_cast<size_t>(r) + 1];
        for (; run != runEnd; ++run) {
            int32_t from = run->first;
            while (cut != cutEnd && cut->second <= from)
                ++cut;
            // Runs of a row are sorted and apart, so each cut is passed once.
            for (const Run* c = cut; c != cutEnd && c->first < run->second; ++c) {
                if (c->first > from)
                    result.runs_.emplace_back(from, c->first);
                from = std::max(from, c->second);
            }
            if (from < run->second)
                result.runs_.emplace_back(from, run->second);
        }
    }
    result.rowFirstRun_[static_cast<size_t>(rows)] = static_cast<uint32_t>(result.runs_.size());
    return result;
}

std::pair<const ObstacleRaster::Run*, const ObstacleRaster::Run*> ObstacleRaster::rowRuns(int32_t py) const
{
    if (py < clip_.top || py >= clip_.bottom || runs_.empty())
        return {nullptr, nullptr};
    const size_t r = static_cast<size_t>(py - clip_.top);
    return {runs_.data() + rowFirstRun_[r], runs_.data() + rowFirstRun_[r + 1]};
}

bool ObstacleRaster::covers(int32_t px, int32_t py) const
{
    return meets(py, px, px + 1);
}

bool ObstacleRaster::overlaps(const std::vector<Polygon>& polygons) const
{
    if (runs_.empty())
        return false;
    class Probe : public ScanlineFill::Sink {
    public:
        explicit Probe(const ObstacleRaster& raster) : raster_(raster) {}
        void span(uint32_t, int32_t row, int32_t begin, int32_t end) override
        {
            hit = hit || raster_.meets(row, begin, end);
        }
        void rowsDone(int32_t, int32_t) override {}
        bool hit = false;

    private:
        const ObstacleRaster& raster_;
    } probe(*this);
    ScanlineFill fill;
    fill.addShape(polygons);
    fill.sweep(clip_, probe);
    return probe.hit;
}

bool ObstacleRaster::meets(int32_t py, int32_t begin, int32_t end) const
{
    auto [first, last] = rowRuns(py);
    // The first run ending after the span's start decides.
    const Run* it = std::upper_bound(first, last, begin, [](int32_t x, const Run& run) { return x < run.second; });
    return it != last && it->first < end;
}

CellTouchMap ObstacleRaster::touchedCells(int32_t cellPixels, int columns, int rows) const
{
    CellTouchMap map(columns, rows);
    const int64_t widthPixels = int64_t{columns} * cellPixels;
    const int64_t heightPixels = int64_t{rows} * cellPixels;
    const int32_t top = std::max<int32_t>(clip_.top, 0);
    const int32_t bottom = static_cast<int32_t>(std::min<int64_t>(clip_.bottom, heightPixels));
    for (int32_t py = top; py < bottom; ++py) {
        auto [first, last] = rowRuns(py);
        const int cy = py / cellPixels;
        for (const Run* run = first; run != last; ++run) {
            const int64_t begin = std::max<int64_t>(run->first, 0);
            const int64_t end = std::min<int64_t>(run->second, widthPixels);
            if (begin >= end)
                continue;
            for (int64_t cx = begin / cellPixels; cx <= (end - 1) / cellPixels; ++cx)
                map.mark(static_cast<int>(cx), cy);
        }
    }
    return map;
}

} // namespace kestrel
