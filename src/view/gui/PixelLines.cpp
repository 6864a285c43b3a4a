#include "view/gui/PixelLines.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {
// For values well inside the int range (the caller has checked).
int floorToInt(double v)
{
    const int i = static_cast<int>(v);
    return i - (v < i);
}
} // namespace

std::optional<PixelLines> PixelLines::forPainter(QPainter& painter, const QColor& colour)
{
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image || colour.alpha() != 255)
        return std::nullopt;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format f = image->format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        return std::nullopt;
    if (painter.testRenderHint(QPainter::Antialiasing) || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale)
        return std::nullopt;
    QRect clip = image->rect();
    if (painter.hasClipping()) {
        const QRegion region = painter.clipRegion();
        if (region.rectCount() > 1)
            return std::nullopt;
        clip &= t.mapRect(region.boundingRect());
    }
    return PixelLines(reinterpret_cast<QRgb*>(image->bits()), static_cast<int>(image->bytesPerLine() / 4), t, clip,
                      colour.rgb() | 0xFF000000u);
}

void PixelLines::drawSegment(const QLineF& logical, double widthPx)
{
    if (clip_.isEmpty())
        return;
    // The transform only scales and translates (checked in forPainter).
    const double sx = toDevice_.m11(), sy = toDevice_.m22(), tx = toDevice_.dx(), ty = toDevice_.dy();
    widthPx = std::max(widthPx, 1.0);
    double x0 = logical.x1() * sx + tx, y0 = logical.y1() * sy + ty;
    double x1 = logical.x2() * sx + tx, y1 = logical.y2() * sy + ty;
    // Walk along the major direction; "x" below is the major coordinate.
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    if (!xMajor) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const double dx = x1 - x0, dy = y1 - y0;
    const double length = std::sqrt(dx * dx + dy * dy);
    const double slope = dx > 0 ? dy / dx : 0;
    // Thickness across the major direction, and the square ends' reach along it.
    const double run = length > 0 ? widthPx * length / dx : widthPx;
    const double reach = length > 0 ? 0.5 * widthPx * dx / length : 0.5 * widthPx;
    const int majorStart = xMajor ? clip_.left() : clip_.top();
    const int majorEnd = xMajor ? clip_.right() : clip_.bottom();
    const int minorStart = xMajor ? clip_.top() : clip_.left();
    const int minorEnd = xMajor ? clip_.bottom() : clip_.right();
    // Only the stretch whose centre line passes the clip across the line is
    // walked; a long line crossing a small clip costs only that stretch.
    double lo = x0 - reach - 0.5, hi = x1 + reach + 0.5;
    if (slope != 0) {
        const double a = x0 + (minorStart - run - 1 - y0) / slope;
        const double b = x0 + (minorEnd + run + 1 - y0) / slope;
        lo = std::max(lo, std::min(a, b));
        hi = std::min(hi, std::max(a, b));
    } else if (y0 + run < minorStart - 1 || y0 - run > minorEnd + 1) {
        return;
    }
    // Clamped as doubles first: device coordinates may lie far outside int.
    const int first = static_cast<int>(std::max(std::ceil(std::max(lo, x0 - reach - 0.5)), double(majorStart)));
    const int last = static_cast<int>(std::min(std::floor(std::min(hi, x1 + reach - 0.5)), double(majorEnd)));
    // Across the line, pixels whose centre lies in (c - run/2, c + run/2]
    // are covered, at least one: a one-pixel line on a pixel border takes
    // the pixel below or right of it, as the painter's own thin lines do.
    const ptrdiff_t majorStep = xMajor ? 1 : stride_;
    const ptrdiff_t minorStep = xMajor ? stride_ : 1;
    double centre = y0 + slope * (first + 0.5 - x0);
    // [first, last] keeps the centre within reach of the clip; rows or
    // columns beyond it are cut off by the clamps below.
    for (int m = first; m <= last; ++m, centre += slope) {
        int from = floorToInt(centre - run / 2 - 0.5) + 1;
        int to = floorToInt(centre + run / 2 - 0.5);
        if (to < from)
            from = to = floorToInt(centre);
        from = std::max(from, minorStart);
        to = std::min(to, minorEnd);
        QRgb* p = bits_ + m * majorStep + from * minorStep;
        for (int i = from; i <= to; ++i, p += minorStep)
            *p = pixel_;
    }
}

} // namespace kestrel
