#include "edit/CommandStates.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(CommandStates, FlagsFollowTheSelectionBoardAndClipboard)
{
    struct Item {
        ObjectKind kind;
        bool selected;
        std::vector<int32_t> groups;
    };
    struct Case {
        const char* name;
        std::vector<Item> items;
        bool clipboard;
        bool bandFirstTwo;
        CommandStates expected;
    };
    const Case cases[] = {
        {"empty board", {}, false, false, {}},
        {"empty board, clipboard full", {}, true, false, {.paste = true}},
        {"nothing selected, pad without band", {{ObjectKind::Circle, false, {4}}, {ObjectKind::Pad, false, {}}}, false,
         false, {.objects = true}},
        {"selected grouped circle", {{ObjectKind::Circle, true, {4}}, {ObjectKind::Track, true, {}}}, false, false,
         {.any = true, .group = true, .ungroup = true, .circle = true, .objects = true}},
        {"unselected pads with a band", {{ObjectKind::Pad, false, {}}, {ObjectKind::Pad, false, {}}}, false, true,
         {.bands = true, .objects = true}},
    };
    for (const Case& c : cases) {
        ObjectList list;
        for (const Item& item : c.items) {
            LayoutObject& o = item.kind == ObjectKind::Pad      ? test::addPad(list, {0, 0}, 90)
                              : item.kind == ObjectKind::Circle ? list.append(makeCircle({500, -500}, 100, 1, 1, 50))
                                                                : test::addTrack(list, {{0, 0}, {100, 0}});
            o.Selected = item.selected ? 1 : 0;
            o.Groups = item.groups;
        }
        if (c.bandFirstTwo)
            test::addBand(list[0], list[1]);
        EXPECT_EQ(UpdateCommandStates(list, c.clipboard), c.expected) << c.name;
    }
}

TEST(CommandStates, GroupNeedsMoreThanOneMemberAndNotExactlyOneGroup)
{
    // The group stacks of the selected tracks (empty = ungrouped).
    const std::tuple<const char*, std::vector<std::vector<int32_t>>, bool> cases[] = {
        {"nothing", {}, false}, {"single", {{}}, false}, {"two ungrouped", {{}, {}}, true},
        {"exactly one group", {{3}, {3}, {3}}, false}, {"one group plus one object", {{3}, {3}, {}}, true},
        {"nested, same outer group", {{1, 3}, {2, 3}}, false}, {"two groups of two", {{3}, {3}, {5}, {5}}, true},
        {"same inner, different outer", {{1, 3}, {1, 5}, {7}}, true}, {"two single-member groups", {{3}, {5}}, true},
        {"a single-member group plus an ungrouped object", {{3}, {}}, true},
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
