#pragma once
// The steps of `kestrel-cli edit` that draw: tracks, zones, pads, circles,
// arcs and polygons, drags and corner commands of the edit tool, macro
// drops and vias, each through the pointer state machine as the board
// view's clicks go.

#include "cli/EditSteps.h"

namespace kestrel::cli {

bool validPath(const StepArgs& a);
void track(EditContext& c, const StepArgs& a);
void zone(EditContext& c, const StepArgs& a);
void pad(EditContext& c, const StepArgs& a);
bool validRadius(const StepArgs& a);
void circle(EditContext& c, const StepArgs& a);

void drag(EditContext& c, const StepArgs& a);
void corner(EditContext& c, const StepArgs& a);
void dropMacro(EditContext& c, const StepArgs& a);
void via(EditContext& c, const StepArgs& a);

bool validPolygon(const StepArgs& a);
void polygon(EditContext& c, const StepArgs& a);
bool validArc(const StepArgs& a);
void arc(EditContext& c, const StepArgs& a);
bool validSegment(const StepArgs& a);
void segment(EditContext& c, const StepArgs& a);

} // namespace kestrel::cli
