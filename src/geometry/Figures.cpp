#include "geometry/Figures.h"

#include "geometry/Geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrel {

namespace {

int32_t roundExtended(long double v) { return static_cast<int32_t>(std::nearbyintl(v)); }

// A circle's stroke grown by c: the object's own outline with the radii of
// the grown stroke, drawn as a ring or arc. A filled circle keeps its fill
// free as well, as the screen and the fab package clear it: the disc, or
// the part the chord between the arc's ends cuts off, the chord drawn with
// the arc's grown pen.
Region grownCircleRegion(const LayoutObject& circle, int32_t c)
{
    const ArcStroke s = arcStroke(circle, c);
    LayoutObject stroke = circle;
    stroke.Filled = 0;
    stroke.setCircleOuterRadius(s.centreRadius + (s.widthUnits + 1) / 2);
    stroke.setCircleInnerRadius(std::max(0, s.centreRadius - s.widthUnits / 2));
    const bool whole = isWholeCircle(circle);
    if (whole && (stroke.circleInnerRadius() == 0 || circle.Filled))
        return Region::disc(circle.centre(), stroke.circleOuterRadius());
    const Region arc = ObjectRegion(stroke);
    if (!circle.Filled)
        return arc;
    stroke.Filled = 1;
    const Point centre = circle.centre();
    const LayoutObject chord = makeLine(arcStrokePoint(centre, s.centreRadius, circle.arcStartDegrees()),
                                        arcStrokePoint(centre, s.centreRadius, circle.arcStopDegrees()),
                                        s.widthUnits, circle.Layer);
    return arc.united(ObjectRegion(stroke)).united(ObjectRegion(chord));
}

} // namespace

PadExtents padExtents(const LayoutObject& pad, int32_t e)
{
    PadExtents x;
    x.across = pad.padOuterRadius() + e;
    x.along = 2 * pad.padOuterRadius() + e;
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

int32_t octagonCut(int32_t halfMin) { return roundExtended(static_cast<long double>(halfMin) * 0.585L); }

std::array<Point, 8> octagonCorners(Point c, int32_t hw, int32_t hh)
{
    const int32_t k = octagonCut(std::min(hw, hh));
    return {{{c.x - hw, c.y + hh - k},
             {c.x - hw + k, c.y + hh},
             {c.x + hw - k, c.y + hh},
             {c.x + hw, c.y + hh - k},
             {c.x + hw, c.y - hh + k},
             {c.x + hw - k, c.y - hh},
             {c.x - hw + k, c.y - hh},
             {c.x - hw, c.y - hh + k}}};
}

int32_t roundedCornerDiameter(int32_t halfMin) { return roundExtended(static_cast<long double>(halfMin) * 1.5L); }

PadFigure padFigure(const LayoutObject& pad, int32_t e)
{
    const PadExtents x = padExtents(pad, e);
    PadFigure f;
    f.centre = pad.centre();
    f.halfX = x.halfX;
    f.halfY = x.halfY;
    switch (static_cast<PadShape>(pad.Shape)) {
    case PadShape::Round:
        f.kind = PadFigureKind::Disc;
        break;
    case PadShape::Square:
    case PadShape::RectH:
    case PadShape::RectV:
        f.kind = PadFigureKind::Rectangle;
        break;
    case PadShape::Octagon:
    case PadShape::OctagonH:
    case PadShape::OctagonV:
        f.kind = PadFigureKind::Octagon;
        f.corner = octagonCut(x.across);
        break;
    case PadShape::RoundedH:
    case PadShape::RoundedV:
        f.kind = PadFigureKind::RoundedRectangle;
        f.corner = roundedCornerDiameter(x.across);
        break;
    default:
        f.halfX = f.halfY = 0;
        break;
    }
    return f;
}

Region figureRegion(const PadFigure& f)
{
    const Point c = f.centre;
    switch (f.kind) {
    case PadFigureKind::None:
        return {};
    case PadFigureKind::Disc:
        return Region::disc(c, f.halfX);
    case PadFigureKind::Rectangle:
        return Region::rectangle({c.x - f.halfX, c.y - f.halfY, c.x + f.halfX, c.y + f.halfY});
    case PadFigureKind::Octagon: {
        if (f.halfX <= 0 || f.halfY <= 0)
            return {};
        const auto corners = octagonCorners(c, f.halfX, f.halfY);
        return Region::fromPolygon(Polygon(corners.begin(), corners.end()));
    }
    case PadFigureKind::RoundedRectangle:
        return Region::roundedRectangle(c, f.halfX, f.halfY, f.corner / 2.0);
    }
    return {};
}

std::optional<FigureBounds> figureBounds(const PadFigure& f)
{
    // Up to this radius the chords of Region::disc and of rounded corners
    // keep within half a unit of the circle (their 512-corner cap starts
    // near 26,500); each corner rounded to whole units moves under a unit.
    constexpr int32_t kRoundLimit = 1 << 14;
    constexpr double kChord = 0.5, kRounding = 1.0;
    constexpr int32_t kCentreLimit = 1 << 28;
    const Point c = f.centre;
    if (std::abs(c.x) >= kCentreLimit || std::abs(c.y) >= kCentreLimit || f.halfX <= 0 || f.halfY <= 0 ||
        f.halfX > kRoundLimit || f.halfY > kRoundLimit)
        return std::nullopt;
    auto around = [&](int32_t hx, int32_t hy) { return Rect{c.x - hx, c.y - hy, c.x + hx, c.y + hy}; };
    switch (f.kind) {
    case PadFigureKind::Disc:
        return FigureBounds{around(0, 0), f.halfX - kChord - kRounding, around(0, 0), f.halfX + kRounding};
    case PadFigureKind::Rectangle:
        return FigureBounds{around(f.halfX, f.halfY), 0, around(f.halfX, f.halfY), 0};
    case PadFigureKind::RoundedRectangle: {
        // Twice the corner radius as roundedRectanglePolygon clamps it; the
        // straight inset may end on a half unit.
        const int32_t radius2 = std::clamp(f.corner, 0, 2 * std::min(f.halfX, f.halfY));
        const int32_t insetX2 = 2 * f.halfX - radius2, insetY2 = 2 * f.halfY - radius2;
        const double radius = radius2 / 2.0;
        return FigureBounds{around(insetX2 / 2, insetY2 / 2), radius - kChord - kRounding,
                            around((insetX2 + 1) / 2, (insetY2 + 1) / 2), radius + kRounding};
    }
    default:
        return std::nullopt;
    }
}

ArcStroke arcStroke(const LayoutObject& circle, int32_t c)
{
    ArcStroke s;
    s.widthUnits = std::max(0, circle.circleOuterRadius() - circle.circleInnerRadius()) + 2 * c;
    s.centreRadius = circle.circleOuterRadius() - roundEven(s.widthUnits / 2.0) + c;
    return s;
}

int32_t arcSpanDegrees(const LayoutObject& circle)
{
    const int64_t d = static_cast<int64_t>(circle.arcStopDegrees()) - circle.arcStartDegrees();
    const auto span = static_cast<int32_t>((d % 360 + 360) % 360);
    return span == 0 ? 360 : span;
}

Point arcStrokePoint(Point centre, int32_t radius, int32_t angleDegrees)
{
    const float radians =
        static_cast<float>(static_cast<long double>(angleDegrees) / 180.0L * std::numbers::pi_v<long double>);
    const long double a = radians;
    return {centre.x + static_cast<int32_t>(std::nearbyintl(radius * std::cos(a))),
            centre.y + static_cast<int32_t>(std::nearbyintl(radius * std::sin(a)))};
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

} // namespace kestrel
