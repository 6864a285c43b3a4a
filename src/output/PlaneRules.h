#pragma once
// The ground plane in the design check. The plane keeps a gap of each
// object's own clearance around every object on its layer, so that gap must
// meet the clearance rule like any other, unless other objects' gaps keep
// the plane farther away. A hole drilled through the plane's
// layer needs copper of its own there, with the plane cleared around it, or
// the plated hole joins its pad to the plane.

#include "output/DesignCheck.h"
#include "route/Connectivity.h"

#include <vector>

namespace kestrel {

// A ground plane joins the objects of clearance 0 it reaches on its layer.
// Cut-outs may split the plane into pieces: the objects on one piece are
// one net, those on different pieces are not. System-font labels join
// nothing.
void joinPlaneNets(const ObjectList& objects, const BoardSettings& settings, std::vector<int>& nets);

// Adds the violations of the board's ground planes to `found`; with
// `figures`, the plane's gaps count among the board's clearances.
void checkGroundPlanes(CopperMap& map, const BoardSettings& settings, const DesignRules& rules,
                       std::vector<Violation>& found, DesignFigures* figures);

} // namespace kestrel
