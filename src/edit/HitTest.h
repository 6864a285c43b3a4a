#pragma once
// Finding objects under the pointer and inside a selection frame, through
// the spatial index of the active board's objects.

#include "model/Board.h"
#include "view/ObjectIndex.h"

namespace kestrel {

// Whether the board point lies inside the object's drawn shape (edge
// included).
bool HitsDrawnShape(const LayoutObject& o, Point p);

// The list position of the object under the board point p, -1 for none.
// Only pickable layers count, and only objects whose bounding rectangle
// holds p (left <= x < right, top <= y < bottom). A corner of a selected
// track or zone wins at once; otherwise pads win over every other kind, any
// kind over circles, and among equals the one drawn on top (latest in the
// list). The index must be built from the current list.
long FindObjectAt(const ObjectIndex& index, const BoardSettings& view, Point p);

// Whether a selection frame (board rectangle, normalised) touches the
// object: zones, circles and tracks by their drawn shape, the other kinds by
// their bounding rectangle. Touching only along an edge does not count.
bool TouchesFrame(const LayoutObject& o, const Rect& frame);

// Adds every pickable object the frame with corners a and b touches to the
// selection (with groups and partners); never deselects. The index must be
// built from list.
void SelectInFrame(ObjectList& list, const ObjectIndex& index, const BoardSettings& view, Point a, Point b);

} // namespace kestrel
