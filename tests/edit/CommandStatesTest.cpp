#include "edit/CommandStates.h"
#include "edit/Selection.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(CommandStates, FlagsFollowTheSelectionBoardAndClipboard)
{
    ObjectList list;
    EXPECT_EQ(UpdateCommandStates(list, false), CommandStates{});
    EXPECT_EQ(UpdateCommandStates(list, true), (CommandStates{.paste = true}));
    LayoutObject& pad = test::addPad(list, {0, 0}, 90);
    LayoutObject& circle = list.append(makeCircle({500, -500}, 100, 1, 1, 50));
    circle.Groups = {4};
    EXPECT_EQ(UpdateCommandStates(list, false), (CommandStates{.objects = true})) << "nothing selected";
    circle.Selected = 1;
    test::addTrack(list, {{0, 0}, {100, 0}}).Selected = 1;
    EXPECT_EQ(UpdateCommandStates(list, false),
              (CommandStates{.any = true, .group = true, .ungroup = true, .circle = true, .objects = true}))
        << "a grouped circle and a track selected";
    DeselectAll(list);
    test::addBand(pad, test::addPad(list, {900, 0}, 90));
    EXPECT_EQ(UpdateCommandStates(list, false), (CommandStates{.bands = true, .objects = true}))
        << "unselected pads with a band";
}

TEST(CommandStates, GroupNeedsMoreThanOneMemberAndNotExactlyOneGroup)
{
    // The group stacks of the selected tracks (empty = ungrouped).
    const std::tuple<const char*, std::vector<std::vector<int32_t>>, bool> cases[] = {
        {"single", {{}}, false}, {"two ungrouped", {{}, {}}, true}, {"exactly one group", {{3}, {3}, {3}}, false},
        {"one group plus one object", {{3}, {3}, {}}, true}, {"nested, same outer group", {{1, 3}, {2, 3}}, false},
        {"same inner, different outer", {{1, 3}, {1, 5}, {7}}, true},
    };
    for (const auto& [name, selected, enabled] : cases) {
        ObjectList list;
        test::addTrack(list, {{0, 0}, {50, 0}}); // never selected
        for (const auto& groups : selected) {
            LayoutObject& o = test::addTrack(list, {{0, 0}, {100, 100}});
            o.Selected = 1;
            o.Groups = groups;
        }
        EXPECT_EQ(UpdateCommandStates(list, false).group, enabled) << name;
    }
}

} // namespace
} // namespace kestrel
