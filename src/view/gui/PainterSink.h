#pragma once
// The figure sink that draws through a QPainter, on any device: printer,
// bitmap export, the screen when the pixel writer is off, and every figure
// the pixel writer leaves to the painter. Everything is in board units
// under the painter's transform (boardTransform); one-pixel lines are
// cosmetic pens, so they stay one device pixel wide at every scale.

#include "view/gui/FigureSink.h"
#include "view/gui/Strokes.h"

#include <vector>

namespace kestrel {

class PainterSink : public FigureSink {
public:
    // Reads the painter's transform and clip: make a new sink after changing them.
    explicit PainterSink(QPainter& painter);

    void fillRect(const QRectF& units, const QColor& colour) override;
    void fillDisc(const QPointF& centre, double radius, const QColor& colour) override;
    void fillRoundedRect(const QRectF& units, double cornerRadius, const QColor& colour) override;
    void fillPolygon(const QPointF* points, int count, const QColor& colour) override;
    void rimmedDisc(const QPointF& centre, double radius, const QColor& fill, const QColor& rim) override;
    void hairlines(const QLineF* lines, int count, int widthPx, const QColor& colour) override;
    void strokePolyline(const QPointF* points, int count, bool closed, int32_t widthUnits,
                        const QColor& colour) override;
    void strokeArc(const QPointF& centre, double radius, int startDegrees, int spanDegrees, int32_t widthUnits,
                   bool chord, const QColor& colour) override;
    void label(const LayoutObject& text, const QColor& colour) override;
    void image(const QRectF& units, const QImage& image) override;

protected:
    bool isThin(int32_t widthUnits) const { return widthUnits * pxPerUnit_ <= kThinStrokePx; }
    // The segments of a wide stroke cut to the painted area widened by the
    // pen, so a long track crossing a small repaint costs only its part.
    const std::vector<QLineF>& wideSegments(const QPointF* points, int count, bool closed, int32_t widthUnits);
    // The arc as a polygon of chords, filled and stroked by this sink's own figures.
    void strokeFlattenedArc(const QPointF& centre, double radius, int startDegrees, int spanDegrees,
                            int32_t widthUnits, bool chord, const QColor& colour);

    QPainter& painter_;
    double pxPerUnit_;
    QRectF area_; // painted area, logical

private:
    std::vector<QLineF> segments_;
    std::vector<QPointF> arc_;
};

} // namespace kestrel
