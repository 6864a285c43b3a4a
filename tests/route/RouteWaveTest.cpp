#include "route/Wave.h"

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

CellTouchMap touchAt(std::initializer_list<CellPos> cells)
{
    CellTouchMap m(40, 40);
    for (const CellPos& c : cells)
        m.mark(c.x, c.y);
    return m;
}

void expectCells(const RouteGrid& g, std::initializer_list<std::pair<CellPos, int32_t>> expected)
{
    for (const auto& [c, v] : expected)
        EXPECT_EQ(g.at(c), v) << c.x << "," << c.y;
}

} // namespace

TEST(RouteGrid, CellArithmetic)
{
    // w + 2a rounded to tens (ties to even), never below 40.
    for (auto [w, a, cell] : {std::tuple{25, 0, 40}, {45, 20, 80}, {55, 20, 100}})
        EXPECT_EQ(CellSize(w, a), cell) << w << " " << a;
    EXPECT_EQ(CellOfPoint({1960, -1000}, 80), (CellPos{24, 12})); // 24.5 rounds to even
    EXPECT_EQ(CellOfPoint({-100, 100}, 80), (CellPos{-2, -2}));
    EXPECT_EQ(CellCentre({0, 3}, 40), (Point{20, -140}));
    EXPECT_EQ(GridExtent(16000, 80), 199);
    EXPECT_EQ(GridExtent(100000000, 40), 800); // the wave must stay inside the 801 cells
    EXPECT_EQ(GridExtent(-5000, 80), 0);
}

TEST(RouteWave, ClassifiesBlocksCoarseToFine)
{
    // One copper cell inside the box: only that cell ends up blocked.
    RouteGrid g;
    ClassifyCells(g, {0, 0, 9, 9}, touchAt({{5, 3}}));
    expectCells(g, {{{5, 3}, Cell::Blocked}, {{5, 2}, Cell::Free}, {{4, 3}, Cell::Free}, {{9, 9}, Cell::Free}});
    // Copper just outside a box whose edges are not multiples of ten: whole
    // free blocks reach past the box, touched blocks past it stay unrefined.
    RouteGrid h;
    ClassifyCells(h, {3, 2, 12, 7}, touchAt({{13, 4}}));
    expectCells(h, {{{0, 0}, Cell::Free}, {{12, 4}, Cell::Free}, {{13, 3}, Cell::Free}, {{13, 4}, Cell::Refine},
                    {{16, 2}, Cell::Refine}, {{20, 0}, Cell::Unclassified}, {{0, 10}, Cell::Unclassified}});
}

TEST(RouteWave, DistancesInFreeSpaceAndAroundABlock)
{
    RouteGrid g;
    // A first box short of the target; the grown one goes on from its distances.
    ASSERT_FALSE(ExpandWave(g, {10, 10, 15, 15}, {12, 12}, {25, 12}, {40, 40}, touchAt({{18, 12}})));
    ASSERT_TRUE(ExpandWave(g, {0, 0, 30, 30}, {12, 12}, {25, 12}, {40, 40}, touchAt({{18, 12}})));
    expectCells(g, {{{12, 12}, 0}, {{13, 12}, 1}, {{13, 13}, 2}, {{14, 13}, 3}, // a diagonal costs two
                    {{18, 11}, 7}, {{17, 12}, 5}, {{19, 12}, 9}, {{24, 12}, 14}, // two more behind the block
                    {{24, 11}, 13}, {{25, 12}, 15}, {{18, 12}, Cell::Blocked},
                    {{26, 12}, Cell::Free}}); // the ring beyond the target is not reached yet
}

TEST(RouteWave, RingIsSweptAgainUntilNothingChanges)
{
    // Ring 1 around (12, 12) is blocked but for (13, 13). The first sweep of
    // ring 2 values it from the right column round to (10, 11); the cells
    // before them in ring order get theirs on the next sweep, wrapping round
    // from (10, 11) to (10, 10), and (14, 11) last from below.
    RouteGrid g;
    ASSERT_TRUE(ExpandWave(g, {0, 0, 30, 30}, {12, 12}, {14, 10}, {40, 40},
                           touchAt({{11, 11}, {12, 11}, {13, 11}, {13, 12}, {12, 13}, {11, 13}, {11, 12}})));
    expectCells(g, {{{13, 13}, 2}, {{14, 12}, 4}, {{14, 13}, 3}, {{11, 14}, 5}, {{10, 11}, 9}, {{10, 10}, 10},
                    {{12, 10}, 12}, {{14, 10}, 14}, {{14, 11}, 5}});
}
