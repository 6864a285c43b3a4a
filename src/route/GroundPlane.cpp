#include "route/GroundPlane.h"

#include "geometry/Figures.h"

#include <vector>

namespace kestrel {

Region groundPlaneRegion(const ObjectList& objects, const BoardSettings& settings, int layer, bool labelsCutGaps)
{
    // Each clearance area is normalised (winding 1 inside, holes wound the
    // other way), so filling all their rings together by the non-zero rule
    // gives their union in one pass.
    std::vector<Polygon> rings;
    for (const auto& o : objects) {
        if (o->Layer != layer || (o->is(ObjectKind::Text) && !labelsCutGaps))
            continue;
        const Region gap = clearanceRegion(*o);
        rings.insert(rings.end(), gap.polygons().begin(), gap.polygons().end());
    }
    return Region::rectangle(settings.boardRect()).subtracted(Region::fromPolygons(rings));
}

} // namespace kestrel
