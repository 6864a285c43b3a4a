#include "edit/HitTest.h"
#include "edit/QuickShapeTests.h"
#include "geometry/Geometry.h"

#include <gtest/gtest.h>

#include <random>

namespace kestrel {
namespace {

// Random objects whose shortcuts must agree with their exact outline
// regions: the hit test and the frame test against ObjectRegion, over points
// and frames scattered around each object, many of them near its edges.
// Random zones cross themselves, so the fill rule of both sides is checked.
TEST(QuickShapeTests, AgreeWithTheExactRegions)
{
    std::mt19937 rng(7);
    auto uniform = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    int decidedHits = 0, decidedFrames = 0;
    const auto point = [&](int32_t r) { return Point{uniform(-r, r), uniform(-r, r)}; };
    for (int n = 0; n < 400; ++n) {
        LayoutObject o;
        if (n % 4 == 0) {
            o = makeLine(point(800), point(800), uniform(0, 120), Layer::K1);
        } else if (n % 4 == 3) {
            const int32_t outer = uniform(30, 700);
            o = makeCircle(point(100), outer, 1, Layer::K1, uniform(0, outer));
            o.Filled = static_cast<uint8_t>(uniform(0, 1));
            if (n % 8 == 7) {
                o.setArcStartDegrees(uniform(0, 359));
                o.setArcStopDegrees(uniform(0, 359));
            }
        } else {
            o = n % 4 == 1 ? makeTrack(uniform(0, 120), Layer::K1) : makeZone(uniform(0, 60), Layer::K1);
            for (int k = uniform(2, 6); k > 0; --k)
                o.Points.push_back(point(800));
        }
        const Region exact = ObjectRegion(o);
        // Lines are framed by their bounding rectangle, the rest by shape.
        auto touches = [&](const Rect& f) {
            return o.is(ObjectKind::Line) ? BoundingRect(o).overlaps(f) : exact.overlaps(Region::rectangle(f));
        };
        for (int k = 0; k < 60; ++k) {
            const Point p = point(900);
            // Near the outline, outlines joined by clipping and the parts they
            // came from may differ by a rounded corner, up to two units.
            const bool inside = exact.contains(p);
            bool onEdge = false;
            for (const Point d : {Point{2, 0}, Point{-2, 0}, Point{0, 2}, Point{0, -2}, Point{2, 2}, Point{-2, -2},
                                  Point{2, -2}, Point{-2, 2}})
                onEdge |= exact.contains({p.x + d.x, p.y + d.y}) != inside;
            if (!onEdge) {
                EXPECT_EQ(HitsDrawnShape(o, p), inside) << "object " << n << " at " << p.x << ", " << p.y;
                decidedHits += inside ? 1 : 0;
            }
            const Rect frame = Rect{p.x, p.y, p.x + uniform(5, 400), p.y + uniform(5, 400)};
            const bool touched = touches(frame);
            if (touches(frame.grown(2)) == touched && touches(frame.grown(-2)) == touched) {
                EXPECT_EQ(TouchesFrame(o, frame), touched) << "object " << n << " frame at " << p.x << ", " << p.y << " to "
                                                       << frame.right << ", " << frame.bottom;
                decidedFrames += touched ? 1 : 0;
            }
        }
    }
    // Both answers occur often, so the comparison means something.
    EXPECT_GT(decidedHits, 1000);
    EXPECT_GT(decidedFrames, 3000);
}

} // namespace
} // namespace kestrel
