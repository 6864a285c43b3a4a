#pragma once
// The board unit is 0.01 mm. Every conversion between it and millimetres,
// micrometres, inches, screen pixels and Gerber coordinate digits is named
// here, so no other file multiplies or divides by the unit itself.

#include "model/Types.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kestrel {

constexpr int32_t kUnitsPerMm = 100;
constexpr int32_t kUmPerUnit = 10;
constexpr double kMmPerInch = 25.4;
// A tenth of an inch (2.54 mm), the classic pin pitch and the default grid.
constexpr int32_t kUnitsPerTenthInch = 254;

// Millimetres typed by the user, rounded to whole units.
inline int32_t unitsFromMm(double mm) { return roundEven(mm * kUnitsPerMm); }
// Whole millimetres (board sizes) exactly.
constexpr int32_t unitsFromWholeMm(int32_t mm) { return mm * kUnitsPerMm; }
constexpr double mmFromUnits(double units) { return units / kUnitsPerMm; }
// Board sizes are kept in whole millimetres; the fraction is dropped.
constexpr int32_t wholeMmFromUnits(int32_t units) { return units / kUnitsPerMm; }
constexpr int64_t umFromUnits(int64_t units) { return units * kUmPerUnit; }
constexpr double inchesFromUnits(double units) { return units / (kUnitsPerMm * kMmPerInch); }

// Pads and holes are typed as diameters in millimetres and stored as radii.
inline int32_t radiusUnitsFromDiameterMm(double diameterMm) { return roundEven(diameterMm * kUnitsPerMm / 2.0); }
constexpr double diameterMmFromRadiusUnits(double radiusUnits) { return 2.0 * radiusUnits / kUnitsPerMm; }

// Device pixels for a length in units at a zoom of pixels per unit.
constexpr double pxFromUnits(double units, double zoomPxPerUnit) { return units * zoomPxPerUnit; }

// Gerber files use millimetres with two decimals (format 3.2), so a board
// coordinate is written as its own digits; apertures are written as whole
// millimetres and hundredths.
constexpr int64_t gerberDigitsFromUnits(int64_t units) { return units; }
constexpr int64_t wholeMmPart(int64_t units) { return units / kUnitsPerMm; }
constexpr int64_t hundredthsPart(int64_t units) { return units % kUnitsPerMm; }

// Intermediate sums are kept in 64 bits so that odd values read from a file
// (huge radii, far-off points) saturate instead of wrapping.
inline int32_t saturatedUnits(int64_t v)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

inline int32_t saturatedUnits(double v)
{
    if (!(v == v))
        return 0;
    return saturatedUnits(static_cast<int64_t>(std::clamp(std::nearbyint(v), -4e18, 4e18)));
}

} // namespace kestrel
