#pragma once
// The copper an object puts on the board, as the Gerber export draws it,
// for measuring gaps: capsules, discs and arcs as true round shapes, pads as
// their real figures (an octagon as an octagon, whose corners reach beyond
// the disc the connectivity outline takes). Pens of width 0, bare holes and
// pads of unknown shape draw no copper. Labels in a system font are their
// box, filled arcs and rings without width their connectivity outline.

#include "geometry/SweptGap.h"
#include "model/LayoutObject.h"
#include "model/ObjectList.h"

#include <memory>
#include <vector>

namespace kestrel {

// Move-only: the shapes point into the regions they own.
struct CopperShapes {
    std::vector<SweptShape> shapes;
    std::vector<std::unique_ptr<const Region>> areas;
};

CopperShapes copperShapes(const LayoutObject& o);

// A rectangle holding all of the copper; all zero when there is none.
Rect copperBounds(const CopperShapes& copper);

// Where an object's copper lies, to show a violation at (an arc's own span,
// not its whole circle); `otherwise` when it draws none (a pen of width 0,
// a bare hole).
inline Rect copperPlace(const CopperShapes& copper, const Rect& otherwise)
{
    return copper.shapes.empty() ? otherwise : copperBounds(copper);
}

// Smallest gap between two objects' copper; exact below `limit`, `limit`
// or more when they lie at least that far apart.
double copperGap(const CopperShapes& a, const CopperShapes& b, double limit);

// Each object's copper, made when it is first asked for. Two threads may
// use one cache at once as long as they ask for different objects.
class CopperShapeCache {
public:
    explicit CopperShapeCache(const ObjectList& objects) : objects_(objects), shapes_(objects.size()) {}

    const CopperShapes& of(size_t i)
    {
        if (!shapes_[i])
            shapes_[i] = std::make_unique<CopperShapes>(copperShapes(objects_[i]));
        return *shapes_[i];
    }
    double gap(size_t a, size_t b, double limit) { return copperGap(of(a), of(b), limit); }
    Rect bounds(size_t i) { return copperBounds(of(i)); }

private:
    const ObjectList& objects_;
    std::vector<std::unique_ptr<CopperShapes>> shapes_;
};

} // namespace kestrel
