#include "output/HoleRules.h"

#include "output/DrillExport.h"
#include "output/ObjectCells.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

namespace kestrel {

void checkHolesThroughCopper(CopperMap& map, CopperShapeCache& copper, const std::vector<int>& nets,
                             std::vector<Violation>& found)
{
    const ObjectList& objects = map.objects();
    std::optional<ObjectCells> copperOf[2]; // by layer, made when a hole first needs it
    // Each pair once: an object met in several cells, or two pads drilled at
    // one place, each meeting the other's copper.
    std::set<std::pair<size_t, size_t>> reported;
    for (size_t i = 0; i < objects.size(); ++i) {
        const LayoutObject& pad = objects[i];
        // A hole that fills its pad leaves the pad no copper and no net:
        // whatever copper it passes through, on either side, is cut.
        const bool bare = pad.padOuterRadius() <= pad.holeRadius();
        if (!isDrilledPad(pad) || pad.holeRadius() <= 0 || (nets[i] < 0 && !bare))
            continue;
        const Point c = pad.start();
        const int32_t r = pad.holeRadius();
        const Rect hole{c.x - r, c.y - r, c.x + r, c.y + r};
        CopperShapes drill;
        SweptShape& disc = drill.shapes.emplace_back();
        disc.a = disc.b = c;
        // Copper that only touches the hole's rim is not drilled through:
        // the drill must reach into it by more than half a unit.
        disc.reach = r - 0.5;
        // A via's two pads are one net: only the other layer can hold a
        // stranger's copper the pad's own outline does not already meet.
        const int other = pad.Layer == Layer::K1 ? Layer::K2 : Layer::K1;
        for (const int layer : {other, static_cast<int>(pad.Layer)}) {
            if (layer == pad.Layer && !bare)
                continue;
            std::optional<ObjectCells>& cells = copperOf[layer == Layer::K1 ? 0 : 1];
            if (!cells) {
                cells.emplace();
                for (size_t j = 0; j < objects.size(); ++j)
                    if (objects[j].Layer == layer && nets[j] >= 0)
                        cells->add(j, map.bounds(j));
            }
            cells->anyNear(hole, [&](size_t j) {
                const std::pair pair{std::min(i, j), std::max(i, j)};
                if (nets[j] == nets[i] || !map.bounds(j).overlaps(hole) || reported.count(pair))
                    return false;
                if (copperGap(drill, copper.of(j), 1) == 0) {
                    reported.insert(pair);
                    found.push_back({ViolationKind::HoleThroughCopper, i, static_cast<long>(j), 0, 0, hole});
                }
                return false;
            });
        }
    }
}

} // namespace kestrel
