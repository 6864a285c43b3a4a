#pragma once
// Tick arithmetic of the two rulers beside the board view.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

struct RulerTick {
    int32_t position = 0; // pixel along the ruler
    bool major = false;
    std::string label; // empty when the tick has no label
    friend bool operator==(const RulerTick&, const RulerTick&) = default;
};

// Units per ruler step: 0.1 inch or 1 mm.
int32_t rulerStepUnits(bool inchUnit);

// The ticks of one ruler. offsetPx is the ruler pixel that lies left of (or
// above) the origin by the origin's pixel distance, i.e. tick i sits at
// round(i * step * zoom - offsetPx); i runs over -n..n with n = round(board
// extent / step). Only ticks at positions within [fromPx, toPx] are returned.
std::vector<RulerTick> rulerTicks(bool inchUnit, double zoomPxPerUnit, int32_t boardExtentUnits, double offsetPx,
                                  int32_t fromPx, int32_t toPx);

// The offsets of the two rulers. viewportOffsetPx is where the scroll box's
// visible area starts in ruler pixels; the origin is in board units.
double horizontalRulerOffset(int32_t scrollX, int32_t viewportOffsetPx, int32_t originX, double zoomPxPerUnit);
double verticalRulerOffset(int32_t scrollY, int32_t viewportOffsetPx, int32_t originY, double zoomPxPerUnit);

} // namespace kestrel
