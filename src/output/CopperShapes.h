#pragma once
// The copper an object puts on the board, as the Gerber export draws it,
// for measuring gaps: capsules, discs and arcs as true round shapes, pads as
// their real figures (an octagon as an octagon, where the connectivity
// outline takes the disc around it). Labels in a system font are their box.

#include "geometry/SweptGap.h"
#include "model/LayoutObject.h"

#include <memory>
#include <vector>

namespace kestrel {

// Move-only: the shapes point into the regions they own.
struct CopperShapes {
    std::vector<SweptShape> shapes;
    std::vector<std::unique_ptr<const Region>> areas;
};

CopperShapes copperShapes(const LayoutObject& o);

// Smallest gap between two objects' copper; exact below `limit`, `limit`
// or more when they lie at least that far apart.
double copperGap(const CopperShapes& a, const CopperShapes& b, double limit);

} // namespace kestrel
