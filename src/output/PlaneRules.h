#pragma once
// The ground plane in the design check. The plane keeps a gap of each
// object's own clearance around every object on its layer, so that gap must
// meet the clearance rule like any other. A hole drilled through the plane's
// layer needs copper of its own there, with the plane cleared around it, or
// the plated hole joins its pad to the plane.

#include "output/DesignCheck.h"
#include "route/Connectivity.h"

#include <vector>

namespace kestrel {

// Adds the violations of the board's ground planes to `found`; with
// `figures`, the plane's gaps count among the board's clearances.
void checkGroundPlanes(CopperMap& map, const BoardSettings& settings, const DesignRules& rules,
                       std::vector<Violation>& found, DesignFigures* figures);

} // namespace kestrel
