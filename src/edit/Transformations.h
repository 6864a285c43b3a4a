#pragma once
// The commands that move, turn, mirror and align the active board's
// selection. Each marks the document modified; all but the arrow-key nudge
// take an undo snapshot first, even on an empty selection.

#include "edit/EditSession.h"
#include "model/LayoutDocument.h"

namespace kestrel {

// The displacement of a move drag: limited so that pressRect (the
// selection's bounds at the press) goes no further past the board's edges
// than it lies (its x from 0 to the width, its smallest y no lower than minus
// the height and its largest y no higher than 0), then snapped to the grid
// when asked, never past an edge it stopped at.
Point ClampMoveDelta(const Rect& pressRect, Point delta, const BoardSettings& board, bool snap);
// The grid move that brings a selection with these bounds onto the board, or
// over the whole board along an axis where it is larger.
Point BackOntoBoard(const Rect& bounds, const BoardSettings& board);
// For objects from `first` on that cannot all lie on the board: the grid
// move nearest where they are that keeps a part of each on it, since the
// next save drops an object wholly off. (0, 0) when none is wholly off, or
// when no move keeps every one.
Point KeepEachOnBoard(const ObjectList& list, size_t first, const BoardSettings& board);

// Moves every selected object by the delta (already clamped by the caller).
void ApplyMove(EditSession& session, LayoutDocument& doc, Point delta);

enum class NudgeDirection : uint8_t { Left, Right, Up, Down };
// The arrow keys: one grid step (one unit when fine), no snapshot, no clamp.
void NudgeSelection(LayoutDocument& doc, NudgeDirection direction, bool fine);

// About the grid point nearest the centre of the selection's bounds, then
// moved back onto the board where the change took objects off it. False,
// with nothing changed, when the changed selection cannot lie on the board.
bool RotateSelection(EditSession& session, LayoutDocument& doc);
bool MirrorHorizontal(EditSession& session, LayoutDocument& doc);
bool MirrorVertical(EditSession& session, LayoutDocument& doc);

// Puts the selection on the grid: a group moves rigidly so that its first
// object's reference point lands on the grid; a single line has both ends
// snapped; other objects move so that their first point lands on the grid.
void AlignToGrid(EditSession& session, LayoutDocument& doc);

} // namespace kestrel
