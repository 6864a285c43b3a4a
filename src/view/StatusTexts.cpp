#include "view/StatusTexts.h"

#include "view/NumberFormat.h"

namespace kestrel {

PointerPositionTexts ShowPointerPosition(Point p, Point origin, bool inchUnit)
{
    const double dx = static_cast<double>(p.x) - origin.x;
    const double dy = static_cast<double>(origin.y) - p.y;
    const double perUnit = inchUnit ? 1.0 / 100.0 / 25.4 : 1.0 / 100.0;
    const std::string suffix = inchUnit ? " \"" : " мм";
    return {"X: " + formatGeneral(dx * perUnit, 4, 1) + suffix, "Y: " + formatGeneral(dy * perUnit, 4, 1) + suffix};
}

std::string ShowBoardSize(int32_t widthUnits, int32_t heightUnits)
{
    return std::to_string(widthUnits / 100) + " x " + std::to_string(heightUnits / 100) + " мм";
}

} // namespace kestrel
