#pragma once
// Stroke geometry both figure sinks share. Pens have round ends and joins;
// but where a stroke is at most a few device pixels wide the round ends
// cannot be told from square ones, so such strokes are drawn as
// square-ended segments, which cost far less: board overviews draw tens of
// thousands of them. Wide strokes are cut to the painted area first, and
// arcs that are not left to the painter are flattened to corners.

#include <QLineF>
#include <QPointF>
#include <QRectF>

#include <vector>

class QPainter;

namespace kestrel {

// Up to this device width strokes are drawn as square-ended segments.
constexpr double kThinStrokePx = 3.0;

// Device pixels per board unit of the painter's current transform.
double deviceScale(const QPainter& painter);

// The painted area in logical coordinates: the clip, else the device; all
// of the plane on a device without size (a picture being recorded).
QRectF visibleArea(const QPainter& painter);

// The segments between consecutive points, and back to the first when
// closed, each cut to `area`; segments missing it are left out.
void segmentsInside(const QPointF* points, int count, bool closed, const QRectF& area, std::vector<QLineF>& out);

// Corners along an arc of the circle around centre, counter-clockwise in
// board coordinates from startDegrees over spanDegrees, the chords no
// further than a quarter pixel from the arc at pxPerUnit.
void arcCorners(const QPointF& centre, double radius, int startDegrees, int spanDegrees, double pxPerUnit,
                std::vector<QPointF>& out);

} // namespace kestrel
