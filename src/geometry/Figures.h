#pragma once
// The figure rules of pads, circles and clearances, written once: the
// screen, the printer, the ground plane and the Gerber export all size and
// shape their figures from here, so they agree to the unit.

#include "geometry/CapsuleOverlap.h"
#include "geometry/Region.h"
#include "model/LayoutObject.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kestrel {

// Half extents of a pad grown by e: every half extent grows by e once, so
// across the pad it is R + e and along an elongated pad 2R + e.
struct PadExtents {
    int32_t across = 0; // R + e
    int32_t along = 0;  // 2R + e (elongated shapes only)
    int32_t halfX = 0;  // extents in x and y by shape
    int32_t halfY = 0;
};
PadExtents padExtents(const LayoutObject& pad, int32_t e);

// The corner cut of an octagon whose smaller half extent is halfMin:
// halfMin x 0.585, the factor in extended precision (its nearest value lies
// a little below 0.585, so 100 gives 58), rounded half to even.
int32_t octagonCut(int32_t halfMin);
// The corners of an octagon with half extents hw and hh around c, starting
// at the lower end of its left edge and running clockwise on the screen.
std::array<Point, 8> octagonCorners(Point c, int32_t hw, int32_t hh);

// The corner diameter of a rounded rectangle whose smaller half extent is
// halfMin: halfMin x 1.5, rounded half to even.
int32_t roundedCornerDiameter(int32_t halfMin);

enum class PadFigureKind : uint8_t { None, Disc, Rectangle, Octagon, RoundedRectangle };

// One pad's figure: what every drawing of a pad draws.
struct PadFigure {
    PadFigureKind kind = PadFigureKind::None;
    Point centre;
    int32_t halfX = 0, halfY = 0; // a disc's radius in both
    // The octagon's corner cut or the rounded rectangle's corner diameter.
    int32_t corner = 0;
};
// The figure of a pad grown by e; shapes outside 1..9 have none.
PadFigure padFigure(const LayoutObject& pad, int32_t e);
// The area a figure covers. A rounded rectangle is its rectangle inset by
// half the corner diameter (whole units) and stroked with a round pen of that
// diameter, as the Gerber file draws it.
Region figureRegion(const PadFigure& figure);
// Bounds of the polygon figureRegion makes, for quick overlap answers; none
// for an octagon or a figure too large or far out for them.
std::optional<FigureBounds> figureBounds(const PadFigure& figure);
// The area of a pad grown by e.
inline Region grownPadRegion(const LayoutObject& pad, int32_t e) { return figureRegion(padFigure(pad, e)); }

// Pen width of a line, track or zone outline grown by c on both sides.
inline int32_t grownPenWidth(const LayoutObject& o, int32_t c) { return o.widthUnits() + 2 * c; }

// The stroke of a circle, ring or arc grown by c: pen width R - h + 2c on
// the centre-line radius R - round(width / 2) + c, so the ring grows by c
// on both sides. An inner radius beyond the outer one gives no pen width.
struct ArcStroke {
    int32_t widthUnits = 0;
    int32_t centreRadius = 0;
};
ArcStroke arcStroke(const LayoutObject& circle, int32_t c);

// The arc's span in degrees, counter-clockwise from start to stop, 1..360:
// equal angles give the full circle.
int32_t arcSpanDegrees(const LayoutObject& circle);
// Whether start and stop are one angle (0 and 360 too, as a file may hold
// them): the whole ring, or the whole disc when filled.
inline bool isWholeCircle(const LayoutObject& circle)
{
    return arcSpanDegrees(circle) == 360;
}

// A point of a circle's centre line at a whole-degree angle, the angle
// taken in single-precision radians and each component rounded.
Point arcStrokePoint(Point centre, int32_t radius, int32_t angleDegrees);

// The area an object keeps free of a ground plane: its outline grown by its
// own clearance. A label's box grows by it too.
Region clearanceRegion(const LayoutObject& o);

} // namespace kestrel
