#include "model/Groups.h"

#include "model/ValueRanges.h"

#include <algorithm>
#include <unordered_map>

namespace kestrel {

void compactGroups(ObjectList& list)
{
    std::vector<int32_t> used;
    for (const auto& o : list)
        used.insert(used.end(), o->Groups.begin(), o->Groups.end());
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    // A group's new number is its place among the sorted numbers in use.
    if (used.empty() || (used.front() >= 1 && used.back() == static_cast<int32_t>(used.size())))
        return; // already 1..n
    for (auto& o : list)
        for (int32_t& g : o->Groups)
            g = static_cast<int32_t>(std::lower_bound(used.begin(), used.end(), g) - used.begin() + 1);
}

// Version 1 kept one group number per object; objects sharing it become one
// group. Taking the objects one by one and grouping each one's later peers
// gives each number that occurs twice or more one new group, numbered in the
// order of first occurrence; every object but the last loses its number.
// This does the same in one pass over the list.
void convertLegacyGroups(ObjectList& list)
{
    std::unordered_map<uint16_t, uint32_t> occurrences;
    for (const auto& o : list)
        if (o->LegacyGroup != 0)
            ++occurrences[o->LegacyGroup];
    std::unordered_map<uint16_t, int32_t> groupOf;
    int32_t next = nextGroupNumber(list);
    for (size_t i = 0; i < list.size(); ++i) {
        LayoutObject& o = list[i];
        o.Selected = 0;
        const uint16_t legacy = o.LegacyGroup;
        if (legacy == 0)
            continue;
        if (occurrences[legacy] > 1) {
            auto [it, added] = groupOf.try_emplace(legacy, next);
            if (added)
                ++next;
            o.Groups.push_back(it->second);
        }
        if (i + 1 < list.size())
            o.LegacyGroup = 0;
    }
}

bool groupSelection(ObjectList& list)
{
    bool haveFirst = false;
    int32_t first = -1;
    bool needed = false;
    for (const auto& o : list) {
        if (!o->Selected)
            continue;
        if (!haveFirst) {
            haveFirst = true;
            first = o->outerGroup();
        } else if (o->outerGroup() != first || first == -1) {
            needed = true;
            break;
        }
    }
    if (!needed)
        return false;
    // A number beyond what a file holds would make the saved document
    // unreadable: the board's groups are then renumbered from 1 first.
    if (nextGroupNumber(list) > ranges::kMaxGroupNumber)
        compactGroups(list);
    const int32_t g = nextGroupNumber(list);
    for (auto& o : list)
        if (o->Selected)
            o->Groups.push_back(g);
    return true;
}

} // namespace kestrel
