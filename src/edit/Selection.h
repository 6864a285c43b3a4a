#pragma once
// The selection is the Selected flag of the active board's objects. Selecting
// an object selects its whole outermost group and its via partner with it.

#include "model/Board.h"
#include "view/Viewport.h"

#include <optional>
#include <vector>

namespace kestrel {

// A layer can be picked when it is visible and on the active side; the macro
// layers 5 and 6 count as visible.
bool IsPickable(const BoardSettings& view, int layer);

// Sets object i's state together with its via partner and with every object
// sharing its outermost group (and their partners). Returns whether anything
// changed.
bool SelectObject(ObjectList& list, size_t i, bool state);

// Selects the objects at the positions as SelectObject does, in one pass
// over the list however many of them are grouped.
void SelectObjects(ObjectList& list, const std::vector<uint32_t>& positions);

void DeselectAll(ObjectList& list);

// Selects every object on a pickable layer (with its group and partner).
void SelectAll(ObjectList& list, const BoardSettings& view);

size_t SelectedCount(const ObjectList& list);

// Union of the bounding rectangles of the selected objects; none when
// nothing is selected.
std::optional<Rect> SelectionBounds(const ObjectList& list);

// The rubber bands of the selected pads as pieces of at most 10 mm, each
// with its own rectangle: a long slanted band then repaints a strip along
// itself instead of the box it spans.
void SelectedBandPieces(const ObjectList& list, std::vector<Rect>& out);

// The pixels to repaint after the object changed (its bounding rectangle on
// the screen with a margin for pens and zone outlines).
PixelRect InvalidateObject(const Viewport& viewport, const LayoutObject& o);

} // namespace kestrel
