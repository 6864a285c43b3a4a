#pragma once
// The copper a ground plane leaves on a copper layer. The clearance each
// object keeps free comes from the figure rules (geometry/Figures.h), which
// the Gerber export and the screen share.

#include "geometry/Region.h"
#include "model/Board.h"

namespace kestrel {

// The board minus the clearance area of every object of the layer. Labels
// cut a gap only when asked (the screen does, Gerber files do not).
Region groundPlaneRegion(const ObjectList& objects, const BoardSettings& settings, int layer,
                         bool labelsCutGaps = false);

} // namespace kestrel
