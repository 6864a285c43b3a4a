#include "route/Wave.h"

#include <gtest/gtest.h>

#include <random>

using namespace kestrel;

namespace {

// The wave exactly as it is written down: every pass visits every ring,
// every sweep visits every cell of the ring. The router skips work that
// cannot change anything and must end with the same grid.
int32_t plainWaveValue(const RouteGrid& g, int x, int y)
{
    int32_t best = -1;
    const int d[8][3] = {{-1, 0, 1}, {-1, -1, 2}, {0, -1, 1}, {1, -1, 2}, {1, 0, 1}, {1, 1, 2}, {0, 1, 1}, {-1, 1, 2}};
    for (const auto& n : d) {
        const int32_t v = g.at(x + n[0], y + n[1]);
        if (v >= 0 && (best < 0 || v + n[2] < best))
            best = v + n[2];
    }
    return best;
}

bool plainExpandWave(RouteGrid& g, const CellRect& box, CellPos s, CellPos t, WaveArea area, const CellTouchMap& m)
{
    ClassifyCells(g, box, m);
    g.at(t) = Cell::Free;
    g.at(s) = 0;
    const int rings = std::max({area.columns - s.x, s.x, area.rows - s.y, s.y});
    for (int pass = 0; pass < 80; ++pass) {
        for (int r = 1; r <= rings; ++r) {
            std::vector<CellPos> ring;
            for (int x = s.x - r; x <= s.x + r; ++x)
                ring.push_back({x, s.y - r});
            for (int y = s.y - r + 1; y <= s.y + r; ++y)
                ring.push_back({s.x + r, y});
            for (int x = s.x + r - 1; x >= s.x - r; --x)
                ring.push_back({x, s.y + r});
            for (int y = s.y + r - 1; y >= s.y - r + 1; --y)
                ring.push_back({s.x - r, y});
            std::erase_if(ring, [&](CellPos c) {
                return c.x < 1 || c.x >= area.columns || c.y < 1 || c.y >= area.rows;
            });
            for (size_t sweep = 0; sweep <= ring.size(); ++sweep) {
                bool valued = false;
                for (const CellPos& c : ring)
                    if (g.at(c) == Cell::Free) {
                        g.at(c) = plainWaveValue(g, c.x, c.y);
                        valued |= g.at(c) >= 0;
                    }
                if (!valued)
                    break;
            }
            if (g.at(t) != Cell::Free)
                return true;
        }
    }
    return false;
}

CellTouchMap touchAt(std::initializer_list<CellPos> cells, int columns = 40, int rows = 40)
{
    CellTouchMap m(columns, rows);
    for (const CellPos& c : cells)
        m.mark(c.x, c.y);
    return m;
}

} // namespace

TEST(RouteGrid, CellArithmetic)
{
    // w + 2a rounded to tens (ties to even), never below 40.
    const struct {
        int32_t w, a, cell;
    } sizes[] = {{40, 20, 80}, {10, 10, 40}, {25, 0, 40}, {45, 20, 80}, {55, 20, 100}, {990, 990, 2970}};
    for (const auto& c : sizes)
        EXPECT_EQ(CellSize(c.w, c.a), c.cell) << c.w << " " << c.a;

    const struct {
        Point p;
        CellPos cell;
    } points[] = {{{1000, -1000}, {12, 12}}, {{1010, -990}, {12, 12}}, {{2030, -1010}, {25, 12}},
                  {{1960, -1000}, {24, 12}} /* 24.5 rounds to even */, {{40, -40}, {0, 0}}, {{-100, 100}, {-2, -2}}};
    for (const auto& c : points)
        EXPECT_EQ(CellOfPoint(c.p, 80), c.cell) << c.p.x << "," << c.p.y;
    EXPECT_EQ(CellCentre({12, 12}, 80), (Point{1000, -1000}));
    EXPECT_EQ(CellCentre({0, 3}, 40), (Point{20, -140}));

    EXPECT_EQ(GridExtent(16000, 80), 199);
    EXPECT_EQ(GridExtent(30000, 40), 749);
    // Files may carry any size; the wave must stay inside the 801 cells.
    EXPECT_EQ(GridExtent(100000000, 40), 800);
    EXPECT_EQ(GridExtent(-5000, 80), 0);
}

TEST(RouteWave, RingOrderAndClipping)
{
    std::vector<CellPos> ring;
    ListRing({5, 5}, 1, {20, 20}, ring);
    const std::vector<CellPos> full = {{4, 4}, {5, 4}, {6, 4}, {6, 5}, {6, 6}, {5, 6}, {4, 6}, {4, 5}};
    EXPECT_EQ(ring, full);

    // Around (2, 2) at distance 2 the top row (y = 0) and left column (x = 0)
    // lie outside 1 <= x < W, 1 <= y < H; so does x = 4 when W = 4.
    ListRing({2, 2}, 2, {4, 10}, ring);
    const std::vector<CellPos> clipped = {{3, 4}, {2, 4}, {1, 4}};
    EXPECT_EQ(ring, clipped);
}

TEST(RouteWave, ClassifiesBlocksCoarseToFine)
{
    RouteGrid g;
    // One copper cell inside the box: only that cell ends up blocked.
    ClassifyCells(g, {0, 0, 9, 9}, touchAt({{5, 3}}));
    EXPECT_EQ(g.at(5, 3), Cell::Blocked);
    for (CellPos c : {CellPos{5, 2}, {5, 0}, {4, 3}, {6, 3}, {9, 9}, {0, 0}})
        EXPECT_EQ(g.at(c), Cell::Free) << c.x << "," << c.y;

    // Copper just outside a box whose edges are not multiples of ten: whole
    // free blocks reach past the box, touched blocks past it stay unrefined.
    RouteGrid h;
    ClassifyCells(h, {3, 2, 12, 7}, touchAt({{13, 4}}));
    const struct {
        CellPos c;
        int32_t v;
    } expected[] = {{{0, 0}, Cell::Free},    {{9, 9}, Cell::Free},    {{12, 4}, Cell::Free},
                    {{12, 5}, Cell::Free},   {{13, 3}, Cell::Free},   {{14, 6}, Cell::Free},
                    {{13, 4}, Cell::Refine}, {{13, 5}, Cell::Refine}, {{14, 4}, Cell::Refine},
                    {{16, 2}, Cell::Refine}, {{10, 1}, Cell::Refine}, {{20, 0}, Cell::Unclassified},
                    {{0, 10}, Cell::Unclassified}};
    for (const auto& e : expected)
        EXPECT_EQ(h.at(e.c), e.v) << e.c.x << "," << e.c.y;
}

TEST(RouteWave, DistancesInFreeSpaceAndAroundABlock)
{
    RouteGrid g;
    const WaveArea area{40, 40};
    ASSERT_TRUE(ExpandWave(g, {0, 0, 30, 30}, {12, 12}, {25, 12}, area, touchAt({{18, 12}})));
    const struct {
        CellPos c;
        int32_t v;
    } expected[] = {
        {{12, 12}, 0},  {{13, 12}, 1},  {{13, 13}, 2},  {{14, 13}, 3}, // a diagonal costs two
        {{18, 11}, 7},  {{17, 12}, 5},  {{19, 12}, 9},  {{24, 12}, 14}, // two more behind the block
        {{24, 11}, 13}, {{25, 12}, 15}, {{18, 12}, Cell::Blocked},
        {{26, 12}, Cell::Free}, // the ring beyond the target is not reached yet
    };
    for (const auto& e : expected)
        EXPECT_EQ(g.at(e.c), e.v) << e.c.x << "," << e.c.y;
}

TEST(RouteWave, TargetOutsideTheWaveAreaIsNeverReached)
{
    for (CellPos target : {CellPos{0, 5}, CellPos{5, 0}, CellPos{20, 5}, CellPos{5, 15}}) {
        RouteGrid g;
        EXPECT_FALSE(ExpandWave(g, {0, 0, 20, 15}, {5, 5}, target, {20, 15}, touchAt({})))
            << target.x << "," << target.y;
    }
    // A start cell there is fine: it holds 0 whatever the area says.
    RouteGrid g;
    EXPECT_TRUE(ExpandWave(g, {0, 0, 20, 15}, {0, 5}, {5, 5}, {20, 15}, touchAt({})));
    EXPECT_EQ(g.at(5, 5), 5);
}

TEST(RouteWave, SameGridAsThePlainAlgorithm)
{
    std::mt19937 rng(7);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 300; ++round) {
        const WaveArea area{uniform(3, 45), uniform(3, 45)};
        CellTouchMap copper(60, 60);
        const int density = uniform(0, 55);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                if (uniform(0, 99) < density)
                    copper.mark(x, y);
        const CellPos s{uniform(0, area.columns), uniform(0, area.rows)};
        const CellPos t{uniform(0, area.columns), uniform(0, area.rows)};
        const CellRect window{uniform(0, 3), uniform(0, 3), area.columns, area.rows};

        RouteGrid fast, plain;
        bool fastReached = false, plainReached = false;
        // Growing boxes, so that classification and distances carry over.
        for (int grow = 0; grow < 4 && !fastReached; ++grow) {
            const CellRect box{std::max(window.left, std::min(s.x, t.x) - 3 * grow),
                               std::max(window.top, std::min(s.y, t.y) - 3 * grow),
                               std::min(window.right, std::max(s.x, t.x) + 3 * grow),
                               std::min(window.bottom, std::max(s.y, t.y) + 3 * grow)};
            fastReached = ExpandWave(fast, box, s, t, area, copper);
            plainReached = plainExpandWave(plain, box, s, t, area, copper);
            ASSERT_EQ(fastReached, plainReached) << "round " << round;
        }
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                ASSERT_EQ(fast.at(x, y), plain.at(x, y)) << "round " << round << " cell " << x << "," << y;
    }
}
