#include "route/IndexMemory.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace kestrel;

// Arrays made, grown and dropped in random order, with sizes from below the
// mapped size to past the kept limit, each filled with its own number:
// every live array must keep its contents. A block handed out twice, one
// kept under the wrong size or one unmapped while in use would show here.
TEST(IndexMemory, ArraysKeepTheirContentsWhileBlocksAreReused)
{
    std::mt19937 rng(7);
    std::vector<std::unique_ptr<IndexVector<uint32_t>>> live(12);
    auto intact = [&](size_t slot) {
        const auto& v = *live[slot];
        for (size_t i = 0; i < v.size(); i += 97)
            if (v[i] != slot + 1)
                return false;
        return v.empty() || v.back() == slot + 1;
    };
    for (int step = 0; step < 300; ++step) {
        const size_t slot = rng() % live.size();
        if (live[slot]) {
            ASSERT_TRUE(intact(slot)) << "step " << step;
            if (rng() % 2 || live[slot]->size() > (size_t{1} << 22))
                live[slot].reset();
            else
                live[slot]->resize(live[slot]->size() * 2 + 1000, static_cast<uint32_t>(slot + 1));
            continue;
        }
        // Up to 16 MiB, grown to 32: several together pass the 64 MiB kept.
        const size_t n = size_t{1} << (10 + rng() % 13);
        live[slot] = std::make_unique<IndexVector<uint32_t>>(n + rng() % 5000, static_cast<uint32_t>(slot + 1));
    }
    for (size_t slot = 0; slot < live.size(); ++slot)
        EXPECT_TRUE(!live[slot] || intact(slot)) << slot;
}
