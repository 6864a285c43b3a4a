#include "view/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

using namespace kestrel;

namespace {

LayoutObject lineOfWidth(int32_t width, ObjectKind kind = ObjectKind::Line)
{
    LayoutObject o = makeLine({0, 0}, {0, 0}, width, 1);
    o.Kind = static_cast<uint8_t>(kind);
    return o;
}

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

} // namespace

struct OutlineCase {
    const char* name;
    LayoutObject object;
    Point p1, p2;
    std::array<Point, 10> corners;
};

TEST(SegmentOutline, CornersFollowTheCapsuleRule)
{
    const OutlineCase cases[] = {
        {"horizontal, left to right", lineOfWidth(40), {0, 0}, {100, 0},
         {{{0, 20}, {-14, 14}, {-20, 0}, {-14, -14}, {0, -20}, {100, -20}, {114, -14}, {120, 0}, {114, 14}, {100, 20}}}},
        {"horizontal, right to left", lineOfWidth(40), {100, 0}, {0, 0},
         {{{100, -20}, {114, -14}, {120, 0}, {114, 14}, {100, 20}, {0, 20}, {-14, 14}, {-20, 0}, {-14, -14}, {0, -20}}}},
        {"vertical, upwards", lineOfWidth(40), {0, 0}, {0, 100},
         {{{-20, 0}, {-14, -14}, {0, -20}, {14, -14}, {20, 0}, {20, 100}, {14, 114}, {0, 120}, {-14, 114}, {-20, 100}}}},
        {"diagonal", lineOfWidth(40), {0, 0}, {100, 100},
         {{{-14, 14}, {-20, 0}, {-14, -14}, {0, -20}, {14, -14}, {114, 86}, {120, 100}, {114, 114}, {100, 120}, {86, 114}}}},
        {"zero length is treated as pointing up", lineOfWidth(40), {50, 50}, {50, 50},
         {{{30, 50}, {36, 36}, {50, 30}, {64, 36}, {70, 50}, {70, 50}, {64, 64}, {50, 70}, {36, 64}, {30, 50}}}},
        {"width 0 gives half width 20", lineOfWidth(0), {0, 0}, {100, 0},
         {{{0, 20}, {-14, 14}, {-20, 0}, {-14, -14}, {0, -20}, {100, -20}, {114, -14}, {120, 0}, {114, 14}, {100, 20}}}},
        {"odd width is halved toward zero", lineOfWidth(41), {0, 0}, {100, 0},
         {{{0, 20}, {-14, 14}, {-20, 0}, {-14, -14}, {0, -20}, {100, -20}, {114, -14}, {120, 0}, {114, 14}, {100, 20}}}},
        {"zone of width 0 keeps half width 0", lineOfWidth(0, ObjectKind::Zone), {0, 0}, {100, 0},
         {{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {100, 0}, {100, 0}, {100, 0}, {100, 0}, {100, 0}}}},
        // atan(1/2) = 26.57 degrees -> t = 207; ox = round(20 * 50 / 111.8) = 9, oy = 18.
        {"shallow slope uses the rounded direction", lineOfWidth(40), {0, 0}, {100, 50},
         {{{-9, 18}, {-19, 6}, {-18, -9}, {-6, -19}, {9, -18}, {109, 32}, {119, 44}, {118, 59}, {106, 69}, {91, 68}}}},
    };
    for (const OutlineCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto got = SegmentOutline(c.object, c.p1, c.p2);
        for (size_t k = 0; k < 10; ++k) {
            EXPECT_EQ(got[k].x, c.corners[k].x) << "corner " << k;
            EXPECT_EQ(got[k].y, c.corners[k].y) << "corner " << k;
        }
    }
}

TEST(ArcPoint, WholeDegreesCounterClockwiseOnTheOuterRadius)
{
    const LayoutObject c = makeCircle({10, 20}, 100, 1, 1, 50);
    const std::pair<int32_t, Point> cases[] = {
        {0, {110, 20}}, {45, {81, 91}}, {90, {10, 120}}, {180, {-90, 20}}, {270, {10, -80}}, {-90, {10, -80}}, {405, {81, 91}},
    };
    for (const auto& [angle, expected] : cases) {
        const Point p = ArcPoint(c, angle);
        EXPECT_EQ(p.x, expected.x) << angle;
        EXPECT_EQ(p.y, expected.y) << angle;
    }
}

TEST(CornerAt, LastCornerWithinTheHalfWidthSquare)
{
    const LayoutObject track = pointObject(ObjectKind::Track, 60, {{0, 0}, {100, 0}, {10, 0}});
    const LayoutObject thin = pointObject(ObjectKind::Zone, 10, {{0, 0}, {100, 0}});
    const LayoutObject pad = makePad({0, 0}, 100, 1, 1, 30);
    struct Case {
        const LayoutObject* object;
        Point p;
        int expected;
    } const cases[] = {
        {&track, {5, 5}, 2},     // corners 0 and 2 both hit: the last wins
        {&track, {-30, 0}, 0},   // left edge is inside
        {&track, {70, 0}, 1},
        {&track, {130, 0}, -1},  // right edge is outside
        {&track, {100, 30}, -1}, // so is the top edge
        {&track, {100, -30}, 1},
        {&thin, {19, 0}, 0},     // half width 5 is raised to 20
        {&thin, {0, -21}, -1},
        {&pad, {0, 0}, -1},      // only tracks and zones have corners
    };
    for (const Case& c : cases)
        EXPECT_EQ(CornerAt(*c.object, c.p), c.expected) << c.p.x << "," << c.p.y;
}

struct PadCase {
    uint8_t shape;
    double area;
    double curvedEdge; // length of the curved outline: allows half a unit of chord error along it
    std::vector<Point> inside;
    std::vector<Point> outside;
};

TEST(ObjectRegion, PadShapes)
{
    const double pi = std::numbers::pi;
    const double rounded = 400.0 * 200.0 - (4 - pi) * 75.0 * 75.0; // corner radius 0.75 r
    const double circle = 2 * pi * 100, corners = 2 * pi * 75, hole = 2 * pi * 40;
    const PadCase cases[] = {
        {1, pi * 100 * 100, circle, {{0, 0}, {99, 0}, {70, 70}, {0, -99}}, {{72, 71}, {101, 0}}},
        // The octagon is tested as its circle: (95, 35) lies inside the drawn octagon only.
        {2, pi * 100 * 100, circle, {{0, 0}, {70, 70}}, {{95, 35}, {72, 71}}},
        {3, 40000, 0, {{99, 99}, {-100, -100}}, {{101, 0}, {0, 101}}},
        {4, rounded, corners, {{199, 0}, {150, 90}, {125, 99}}, {{199, 99}, {201, 0}, {0, 101}}},
        {5, rounded, corners, {{199, 0}, {150, 90}}, {{199, 99}, {95, 35 + 100}}},
        {6, 80000, 0, {{199, 99}, {-199, -99}}, {{201, 0}, {0, 101}}},
        {7, rounded, corners, {{0, 199}, {90, 150}}, {{99, 199}, {0, 201}, {101, 0}}},
        {8, rounded, corners, {{0, -199}, {-90, -150}}, {{-99, -199}}},
        {9, 80000, 0, {{99, 199}, {-99, -199}}, {{101, 0}, {0, 201}}},
        // Unknown shapes draw only their hole (radius 40).
        {0, pi * 40 * 40, hole, {{0, 0}, {39, 0}}, {{41, 0}, {99, 0}}},
        {10, pi * 40 * 40, hole, {{0, 0}}, {{60, 0}}},
    };
    for (const PadCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.shape));
        const Region r = ObjectRegion(makePad({0, 0}, 100, c.shape, 1, 40));
        EXPECT_LE(r.area(), c.area + 1);
        EXPECT_NEAR(r.area(), c.area, c.curvedEdge * 0.5);
        for (const Point& p : c.inside)
            EXPECT_TRUE(r.contains(p)) << p.x << "," << p.y;
        for (const Point& p : c.outside)
            EXPECT_FALSE(r.contains(p)) << p.x << "," << p.y;
    }
    // The extents are exact, as the bounding rectangle without clearance.
    EXPECT_EQ(ObjectRegion(makePad({0, 0}, 100, 1, 1, 40)).bounds(), (Rect{-100, -100, 100, 100}));
    EXPECT_EQ(ObjectRegion(makePad({0, 0}, 100, 4, 1, 40)).bounds(), (Rect{-200, -100, 200, 100}));
    EXPECT_EQ(ObjectRegion(makePad({0, 0}, 100, 8, 1, 40)).bounds(), (Rect{-100, -200, 100, 200}));
    EXPECT_TRUE(ObjectRegion(makePad({0, 0}, 0, 1, 1, 0)).empty());
}

TEST(ObjectRegion, DiscErrorStaysUnderHalfAUnit)
{
    for (int32_t radius : {3, 20, 100, 1000, 5000}) {
        const Region d = Region::disc({0, 0}, radius);
        const double exact = std::numbers::pi * radius * radius;
        // An inscribed polygon loses at most the half-unit band along the rim.
        EXPECT_LT(exact - d.area(), 2 * std::numbers::pi * radius * 0.5 + 4) << radius;
        EXPECT_GT(exact - d.area(), -4) << radius;
        EXPECT_EQ(d.bounds(), (Rect{-radius, -radius, radius, radius}));
    }
}

struct ShapeCase {
    const char* name;
    LayoutObject object;
    std::vector<Point> inside;
    std::vector<Point> outside;
};

TEST(ObjectRegion, LinesTracksZonesAndTexts)
{
    LayoutObject text = makeText({100, -50}, "R1", 0, 50, 0, 0, 2); // box given corner first, far corner second
    LayoutObject emptyText = makeText({10, 10}, "", 0, 50, 10, 50, 2);
    const ShapeCase cases[] = {
        {"line capsule", makeLine({0, 0}, {100, 0}, 40, 1), {{50, 19}, {-19, 0}, {119, 0}}, {{50, 21}, {-21, 0}, {121, 0}}},
        {"track corners", pointObject(ObjectKind::Track, 40, {{0, 0}, {100, 0}, {100, 100}}),
         {{50, 19}, {119, 50}, {100, 119}}, {{50, 21}, {50, 50}, {121, 50}}},
        // The closing edge (0,100)-(0,0) is stroked like the others.
        {"zone fill through the corners",
         pointObject(ObjectKind::Zone, 20, {{0, 0}, {100, 0}, {100, 100}, {0, 100}}), {{50, 50}, {-9, 50}},
         {{-11, 50}, {111, 111}}},
        {"clockwise zone fills the same way",
         pointObject(ObjectKind::Zone, 40, {{0, 0}, {0, 100}, {100, 100}, {100, 0}}), {{50, 50}, {1, 1}, {-19, 50}},
         {{-21, 50}}},
        {"two-corner zone has no fill", pointObject(ObjectKind::Zone, 20, {{0, 0}, {100, 0}}), {{50, 9}}, {{50, 11}}},
        {"text box", text, {{1, -1}, {99, -49}}, {{101, -25}, {50, 1}}},
    };
    for (const ShapeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Region r = ObjectRegion(c.object);
        for (const Point& p : c.inside)
            EXPECT_TRUE(r.contains(p)) << p.x << "," << p.y;
        for (const Point& p : c.outside)
            EXPECT_FALSE(r.contains(p)) << p.x << "," << p.y;
    }
    EXPECT_DOUBLE_EQ(ObjectRegion(pointObject(ObjectKind::Zone, 0, {{0, 0}, {100, 0}, {100, 100}, {0, 100}})).area(),
                     10000.0);
    EXPECT_DOUBLE_EQ(ObjectRegion(text).area(), 5000.0);
    EXPECT_TRUE(ObjectRegion(emptyText).empty());
    EXPECT_TRUE(ObjectRegion(pointObject(ObjectKind::Track, 40, {{5, 5}})).empty());
    EXPECT_TRUE(ObjectRegion(pointObject(ObjectKind::Zone, 0, {{0, 0}, {100, 0}})).empty());
}

TEST(ObjectRegion, CirclesRingsArcsAndSectors)
{
    const double pi = std::numbers::pi;
    const ShapeCase cases[] = {
        {"ring", circle(100, 80, 0, 0, false), {{90, 0}, {0, -90}, {-63, 63}}, {{0, 0}, {50, 0}, {101, 0}}},
        {"ring with inner radius not below the outer keeps 10 units", circle(100, 100, 0, 0, false), {{105, 0}},
         {{95, 0}, {111, 0}}},
        {"filled disc", circle(100, 80, 0, 0, true), {{0, 0}, {99, 0}}, {{101, 0}}},
        {"quarter arc from +x to +y", circle(100, 80, 0, 90, false), {{64, 64}, {90, -9}, {-9, 90}},
         {{-64, 64}, {64, -64}, {-64, -64}, {90, -11}, {0, 0}}},
        {"90 to 0 is the other three quarters", circle(100, 80, 90, 0, false), {{-64, 64}, {-64, -64}, {64, -64}},
         {{64, 64}, {0, 0}}},
        {"arc across 0 degrees", circle(100, 80, 350, 10, false), {{90, 0}}, {{0, 90}, {-90, 0}}},
        {"arc of exactly 180 degrees", circle(100, 80, 0, 180, false), {{0, 90}}, {{0, -90}}},
        {"filled sector", circle(100, 0, 0, 90, true), {{60, 60}, {10, 10}}, {{-60, 60}, {60, -60}}},
    };
    for (const ShapeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Region r = ObjectRegion(c.object);
        for (const Point& p : c.inside)
            EXPECT_TRUE(r.contains(p)) << p.x << "," << p.y;
        for (const Point& p : c.outside)
            EXPECT_FALSE(r.contains(p)) << p.x << "," << p.y;
    }
    const double ring = pi * (100 * 100 - 80 * 80);
    EXPECT_NEAR(ObjectRegion(circle(100, 80, 0, 0, false)).area(), ring, 0.5 * 2 * pi * (100 + 80));
    // A quarter of the ring plus two half end caps of radius 10.
    const double quarter = ring / 4 + pi * 10 * 10;
    EXPECT_NEAR(ObjectRegion(circle(100, 80, 0, 90, false)).area(), quarter, 0.5 * (pi * (100 + 80) / 2 + 2 * pi * 10));
}

TEST(Region, OverlapNeedsPositiveArea)
{
    const Region square = Region::rectangle({0, 0, 100, 100});
    struct Case {
        const char* name;
        Region other;
        bool overlaps;
    } const cases[] = {
        {"edge to edge", Region::rectangle({100, 0, 200, 100}), false},
        {"corner to corner", Region::rectangle({100, 100, 200, 200}), false},
        {"one unit deep", Region::rectangle({99, 0, 200, 100}), true},
        {"one unit cell at the corner", Region::rectangle({99, 99, 200, 200}), true},
        {"inside", Region::rectangle({10, 10, 20, 20}), true},
        {"disc tangent to the edge", Region::disc({200, 50}, 100), false},
        {"disc one unit in", Region::disc({199, 50}, 100), true},
        {"empty", Region(), false},
        {"degenerate rectangle", Region::rectangle({50, 0, 50, 100}), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(square.overlaps(c.other), c.overlaps) << c.name;
        EXPECT_EQ(c.other.overlaps(square), c.overlaps) << c.name;
    }

    // Tracks whose capsules share a single unit of depth are joined.
    const Region a = ObjectRegion(pointObject(ObjectKind::Track, 40, {{0, 0}, {100, 0}}));
    EXPECT_TRUE(a.overlaps(ObjectRegion(pointObject(ObjectKind::Track, 40, {{0, 39}, {100, 39}}))));
    EXPECT_FALSE(a.overlaps(ObjectRegion(pointObject(ObjectKind::Track, 40, {{0, 40}, {100, 40}}))));

    // Something in the hole of a ring does not touch it.
    const Region ring = ObjectRegion(circle(100, 80, 0, 0, false));
    EXPECT_FALSE(ring.overlaps(ObjectRegion(makePad({0, 0}, 50, 1, 1, 20))));
    EXPECT_TRUE(ring.overlaps(ObjectRegion(makePad({0, 0}, 85, 1, 1, 20))));
}

TEST(Region, CombinationsAndSelfCrossingPolygons)
{
    const Region a = Region::rectangle({0, 0, 100, 100});
    const Region b = Region::rectangle({50, 0, 150, 100});
    EXPECT_DOUBLE_EQ(a.united(b).area(), 15000);
    EXPECT_DOUBLE_EQ(a.intersected(b).area(), 5000);
    EXPECT_DOUBLE_EQ(a.subtracted(b).area(), 5000);
    EXPECT_DOUBLE_EQ(a.xored(b).area(), 10000);
    EXPECT_EQ(a.united(b).bounds(), (Rect{0, 0, 150, 100}));

    // A polygon winding twice round its centre stays filled there (non-zero rule).
    const Polygon star = {{0, 100}, {59, -81}, {-95, 31}, {95, 31}, {-59, -81}};
    const Region s = Region::fromPolygon(star);
    EXPECT_TRUE(s.contains({0, 0}));
    EXPECT_TRUE(s.contains({0, 90}));
    EXPECT_FALSE(s.contains({90, 90}));
    // A hole punched into a square leaves the middle outside.
    const Region framed = Region::rectangle({0, 0, 100, 100}).subtracted(Region::rectangle({25, 25, 75, 75}));
    EXPECT_FALSE(framed.contains({50, 50}));
    EXPECT_TRUE(framed.contains({10, 50}));
    EXPECT_DOUBLE_EQ(framed.area(), 7500);
}

TEST(OutlineBounds, HoldsTheRegionEvenForOddValues)
{
    LayoutObject bigHole = makePad({0, 0}, 50, 12, 1, 300);
    LayoutObject negativeWidth = pointObject(ObjectKind::Track, -80, {{0, 0}, {500, 300}});
    LayoutObject wideRing = circle(100, 150, 0, 0, false); // inner disc widened past the outer one
    LayoutObject oddArc = circle(101, 20, 30, 300, false);
    LayoutObject zone = pointObject(ObjectKind::Zone, 0, {{0, 0}, {500, 0}, {250, 400}});
    LayoutObject extremeAngle = circle(100, 80, std::numeric_limits<int32_t>::max(), 5, false);
    const LayoutObject objects[] = {
        bigHole,  negativeWidth, wideRing, oddArc, zone, extremeAngle, makePad({10, 10}, 100, 5, 1, 30), makePad({0, 0}, 77, 8, 1, 30),
        makeLine({0, 0}, {-300, 70}, 0, 1), makeText({0, 0}, "X", 0, 50, -200, -80, 1),
    };
    for (const LayoutObject& o : objects) {
        const Region r = ObjectRegion(o);
        ASSERT_FALSE(r.empty()) << int(o.Kind);
        const Rect b = OutlineBounds(o), inner = r.bounds();
        EXPECT_TRUE(b.left <= inner.left && b.top <= inner.top && inner.right <= b.right && inner.bottom <= b.bottom)
            << int(o.Kind) << ": " << inner.left << "," << inner.top << "," << inner.right << "," << inner.bottom;
    }
}

TEST(Region, ConvexShortcutAgreesWithClipping)
{
    // Capsules, discs and boxes near one another, often just touching: the
    // separating-edge test on convex parts must agree with clipping, done
    // here on a grid 64 times finer so that slivers between whole-unit
    // corners keep their area.
    auto finer = [](const Region& r) {
        std::vector<Polygon> scaled = r.polygons();
        for (Polygon& polygon : scaled)
            for (Point& p : polygon)
                p = {p.x * 64, p.y * 64};
        return Region::fromPolygons(scaled);
    };
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto shape = [&]() {
        const Point c{pick(-60, 60), pick(-60, 60)};
        switch (pick(0, 2)) {
        case 0:
            return ObjectRegion(makeLine(c, {c.x + pick(-80, 80), c.y + pick(-80, 80)}, 2 * pick(1, 30), 1));
        case 1:
            return Region::disc(c, pick(1, 60));
        default:
            return Region::rectangle({c.x, c.y, c.x + pick(1, 50), c.y + pick(1, 50)});
        }
    };
    int convexPairs = 0, overlapping = 0;
    for (int k = 0; k < 4000; ++k) {
        const Region a = shape(), b = shape();
        if (!a.convex() || !b.convex())
            continue;
        ++convexPairs;
        const bool clipped = finer(a).intersected(finer(b)).area() > 0;
        overlapping += clipped;
        ASSERT_EQ(a.overlaps(b), clipped) << "pair " << k;
    }
    EXPECT_GT(convexPairs, 3000);
    EXPECT_GT(overlapping, 500);
    EXPECT_LT(overlapping, convexPairs - 500);
}

TEST(Region, SliverThinnerThanAUnitStillOverlaps)
{
    // The disc edge from (-27,-15) to (-12,-17) dips below y = -15 inside the box.
    const Region disc = Region::disc({-12, 40}, 57);
    const Region box = Region::rectangle({-38, -45, -26, -15});
    EXPECT_TRUE(disc.overlaps(box));
    const Region ring = disc.subtracted(Region::disc({-12, 40}, 20)); // not convex: clipped on the fine grid
    ASSERT_FALSE(ring.convex());
    EXPECT_TRUE(ring.overlaps(box));
    EXPECT_FALSE(ring.overlaps(Region::rectangle({-38, -45, -27, -15})));
}

TEST(OutlineParts, UnionIsTheObjectRegion)
{
    LayoutObject zone = pointObject(ObjectKind::Zone, 30, {{0, 0}, {400, 0}, {0, 300}, {400, 300}}); // crosses itself
    LayoutObject track = pointObject(ObjectKind::Track, 50, {{0, 0}, {300, 0}, {300, 300}, {0, 0}});
    EXPECT_EQ(OutlineParts(zone).size(), 5u); // three edges, the closing edge and the fill
    EXPECT_EQ(OutlineParts(track).size(), 3u);
    EXPECT_TRUE(OutlineParts(pointObject(ObjectKind::Zone, 0, {{0, 0}, {100, 0}})).empty());
    for (const LayoutObject* o : {&zone, &track}) {
        Region joined;
        for (const Region& part : OutlineParts(*o))
            joined = joined.united(part);
        EXPECT_DOUBLE_EQ(joined.area(), ObjectRegion(*o).area());
        EXPECT_DOUBLE_EQ(joined.xored(ObjectRegion(*o)).area(), 0);
    }
}
