#pragma once
// A plated hole joins its pad to all copper it passes through: copper of
// another net on the other side, where the hole is drilled, is a short the
// search for close pairs (one layer at a time) does not see.

#include "output/CopperShapes.h"
#include "output/DesignCheck.h"
#include "route/Connectivity.h"

#include <vector>

namespace kestrel {

// Adds a violation for each drilled hole and each object of another net on
// the other copper layer whose copper (as `copper` has it) the hole meets;
// `nets` as netNumbers.
void checkHolesThroughCopper(CopperMap& map, CopperShapeCache& copper, const std::vector<int>& nets,
                             std::vector<Violation>& found);

} // namespace kestrel
