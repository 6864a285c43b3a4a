#pragma once
// Dropping a macro onto the active board: where its reference point lands
// and the objects it adds, as one group and one undo step.

#include "edit/EditSession.h"
#include "model/LayoutDocument.h"

namespace kestrel {

// Where the macro's reference point lands for the pointer at `boardPoint`:
// snapped to the grid and kept on the board rectangle (0..width,
// -height..0), then, for a macro reaching past an edge from there, moved
// back in grid steps until all of it lies on the board, as a paste is. The
// drag's outline and the drop both use it, so the part lands where it showed.
Point MacroDropPoint(const ObjectList& macro, Point boardPoint, const BoardSettings& board);

// Appends the macro's objects with its reference point at `at`: selected,
// on the active side (copper 5 and silk 6 become layers 1 and 2, or 3 and 4
// when side 2 is active), their groups shifted past the board's, together
// one new outermost group unless they already share one. A pad saved as a
// via gets its partner made anew; no pad keeps a partner or a band from
// the file. Takes the undo snapshot first. Returns the number of objects
// added, via partners included.
size_t DropMacro(EditSession& session, LayoutDocument& doc, ObjectList& macro, Point at);

} // namespace kestrel
