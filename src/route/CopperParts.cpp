#include "route/CopperParts.h"

#include "geometry/Geometry.h"

#include <algorithm>
#include <span>

namespace kestrel {

namespace {

// Half width as SegmentOutline takes it; zero leaves a zone edge without area.
int32_t capsuleHalfWidth(const LayoutObject& o)
{
    const int32_t w = o.widthUnits() / 2;
    return w == 0 && !o.is(ObjectKind::Zone) ? kDefaultHalfWidth : w;
}

Rect capsuleBox(Point a, Point b, int32_t halfWidth)
{
    // Two units of slack for corners rounded outwards.
    const int64_t by = std::abs(int64_t{halfWidth}) + 2;
    auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    return {clamp(std::min(a.x, b.x) - by), clamp(std::min(a.y, b.y) - by), clamp(std::max(a.x, b.x) + by),
            clamp(std::max(a.y, b.y) + by)};
}

Rect pointsBox(std::span<const Point> points)
{
    Rect r{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        r.left = std::min(r.left, p.x);
        r.right = std::max(r.right, p.x);
        r.top = std::min(r.top, p.y);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

} // namespace

size_t writeCopperParts(const LayoutObject& o, uint32_t index, CopperPart* parts, CapsuleShape* capsules)
{
    const int32_t w = capsuleHalfWidth(o);
    switch (o.kind()) {
    case ObjectKind::Line:
        parts[0] = {capsuleBox(o.start(), o.end(), w), index, CopperPart::kLine};
        capsules[0] = {o.start(), o.end(), w};
        return 1;
    case ObjectKind::Track:
    case ObjectKind::Zone: {
        const PackedList<Point>& p = o.Points;
        if (p.size() < 2)
            return 0;
        const bool closed = o.is(ObjectKind::Zone) && p.size() > 2;
        size_t n = 0;
        if (w != 0) {
            const size_t segments = closed ? p.size() : p.size() - 1;
            for (size_t k = 0; k < segments; ++k) {
                const Point a = p[k], b = p[k + 1 == p.size() ? 0 : k + 1];
                parts[n] = {capsuleBox(a, b, w), index, static_cast<int32_t>(k)};
                capsules[n++] = {a, b, w};
            }
        }
        if (closed) {
            parts[n] = {pointsBox(p), index, CopperPart::kFill};
            capsules[n++] = {};
        }
        return n;
    }
    default:
        // A hole that fills its pad leaves no copper to join anything, as
        // the Gerber has it.
        if (o.is(ObjectKind::Pad) && o.padOuterRadius() <= o.holeRadius())
            return 0;
        parts[0] = {OutlineBounds(o), index, CopperPart::kShape};
        capsules[0] = {};
        return 1;
    }
}

} // namespace kestrel
