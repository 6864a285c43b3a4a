#pragma once

#include "route/CopperIndex.h"

#include <cstdint>
#include <unordered_map>

namespace kestrel {

// Decides whether two parts, given by their ids, overlap with positive area:
// by the quick tests where they are sure, else on the parts' polygons.
class PartTest {
public:
    // Zone edges at least this wide cover the zone's border with area, so
    // whatever crosses the border already overlaps an edge.
    static constexpr int32_t kCoveringHalfWidth = 2;

    PartTest(CopperMap& map, const IndexVector<LayoutObject const*>& objects, const IndexVector<CopperPart>& parts,
             const IndexVector<CapsuleShape>& capsules, ShapeBoundsCache& shapes,
             std::unordered_map<uint32_t, Region>& fills)
        : map_(map), objects_(objects), parts_(parts), capsules_(capsules), shapes_(shapes), fills_(fills)
    {
    }

    // The answer of the quick tests alone: Unsure leaves it to overlap().
    QuickAnswer quick(uint32_t a, uint32_t b)
    {
        const CopperPart &pa = parts_[a], &pb = parts_[b];
        if (!pa.box.overlaps(pb.box))
            return QuickAnswer::Apart;
        if (pa.isCapsule() && pb.isCapsule()) {
            const CapsuleShape &c = capsules_[a], &d = capsules_[b];
            return quickCapsule(c) && quickCapsule(d) ? capsulesOverlap(c, d) : QuickAnswer::Unsure;
        }
        if (coveredFill(pa))
            return fillAgainst(pa, b);
        if (coveredFill(pb))
            return fillAgainst(pb, a);
        if (pa.isCapsule())
            return capsuleAgainstShape(a, pb);
        if (pb.isCapsule())
            return capsuleAgainstShape(b, pa);
        return QuickAnswer::Unsure;
    }

    bool overlap(uint32_t a, uint32_t b)
    {
        if (const QuickAnswer answer = quick(a, b); answer != QuickAnswer::Unsure)
            return answer == QuickAnswer::Overlap;
        const CopperPart &pa = parts_[a], &pb = parts_[b];
        if (coveredFill(pa) && !pb.isCapsule() && pb.piece != CopperPart::kFill)
            return fillAgainstRegion(pa, region(b));
        if (coveredFill(pb) && !pa.isCapsule() && pa.piece != CopperPart::kFill)
            return fillAgainstRegion(pb, region(a));
        return region(a).overlaps(region(b));
    }

private:
    // Capsules OutlineParts makes for an object with capsule parts.
    static size_t capsuleCount(const LayoutObject& o)
    {
        if (o.is(ObjectKind::Line))
            return 1;
        const size_t n = o.Points.size();
        return o.is(ObjectKind::Zone) && n > 2 ? n : n - 1;
    }

    // A capsule against the figure of a pad or the ring, disc or arc of a circle.
    QuickAnswer capsuleAgainstShape(uint32_t capsule, const CopperPart& shape)
    {
        const CapsuleShape& c = capsules_[capsule];
        if (shape.piece != CopperPart::kShape || !quickCapsule(c))
            return QuickAnswer::Unsure;
        const ShapeBounds& bounds = shapes_.of(shape.object, objects_);
        if (bounds.figure)
            return capsuleAgainstFigure(c, *bounds.figure);
        if (bounds.arc)
            return capsuleAgainstArc(c, *bounds.arc);
        return QuickAnswer::Unsure;
    }

    const LayoutObject& object(const CopperPart& p) const { return *objects_[p.object]; }

    bool coveredFill(const CopperPart& p) const
    {
        return p.piece == CopperPart::kFill && object(p).widthUnits() / 2 >= kCoveringHalfWidth;
    }

    // A zone whose edges cover its border: a part that does not cross the
    // border lies wholly inside or outside the fill, and one that crosses it
    // overlaps an edge, which the test of that edge finds. So one point of
    // each shape inside the other decides.
    QuickAnswer fillAgainst(const CopperPart& fill, uint32_t otherId)
    {
        const PackedList<Point>& zone = object(fill).Points;
        const CopperPart& other = parts_[otherId];
        if (other.isCapsule()) {
            const CapsuleShape& c = capsules_[otherId];
            if (!quickCapsule(c))
                return QuickAnswer::Unsure;
            if (insideZoneOutline(zone, c.a))
                return QuickAnswer::Overlap;
            // The zone lies wholly outside the capsule when its first
            // corner does.
            if (segmentDistance(zone[0], zone[0], c.a, c.b) > c.halfWidth + 2)
                return QuickAnswer::Apart;
            return QuickAnswer::Unsure;
        }
        if (other.piece == CopperPart::kFill) {
            const PackedList<Point>& second = object(other).Points;
            if (object(other).widthUnits() / 2 < kCoveringHalfWidth)
                return QuickAnswer::Unsure;
            const bool inside = insideZoneOutline(zone, second[0]) || insideZoneOutline(second, zone[0]);
            return inside ? QuickAnswer::Overlap : QuickAnswer::Apart;
        }
        const LayoutObject& o = object(other);
        const std::optional<FigureBounds>& bounds = shapes_.of(other.object, objects_).figure;
        if (!bounds || pointInFigure(o.centre(), *bounds) != QuickAnswer::Overlap)
            return QuickAnswer::Unsure;
        if (insideZoneOutline(zone, o.centre()))
            return QuickAnswer::Overlap;
        return pointInFigure(zone[0], *bounds);
    }

    bool fillAgainstRegion(const CopperPart& fill, const Region& shape) const
    {
        const PackedList<Point>& zone = object(fill).Points;
        if (shape.empty())
            return false;
        return insideZoneOutline(zone, shape.polygons()[0][0]) || shape.contains(zone[0]);
    }

    const Region& region(uint32_t id)
    {
        const CopperPart& p = parts_[id];
        if (p.isCapsule()) {
            // Outlines built already hold the capsules first, in segment order.
            if (map_.outlineBuilt(p.object)) {
                const std::vector<Region>& parts = map_.outline(p.object);
                const size_t k = p.piece == CopperPart::kLine ? 0 : static_cast<size_t>(p.piece);
                if (k < parts.size() && capsuleCount(object(p)) <= parts.size())
                    return parts[k];
            }
            const CapsuleShape& c = capsules_[id];
            const auto outline = SegmentOutline(object(p), c.a, c.b);
            scratch_[which_ ^= 1] = Region::fromPolygon(Polygon(outline.begin(), outline.end()));
            return scratch_[which_];
        }
        if (p.piece == CopperPart::kFill) {
            auto it = fills_.find(p.object);
            if (it == fills_.end())
                it = fills_.emplace(p.object, Region::fromPolygon(object(p).Points, Region::Fill::EvenOdd)).first;
            return it->second;
        }
        const std::vector<Region>& parts = map_.outline(p.object);
        return parts.empty() ? empty_ : parts[0];
    }

    CopperMap& map_;
    const IndexVector<LayoutObject const*>& objects_;
    const IndexVector<CopperPart>& parts_;
    const IndexVector<CapsuleShape>& capsules_;
    ShapeBoundsCache& shapes_;
    std::unordered_map<uint32_t, Region>& fills_;
    Region scratch_[2];
    int which_ = 0;
    const Region empty_;
};

} // namespace kestrel
