#include "output/CopperShapes.h"

#include "geometry/Figures.h"
#include "geometry/Geometry.h"

#include <algorithm>
#include <numbers>

namespace kestrel {

namespace {

double radiansOf(int64_t degrees) { return static_cast<double>(degrees) * std::numbers::pi / 180; }

// Half the pen of a line, track or zone edge; a pen of width 0 draws no
// copper in the Gerber file.
double penReach(const LayoutObject& o) { return std::abs(static_cast<double>(o.widthUnits())) / 2; }

void addSegment(CopperShapes& out, Point a, Point b, double reach)
{
    SweptShape s;
    s.core = SweptShape::Core::Segment;
    s.a = a, s.b = b, s.reach = reach;
    out.shapes.push_back(s);
}

void addArea(CopperShapes& out, Region area, double reach = 0)
{
    if (area.empty())
        return;
    SweptShape s;
    s.core = SweptShape::Core::Area;
    s.area = out.areas.emplace_back(std::make_unique<const Region>(std::move(area))).get();
    s.reach = reach;
    out.shapes.push_back(s);
}

// The outline the connectivity test takes, for shapes drawn no other way.
void addOutline(CopperShapes& out, const LayoutObject& o)
{
    for (Region& part : OutlineParts(o))
        addArea(out, std::move(part));
}

void addPad(CopperShapes& out, const LayoutObject& o)
{
    // A hole that fills its pad leaves no copper, as the Gerber has it.
    if (o.padOuterRadius() == o.holeRadius())
        return;
    const PadFigure f = padFigure(o, 0);
    const Point c = f.centre;
    switch (f.kind) {
    case PadFigureKind::Disc:
        addSegment(out, c, c, f.halfX);
        return;
    case PadFigureKind::Rectangle:
    case PadFigureKind::Octagon:
        addArea(out, figureRegion(f));
        return;
    case PadFigureKind::RoundedRectangle: {
        // The inner rectangle stroked with a round pen of the corner
        // diameter, as the Gerber export flashes it.
        const int32_t d = roundedCornerDiameter(std::min(f.halfX, f.halfY)), e = d / 2;
        const int32_t hx = f.halfX - e, hy = f.halfY - e;
        if (hx > 0 && hy > 0)
            addArea(out, Region::rectangle({c.x - hx, c.y - hy, c.x + hx, c.y + hy}), d / 2.0);
        else
            addSegment(out, {c.x - std::max(hx, 0), c.y - std::max(hy, 0)}, {c.x + std::max(hx, 0), c.y + std::max(hy, 0)},
                       d / 2.0);
        return;
    }
    case PadFigureKind::None: // an unknown shape: the Gerber flashes nothing
        return;
    }
}

void addCircle(CopperShapes& out, const LayoutObject& o)
{
    const bool whole = isWholeCircle(o);
    const ArcStroke stroke = arcStroke(o, 0);
    if (o.Filled && whole) {
        addSegment(out, o.centre(), o.centre(), o.circleOuterRadius());
        return;
    }
    if (o.Filled || stroke.widthUnits <= 0 || stroke.centreRadius <= 0) {
        addOutline(out, o);
        // The files stroke a filled arc's chord with the arc's pen, which
        // reaches beyond the outline the connectivity test takes.
        if (o.Filled && stroke.widthUnits > 0 && stroke.centreRadius > 0)
            addSegment(out, arcStrokePoint(o.centre(), stroke.centreRadius, o.arcStartDegrees()),
                       arcStrokePoint(o.centre(), stroke.centreRadius, o.arcStopDegrees()), stroke.widthUnits / 2.0);
        return;
    }
    SweptShape s;
    s.core = SweptShape::Core::Arc;
    s.centre = o.centre();
    s.radius = stroke.centreRadius;
    s.from = radiansOf(o.arcStartDegrees());
    s.span = whole ? 2 * std::numbers::pi : radiansOf(arcSpanDegrees(o));
    s.reach = stroke.widthUnits / 2.0;
    out.shapes.push_back(s);
}

} // namespace

CopperShapes copperShapes(const LayoutObject& o)
{
    CopperShapes out;
    switch (o.kind()) {
    case ObjectKind::Line:
        if (penReach(o) > 0)
            addSegment(out, o.start(), o.end(), penReach(o));
        break;
    case ObjectKind::Track:
    case ObjectKind::Zone: {
        const PackedList<Point>& p = o.Points;
        if (p.size() < 2)
            break;
        const bool closed = o.is(ObjectKind::Zone) && p.size() > 2;
        if (const double reach = penReach(o); reach > 0)
            for (size_t k = 0; k + (closed ? 0 : 1) < p.size(); ++k)
                addSegment(out, p[k], p[k + 1 == p.size() ? 0 : k + 1], reach);
        if (closed)
            addArea(out, Region::fromPolygon(p, Region::Fill::EvenOdd));
        break;
    }
    case ObjectKind::Pad:
        addPad(out, o);
        break;
    case ObjectKind::Circle:
        addCircle(out, o);
        break;
    case ObjectKind::Text:
        addOutline(out, o);
        break;
    }
    return out;
}

Rect copperBounds(const CopperShapes& copper)
{
    if (copper.shapes.empty())
        return {};
    Rect r = copper.shapes[0].bounds();
    for (const SweptShape& s : copper.shapes)
        r = r.united(s.bounds());
    return r;
}

double copperGap(const CopperShapes& a, const CopperShapes& b, double limit)
{
    double best = limit;
    for (const SweptShape& s : a.shapes)
        for (const SweptShape& t : b.shapes)
            best = std::min(best, sweptGap(s, t, best));
    return best;
}

} // namespace kestrel
