#include "edit/HitTest.h"

#include "edit/Selection.h"
#include "geometry/Geometry.h"

#include <cassert>
#include <cstdlib>

namespace kestrel {

namespace {

// Segments of a track or zone as drawn, the zone's closing edge included.
template <class Visit>
bool anySegment(const LayoutObject& o, Visit visit)
{
    const auto& pts = o.Points;
    if (pts.size() < 2)
        return false;
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        if (visit(pts[i], pts[i + 1]))
            return true;
    return o.is(ObjectKind::Zone) && pts.size() > 2 && visit(pts.back(), pts.front());
}

// The rectangle a segment's capsule can reach, so most segments are passed
// over without building their outline.
Rect segmentReach(const LayoutObject& o, Point a, Point b)
{
    const int32_t reach = std::max(std::abs(o.widthUnits() / 2), kDefaultHalfWidth) + 2;
    return Rect{a.x, a.y, b.x, b.y}.normalised().grown(reach);
}

Region capsuleOf(const LayoutObject& o, Point a, Point b)
{
    const auto outline = SegmentOutline(o, a, b);
    return Region::fromPolygon(Polygon(outline.begin(), outline.end()));
}

bool inside(const Rect& r, Point p)
{
    return r.left <= p.x && p.x <= r.right && r.top <= p.y && p.y <= r.bottom;
}

bool strictlyInside(const Rect& inner, const Rect& outer)
{
    return outer.left < inner.left && inner.right < outer.right && outer.top < inner.top && inner.bottom < outer.bottom;
}

// A later (lower) candidate replaces the held one when it ranks higher:
// pads above everything, circles below everything.
int rank(const LayoutObject& o)
{
    return o.is(ObjectKind::Pad) ? 2 : o.is(ObjectKind::Circle) ? 0 : 1;
}

} // namespace

bool HitsDrawnShape(const LayoutObject& o, Point p)
{
    if (!o.hasPoints())
        return ObjectRegion(o).contains(p);
    const bool onStroke = anySegment(o, [&](Point a, Point b) {
        return inside(segmentReach(o, a, b), p) && capsuleOf(o, a, b).contains(p);
    });
    if (onStroke)
        return true;
    return o.is(ObjectKind::Zone) && o.Points.size() > 2 && Region::fromPolygon(o.Points).contains(p);
}

long FindObjectAt(const ObjectIndex& index, const BoardSettings& view, Point p)
{
    std::vector<uint32_t> positions;
    // Rectangles overlap this unit square exactly when they hold p half-open.
    index.query({p.x, p.y, p.x + 1, p.y + 1}, positions);
    long held = -1;
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        const LayoutObject& o = index.object(*it);
        if (!IsPickable(view, o.Layer))
            continue;
        const Rect box = BoundingRect(o);
        if (!(box.left <= p.x && p.x < box.right && box.top <= p.y && p.y < box.bottom))
            continue;
        if (o.hasPoints() && o.Selected && CornerAt(o, p) >= 0)
            return *it;
        if (held >= 0 && rank(o) <= rank(index.object(static_cast<uint32_t>(held))))
            continue;
        if (HitsDrawnShape(o, p))
            held = *it;
    }
    return held;
}

bool TouchesFrame(const LayoutObject& o, const Rect& frame)
{
    const bool byShape = o.is(ObjectKind::Zone) || o.is(ObjectKind::Circle) || o.is(ObjectKind::Track);
    if (!byShape)
        return BoundingRect(o).overlaps(frame);
    const Rect reach = OutlineBounds(o);
    if (!reach.overlaps(frame))
        return false;
    // A track always has a stroke of some width, and a circle of positive
    // radius some area, so lying wholly inside the frame is enough.
    const bool hasArea = (o.is(ObjectKind::Track) && o.Points.size() >= 2) ||
                         (o.is(ObjectKind::Circle) && o.circleOuterRadius() > 0);
    if (hasArea && strictlyInside(reach, frame))
        return true;
    const Region frameRegion = Region::rectangle(frame);
    if (o.is(ObjectKind::Circle))
        return ObjectRegion(o).overlaps(frameRegion);
    const bool onStroke = anySegment(o, [&](Point a, Point b) {
        return segmentReach(o, a, b).overlaps(frame) && capsuleOf(o, a, b).overlaps(frameRegion);
    });
    if (onStroke)
        return true;
    return o.is(ObjectKind::Zone) && o.Points.size() > 2 && Region::fromPolygon(o.Points).overlaps(frameRegion);
}

void SelectInFrame(ObjectList& list, const ObjectIndex& index, const BoardSettings& view, Point a, Point b)
{
    assert(index.source() == &list && index.size() == list.size());
    const Rect frame = Rect{a.x, a.y, b.x, b.y}.normalised();
    std::vector<uint32_t> near;
    index.query(frame, near);
    std::vector<uint32_t> touched;
    for (const uint32_t i : near) {
        const LayoutObject& o = list[i];
        if (!o.Selected && IsPickable(view, o.Layer) && TouchesFrame(o, frame))
            touched.push_back(i);
    }
    SelectObjects(list, touched);
}

} // namespace kestrel
