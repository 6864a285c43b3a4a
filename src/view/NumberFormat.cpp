#include "view/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kestrel {

std::string formatGeneral(double value, int precision, int exponentDigits)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    precision = std::clamp(precision, 1, 17);

    // Round to the wanted significant digits first; the notation depends on
    // the rounded value (9.9996 with 4 digits is "10").
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, std::fabs(value));
    std::string digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.')
            digits += *p;
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = value < 0 ? "-" : "";
    const bool fixed = exponent < precision && std::fabs(value) >= 0.00001;
    if (fixed) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            const auto intDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= intDigits) {
                out += digits;
                out.append(intDigits - digits.size(), '0');
            } else {
                out.append(digits, 0, intDigits);
                out += '.';
                out.append(digits, intDigits, std::string::npos);
            }
        }
        return out;
    }
    out += digits[0];
    if (digits.size() > 1) {
        out += '.';
        out.append(digits, 1, std::string::npos);
    }
    std::string exp = std::to_string(std::abs(exponent));
    if (static_cast<int>(exp.size()) < exponentDigits)
        exp.insert(0, static_cast<size_t>(exponentDigits) - exp.size(), '0');
    out += exponent < 0 ? "E-" : "E+";
    out += exp;
    return out;
}

} // namespace kestrel
