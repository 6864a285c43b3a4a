#include "edit/Clipboard.h"

#include "edit/CopyList.h"
#include "edit/Selection.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "model/Groups.h"
#include "model/LayerSwitches.h"
#include "model/Units.h"

namespace kestrel {

namespace {

void stampPositions(const ObjectList& list)
{
    for (size_t i = 0; i < list.size(); ++i)
        list[i].ListIndex = static_cast<int32_t>(i);
}

// Pasted objects come to the active side; layers outside 1..4 stay.
uint8_t layerOnActiveSide(uint8_t layer, uint32_t activeLayer)
{
    const bool toSide1 = Layer::isSide1(static_cast<int>(activeLayer));
    if (toSide1 && (layer == Layer::K2 || layer == Layer::B2))
        return static_cast<uint8_t>(layer - 2);
    if (!toSide1 && (layer == Layer::K1 || layer == Layer::B1))
        return static_cast<uint8_t>(layer + 2);
    return layer;
}

} // namespace

void ClearClipboard(EditSession& session)
{
    session.Clipboard.clear();
}

void CopySelection(EditSession& session, LayoutDocument& doc)
{
    ClearClipboard(session);
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return;
    // The position of each object among the selected ones, for partners.
    std::vector<long> clipboardPosition(objects->size(), -1);
    for (size_t i = 0; i < objects->size(); ++i) {
        LayoutObject& o = (*objects)[i];
        o.CopiedMark = 0;
        if (o.Selected) {
            clipboardPosition[i] = static_cast<long>(session.Clipboard.size());
            session.Clipboard.append(CopyObject(o));
        }
    }
    stampPositions(*objects);
    for (auto& copy : session.Clipboard) {
        const LayoutObject* partner = copy->Partner;
        copy->Partner = nullptr;
        if (!partner || partner->ListIndex < 0 || static_cast<size_t>(partner->ListIndex) >= objects->size() ||
            objects->at(static_cast<size_t>(partner->ListIndex)) != partner)
            continue;
        const long at = clipboardPosition[static_cast<size_t>(partner->ListIndex)];
        if (at >= 0)
            copy->Partner = session.Clipboard.at(static_cast<size_t>(at));
    }
    RelinkCopies(*objects, session.Clipboard, 0);
}

void Paste(EditSession& session, LayoutDocument& doc)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects || session.Clipboard.empty())
        return;
    session.objectsWillChange();
    TakeUndoSnapshot(session, doc);
    const int32_t g = nextGroupNumber(*objects);
    const size_t n0 = objects->size();
    DeselectAll(*objects);
    const int32_t step = roundEven(doc.Working.Grid);
    ObjectList& clipboard = session.Clipboard;
    for (auto& item : clipboard) {
        LayoutObject& source = *item;
        // The clipboard copy itself moves, so the next paste lands one step further.
        translate(source, step, -step);
        LayoutObject& added = objects->append(CopyObject(source));
        added.Selected = 1;
        added.LegacyGroup = 0;
        for (int32_t& group : added.Groups)
            group += g;
        const bool viaPad = added.is(ObjectKind::Pad) && added.Partner;
        if (!viaPad)
            added.Layer = layerOnActiveSide(added.Layer, doc.Working.ActiveLayer);
    }
    stampPositions(clipboard);
    for (size_t i = n0; i < objects->size(); ++i) {
        LayoutObject& added = (*objects)[i];
        const LayoutObject* partner = added.Partner;
        added.Partner = nullptr;
        if (partner && partner->ListIndex >= 0 && static_cast<size_t>(partner->ListIndex) < clipboard.size() &&
            clipboard.at(static_cast<size_t>(partner->ListIndex)) == partner)
            added.Partner = objects->at(n0 + static_cast<size_t>(partner->ListIndex));
    }
    RelinkCopies(clipboard, *objects, n0);
    compactGroups(*objects);
    groupSelection(*objects);
    ShowLayersOf(doc.Working, *objects, n0);
    // A paste beyond the board's edge (copied from a larger board, or walked
    // off by repeated pastes) would be out of sight and dropped at the next
    // save: the pasted objects come back onto the board in grid steps.
    if (const auto bounds = SelectionBounds(*objects)) {
        const Point back = BackOntoBoard(*bounds, doc.Working);
        if (back != Point{})
            for (size_t i = n0; i < objects->size(); ++i)
                translate((*objects)[i], back.x, back.y);
    }
    // Larger than the board, the paste may span it and still leave an
    // object at one end wholly off: each keeps a part on it where it can.
    const Point keep = KeepEachOnBoard(*objects, n0, doc.Working);
    if (keep != Point{})
        for (size_t i = n0; i < objects->size(); ++i)
            translate((*objects)[i], keep.x, keep.y);
}

void CutSelection(EditSession& session, LayoutDocument& doc)
{
    CopySelection(session, doc);
    DeleteSelection(session, doc);
}

void Duplicate(EditSession& session, LayoutDocument& doc)
{
    CopySelection(session, doc);
    Paste(session, doc);
}

void DeleteSelection(EditSession& session, LayoutDocument& doc)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return;
    if (SelectedCount(*objects) == 0)
        return;
    session.objectsWillChange();
    TakeUndoSnapshot(session, doc);
    objects->removeIf([](const LayoutObject& o) { return o.Selected != 0; });
}

void DeleteObject(EditSession& session, LayoutDocument& doc, size_t index)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects || index >= objects->size())
        return;
    session.objectsWillChange();
    objects->remove(index);
    doc.Modified = true;
}

} // namespace kestrel
