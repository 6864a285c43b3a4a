#include "view/MacroPreview.h"

#include "model/Units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrel {

namespace {

constexpr int kMarginPx = 10;
constexpr double kSmallestScale = 0.01;

// The axis's scale in whole per cent; unlimited for an axis without extent.
double axisPercent(int extentPx, int32_t extentUnits)
{
    if (extentUnits == 0)
        return std::numeric_limits<double>::infinity();
    return std::round(static_cast<double>(extentPx - kMarginPx) / std::abs(static_cast<double>(extentUnits)) * 100);
}

} // namespace

double macroPreviewScale(const Rect& bounds, int widthPx, int heightPx)
{
    const double percent = std::min(axisPercent(widthPx, bounds.right - bounds.left),
                                    axisPercent(heightPx, bounds.bottom - bounds.top));
    // A single point has no extent on either axis: it shows at full size.
    if (std::isinf(percent))
        return 1.0;
    return std::max(percent / 100, kSmallestScale);
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
