#pragma once
// The pointer state of the board view: the active tool and what a press
// has begun, in board units. One instance per window; the command-line tool
// keeps one per run.

#include "model/Types.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kestrel {

enum class ToolMode : uint8_t {
    Edit = 0,
    Track = 1,
    Pad = 2,
    Zoom = 3,
    Text = 4,
    Zone = 5,
    Circle = 6,
    TrackText = 7,
    Test = 8,
    Connect = 9,
    Polygon = 10,
    AutoRoute = 11,
};

enum class PointerButton : uint8_t { Left, Right, Middle };

// The modifier keys held with a pointer event or a key.
struct PointerKeys {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool left = false; // the left button is held
};

enum class PointerKey : uint8_t { Space, Delete, Escape };

struct PointerState {
    bool Pressed = false;  // an operation begun by a left press runs
    bool Moving = false;   // edit tool: the press hit an object, a drag moves the selection
    bool NodeDrag = false; // edit tool: the press hit a corner of a selected ungrouped track or zone
    Point AnchorPoint;     // last fixed point: previous corner, frame or drag start
    Point CurrentPoint;    // the point the previews follow
    Point ClickPoint;      // snapped point of the latest left press
    Point BendCorner;      // intermediate corner of the segment being drawn
    int BendMode = 0;      // 0..4, kept across tracks
    long NodeObject = -1;  // corner drag or corner menu: object and corner
    long NodeIndex = -1;
    Point MoveDelta;           // clamped displacement of a move drag
    bool MoveUnsnapped = false; // Ctrl was held when the move outline first showed
    Rect PressRect;             // selection bounds at the press that starts a move
    long HighlightedPad = -1;
    bool HighlightSelected = false; // the connect tool selected HighlightedPad to show it
    long StartPad = -1;
    int LabelCounter = 0;
};

// The intermediate corner of the segment from a to c in a bend mode: 0 a
// straight leg then 45 degrees, 1 the reverse, 2 vertical first, 3
// horizontal first, 4 none (the corner is c itself).
Point BendCornerOf(Point a, Point c, int bendMode);

// Whether a zone's corners enclose an area: at least minPoints of them, not
// all on one line.
bool ZoneSpansArea(std::span<const Point> pts, size_t minPoints);

} // namespace kestrel
