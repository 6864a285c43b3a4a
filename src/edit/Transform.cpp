#include "edit/Transform.h"

#include "model/Units.h"
#include "view/Viewport.h"

namespace kestrel {

namespace {

int32_t degreesInTurn(int64_t a)
{
    return static_cast<int32_t>((a % 360 + 360) % 360);
}

int32_t mirrored(int32_t v, int32_t centre)
{
    return saturatedUnits(2 * static_cast<int64_t>(centre) - v);
}

Point rotated(Point p, Point c)
{
    return {saturatedUnits(static_cast<int64_t>(c.x) + (static_cast<int64_t>(p.y) - c.y)),
            saturatedUnits(static_cast<int64_t>(c.y) - (static_cast<int64_t>(p.x) - c.x))};
}

// Lines keep their end points ordered by x, then by falling y.
void orderLineEnds(LayoutObject& o)
{
    if (o.X2 < o.X1 || (o.X2 == o.X1 && o.Y2 > o.Y1)) {
        std::swap(o.X1, o.X2);
        std::swap(o.Y1, o.Y2);
    }
}

// A mirrored arc runs the other way round; exchanging the ends keeps it
// counter-clockwise from start to stop.
void mirrorArc(LayoutObject& o, int64_t through)
{
    const int32_t start = degreesInTurn(through - o.arcStartDegrees());
    const int32_t stop = degreesInTurn(through - o.arcStopDegrees());
    o.setArcStartDegrees(stop);
    o.setArcStopDegrees(start);
}

} // namespace

void MoveObject(LayoutObject& o, int32_t dx, int32_t dy)
{
    translate(o, dx, dy);
}

uint8_t RotatedPadShape(uint8_t shape)
{
    if (shape >= 4 && shape <= 6)
        return static_cast<uint8_t>(shape + 3);
    if (shape >= 7 && shape <= 9)
        return static_cast<uint8_t>(shape - 3);
    return shape;
}

void RotateObject(LayoutObject& o, Point c)
{
    auto turnFirst = [&] {
        const Point p = rotated({o.X1, o.Y1}, c);
        o.X1 = p.x;
        o.Y1 = p.y;
    };
    auto turnSecond = [&] {
        const Point p = rotated({o.X2, o.Y2}, c);
        o.X2 = p.x;
        o.Y2 = p.y;
    };
    switch (o.kind()) {
    case ObjectKind::Line:
        turnFirst();
        turnSecond();
        orderLineEnds(o);
        break;
    case ObjectKind::Pad:
        turnFirst();
        o.Shape = RotatedPadShape(o.Shape);
        break;
    case ObjectKind::Text:
        turnFirst();
        turnSecond();
        o.Angle = degreesInTurn(static_cast<int64_t>(o.Angle) + 90);
        break;
    case ObjectKind::Zone:
    case ObjectKind::Track:
        for (Point& p : o.Points)
            p = rotated(p, c);
        break;
    case ObjectKind::Circle:
        turnFirst();
        o.setArcStartDegrees(degreesInTurn(static_cast<int64_t>(o.arcStartDegrees()) - 90));
        o.setArcStopDegrees(degreesInTurn(static_cast<int64_t>(o.arcStopDegrees()) - 90));
        break;
    }
}

void MirrorObjectHorizontal(LayoutObject& o, int32_t cx)
{
    switch (o.kind()) {
    case ObjectKind::Line:
        o.X1 = mirrored(o.X1, cx);
        o.X2 = mirrored(o.X2, cx);
        orderLineEnds(o);
        break;
    case ObjectKind::Pad:
        o.X1 = mirrored(o.X1, cx);
        break;
    case ObjectKind::Text: {
        // The box is mirrored, the writing is not.
        const int32_t x1 = o.X1;
        o.X1 = mirrored(o.X2, cx);
        o.X2 = mirrored(x1, cx);
        break;
    }
    case ObjectKind::Zone:
    case ObjectKind::Track:
        for (Point& p : o.Points)
            p.x = mirrored(p.x, cx);
        break;
    case ObjectKind::Circle:
        o.X1 = mirrored(o.X1, cx);
        mirrorArc(o, 180);
        break;
    }
}

void MirrorObjectVertical(LayoutObject& o, int32_t cy)
{
    switch (o.kind()) {
    case ObjectKind::Line:
        o.Y1 = mirrored(o.Y1, cy);
        o.Y2 = mirrored(o.Y2, cy);
        orderLineEnds(o);
        break;
    case ObjectKind::Pad:
        o.Y1 = mirrored(o.Y1, cy);
        break;
    case ObjectKind::Text: {
        const int32_t y1 = o.Y1;
        o.Y1 = mirrored(o.Y2, cy);
        o.Y2 = mirrored(y1, cy);
        break;
    }
    case ObjectKind::Zone:
    case ObjectKind::Track:
        for (Point& p : o.Points)
            p.y = mirrored(p.y, cy);
        break;
    case ObjectKind::Circle:
        o.Y1 = mirrored(o.Y1, cy);
        mirrorArc(o, 360);
        break;
    }
}

Point TransformationCentre(const Rect& bounds, const BoardSettings& board)
{
    const int64_t left = bounds.left, top = bounds.top, right = bounds.right, bottom = bounds.bottom;
    // The larger y is the upper edge on the board.
    const Point middle{saturatedUnits(left + (right - left) / 2), saturatedUnits(bottom - (bottom - top) / 2)};
    return snapPointOntoBoard(middle, board);
}

} // namespace kestrel
