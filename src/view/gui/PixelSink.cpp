#include "view/gui/PixelSink.h"

#include <algorithm>

namespace kestrel {

namespace {
constexpr double kSmallCurvePx = 32.0;
} // namespace

PixelSink::PixelSink(QPainter& painter, const PixelLines& writer) : PainterSink(painter), writer_(writer) {}

PixelLines* PixelSink::pixels(const QColor& colour)
{
    if (colour.alpha() != 255)
        return nullptr;
    writer_.setColour(colour);
    return &writer_;
}

bool PixelSink::smallCurve(double extentUnits) const
{
    return extentUnits * pxPerUnit_ <= kSmallCurvePx;
}

void PixelSink::fillRect(const QRectF& units, const QColor& colour)
{
    if (PixelLines* p = pixels(colour))
        p->fillRect(units);
    else
        PainterSink::fillRect(units, colour);
}

void PixelSink::fillDisc(const QPointF& centre, double radius, const QColor& colour)
{
    PixelLines* p = smallCurve(2 * radius) ? pixels(colour) : nullptr;
    if (!p || !p->fillEllipse(centre, radius, radius))
        PainterSink::fillDisc(centre, radius, colour);
}

void PixelSink::fillRoundedRect(const QRectF& units, double cornerRadius, const QColor& colour)
{
    PixelLines* p = smallCurve(std::max(units.width(), units.height())) ? pixels(colour) : nullptr;
    if (p)
        p->fillRoundedRect(units, cornerRadius);
    else
        PainterSink::fillRoundedRect(units, cornerRadius, colour);
}

void PixelSink::fillPolygon(const QPointF* points, int count, const QColor& colour)
{
    if (PixelLines* p = pixels(colour))
        p->fillPolygon(points, count);
    else
        PainterSink::fillPolygon(points, count, colour);
}

void PixelSink::hairlines(const QLineF* lines, int count, int widthPx, const QColor& colour)
{
    PixelLines* p = pixels(colour);
    if (!p)
        return PainterSink::hairlines(lines, count, widthPx, colour);
    p->drawSegments(lines, count, widthPx);
}

void PixelSink::strokePolyline(const QPointF* points, int count, bool closed, int32_t widthUnits,
                               const QColor& colour)
{
    PixelLines* p = pixels(colour);
    if (p && isThin(widthUnits)) {
        p->drawPolyline(points, count, closed, widthUnits * pxPerUnit_);
        return;
    }
    if (!p || !p->keepsCircles())
        return PainterSink::strokePolyline(points, count, closed, widthUnits, colour);
    const double widthPx = widthUnits * p->scaleX();
    for (const QLineF& line : wideSegments(points, count, closed, widthUnits))
        p->fillCapsule(line, widthPx);
}

void PixelSink::strokeArc(const QPointF& centre, double radius, int startDegrees, int spanDegrees,
                          int32_t widthUnits, bool chord, const QColor& colour)
{
    // Flattened, the arc's chords are capsules the writer fills; a round pen
    // under unequal scales is the painter's.
    if (isThin(widthUnits) || (pixels(colour) && writer_.keepsCircles()))
        strokeFlattenedArc(centre, radius, startDegrees, spanDegrees, widthUnits, chord, colour);
    else
        PainterSink::strokeArc(centre, radius, startDegrees, spanDegrees, widthUnits, chord, colour);
}

} // namespace kestrel
