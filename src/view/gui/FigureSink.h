#pragma once
// The drawing interface between the board walk (BoardPainter) and its back
// ends. The walk decides once what is drawn, where and in which colour, in
// board units; a sink turns each figure into pixels. PainterSink draws on
// any QPainter (screen, printer, bitmap export); PixelSink writes the
// screen's 32-bit image itself where that gives the painter's pixels. The
// sink is chosen once per paint, and the painter's transform and clip may
// not change while it draws (a label may turn the transform and put it back).

#include "model/LayoutObject.h"

#include <QColor>
#include <QLineF>
#include <QPointF>
#include <QRectF>

#include <memory>

class QImage;
class QPainter;

namespace kestrel {

class FigureSink {
public:
    virtual ~FigureSink() = default;

    // Filled figures without outline.
    virtual void fillRect(const QRectF& units, const QColor& colour) = 0;
    virtual void fillDisc(const QPointF& centre, double radius, const QColor& colour) = 0;
    virtual void fillRoundedRect(const QRectF& units, double cornerRadius, const QColor& colour) = 0;
    // Any polygon, filled by the odd-even rule.
    virtual void fillPolygon(const QPointF* points, int count, const QColor& colour) = 0;
    // A disc in `fill` inside a one-pixel rim in `rim`.
    virtual void rimmedDisc(const QPointF& centre, double radius, const QColor& fill, const QColor& rim) = 0;
    // Lines widthPx device pixels wide at every scale (grid, rubber bands).
    virtual void hairlines(const QLineF* lines, int count, int widthPx, const QColor& colour) = 0;
    // A stroke through the points with a pen widthUnits wide (at least one
    // pixel) with round ends and joins; closed runs back to the first point.
    virtual void strokePolyline(const QPointF* points, int count, bool closed, int32_t widthUnits,
                                const QColor& colour) = 0;
    // An arc of the circle around centre, counter-clockwise in board
    // coordinates from startDegrees over spanDegrees, with a round pen; with
    // `chord` the figure is closed by its chord and filled.
    virtual void strokeArc(const QPointF& centre, double radius, int startDegrees, int spanDegrees,
                           int32_t widthUnits, bool chord, const QColor& colour) = 0;
    // A Text object's label.
    virtual void label(const LayoutObject& text, const QColor& colour) = 0;
    // An image stretched over a rectangle, its top row at units.bottom()
    // (the upper edge on the board, whose y axis points up).
    virtual void image(const QRectF& units, const QImage& image) = 0;

    // Whether an image painted in bands, a sink for each, gets the pixels of
    // one paint. The painter's thin lines start where its clip cuts them, so
    // they move by a pixel where a band's edge crosses them.
    virtual bool bandsPaintAlike() const { return false; }
};

enum class SinkChoice : uint8_t {
    Fastest, // the pixel writer where the painter allows it, else the painter
    Painter, // always the painter
};

// The sink for a paint on `painter` in its current state. Fastest gives the
// painter too when KESTREL_PAINTER=qt was set when the program started.
std::unique_ptr<FigureSink> makeFigureSink(QPainter& painter, SinkChoice choice = SinkChoice::Fastest);

} // namespace kestrel
