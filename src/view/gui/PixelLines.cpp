#include "view/gui/PixelLines.h"

#include "view/gui/ImageTarget.h"
#include "view/gui/PixelRuns.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <unordered_map>
#include <vector>

namespace kestrel {

// A segment's walk over the pixels, set up in full before it starts.
struct LineWalk {
    int64_t lower;    // lower end of the covered interval across the line
    int64_t step;     // its change per step along the line
    int64_t run;      // the interval's length
    int64_t toCentre; // from the lower end to the line's centre
    int count = 0;    // steps; none for a segment outside the clip
    int minorStart, minorEnd;
    QRgb* start;      // the first step at 0 across: in row 0 (x major) or column 0 (y major)
    bool xMajor;
};

namespace {
// std::floor and std::ceil are library calls without SSE4.1; these take
// values already clamped to the int range.
int floorToInt(double v)
{
    const int i = static_cast<int>(v);
    return i - (i > v);
}

int ceilToInt(double v)
{
    const int i = static_cast<int>(v);
    return i + (i < v);
}

// Rounds to 1/stepsPerPx pixel, as the painter's rasterizer holds corners;
// device coordinates stay far inside the int64 range. The steps are powers
// of two, so multiplying by pxPerStep is exact and spares a division.
double snapToRasterStep(double v, double stepsPerPx, double pxPerStep)
{
    const double scaled = v * stepsPerPx + 0.5;
    auto whole = static_cast<int64_t>(scaled);
    whole -= whole > scaled;
    return static_cast<double>(whole) * pxPerStep;
}

// Puts the major coordinate of a segment first (as x) and its lower end
// first; true when the major direction is x. Segments point every way, so
// where the vector unit allows the choices are made with masks rather than
// branches that the processor would guess wrong half the time.
bool orderForWalk(double& x0, double& y0, double& x1, double& y1)
{
#if defined(__SSE2__)
    const __m128d X0 = _mm_set_sd(x0), Y0 = _mm_set_sd(y0), X1 = _mm_set_sd(x1), Y1 = _mm_set_sd(y1);
    const __m128d unsignedBits = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffff));
    const __m128d xMajor = _mm_cmpge_sd(_mm_and_pd(_mm_sub_sd(X1, X0), unsignedBits),
                                        _mm_and_pd(_mm_sub_sd(Y1, Y0), unsignedBits));
    auto pick = [](__m128d mask, __m128d a, __m128d b) {
        return _mm_or_pd(_mm_and_pd(mask, a), _mm_andnot_pd(mask, b));
    };
    const __m128d a0 = pick(xMajor, X0, Y0), b0 = pick(xMajor, Y0, X0);
    const __m128d a1 = pick(xMajor, X1, Y1), b1 = pick(xMajor, Y1, X1);
    const __m128d backwards = _mm_cmpgt_sd(a0, a1);
    x0 = _mm_cvtsd_f64(pick(backwards, a1, a0));
    y0 = _mm_cvtsd_f64(pick(backwards, b1, b0));
    x1 = _mm_cvtsd_f64(pick(backwards, a0, a1));
    y1 = _mm_cvtsd_f64(pick(backwards, b0, b1));
    return (_mm_movemask_pd(xMajor) & 1) != 0;
#else
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    if (!xMajor) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    return xMajor;
#endif
}

// The steps of a line `whole` to `whole` + 1 pixels thick, clear of the
// clip: each covers the pixels from..to across the line, to - from + 1
// being whole or whole + 1. They are written as the first `whole` and the
// last, a store that repeats a pixel when there is no further one, so no
// step asks how many it covers. The strides come in at run time: one loop
// for both directions spares a branch on the direction.
template <int whole>
void thinSteps(const LineWalk& w, QRgb* line, ptrdiff_t along, ptrdiff_t across, QRgb pixel)
{
    int64_t lower = w.lower;
    const int64_t run = w.run;
    const int count = w.count;
    for (int n = 0; n < count; ++n, lower += w.step, line += along) {
        QRgb* p = line + ((lower >> 32) + 1) * across;
        for (int i = 0; i < whole; ++i, p += across)
            *p = pixel;
        line[((lower + run) >> 32) * across] = pixel;
    }
}

// The thin strokes of a board overview, one to four whole pixels thick and
// clear of the clip: a loop for each thickness writes a fixed number of
// pixels a step, where a loop to a varying end would mispredict every step.
// False, writing nothing, for other walks.
bool walkThin(const LineWalk& w, QRgb* line, ptrdiff_t along, ptrdiff_t across, QRgb pixel)
{
    if (w.run <= (int64_t(1) << 32) || w.run >= (int64_t(5) << 32))
        return false;
    switch (static_cast<int>(w.run >> 32)) {
    case 1: thinSteps<1>(w, line, along, across, pixel); break;
    case 2: thinSteps<2>(w, line, along, across, pixel); break;
    case 3: thinSteps<3>(w, line, along, across, pixel); break;
    default: thinSteps<4>(w, line, along, across, pixel); break;
    }
    return true;
}

// One pixel run across the line per step along it. For a mostly horizontal
// line a step moves one pixel right and the run goes down the rows. The
// step that is one pixel is a constant, so only the other one multiplies.
template <bool xMajor, bool knownInside>
void walkLine(const LineWalk& w, QRgb* firstLine, ptrdiff_t stride, QRgb pixel)
{
    const ptrdiff_t minorStep = xMajor ? stride : 1;
    const ptrdiff_t majorStep = xMajor ? 1 : stride;
    QRgb* line = firstLine;
    if (w.run <= (int64_t(1) << 32)) {
        // No more than one pixel centre fits in the interval, and it is
        // always the one under the centre (which is also the fallback).
        int64_t centre = w.lower + w.toCentre;
        for (int n = 0; n < w.count; ++n, centre += w.step, line += majorStep) {
            const int i = static_cast<int>(centre >> 32);
            if (knownInside || (i >= w.minorStart && i <= w.minorEnd))
                line[i * minorStep] = pixel;
        }
        return;
    }
    int64_t lower = w.lower;
    const int64_t lastLower = lower + w.step * (w.count - 1);
    const bool inside = knownInside || ((std::min(lower, lastLower) >> 32) + 1 >= w.minorStart &&
                                        ((std::max(lower, lastLower) + w.run) >> 32) <= w.minorEnd);
    if (inside && walkThin(w, line, majorStep, minorStep, pixel))
        return;
    if (inside) {
        // Wider and clear of the clip's edges: every step writes the pixels
        // from..to as they come.
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
    if (colour.alpha() != 255 || painter.testRenderHint(QPainter::Antialiasing) ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale)
        return std::nullopt;
    const std::optional<ImageTarget> target = imageTarget(painter);
    if (!target)
        return std::nullopt;
    return PixelLines(reinterpret_cast<QRgb*>(target->image->bits()),
                      static_cast<int>(target->image->bytesPerLine() / 4), t, target->clip,
                      colour.rgb() | 0xFF000000u);
}

void PixelLines::drawSegment(const QLineF& logical, double widthPx)
{
    if (clip_.isEmpty())
        return;
    // The transform only scales and translates (checked in forPainter).
    const double sx = toDevice_.m11(), sy = toDevice_.m22(), tx = toDevice_.dx(), ty = toDevice_.dy();
    const double x0 = logical.x1() * sx + tx, y0 = logical.y1() * sy + ty;
    const double x1 = logical.x2() * sx + tx, y1 = logical.y2() * sy + ty;
    widthPx = std::max(widthPx, 1.0);
    if (wellInside(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1), widthPx))
        walkSegment<true>(x0, y0, x1, y1, widthPx);
    else
        walkSegment<false>(x0, y0, x1, y1, widthPx);
}

void PixelLines::drawSegments(const QLineF* logical, int count, double widthPx)
{
    if (clip_.isEmpty())
        return;
    widthPx = std::max(widthPx, 1.0);
    // The rows and columns a vertical line covers: its walk steps down the
    // rows without moving across, so its first step gives its columns.
    struct Column {
        int firstRow, lastRow, from, to;
    };
    thread_local std::vector<Column> columns;
    columns.clear();
    const double sx = toDevice_.m11(), sy = toDevice_.m22(), tx = toDevice_.dx(), ty = toDevice_.dy();
    for (int i = 0; i < count; ++i) {
        const double x0 = logical[i].x1() * sx + tx, y0 = logical[i].y1() * sy + ty;
        const double x1 = logical[i].x2() * sx + tx, y1 = logical[i].y2() * sy + ty;
        if (x0 != x1 || y0 == y1) {
            drawSegment(logical[i], widthPx);
            continue;
        }
        LineWalk walk;
        setUpWalk<false>(x0, y0, x1, y1, widthPx, walk);
        if (walk.count == 0)
            continue;
        // As walkLine: the pixel under the centre for a line one pixel
        // thick, else those in its interval.
        const bool oneAcross = walk.run <= (int64_t(1) << 32);
        const int64_t low = oneAcross ? walk.lower + walk.toCentre : walk.lower + (int64_t(1) << 32);
        const int64_t high = oneAcross ? walk.lower + walk.toCentre : walk.lower + walk.run;
        const int from = std::max(static_cast<int>(low >> 32), walk.minorStart);
        const int to = std::min(static_cast<int>(high >> 32), walk.minorEnd);
        const auto firstRow = static_cast<int>((walk.start - bits_) / stride_);
        if (from <= to)
            columns.push_back({firstRow, firstRow + walk.count - 1, from, to});
    }
    if (columns.empty())
        return;
    // Row by row: a line down the image would touch a new row of memory
    // at every pixel.
    int top = INT_MAX, bottom = INT_MIN;
    for (const Column& c : columns)
        top = std::min(top, c.firstRow), bottom = std::max(bottom, c.lastRow);
    for (int y = top; y <= bottom; ++y) {
        QRgb* row = bits_ + static_cast<ptrdiff_t>(y) * stride_;
        for (const Column& c : columns)
            if (y >= c.firstRow && y <= c.lastRow)
                for (int x = c.from; x <= c.to; ++x)
                    row[x] = pixel_;
    }
}

bool PixelLines::wellInside(double left, double top, double right, double bottom, double widthPx) const
{
    const double margin = widthPx + 2;
    return left - margin >= clip_.left() && right + margin <= clip_.right() && top - margin >= clip_.top() &&
           bottom + margin <= clip_.bottom();
}

void PixelLines::drawPolyline(const QPointF* logical, int count, bool closed, double widthPx)
{
    if (clip_.isEmpty() || count < 2)
        return;
    widthPx = std::max(widthPx, 1.0);
    thread_local std::vector<QPointF> device;
    device.resize(static_cast<size_t>(count));
    double left = HUGE_VAL, right = -HUGE_VAL, top = HUGE_VAL, bottom = -HUGE_VAL;
    for (int i = 0; i < count; ++i) {
        device[i] = QPointF(logical[i].x() * toDevice_.m11() + toDevice_.dx(),
                            logical[i].y() * toDevice_.m22() + toDevice_.dy());
        left = std::min(left, device[i].x()), right = std::max(right, device[i].x());
        top = std::min(top, device[i].y()), bottom = std::max(bottom, device[i].y());
    }
    const int segments = closed && count > 2 ? count : count - 1;
    auto end = [&](int i) -> const QPointF& { return device[i == count ? 0 : i]; };
    // A polyline well inside the clip (the usual case on a board overview)
    // skips every test against the clip's edges. Its next segment is set up
    // before this one is walked: the set-up is a long chain of dependent
    // operations, which then runs while the pixels are written.
    if (wellInside(left, top, right, bottom, widthPx)) {
        LineWalk walks[2];
        setUpWalk<true>(device[0].x(), device[0].y(), device[1].x(), device[1].y(), widthPx, walks[0]);
        for (int i = 1; i <= segments; ++i) {
            if (i < segments)
                setUpWalk<true>(end(i).x(), end(i).y(), end(i + 1).x(), end(i + 1).y(), widthPx, walks[i & 1]);
            walkSegment<true>(walks[(i - 1) & 1]);
        }
        return;
    }
    for (int i = 1; i <= segments; ++i)
        walkSegment<false>(end(i - 1).x(), end(i - 1).y(), end(i).x(), end(i).y(), widthPx);
}

template <bool knownInside>
void PixelLines::setUpWalk(double x0, double y0, double x1, double y1, double widthPx, LineWalk& walk) const
{
    // Walk along the major direction; "x" below is the major coordinate.
    const bool xMajor = orderForWalk(x0, y0, x1, y1);
    const double dx = x1 - x0, dy = y1 - y0;
    // Thickness across the major direction, and the square ends' reach
    // along it; a segment of no length is a square of the width.
    double slope = 0, run = widthPx, reach = 0.5 * widthPx;
    if (dx > 0) {
        const double length = std::sqrt(dx * dx + dy * dy);
        const double perDx = 1 / dx; // one division for both quotients
        slope = dy * perDx;
        run = widthPx * length * perDx;
        reach = 0.5 * widthPx * dx / length;
    }
    const int majorStart = xMajor ? clip_.left() : clip_.top();
    const int majorEnd = xMajor ? clip_.right() : clip_.bottom();
    const int minorStart = xMajor ? clip_.top() : clip_.left();
    const int minorEnd = xMajor ? clip_.bottom() : clip_.right();
    const double minorLow = std::min(y0, y1) - run - 1, minorHigh = std::max(y0, y1) + run + 1;
    if (!knownInside && (minorHigh < minorStart || minorLow > minorEnd)) {
        walk.count = 0;
        return;
    }
    // Where the line leaves the clip across it, only the stretch whose
    // centre line passes the clip is walked: a long line crossing a small
    // clip costs only that stretch.
    double lo = x0 - reach - 0.5, hi = x1 + reach + 0.5;
    if (!knownInside && slope != 0 && (minorLow < minorStart || minorHigh > minorEnd)) {
        const double a = x0 + (minorStart - run - 1 - y0) / slope;
        const double b = x0 + (minorEnd + run + 1 - y0) / slope;
        lo = std::max(lo, std::min(a, b));
        hi = std::min(hi, std::max(a, b));
    }
    // Clamped as doubles first: device coordinates may lie far outside int.
    // Clear of the clip, neither clamp can bind, and leaving them out
    // shortens the chain of operations every segment waits on.
    const int first = knownInside ? ceilToInt(x0 - reach - 0.5)
                                  : std::max(ceilToInt(std::clamp(std::max(lo, x0 - reach - 0.5), majorStart - 1.0,
                                                                  majorEnd + 1.0)),
                                             majorStart);
    const int last = knownInside ? floorToInt(x1 + reach - 0.5)
                                 : std::min(floorToInt(std::clamp(std::min(hi, x1 + reach - 0.5), majorStart - 1.0,
                                                                  majorEnd + 1.0)),
                                            majorEnd);
    if (first > last) {
        walk.count = 0;
        return;
    }
    // Across the line, pixels whose centre lies in (c - run/2, c + run/2]
    // are covered, at least one: a one-pixel line on a pixel border takes
    // the pixel below or right of it, as the painter's own thin lines do.
    // The walk keeps the interval's lower end in 32.32 fixed point, so each
    // step is an integer add; [first, last] keeps the centre within reach of
    // the clip, so the values stay far inside the 64-bit range.
    constexpr double kOne = 4294967296.0;
    const double lower = y0 + slope * (first + 0.5 - x0) - run / 2 - 0.5;
    // Truncation moves each value by less than 2^-32 pixel; the library
    // rounding calls cost more than the whole walk of a short segment.
    walk.lower = static_cast<int64_t>(lower * kOne);
    walk.step = static_cast<int64_t>(slope * kOne);
    walk.run = static_cast<int64_t>(run * kOne);
    walk.toCentre = static_cast<int64_t>((run / 2 + 0.5) * kOne);
    walk.count = last - first + 1;
    walk.minorStart = minorStart;
    walk.minorEnd = minorEnd;
    walk.start = bits_ + (xMajor ? first : static_cast<ptrdiff_t>(first) * stride_);
    walk.xMajor = xMajor;
}

template <bool knownInside>
void PixelLines::walkSegment(const LineWalk& walk) const
{
    if (walk.count == 0)
        return;
    if (knownInside &&
        walkThin(walk, walk.start, walk.xMajor ? 1 : stride_, walk.xMajor ? stride_ : 1, pixel_))
        return;
    if (walk.xMajor)
        walkLine<true, knownInside>(walk, walk.start, stride_, pixel_);
    else
        walkLine<false, knownInside>(walk, walk.start, stride_, pixel_);
}

template <bool knownInside>
void PixelLines::walkSegment(double x0, double y0, double x1, double y1, double widthPx) const
{
    LineWalk walk;
    setUpWalk<knownInside>(x0, y0, x1, y1, widthPx, walk);
    walkSegment<knownInside>(walk);
}

namespace {
// The first and last pixel whose centre lies in (low, high], kept within
// [lowest, highest] as doubles first: device coordinates may lie far outside
// int, and an empty span may come as (+inf, -inf).
int firstCentreAbove(double low, int lowest, int highest)
{
    return floorToInt(std::clamp(low - 0.5, lowest - 1.0, double(highest))) + 1;
}

int lastCentreBelow(double high, int lowest, int highest)
{
    return floorToInt(std::clamp(high - 0.5, lowest - 1.0, double(highest)));
}
} // namespace

template <typename Row>
void PixelLines::fillSpans(double top, double bottom, Row row)
{
    const int firstRow = firstCentreAbove(top, clip_.top(), clip_.bottom());
    const int lastRow = lastCentreBelow(bottom, clip_.top(), clip_.bottom());
    for (int y = firstRow; y <= lastRow; ++y) {
        QRgb* p = bits_ + static_cast<ptrdiff_t>(y) * stride_;
        row(y + 0.5, [&](double left, double right) {
            const int from = firstCentreAbove(left, clip_.left(), clip_.right());
            const int to = lastCentreBelow(right, clip_.left(), clip_.right());
            if (to >= from)
                fillPixels(p + from, to - from, pixel_);
        });
    }
}

template <typename SpanAt>
void PixelLines::fillRows(double top, double bottom, SpanAt spanAt)
{
    fillSpans(top, bottom, [&](double yc, auto fillSpan) {
        const auto [left, right] = spanAt(yc);
        fillSpan(left, right);
    });
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
    thread_local std::vector<QPointF> buffer;
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
    // Pads repeat a few sizes thousands of times: the flattened outline
    // around the origin is kept per size and moved to each centre.
    struct Size {
        double radiusX, radiusY, threshold;
        bool operator==(const Size&) const = default;
    };
    struct SizeHash {
        size_t operator()(const Size& k) const
        {
            return std::hash<double>()(k.radiusX) ^ (std::hash<double>()(k.radiusY) << 1) ^
                   (std::hash<double>()(k.threshold) << 2);
        }
    };
    thread_local std::unordered_map<Size, std::vector<QPointF>, SizeHash> outlines;
    const Size size{radiusX, radiusY, flatteningThreshold()};
    auto found = outlines.find(size);
    if (found == outlines.end()) {
        if (outlines.size() > 4096)
            outlines.clear();
        std::vector<QPointF> around;
        const QPointF origin, right(radiusX, 0), up(0, radiusY);
        around.push_back(right);
        flattenQuarter(around, origin, right, -up, size.threshold);
        flattenQuarter(around, origin, -up, -right, size.threshold);
        flattenQuarter(around, origin, -right, up, size.threshold);
        flattenQuarter(around, origin, up, right, size.threshold);
        found = outlines.emplace(size, std::move(around)).first;
    }
    std::vector<QPointF>& outline = outlineBuffer();
    outline.clear();
    for (const QPointF& p : found->second)
        outline.push_back(centre + p);
    fillOddEven(outline.data(), static_cast<int>(outline.size()), kCurveStepsPerPx);
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
    fillOddEven(outline.data(), static_cast<int>(outline.size()), kCurveStepsPerPx);
}


void PixelLines::fillPolygon(const QPointF* logical, int count)
{
    fillOddEven(logical, count, 65536);
}

namespace {
// Odd-even rows no wider than a machine word: each crossing flips the bit of
// the first pixel whose centre lies right of it, so that a pixel is inside
// where an odd number of bits up to its own are set. That needs neither the
// crossings of a row in order nor a second pass to count them.
constexpr int kRowBits = 64;

// Bit i becomes the parity of bits 0..i.
uint64_t prefixParity(uint64_t bits)
{
    bits ^= bits << 1;
    bits ^= bits << 2;
    bits ^= bits << 4;
    bits ^= bits << 8;
    bits ^= bits << 16;
    bits ^= bits << 32;
    return bits;
}
} // namespace

void PixelLines::fillOddEven(const QPointF* logical, int count, double stepsPerPx)
{
    if (count < 3 || clip_.isEmpty())
        return;
    thread_local std::vector<QPointF> corners;
    corners.resize(static_cast<size_t>(count));
    const double pxPerStep = 1 / stepsPerPx;
    double left = HUGE_VAL, right = -HUGE_VAL, top = HUGE_VAL, bottom = -HUGE_VAL;
    for (int i = 0; i < count; ++i) {
        corners[i] = QPointF(snapToRasterStep(logical[i].x() * toDevice_.m11() + toDevice_.dx(), stepsPerPx, pxPerStep),
                             snapToRasterStep(logical[i].y() * toDevice_.m22() + toDevice_.dy(), stepsPerPx, pxPerStep));
        left = std::min(left, corners[i].x());
        right = std::max(right, corners[i].x());
        top = std::min(top, corners[i].y());
        bottom = std::max(bottom, corners[i].y());
    }
    const int firstRow = firstCentreAbove(top, clip_.top(), clip_.bottom());
    const int lastRow = lastCentreBelow(bottom, clip_.top(), clip_.bottom());
    if (firstRow > lastRow)
        return;
    // Every edge puts its crossing into each row whose centre lies in
    // [upper end, lower end); a pixel is inside when the crossings left of
    // its centre are odd in number.
    auto forEachEdge = [&](auto edge) {
        for (int i = 0, j = count - 1; i < count; j = i++) {
            const bool down = corners[j].y() <= corners[i].y();
            const QPointF& a = down ? corners[j] : corners[i];
            const QPointF& b = down ? corners[i] : corners[j];
            const int r0 = std::max(ceilToInt(std::clamp(a.y() - 0.5, firstRow - 1.0, lastRow + 1.0)), firstRow);
            const int r1 = std::min(ceilToInt(std::clamp(b.y() - 0.5, firstRow - 1.0, lastRow + 1.0)) - 1, lastRow);
            if (r0 <= r1)
                edge(a, (b.x() - a.x()) / (b.y() - a.y()), r0, r1);
        }
    };
    const auto rows = static_cast<size_t>(lastRow - firstRow + 1);
    // A crossing worked out from an edge may round a hair beyond the
    // outermost corner and so into the next column: one column to spare on
    // either side keeps its bit inside the word (on the left only where
    // the column lies in the clip; beyond it, crossings are clamped to it).
    const int firstColumn =
        std::max(firstCentreAbove(left, clip_.left(), clip_.right()) - 1, clip_.left());
    if (firstCentreAbove(right, clip_.left(), clip_.right()) + 1 - firstColumn < kRowBits) {
        // Every crossing's bit is below kRowBits: the right-most can only
        // flip the bit after the last pixel inside, and the row's crossings
        // are even in number, so the top bit's parity is always even.
        thread_local std::vector<uint64_t> rowBits;
        rowBits.assign(rows, 0);
        // Flips, for each crossing, the bit of column(x), the first pixel
        // whose centre lies right of it.
        auto flipCrossings = [&](auto column) {
            forEachEdge([&](const QPointF& a, double slope, int r0, int r1) {
                for (int r = r0; r <= r1; ++r) {
                    const double x = a.x() + (r + 0.5 - a.y()) * slope;
                    rowBits[static_cast<size_t>(r - firstRow)] ^= uint64_t{1} << (column(x) - firstColumn);
                }
            });
        };
        // A pixel and more clear of the clip's sides, the crossings need
        // no clamping, and as they lie right of x = 0.5, truncation rounds
        // them down.
        if (left >= clip_.left() + 1.5 && right <= clip_.right() - 0.5)
            flipCrossings([](double x) { return static_cast<int>(x - 0.5) + 1; });
        else
            flipCrossings([&](double x) { return firstCentreAbove(x, clip_.left(), clip_.right()); });
        const RowBitsWriter writeRow = rowBitsWriter();
        QRgb* line = bits_ + static_cast<ptrdiff_t>(firstRow) * stride_ + firstColumn;
        for (size_t r = 0; r < rows; ++r, line += stride_)
            writeRow(line, prefixParity(rowBits[r]), pixel_);
        return;
    }
    // Wider rows: the crossings of each row sorted and filled pairwise. Two
    // passes: count the crossings of each row, then place them.
    thread_local std::vector<uint32_t> rowStart;
    thread_local std::vector<double> crossings;
    rowStart.assign(rows + 1, 0);
    struct Edge {
        double x, y, slope; // upper end, dx per dy
        int firstRow, lastRow;
    };
    thread_local std::vector<Edge> edges;
    edges.clear();
    forEachEdge([&](const QPointF& a, double slope, int r0, int r1) {
        edges.push_back({a.x(), a.y(), slope, r0, r1});
        for (int r = r0; r <= r1; ++r)
            ++rowStart[static_cast<size_t>(r - firstRow) + 1];
    });
    for (size_t r = 1; r <= rows; ++r)
        rowStart[r] += rowStart[r - 1];
    crossings.resize(rowStart[rows]);
    thread_local std::vector<uint32_t> rowFill;
    rowFill.assign(rowStart.begin(), rowStart.end() - 1);
    for (const Edge& e : edges)
        for (int r = e.firstRow; r <= e.lastRow; ++r)
            crossings[rowFill[static_cast<size_t>(r - firstRow)]++] = e.x + (r + 0.5 - e.y) * e.slope;
    fillSpans(top, bottom, [&](double yc, auto fillSpan) {
        const auto r = static_cast<size_t>(static_cast<int>(yc - 0.5) - firstRow);
        double* xs = crossings.data() + rowStart[r];
        const size_t n = rowStart[r + 1] - rowStart[r];
        // A row of a jagged outline holds several crossings in no order;
        // compare-and-swap without branches costs less than mispredicting.
        if (n > 16) {
            std::sort(xs, xs + n);
        } else {
            for (size_t k = 1; k < n; ++k)
                for (size_t j = k; j > 0; --j) {
                    const double low = std::min(xs[j - 1], xs[j]), high = std::max(xs[j - 1], xs[j]);
                    xs[j - 1] = low;
                    xs[j] = high;
                }
        }
        for (size_t k = 0; k + 1 < n; k += 2)
            fillSpan(xs[k], xs[k + 1]);
    });
}

void PixelLines::fillCapsule(const QLineF& logical, double widthPx)
{
    const QPointF a = toDevice_.map(logical.p1()), b = toDevice_.map(logical.p2());
    const double r = std::max(widthPx, 1.0) / 2;
    // The band between the round ends: a rectangle of corners a +- n, b +- n,
    // its sloped edges kept as x at a row and the change of x per row (a
    // division per edge here instead of one per row and edge).
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    const QPointF n = length > 0 ? QPointF(-d.y(), d.x()) * (r / length) : QPointF();
    const QPointF band[4] = {a + n, b + n, b - n, a - n};
    struct Edge {
        double top, bottom, x, slope;
    };
    Edge edges[4];
    int edgeCount = 0;
    for (int i = 0, j = 3; i < 4; j = i++) {
        const QPointF& p = band[j].y() <= band[i].y() ? band[j] : band[i];
        const QPointF& q = band[j].y() <= band[i].y() ? band[i] : band[j];
        if (p.y() < q.y())
            edges[edgeCount++] = {p.y(), q.y(), p.x(), (q.x() - p.x()) / (q.y() - p.y())};
    }
    const double r2 = r * r;
    auto disc = [r2](const QPointF& c, double yc, double& left, double& right) {
        const double dy = yc - c.y();
        if (dy * dy > r2)
            return;
        const double half = std::sqrt(r2 - dy * dy);
        left = std::min(left, c.x() - half);
        right = std::max(right, c.x() + half);
    };
    fillRows(std::min(a.y(), b.y()) - r, std::max(a.y(), b.y()) + r, [&](double yc) {
        double left = HUGE_VAL, right = -HUGE_VAL;
        disc(a, yc, left, right);
        disc(b, yc, left, right);
        for (int k = 0; k < edgeCount; ++k) {
            const Edge& e = edges[k];
            if (yc < e.top || yc >= e.bottom)
                continue;
            const double x = e.x + (yc - e.top) * e.slope;
            left = std::min(left, x);
            right = std::max(right, x);
        }
        return std::pair(left, right);
    });
}

} // namespace kestrel
