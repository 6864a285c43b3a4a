#include "route/GroundPlane.h"

#include <cmath>
#include <numbers>

namespace kestrel {

bool groundPlaneOn(const BoardSettings& settings, int layer)
{
    return settings.groundPlaneOfSide(Layer::isSide1(layer)) != 0;
}

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

} // namespace kestrel
