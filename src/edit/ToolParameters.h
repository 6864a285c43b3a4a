#pragma once
// The values the tool panel holds for new objects, with their start-up values.

#include "model/ObjectList.h"

#include <cstdint>

namespace kestrel {

struct ToolParameters {
    int32_t CurrentTrackWidth = 80; // 0.8 mm
    int32_t CurrentPadOuter = 90;   // radius: 1.8 mm diameter
    int32_t CurrentPadInner = 30;   // radius: 0.6 mm diameter
    uint8_t CurrentPadShape = 1;    // round
    int32_t TextHeight = 300;       // 3 mm
    int32_t TextAngle = 0;
    int32_t CurrentClearance = 40;  // 0.4 mm
    bool ViaMode = false;
};

// The pad spin edits keep the hole inside the pad: a smaller outer radius
// lowers the inner one with it, a larger inner radius raises the outer one.
void setCurrentPadOuter(ToolParameters& tools, int32_t radiusUnits);
void setCurrentPadInner(ToolParameters& tools, int32_t radiusUnits);

// Clearance typed in millimetres, as units (ties to even).
int32_t clearanceUnitsFromMm(double mm);

// Gives every selected object the clearance; returns how many changed.
size_t applyClearanceToSelection(ObjectList& objects, int32_t clearanceUnits);

} // namespace kestrel
