#include "edit/MacroDrop.h"

#include "edit/Selection.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "edit/Vias.h"
#include "geometry/Geometry.h"
#include "model/Groups.h"
#include "model/LayerSwitches.h"
#include "model/ValueRanges.h"
#include "view/Viewport.h"

#include <algorithm>

namespace kestrel {

Point MacroDropPoint(const ObjectList& macro, Point boardPoint, const BoardSettings& board)
{
    // Limited to the board first, so that a point beyond an edge also takes
    // the last grid point on the board.
    const Point limited{std::clamp(boardPoint.x, 0, board.BoardWidth), std::clamp(boardPoint.y, -board.BoardHeight, 0)};
    const Point at = snapPointOntoBoard(limited, board);
    std::optional<Rect> bounds;
    for (const auto& o : macro)
        bounds = bounds ? bounds->united(BoundingRect(*o)) : BoundingRect(*o);
    if (!bounds)
        return at;
    const Rect placed{bounds->left + at.x, bounds->top + at.y, bounds->right + at.x, bounds->bottom + at.y};
    const Point back = BackOntoBoard(placed, board);
    return {at.x + back.x, at.y + back.y};
}

size_t DropMacro(EditSession& session, LayoutDocument& doc, ObjectList& macro, Point at)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects || macro.empty())
        return 0;
    session.objectsWillChange();
    TakeUndoSnapshot(session, doc);
    const int32_t g = nextGroupNumber(*objects);
    DeselectAll(*objects);
    const bool side1 = Layer::isSide1(static_cast<int>(doc.Working.ActiveLayer));
    const size_t n0 = objects->size();
    // Version-2 macros carry signed 16-bit group numbers, negative from
    // 32768 up. Added to g as they are, one could land on a group of the
    // board, or below 1, which no file holds: the macro's numbers are then
    // taken by their rank among its groups.
    std::vector<int32_t> macroGroups;
    for (const auto& item : macro)
        macroGroups.insert(macroGroups.end(), item->Groups.begin(), item->Groups.end());
    std::sort(macroGroups.begin(), macroGroups.end());
    macroGroups.erase(std::unique(macroGroups.begin(), macroGroups.end()), macroGroups.end());
    const bool byRank = !macroGroups.empty() && macroGroups.front() < 1;
    const auto numberOf = [&](int32_t group) {
        return byRank ? static_cast<int32_t>(std::lower_bound(macroGroups.begin(), macroGroups.end(), group) -
                                             macroGroups.begin() + 1)
                      : group;
    };
    std::vector<LayoutObject*> viaPads;
    for (auto& item : macro) {
        LayoutObject& added = objects->append(copyObject(*item));
        translate(added, at.x, at.y);
        added.Selected = 1;
        if (added.Layer == Layer::MacroCopper)
            added.Layer = side1 ? Layer::K1 : Layer::K2;
        else if (added.Layer == Layer::MacroSilk)
            added.Layer = side1 ? Layer::B1 : Layer::B2;
        added.LegacyGroup = 0;
        for (int32_t& group : added.Groups)
            group = numberOf(group) + g;
        // References read from a file point into the macro list, never
        // into the board: drop them all and make vias afresh.
        added.Partner = nullptr;
        added.Connections.clear();
        if (added.PartnerBytesSet)
            viaPads.push_back(&added);
        added.PartnerBytesSet = false;
    }
    for (LayoutObject* pad : viaPads)
        if (LayoutObject* twin = MakeVia(*objects, *pad))
            twin->Selected = 1;
    // A number beyond what a file holds would make the saved document
    // unreadable: the board is then renumbered, as a paste renumbers it.
    bool tooLarge = false;
    for (size_t i = n0; i < objects->size(); ++i)
        for (const int32_t group : (*objects)[i].Groups)
            tooLarge = tooLarge || group > ranges::kMaxGroupNumber;
    if (tooLarge)
        compactGroups(*objects);
    groupSelection(*objects);
    ShowLayersOf(doc.Working, *objects, n0);
    doc.Modified = true;
    return objects->size() - n0;
}

} // namespace kestrel
