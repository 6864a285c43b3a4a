#pragma once
// Thin straight strokes written straight into the pixels of a 32-bit image.
// Qt's aliased line drawing costs about ten times more per pixel than a
// plain line walk, and a board overview draws a million pixels of thin
// track segments. Used only where it gives the same pixels as the painter
// would: a QImage target, no antialiasing, source-over with an opaque
// colour, a transform without rotation and a rectangular clip.

#include <QColor>
#include <QLineF>
#include <QRect>
#include <QTransform>

#include <optional>

class QPainter;

namespace kestrel {

class PixelLines {
public:
    // The pixel writer for the painter's current state, or none when the
    // painter must draw itself.
    static std::optional<PixelLines> forPainter(QPainter& painter, const QColor& colour);

    // A segment in the painter's logical coordinates, square-ended, widthPx
    // device pixels wide (at least one pixel).
    void drawSegment(const QLineF& logical, double widthPx);

private:
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
