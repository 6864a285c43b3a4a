#include "edit/ToolParameters.h"

#include "model/Units.h"

namespace kestrel {

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
