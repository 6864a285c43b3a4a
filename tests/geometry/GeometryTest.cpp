#include "geometry/Geometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <numbers>
#include <random>
#include <tuple>

namespace kestrel {

inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }

namespace {

constexpr double pi = std::numbers::pi;

LayoutObject pointObject(ObjectKind kind, int32_t width, std::vector<Point> points)
{
    LayoutObject o = kind == ObjectKind::Zone ? makeZone(width, 1) : makeTrack(width, 1);
    o.Points = std::move(points);
    return o;
}

LayoutObject circle(int32_t outer, int32_t inner, int32_t start, int32_t stop, bool filled)
{
    LayoutObject o = makeCircle({0, 0}, outer, 1, 1, inner);
    o.Angle = start;
    o.Width = stop;
    o.Filled = filled ? 1 : 0;
    return o;
}

// The object's region, checked on the way against the cheaper OutlineBounds
// and against the union of its OutlineParts.
Region outline(const LayoutObject& o)
{
    const Region r = ObjectRegion(o);
    const Rect b = OutlineBounds(o), inner = r.bounds();
    EXPECT_TRUE(b.left <= inner.left && b.top <= inner.top && inner.right <= b.right && inner.bottom <= b.bottom)
        << "kind " << int(o.Kind) << ": " << inner.left << "," << inner.top << "," << inner.right << "," << inner.bottom;
    Region joined;
    for (const Region& part : OutlineParts(o))
        joined = joined.united(part);
    EXPECT_DOUBLE_EQ(joined.xored(r).area(), 0) << "parts of kind " << int(o.Kind);
    return r;
}

void expectCovers(const Region& r, const std::vector<Point>& inside, const std::vector<Point>& outside)
{
    for (const Point& p : inside)
        EXPECT_TRUE(r.contains(p)) << p.x << "," << p.y;
    for (const Point& p : outside)
        EXPECT_FALSE(r.contains(p)) << p.x << "," << p.y;
}

TEST(SegmentOutline, CornersFollowTheCapsuleRule)
{
    using Corners = std::array<Point, 10>;
    const Corners eastward{{{0, 20}, {-14, 14}, {-20, 0}, {-14, -14}, {0, -20},
                            {100, -20}, {114, -14}, {120, 0}, {114, 14}, {100, 20}}};
    const std::tuple<int32_t, ObjectKind, Point, Point, Corners> cases[] = {
        {40, ObjectKind::Line, {0, 0}, {100, 0}, eastward},
        {0, ObjectKind::Line, {0, 0}, {100, 0}, eastward},  // width 0 draws half width 20
        {41, ObjectKind::Line, {0, 0}, {100, 0}, eastward}, // odd width halves toward zero
        // Zero length points up.
        {40, ObjectKind::Line, {50, 50}, {50, 50},
         {{{30, 50}, {36, 36}, {50, 30}, {64, 36}, {70, 50}, {70, 50}, {64, 64}, {50, 70}, {36, 64}, {30, 50}}}},
        {0, ObjectKind::Zone, {0, 0}, {100, 0},
         {{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {100, 0}, {100, 0}, {100, 0}, {100, 0}, {100, 0}}}},
        // atan(1/2) = 26.57 degrees -> t = 207; ox = round(20 * 50 / 111.8) = 9, oy = 18.
        {40, ObjectKind::Line, {0, 0}, {100, 50},
         {{{-9, 18}, {-19, 6}, {-18, -9}, {-6, -19}, {9, -18}, {109, 32}, {119, 44}, {118, 59}, {106, 69}, {91, 68}}}},
    };
    for (const auto& [width, kind, p1, p2, corners] : cases) {
        LayoutObject o = makeLine({0, 0}, {0, 0}, width, 1);
        o.Kind = static_cast<uint8_t>(kind);
        EXPECT_EQ(SegmentOutline(o, p1, p2), corners) << "width " << width << " to " << p2.x << "," << p2.y;
    }
}

TEST(CornerAt, LastCornerWithinTheHalfWidthSquare)
{
    const LayoutObject track = pointObject(ObjectKind::Track, 60, {{0, 0}, {100, 0}, {10, 0}});
    const LayoutObject thin = pointObject(ObjectKind::Zone, 10, {{0, 0}, {100, 0}});
    const std::tuple<const LayoutObject*, Point, int> cases[] = {
        {&track, {5, 5}, 2}, // corners 0 and 2 both hit: the last wins
        {&track, {-30, 0}, 0}, {&track, {100, -30}, 1}, {&track, {130, 0}, -1}, {&track, {100, 30}, -1},
        {&thin, {19, 0}, 0}, // half width 5 is raised to 20
    };
    for (const auto& [object, p, expected] : cases)
        EXPECT_EQ(CornerAt(*object, p), expected) << p.x << "," << p.y;
}

TEST(ObjectRegion, PadShapes)
{
    const double rounded = 400.0 * 200.0 - (4 - pi) * 75.0 * 75.0; // corner radius 0.75 r
    const double circleRim = 2 * pi * 100, corners = 2 * pi * 75, holeRim = 2 * pi * 40;
    // shape, area, length of the curved outline (allowing half a unit of chord error along it), inside, outside
    const std::tuple<uint8_t, double, double, std::vector<Point>, std::vector<Point>> cases[] = {
        {1, pi * 100 * 100, circleRim, {{99, 0}, {70, 70}, {0, -99}}, {{72, 71}, {101, 0}}},
        // The octagon is tested as its circle: (95, 35) lies inside the drawn octagon only.
        {2, pi * 100 * 100, circleRim, {{0, 0}, {70, 70}}, {{95, 35}, {72, 71}}},
        {3, 40000, 0, {{99, 99}, {-100, -100}}, {{101, 0}, {0, 101}}},
        {4, rounded, corners, {{199, 0}, {150, 90}, {125, 99}}, {{199, 99}, {201, 0}, {0, 101}}},
        {6, 80000, 0, {{199, 99}, {-199, -99}}, {{201, 0}, {0, 101}}},
        {7, rounded, corners, {{0, 199}, {90, 150}}, {{99, 199}, {0, 201}, {101, 0}}},
        // Unknown shapes draw only their hole (radius 40).
        {0, pi * 40 * 40, holeRim, {{0, 0}, {39, 0}}, {{41, 0}}},
    };
    for (const auto& [shape, area, curvedEdge, inside, outside] : cases) {
        SCOPED_TRACE(static_cast<int>(shape));
        const Region r = outline(makePad({0, 0}, 100, shape, 1, 40));
        EXPECT_LE(r.area(), area + 1);
        EXPECT_NEAR(r.area(), area, curvedEdge * 0.5);
        expectCovers(r, inside, outside);
    }
    EXPECT_TRUE(ObjectRegion(makePad({0, 0}, 0, 1, 1, 0)).empty());
}

TEST(ObjectRegion, OtherKinds)
{
    const std::tuple<const char*, LayoutObject, std::vector<Point>, std::vector<Point>> cases[] = {
        {"line capsule", makeLine({0, 0}, {100, 0}, 40, 1), {{50, 19}, {-19, 0}, {119, 0}}, {{50, 21}, {121, 0}}},
        // The closing edge (0,100)-(0,0) is stroked like the others.
        {"zone fill", pointObject(ObjectKind::Zone, 20, {{0, 0}, {100, 0}, {100, 100}, {0, 100}}), {{50, 50}, {-9, 50}},
         {{-11, 50}, {111, 111}}},
        // Winding twice round its centre, which is left out as the zone is
        // drawn and written (even-odd): copper there would join what the
        // board does not.
        {"pentagram zone", pointObject(ObjectKind::Zone, 0, {{0, 100}, {59, -81}, {-95, 31}, {95, 31}, {-59, -81}}),
         {{0, 90}, {50, 20}}, {{0, 0}, {90, 90}}},
        // Text box given corner first, far corner second.
        {"text box", makeText({100, -50}, "R1", 0, 50, 0, 0, 2), {{1, -1}, {99, -49}}, {{101, -25}, {50, 1}}},
        {"ring", circle(100, 80, 0, 0, false), {{90, 0}, {-63, 63}}, {{50, 0}, {101, 0}}},
        {"inner radius >= outer: 10-unit ring", circle(100, 100, 0, 0, false), {{105, 0}}, {{95, 0}, {111, 0}}},
        // Round ends of radius 10 at both arc ends.
        {"0 to 90", circle(100, 80, 0, 90, false), {{64, 64}, {90, -9}, {-9, 90}}, {{-64, 64}, {64, -64}, {90, -11}}},
        {"arc across 0 degrees", circle(100, 80, 350, 10, false), {{90, 0}}, {{0, 90}, {-90, 0}}},
        // An arc is cut along the rays through its ends: nothing of the ring
        // stays in the gap of a long arc, nothing of its inside is lost in the
        // middle of a short one.
        {"gap of a long arc", circle(800, 750, 10, 350, false), {{-755, 0}, {0, 755}}, {{755, 0}, {795, 0}}},
        {"inside of a short arc", circle(800, 750, 0, 20, false), {{744, 131}, {783, 138}}, {{0, 755}}},
        // Angles one turn apart, as a file may hold them, are the whole ring or disc.
        {"0 to 360", circle(100, 80, 0, 360, false), {{-63, 63}, {0, -90}}, {{50, 0}}},
        {"370 to 10", circle(100, 80, 370, 10, false), {{-63, 63}, {0, 90}}, {{0, 0}}},
        {"filled, 0 to 360", circle(100, 0, 0, 360, true), {{0, 0}, {-60, -60}}, {{101, 0}}},
        {"filled disc", circle(100, 80, 0, 0, true), {{0, 0}, {99, 0}}, {{101, 0}}},
        {"filled sector", circle(100, 0, 0, 90, true), {{60, 60}, {10, 10}}, {{-60, 60}, {60, -60}}},
    };
    for (const auto& [name, object, inside, outside] : cases) {
        SCOPED_TRACE(name);
        expectCovers(outline(object), inside, outside);
    }
    EXPECT_TRUE(ObjectRegion(makeText({10, 10}, "", 0, 50, 10, 50, 2)).empty());
    EXPECT_TRUE(ObjectRegion(pointObject(ObjectKind::Track, 40, {{5, 5}})).empty());
    EXPECT_TRUE(ObjectRegion(pointObject(ObjectKind::Zone, 0, {{0, 0}, {100, 0}})).empty());
}

TEST(Region, OverlapNeedsPositiveArea)
{
    const Region square = Region::rectangle({0, 0, 100, 100});
    const Region ring = ObjectRegion(circle(100, 80, 0, 0, false));
    // The disc edge from (-27,-15) to (-12,-17) dips below y = -15 inside the box: a sliver thinner than a unit.
    const Region disc = Region::disc({-12, 40}, 57), discRing = disc.subtracted(Region::disc({-12, 40}, 20));
    const Region sliverBox = Region::rectangle({-38, -45, -26, -15});
    const std::tuple<const char*, const Region&, Region, bool> cases[] = {
        {"edge to edge", square, Region::rectangle({100, 0, 200, 100}), false},
        {"one unit deep", square, Region::rectangle({99, 0, 200, 100}), true},
        {"disc tangent to the edge", square, Region::disc({200, 50}, 100), false},
        {"pad in the hole of a ring", ring, ObjectRegion(makePad({0, 0}, 50, 1, 1, 20)), false},
        {"convex sliver", disc, sliverBox, true},
        {"sliver of a region that is not convex", discRing, sliverBox, true},
        {"box short of the sliver", discRing, Region::rectangle({-38, -45, -27, -15}), false},
    };
    for (const auto& [name, a, b, overlaps] : cases) {
        EXPECT_EQ(a.overlaps(b), overlaps) << name;
        EXPECT_EQ(b.overlaps(a), overlaps) << name;
    }
}

// The parts that hang together, with the areas they cover.
TEST(Region, PiecesHangTogether)
{
    const Region board = Region::rectangle({0, 0, 300, 100});
    const Region ringWithIsland =
        Region::disc({0, 0}, 100).subtracted(Region::disc({0, 0}, 60)).united(Region::disc({0, 0}, 30));
    const std::tuple<const char*, Region, size_t> cases[] = {
        {"nothing", Region(), 0},
        {"one box", board, 1},
        {"a strip across cuts it in two", board.subtracted(Region::rectangle({100, -10, 120, 110})), 2},
        {"a strip short of the edge does not", board.subtracted(Region::rectangle({100, 5, 120, 110})), 1},
        {"a disc in a ring's hole is a piece of its own", ringWithIsland, 2},
        {"a hole stays with its ring", Region::disc({0, 0}, 100).subtracted(Region::disc({0, 0}, 60)), 1},
    };
    for (const auto& [name, region, count] : cases) {
        const std::vector<Region> pieces = region.pieces();
        EXPECT_EQ(pieces.size(), count) << name;
        double area = 0;
        for (const Region& piece : pieces) {
            area += piece.area();
            for (const Region& other : pieces)
                EXPECT_TRUE(&piece == &other || !piece.overlaps(other)) << name;
        }
        EXPECT_NEAR(area, region.area(), 1e-6) << name;
    }
}

TEST(Region, ConvexShortcutAgreesWithClipping)
{
    // Capsules, discs and boxes near one another, often just touching: the
    // separating-edge test on convex parts must agree with clipping, which a
    // far-off second polygon forces.
    const Region farOff = Region::rectangle({1000, 1000, 1010, 1010});
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto shape = [&]() {
        const Point c{pick(-60, 60), pick(-60, 60)};
        const int kind = pick(0, 2);
        if (kind == 0)
            return ObjectRegion(makeLine(c, {c.x + pick(-80, 80), c.y + pick(-80, 80)}, 2 * pick(1, 30), 1));
        return kind == 1 ? Region::disc(c, pick(1, 60))
                         : Region::rectangle({c.x, c.y, c.x + pick(1, 50), c.y + pick(1, 50)});
    };
    int convexPairs = 0, overlapping = 0;
    for (int k = 0; k < 4000; ++k) {
        const Region a = shape(), b = shape();
        if (!a.convex() || !b.convex())
            continue;
        ++convexPairs;
        const bool clipped = a.overlaps(b.united(farOff));
        overlapping += clipped;
        ASSERT_EQ(a.overlaps(b), clipped) << "pair " << k;
    }
    EXPECT_GT(convexPairs, 3000);
    EXPECT_GT(overlapping, 500);
    EXPECT_LT(overlapping, convexPairs - 500);
}

TEST(OutlineBounds, HoldsTheRegionEvenForOddValues)
{
    for (const LayoutObject& o : {makePad({0, 0}, 50, 12, 1, 300), // hole larger than the pad
                                  pointObject(ObjectKind::Track, -80, {{0, 0}, {500, 300}}),
                                  circle(100, 150, 0, 0, false), // inner radius past the outer
                                  circle(100, 80, std::numeric_limits<int32_t>::max(), 5, false),
                                  makeText({0, 0}, "X", 0, 50, -200, -80, 1)})
        EXPECT_FALSE(outline(o).empty());
}

} // namespace
} // namespace kestrel
