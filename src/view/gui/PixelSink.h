#pragma once
// The figure sink of the screen: writes the figures into the pixels of a
// 32-bit image through the pixel writer (PixelLines), which costs a
// fraction of the painter's path building and rasterizer set-up per figure.
// Where the writer cannot give the painter's pixels (translucent colours,
// large curves, round pens under unequal x and y scales, rims and labels)
// the figure goes to the painter, as a PainterSink draws it.

#include "view/gui/PainterSink.h"
#include "view/gui/PixelLines.h"

namespace kestrel {

class PixelSink final : public PainterSink {
public:
    // `writer` is PixelLines::forPainter(painter, ...) for the same painter.
    PixelSink(QPainter& painter, const PixelLines& writer);

    void fillRect(const QRectF& units, const QColor& colour) override;
    void fillDisc(const QPointF& centre, double radius, const QColor& colour) override;
    void fillRoundedRect(const QRectF& units, double cornerRadius, const QColor& colour) override;
    void fillPolygon(const QPointF* points, int count, const QColor& colour) override;
    void hairlines(const QLineF* lines, int count, int widthPx, const QColor& colour) override;
    void strokePolyline(const QPointF* points, int count, bool closed, int32_t widthUnits,
                        const QColor& colour) override;
    void strokeArc(const QPointF& centre, double radius, int startDegrees, int spanDegrees, int32_t widthUnits,
                   bool chord, const QColor& colour) override;
    // The writer's pixels do not depend on the clip.
    bool bandsPaintAlike() const override { return true; }

private:
    // The writer in an opaque colour; none for a translucent one, which the
    // painter blends.
    PixelLines* pixels(const QColor& colour);
    // Curves up to this many device pixels across are filled by the writer;
    // the painter flattens larger ones differently.
    bool smallCurve(double extentUnits) const;

    PixelLines writer_;
};

} // namespace kestrel
