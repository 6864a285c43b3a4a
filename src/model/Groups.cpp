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
    std::unordered_map<int32_t, int32_t> renumber;
    renumber.reserve(used.size());
    for (size_t i = 0; i < used.size(); ++i)
        renumber[used[i]] = static_cast<int32_t>(i + 1);
    for (auto& o : list)
        for (int32_t& g : o->Groups)
            g = renumber[g];
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
