#include "view/gui/PixelLines.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <vector>

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
    if (inside && w.run < (int64_t(2) << 32)) {
        // Between one and two pixels wide: one or two pixels a step, both
        // written without a branch (the second store repeats the first
        // when there is only one).
        for (int n = 0; n < w.count; ++n, lower += w.step, line += majorStep) {
            const int from = static_cast<int>(lower >> 32) + 1;
            const int to = static_cast<int>((lower + w.run) >> 32);
            QRgb* p = line + from * minorStep;
            p[0] = pixel;
            p[(to - from) * minorStep] = pixel;
        }
        return;
    }
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

template <typename SpanAt>
void PixelLines::fillRows(double top, double bottom, SpanAt spanAt)
{
    // The first and last pixel whose centre lies in (low, high]; clamped as
    // doubles first, device coordinates may lie far outside int.
    auto first = [](double low, int lowest) {
        return static_cast<int>(std::max(std::floor(low - 0.5) + 1, lowest - 1.0));
    };
    auto last = [](double high, int highest) {
        return static_cast<int>(std::min(std::floor(high - 0.5), highest + 1.0));
    };
    const int firstRow = std::max(first(top, clip_.top()), clip_.top());
    const int lastRow = std::min(last(bottom, clip_.bottom()), clip_.bottom());
    for (int y = firstRow; y <= lastRow; ++y) {
        const auto [left, right] = spanAt(y + 0.5);
        const int from = std::max(first(left, clip_.left()), clip_.left());
        const int to = std::min(last(right, clip_.right()), clip_.right());
        QRgb* p = bits_ + static_cast<ptrdiff_t>(y) * stride_;
        for (int x = from; x <= to; ++x)
            p[x] = pixel_;
    }
}

void PixelLines::fillRect(const QRectF& logical)
{
    const QRectF r = toDevice_.mapRect(logical);
    fillRows(r.top(), r.bottom(), [&](double) { return std::pair(r.left(), r.right()); });
}

namespace {

// Corners of a cubic curve from the last point of `out` to p3, split in
// halves the way the painter flattens curves before filling, so that the
// filled pixels agree with its own: a piece is kept once its control points
// lie within `threshold` of its chord, or after nine splits.
void flattenCubic(std::vector<QPointF>& out, QPointF p1, QPointF p2, QPointF p3, double threshold)
{
    struct Cubic {
        QPointF a, b, c, d;
    };
    Cubic stack[10];
    int levels[10];
    stack[0] = {out.back(), p1, p2, p3};
    levels[0] = 9;
    int top = 0;
    while (top >= 0) {
        Cubic& k = stack[top];
        const QPointF chord = k.d - k.a;
        double l = std::abs(chord.x()) + std::abs(chord.y());
        double d;
        if (l > 1) {
            d = std::abs(chord.x() * (k.a.y() - k.b.y()) - chord.y() * (k.a.x() - k.b.x())) +
                std::abs(chord.x() * (k.a.y() - k.c.y()) - chord.y() * (k.a.x() - k.c.x()));
        } else {
            d = std::abs(k.a.x() - k.b.x()) + std::abs(k.a.y() - k.b.y()) + std::abs(k.a.x() - k.c.x()) +
                std::abs(k.a.y() - k.c.y());
            l = 1;
        }
        if (d < threshold * l || levels[top] == 0) {
            out.push_back(k.d);
            --top;
            continue;
        }
        // The first half goes on top of the stack, the second stays below.
        const QPointF bc = (k.b + k.c) * 0.5;
        Cubic first, second;
        first.a = k.a;
        first.b = (k.a + k.b) * 0.5;
        second.c = (k.c + k.d) * 0.5;
        first.c = (first.b + bc) * 0.5;
        second.b = (second.c + bc) * 0.5;
        first.d = second.a = (first.c + second.b) * 0.5;
        second.d = k.d;
        k = second;
        stack[top + 1] = first;
        levels[top + 1] = --levels[top];
        ++top;
    }
}

// The control point distance of a cubic quarter ellipse, as a fraction of the radius.
constexpr double kQuarterArc = 0.5522847498;

// A quarter of the ellipse around centre from (centre + ends[0]) to
// (centre + ends[1]), ends being a radius along x and one along y.
void flattenQuarter(std::vector<QPointF>& out, QPointF centre, QPointF from, QPointF to, double threshold)
{
    flattenCubic(out, centre + from + to * kQuarterArc, centre + to + from * kQuarterArc, centre + to, threshold);
}

// The painter's outlines of curved figures hold device coordinates in 1/64 pixel.
constexpr double kCurveStepsPerPx = 64;

std::vector<QPointF>& outlineBuffer()
{
    static std::vector<QPointF> buffer;
    return buffer;
}

} // namespace

double PixelLines::flatteningThreshold() const
{
    // A quarter of a device pixel, in logical units.
    const double scale = std::max(scaleX(), scaleY());
    return scale > 0 ? 0.25 / scale : 0.25;
}

bool PixelLines::fillEllipse(const QPointF& centre, double radiusX, double radiusY)
{
    if (radiusX <= 0 || radiusY <= 0)
        return true;
    // On whole device pixels the painter draws ellipses its own way.
    const QRectF r = toDevice_.mapRect(QRectF(centre.x() - radiusX, centre.y() - radiusY, 2 * radiusX, 2 * radiusY));
    if (r.left() == std::floor(r.left()) && r.top() == std::floor(r.top()) && r.right() == std::floor(r.right()) &&
        r.bottom() == std::floor(r.bottom()))
        return false;
    std::vector<QPointF>& outline = outlineBuffer();
    outline.clear();
    const double t = flatteningThreshold();
    const QPointF right(radiusX, 0), up(0, radiusY);
    outline.push_back(centre + right);
    flattenQuarter(outline, centre, right, -up, t);
    flattenQuarter(outline, centre, -up, -right, t);
    flattenQuarter(outline, centre, -right, up, t);
    flattenQuarter(outline, centre, up, right, t);
    fillConvex(outline.data(), static_cast<int>(outline.size()), kCurveStepsPerPx);
    return true;
}

void PixelLines::fillRoundedRect(const QRectF& logical, double cornerRadius)
{
    const QRectF r = logical.normalized();
    const double rx = std::min(cornerRadius, r.width() / 2), ry = std::min(cornerRadius, r.height() / 2);
    if (rx <= 0 || ry <= 0) {
        fillRect(r);
        return;
    }
    std::vector<QPointF>& outline = outlineBuffer();
    outline.clear();
    const double t = flatteningThreshold();
    const QPointF right(rx, 0), down(0, ry);
    outline.emplace_back(r.left() + rx, r.top());
    outline.emplace_back(r.right() - rx, r.top());
    flattenQuarter(outline, QPointF(r.right() - rx, r.top() + ry), -down, right, t);
    outline.emplace_back(r.right(), r.bottom() - ry);
    flattenQuarter(outline, QPointF(r.right() - rx, r.bottom() - ry), right, down, t);
    outline.emplace_back(r.left() + rx, r.bottom());
    flattenQuarter(outline, QPointF(r.left() + rx, r.bottom() - ry), down, -right, t);
    outline.emplace_back(r.left(), r.top() + ry);
    flattenQuarter(outline, QPointF(r.left() + rx, r.top() + ry), -right, -down, t);
    fillConvex(outline.data(), static_cast<int>(outline.size()), kCurveStepsPerPx);
}

void PixelLines::fillConvexPolygon(const QPointF* logical, int count)
{
    fillConvex(logical, count, 65536);
}

void PixelLines::fillConvex(const QPointF* logical, int count, double stepsPerPx)
{
    if (count < 3)
        return;
    static std::vector<QPointF> device;
    device.resize(static_cast<size_t>(count));
    double top = HUGE_VAL, bottom = -HUGE_VAL;
    auto snap = [stepsPerPx](double v) { return std::floor(v * stepsPerPx + 0.5) / stepsPerPx; };
    for (int i = 0; i < count; ++i) {
        const QPointF d = toDevice_.map(logical[i]);
        device[i] = QPointF(snap(d.x()), snap(d.y()));
        top = std::min(top, device[i].y());
        bottom = std::max(bottom, device[i].y());
    }
    fillRows(top, bottom, [&](double yc) {
        double left = HUGE_VAL, right = -HUGE_VAL;
        for (int i = 0, j = count - 1; i < count; j = i++) {
            const QPointF& a = device[j];
            const QPointF& b = device[i];
            if ((a.y() <= yc) == (b.y() <= yc))
                continue;
            const double x = a.x() + (yc - a.y()) * (b.x() - a.x()) / (b.y() - a.y());
            left = std::min(left, x);
            right = std::max(right, x);
        }
        return std::pair(left, right);
    });
}

} // namespace kestrel
