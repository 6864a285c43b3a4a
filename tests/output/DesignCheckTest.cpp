#include "output/CopperShapes.h"
#include "output/DesignCheck.h"

#include "OutputTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <tuple>

using namespace kestrel;
using namespace kestrel::test;
using V = ViolationKind;

namespace {

// Tracks A and B on K1, 0.20 mm wide, their edges `gap` units apart over
// x 1000..2000.
void twoTracks(ObjectList& l, int32_t gap)
{
    addTrack(l, {{1000, -1000}, {2200, -1000}}, 20);
    addTrack(l, {{900, -1100}, {900, -1000 - 20 - gap}, {2000, -1000 - 20 - gap}}, 20);
}

// B's far ends reach vias; the other side's copper may join them.
void viaEnds(ObjectList& l, bool joinedOnSide2)
{
    addVia(l, {2200, -1000}, 45, 15);
    addVia(l, {900, -1100}, 45, 15);
    if (joinedOnSide2)
        addTrack(l, {{2200, -1000}, {2200, -1300}, {900, -1300}, {900, -1100}}, 20, Layer::K2);
}

// A filled half disc on K1 over y > -1500 with a 2 mm pen, and a track
// 0.20 mm wide below its chord, their copper `gap` units apart: the files
// stroke the chord with the arc's pen.
void trackBelowAFilledArc(ObjectList& l, int32_t gap)
{
    LayoutObject& arc = l.append(makeCircle({2000, -1500}, 600, 1, Layer::K1, 400));
    arc.Filled = 1;
    arc.setArcStartDegrees(0), arc.setArcStopDegrees(180);
    addTrack(l, {{1700, -1500 - 100 - 10 - gap}, {2300, -1500 - 100 - 10 - gap}}, 20);
}

// A filled sector on K1 from 0 degrees to `stop` with a ring's pen, a pad inside it joined to nothing else and a pad 0.05 mm
// above it, both at clearance 0: the plane keeps out of the fill, so the
// pad inside does not join the circle to the plane's net.
void padsAtAFilledCircle(ObjectList& l, int32_t stop)
{
    LayoutObject& circle = l.append(makeCircle({2000, -1500}, 800, 1, Layer::K1, 600));
    circle.Filled = 1;
    circle.setArcStartDegrees(0), circle.setArcStopDegrees(stop);
    circle.Clearance = 50;
    addPad(l, {2000, -1300}, 60, 1, Layer::K1, 15).Clearance = 0;
    addPad(l, {2000, -635}, 60, 1, Layer::K1, 15).Clearance = 0;
}

LayoutObject& squarePad(ObjectList& l, Point at, int32_t radius = 45, int32_t hole = 15)
{
    return addPad(l, at, radius, 3, Layer::K1, hole);
}

// A track on side 1 with its own clearance.
std::function<void(ObjectList&)> clearedTrack(int32_t clearance)
{
    return [clearance](ObjectList& l) { addTrack(l, {{1000, -1000}, {2000, -1000}}, 20).Clearance = clearance; };
}

// Two tracks 0.10 mm apart with these clearances.
void planeTracks(ObjectList& l, int32_t clearanceA, int32_t clearanceB)
{
    twoTracks(l, 10);
    l[0].Clearance = clearanceA;
    l[1].Clearance = clearanceB;
}

} // namespace

// Every rule just inside and just outside its limit (defaults: clearance and
// width 0.15 mm, hole 0.3 mm, ring 0.15 mm), and how nets are joined. A ground
// plane keeps each object's own clearance free around it, and a hole drilled
// through the plane's layer needs copper of its own there.
TEST(DesignCheck, RulesAtTheirLimits)
{
    const struct {
        const char* why;
        std::function<void(ObjectList&)> build;
        std::vector<V> expected;
        double firstMeasured = NAN;
        int planeSide = 0; // 0 for none
    } rows[] = {
        {"different nets exactly 0.15 mm apart", [](ObjectList& l) { twoTracks(l, 15); }, {}},
        {"different nets 0.14 mm apart", [](ObjectList& l) { twoTracks(l, 14); }, {V::Clearance}, 14},
        {"one net through two vias and copper of side 2", [](ObjectList& l) {
             twoTracks(l, 14);
             viaEnds(l, true);
         }, {}},
        {"vias without the copper of side 2 join nothing", [](ObjectList& l) {
             twoTracks(l, 14);
             viaEnds(l, false);
         }, {V::Clearance}},
        {"a zone over both tracks joins them", [](ObjectList& l) {
             twoTracks(l, 14);
             l.append(makeZone(10, Layer::K1)).Points = {{1400, -1050}, {1600, -1050}, {1600, -980}, {1400, -980}};
         }, {}},
        {"a label's box across both tracks joins nothing: its glyphs may not", [](ObjectList& l) {
             twoTracks(l, 5);
             l.append(makeText({1400, -980}, "-", 0, 100, 1500, -1060, Layer::K1));
         }, {V::Clearance, V::Clearance, V::Clearance}, 5},
        // Gaps are measured on the copper as the files draw it, round shapes as true circles.
        {"diagonal tracks 0.1455 mm apart", [](ObjectList& l) {
             addTrack(l, {{1000, -1000}, {2000, -2000}}, 30);
             addTrack(l, {{1063, -1000}, {2063, -2000}}, 30);
         }, {V::Clearance}, 63 / std::sqrt(2.0) - 30},
        {"a track over an octagon's corner, beyond the disc the nets take", [](ObjectList& l) {
             addPad(l, {2000, -1500}, 100, 2, Layer::K1, 15); // corner at (2100, -1458)
             addTrack(l, {{2105, -1450}, {2300, -1250}}, 20);
         }, {V::Clearance}, 0},
        {"a track 0.15 mm from a filled arc's chord", [](ObjectList& l) { trackBelowAFilledArc(l, 15); }, {}},
        {"0.14 mm from it", [](ObjectList& l) { trackBelowAFilledArc(l, 14); }, {V::Clearance}, 14},
        {"track 0.15 mm wide", [](ObjectList& l) { addTrack(l, {{1000, -1000}, {2000, -1000}}, 15); }, {}},
        {"track 0.14 mm wide", [](ObjectList& l) { addTrack(l, {{1000, -1000}, {2000, -1000}}, 14); }, {V::Width}, 14},
        {"a ring 0.14 mm wide", [](ObjectList& l) { l.append(makeCircle({2000, -1500}, 300, 1, Layer::K1, 286)); },
         {V::Width}, 14},
        {"filled, it has no narrow part", [](ObjectList& l) {
             l.append(makeCircle({2000, -1500}, 300, 1, Layer::K1, 286)).Filled = 1;
         }, {}},
        {"hole 0.28 mm", [](ObjectList& l) { squarePad(l, {2000, -1500}, 45, 14); }, {V::Hole}, 28},
        {"ring 0.15 mm", [](ObjectList& l) { squarePad(l, {2000, -1500}, 30, 15); }, {}},
        {"ring 0.14 mm", [](ObjectList& l) { squarePad(l, {2000, -1500}, 29, 15); }, {V::Ring}, 14},
        {"a bare hole has no ring, nor copper to come close to", [](ObjectList& l) {
             squarePad(l, {2000, -1500}, 20, 20);
             addTrack(l, {{1900, -1460}, {2100, -1460}}, 20);
         }, {}},
        {"but a bare hole through a track of its own side cuts it", [](ObjectList& l) {
             squarePad(l, {2000, -1500}, 20, 20);
             addTrack(l, {{1900, -1500}, {2100, -1500}}, 20);
         }, {V::HoleThroughCopper}},
        {"a track of width 0 draws no copper: only its width is reported", [](ObjectList& l) {
             addTrack(l, {{1000, -1000}, {2000, -1000}}, 20);
             addTrack(l, {{1000, -1040}, {2000, -1040}}, 0); // 0.10 mm from the first by the connectivity outline
         }, {V::Width}, 0},
        {"a hole through a track of another net on the other side", [](ObjectList& l) {
             squarePad(l, {2000, -1500});
             addTrack(l, {{1900, -1510}, {2100, -1510}}, 20, Layer::K2);
         }, {V::HoleThroughCopper}},
        {"the track just beside the hole", [](ObjectList& l) {
             squarePad(l, {2000, -1500});
             addTrack(l, {{1900, -1526}, {2100, -1526}}, 20, Layer::K2);
         }, {}},
        {"a via's own pad on the other side", [](ObjectList& l) { addVia(l, {2000, -1500}); }, {}},
        {"a via whose holes fill its pads has no ring on either side", [](ObjectList& l) {
             addVia(l, {2000, -1500}, 50, 50);
         }, {V::Ring, V::Ring}, 0},
        {"a via without a hole joins its sides for the nets only", [](ObjectList& l) {
             addVia(l, {2000, -1500}, 50, 0);
         }, {V::ViaWithoutHole}},
        {"0.15 mm from the left edge", [](ObjectList& l) { squarePad(l, {60, -1500}); }, {}},
        {"0.14 mm from the left edge", [](ObjectList& l) { squarePad(l, {59, -1500}); }, {V::EdgeClearance}, 14},
        {"0.15 mm from the right edge", [](ObjectList& l) { squarePad(l, {3940, -1500}); }, {}},
        {"0.14 mm from the right edge", [](ObjectList& l) { squarePad(l, {3941, -1500}); }, {V::EdgeClearance}, 14},
        // y runs up to the upper edge at 0; the lower edge is the board rect's top.
        {"0.15 mm from the upper edge", [](ObjectList& l) { squarePad(l, {2000, -60}); }, {}},
        {"0.14 mm from the upper edge", [](ObjectList& l) { squarePad(l, {2000, -59}); }, {V::EdgeClearance}, 14},
        {"0.15 mm from the lower edge", [](ObjectList& l) { squarePad(l, {2000, -2940}); }, {}},
        {"0.14 mm from the lower edge", [](ObjectList& l) { squarePad(l, {2000, -2941}); }, {V::EdgeClearance}, 14},
        {"copper reaching off the board", [](ObjectList& l) { squarePad(l, {40, -1500}); }, {V::OffBoard}},
        {"silk reaching off the board", [](ObjectList& l) { addTrack(l, {{-5, -500}, {500, -500}}, 20, Layer::B1); },
         {V::OffBoard}},
        // Under a ground plane.
        {"plane gap 0.15 mm", clearedTrack(15), {}, NAN, 1},
        {"plane gap 0.14 mm", clearedTrack(14), {V::PlaneClearance}, 14, 1},
        {"clearance 0 joins the object to the plane", clearedTrack(0), {}, NAN, 1},
        {"two objects joined to the plane are its one net", [](ObjectList& l) { planeTracks(l, 0, 0); }, {}, NAN, 1},
        {"the other side's plane joins neither", [](ObjectList& l) { planeTracks(l, 0, 0); }, {V::Clearance}, 10, 2},
        {"one joined, one cleared: two nets", [](ObjectList& l) { planeTracks(l, 0, 15); }, {V::Clearance}, 10, 1},
        {"inside a zone's cut-out the plane reaches neither", [](ObjectList& l) {
             planeTracks(l, 0, 0);
             l.append(makeZone(10, Layer::K1)).Points = {{800, -850}, {2400, -850}, {2400, -400}, {800, -400}};
             l[2].Clearance = 300; // its gap covers both tracks
         }, {V::Clearance}, 10, 1},
        {"a gap within another object's wider one is not the plane's", [](ObjectList& l) {
             addPad(l, {2000, -1500}, 45, 1, Layer::K1, 15).Clearance = 500;
             addTrack(l, {{2150, -1500}, {2250, -1500}}, 20).Clearance = 5;
         }, {}, NAN, 1},
        {"the same gap where the plane comes", [](ObjectList& l) {
             addPad(l, {2000, -1500}, 45, 1, Layer::K1, 15).Clearance = 100;
             addTrack(l, {{2150, -1500}, {2250, -1500}}, 20).Clearance = 5;
         }, {V::PlaneClearance}, 5, 1},
        // Two wide gaps across the board cut the plane in two: the tracks
        // joined to either half are not one net.
        {"a plane cut in two is two nets", [](ObjectList& l) {
             addTrack(l, {{2000, -30}, {2000, -1400}}, 20).Clearance = 300;
             addTrack(l, {{2000, -1600}, {2000, -2970}}, 20).Clearance = 300;
             addTrack(l, {{1000, -1500}, {1985, -1500}}, 20).Clearance = 0;
             addTrack(l, {{2015, -1500}, {3000, -1500}}, 20).Clearance = 0;
         }, {V::Clearance}, 10, 1},
        {"a label's box cuts the plane at clearance 0 too", [](ObjectList& l) {
             addTrack(l, {{2000, -30}, {2000, -1400}}, 20).Clearance = 300;
             addTrack(l, {{2000, -2100}, {2000, -2970}}, 20).Clearance = 300;
             l.append(makeText({1700, -1650}, "-", 0, 100, 2300, -1850, Layer::K1)).Clearance = 0;
             addTrack(l, {{1000, -1500}, {1985, -1500}}, 20).Clearance = 0;
             addTrack(l, {{2015, -1500}, {3000, -1500}}, 20).Clearance = 0;
         }, {V::Clearance}, 10, 1},
        {"a plane the gaps leave whole is one net", [](ObjectList& l) {
             addTrack(l, {{2000, -30}, {2000, -1400}}, 20).Clearance = 300;
             addTrack(l, {{2000, -2100}, {2000, -2970}}, 20).Clearance = 100;
             addTrack(l, {{1000, -1500}, {1985, -1500}}, 20).Clearance = 0;
             addTrack(l, {{2015, -1500}, {3000, -1500}}, 20).Clearance = 0;
         }, {}, NAN, 1},
        {"a filled half disc keeps the plane off its fill", [](ObjectList& l) { padsAtAFilledCircle(l, 180); },
         {V::Clearance}, 5, 1},
        {"so does a filled sector of three quarters", [](ObjectList& l) { padsAtAFilledCircle(l, 270); },
         {V::Clearance}, 5, 1},
        {"hole of a side-1 pad through the side-2 plane", [](ObjectList& l) { squarePad(l, {2000, -1500}); },
         {V::HoleInPlane}, NAN, 2},
        {"a hole off the board meets no plane", [](ObjectList& l) { squarePad(l, {4100, -1500}); }, {V::OffBoard},
         NAN, 2},
        {"one partly on it does", [](ObjectList& l) { squarePad(l, {3995, -1500}); },
         {V::OffBoard, V::HoleInPlane}, NAN, 2},
        {"a via has its own copper on the plane's side", [](ObjectList& l) { addVia(l, {2000, -1500}); }, {}, NAN, 2},
        // Not a via: another net to the connectivity test, joined by the
        // plated hole (reported once for both holes).
        {"a pad of side 2 over the hole", [](ObjectList& l) {
             squarePad(l, {2000, -1500});
             addPad(l, {2000, -1500}, 45, 1, Layer::K2, 15);
         }, {V::HoleThroughCopper}, NAN, 2},
        {"a track over the hole, its cut-out narrower than the hole", [](ObjectList& l) {
             addPad(l, {2000, -1500}, 80, 1, Layer::K2, 60);
             addTrack(l, {{1000, -1500}, {3000, -1500}}, 20); // with its clearance 40: 100 wide
         }, {V::HoleInPlane, V::HoleThroughCopper}, NAN, 1},
        {"two tracks whose cut-outs hold the hole together", [](ObjectList& l) {
             addPad(l, {2000, -1500}, 80, 1, Layer::K2, 30);
             addTrack(l, {{1000, -1460}, {3000, -1460}}, 20);
             addTrack(l, {{1000, -1540}, {3000, -1540}}, 20);
         }, {}, NAN, 1},
        {"a side-2 pad's hole under the side-1 plane",
         [](ObjectList& l) { addPad(l, {2000, -1500}, 45, 1, Layer::K2, 15); }, {V::HoleInPlane}, NAN, 1},
    };
    for (const auto& r : rows) {
        ObjectList list;
        r.build(list);
        BoardSettings board = boardOf(4000, 3000);
        board.GroundPlane1 = r.planeSide == 1, board.GroundPlane2 = r.planeSide == 2;
        const std::vector<Violation> found = checkDesign(list, board, DesignRules{});
        std::vector<V> kinds;
        for (const Violation& v : found)
            kinds.push_back(v.kind);
        EXPECT_EQ(kinds, r.expected) << r.why;
        if (!std::isnan(r.firstMeasured) && !found.empty()) {
            EXPECT_NEAR(found[0].measuredUnits, r.firstMeasured, 1e-6) << r.why;
        }
        // The fab package's check also measures the smallest gap, beyond the
        // clearance: a gap exactly at the limit must pass there as well.
        const DesignReport withFigures = checkDesignWithFigures(list, board, DesignRules{});
        kinds.clear();
        for (const Violation& v : withFigures.violations)
            kinds.push_back(v.kind);
        EXPECT_EQ(kinds, r.expected) << r.why << " (with the figures)";
    }
}

// The figures go into the fab package's README: FabPackage.FilesNamesAndReadme.
TEST(DesignCheck, ViolationTexts)
{
    ObjectList list;
    twoTracks(list, 14);
    const std::vector<Violation> found = checkDesign(list, boardOf(4000, 3000), DesignRules{});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(describeViolation(found[0], list, Language::English),
              "Clearance 0.14 mm < 0.15 mm: track – track, K1, at (15.00, 10.17) mm");
    EXPECT_EQ(describeViolation(found[0], list, Language::Russian),
              "Зазор 0.14 мм < 0.15 мм: дорожка – дорожка, K1, точка (15.00, 10.17) мм");
    // Just below the limit the value is cut to the micrometre, not rounded up to it.
    Violation close = found[0];
    close.measuredUnits = 14.96;
    EXPECT_TRUE(describeViolation(close, list, Language::English).starts_with("Clearance 0.149 mm < 0.15 mm:"));

    // A long bent track and a pad near its start: the place is at the pad,
    // not amid the two objects' bounds.
    ObjectList bent;
    addTrack(bent, {{1000, -1000}, {9000, -1000}, {9000, -6000}}, 40);
    addPad(bent, {1000, -1120}, 90, 1, Layer::K1, 30);
    const std::vector<Violation> near = checkDesign(bent, boardOf(10000, 7000), DesignRules{});
    ASSERT_EQ(near.size(), 1u);
    EXPECT_LT(std::abs((near[0].area.left + near[0].area.right) / 2 - 1000), 150);
    EXPECT_LT(std::abs((near[0].area.top + near[0].area.bottom) / 2 + 1025), 150);

    // A thin arc of a large circle is shown where it runs, not over its circle.
    ObjectList arcs;
    LayoutObject& arc = arcs.append(makeCircle({2000, -2500}, 1005, 1, Layer::K1, 995));
    arc.setArcStartDegrees(80), arc.setArcStopDegrees(100);
    const std::vector<Violation> thin = checkDesign(arcs, boardOf(4000, 3000), DesignRules{});
    ASSERT_EQ(thin.size(), 1u);
    EXPECT_LT(thin[0].area.right - thin[0].area.left, 400);
    EXPECT_LT(thin[0].area.bottom - thin[0].area.top, 50);

    ObjectList planeList;
    squarePad(planeList, {500, -500});
    BoardSettings planes = boardOf(4000, 3000);
    planes.GroundPlane2 = 1;
    const std::vector<Violation> onPlane = checkDesign(planeList, planes, DesignRules{});
    ASSERT_EQ(onPlane.size(), 1u);
    // The editor's list names the layers as its status line does.
    EXPECT_EQ(describeViolation(onPlane[0], planeList, Language::Russian, LayerNames::Screen),
              "Отверстие сквозь общую шину Ф2: площадка, Ф1, точка (5.00, 5.00) мм");

    // A hole through a track of the other side is named on the track's layer, where it is cut.
    ObjectList drilled;
    squarePad(drilled, {2000, -1500});
    addTrack(drilled, {{1900, -1510}, {2100, -1510}}, 20, Layer::K2);
    const std::vector<Violation> through = checkDesign(drilled, boardOf(4000, 3000), DesignRules{});
    ASSERT_EQ(through.size(), 1u);
    EXPECT_EQ(violationLayer(through[0], drilled), Layer::K2);
    EXPECT_EQ(describeViolation(through[0], drilled, Language::English),
              "Hole through copper of another net: pad – track, K2, at (20.00, 15.00) mm");
}

namespace {

// Pads, tracks, zones, arcs and vias on both sides of a square area (40 x 40 mm for 260
// objects), dense enough that many objects of different nets pass within a
// few tenths of a millimetre.
ObjectList crowdedCopper(uint32_t seed, int objects, int32_t side)
{
    std::mt19937 random(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    auto somewhere = [&] { return Point{pick(0, side), -pick(0, side)}; };
    auto layer = [&] { return pick(0, 1) ? Layer::K1 : Layer::K2; };
    ObjectList list;
    for (int k = 0; k < objects; ++k) {
        const int32_t width = pick(1, 30) * 2;
        switch (pick(0, 4)) {
        case 0:
            addPad(list, somewhere(), pick(3, 12) * 10, static_cast<uint8_t>(pick(1, 9)), layer(), 15);
            break;
        case 1: {
            std::vector<Point> points{somewhere()};
            for (int n = pick(1, 5), i = 0; i < n; ++i)
                points.push_back({points.back().x + pick(-600, 600), points.back().y + pick(-600, 600)});
            addTrack(list, points, width, layer());
            break;
        }
        case 2: {
            LayoutObject& z = list.append(makeZone(pick(0, 2) ? width : 0, layer()));
            const Point c = somewhere();
            for (int n = pick(3, 7), i = 0; i < n; ++i)
                z.Points.push_back({c.x + 10 * pick(-20, 20), c.y + 10 * pick(-20, 20)});
            break;
        }
        case 3: {
            LayoutObject& c = list.append(makeCircle(somewhere(), pick(3, 30) * 10, 1, layer(), 0));
            c.Y2 = c.X2 - pick(1, 10) * 5;
            c.Angle = pick(0, 3) * 90;
            c.Width = pick(0, 1) ? c.Angle : pick(0, 359);
            break;
        }
        default:
            addVia(list, somewhere(), pick(3, 8) * 10, 15);
            break;
        }
    }
    return list;
}

using Pairs = std::vector<std::tuple<size_t, long, double>>;

// Every pair of objects of different nets on one layer measured, in the order
// of their objects: the pairs under the clearance, and the smallest gap
// within the figures' search.
std::pair<Pairs, double> everyPairMeasured(const ObjectList& list, int32_t clearance)
{
    const std::vector<int> nets = netNumbers(list);
    std::vector<CopperShapes> shapes;
    for (size_t i = 0; i < list.size(); ++i)
        shapes.push_back(copperShapes(list[i]));
    Pairs pairs;
    double smallest = -1;
    for (size_t i = 0; i < list.size(); ++i)
        for (size_t j = i + 1; j < list.size(); ++j) {
            if (nets[i] < 0 || nets[i] == nets[j] || list[i].Layer != list[j].Layer)
                continue;
            const double gap = copperGap(shapes[i], shapes[j], DesignFigures::kClearanceSearchUnits);
            if (gap < DesignFigures::kClearanceSearchUnits && (smallest < 0 || gap < smallest))
                smallest = gap;
            if (gap < clearance)
                pairs.emplace_back(i, static_cast<long>(j), gap);
        }
    return {pairs, smallest};
}

} // namespace

// The pair search looks only near each object, skips the largest net's own
// queries, and on a large board searches both layers side by side;
// measuring every pair of different nets must find the same.
TEST(DesignCheck, ClearancePairsMatchEveryPairMeasured)
{
    DesignRules rules;
    rules.clearanceUnits = 40;
    // seed, objects, side of the square
    for (const auto& [seed, objects, side] : {std::tuple{1u, 260, 4000}, {7u, 6000, 19000}}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        const ObjectList list = crowdedCopper(seed, objects, side);
        const auto [expected, smallest] = everyPairMeasured(list, rules.clearanceUnits);
        ASSERT_GT(expected.size(), size_t(objects / 50)); // the board must be crowded to test anything

        const DesignReport report = checkDesignWithFigures(list, BoardSettings{}, rules);
        Pairs found;
        for (const Violation& v : report.violations)
            if (v.kind == V::Clearance)
                found.emplace_back(v.object, v.other, v.measuredUnits);
        EXPECT_EQ(found, expected);
        EXPECT_DOUBLE_EQ(report.figures.smallestClearanceUnits, smallest);
        EXPECT_DOUBLE_EQ(designFigures(list).smallestClearanceUnits, smallest);
    }
}
