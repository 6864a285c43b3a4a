#include "output/PlaneRules.h"

#include "geometry/Figures.h"
#include "geometry/Geometry.h"
#include "model/LayerSwitches.h"
#include "output/CopperShapes.h"
#include "output/DrillExport.h"
#include "output/ObjectCells.h"

#include <algorithm>
#include <numeric>
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

// Polygons of round shapes leave slivers of a unit or two.
constexpr double kSlivers = 2.0;

// The objects whose cut-out the plane stops at; the others, of clearance 0,
// join it. A label clears its box at any clearance, its glyphs drawn inside.
bool keepsPlaneAway(const LayoutObject& o)
{
    return clearedByPlane(o) && (o.Clearance > 0 || o.is(ObjectKind::Text));
}

// What of `area` the cut-outs of the objects leave. Each is taken from it
// in turn: on a crowded board there are hundreds, whose union would cost
// far more than the area that shrinks with each.
Region uncovered(Region area, std::vector<size_t> objects, const ObjectList& list)
{
    std::sort(objects.begin(), objects.end());
    objects.erase(std::unique(objects.begin(), objects.end()), objects.end());
    for (size_t j : objects) {
        if (area.empty())
            break;
        const LayoutObject& o = list[j];
        if (BoundingRect(o).overlaps(area.bounds()))
            area = area.subtracted(clearanceRegion(o));
    }
    return area;
}

// The areas a plane leaves free on its layer (each object's outline grown by
// its clearance), by the cells of a coarse grid, to ask whether a drilled
// hole lies wholly inside them. The plane ends at the board's edge: a hole
// beyond it meets none.
class PlaneCutOuts {
public:
    PlaneCutOuts(CopperMap& map, int layer, const Rect& board)
        : map_(map), board_(board), boardArea_(Region::rectangle(board))
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
        if (!hole.overlaps(board_))
            return true;
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
        const Region onBoard = Region::disc(centre, radius).intersected(boardArea_);
        return uncovered(onBoard, std::move(near), map_.objects()).area() <= kSlivers;
    }

private:
    CopperMap& map_;
    Rect board_;
    Region boardArea_;
    ObjectCells cells_;
};

// The cut-outs of a layer's plane that keep it away (objects of clearance 0
// join it instead), to ask how near the plane comes to an object.
class PlaneGaps {
public:
    PlaneGaps(const ObjectList& objects, int layer, const Rect& board)
        : objects_(objects), board_(Region::rectangle(board))
    {
        for (size_t j = 0; j < objects.size(); ++j) {
            const LayoutObject& o = objects[j];
            if (o.Layer == layer && keepsPlaneAway(o))
                cells_.add(j, BoundingRect(o));
        }
    }

    // Where the plane comes between `inner` and `outer` units of object i's
    // outline: that band on the board, less the other objects' cut-outs.
    Region planeAround(size_t i, int32_t inner, int32_t outer) const
    {
        LayoutObject o = objects_[i];
        o.Clearance = outer;
        Region band = clearanceRegion(o);
        o.Clearance = inner;
        band = band.subtracted(clearanceRegion(o)).intersected(board_);
        std::vector<size_t> near;
        cells_.anyNear(band.bounds(), [&](size_t j) {
            if (j != i)
                near.push_back(j);
            return false;
        });
        return uncovered(std::move(band), std::move(near), objects_);
    }

    // Whether the plane comes between `inner` and `outer` units of object
    // i's outline over more than `slack` square units (the slivers rounding
    // leaves). With no other cut-out near an object on the board it does,
    // and no clipping is needed to say so.
    bool comesWithin(size_t i, int32_t inner, int32_t outer, double slack) const
    {
        LayoutObject o = objects_[i];
        o.Clearance = outer;
        const Rect reach = BoundingRect(o), board = board_.bounds();
        const bool onBoard = reach.left >= board.left && reach.right <= board.right && reach.top >= board.top &&
                             reach.bottom <= board.bottom;
        const bool gapNear = cells_.anyNear(reach, [&](size_t j) {
            return j != i && BoundingRect(objects_[j]).overlaps(reach);
        });
        if (onBoard && !gapNear)
            return true;
        return planeAround(i, inner, outer).area() > slack;
    }

    // The plane's copper, apart from the objects joined to it, in the
    // pieces the cut-outs leave.
    std::vector<Region> pieces(int layer) const
    {
        std::vector<Polygon> cut;
        for (size_t j = 0; j < objects_.size(); ++j)
            if (const LayoutObject& o = objects_[j]; o.Layer == layer && keepsPlaneAway(o)) {
                const Region gap = clearanceRegion(o);
                cut.insert(cut.end(), gap.polygons().begin(), gap.polygons().end());
            }
        return board_.subtracted(Region::fromPolygons(cut)).pieces();
    }

private:
    const ObjectList& objects_;
    Region board_;
    ObjectCells cells_;
};

// Nets made one, each by the smallest of those joined.
class NetUnion {
public:
    explicit NetUnion(const std::vector<int>& nets)
        : parent_(static_cast<size_t>(std::max(0, *std::max_element(nets.begin(), nets.end())) + 1))
    {
        std::iota(parent_.begin(), parent_.end(), 0);
    }
    int find(int net)
    {
        while (parent_[net] != net)
            net = parent_[net] = parent_[parent_[net]];
        return net;
    }
    void join(int a, int b)
    {
        a = find(a), b = find(b);
        parent_[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<int> parent_;
};

} // namespace

void joinPlaneNets(const ObjectList& objects, const BoardSettings& settings, std::vector<int>& nets)
{
    if (nets.empty())
        return;
    for (const int layer : {int(Layer::K1), int(Layer::K2)}) {
        if (!groundPlaneOn(settings, layer))
            continue;
        const PlaneGaps gaps(objects, layer, settings.boardRect());
        // The objects the plane reaches.
        std::vector<size_t> reached;
        std::vector<int> reachedNets;
        for (size_t i = 0; i < objects.size(); ++i) {
            const LayoutObject& o = objects[i];
            if (o.Layer != layer || o.Clearance != 0 || nets[i] < 0 || o.is(ObjectKind::Text))
                continue;
            if (gaps.comesWithin(i, 0, 1, 0.5)) {
                reached.push_back(i);
                reachedNets.push_back(nets[i]);
            }
        }
        std::sort(reachedNets.begin(), reachedNets.end());
        reachedNets.erase(std::unique(reachedNets.begin(), reachedNets.end()), reachedNets.end());
        if (reachedNets.size() < 2)
            continue;
        // Most planes are one piece: then all it reaches is one net.
        const std::vector<Region> pieces = gaps.pieces(layer);
        NetUnion joined(nets);
        std::vector<int> netOfPiece(pieces.size(), -1);
        for (const size_t i : reached) {
            const Region touch = pieces.size() > 1 ? gaps.planeAround(i, 0, 1) : Region();
            for (size_t p = 0; p < pieces.size(); ++p) {
                if (pieces.size() > 1 && (!pieces[p].bounds().overlaps(touch.bounds()) || !pieces[p].overlaps(touch)))
                    continue;
                if (netOfPiece[p] < 0)
                    netOfPiece[p] = nets[i];
                else
                    joined.join(netOfPiece[p], nets[i]);
            }
        }
        for (int& net : nets)
            if (net >= 0)
                net = joined.find(net);
    }
}

void checkGroundPlanes(CopperMap& map, const BoardSettings& settings, const DesignRules& rules,
                       std::vector<Violation>& found, DesignFigures* figures)
{
    const ObjectList& objects = map.objects();
    for (const bool side1 : {true, false}) {
        if (!settings.groundPlaneOfSide(side1))
            continue;
        const int planeLayer = side1 ? Layer::K1 : Layer::K2;
        std::optional<PlaneCutOuts> cutOuts;
        std::optional<PlaneGaps> gaps;
        for (size_t i = 0; i < objects.size(); ++i) {
            const LayoutObject& o = objects[i];
            // A clearance of 0 joins the object to the plane: a connection,
            // not a gap. A gap within another object's wider one is not the
            // plane's.
            const int32_t c = o.Clearance;
            const bool small = c < rules.clearanceUnits;
            const bool smallest = figures && c < DesignFigures::kClearanceSearchUnits &&
                                  (figures->smallestClearanceUnits < 0 || c < figures->smallestClearanceUnits);
            if (o.Layer == planeLayer && clearedByPlane(o) && c > 0 && (small || smallest)) {
                if (!gaps)
                    gaps.emplace(objects, planeLayer, settings.boardRect());
                if (small && gaps->comesWithin(i, c, rules.clearanceUnits, kSlivers))
                    found.push_back({ViolationKind::PlaneClearance, i, -1, double(c), rules.clearanceUnits,
                                     copperPlace(copperShapes(o), map.bounds(i))});
                if (smallest && gaps->comesWithin(i, c, c + 1, kSlivers))
                    figures->smallestClearanceUnits = c;
            }
            // Every hole goes through both copper layers (a via's pair is
            // drilled once).
            if (isDrilledPad(o) && o.holeRadius() > 0) {
                if (!cutOuts)
                    cutOuts.emplace(map, planeLayer, settings.boardRect());
                if (!cutOuts->holds(o.start(), o.holeRadius()))
                    found.push_back(
                        {ViolationKind::HoleInPlane, i, -1, 2.0 * o.holeRadius(), 0, map.bounds(i), planeLayer});
            }
        }
    }
}

} // namespace kestrel
