#include "model/LayoutObject.h"
#include "model/ObjectPool.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <thread>
#include <vector>

using namespace kestrel;

namespace {

std::vector<int32_t> asVector(const PackedList<int32_t>& list) { return {list.begin(), list.end()}; }

} // namespace

// Random edits applied to a PackedList and to a std::vector side by side;
// the two must hold the same values after every step. Values and ranges are
// often taken from the list itself.
TEST(CompactStorage, PackedListFollowsVectorThroughRandomEdits)
{
    std::mt19937 random(7);
    auto below = [&](size_t n) { return n == 0 ? 0 : static_cast<size_t>(random() % n); };
    PackedList<int32_t> list;
    std::vector<int32_t> model;
    for (int step = 0; step < 20000; ++step) {
        const auto value = static_cast<int32_t>(random() % 1000);
        const size_t at = below(model.size() + 1);
        switch (random() % 6) {
        case 0:
            list.push_back(value), model.push_back(value);
            break;
        case 1:
            if (!model.empty())
                list.push_back(list[at % model.size()]), model.push_back(model[at % model.size()]);
            break;
        case 2: {
            const size_t from = below(model.size() + 1), count = below(model.size() - from + 1);
            const std::vector<int32_t> taken(model.begin() + static_cast<long>(from),
                                             model.begin() + static_cast<long>(from + count));
            list.insert(list.begin() + at, list.begin() + from, list.begin() + from + count);
            model.insert(model.begin() + static_cast<long>(at), taken.begin(), taken.end());
            break;
        }
        case 3: {
            const size_t last = at + below(model.size() - at + 1);
            list.erase(list.begin() + at, list.begin() + last);
            model.erase(model.begin() + static_cast<long>(at), model.begin() + static_cast<long>(last));
            break;
        }
        case 4:
            list.assign(list.rbegin(), list.rend());
            std::reverse(model.begin(), model.end());
            break;
        default:
            if (random() % 8 == 0)
                list.clear(), model.clear();
            else if (!model.empty())
                list.pop_back(), model.pop_back();
        }
        ASSERT_EQ(asVector(list), model) << "after step " << step;
    }
}

// Self-assignment and moves keep the block; a moved-from list is usable.
TEST(CompactStorage, SelfAssignedAndMovedListsKeepTheirBlock)
{
    static_assert(sizeof(PackedList<Point>) == sizeof(void*));
    PackedList<Point> points{{1, 2}, {3, 4}, {5, 6}};
    const Point* block = points.data();
    points = *&points;
    EXPECT_EQ(points.data(), block);
    points = std::move(*&points);
    EXPECT_EQ(points, (std::vector<Point>{{1, 2}, {3, 4}, {5, 6}}));
    PackedList<Point> stolen = std::move(points);
    EXPECT_EQ(stolen.data(), block);
    points.push_back({7, 8});
    EXPECT_EQ(points, (std::vector<Point>{{7, 8}}));
}

// The length is stored, so a zero byte inside survives; a text may be set
// from its own bytes, and copies share nothing.
TEST(CompactStorage, ShortTextKeepsBytesAndLength)
{
    static_assert(sizeof(ShortText) == sizeof(void*));
    const std::string withZero("A\0B", 3);
    const ShortText zeroed = withZero;
    EXPECT_EQ(std::string_view(zeroed), withZero);

    ShortText text = std::string("Вход 5В");
    ShortText copy = text;
    copy = "R1";
    EXPECT_EQ(text, "Вход 5В");
    text = text.view().substr(0, 4);
    EXPECT_EQ(text, "Вх");
    EXPECT_EQ(text.c_str()[text.size()], '\0');
    text = std::string();
    EXPECT_TRUE(text.empty());
}

// A slot given back on any thread serves that thread's next object, whatever
// thread took it; objects made on a worker stay intact on the main thread.
TEST(CompactStorage, PoolSlotsMoveBetweenThreads)
{
    if (!objectpool::kPooled)
        GTEST_SKIP() << "objects are not pooled under AddressSanitizer";
    std::vector<std::unique_ptr<LayoutObject>> made;
    std::thread worker([&] {
        for (int32_t i = 0; i < 2500; ++i) {
            auto o = std::make_unique<LayoutObject>(makeTrack(i, Layer::K1));
            o->Points = {{i, -i}, {i + 1, -i}};
            made.push_back(std::move(o));
        }
    });
    worker.join();
    for (int32_t i = 0; i < 2500; ++i)
        ASSERT_EQ(made[static_cast<size_t>(i)]->Points, (std::vector<Point>{{i, -i}, {i + 1, -i}}));

    LayoutObject* last = made.back().get();
    made.pop_back();
    const auto again = std::make_unique<LayoutObject>();
    EXPECT_EQ(again.get(), last) << "a slot freed on this thread serves its next object";

    // A thread that only frees objects hands their slots on when it ends.
    const size_t before = objectpool::spareBytes();
    std::thread([&] { made.clear(); }).join();
    EXPECT_EQ(objectpool::spareBytes(), before + 2499 * sizeof(LayoutObject));
}
