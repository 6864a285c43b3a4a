#pragma once
// The connect tool (tool 9): the pad under the pointer is highlighted (it
// is selected while the pointer is over it); a press on one pad and then on
// another draws a rubber band between them, or removes the band when the
// two already have one. Each added or removed band is one undo step.
//
// The pointer state keeps two pad indices, HighlightedPad and StartPad, both
// -1 when the tool is chosen, and whether the highlight selected the pad.
// With `view` the board view and `raw` the unsnapped board point of the
// pointer:
//   move:  pad = PadForConnecting(view.objectIndex(), doc.Working, raw);
//          change = HighlightPadForConnecting(objects, HighlightedPad, pad, selectedByHighlight);
//          repaint change.repaint; while StartPad >= 0 draw the dotted line
//          from the start pad's centre to raw (the tool's own preview).
//   left press: r = ConnectToolPress(session, doc, StartPad, HighlightedPad);
//          repaint r.change.repaint and update the command states when
//          r.edit is Added or Removed.
//   right press: with StartPad >= 0 erase the line and set StartPad = -1,
//          otherwise return to the edit tool.

#include "edit/BoardChange.h"
#include "edit/EditSession.h"
#include "model/LayoutDocument.h"
#include "view/ObjectIndex.h"

namespace kestrel {

// The pad under the board point as a click finds it, -1 when the object
// there is not a pad or there is none. The index must be built from the list.
long PadForConnecting(const ObjectIndex& index, const BoardSettings& view, Point p);

// Moves the highlight from `highlighted` to `pad` (-1: no pad under the
// pointer): the new pad is selected, with its via partner and group as a
// click selects, and the old one deselected. A pad the user had selected
// already stays so: `selectedByHighlight` says whether the highlight
// selected `highlighted`, and only such a pad is deselected again. Sets
// `highlighted` to `pad`. Nothing changes while the pointer stays on the
// same pad, unless it was deselected meanwhile: it is shown again.
BoardChange HighlightPadForConnecting(ObjectList& objects, long& highlighted, long pad, bool& selectedByHighlight);

enum class BandEdit : uint8_t {
    None,    // nothing happened
    Started, // the highlighted pad became the start pad
    Added,
    Removed,
};

// Removes the band between pads a and b of the active board when they have
// one, otherwise adds it; one undo step either way. None (and no step) when
// a or b is not a pad of the active board or a == b. `change` receives the
// area of both pads and the band between them.
BandEdit ToggleBand(EditSession& session, LayoutDocument& doc, size_t a, size_t b, BoardChange* change = nullptr);

struct ConnectPress {
    BandEdit edit = BandEdit::None;
    BoardChange change;
};

// A left press of the connect tool. Without a start pad the highlighted pad
// (if any) becomes the start. With one and another pad highlighted, the band
// between them is toggled and the start is cleared. A press on the start pad
// itself or away from pads changes nothing.
ConnectPress ConnectToolPress(EditSession& session, LayoutDocument& doc, long& startPad, long highlighted);

} // namespace kestrel
