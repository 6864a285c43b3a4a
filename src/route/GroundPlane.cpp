#include "route/GroundPlane.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrel {

int32_t grownPenWidth(const LayoutObject& o, int32_t c) { return o.Width + 2 * c; }

PadExtents grownPadExtents(const LayoutObject& pad, int32_t e)
{
    PadExtents x;
    x.across = pad.X2 + e;
    x.along = 2 * pad.X2 + e;
    x.halfX = x.across;
    x.halfY = x.across;
    switch (static_cast<PadShape>(pad.Shape)) {
    case PadShape::RoundedH:
    case PadShape::OctagonH:
    case PadShape::RectH:
        x.halfX = x.along;
        break;
    case PadShape::RoundedV:
    case PadShape::OctagonV:
    case PadShape::RectV:
        x.halfY = x.along;
        break;
    default:
        break;
    }
    return x;
}

ArcStroke grownArcStroke(const LayoutObject& circle, int32_t c)
{
    ArcStroke s;
    s.widthUnits = circle.X2 - circle.Y2 + 2 * c;
    s.centreRadius = circle.X2 - roundEven(s.widthUnits / 2.0) + c;
    return s;
}

Point arcStrokePoint(Point centre, int32_t radius, int32_t angleDegrees)
{
    const float radians = static_cast<float>(static_cast<long double>(angleDegrees) / 180.0L * std::numbers::pi_v<long double>);
    const long double a = radians;
    return {centre.x + static_cast<int32_t>(std::nearbyintl(radius * std::cos(a))),
            centre.y + static_cast<int32_t>(std::nearbyintl(radius * std::sin(a)))};
}

namespace {

Region octagon(Point c, int32_t hw, int32_t hh)
{
    const int32_t cut = static_cast<int32_t>(std::nearbyintl(static_cast<long double>(std::min(hw, hh)) * 0.585L));
    return Region::fromPolygon({{c.x - hw, c.y + hh - cut},
                                {c.x - hw + cut, c.y + hh},
                                {c.x + hw - cut, c.y + hh},
                                {c.x + hw, c.y + hh - cut},
                                {c.x + hw, c.y - hh + cut},
                                {c.x + hw - cut, c.y - hh},
                                {c.x - hw + cut, c.y - hh},
                                {c.x - hw, c.y - hh + cut}});
}

// The inner rectangle stroked with a round pen of diameter d.
Region roundedRectangle(Point c, int32_t hw, int32_t hh)
{
    const int32_t d = roundEven(std::min(hw, hh) * 1.5);
    const int32_t e = d / 2;
    const int32_t ix = hw - e, iy = hh - e;
    std::vector<Region> pieces = {Region::rectangle({c.x - ix - e, c.y - iy, c.x + ix + e, c.y + iy}),
                                  Region::rectangle({c.x - ix, c.y - iy - e, c.x + ix, c.y + iy + e})};
    for (Point corner : {Point{c.x - ix, c.y - iy}, Point{c.x + ix, c.y - iy}, Point{c.x + ix, c.y + iy},
                         Point{c.x - ix, c.y + iy}})
        pieces.push_back(Region::disc(corner, e));
    std::vector<Polygon> parts;
    for (const Region& piece : pieces)
        parts.insert(parts.end(), piece.polygons().begin(), piece.polygons().end());
    return Region::fromPolygons(parts);
}

// A circle's stroke grown by c: the object's own outline with the radii of
// the grown stroke, drawn as a ring or arc (a filled sector exports as its arc).
Region grownCircleRegion(const LayoutObject& circle, int32_t c)
{
    const ArcStroke s = grownArcStroke(circle, c);
    LayoutObject stroke = circle;
    stroke.Filled = 0;
    stroke.X2 = s.centreRadius + (s.widthUnits + 1) / 2;
    stroke.Y2 = std::max(0, s.centreRadius - s.widthUnits / 2);
    if (stroke.Y2 == 0 && circle.Angle == circle.Width)
        return Region::disc({circle.X1, circle.Y1}, stroke.X2);
    return ObjectRegion(stroke);
}

} // namespace

Region grownPadRegion(const LayoutObject& pad, int32_t e)
{
    const PadExtents x = grownPadExtents(pad, e);
    const Point c{pad.X1, pad.Y1};
    switch (static_cast<PadShape>(pad.Shape)) {
    case PadShape::Round:
        return Region::disc(c, x.across);
    case PadShape::Square:
    case PadShape::RectH:
    case PadShape::RectV:
        return Region::rectangle({c.x - x.halfX, c.y - x.halfY, c.x + x.halfX, c.y + x.halfY});
    case PadShape::Octagon:
    case PadShape::OctagonH:
    case PadShape::OctagonV:
        return octagon(c, x.halfX, x.halfY);
    case PadShape::RoundedH:
    case PadShape::RoundedV:
        return roundedRectangle(c, x.halfX, x.halfY);
    }
    return {};
}

Region clearanceRegion(const LayoutObject& o)
{
    const int32_t c = o.Clearance;
    switch (o.kind()) {
    case ObjectKind::Line:
    case ObjectKind::Track:
    case ObjectKind::Zone: {
        LayoutObject grown = o;
        grown.Width = grownPenWidth(o, c);
        return ObjectRegion(grown);
    }
    case ObjectKind::Pad:
        return grownPadRegion(o, c);
    case ObjectKind::Circle:
        return grownCircleRegion(o, c);
    case ObjectKind::Text:
        return Region::rectangle(Rect{o.X1, o.Y1, o.X2, o.Y2}.normalised().grown(c));
    }
    return {};
}

Region groundPlaneRegion(const ObjectList& objects, const BoardSettings& settings, int layer, bool labelsCutGaps)
{
    // Each clearance area is normalised (winding 1 inside, holes wound the
    // other way), so filling all their rings together by the non-zero rule
    // gives their union in one pass.
    std::vector<Polygon> rings;
    for (const auto& o : objects) {
        if (o->Layer != layer || (o->is(ObjectKind::Text) && !labelsCutGaps))
            continue;
        const Region gap = clearanceRegion(*o);
        rings.insert(rings.end(), gap.polygons().begin(), gap.polygons().end());
    }
    return Region::rectangle(settings.boardRect()).subtracted(Region::fromPolygons(rings));
}

} // namespace kestrel
