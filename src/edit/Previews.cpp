#include "edit/Previews.h"

#include "geometry/Figures.h"
#include "geometry/Geometry.h"

#include <cmath>
#include <numbers>

namespace kestrel {

namespace {

void include(Rect& r, bool& empty, Point p, int32_t half)
{
    const Rect box{p.x - half, p.y - half, p.x + half, p.y + half};
    r = empty ? box : r.united(box);
    empty = false;
}

Point polar(Point c, int32_t radius, double degrees)
{
    const double a = degrees * std::numbers::pi / 180.0;
    return {c.x + roundEven(radius * std::cos(a)), c.y + roundEven(radius * std::sin(a))};
}

// A quarter arc of a rounded corner, counter-clockwise from the angle.
void appendArc(std::vector<Point>& out, Point c, int32_t radius, double fromDegrees, double spanDegrees, int steps)
{
    for (int i = 0; i <= steps; ++i)
        out.push_back(polar(c, radius, fromDegrees + spanDegrees * i / steps));
}

std::vector<Point> figureOutline(const PadFigure& f)
{
    std::vector<Point> out;
    const Point c = f.centre;
    switch (f.kind) {
    case PadFigureKind::None:
        break;
    case PadFigureKind::Disc:
        appendArc(out, c, f.halfX, 0, 360, 32);
        out.pop_back();
        break;
    case PadFigureKind::Rectangle:
        out = {{c.x - f.halfX, c.y - f.halfY}, {c.x + f.halfX, c.y - f.halfY},
               {c.x + f.halfX, c.y + f.halfY}, {c.x - f.halfX, c.y + f.halfY}};
        break;
    case PadFigureKind::Octagon: {
        const auto corners = octagonCorners(c, f.halfX, f.halfY);
        out.assign(corners.begin(), corners.end());
        break;
    }
    case PadFigureKind::RoundedRectangle: {
        const int32_t r = f.corner / 2;
        const int32_t ix = f.halfX - r, iy = f.halfY - r;
        appendArc(out, {c.x + ix, c.y - iy}, r, 270, 90, 4);
        appendArc(out, {c.x + ix, c.y + iy}, r, 0, 90, 4);
        appendArc(out, {c.x - ix, c.y + iy}, r, 90, 90, 4);
        appendArc(out, {c.x - ix, c.y - iy}, r, 180, 90, 4);
        break;
    }
    }
    return out;
}

PreviewStroke arcStrokeAt(const LayoutObject& circle, int32_t radius)
{
    PreviewStroke s;
    const int32_t span = arcSpanDegrees(circle);
    const int steps = std::max(2, span / 10);
    appendArc(s.points, circle.centre(), radius, circle.arcStartDegrees(), span, steps);
    return s;
}

} // namespace

void Preview::measure()
{
    empty_ = true;
    strokeBounds_ = {};
    for (const PreviewStroke& s : strokes)
        for (Point p : s.points)
            include(strokeBounds_, empty_, p, s.widthUnits / 2 + 1);
}

Rect Preview::bounds(int32_t onePixelUnits) const
{
    Rect r = strokeBounds_;
    bool empty = empty_;
    if (!empty)
        r = {r.left + offset.x, r.top + offset.y, r.right + offset.x, r.bottom + offset.y};
    for (const AnchoredLine& l : lines) {
        include(r, empty, {l.moving.x + offset.x, l.moving.y + offset.y}, 0);
        include(r, empty, l.fixed, 0);
    }
    // A hairline or a dotted pen reaches a pixel beyond its points.
    return empty ? Rect{} : r.grown(2 * onePixelUnits);
}

void Previews::draw(PreviewKind k)
{
    Preview& p = figure(k);
    p.drawn = !p.drawn;
    damage_.push_back(p.bounds(onePixel_));
}

void Previews::erase(PreviewKind k)
{
    draw(k); // a second drawing at the same place takes it away
}

void Previews::eraseAll()
{
    for (size_t i = 0; i < kPreviewKinds; ++i)
        eraseIfDrawn(static_cast<PreviewKind>(i));
}

bool Previews::anyDrawn() const
{
    for (const Preview& p : items_)
        if (p.drawn)
            return true;
    return false;
}

std::vector<Rect> Previews::takeDamage()
{
    std::vector<Rect> out;
    out.swap(damage_);
    return out;
}

void AppendObjectOutline(const LayoutObject& o, Preview& preview, bool centreLines)
{
    auto capsule = [&](Point a, Point b) {
        const auto corners = SegmentOutline(o, a, b);
        preview.strokes.push_back({{corners.begin(), corners.end()}, 0, true});
    };
    switch (o.kind()) {
    case ObjectKind::Line:
        if (centreLines)
            preview.strokes.push_back({{o.start(), o.end()}, 0, false});
        else
            capsule(o.start(), o.end());
        break;
    case ObjectKind::Track:
        if (centreLines && o.Points.size() > 1) {
            preview.strokes.push_back({{o.Points.begin(), o.Points.end()}, 0, false});
            break;
        }
        for (size_t i = 0; i + 1 < o.Points.size(); ++i)
            capsule(o.Points[i], o.Points[i + 1]);
        if (o.Points.size() == 1)
            capsule(o.Points[0], o.Points[0]);
        break;
    case ObjectKind::Zone:
        preview.strokes.push_back({{o.Points.begin(), o.Points.end()}, 0, true});
        break;
    case ObjectKind::Pad:
        preview.strokes.push_back({figureOutline(padFigure(o, 0)), 0, true});
        for (const LayoutObject* other : o.Connections)
            preview.lines.push_back({o.centre(), other->centre()});
        break;
    case ObjectKind::Circle:
        preview.strokes.push_back(arcStrokeAt(o, o.circleOuterRadius()));
        if (o.circleInnerRadius() > 0)
            preview.strokes.push_back(arcStrokeAt(o, o.circleInnerRadius()));
        break;
    case ObjectKind::Text:
        preview.strokes.push_back({{o.start(), {o.X2, o.Y1}, o.end(), {o.X1, o.Y2}}, 0, true});
        break;
    }
}

} // namespace kestrel
