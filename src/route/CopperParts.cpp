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

void appendCopperParts(const LayoutObject& o, uint32_t index, IndexVector<CopperPart>& parts)
{
    const int32_t w = capsuleHalfWidth(o);
    switch (o.kind()) {
    case ObjectKind::Line:
        parts.push_back({capsuleBox(o.start(), o.end(), w), index, CopperPart::kLine});
        return;
    case ObjectKind::Track:
    case ObjectKind::Zone: {
        const PackedList<Point>& p = o.Points;
        if (p.size() < 2)
            return;
        const bool zone = o.is(ObjectKind::Zone);
        if (w != 0) {
            for (size_t k = 0; k + 1 < p.size(); ++k)
                parts.push_back({capsuleBox(p[k], p[k + 1], w), index, static_cast<int32_t>(k)});
            if (zone && p.size() > 2)
                parts.push_back({capsuleBox(p.back(), p.front(), w), index, static_cast<int32_t>(p.size() - 1)});
        }
        if (zone && p.size() > 2)
            parts.push_back({pointsBox(p), index, CopperPart::kFill});
        return;
    }
    default:
        parts.push_back({OutlineBounds(o), index, CopperPart::kShape});
        return;
    }
}

CapsuleShape capsuleOf(const LayoutObject& o, const CopperPart& part)
{
    const int32_t w = capsuleHalfWidth(o);
    if (part.piece == CopperPart::kLine)
        return {o.start(), o.end(), w};
    const PackedList<Point>& p = o.Points;
    const size_t k = static_cast<size_t>(part.piece);
    return {p[k], p[(k + 1) % p.size()], w};
}

} // namespace kestrel
