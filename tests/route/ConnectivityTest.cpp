#include "route/Connectivity.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

using namespace kestrel;
using namespace kestrel::test;

TEST(FloodConnect, ConnectionRule)
{
    const struct {
        const char* name;
        void (*build)(ObjectList&);
        long start;
        std::vector<size_t> expected;
    } cases[] = {
        {"one-sided partner is no via",
         [](ObjectList& l) {
             LayoutObject& a = addPad(l, {0, 0}, 70, 1, 1);
             a.Partner = &addPad(l, {0, 0}, 70, 1, 3);
         },
         0, {0}},
        {"track ending in a pad's hole is joined",
         [](ObjectList& l) { addPad(l, {0, 0}, 100, 1, 1, 60), addTrack(l, {{0, 0}, {0, 10}}, 20); }, 1, {0, 1}},
        {"a silk start selects nothing",
         [](ObjectList& l) { l.append(makeLine({0, 0}, {1000, 0}, 100, 2)), addPad(l, {0, 0}, 100, 1, 2); }, 0, {}},
        {"index outside the list", [](ObjectList& l) { addPad(l, {0, 0}, 100); }, 5, {}},
        // A self-crossing star is copper only where it is drawn and written:
        // its middle is a hole, and a pad, a track end or a zone there stays
        // apart; a pad on a point is joined.
        {"the middle of a star zone is no copper",
         [](ObjectList& l) {
             l.append(makeZone(0, 1)).Points = {{0, 1000}, {588, -809}, {-951, 309}, {951, 309}, {-588, -809}};
             addPad(l, {0, 0}, 100), addTrack(l, {{-100, 100}, {100, 100}}, 20);
             l.append(makeZone(0, 1)).Points = {{-50, -50}, {50, -50}, {0, 50}};
             addPad(l, {0, 900}, 50);
         },
         0, {0, 4}},
    };
    for (const auto& c : cases) {
        ObjectList list;
        c.build(list);
        EXPECT_EQ(connectedObjects(list, c.start), c.expected) << c.name;
    }
}

TEST(FloodConnect, LongChainsOnBothLayers)
{
    // A meander of 40,000 segments on each copper layer, layer 3's rows
    // halfway between layer 1's: deep enough that recursion would overflow
    // the stack, large enough for both layers' grids to be built side by
    // side and for a second thread to flood one layer while the caller
    // floods the other. Vias join the layers at layer 1's segments 5,000
    // and 35,000; a line on each layer lies on the other layer's rows.
    constexpr size_t kPerLayer = 40000;
    ObjectList list;
    auto start = [](size_t k, int32_t dy) {
        const int32_t row = static_cast<int32_t>(k / 1000), col = static_cast<int32_t>(k % 1000);
        return Point{row % 2 == 0 ? col * 100 : (999 - col) * 100, row * 100 + dy};
    };
    for (const auto& [layer, dy] : {std::pair<uint8_t, int32_t>{1, 0}, {3, 50}})
        for (size_t k = 0; k < kPerLayer; ++k) {
            const Point a = start(k, dy);
            const int32_t step = (k / 1000) % 2 == 0 ? 100 : -100;
            list.append(makeLine(a, k % 1000 == 999 ? Point{a.x, a.y + 100} : Point{a.x + step, a.y}, 40, layer));
        }
    addVia(list, start(5000, 0));
    addVia(list, start(35000, 0));
    const size_t strayOnLayer3 = list.size();
    list.append(makeLine({1000, 200}, {5000, 200}, 40, 3));
    list.append(makeLine({1000, 250}, {5000, 250}, 40, 1));

    CopperMap map(list);
    // Segment 20,000 of each layer marked beforehand cuts both chains: only
    // the via at 5,000 joins the halves the flood can reach.
    std::vector<uint8_t> reached(list.size(), 0);
    reached[20000] = reached[kPerLayer + 20000] = 1;
    std::vector<size_t> found = FloodConnect(map, 0, reached);
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.front(), 0u);
    std::sort(found.begin(), found.end());
    std::vector<size_t> expected{2 * kPerLayer, 2 * kPerLayer + 1}; // the vias
    for (size_t k = 0; k < 20000; ++k)
        expected.insert(expected.end(), {k, kPerLayer + k});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
    for (size_t i = 0; i < list.size(); ++i)
        ASSERT_EQ(reached[i], i == 20000 || i == kPerLayer + 20000 || std::binary_search(found.begin(), found.end(), i))
            << i;

    // Without the marks everything but the two lines is one piece.
    reached.assign(list.size(), 0);
    found = FloodConnect(map, 0, reached);
    EXPECT_EQ(found.size(), 2 * kPerLayer + 4);
    EXPECT_EQ(connectedObjects(list, static_cast<long>(strayOnLayer3)), std::vector<size_t>{strayOnLayer3});
}

namespace {

// The rule taken literally: whole outlines, every pair, no index. Each
// object's piece as the smallest index in it.
std::vector<size_t> piecesOnPolygons(const ObjectList& list)
{
    const size_t n = list.size();
    std::vector<Region> regions;
    for (const auto& o : list) // a hole filling its pad leaves no copper
        regions.push_back(o->is(ObjectKind::Pad) && o->padOuterRadius() <= o->holeRadius() ? Region{} : ObjectRegion(*o));
    std::vector<size_t> piece(n);
    std::iota(piece.begin(), piece.end(), size_t{0});
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j) {
            const bool via = list[i].Partner == &list[j] && list[j].Partner == &list[i];
            const size_t low = std::min(piece[i], piece[j]), high = std::max(piece[i], piece[j]);
            if (via || (list[i].Layer == list[j].Layer && regions[i].overlaps(regions[j])))
                std::replace(piece.begin(), piece.end(), high, low);
        }
    return piece;
}

// Copper of every kind on a small area, on a 10 unit lattice so that many
// shapes meet edge to edge or overlap by a hair; widths from none to wide.
ObjectList randomCopper(uint32_t seed)
{
    std::mt19937 rng(seed);
    auto pick = [&](int32_t lo, int32_t hi) { return lo + static_cast<int32_t>(rng() % static_cast<uint32_t>(hi - lo + 1)); };
    auto somewhere = [&] { return Point{10 * pick(0, 200), -10 * pick(0, 200)}; };
    auto layer = [&] { return static_cast<uint8_t>(pick(0, 3) == 0 ? 3 : 1); };
    const int32_t widths[] = {0, 1, 2, 3, 4, 7, 8, 9, 20, 40, 41, 80, 200};
    ObjectList list;
    for (int k = 0; k < 160; ++k) {
        const int32_t width = widths[pick(0, 12)];
        switch (pick(0, 6)) {
        case 0:
            addPad(list, somewhere(), pick(1, 12) * 10, static_cast<uint8_t>(pick(1, 9)), layer(), 20);
            break;
        case 1: {
            LayoutObject& t = list.append(makeTrack(width, layer()));
            for (int n = pick(1, 6), i = 0; i < n; ++i)
                t.Points.push_back(i == 0 || pick(0, 3) ? somewhere() : t.Points.back());
            break;
        }
        case 2: {
            LayoutObject& z = list.append(makeZone(pick(0, 2) ? width : 0, layer()));
            const Point c = somewhere();
            for (int n = pick(2, 9), i = 0; i < n; ++i) // some cross themselves
                z.Points.push_back({c.x + 10 * pick(-30, 30), c.y + 10 * pick(-30, 30)});
            break;
        }
        case 3: {
            LayoutObject& c = list.append(makeCircle(somewhere(), pick(2, 40) * 10, 1, layer(), 0));
            c.Y2 = c.X2 - pick(1, 10) * 10;
            c.Filled = static_cast<uint8_t>(pick(0, 3) == 0);
            c.Angle = pick(0, 3) * 90;
            c.Width = pick(0, 1) ? c.Angle : pick(0, 359);
            break;
        }
        case 4: {
            const Point a = somewhere();
            list.append(makeText(a, "X", 0, 100, a.x + pick(0, 40) * 10, a.y + pick(0, 20) * 10, layer()));
            break;
        }
        case 5:
            addVia(list, somewhere(), pick(3, 10) * 10, 20);
            break;
        default: {
            // Two tracks whose ends keep about their half widths apart, at
            // any angle: where the cap's corners and the round cap differ.
            const int32_t w1 = pick(8, 200), w2 = pick(8, 200);
            const double reach = (w1 / 2 + w2 / 2) * (0.9 + 0.13 * pick(0, 1000) / 1000.0);
            const double angle = pick(0, 3599) * 3.14159265358979 / 1800;
            const Point a = somewhere();
            const Point b{a.x + static_cast<int32_t>(std::lround(reach * std::cos(angle))),
                          a.y + static_cast<int32_t>(std::lround(reach * std::sin(angle)))};
            const uint8_t side = layer();
            addTrack(list, {a, {a.x - pick(-50, 50), a.y - pick(1, 50)}}, w1, side);
            addTrack(list, {b, {b.x + pick(-50, 50), b.y + pick(1, 50)}}, w2, side);
            break;
        }
        }
    }
    return list;
}

} // namespace

TEST(FloodConnect, AgreesWithTheRuleOnWholeOutlines)
{
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        const ObjectList list = randomCopper(seed);
        const std::vector<size_t> piece = piecesOnPolygons(list);
        CopperMap map(list); // kept across the floods, as the clean-up does
        for (int round = 0; round < 2; ++round) // the second round meets the kept pieces
            for (size_t start = 0; start < list.size(); start += 7) {
                if (!isBoardCopper(list[start].Layer))
                    continue;
                std::vector<uint8_t> reached(list.size(), 0);
                std::vector<size_t> found = FloodConnect(map, start, reached);
                std::sort(found.begin(), found.end());
                std::vector<size_t> expected;
                for (size_t i = 0; i < list.size(); ++i)
                    if (piece[i] == piece[start])
                        expected.push_back(i);
                ASSERT_EQ(found, expected) << "seed " << seed << " start " << start;
            }
    }
}
