#include "route/RubberBands.h"

#include "edit/Undo.h"
#include "route/Connectivity.h"

#include <algorithm>

namespace kestrel {

BandCleanup ClearConnections(ObjectList& list)
{
    BandCleanup result;
    CopperMap map(list);
    // Connection is an equivalence, so one flood per piece of copper gives
    // every pad the same answer as flooding from each pad afresh.
    constexpr int32_t none = -1;
    std::vector<int32_t> piece(list.size(), none);
    std::vector<uint8_t> reached(list.size(), 0);
    int32_t pieces = 0;
    for (size_t p = 0; p < list.size(); ++p) {
        LayoutObject& pad = list[p];
        if (!pad.is(ObjectKind::Pad) || pad.Connections.empty())
            continue;
        if (piece[p] == none && isBoardCopper(pad.Layer)) {
            for (size_t i : FloodConnect(map, p, reached))
                piece[i] = pieces;
            ++pieces;
        }
        const int32_t own = piece[p];
        const auto joined = [&](const LayoutObject* other) {
            const long q = map.indexOf(other);
            return own != none && q >= 0 && piece[static_cast<size_t>(q)] == own;
        };
        const auto firstRemoved = std::stable_partition(pad.Connections.begin(), pad.Connections.end(),
                                                        [&](const LayoutObject* other) { return !joined(other); });
        result.keptEnds += static_cast<size_t>(firstRemoved - pad.Connections.begin());
        result.removedEnds += static_cast<size_t>(pad.Connections.end() - firstRemoved);
        pad.Connections.erase(firstRemoved, pad.Connections.end());
    }
    for (auto& o : list)
        o->Selected = 0;
    return result;
}

BandCleanup ClearConnections(EditSession& session, LayoutDocument& doc)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return {};
    TakeUndoSnapshot(session, doc);
    return ClearConnections(*objects);
}

std::string clearReportText(Language lang, const BandCleanup& result)
{
    const std::string removed = std::to_string(result.removedBands());
    const std::string kept = std::to_string(result.keptBands());
    if (lang == Language::English)
        return removed + " rubber band(s) removed\n" + kept + " rubber band(s) kept";
    return "На чертеже " + removed + " удалённых перемычек        \nНа чертеже имеется " + kept + " перемычек ";
}

} // namespace kestrel
