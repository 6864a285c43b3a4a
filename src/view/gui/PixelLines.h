#pragma once
// Straight strokes and filled figures written straight into the pixels of
// a 32-bit image. Qt's aliased line drawing costs about ten times more per
// pixel than a plain line walk, its stroker builds a path for every wide
// segment, and a board overview draws a million pixels of thin track
// segments and tens of thousands of pads a few pixels across, each costing
// the painter a path and a rasterizer set-up. Used only where it gives the
// painter's pixels (up to pixel centres within the painter's rounding of
// an outline): a QImage target, no antialiasing, source-over with an opaque
// colour, a transform without rotation and a rectangular clip. The screen's
// figure sink (PixelSink) draws through it.

#include <QColor>
#include <QLineF>
#include <QRect>
#include <QRectF>
#include <QTransform>

#include <cmath>
#include <optional>

class QPainter;

namespace kestrel {

struct LineWalk;

class PixelLines {
public:
    // The pixel writer for the painter's current state, or none when the
    // painter must draw itself. It keeps the painter's image, transform and
    // clip as they are now.
    static std::optional<PixelLines> forPainter(QPainter& painter, const QColor& colour);

    // Draws in another colour from now on; the alpha is taken as opaque.
    void setColour(const QColor& colour) { pixel_ = colour.rgb() | 0xFF000000u; }

    // A segment in the painter's logical coordinates, square-ended, widthPx
    // device pixels wide (at least one pixel).
    void drawSegment(const QLineF& logical, double widthPx);
    // Segments all widthPx device pixels wide, as drawSegment draws each.
    void drawSegments(const QLineF* logical, int count, double widthPx);
    // The segments between consecutive points, and back to the first when closed.
    void drawPolyline(const QPointF* logical, int count, bool closed, double widthPx);

    // Filled figures in logical coordinates, without outline: the pixels
    // whose centres lie inside, as the painter's aliased fill sets them
    // (a centre on the right or bottom edge counts as inside).
    void fillRect(const QRectF& logical);
    // False, drawing nothing, where the painter fills the ellipse by other rules.
    [[nodiscard]] bool fillEllipse(const QPointF& centre, double radiusX, double radiusY);
    void fillRoundedRect(const QRectF& logical, double cornerRadius);
    // Any polygon, filled by the odd-even rule.
    void fillPolygon(const QPointF* logical, int count);
    // A segment with round ends: the pixels whose centres lie within
    // widthPx / 2 of it. Only for equal scales along x and y.
    void fillCapsule(const QLineF& logical, double widthPx);
    // Whether the transform scales x and y alike, as capsules need.
    bool keepsCircles() const { return std::abs(scaleX() - scaleY()) <= 1e-9 * scaleX(); }

    // Device pixels per logical unit along x and y.
    double scaleX() const { return std::abs(toDevice_.m11()); }
    double scaleY() const { return std::abs(toDevice_.m22()); }

private:
    // Whether strokes widthPx wide within these device bounds stay clear
    // of the clip's edges, so that their walk need not test them.
    bool wellInside(double left, double top, double right, double bottom, double widthPx) const;
    // A segment in device coordinates; knownInside when its pixels cannot
    // reach the clip's edges.
    template <bool knownInside>
    void walkSegment(double x0, double y0, double x1, double y1, double widthPx) const;
    // The same in two parts: the walk worked out, then its pixels written.
    template <bool knownInside>
    void setUpWalk(double x0, double y0, double x1, double y1, double widthPx, LineWalk& walk) const;
    template <bool knownInside>
    void walkSegment(const LineWalk& walk) const;
    // Rows whose centre lies in (top, bottom]; spanAt(yCentre) gives the
    // figure's (left, right] there.
    template <typename SpanAt>
    void fillRows(double top, double bottom, SpanAt spanAt);
    // The same with any number of spans a row: row(yCentre, fillSpan)
    // calls fillSpan(left, right) for each.
    template <typename Row>
    void fillSpans(double top, double bottom, Row row);
    double flatteningThreshold() const;
    // A polygon filled odd-even, its device coordinates rounded to
    // 1/stepsPerPx pixel as the painter rounds them.
    void fillOddEven(const QPointF* logical, int count, double stepsPerPx);

    PixelLines(QRgb* bits, int strideQuads, const QTransform& toDevice, const QRect& clip, QRgb pixel)
        : bits_(bits), stride_(strideQuads), toDevice_(toDevice), clip_(clip), pixel_(pixel)
    {
    }
    QRgb* bits_;
    int stride_;
    QTransform toDevice_;
    QRect clip_;
    QRgb pixel_;
};

} // namespace kestrel
