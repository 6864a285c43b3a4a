#include "route/RubberBands.h"

#include "edit/Undo.h"
#include "route/Connectivity.h"

#include <algorithm>

namespace kestrel {

BandCleanup ClearConnections(ObjectList& list, const std::function<void()>& beforeRemoving)
{
    BandCleanup result;
    CopperMap map(list);
    // Connection is an equivalence, so one flood per piece of copper gives
    // every pad the same answer as flooding from each pad afresh.
    constexpr int32_t none = -1;
    std::vector<int32_t> piece(list.size(), none);
    std::vector<uint8_t> reached(list.size(), 0);
    int32_t pieces = 0;
    // Whether pad p's band to `other` is made in copper; p is flooded first.
    const auto joined = [&](size_t p, const LayoutObject* other) {
        const long q = map.indexOf(other);
        return piece[p] != none && q >= 0 && piece[static_cast<size_t>(q)] == piece[p];
    };
    for (size_t p = 0; p < list.size(); ++p) {
        LayoutObject& pad = list[p];
        if (!pad.is(ObjectKind::Pad) || pad.Connections.empty())
            continue;
        if (piece[p] == none && isBoardCopper(pad.Layer)) {
            for (size_t i : FloodConnect(map, p, reached))
                piece[i] = pieces;
            ++pieces;
        }
        const auto bandJoined = [&](const LayoutObject* other) { return joined(p, other); };
        const auto removed =
            static_cast<size_t>(std::count_if(pad.Connections.begin(), pad.Connections.end(), bandJoined));
        result.keptEnds += pad.Connections.size() - removed;
        result.removedEnds += removed;
    }
    // Bands are no copper, so removing them changes no piece.
    if (result.removedEnds > 0) {
        if (beforeRemoving)
            beforeRemoving();
        for (size_t p = 0; p < list.size(); ++p) {
            auto& bands = list[p].Connections;
            bands.erase(std::stable_partition(bands.begin(), bands.end(),
                                              [&](const LayoutObject* other) { return !joined(p, other); }),
                        bands.end());
        }
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
    return ClearConnections(*objects, [&] { TakeUndoSnapshot(session, doc); });
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
