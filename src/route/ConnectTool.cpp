#include "route/ConnectTool.h"

#include "edit/HitTest.h"
#include "edit/Selection.h"
#include "edit/Undo.h"

#include <algorithm>

namespace kestrel {

namespace {

bool isPadOf(const ObjectList& objects, long i)
{
    return i >= 0 && static_cast<size_t>(i) < objects.size() && objects[static_cast<size_t>(i)].is(ObjectKind::Pad);
}

} // namespace

long PadForConnecting(const ObjectIndex& index, const BoardSettings& view, Point p)
{
    const long i = FindObjectAt(index, view, p);
    return i >= 0 && index.object(static_cast<uint32_t>(i)).is(ObjectKind::Pad) ? i : -1;
}

BoardChange HighlightPadForConnecting(ObjectList& objects, long& highlighted, long pad, bool& selectedByHighlight)
{
    if (pad == highlighted && (!isPadOf(objects, pad) || objects[static_cast<size_t>(pad)].Selected))
        return {};
    const std::vector<uint8_t> before = SelectionFlags(objects);
    // The old index may belong to a list that has changed since.
    if (isPadOf(objects, highlighted) && selectedByHighlight)
        SelectObject(objects, static_cast<size_t>(highlighted), false);
    highlighted = isPadOf(objects, pad) ? pad : -1;
    selectedByHighlight = highlighted >= 0 && !objects[static_cast<size_t>(highlighted)].Selected;
    if (selectedByHighlight)
        SelectObject(objects, static_cast<size_t>(highlighted), true);
    return SelectionChange(objects, before);
}

BandEdit ToggleBand(EditSession& session, LayoutDocument& doc, size_t a, size_t b, BoardChange* change)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects || a == b || !isPadOf(*objects, static_cast<long>(a)) || !isPadOf(*objects, static_cast<long>(b)))
        return BandEdit::None;
    TakeUndoSnapshot(session, doc);
    LayoutObject& first = (*objects)[a];
    LayoutObject& second = (*objects)[b];
    const size_t removed = erase(first.Connections, &second) + erase(second.Connections, &first);
    if (removed == 0) {
        first.Connections.push_back(&second);
        second.Connections.push_back(&first);
    }
    if (change) {
        change->include(first);
        change->include(second);
    }
    return removed ? BandEdit::Removed : BandEdit::Added;
}

ConnectPress ConnectToolPress(EditSession& session, LayoutDocument& doc, long& startPad, long highlighted)
{
    ConnectPress press;
    if (highlighted < 0)
        return press;
    if (startPad < 0) {
        startPad = highlighted;
        press.edit = BandEdit::Started;
        return press;
    }
    if (highlighted == startPad)
        return press;
    press.edit = ToggleBand(session, doc, static_cast<size_t>(startPad), static_cast<size_t>(highlighted),
                            &press.change);
    startPad = -1;
    return press;
}

} // namespace kestrel
