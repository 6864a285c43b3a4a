#pragma once
// Strokes in board units. Pens have round ends and joins; but where a
// stroke is at most a few device pixels wide the round ends cannot be told
// from square ones, so such strokes are drawn as square-ended segments,
// which cost far less. Board overviews draw tens of thousands of them.
// Into a 32-bit image both kinds are written as pixels (PixelLines); on
// other devices the painter draws them.

#include <QColor>
#include <QPointF>

class QPainter;

namespace kestrel {

// Device pixels per board unit of the painter's current transform.
double deviceScale(const QPainter& painter);

void strokeLine(QPainter& painter, const QColor& colour, int32_t widthUnits, const QPointF& a, const QPointF& b);
void strokePolyline(QPainter& painter, const QColor& colour, int32_t widthUnits, const QPointF* points, int count);
// A filled polygon outlined by a wide pen (the fill rule is odd-even).
void fillPolygon(QPainter& painter, const QColor& colour, int32_t widthUnits, const QPointF* points, int count);
// An arc of the circle around centre, counter-clockwise in board
// coordinates from startDegrees over spanDegrees; with `chord` the figure is
// closed by its chord and filled.
void strokeArc(QPainter& painter, const QColor& colour, int32_t widthUnits, const QPointF& centre, double radius,
               int startDegrees, int spanDegrees, bool chord);

} // namespace kestrel
