#include "edit/QuickShapeTests.h"

#include "geometry/Figures.h"
#include "geometry/SegmentClip.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

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
    if (!isWholeCircle(c) || c.circleOuterRadius() <= 0)
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
    return clipSegmentToRect(a.x, a.y, static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y, r.left, r.top,
                             r.right, r.bottom, t0, t1);
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

namespace {

// Points of an arc's middle line well inside its span, strictly inside the
// frame: the arc's area around such a point meets the frame. The outline
// cuts the arc off along its end rays and, for a filled sector of up to a
// half turn, along the chord between the middle line's ends, so the samples
// keep a few units clear of both.
bool arcMiddleLineInside(const LayoutObject& c, const Rect& frame)
{
    const double outer = c.circleOuterRadius(), inner = c.circleInnerRadius();
    if (!(inner >= 0 && inner < outer - 4))
        return false;
    // The outline's own middle radius: half the ring's width out from the inside.
    const double middle = std::trunc((outer - inner) / 2) + inner;
    const double span = arcSpanDegrees(c) * std::numbers::pi / 180.0;
    const double clearOfRays = middle * std::sin(std::min(span / 4, std::numbers::pi / 2));
    const double clearOfChord =
        c.Filled && span < std::numbers::pi ? middle * (1 - std::cos(span / 2) / std::cos(span / 4)) : middle;
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

double distanceToFrame(const Rect& frame, double x, double y)
{
    const double dx = std::max({frame.left - x, 0.0, x - frame.right});
    const double dy = std::max({frame.top - y, 0.0, y - frame.bottom});
    return std::hypot(dx, dy);
}

// Whether an unfilled arc stays clear of the frame: its outline lies within
// half its width (and a unit of rounding) of its middle line, sampled so
// densely that no point of the line lies further than `gap` from a sample.
bool arcClearOf(const LayoutObject& c, const Rect& frame)
{
    const double outer = c.circleOuterRadius(), inner = c.circleInnerRadius();
    const double span = arcSpanDegrees(c) * std::numbers::pi / 180.0;
    if (c.Filled || !(inner >= 0 && inner < outer))
        return false;
    const double halfWidth = std::trunc((outer - inner) / 2);
    const double middle = halfWidth + inner;
    const double gap = 10.0;
    const int steps = std::max(1, static_cast<int>(std::ceil(middle * span / (2 * gap))));
    const double reach = halfWidth + gap + tolerance(outer) + 1;
    const double start = c.arcStartDegrees() * std::numbers::pi / 180.0;
    for (int k = 0; k <= steps; ++k) {
        const double a = start + span * k / steps;
        const double x = c.X1 + middle * std::cos(a), y = c.Y1 + middle * std::sin(a);
        if (distanceToFrame(frame, x, y) <= reach)
            return false;
    }
    return true;
}

// Whether a convex polygon (corners in order) and the frame are apart: some
// edge of the polygon, or an axis, separates them.
bool convexApart(const std::vector<std::pair<double, double>>& poly, const Rect& frame)
{
    double minX = poly[0].first, maxX = minX, minY = poly[0].second, maxY = minY;
    for (const auto& [x, y] : poly) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    if (maxX < frame.left || minX > frame.right || maxY < frame.top || minY > frame.bottom)
        return true;
    const double l = frame.left, t = frame.top, r = frame.right, b = frame.bottom;
    const double corners[4][2] = {{l, t}, {r, t}, {r, b}, {l, b}};
    const size_t n = poly.size();
    // The polygon lies left of its edges when it runs counter-clockwise.
    double twiceArea = 0;
    for (size_t i = 0; i < n; ++i)
        twiceArea += poly[i].first * poly[(i + 1) % n].second - poly[(i + 1) % n].first * poly[i].second;
    for (size_t i = 0; i < n; ++i) {
        const auto [ax, ay] = poly[i];
        const auto [bx, by] = poly[(i + 1) % n];
        bool allOutside = true;
        for (const auto& corner : corners) {
            const double side = (bx - ax) * (corner[1] - ay) - (by - ay) * (corner[0] - ax);
            allOutside &= twiceArea > 0 ? side < 0 : side > 0;
        }
        if (allOutside)
            return true;
    }
    return false;
}

// Whether a filled sector of at most a half turn stays clear of the frame:
// its outline lies in the sector (radius up to the outer one) with a disc of
// half its width at each end of the middle line. The sector is enclosed in a
// polygon whose edges touch the outer circle from outside.
bool sectorClearOf(const LayoutObject& c, const Rect& frame)
{
    const double outer = c.circleOuterRadius(), inner = c.circleInnerRadius();
    const double span = arcSpanDegrees(c) * std::numbers::pi / 180.0;
    if (!c.Filled || !(inner >= 0 && inner < outer) || span > std::numbers::pi)
        return false;
    const double halfWidth = std::trunc((outer - inner) / 2), middle = halfWidth + inner;
    const double start = c.arcStartDegrees() * std::numbers::pi / 180.0;
    const double t = tolerance(outer) + 1;
    for (const double a : {start, start + span})
        if (distanceToFrame(frame, c.X1 + middle * std::cos(a), c.Y1 + middle * std::sin(a)) <= halfWidth + t)
            return false;
    const int steps = std::max(1, static_cast<int>(std::ceil(span / (std::numbers::pi / 8))));
    const double step = span / steps;
    const double far = (outer + t) / std::cos(step / 2);
    std::vector<std::pair<double, double>> poly = {{c.X1, c.Y1}};
    poly.emplace_back(c.X1 + (outer + t) * std::cos(start), c.Y1 + (outer + t) * std::sin(start));
    for (int k = 0; k < steps; ++k) {
        const double a = start + step * (k + 0.5);
        poly.emplace_back(c.X1 + far * std::cos(a), c.Y1 + far * std::sin(a));
    }
    poly.emplace_back(c.X1 + (outer + t) * std::cos(start + span), c.Y1 + (outer + t) * std::sin(start + span));
    return convexApart(poly, frame);
}

} // namespace

Quick quickCircleTouch(const LayoutObject& c, const Rect& frame)
{
    // Every outline of a circle lies within its outer radius and a unit, and
    // that of a ring or an unfilled arc outside its inner radius less a unit.
    const double outerReach = c.circleOuterRadius() + tolerance(c.circleOuterRadius()) + 1;
    if (c.circleOuterRadius() >= 0 && distanceToFrame(frame, c.X1, c.Y1) > outerReach)
        return Quick::No;
    if (!c.Filled && c.circleInnerRadius() >= 0 && c.circleInnerRadius() < c.circleOuterRadius()) {
        const double fx = std::max(std::abs(frame.left - double(c.X1)), std::abs(frame.right - double(c.X1)));
        const double fy = std::max(std::abs(frame.top - double(c.Y1)), std::abs(frame.bottom - double(c.Y1)));
        if (std::hypot(fx, fy) < c.circleInnerRadius() - tolerance(c.circleOuterRadius()) - 1)
            return Quick::No;
    }
    double inner = 0, outer = 0;
    if (!ringOf(c, inner, outer)) {
        if (isWholeCircle(c))
            return Quick::Unsure;
        if (arcMiddleLineInside(c, frame))
            return Quick::Yes;
        return arcClearOf(c, frame) || sectorClearOf(c, frame) ? Quick::No : Quick::Unsure;
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

bool polygonHolds(std::span<const Point> polygon, Point p)
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
    return winding % 2 != 0; // even-odd, as zones are drawn
}

} // namespace kestrel
