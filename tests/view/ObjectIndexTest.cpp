#include "geometry/Geometry.h"
#include "view/ObjectIndex.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace kestrel;

namespace {

// Small objects, long lines, tracks wandering over several cells and macro
// layer objects, spread over a 20000-unit board.
void fillRandomBoard(ObjectList& list, uint32_t seed)
{
    std::mt19937 rng(seed);
    auto uniform = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    auto somewhere = [&] { return Point{uniform(0, 20000), uniform(-20000, 0)}; };
    for (int i = 0; i < 600; ++i) {
        const uint8_t layer = static_cast<uint8_t>(uniform(1, 6));
        switch (i % 4) {
        case 0: list.append(makePad(somewhere(), uniform(30, 200), 1, layer, 10)); break;
        case 1: list.append(makeLine(somewhere(), somewhere(), uniform(10, 50), layer)); break;
        case 2: {
            LayoutObject t = makeTrack(uniform(10, 60), layer);
            Point p = somewhere();
            for (int k = uniform(2, 12); k > 0; --k, p.x += uniform(-900, 900), p.y += uniform(-900, 900))
                t.Points.push_back(p);
            list.append(std::move(t));
            break;
        }
        default: list.append(makeText(somewhere(), "U1", 0, 150, 0, 0, layer)); break;
        }
    }
}

} // namespace

// The pads with bands it keeps are held against the list by the board
// painter's IndexAndBandsGiveTheSameImage.
TEST(ObjectIndex, FindsExactlyTheObjectsABruteForceScanFinds)
{
    ObjectList list;
    fillRandomBoard(list, 7);
    ObjectIndex index;
    index.build(list);
    ASSERT_EQ(index.size(), list.size());
    std::mt19937 rng(11);
    auto uniform = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    std::vector<uint32_t> found{1, 2}; // what a query finds replaces what was there
    for (int q = 0; q < 300; ++q) {
        // From tiny rectangles to ones larger than the board, some off it.
        const int32_t size = q % 3 == 0 ? uniform(1, 200) : q % 3 == 1 ? uniform(200, 5000) : uniform(5000, 40000);
        const Point a{uniform(-5000, 25000), uniform(-25000, 5000)};
        const Rect clip{a.x, a.y, a.x + size, a.y + size};
        std::vector<uint32_t> expected;
        for (uint32_t i = 0; i < list.size(); ++i)
            if (list[i].Layer >= 5 || BoundingRect(list[i]).overlaps(clip))
                expected.push_back(i);
        index.query(clip, found);
        ASSERT_EQ(found, expected) << "clip " << clip.left << "," << clip.top << " size " << size;
        // The unordered form finds the same objects, some perhaps twice.
        index.queryUnordered(clip, found);
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        ASSERT_EQ(found, expected) << "unordered, clip " << clip.left << "," << clip.top << " size " << size;
    }
}
