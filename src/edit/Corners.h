#pragma once
// Editing single corners of tracks and zones: the corner menu of the edit
// tool. Object and corner are list and point positions; a call whose
// positions do not name a corner the command is offered for changes nothing
// and returns false.

#include "edit/EditSession.h"
#include "model/LayoutDocument.h"

#include <optional>
#include <span>
#include <vector>

namespace kestrel {

// A closed outline (a zone, or a track whose last point repeats its first)
// holds its first corner twice: the other end's position when k is one of
// its ends. Both ends are the one corner a handle shows.
std::optional<size_t> ClosingTwin(const LayoutObject& o, size_t k);
// Whether corner k may go: a track keeps two points, a zone an area.
bool CornerRemovable(const LayoutObject& o, size_t k);

// The object's points with corner k (and its closing twin) at p.
std::vector<Point> withCornerAt(const LayoutObject& o, size_t k, Point p);
// Whether these points keep the object sound: a zone must enclose an area.
bool keepsItsArea(const LayoutObject& o, std::span<const Point> pts);
// Whether p is where a neighbour of zone corner k lies: moved there, the
// corner would double that point, an edge of no length.
bool zoneCornerOntoNeighbour(const LayoutObject& o, size_t k, Point p);

// Inserts a corner before corner k, snapped to the grid: halfway to the
// previous corner, or 2.54 mm left of and above the first one (right of or
// below it at the board's edge); unsnapped where the grid point is a
// neighbour. Nothing when it would lie on a neighbour or leave a zone
// without area.
bool AddCorner(LayoutDocument& doc, size_t object, size_t k);
// Removes corner k when CornerRemovable; the end of a closed outline goes
// with its twin, and the outline closes on the next corner.
bool RemoveCorner(LayoutDocument& doc, size_t object, size_t k);
// Puts corner k on the grid; nothing when it is there already, or a zone
// would be left without area or with a corner doubled.
bool CornerToGrid(LayoutDocument& doc, size_t object, size_t k);

// Splits a track at inner corner k: it keeps corners 0..k, and a new track
// appended to the list runs from its former last corner back to corner k,
// with the original's width, layer and clearance. Takes an undo snapshot.
bool SplitTrack(EditSession& session, LayoutDocument& doc, size_t object, size_t k);

} // namespace kestrel
