#include "edit/ParameterLists.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrel {
namespace {

std::vector<int32_t> tags(const std::vector<TaggedEntry>& list)
{
    std::vector<int32_t> out;
    for (const TaggedEntry& e : list)
        out.push_back(e.tag);
    return out;
}

TEST(ParameterLists, TaggedEntriesStaySortedAndOnlyValidOnesGoIn)
{
    // The tags before, the one added, whether it is taken, the tags after.
    const std::tuple<std::vector<int32_t>, int32_t, bool, std::vector<int32_t>> cases[] = {
        {{50, 100}, 80, true, {50, 80, 100}}, // 0.8 mm between 0.5 and 1.0
        {{50}, 0, false, {50}},     // a grid of zero would divide by zero
    };
    for (const auto& [before, added, taken, after] : cases) {
        std::vector<TaggedEntry> list;
        for (int32_t t : before)
            list.push_back({t, ""});
        EXPECT_EQ(InsertTagged(list, {added, "x"}), taken) << added;
        EXPECT_EQ(tags(list), after) << added;
    }
    std::vector<TaggedEntry> full;
    for (int32_t t = 1; InsertTagged(full, {t, ""}); ++t) {
    }
    EXPECT_EQ(full.size(), kMaxListEntries);
    EXPECT_FALSE(CanAddTagged(full, 9000)) << "a full list";
    EXPECT_FALSE(CanAddTagged({}, 0));
    EXPECT_FALSE(CanAddTagged({{80, ""}}, 80)) << "listed already";
    EXPECT_TRUE(CanAddTagged({{80, ""}}, 50));
}

TEST(ParameterLists, PadSizesSortByOuterThenInnerAndMatchByRadius)
{
    std::vector<std::string> list;
    for (const char* c : {"2.0 x 0.8 мм", "1.8 x 0.6 мм", "2.0 x 0.6 мм", "abc", "1.0 x 0.5 мм"})
        InsertPadSize(list, c);
    EXPECT_EQ(list, (std::vector<std::string>{"1.0 x 0.5 мм", "1.8 x 0.6 мм", "2.0 x 0.6 мм", "2.0 x 0.8 мм"}));
    EXPECT_EQ(FindPadSize(list, 90, 30), 1); // radii of 1.8 and 0.6 mm
    EXPECT_EQ(FindPadSize(list, 90, 31), -1);
    EXPECT_TRUE(RemovePadSize(list, 100, 30));
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(SanitizedPadSizes({"1.8 x 0.6", "1.8 x 0.6 мм", "1,0 x 0,5"}), (std::vector<std::string>{"1.8 x 0.6"}));

    // A pad of 1.85 x 0.75 mm matches no entry, but its caption rounds to one
    // listed: the add command has nothing to add, however often it is asked.
    const std::string rounded = PadSizeCaption(185, 75, "mm");
    EXPECT_EQ(rounded, "1.9 x 0.8 mm");
    EXPECT_TRUE(CanInsertPadSize(list, rounded));
    EXPECT_TRUE(InsertPadSize(list, rounded));
    EXPECT_EQ(FindPadSize(list, 92, 37), -1);
    EXPECT_FALSE(CanInsertPadSize(list, rounded));
    EXPECT_FALSE(InsertPadSize(list, "1.9 x 0.8 мм"));
    EXPECT_EQ(list.size(), 4u);
}

} // namespace
} // namespace kestrel
