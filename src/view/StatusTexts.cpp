#include "view/StatusTexts.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>

namespace kestrel {

namespace {

void stripTrailingZeros(std::string& digits)
{
    const auto point = digits.find('.');
    if (point == std::string::npos)
        return;
    while (digits.back() == '0')
        digits.pop_back();
    if (digits.back() == '.')
        digits.pop_back();
}

} // namespace

std::string formatGeneral(double value, int precision, int exponentDigits)
{
    if (value == 0.0 || !std::isfinite(value))
        return value == 0.0 ? "0" : std::string(std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF"));
    // Rounding to the precision first decides the exponent (9.9996 -> 10.00).
    char scientific[64];
    std::snprintf(scientific, sizeof scientific, "%.*e", precision - 1, value);
    const char* e = std::strchr(scientific, 'e');
    const int exponent = std::atoi(e + 1);
    if (exponent + 1 <= precision && std::fabs(value) >= 0.00001) {
        char fixed[64];
        std::snprintf(fixed, sizeof fixed, "%.*f", std::max(0, precision - 1 - exponent), value);
        std::string text = fixed;
        stripTrailingZeros(text);
        return text == "-0" ? "0" : text;
    }
    std::string mantissa(static_cast<const char*>(scientific), e);
    stripTrailingZeros(mantissa);
    std::string digits = std::to_string(std::abs(exponent));
    while (static_cast<int>(digits.size()) < exponentDigits)
        digits.insert(digits.begin(), '0');
    return mantissa + "E" + (exponent < 0 ? "-" : "+") + digits;
}

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
