#include "output/PlaneRules.h"

#include "output/DrillExport.h"

#include <optional>
#include <unordered_map>

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

// The copper objects of one layer by the cells of a coarse grid their
// bounds cover, to find the copper under a point.
class CopperUnderPoint {
public:
    CopperUnderPoint(CopperMap& map, int layer)
    {
        for (size_t i = 0; i < map.size(); ++i) {
            if (map.objects()[i].Layer != layer)
                continue;
            const Rect& b = map.bounds(i);
            const int64_t x0 = cellOf(b.left), x1 = cellOf(b.right), y0 = cellOf(b.top), y1 = cellOf(b.bottom);
            if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMostCells) {
                wide_.push_back(i);
                continue;
            }
            for (int64_t y = y0; y <= y1; ++y)
                for (int64_t x = x0; x <= x1; ++x)
                    cells_[key(x, y)].push_back(i);
        }
    }

    bool covered(CopperMap& map, Point p) const
    {
        auto under = [&](size_t i) {
            const Rect& b = map.bounds(i);
            if (p.x < b.left || p.x > b.right || p.y < b.top || p.y > b.bottom)
                return false;
            for (const Region& part : map.outline(i))
                if (part.contains(p))
                    return true;
            return false;
        };
        if (const auto it = cells_.find(key(cellOf(p.x), cellOf(p.y))); it != cells_.end())
            for (size_t i : it->second)
                if (under(i))
                    return true;
        for (size_t i : wide_)
            if (under(i))
                return true;
        return false;
    }

private:
    static constexpr int32_t kCell = 1024;  // units: about a dozen pads across
    static constexpr int64_t kMostCells = 64; // larger objects are asked at every point
    static int64_t cellOf(int32_t v) { return v >= 0 ? v / kCell : -((-int64_t{v} + kCell - 1) / kCell); }
    static uint64_t key(int64_t x, int64_t y) { return (uint64_t(x) << 32) ^ uint64_t(uint32_t(y)); }

    std::unordered_map<uint64_t, std::vector<size_t>> cells_;
    std::vector<size_t> wide_;
};

} // namespace

void checkGroundPlanes(CopperMap& map, const BoardSettings& settings, const DesignRules& rules,
                       std::vector<Violation>& found, DesignFigures* figures)
{
    const ObjectList& objects = map.objects();
    for (const bool side1 : {true, false}) {
        if (!settings.groundPlaneOfSide(side1))
            continue;
        const int planeLayer = side1 ? Layer::K1 : Layer::K2, otherLayer = side1 ? Layer::K2 : Layer::K1;
        std::optional<CopperUnderPoint> copper;
        for (size_t i = 0; i < objects.size(); ++i) {
            const LayoutObject& o = objects[i];
            // A clearance of 0 joins the object to the plane: a connection,
            // not a gap.
            if (o.Layer == planeLayer && clearedByPlane(o) && o.Clearance > 0) {
                if (o.Clearance < rules.clearanceUnits)
                    found.push_back({ViolationKind::PlaneClearance, i, -1, double(o.Clearance), rules.clearanceUnits,
                                     map.bounds(i)});
                if (figures && o.Clearance < DesignFigures::kClearanceSearchUnits &&
                    (figures->smallestClearanceUnits < 0 || o.Clearance < figures->smallestClearanceUnits))
                    figures->smallestClearanceUnits = o.Clearance;
            }
            if (o.Layer == otherLayer && isDrilledPad(o) && o.holeRadius() > 0) {
                if (!copper)
                    copper.emplace(map, planeLayer);
                if (!copper->covered(map, o.start()))
                    found.push_back({ViolationKind::HoleInPlane, i, -1, 2.0 * o.holeRadius(), 0, map.bounds(i)});
            }
        }
    }
}

} // namespace kestrel
