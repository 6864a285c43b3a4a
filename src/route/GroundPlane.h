#pragma once
// Ground-plane clearance arithmetic: how far each object's outline grows so
// that a ground plane keeps its clearance free. The screen clearance drawing
// and the Gerber export both size their figures from here; the solder mask
// uses the same pad rule with its own enlargement.

#include "model/Board.h"
#include "model/LayoutObject.h"
#include "view/Geometry.h"
#include "view/LayerSwitches.h" // groundPlaneOn

#include <cstdint>

namespace kestrel {

// Pen width of a line, track or zone outline grown by c on both sides.
int32_t grownPenWidth(const LayoutObject& o, int32_t c);

// Half extents of a pad grown by e: every half extent grows by e once, so
// across the pad it is R + e and along an elongated pad 2R + e.
struct PadExtents {
    int32_t across = 0; // R + e
    int32_t along = 0;  // 2R + e (elongated shapes only)
    int32_t halfX = 0;  // extents in x and y by shape
    int32_t halfY = 0;
};
PadExtents grownPadExtents(const LayoutObject& pad, int32_t e);

// The stroke of a circle, ring or arc grown by c: pen width R - h + 2c on
// the centre-line radius R - round(width / 2) + c, so the ring grows by c
// on both sides.
struct ArcStroke {
    int32_t widthUnits = 0;
    int32_t centreRadius = 0;
};
ArcStroke grownArcStroke(const LayoutObject& circle, int32_t c);

// A point of a circle's centre line at a whole-degree angle, the angle
// taken in single-precision radians and each component rounded.
Point arcStrokePoint(Point centre, int32_t radius, int32_t angleDegrees);

// The area of a pad grown by e, in the figures the Gerber export draws:
// circle, rectangle, octagon with its corner cut, rounded rectangle.
Region grownPadRegion(const LayoutObject& pad, int32_t e);

// The area an object keeps free of a ground plane: its outline grown by its
// own clearance. A label's box grows by it too; only the screen cuts that gap.
Region clearanceRegion(const LayoutObject& o);

// The copper a ground plane puts on a copper layer: the board minus the
// clearance area of every object of the layer. Labels cut a gap only when
// asked (the screen does, Gerber files do not).
Region groundPlaneRegion(const ObjectList& objects, const BoardSettings& settings, int layer,
                         bool labelsCutGaps = false);

} // namespace kestrel
