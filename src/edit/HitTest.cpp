#include "edit/HitTest.h"

#include "edit/QuickShapeTests.h"
#include "edit/Selection.h"
#include "geometry/Geometry.h"

#include <algorithm>
#include <cassert>
#include <functional>

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

Region capsuleOf(const LayoutObject& o, Point a, Point b)
{
    const auto outline = SegmentOutline(o, a, b);
    return Region::fromPolygon(Polygon(outline.begin(), outline.end()));
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
    switch (o.kind()) {
    case ObjectKind::Text: {
        // A label is drawn as its box; a box without area covers nothing.
        const Rect box = Rect{o.X1, o.Y1, o.X2, o.Y2}.normalised();
        return box.left < box.right && box.top < box.bottom && box.left <= p.x && p.x <= box.right &&
               box.top <= p.y && p.y <= box.bottom;
    }
    case ObjectKind::Line:
        if (const Quick q = quickSegmentHit(o, o.start(), o.end(), p); q != Quick::Unsure)
            return q == Quick::Yes;
        return capsuleOf(o, o.start(), o.end()).contains(p);
    case ObjectKind::Circle:
        if (const Quick q = quickCircleHit(o, p); q != Quick::Unsure)
            return q == Quick::Yes;
        return ObjectRegion(o).contains(p);
    case ObjectKind::Pad:
        return ObjectRegion(o).contains(p);
    case ObjectKind::Zone:
    case ObjectKind::Track:
        break;
    }
    const bool onStroke = anySegment(o, [&](Point a, Point b) {
        const Quick q = quickSegmentHit(o, a, b, p);
        return q == Quick::Yes || (q == Quick::Unsure && capsuleOf(o, a, b).contains(p));
    });
    if (onStroke)
        return true;
    return o.is(ObjectKind::Zone) && o.Points.size() > 2 && polygonHolds(o.Points, p);
}

long FindObjectAt(const ObjectIndex& index, const BoardSettings& view, Point p)
{
    std::vector<uint32_t> positions;
    // Rectangles overlap this unit square exactly when they hold p half-open.
    index.queryUnordered({p.x, p.y, p.x + 1, p.y + 1}, positions);
    // Only the few objects under p are sorted, topmost first.
    std::erase_if(positions, [&](uint32_t i) {
        const Rect& box = index.bounds(i);
        return !(box.left <= p.x && p.x < box.right && box.top <= p.y && p.y < box.bottom) ||
               !IsPickable(view, index.object(i).Layer);
    });
    std::sort(positions.begin(), positions.end(), std::greater<>());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    long held = -1;
    for (const uint32_t i : positions) {
        const LayoutObject& o = index.object(i);
        if (o.hasPoints() && o.Selected && CornerAt(o, p) >= 0)
            return i;
        if (held >= 0 && rank(o) <= rank(index.object(static_cast<uint32_t>(held))))
            continue;
        if (HitsDrawnShape(o, p))
            held = i;
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
    if (o.is(ObjectKind::Circle)) {
        if (const Quick q = quickCircleTouch(o, frame); q != Quick::Unsure)
            return q == Quick::Yes;
        return ObjectRegion(o).overlaps(frameRegion);
    }
    const bool onStroke = anySegment(o, [&](Point a, Point b) {
        const Quick q = quickSegmentTouch(o, a, b, frame);
        return q == Quick::Yes || (q == Quick::Unsure && capsuleOf(o, a, b).overlaps(frameRegion));
    });
    if (onStroke)
        return true;
    if (!o.is(ObjectKind::Zone) || o.Points.size() <= 2)
        return false;
    // When no edge of the zone meets the frame, the frame lies wholly inside
    // or wholly outside the fill, and one of its points tells which.
    const bool edgeMeetsFrame = anySegment(o, [&](Point a, Point b) { return segmentMeetsRect(a, b, frame); });
    if (!edgeMeetsFrame)
        return polygonHolds(o.Points, {frame.left, frame.top});
    return Region::fromPolygon(o.Points, Region::Fill::EvenOdd).overlaps(frameRegion);
}

void SelectInFrame(ObjectList& list, const ObjectIndex& index, const BoardSettings& view, Point a, Point b)
{
    assert(index.source() == &list && index.size() == list.size());
    const Rect frame = Rect{a.x, a.y, b.x, b.y}.normalised();
    // A frame without area touches nothing.
    if (frame.left == frame.right || frame.top == frame.bottom)
        return;
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
