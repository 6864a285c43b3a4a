#include "edit/CommandStates.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

using test::addPad;
using test::addTrack;

LayoutObject& addCircle(ObjectList& list)
{
    return list.append(makeCircle({500, -500}, 100, 1, 1, 50));
}

void select(LayoutObject& o, std::vector<int32_t> groups = {})
{
    o.Selected = 1;
    o.Groups = std::move(groups);
}

TEST(CommandStates, EmptyBoardAllowsNothingButPasteFromTheClipboard)
{
    ObjectList list;
    EXPECT_EQ(UpdateCommandStates(list, false), CommandStates{});
    CommandStates withClipboard;
    withClipboard.paste = true;
    EXPECT_EQ(UpdateCommandStates(list, true), withClipboard);
}

TEST(CommandStates, UnselectedObjectsOnlyEnableTheWholeBoardCommands)
{
    ObjectList list;
    addTrack(list, {{0, 0}, {100, 0}});
    addCircle(list);
    const CommandStates s = UpdateCommandStates(list, false);
    EXPECT_TRUE(s.objects);
    EXPECT_FALSE(s.any);
    EXPECT_FALSE(s.circle);
    EXPECT_FALSE(s.group);
    EXPECT_FALSE(s.ungroup);
    EXPECT_FALSE(s.bands);
}

TEST(CommandStates, CircleAndUngroupFollowTheSelectedObjectsOnly)
{
    ObjectList list;
    LayoutObject& circle = addCircle(list);
    circle.Groups = {4};
    LayoutObject& track = addTrack(list, {{0, 0}, {100, 0}});
    select(track);
    CommandStates s = UpdateCommandStates(list, false);
    EXPECT_TRUE(s.any);
    EXPECT_FALSE(s.circle) << "an unselected circle does not count";
    EXPECT_FALSE(s.ungroup) << "an unselected grouped object does not count";
    select(circle, {4});
    s = UpdateCommandStates(list, false);
    EXPECT_TRUE(s.circle);
    EXPECT_TRUE(s.ungroup);
}

TEST(CommandStates, RubberBandsCountOnAnyPadSelectedOrNot)
{
    ObjectList list;
    LayoutObject& a = addPad(list, {0, 0}, 90);
    LayoutObject& b = addPad(list, {1000, 0}, 90);
    EXPECT_FALSE(UpdateCommandStates(list, false).bands);
    test::addBand(a, b);
    EXPECT_TRUE(UpdateCommandStates(list, false).bands);
}

// Each row: the group stacks of the selected objects (empty = ungrouped).
struct GroupCase {
    const char* name;
    std::vector<std::vector<int32_t>> selected;
    bool groupEnabled;
};

class GroupRule : public ::testing::TestWithParam<GroupCase> {};

TEST_P(GroupRule, EnablesBuildGroupOnlyForMoreThanOneMember)
{
    ObjectList list;
    addTrack(list, {{0, 0}, {50, 0}}); // never selected
    for (const auto& groups : GetParam().selected)
        select(addTrack(list, {{0, 0}, {100, 100}}), groups);
    EXPECT_EQ(UpdateCommandStates(list, false).group, GetParam().groupEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GroupRule,
    ::testing::Values(GroupCase{"nothing", {}, false}, GroupCase{"single", {{}}, false},
                      GroupCase{"twoUngrouped", {{}, {}}, true},
                      GroupCase{"exactlyOneGroup", {{3}, {3}, {3}}, false},
                      GroupCase{"oneGroupPlusOneObject", {{3}, {3}, {}}, true},
                      GroupCase{"nestedSameOuterGroup", {{1, 3}, {2, 3}}, false},
                      GroupCase{"twoGroupsOfTwo", {{3}, {3}, {5}, {5}}, true},
                      GroupCase{"sameInnerDifferentOuter", {{1, 3}, {1, 5}, {7}}, true},
                      GroupCase{"twoSingleMemberGroups", {{3}, {5}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandStates, AllowsMapsEachRuleToItsFlag)
{
    CommandStates s;
    s.any = s.group = s.bands = s.objects = true;
    EXPECT_TRUE(s.allows(CommandRule::Always));
    EXPECT_TRUE(s.allows(CommandRule::Any));
    EXPECT_FALSE(s.allows(CommandRule::Paste));
    EXPECT_TRUE(s.allows(CommandRule::Group));
    EXPECT_FALSE(s.allows(CommandRule::Ungroup));
    EXPECT_TRUE(s.allows(CommandRule::Bands));
    EXPECT_FALSE(s.allows(CommandRule::Circle));
    EXPECT_TRUE(s.allows(CommandRule::Objects));
}

} // namespace
} // namespace kestrel
