#pragma once
// The steps of `kestrel-cli edit` that select, move, turn and mirror
// objects, set the tool panel's values and choose the active layer, as the
// edit tool, the Edit menu and the tool panel do.

#include "cli/EditSteps.h"

namespace kestrel::cli {

void selectAll(EditContext& c, const StepArgs& a);
void selectNone(EditContext& c, const StepArgs& a);
void selectFrame(EditContext& c, const StepArgs& a);
void selectAt(EditContext& c, const StepArgs& a);
void selectAdd(EditContext& c, const StepArgs& a);

void move(EditContext& c, const StepArgs& a);
void nudge(EditContext& c, const StepArgs& a);
void rotate(EditContext& c, const StepArgs& a);
void mirror(EditContext& c, const StepArgs& a);

bool validSetting(const StepArgs& a);
void setValue(EditContext& c, const StepArgs& a);
void activeLayer(EditContext& c, const StepArgs& a);

} // namespace kestrel::cli
