#include "model/LayoutObject.h"

#include <algorithm>

namespace kestrel {

LayoutObject makePad(Point centre, int32_t outerRadius, uint8_t shape, uint8_t layer, int32_t holeRadius)
{
    LayoutObject o;
    o.Kind = static_cast<uint8_t>(ObjectKind::Pad);
    o.X1 = centre.x;
    o.Y1 = centre.y;
    o.X2 = outerRadius;
    o.Y2 = holeRadius;
    o.Layer = layer;
    o.Shape = shape;
    return o;
}

LayoutObject makeCircle(Point centre, int32_t outerRadius, uint8_t currentPadShape, uint8_t layer,
                        int32_t innerRadius)
{
    LayoutObject o;
    o.Kind = static_cast<uint8_t>(ObjectKind::Circle);
    o.X1 = centre.x;
    o.Y1 = centre.y;
    o.X2 = outerRadius;
    o.Y2 = innerRadius;
    o.Layer = layer;
    o.Shape = currentPadShape;
    o.Angle = 0;
    o.Width = 0;
    o.Filled = 0;
    return o;
}

LayoutObject makeText(Point anchor, const std::string& text, int32_t angle, int32_t fontHeight,
                      int32_t farX, int32_t farY, uint8_t layer)
{
    LayoutObject o;
    o.Kind = static_cast<uint8_t>(ObjectKind::Text);
    o.X1 = anchor.x;
    o.Y1 = anchor.y;
    o.X2 = farX;
    o.Y2 = farY;
    o.TextValue = cutToCharacters(text, kTextValueMax);
    o.Width = fontHeight;
    o.Angle = angle;
    o.Layer = layer;
    return o;
}

LayoutObject makeZone(int32_t width, uint8_t layer)
{
    LayoutObject o;
    o.Kind = static_cast<uint8_t>(ObjectKind::Zone);
    o.Width = width;
    o.Layer = layer;
    o.FillOn = 1;
    return o;
}

LayoutObject makeTrack(int32_t width, uint8_t layer)
{
    LayoutObject o;
    o.Kind = static_cast<uint8_t>(ObjectKind::Track);
    o.Width = width;
    o.Layer = layer;
    return o;
}

LayoutObject makeLine(Point from, Point to, int32_t width, uint8_t layer)
{
    LayoutObject o;
    o.Kind = static_cast<uint8_t>(ObjectKind::Line);
    o.X1 = from.x;
    o.Y1 = from.y;
    o.X2 = to.x;
    o.Y2 = to.y;
    o.Width = width;
    o.Layer = layer;
    return o;
}

LayoutObject copyObject(LayoutObject& source)
{
    LayoutObject t = source; // persistent fields, lists and references
    if (!t.hasPoints())
        t.Points.clear();
    if (t.is(ObjectKind::Zone))
        t.FillOn = 1;
    if (!t.is(ObjectKind::Pad))
        t.Connections.clear();
    t.CopiedMark = 0;
    source.CopiedMark = 1;
    return t;
}

void translate(LayoutObject& o, int32_t dx, int32_t dy)
{
    switch (o.kind()) {
    case ObjectKind::Line:
    case ObjectKind::Text:
        o.X2 += dx;
        o.Y2 += dy;
        [[fallthrough]];
    case ObjectKind::Pad:
    case ObjectKind::Circle:
        o.X1 += dx;
        o.Y1 += dy;
        break;
    case ObjectKind::Zone:
    case ObjectKind::Track:
        for (Point& p : o.Points) {
            p.x += dx;
            p.y += dy;
        }
        break;
    }
}

std::string cutToCharacters(const std::string& utf8, size_t n)
{
    size_t count = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) != 0x80) {
            if (count == n)
                return utf8.substr(0, i);
            ++count;
        }
    }
    return utf8;
}

// Board y points up: text read at 0 degrees runs right and hangs down from
// its anchor; each quarter turn clockwise turns that box with it.
Point TurnedLabelExtent(int32_t w, int32_t h, int32_t angle)
{
    switch (((angle % 360) + 360) % 360) {
    case 90:
        return {-h, -w};
    case 180:
        return {-w, h};
    case 270:
        return {h, w};
    default:
        return {w, -h};
    }
}

} // namespace kestrel
