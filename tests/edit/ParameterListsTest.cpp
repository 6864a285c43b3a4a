#include "edit/ParameterLists.h"

#include <gtest/gtest.h>

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
    struct Case {
        std::vector<int32_t> before;
        int32_t added;
        bool taken;
        std::vector<int32_t> after;
    };
    const Case cases[] = {
        {{50, 100}, 80, true, {50, 80, 100}}, // 0.8 mm between 0.5 and 1.0
        {{}, 80, true, {80}},
        {{50, 100}, 9999, true, {50, 100, 9999}},
        {{50}, 0, false, {50}},     // a grid of zero would divide by zero
        {{50}, -1, false, {50}},    // the separator's tag
    };
    for (const Case& c : cases) {
        std::vector<TaggedEntry> list;
        for (int32_t t : c.before)
            list.push_back({t, ""});
        EXPECT_EQ(InsertTagged(list, {c.added, "x"}), c.taken) << c.added;
        EXPECT_EQ(tags(list), c.after) << c.added;
    }
    std::vector<TaggedEntry> full;
    for (int32_t t = 1; InsertTagged(full, {t, ""}); ++t) {
    }
    EXPECT_EQ(full.size(), kMaxListEntries);

    std::vector<TaggedEntry> list{{50, ""}, {80, ""}, {80, ""}};
    EXPECT_EQ(FindTagged(list, 80), 1);
    EXPECT_TRUE(RemoveTagged(list, 80));
    EXPECT_EQ(tags(list), (std::vector<int32_t>{50, 80})) << "the first of equal entries goes";
    EXPECT_FALSE(RemoveTagged(list, 60));
}

TEST(ParameterLists, PadSizesSortByOuterThenInnerAndMatchByRadius)
{
    std::vector<std::string> list;
    for (const char* c : {"2.0 x 0.8 мм", "1.8 x 0.6 мм", "2.0 x 0.6 мм", "abc", "1.0 x 0.5 мм"})
        InsertPadSize(list, c);
    EXPECT_EQ(list, (std::vector<std::string>{"1.0 x 0.5 мм", "1.8 x 0.6 мм", "2.0 x 0.6 мм", "2.0 x 0.8 мм"}));
    EXPECT_EQ(FindPadSize(list, 90, 30), 1); // radii of 1.8 and 0.6 mm
    EXPECT_EQ(FindPadSize(list, 100, 40), 3);
    EXPECT_EQ(FindPadSize(list, 90, 31), -1);
    EXPECT_TRUE(RemovePadSize(list, 100, 30));
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(SanitizedPadSizes({"1.8 x 0.6", "1.8 x 0.6 мм", "1,0 x 0,5"}), (std::vector<std::string>{"1.8 x 0.6"}));
}

} // namespace
} // namespace kestrel
