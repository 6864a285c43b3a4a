#pragma once
// Moving, turning and mirroring single objects about a point. Turns and
// mirrors keep the stored conventions: a line's end points in canonical
// order, a circle's arc counter-clockwise from start to stop, pad shapes
// swapped between their horizontal and vertical forms.

#include "model/Board.h"
#include "model/LayoutObject.h"

namespace kestrel {

void MoveObject(LayoutObject& o, int32_t dx, int32_t dy);

// A quarter turn clockwise as seen on the screen (y upwards) about c.
void RotateObject(LayoutObject& o, Point c);
// Left and right exchanged about the vertical line x = cx.
void MirrorObjectHorizontal(LayoutObject& o, int32_t cx);
// Top and bottom exchanged about the horizontal line y = cy.
void MirrorObjectVertical(LayoutObject& o, int32_t cy);

// The pad shape after a quarter turn: horizontal and vertical forms swap.
uint8_t RotatedPadShape(uint8_t shape);

// The centre of a selection's bounds (rounded towards the lower left) moved
// to the nearest grid point on the board: turns and mirrors always pivot on
// the grid, and never about a point beyond the edge.
Point TransformationCentre(const Rect& bounds, const BoardSettings& board);

} // namespace kestrel
