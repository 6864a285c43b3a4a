#include "view/gui/PixelLines.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {
struct Walk {
    int64_t lower;    // lower end of the covered interval across the line
    int64_t step;     // its change per step along the line
    int64_t run;      // the interval's length
    int64_t toCentre; // from the lower end to the line's centre
    int count;
    int minorStart, minorEnd;
};

// One pixel run across the line per step along it. For a mostly horizontal
// line a step moves one pixel right and the run goes down the rows.
void walkLine(const Walk& w, QRgb* firstLine, ptrdiff_t minorStep, ptrdiff_t majorStep, QRgb pixel)
{
    QRgb* line = firstLine;
    if (w.run <= (int64_t(1) << 32)) {
        // No more than one pixel centre fits in the interval, and it is
        // always the one under the centre (which is also the fallback).
        int64_t centre = w.lower + w.toCentre;
        for (int n = 0; n < w.count; ++n, centre += w.step, line += majorStep) {
            const int i = static_cast<int>(centre >> 32);
            if (i >= w.minorStart && i <= w.minorEnd)
                line[i * minorStep] = pixel;
        }
        return;
    }
    int64_t lower = w.lower;
    const int64_t lastLower = lower + w.step * (w.count - 1);
    const bool inside = (std::min(lower, lastLower) >> 32) + 1 >= w.minorStart &&
                        ((std::max(lower, lastLower) + w.run) >> 32) <= w.minorEnd;
    if (inside) {
        // At least one pixel wide and clear of the clip's edges: every step
        // writes the pixels from..to as they come.
        for (int n = 0; n < w.count; ++n, lower += w.step, line += majorStep) {
            const int from = static_cast<int>(lower >> 32) + 1;
            const int to = static_cast<int>((lower + w.run) >> 32);
            QRgb* p = line + from * minorStep;
            for (int i = from; i <= to; ++i, p += minorStep)
                *p = pixel;
        }
        return;
    }
    for (int n = 0; n < w.count; ++n, lower += w.step, line += majorStep) {
        int from = static_cast<int>(lower >> 32) + 1;
        int to = static_cast<int>((lower + w.run) >> 32);
        if (to < from)
            from = to = static_cast<int>((lower + w.toCentre) >> 32);
        from = std::max(from, w.minorStart);
        to = std::min(to, w.minorEnd);
        QRgb* p = line + from * minorStep;
        for (int i = from; i <= to; ++i, p += minorStep)
            *p = pixel;
    }
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
    if (first > last)
        return;
    // Across the line, pixels whose centre lies in (c - run/2, c + run/2]
    // are covered, at least one: a one-pixel line on a pixel border takes
    // the pixel below or right of it, as the painter's own thin lines do.
    // The walk keeps the interval's lower end in 32.32 fixed point, so each
    // step is an integer add; [first, last] keeps the centre within reach of
    // the clip, so the values stay far inside the 64-bit range.
    constexpr double kOne = 4294967296.0;
    const double lower = y0 + slope * (first + 0.5 - x0) - run / 2 - 0.5;
    Walk walk;
    // Truncation moves each value by less than 2^-32 pixel; the library
    // rounding calls cost more than the whole walk of a short segment.
    walk.lower = static_cast<int64_t>(lower * kOne);
    walk.step = static_cast<int64_t>(slope * kOne);
    walk.run = static_cast<int64_t>(run * kOne);
    walk.toCentre = static_cast<int64_t>((run / 2 + 0.5) * kOne);
    walk.count = last - first + 1;
    walk.minorStart = minorStart;
    walk.minorEnd = minorEnd;
    if (xMajor)
        walkLine(walk, bits_ + first, stride_, 1, pixel_);
    else
        walkLine(walk, bits_ + static_cast<ptrdiff_t>(first) * stride_, 1, stride_, pixel_);
}

} // namespace kestrel
