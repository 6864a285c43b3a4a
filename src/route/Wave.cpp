#include "route/Wave.h"

#include <functional>
#include <queue>

namespace kestrel {

namespace {

constexpr int kPasses = 80;
constexpr int kBlockSizes[] = {10, 5, 2, 1};

// Sweeps the free cells of one ring until a sweep gives no cell a value.
// Only a cell next to a cell that received a value since its last look can
// change, so later sweeps visit just those cells, still in ring order; the
// cells and values are the same as sweeping the whole ring every time.
class RingSweeper {
public:
    bool sweep(RouteGrid& grid, const std::vector<CellPos>& ring)
    {
        free_.clear();
        for (const CellPos& c : ring)
            if (grid.at(c) == Cell::Free)
                free_.push_back(c);
        const int n = static_cast<int>(free_.size());
        if (n == 0)
            return false;
        nextMark_.assign(static_cast<size_t>(n), 0);
        currentMark_.assign(static_cast<size_t>(n), 0);
        next_.clear();

        bool changed = false;
        // First sweep: every free cell in order.
        firstSweep_ = true;
        for (int j = 0; j < n; ++j)
            changed |= visit(grid, j, n);
        firstSweep_ = false;
        while (!next_.empty()) {
            std::swap(currentMark_, nextMark_);
            std::fill(nextMark_.begin(), nextMark_.end(), 0);
            for (int j : next_)
                current_.push(j);
            next_.clear();
            while (!current_.empty()) {
                const int j = current_.top();
                current_.pop();
                currentMark_[static_cast<size_t>(j)] = 0;
                changed |= visit(grid, j, n);
            }
        }
        return changed;
    }

private:
    bool visit(RouteGrid& grid, int j, int n)
    {
        const CellPos c = free_[static_cast<size_t>(j)];
        if (grid.at(c) != Cell::Free)
            return false;
        const int32_t v = WaveValue(grid, c.x, c.y);
        if (v < 0)
            return false;
        grid.at(c) = v;
        // Ring neighbours of a cell are at most two places away in ring order
        // (around a corner), the ring closing on itself.
        for (int d : {-2, -1, 1, 2}) {
            const int q = ((j + d) % n + n) % n;
            if (q == j || grid.at(free_[static_cast<size_t>(q)]) != Cell::Free)
                continue;
            if (q > j) {
                if (!firstSweep_ && !currentMark_[static_cast<size_t>(q)]) {
                    currentMark_[static_cast<size_t>(q)] = 1;
                    current_.push(q);
                }
            } else if (!nextMark_[static_cast<size_t>(q)]) {
                nextMark_[static_cast<size_t>(q)] = 1;
                next_.push_back(q);
            }
        }
        return true;
    }

    std::vector<CellPos> free_;
    bool firstSweep_ = false; // the first sweep visits every cell anyway
    std::vector<char> currentMark_;
    std::vector<char> nextMark_;
    std::priority_queue<int, std::vector<int>, std::greater<int>> current_;
    std::vector<int> next_;
};

} // namespace

void ClassifyCells(RouteGrid& grid, const CellRect& box, const CellTouchMap& obstacles)
{
    for (int s : kBlockSizes) {
        for (int bx = box.left / s; bx <= box.right / s; ++bx) {
            for (int by = box.top / s; by <= box.bottom / s; ++by) {
                const int x0 = s * bx;
                const int y0 = s * by;
                if (!RouteGrid::contains(x0, y0) || grid.at(x0, y0) > Cell::Unclassified)
                    continue;
                int32_t value = Cell::Free;
                if (obstacles.anyInBlock(x0, y0, s))
                    value = s == 1 ? Cell::Blocked : Cell::Refine;
                // A block reaching past the last row or column keeps to the
                // array. A block left to refine by an earlier, smaller box
                // may hold cells that box classified, and given distances:
                // they keep them, or a distance would lose the neighbour it
                // came from and the trace back could circle for ever.
                for (int y = y0; y < std::min(y0 + s, RouteGrid::kCells); ++y)
                    for (int x = x0; x < std::min(x0 + s, RouteGrid::kCells); ++x)
                        if (grid.at(x, y) <= Cell::Unclassified)
                            grid.at(x, y) = value;
            }
        }
    }
}

int32_t WaveValue(const RouteGrid& grid, int x, int y)
{
    int32_t best = -1;
    auto consider = [&](int nx, int ny, int32_t step) {
        const int32_t v = grid.at(nx, ny);
        if (v >= 0 && (best < 0 || v + step < best))
            best = v + step;
    };
    consider(x - 1, y, 1);
    consider(x - 1, y - 1, 2);
    consider(x, y - 1, 1);
    consider(x + 1, y - 1, 2);
    consider(x + 1, y, 1);
    consider(x + 1, y + 1, 2);
    consider(x, y + 1, 1);
    consider(x - 1, y + 1, 2);
    return best;
}

void ListRing(CellPos s, int r, WaveArea area, std::vector<CellPos>& out)
{
    out.clear();
    const int minX = 1, maxX = area.columns - 1, minY = 1, maxY = area.rows - 1;
    auto rowInArea = [&](int y) { return y >= minY && y <= maxY; };
    auto columnInArea = [&](int x) { return x >= minX && x <= maxX; };
    if (rowInArea(s.y - r))
        for (int x = std::max(s.x - r, minX); x <= std::min(s.x + r, maxX); ++x)
            out.push_back({x, s.y - r});
    if (columnInArea(s.x + r))
        for (int y = std::max(s.y - r + 1, minY); y <= std::min(s.y + r, maxY); ++y)
            out.push_back({s.x + r, y});
    if (rowInArea(s.y + r))
        for (int x = std::min(s.x + r - 1, maxX); x >= std::max(s.x - r, minX); --x)
            out.push_back({x, s.y + r});
    if (columnInArea(s.x - r))
        for (int y = std::min(s.y + r - 1, maxY); y >= std::max(s.y - r + 1, minY); --y)
            out.push_back({s.x - r, y});
}

bool WaveReaches(CellPos c, WaveArea area)
{
    return c.x >= 0 && c.y >= 0 && c.x <= area.columns && c.y <= area.rows;
}

bool ExpandWave(RouteGrid& grid, const CellRect& box, CellPos start, CellPos target, WaveArea area,
                const CellTouchMap& obstacles)
{
    // A target in the outermost column or row, which the wave does not
    // enter, takes its distance from the cells beside it, as a start cell
    // there gives its own to them.
    const bool targetOutside = target.x < 1 || target.y < 1 || target.x >= area.columns || target.y >= area.rows;
    const auto reachTarget = [&] {
        if (!targetOutside || grid.at(target) != Cell::Free)
            return;
        int32_t best = -1;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const CellPos n{target.x + dx, target.y + dy};
                if ((dx == 0 && dy == 0) || !RouteGrid::contains(n))
                    continue;
                const int32_t v = grid.at(n), step = dx != 0 && dy != 0 ? 2 : 1;
                if (v >= 0 && (best < 0 || v + step < best))
                    best = v + step;
            }
        }
        if (best >= 0)
            grid.at(target) = best;
    };
    ClassifyCells(grid, box, obstacles);
    grid.at(target) = Cell::Free;
    grid.at(start) = 0;

    const int rings = std::max({area.columns - start.x, start.x, area.rows - start.y, start.y});
    if (rings < 1)
        return false;

    // A ring only changes when a neighbouring ring changed after it was last
    // swept; all other rings would sweep without result and are passed over.
    // A pass without any change leaves every later pass without one too.
    std::vector<int64_t> lastChange(static_cast<size_t>(rings) + 2, 0);
    std::vector<int64_t> lastSwept(static_cast<size_t>(rings) + 2, -1);
    int64_t tick = 1;
    lastChange[0] = tick;

    RingSweeper sweeper;
    std::vector<CellPos> ring;
    for (int pass = 0; pass < kPasses; ++pass) {
        bool passChanged = false;
        for (int r = 1; r <= rings; ++r) {
            const size_t i = static_cast<size_t>(r);
            const bool dirty = lastSwept[i] < 0 || lastChange[i - 1] > lastSwept[i] || lastChange[i + 1] > lastSwept[i];
            if (dirty) {
                ListRing(start, r, area, ring);
                if (sweeper.sweep(grid, ring)) {
                    lastChange[i] = ++tick;
                    passChanged = true;
                }
                lastSwept[i] = ++tick;
            }
            reachTarget();
            if (grid.at(target) != Cell::Free)
                return true;
        }
        if (!passChanged)
            break;
    }
    return false;
}

} // namespace kestrel
