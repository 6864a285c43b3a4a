#include "view/StatusTexts.h"

#include "model/Units.h"
#include "view/NumberFormat.h"

namespace kestrel {

PointerPositionTexts ShowPointerPosition(Point p, Point origin, bool inchUnit, Language lang)
{
    const double dx = static_cast<double>(p.x) - origin.x;
    const double dy = static_cast<double>(origin.y) - p.y;
    const std::string suffix = inchUnit ? " \"" : std::string(" ") + mmUnit(lang);
    return {"X: " + formatGeneral(inchUnit ? inchesFromUnits(dx) : mmFromUnits(dx), 4, 1) + suffix, "Y: " + formatGeneral(inchUnit ? inchesFromUnits(dy) : mmFromUnits(dy), 4, 1) + suffix};
}

std::string ShowBoardSize(int32_t widthUnits, int32_t heightUnits, Language lang)
{
    return std::to_string(wholeMmFromUnits(widthUnits)) + " x " + std::to_string(wholeMmFromUnits(heightUnits)) + " " +
           mmUnit(lang);
}

} // namespace kestrel
