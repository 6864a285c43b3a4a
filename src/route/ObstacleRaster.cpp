#include "route/ObstacleRaster.h"

#include <algorithm>
#include <bit>

namespace kestrel {

namespace {

// One raster row as bits, remembering which words were written so that
// clearing and reading cost what was drawn.
class RowBits {
public:
    explicit RowBits(int32_t width) : words_(static_cast<size_t>(width) / 64 + 1, 0) {}

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

} // namespace

void ObstacleRaster::addForeign(const std::vector<std::vector<Point>>& polygons)
{
    shapes_.addShape(polygons);
    isNet_.push_back(false);
}

void ObstacleRaster::addNet(const std::vector<std::vector<Point>>& polygons)
{
    shapes_.addShape(polygons);
    isNet_.push_back(true);
}

void ObstacleRaster::build(const PixelRect& clip)
{
    clip_ = clip;
    runs_.clear();
    const int32_t rows = std::max(clip.bottom - clip.top, 0);
    const int32_t width = std::max(clip.right - clip.left, 0);
    rowFirstRun_.assign(static_cast<size_t>(rows) + 1, 0);
    if (rows == 0 || width == 0)
        return;

    RowBits foreign(width);
    RowBits net(width);
    std::vector<PixelSpan> spans;
    int32_t row = 0;
    int32_t filledRows = 0; // rows whose first run index is set
    shapes_.startSweep(clip);
    while (shapes_.nextRow(row, spans)) {
        const int32_t r = row - clip.top;
        for (; filledRows <= r; ++filledRows)
            rowFirstRun_[static_cast<size_t>(filledRows)] = static_cast<uint32_t>(runs_.size());
        for (const PixelSpan& s : spans)
            (isNet_[s.shape] ? net : foreign).set(s.begin - clip.left, s.end - clip.left);
        if (foreign.touched()) {
            int32_t open = -1;
            for (size_t i = foreign.low(); i <= foreign.high(); ++i) {
                const uint64_t bits = foreign.word(i) & ~net.word(i);
                const int32_t base = static_cast<int32_t>(i * 64);
                int shift = 0;
                while (shift < 64) {
                    if (open >= 0) {
                        const uint64_t gaps = ~bits >> shift;
                        if (gaps == 0)
                            break;
                        shift += std::countr_zero(gaps);
                        runs_.push_back({clip.left + open, clip.left + base + shift});
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
                runs_.push_back({clip.left + open, clip.left + static_cast<int32_t>((foreign.high() + 1) * 64)});
        }
        foreign.clear();
        net.clear();
    }
    for (; filledRows <= rows; ++filledRows)
        rowFirstRun_[static_cast<size_t>(filledRows)] = static_cast<uint32_t>(runs_.size());
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
    auto [first, last] = rowRuns(py);
    const Run* it = std::upper_bound(first, last, px, [](int32_t x, const Run& run) { return x < run.end; });
    return it != last && it->begin <= px;
}

bool ObstacleRaster::overlaps(const std::vector<std::vector<Point>>& polygons) const
{
    if (runs_.empty())
        return false;
    ScanlineFill probe;
    probe.addShape(polygons);
    probe.startSweep(clip_);
    std::vector<PixelSpan> spans;
    int32_t row = 0;
    while (probe.nextRow(row, spans)) {
        auto [first, last] = rowRuns(row);
        for (const PixelSpan& s : spans) {
            // The first run ending after the span's start decides.
            const Run* it =
                std::upper_bound(first, last, s.begin, [](int32_t x, const Run& run) { return x < run.end; });
            if (it != last && it->begin < s.end)
                return true;
        }
    }
    return false;
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
            const int64_t begin = std::max<int64_t>(run->begin, 0);
            const int64_t end = std::min<int64_t>(run->end, widthPixels);
            if (begin >= end)
                continue;
            for (int64_t cx = begin / cellPixels; cx <= (end - 1) / cellPixels; ++cx)
                map.mark(static_cast<int>(cx), cy);
        }
    }
    return map;
}

} // namespace kestrel
