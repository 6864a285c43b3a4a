#include "geometry/Geometry.h"

#include "geometry/Figures.h"
#include "model/Units.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace kestrel {

namespace {

double radians(double degrees) { return degrees / 180.0 * std::numbers::pi; }

// Whole-degree point on a radius, rounded like ArcPoint.
Point pointOnRadius(Point centre, int32_t angleDegrees, int64_t radius)
{
    const double a = radians(angleDegrees);
    return {saturatedUnits(static_cast<int64_t>(centre.x) + roundEven64(std::cos(a) * static_cast<double>(radius))),
            saturatedUnits(static_cast<int64_t>(centre.y) + roundEven64(std::sin(a) * static_cast<double>(radius)))};
}

Region capsule(const LayoutObject& o, Point p1, Point p2)
{
    const auto outline = SegmentOutline(o, p1, p2);
    return Region::fromPolygon(Polygon(outline.begin(), outline.end()));
}

void addPart(Region part, std::vector<Region>& parts)
{
    if (!part.empty())
        parts.push_back(std::move(part));
}

void addPointListParts(const LayoutObject& o, std::vector<Region>& parts)
{
    if (o.Points.size() < 2)
        return;
    for (size_t i = 0; i + 1 < o.Points.size(); ++i)
        addPart(capsule(o, o.Points[i], o.Points[i + 1]), parts);
    if (o.is(ObjectKind::Zone) && o.Points.size() > 2) {
        // The zone is drawn as a closed polygon, so its closing edge carries
        // the wide outline too.
        addPart(capsule(o, o.Points.back(), o.Points.front()), parts);
        addPart(Region::fromPolygon(o.Points, Region::Fill::EvenOdd), parts);
    }
}

Region circleRegion(const LayoutObject& o)
{
    const Point c = o.centre();
    const int32_t outer = o.circleOuterRadius(), innerRadius = o.circleInnerRadius();
    Region region = Region::disc(c, outer);
    if (!o.Filled) {
        int64_t inner = innerRadius;
        if (innerRadius >= outer)
            inner += 10;
        region = region.xored(Region::disc(c, saturatedUnits(inner)));
    }
    if (isWholeCircle(o))
        return region;
    const int32_t start = o.arcStartDegrees();
    const int32_t stop = o.arcStopDegrees();

    const int64_t halfWidth = (static_cast<int64_t>(outer) - innerRadius) / 2;
    const int64_t rm = halfWidth + innerRadius;
    const int64_t far = 2 * static_cast<int64_t>(outer);
    const int32_t d = static_cast<int32_t>(((static_cast<int64_t>(stop) - start) % 360 + 360) % 360);
    // In 64 bits: a start angle read from a file may lie anywhere.
    const int64_t middle64 = d < 181 ? static_cast<int64_t>(start) + d / 2 : static_cast<int64_t>(start) - (360 - d) / 2;
    const auto middle = static_cast<int32_t>(middle64 % 360);
    // A filled sector is cut along the chord between its ends, as it is
    // drawn; a ring along the rays through its ends, or the cut would leave
    // a strip of the ring's inside in the gap of a long arc and take one
    // from the middle of a short one.
    const Polygon wedge = o.Filled ? Polygon{pointOnRadius(c, start, rm), pointOnRadius(c, start, far),
                                             pointOnRadius(c, middle, far), pointOnRadius(c, stop, far),
                                             pointOnRadius(c, stop, rm)}
                                   : Polygon{c, pointOnRadius(c, start, far), pointOnRadius(c, middle, far),
                                             pointOnRadius(c, stop, far)};
    region = d < 181 ? region.intersected(Region::fromPolygon(wedge)) : region.subtracted(Region::fromPolygon(wedge));

    const int32_t endRadius = saturatedUnits(halfWidth);
    return region.united(Region::disc(pointOnRadius(c, start, rm), endRadius))
        .united(Region::disc(pointOnRadius(c, stop, rm), endRadius));
}

} // namespace

std::optional<ArcBounds> circleBounds(const LayoutObject& o)
{
    // Up to this radius the chords of Region::disc keep within half a unit
    // of the circle. Every corner rounded to whole units, by the discs, the
    // wedge and each clipping after them, moves the outline by under a
    // unit; four units of margin cover them all.
    constexpr int32_t kRoundLimit = 1 << 14;
    constexpr int32_t kCentreLimit = 1 << 28;
    constexpr double kMargin = 4;
    const Point c = o.centre();
    const int32_t outer = o.circleOuterRadius(), innerRadius = o.circleInnerRadius();
    if (outer <= 0 || innerRadius < 0 || (innerRadius >= outer && !o.Filled))
        return std::nullopt;
    ArcBounds b;
    b.centre = c;
    b.inner = o.Filled ? 0 : innerRadius;
    b.outer = outer;
    // Otherwise only the ring bounds the outline.
    if (innerRadius >= outer || outer > kRoundLimit || std::abs(c.x) >= kCentreLimit || std::abs(c.y) >= kCentreLimit)
        return b;
    const int32_t start = o.arcStartDegrees(), stop = o.arcStopDegrees();
    double from = 0, span = 2 * std::numbers::pi, low = b.inner;
    if (!isWholeCircle(o)) {
        const int64_t halfWidth = (static_cast<int64_t>(outer) - innerRadius) / 2;
        const int64_t rm = halfWidth + innerRadius;
        b.caps[0] = pointOnRadius(c, start, rm);
        b.caps[1] = pointOnRadius(c, stop, rm);
        b.capReach = static_cast<double>(halfWidth) - kMargin;
        const int32_t d = static_cast<int32_t>(((static_cast<int64_t>(stop) - start) % 360 + 360) % 360);
        // Below 181 degrees a filled sector's cut runs from cap centre to
        // cap centre, so only the ring beyond the caps' radius is sure.
        if (o.Filled && d < 181)
            low = static_cast<double>(rm);
        from = radians(static_cast<double>(((start % 360) + 360) % 360));
        span = radians(d);
    }
    low += kMargin;
    const double high = outer - kMargin;
    b.radius = (low + high) / 2;
    b.reach = (high - low) / 2;
    if (!isWholeCircle(o) && b.reach > 0) {
        // Keep the arc's neighbourhood clear of the wedge's straight edges.
        const double turn = std::asin(std::min(1.0, (b.reach + kMargin) / b.radius));
        b.from = from + turn;
        b.span = span - 2 * turn;
    } else {
        b.from = from;
        b.span = span;
    }
    return b;
}

std::array<Point, 10> SegmentOutline(const LayoutObject& o, Point p1, Point p2)
{
    int64_t w = o.widthUnits() / 2;
    if (w == 0 && !o.is(ObjectKind::Zone))
        w = kDefaultHalfWidth;
    const int64_t x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y;
    const double dx = static_cast<double>(x2 - x1);
    double dy = static_cast<double>(y2 - y1);
    if (p1 == p2)
        dy = 1;
    const double len = std::sqrt(dx * dx + dy * dy);
    const int64_t ox = roundEven64(static_cast<double>(w) * dy / len);
    const int64_t oy = roundEven64(static_cast<double>(w) * dx / len);

    int64_t t;
    if (dx != 0) {
        t = roundEven64(std::atan(dy / dx) * 180.0 / std::numbers::pi);
        if (dx > 0)
            t += 180;
        if (t < 0)
            t += 360;
    } else {
        t = dy < 0 ? 90 : 270;
    }
    int64_t s[3], c[3];
    for (int k = 0; k < 3; ++k) {
        const double a = radians(static_cast<double>(t + 45 * (k + 1)));
        s[k] = roundEven64(std::sin(a) * static_cast<double>(w));
        c[k] = roundEven64(std::cos(a) * static_cast<double>(w));
    }
    auto pt = [](int64_t x, int64_t y) { return Point{saturatedUnits(x), saturatedUnits(y)}; };
    return {pt(x1 - ox, y1 + oy),     pt(x1 + s[0], y1 - c[0]), pt(x1 + s[1], y1 - c[1]),
            pt(x1 + s[2], y1 - c[2]), pt(x1 + ox, y1 - oy),     pt(x2 + ox, y2 - oy),
            pt(x2 - s[0], y2 + c[0]), pt(x2 - s[1], y2 + c[1]), pt(x2 - s[2], y2 + c[2]),
            pt(x2 - ox, y2 + oy)};
}

PadFigure padOutlineFigure(const LayoutObject& o)
{
    if (o.padOuterRadius() <= 0)
        return {};
    PadFigure f = padFigure(o, 0);
    switch (f.kind) {
    case PadFigureKind::None: // an unknown shape draws only its hole
        f.kind = PadFigureKind::Disc;
        f.halfX = f.halfY = o.holeRadius();
        break;
    case PadFigureKind::Octagon:
        f.kind = f.halfX == f.halfY ? PadFigureKind::Disc : PadFigureKind::RoundedRectangle;
        f.corner = roundedCornerDiameter(o.padOuterRadius());
        break;
    default:
        break;
    }
    return f;
}

Point ArcPoint(const LayoutObject& circle, int32_t angleDegrees)
{
    return pointOnRadius(circle.centre(), angleDegrees, circle.circleOuterRadius());
}

int CornerAt(const LayoutObject& o, Point p)
{
    if (!o.hasPoints())
        return -1;
    const int64_t r = std::max<int64_t>(o.widthUnits() / 2, kDefaultHalfWidth);
    int hit = -1;
    for (size_t k = 0; k < o.Points.size(); ++k) {
        const Point& c = o.Points[k];
        if (c.x - r <= p.x && p.x < c.x + r && c.y - r <= p.y && p.y < c.y + r)
            hit = static_cast<int>(k);
    }
    return hit;
}

std::vector<Region> OutlineParts(const LayoutObject& o)
{
    std::vector<Region> parts;
    switch (o.kind()) {
    case ObjectKind::Line:
        addPart(capsule(o, o.start(), o.end()), parts);
        break;
    case ObjectKind::Pad:
        addPart(figureRegion(padOutlineFigure(o)), parts);
        break;
    case ObjectKind::Text:
        addPart(Region::rectangle({o.X1, o.Y1, o.X2, o.Y2}), parts);
        break;
    case ObjectKind::Zone:
    case ObjectKind::Track:
        addPointListParts(o, parts);
        break;
    case ObjectKind::Circle:
        addPart(circleRegion(o), parts);
        break;
    }
    return parts;
}

Region ObjectRegion(const LayoutObject& o)
{
    std::vector<Region> parts = OutlineParts(o);
    if (parts.size() == 1)
        return std::move(parts[0]);
    // Every part is normalised (winding 1 inside, 0 outside), so filling all
    // their rings together by the non-zero rule gives exactly their union.
    std::vector<Polygon> rings;
    for (Region& part : parts)
        rings.insert(rings.end(), part.polygons().begin(), part.polygons().end());
    return Region::fromPolygons(rings);
}

Rect OutlineBounds(const LayoutObject& o)
{
    // One unit of slack everywhere for vertices rounded to whole units.
    auto around = [](int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t by) {
        return Rect{saturatedUnits(std::min(left, right) - by - 1), saturatedUnits(std::min(top, bottom) - by - 1),
                    saturatedUnits(std::max(left, right) + by + 1), saturatedUnits(std::max(top, bottom) + by + 1)};
    };
    int64_t halfWidth = std::abs(static_cast<int64_t>(o.widthUnits() / 2));
    if (halfWidth == 0)
        halfWidth = kDefaultHalfWidth;
    switch (o.kind()) {
    case ObjectKind::Line:
        return around(o.X1, o.Y1, o.X2, o.Y2, halfWidth);
    case ObjectKind::Pad: {
        const int64_t r = std::abs(static_cast<int64_t>(o.padOuterRadius()));
        if (o.Shape >= 1 && o.Shape <= 3)
            return around(o.X1, o.Y1, o.X1, o.Y1, r);
        if (o.Shape >= 4 && o.Shape <= 6)
            return around(o.X1 - 2 * r, o.Y1 - r, o.X1 + 2 * r, o.Y1 + r, 0);
        if (o.Shape >= 7 && o.Shape <= 9)
            return around(o.X1 - r, o.Y1 - 2 * r, o.X1 + r, o.Y1 + 2 * r, 0);
        return around(o.X1, o.Y1, o.X1, o.Y1, std::abs(static_cast<int64_t>(o.holeRadius())));
    }
    case ObjectKind::Text:
        return around(o.X1, o.Y1, o.X2, o.Y2, 0);
    case ObjectKind::Zone:
    case ObjectKind::Track: {
        if (o.Points.empty())
            return {};
        int64_t left = o.Points[0].x, right = left, top = o.Points[0].y, bottom = top;
        for (const Point& p : o.Points) {
            left = std::min<int64_t>(left, p.x);
            right = std::max<int64_t>(right, p.x);
            top = std::min<int64_t>(top, p.y);
            bottom = std::max<int64_t>(bottom, p.y);
        }
        return around(left, top, right, bottom, halfWidth);
    }
    case ObjectKind::Circle: {
        const int64_t outer = o.circleOuterRadius(), inner = o.circleInnerRadius();
        // A widened inner disc or end caps of odd radii can reach past X2.
        const int64_t r = (inner >= 0 && inner < outer) ? outer : std::abs(outer) + std::abs(inner) + 10;
        return around(o.X1, o.Y1, o.X1, o.Y1, r);
    }
    }
    return {};
}

Rect BoundingRect(const LayoutObject& o)
{
    const int32_t c = o.Clearance;
    int32_t m = o.widthUnits() / 2;
    if (m == 0)
        m = kDefaultHalfWidth;
    m += c;
    Rect r;
    switch (o.kind()) {
    case ObjectKind::Line:
        r = Rect{o.X1, o.Y1, o.X2, o.Y2}.normalised().grown(m);
        break;
    case ObjectKind::Pad: {
        const int32_t rr = o.padOuterRadius();
        if (o.Shape >= 4 && o.Shape <= 6)
            r = {o.X1 - 2 * rr - 2 * c, o.Y1 - rr - c, o.X1 + 2 * rr + 2 * c, o.Y1 + rr + c};
        else if (o.Shape >= 7 && o.Shape <= 9)
            r = {o.X1 - rr - c, o.Y1 - 2 * rr - 2 * c, o.X1 + rr + c, o.Y1 + 2 * rr + 2 * c};
        else // shapes 1..3; other shapes have no defined extent, treat them as round
            r = {o.X1 - rr - c, o.Y1 - rr - c, o.X1 + rr + c, o.Y1 + rr + c};
        break;
    }
    case ObjectKind::Circle:
        {
        const int32_t outer = o.circleOuterRadius();
        r = {o.X1 - outer - c, o.Y1 - outer - c, o.X1 + outer + c, o.Y1 + outer + c};
    }
        break;
    case ObjectKind::Text:
        r = Rect{o.X1, o.Y1, o.X2, o.Y2}.normalised().grown(c);
        break;
    case ObjectKind::Zone:
    case ObjectKind::Track:
        if (o.Points.size() > 1) {
            r = {o.Points[0].x, o.Points[0].y, o.Points[0].x, o.Points[0].y};
            for (const Point& p : o.Points) {
                r.left = std::min(r.left, p.x);
                r.right = std::max(r.right, p.x);
                r.top = std::min(r.top, p.y);
                r.bottom = std::max(r.bottom, p.y);
            }
        }
        r = r.grown(m);
        break;
    }
    return r.normalised();
}

} // namespace kestrel
