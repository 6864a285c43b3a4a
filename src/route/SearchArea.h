#pragma once
// The cell rectangles the router searches: the window around all objects and
// the growing box around the start and target cells.

#include "model/ObjectList.h"
#include "route/Wave.h"

#include <string>

namespace kestrel {

// The union of the objects' bounding rectangles in cells, widened by 10
// cells and kept within 0..W, 0..H.
CellRect SearchWindow(const ObjectList& objects, int32_t cellSize, WaveArea area);

// The first box: the rectangle of both cells taken to tens, then 10 cells
// more on every side.
CellRect SearchBox(CellPos start, CellPos target);

// Each edge of the box clamped into the window's range.
CellRect ClampInto(const CellRect& box, const CellRect& window);

CellRect Grown(const CellRect& box, int cells);

// The box in board units, for showing it on the board.
Rect BoxOnBoard(const CellRect& box, int32_t cellSize);

// The status text of an attempt: "left/top right/bottom" in whole millimetres.
std::string BoxText(const CellRect& box, int32_t cellSize);

} // namespace kestrel
