#include "view/Rulers.h"

#include "model/Types.h"
#include "model/Units.h"
#include "view/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

int32_t rulerStepUnits(bool inchUnit)
{
    return inchUnit ? kUnitsPerTenthInch : kUnitsPerMm;
}

std::vector<RulerTick> rulerTicks(bool inchUnit, double zoom, int32_t extent, double offset, int32_t fromPx,
                                  int32_t toPx)
{
    std::vector<RulerTick> ticks;
    const int32_t step = rulerStepUnits(inchUnit);
    const double stepPx = step * zoom;
    if (!(stepPx > 0) || !std::isfinite(stepPx))
        return ticks;
    const int64_t n = roundEven64(static_cast<double>(extent) / step);
    const int64_t every = stepPx < 3.0 ? 25 : (stepPx >= 40.0 ? 1 : 10);
    // Only the steps near the wanted pixel range are looked at.
    const int64_t first = std::max(-n, static_cast<int64_t>(std::floor((fromPx + offset) / stepPx)) - 1);
    const int64_t last = std::min(n, static_cast<int64_t>(std::ceil((toPx + offset) / stepPx)) + 1);
    for (int64_t i = first; i <= last; ++i) {
        const double pos = static_cast<double>(i) * stepPx - offset;
        if (pos < fromPx || pos > toPx)
            continue;
        RulerTick tick;
        tick.position = roundEven(pos);
        const std::string label = formatGeneral(inchUnit ? static_cast<double>(i) / 10.0 : static_cast<double>(i), 3, 2);
        if (i % every == 0) {
            tick.major = true;
            tick.label = label;
        } else if (stepPx >= 2.0) {
            if (stepPx >= 50.0)
                tick.label = label;
        } else {
            continue;
        }
        ticks.push_back(std::move(tick));
    }
    return ticks;
}

double horizontalRulerOffset(int32_t scrollX, int32_t viewportOffsetPx, int32_t originX, double zoom)
{
    return scrollX - viewportOffsetPx - originX * zoom;
}

double verticalRulerOffset(int32_t scrollY, int32_t viewportOffsetPx, int32_t originY, double zoom)
{
    return originY * zoom + scrollY - viewportOffsetPx;
}

} // namespace kestrel
