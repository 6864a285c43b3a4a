#include "model/Groups.h"

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
    const int32_t g = nextGroupNumber(list);
    for (auto& o : list)
        if (o->Selected)
            o->Groups.push_back(g);
    return true;
}

} // namespace kestrel
