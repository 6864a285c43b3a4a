#include "view/gui/PainterSink.h"

#include "view/gui/LabelPainter.h"

#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace kestrel {

namespace {

QPen roundPen(const QColor& colour, int32_t widthUnits)
{
    return QPen(colour, std::max(0, widthUnits), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPen squarePen(const QColor& colour, int32_t widthUnits)
{
    return QPen(colour, std::max(0, widthUnits), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

QPen cosmeticPen(const QColor& colour, int widthPx)
{
    QPen pen(colour, widthPx <= 1 ? 0 : widthPx);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

PainterSink::PainterSink(QPainter& painter)
    : painter_(painter), pxPerUnit_(deviceScale(painter)), area_(visibleArea(painter))
{
}

void PainterSink::fillRect(const QRectF& units, const QColor& colour)
{
    painter_.fillRect(units, colour);
}

void PainterSink::fillDisc(const QPointF& centre, double radius, const QColor& colour)
{
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(colour);
    painter_.drawEllipse(centre, radius, radius);
}

void PainterSink::fillRoundedRect(const QRectF& units, double cornerRadius, const QColor& colour)
{
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(colour);
    painter_.drawRoundedRect(units, cornerRadius, cornerRadius);
}

void PainterSink::fillPolygon(const QPointF* points, int count, const QColor& colour)
{
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(colour);
    painter_.drawPolygon(points, count, Qt::OddEvenFill);
}

void PainterSink::rimmedDisc(const QPointF& centre, double radius, const QColor& fill, const QColor& rim)
{
    painter_.setPen(cosmeticPen(rim, 1));
    painter_.setBrush(fill);
    painter_.drawEllipse(centre, radius, radius);
}

void PainterSink::hairlines(const QLineF* lines, int count, int widthPx, const QColor& colour)
{
    painter_.setPen(cosmeticPen(colour, widthPx));
    painter_.drawLines(lines, count);
}

void PainterSink::strokePolyline(const QPointF* points, int count, bool closed, int32_t widthUnits,
                                 const QColor& colour)
{
    if (isThin(widthUnits)) {
        segments_.clear();
        for (int i = 1; i < count; ++i)
            segments_.emplace_back(points[i - 1], points[i]);
        if (closed && count > 2)
            segments_.emplace_back(points[count - 1], points[0]);
        // The painter leaves out pens narrower than a pixel; a stroke is at
        // least one pixel wide.
        painter_.setPen(widthUnits * pxPerUnit_ < 1 ? cosmeticPen(colour, 1) : squarePen(colour, widthUnits));
    } else {
        wideSegments(points, count, closed, widthUnits);
        painter_.setPen(roundPen(colour, widthUnits));
    }
    // The painter draws nothing for a segment of no length, and the stroke
    // font's dots are such segments: a step far below a pixel gives them
    // their caps, a dot as wide as the pen.
    const double step = 1.0 / (64 * pxPerUnit_);
    for (QLineF& s : segments_)
        if (s.p1() == s.p2())
            s.setP2(s.p1() + QPointF(step, 0));
    if (!segments_.empty())
        painter_.drawLines(segments_.data(), static_cast<int>(segments_.size()));
}

void PainterSink::strokeArc(const QPointF& centre, double radius, int startDegrees, int spanDegrees,
                            int32_t widthUnits, bool chord, const QColor& colour)
{
    // The painter's arc leaves the middle out when the pen reaches over the
    // centre (the clearance of a ring with a small hole); chords do not.
    if (isThin(widthUnits) || widthUnits >= 2 * radius) {
        strokeFlattenedArc(centre, radius, startDegrees, spanDegrees, widthUnits, chord, colour);
        return;
    }
    // Qt counts arc angles in its y-down frame; the board's y points up.
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    painter_.setPen(roundPen(colour, widthUnits));
    if (chord) {
        painter_.setBrush(colour);
        painter_.drawChord(box, -startDegrees * 16, -spanDegrees * 16);
    } else {
        painter_.setBrush(Qt::NoBrush);
        painter_.drawArc(box, -startDegrees * 16, -spanDegrees * 16);
    }
}

void PainterSink::label(const LayoutObject& text, const QColor& colour)
{
    drawLabel(painter_, text, colour);
}

const std::vector<QLineF>& PainterSink::wideSegments(const QPointF* points, int count, bool closed,
                                                     int32_t widthUnits)
{
    const double margin = widthUnits / 2.0 + 2.0 / pxPerUnit_;
    segmentsInside(points, count, closed, area_.adjusted(-margin, -margin, margin, margin), segments_);
    return segments_;
}

void PainterSink::strokeFlattenedArc(const QPointF& centre, double radius, int startDegrees, int spanDegrees,
                                     int32_t widthUnits, bool chord, const QColor& colour)
{
    arcCorners(centre, radius, startDegrees, spanDegrees, pxPerUnit_, arc_);
    const int count = static_cast<int>(arc_.size());
    if (chord)
        fillPolygon(arc_.data(), count, colour);
    strokePolyline(arc_.data(), count, chord, widthUnits, colour);
}

void PainterSink::image(const QRectF& units, const QImage& image)
{
    // Turned upright about the upper edge, so the image's first row lies there.
    const QTransform saved = painter_.transform();
    painter_.translate(units.left(), units.bottom());
    painter_.scale(1, -1);
    painter_.drawImage(QRectF(0, 0, units.width(), units.height()), image);
    painter_.setTransform(saved);
}

} // namespace kestrel
