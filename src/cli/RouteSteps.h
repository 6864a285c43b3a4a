#pragma once
// The steps of `kestrel-cli edit` for connections: rubber bands, the
// connection test and the autorouter, as their tools do.

#include "cli/EditSteps.h"

namespace kestrel::cli {

void band(EditContext& c, const StepArgs& a);
void testAt(EditContext& c, const StepArgs& a);

bool validRouteSizes(const StepArgs& a);
void route(EditContext& c, const StepArgs& a);
void unroute(EditContext& c, const StepArgs& a);

} // namespace kestrel::cli
