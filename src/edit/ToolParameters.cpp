#include "edit/ToolParameters.h"

#include "model/Units.h"

#include <algorithm>

namespace kestrel {

void setCurrentPadOuter(ToolParameters& tools, int32_t radiusUnits)
{
    tools.CurrentPadOuter = radiusUnits;
    tools.CurrentPadInner = std::min(tools.CurrentPadInner, radiusUnits);
}

void setCurrentPadInner(ToolParameters& tools, int32_t radiusUnits)
{
    tools.CurrentPadInner = radiusUnits;
    tools.CurrentPadOuter = std::max(tools.CurrentPadOuter, radiusUnits);
}

int32_t clearanceUnitsFromMm(double mm)
{
    return unitsFromMm(mm);
}

size_t applyClearanceToSelection(ObjectList& objects, int32_t clearanceUnits)
{
    size_t changed = 0;
    for (auto& o : objects) {
        if (o->Selected && o->Clearance != clearanceUnits) {
            o->Clearance = clearanceUnits;
            ++changed;
        }
    }
    return changed;
}

} // namespace kestrel
