#include "view/MacroPreview.h"

#include "model/Units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrel {

namespace {

constexpr int kMarginPx = 10;
constexpr double kSmallestScale = 0.01;

// Pixels per unit that fit the axis; unlimited for an axis without extent.
double axisScale(int extentPx, int32_t extentUnits)
{
    if (extentUnits == 0)
        return std::numeric_limits<double>::infinity();
    return static_cast<double>(extentPx - kMarginPx) / std::abs(static_cast<double>(extentUnits));
}

} // namespace

double macroPreviewScale(const Rect& bounds, int widthPx, int heightPx)
{
    const double fits = std::min(axisScale(widthPx, bounds.right - bounds.left),
                                 axisScale(heightPx, bounds.bottom - bounds.top));
    // A single point has no extent on either axis: it shows at full size.
    if (std::isinf(fits))
        return 1.0;
    // Whole per cent, cut rather than rounded: rounded up, a wide macro ran
    // off its box (by an eighth of it at 4 per cent). Below 10 per cent a
    // whole per cent is too coarse a step (at 1.9 it would halve the
    // picture): there the fitting scale itself is taken.
    const double percent = std::floor(fits * 100 + 1e-9);
    if (percent >= 10)
        return percent / 100;
    // A box no larger than its margin shows what it can at 1 per cent.
    return fits > 0 ? fits : kSmallestScale;
}

bool macroPreviewShowsDots(double scale)
{
    return 4 * std::lround(2 / scale) < kUnitsPerTenthInch;
}

int macroPreviewHeight(int widthPx, int freeHeightPx)
{
    const int wanted = static_cast<int>(std::lround(1.2 * widthPx));
    return std::max(50, std::min({wanted, 300, freeHeightPx - 90}));
}

} // namespace kestrel
