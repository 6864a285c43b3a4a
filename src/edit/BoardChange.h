#pragma once
// What one step of a pointer tool changed on the board, for repainting: the
// union of the changed objects' drawn areas in board units. The window hands
// `repaint` to BoardView::invalidateBoardRect.

#include "model/ObjectList.h"

#include <optional>
#include <vector>

namespace kestrel {

struct BoardChange {
    std::optional<Rect> repaint; // none when nothing on the board changed

    // An object's drawn area: its bounding rectangle, a zone's outline pen
    // around it, and for a pad the pads its rubber bands lead to, since a
    // band is drawn between the two centres and changes colour with them.
    void include(const LayoutObject& o);
    void include(const Rect& r);
    void include(const BoardChange& other);
};

// The Selected flag of every object, to compare with after a step.
std::vector<uint8_t> SelectionFlags(const ObjectList& list);

// The objects whose Selected differs from `before`; objects appended since
// count when they are selected.
BoardChange SelectionChange(const ObjectList& list, const std::vector<uint8_t>& before);

} // namespace kestrel
