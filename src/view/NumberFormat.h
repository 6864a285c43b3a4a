#pragma once
// Decimal text of numbers as the interface shows them.

#include <string>

namespace kestrel {

// The shortest text of value with at most `precision` significant digits and
// a decimal point: fixed notation while the integer part has at most
// `precision` digits and |value| >= 0.00001, otherwise scientific notation
// with at least `exponentDigits` exponent digits ("1.5E+05"). Trailing zeros
// are dropped.
std::string formatGeneral(double value, int precision, int exponentDigits);

} // namespace kestrel
