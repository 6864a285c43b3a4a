#include "output/PlaneRules.h"

#include "geometry/Figures.h"
#include "output/CopperShapes.h"
#include "output/DrillExport.h"
#include "output/ObjectCells.h"

#include <algorithm>
#include <optional>

namespace kestrel {

namespace {

// The kinds the plane cuts a gap around (labels as their box).
bool clearedByPlane(const LayoutObject& o)
{
    switch (o.kind()) {
    case ObjectKind::Line:
    case ObjectKind::Track:
    case ObjectKind::Zone:
    case ObjectKind::Pad:
    case ObjectKind::Circle:
    case ObjectKind::Text:
        return true;
    }
    return false;
}

// The areas a plane leaves free on its layer (each object's outline grown by
// its clearance), by the cells of a coarse grid, to ask whether a drilled
// hole lies wholly inside them.
class PlaneCutOuts {
public:
    PlaneCutOuts(CopperMap& map, int layer) : map_(map)
    {
        for (size_t i = 0; i < map.size(); ++i) {
            const LayoutObject& o = map.objects()[i];
            if (o.Layer == layer && clearedByPlane(o))
                cells_.add(i, map.bounds(i).grown(o.Clearance));
        }
    }

    bool holds(Point centre, int32_t radius) const
    {
        const Rect hole{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
        std::vector<size_t> near;
        const bool byAPad = cells_.anyNear(hole, [&](size_t i) {
            const LayoutObject& o = map_.objects()[i];
            if (!map_.bounds(i).grown(o.Clearance).overlaps(hole))
                return false;
            // A pad around the hole's centre keeps at least its radius and
            // clearance free all round: the usual case, without clipping.
            if (o.is(ObjectKind::Pad) && o.start() == centre && int64_t{o.padOuterRadius()} + o.Clearance >= radius)
                return true;
            near.push_back(i);
            return false;
        });
        if (byAPad)
            return true;
        if (near.empty())
            return false;
        std::sort(near.begin(), near.end());
        near.erase(std::unique(near.begin(), near.end()), near.end());
        Region free;
        for (size_t i : near)
            free = free.united(clearanceRegion(map_.objects()[i]));
        // Rounding of the polygons leaves slivers of a unit or two.
        return Region::disc(centre, radius).subtracted(free).area() <= 2.0;
    }

private:
    CopperMap& map_;
    ObjectCells cells_;
};

} // namespace

void checkGroundPlanes(CopperMap& map, const BoardSettings& settings, const DesignRules& rules,
                       std::vector<Violation>& found, DesignFigures* figures)
{
    const ObjectList& objects = map.objects();
    for (const bool side1 : {true, false}) {
        if (!settings.groundPlaneOfSide(side1))
            continue;
        const int planeLayer = side1 ? Layer::K1 : Layer::K2;
        std::optional<PlaneCutOuts> cutOuts;
        for (size_t i = 0; i < objects.size(); ++i) {
            const LayoutObject& o = objects[i];
            // A clearance of 0 joins the object to the plane: a connection,
            // not a gap.
            if (o.Layer == planeLayer && clearedByPlane(o) && o.Clearance > 0) {
                if (o.Clearance < rules.clearanceUnits)
                    found.push_back({ViolationKind::PlaneClearance, i, -1, double(o.Clearance), rules.clearanceUnits,
                                     copperPlace(copperShapes(o), map.bounds(i))});
                if (figures && o.Clearance < DesignFigures::kClearanceSearchUnits &&
                    (figures->smallestClearanceUnits < 0 || o.Clearance < figures->smallestClearanceUnits))
                    figures->smallestClearanceUnits = o.Clearance;
            }
            // Every hole goes through both copper layers (a via's pair is
            // drilled once).
            if (isDrilledPad(o) && o.holeRadius() > 0) {
                if (!cutOuts)
                    cutOuts.emplace(map, planeLayer);
                if (!cutOuts->holds(o.start(), o.holeRadius()))
                    found.push_back(
                        {ViolationKind::HoleInPlane, i, -1, 2.0 * o.holeRadius(), 0, map.bounds(i), planeLayer});
            }
        }
    }
}

} // namespace kestrel
