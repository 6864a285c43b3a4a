#include "edit/QuickShapeTests.h"

#include "geometry/Figures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace kestrel {

namespace {

// Outlines have their corners on whole units, and discs are polygons whose
// edges cut inside the circle by up to half a unit (more on huge radii):
// anything nearer a drawn edge than this is left to the exact region.
double tolerance(double radius)
{
    return 2.0 + std::abs(radius) / 20000.0;
}

double halfPen(const LayoutObject& o)
{
    int32_t w = o.widthUnits() / 2;
    if (w == 0 && !o.is(ObjectKind::Zone))
        w = kDefaultHalfWidth;
    return std::abs(static_cast<double>(w));
}

// Squared, so the common case needs no square root.
double squaredDistanceToSegment(Point p, Point a, Point b)
{
    const double ax = a.x, ay = a.y, dx = static_cast<double>(b.x) - ax, dy = static_cast<double>(b.y) - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - ax) * dx + (p.y - ay) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = p.x - (ax + t * dx), ey = p.y - (ay + t * dy);
    return ex * ex + ey * ey;
}

// The ring of a full circle: radii from `inner` to `outer`, or none.
bool ringOf(const LayoutObject& c, double& inner, double& outer)
{
    if (c.arcStartDegrees() != c.arcStopDegrees() || c.circleOuterRadius() <= 0)
        return false;
    outer = c.circleOuterRadius();
    inner = c.Filled ? 0.0 : static_cast<double>(c.circleInnerRadius());
    return inner < outer;
}

} // namespace

// Liang-Barsky clipping of the segment against the rectangle.
bool segmentMeetsRect(Point a, Point b, const Rect& r)
{
    double t0 = 0, t1 = 1;
    const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {static_cast<double>(a.x) - r.left, static_cast<double>(r.right) - a.x,
                         static_cast<double>(a.y) - r.top, static_cast<double>(r.bottom) - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

Quick quickSegmentHit(const LayoutObject& o, Point a, Point b, Point p)
{
    const double w = halfPen(o), d2 = squaredDistanceToSegment(p, a, b);
    const double far = w + tolerance(w);
    if (d2 > far * far)
        return Quick::No;
    // The end caps are drawn with corners every 45 degrees, whose edges cut
    // up to 8 % into the half width.
    const double near = 0.92 * w - tolerance(w);
    return near > 0 && d2 < near * near ? Quick::Yes : Quick::Unsure;
}

Quick quickSegmentTouch(const LayoutObject& o, Point a, Point b, const Rect& frame)
{
    const double w = halfPen(o);
    const Rect reach = Rect{a.x, a.y, b.x, b.y}.normalised().grown(static_cast<int32_t>(w + tolerance(w)));
    if (!reach.overlaps(frame))
        return Quick::No;
    // A pen of some width around a segment that meets the frame covers part
    // of the frame's area.
    // Outline corners on whole units leave a pen of 2 units some width.
    if (w >= 2 && segmentMeetsRect(a, b, frame))
        return Quick::Yes;
    return Quick::Unsure;
}

Quick quickCircleHit(const LayoutObject& c, Point p)
{
    double inner = 0, outer = 0;
    if (!ringOf(c, inner, outer))
        return Quick::Unsure;
    const double d = std::hypot(static_cast<double>(p.x) - c.X1, static_cast<double>(p.y) - c.Y1);
    const double t = tolerance(outer);
    if (d > outer + t || (inner > 0 && d < inner - t))
        return Quick::No;
    if (d < outer - t && (inner == 0 || d > inner + t))
        return Quick::Yes;
    return Quick::Unsure;
}

// Points of an arc's middle line well inside its span, strictly inside the
// frame: the arc's area around such a point meets the frame. The outline
// cuts the arc off along its end rays and, for spans up to a half turn,
// along the chord between the middle line's ends, so the samples keep a
// few units clear of both.
bool arcMiddleLineInside(const LayoutObject& c, const Rect& frame)
{
    const double outer = c.circleOuterRadius(), inner = c.circleInnerRadius();
    if (!(inner >= 0 && inner < outer - 4))
        return false;
    // The outline's own middle radius: half the ring's width out from the inside.
    const double middle = std::trunc((outer - inner) / 2) + inner;
    const double span = arcSpanDegrees(c) * std::numbers::pi / 180.0;
    const double clearOfRays = middle * std::sin(std::min(span / 4, std::numbers::pi / 2));
    const double clearOfChord = span < std::numbers::pi ? middle * (1 - std::cos(span / 2) / std::cos(span / 4)) : middle;
    if (clearOfRays < 4 || clearOfChord < 4)
        return false;
    constexpr int kSamples = 9; // over the middle half of the span
    for (int k = 0; k < kSamples; ++k) {
        const double a = c.arcStartDegrees() * std::numbers::pi / 180.0 + span * (0.25 + 0.5 * k / (kSamples - 1));
        const double x = c.X1 + middle * std::cos(a), y = c.Y1 + middle * std::sin(a);
        if (frame.left + 1 < x && x < frame.right - 1 && frame.top + 1 < y && y < frame.bottom - 1)
            return true;
    }
    return false;
}

Quick quickCircleTouch(const LayoutObject& c, const Rect& frame)
{
    double inner = 0, outer = 0;
    if (!ringOf(c, inner, outer)) {
        if (c.arcStartDegrees() != c.arcStopDegrees() && arcMiddleLineInside(c, frame))
            return Quick::Yes;
        return Quick::Unsure;
    }
    const double cx = c.X1, cy = c.Y1;
    // Nearest and farthest distance of the frame from the centre.
    const double nx = std::clamp(cx, double(frame.left), double(frame.right)) - cx;
    const double ny = std::clamp(cy, double(frame.top), double(frame.bottom)) - cy;
    const double fx = std::max(std::abs(frame.left - cx), std::abs(frame.right - cx));
    const double fy = std::max(std::abs(frame.top - cy), std::abs(frame.bottom - cy));
    const double nearest = std::hypot(nx, ny), farthest = std::hypot(fx, fy);
    const double t = tolerance(outer);
    if (nearest > outer - t || farthest < inner + t)
        return nearest > outer + t || farthest < inner - t ? Quick::No : Quick::Unsure;
    // The frame is connected and reaches both well inside the outer circle
    // and well outside the hole, so it holds a point in the middle of the
    // ring; a frame of positive area then shares area with the ring.
    return frame.right > frame.left && frame.bottom > frame.top ? Quick::Yes : Quick::Unsure;
}

bool polygonHolds(const std::vector<Point>& polygon, Point p)
{
    int winding = 0;
    const size_t n = polygon.size();
    for (size_t i = 0; i < n; ++i) {
        const Point a = polygon[i], b = polygon[(i + 1) % n];
        const int64_t cross = (int64_t{b.x} - a.x) * (int64_t{p.y} - a.y) - (int64_t{p.x} - a.x) * (int64_t{b.y} - a.y);
        if (cross == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
            p.y <= std::max(a.y, b.y))
            return true; // on an edge
        if (a.y <= p.y) {
            if (b.y > p.y && cross > 0)
                ++winding;
        } else if (b.y <= p.y && cross < 0) {
            --winding;
        }
    }
    return winding != 0;
}

} // namespace kestrel
