#include "view/gui/Strokes.h"

#include "view/gui/PixelLines.h"

#include <QLineF>
#include <QPainter>
#include <QPaintDevice>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kestrel {

namespace {

// Up to this device width strokes are drawn as square-ended segments.
constexpr double kThinStrokePx = 3.0;

bool isThin(const QPainter& painter, int32_t widthUnits)
{
    return widthUnits * deviceScale(painter) <= kThinStrokePx;
}

QPen roundPen(const QColor& colour, int32_t widthUnits)
{
    return QPen(colour, std::max(0, widthUnits), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPen squarePen(const QColor& colour, int32_t widthUnits)
{
    return QPen(colour, std::max(0, widthUnits), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

std::vector<QLineF>& segmentBuffer()
{
    thread_local std::vector<QLineF> buffer;
    return buffer;
}

// Thin strokes: square-ended segments, written into the pixels directly
// where the painter allows it.
void drawThinSegments(QPainter& painter, const QColor& colour, int32_t widthUnits, const QPointF* points, int count,
                      bool closed)
{
    if (auto pixels = PixelLines::forPainter(painter, colour)) {
        pixels->drawPolyline(points, count, closed, widthUnits * deviceScale(painter));
        return;
    }
    std::vector<QLineF>& lines = segmentBuffer();
    lines.clear();
    for (int i = 1; i < count; ++i)
        lines.emplace_back(points[i - 1], points[i]);
    if (closed && count > 2)
        lines.emplace_back(points[count - 1], points[0]);
    painter.setPen(squarePen(colour, widthUnits));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

// The painted area in logical coordinates: the clip, else the device.
QRectF visibleArea(const QPainter& painter)
{
    if (painter.hasClipping())
        return painter.clipBoundingRect();
    const QPaintDevice* device = painter.device();
    return painter.deviceTransform().inverted().mapRect(QRectF(0, 0, device->width(), device->height()));
}

// Cuts a segment to a rectangle (Liang-Barsky); false when nothing is left.
bool clipSegment(QLineF& line, const QRectF& r)
{
    const double dx = line.dx(), dy = line.dy();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {line.x1() - r.left(), r.right() - line.x1(), line.y1() - r.top(), r.bottom() - line.y1()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF a = line.pointAt(t0), b = line.pointAt(t1);
    line = QLineF(a, b);
    return true;
}

// Wide strokes: round-ended segments, which together give the round joins
// of a polyline. Each is first cut to the painted area widened by the pen,
// so a long track crossing a small repaint rectangle costs only its part.
void drawWideSegments(QPainter& painter, const QColor& colour, int32_t widthUnits, const QPointF* points, int count,
                      bool closed)
{
    const double margin = widthUnits / 2.0 + 2.0 / deviceScale(painter);
    const QRectF area = visibleArea(painter).adjusted(-margin, -margin, margin, margin);
    std::vector<QLineF>& lines = segmentBuffer();
    lines.clear();
    auto add = [&](QPointF a, QPointF b) {
        QLineF line(a, b);
        if (clipSegment(line, area))
            lines.push_back(line);
    };
    for (int i = 1; i < count; ++i)
        add(points[i - 1], points[i]);
    if (closed && count > 2)
        add(points[count - 1], points[0]);
    if (lines.empty())
        return;
    if (auto pixels = PixelLines::forPainter(painter, colour); pixels && pixels->keepsCircles()) {
        const double widthPx = widthUnits * pixels->scaleX();
        for (const QLineF& line : lines)
            pixels->fillCapsule(line, widthPx);
        return;
    }
    painter.setPen(roundPen(colour, widthUnits));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

void drawSegments(QPainter& painter, const QColor& colour, int32_t widthUnits, const QPointF* points, int count,
                  bool closed)
{
    if (isThin(painter, widthUnits))
        drawThinSegments(painter, colour, widthUnits, points, count, closed);
    else
        drawWideSegments(painter, colour, widthUnits, points, count, closed);
}

// The inside of a closed outline, by the odd-even rule.
void fillOutline(QPainter& painter, const QColor& colour, const QPointF* points, int count)
{
    if (auto pixels = PixelLines::forPainter(painter, colour)) {
        pixels->fillPolygon(points, count);
        return;
    }
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(points, count);
}

std::vector<QPointF>& arcBuffer()
{
    thread_local std::vector<QPointF> buffer;
    return buffer;
}

} // namespace

double deviceScale(const QPainter& painter)
{
    return std::sqrt(std::abs(painter.deviceTransform().determinant()));
}

void strokeLine(QPainter& painter, const QColor& colour, int32_t widthUnits, const QPointF& a, const QPointF& b)
{
    const QPointF ends[2] = {a, b};
    drawSegments(painter, colour, widthUnits, ends, 2, false);
}

void strokePolyline(QPainter& painter, const QColor& colour, int32_t widthUnits, const QPointF* points, int count)
{
    drawSegments(painter, colour, widthUnits, points, count, false);
}

void fillPolygon(QPainter& painter, const QColor& colour, int32_t widthUnits, const QPointF* points, int count)
{
    fillOutline(painter, colour, points, count);
    drawSegments(painter, colour, widthUnits, points, count, true);
}

void strokeArc(QPainter& painter, const QColor& colour, int32_t widthUnits, const QPointF& centre, double radius,
               int startDegrees, int spanDegrees, bool chord)
{
    const double scale = deviceScale(painter);
    const auto pixels = PixelLines::forPainter(painter, colour);
    if (!isThin(painter, widthUnits) && !(pixels && pixels->keepsCircles())) {
        // Qt counts arc angles in its y-down frame; the board's y points up.
        const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        painter.setPen(roundPen(colour, widthUnits));
        if (chord) {
            painter.setBrush(colour);
            painter.drawChord(box, -startDegrees * 16, -spanDegrees * 16);
        } else {
            painter.setBrush(Qt::NoBrush);
            painter.drawArc(box, -startDegrees * 16, -spanDegrees * 16);
        }
        return;
    }
    // Chords of the arc no further than a quarter pixel from it.
    const double radiusPx = std::max(radius * scale, 0.5);
    const double stepRad = 2 * std::acos(std::max(-1.0, 1 - 0.25 / radiusPx));
    const double spanRad = spanDegrees * M_PI / 180;
    const int steps = std::clamp(static_cast<int>(std::ceil(spanRad / stepRad)), 2, 720);
    std::vector<QPointF>& pts = arcBuffer();
    pts.clear();
    const double startRad = startDegrees * M_PI / 180;
    for (int i = 0; i <= steps; ++i) {
        const double a = startRad + spanRad * i / steps;
        pts.emplace_back(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
    }
    const int count = static_cast<int>(pts.size());
    if (chord)
        fillOutline(painter, colour, pts.data(), count);
    drawSegments(painter, colour, widthUnits, pts.data(), count, chord);
}

} // namespace kestrel
