#pragma once
// The test tool (tool 8): a left press shows the copper joined to the object
// under the pointer as the selection, drawn in the selection colour. The
// selection stays until the next action changes it (another press, a tool
// change, a command); nothing is added to the undo history.
//
// On a left press at the unsnapped board point p of the pointer, as a click
// picks objects:
//     const ConnectionTestResult r = TestConnectionAt(objects, view.objectIndex(), doc.Working, p);
//     if (r.change.repaint) view.invalidateBoardRect(*r.change.repaint);
// then bring the command states up to date. Movement and release do nothing.

#include "edit/BoardChange.h"
#include "model/Board.h"
#include "view/ObjectIndex.h"

namespace kestrel {

struct ConnectionTestResult {
    long picked = -1;     // the object under the pointer, -1 for none
    size_t connected = 0; // objects selected afterwards
    BoardChange change;   // every object whose selection changed
};

// Picks the object at p as a click does (pickable layers, pads first) and
// selects exactly the copper joined to it, one object at a time without
// their groups. A press on empty board or on silk only clears the selection.
// The index must be built from `objects`.
ConnectionTestResult TestConnectionAt(ObjectList& objects, const ObjectIndex& index, const BoardSettings& view,
                                      Point p);

} // namespace kestrel
