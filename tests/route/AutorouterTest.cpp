#include "route/Autorouter.h"

#include "geometry/CapsuleOverlap.h"
#include "route/Connectivity.h"
#include "route/Wave.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace kestrel;
using namespace kestrel::test;

namespace {

using Points = std::vector<Point>;

// With the defaults (width 40, clearance 20) the cells are 80 units wide.
// Start pad P lies in cell (12, 12) (centre (1000, -1000)), target pad Q in
// cell (25, 12) (centre (2040, -1000)); both a little off their centres.
struct Band {
    ObjectList list;
    LayoutObject* p;
    LayoutObject* q;

    Band(Point from = {1010, -990}, Point to = {2030, -1010}, int32_t radius = 50, uint8_t layer = 1)
        : p(&addPad(list, from, radius, 1, layer, radius / 2)), q(&addPad(list, to, radius, 1, layer, radius / 2))
    {
        addBand(*p, *q);
    }
};

struct Outcome {
    RouteResult result;
    RouteStatus lastStatus = RouteStatus::Analysing;
    int snapshots = 0;
};

Outcome route(Band& band, const BoardSettings& board = {}, RouteGrid* keptGrid = nullptr,
              const RouteSettings& settings = {})
{
    Outcome run;
    RouteObserver observer;
    observer.status = [&](RouteStatus s, const std::string&) { run.lastStatus = s; };
    observer.beforeTrack = [&] { ++run.snapshots; };
    RouteGrid ownGrid;
    run.result =
        RouteConnection(band.list, board, *band.p, *band.q, settings, observer, keptGrid ? *keptGrid : ownGrid);
    return run;
}

// Q, the target cell's centre clamped so as not to lie beyond Q in the
// direction -x, the start cell's centre clamped to P's x, P.
const Points kFreeSpaceTrack = {{2030, -1010}, {2030, -1000}, {1010, -1000}, {1010, -990}};

} // namespace

TEST(Autorouter, OnlyForeignCopperOfTheLayerBlocks)
{
    Band band;
    // Copper of Q's net crossing the straight way, a track already joining P
    // and Q further down, copper on the other side, silk and the ground plane.
    addTrack(band.list, {{2030, -1010}, {1500, -600}, {1500, -1400}}, 40, 1);
    addTrack(band.list, {{1010, -990}, {1010, -2000}, {2030, -2000}, {2030, -1010}}, 40, 1);
    addTrack(band.list, {{1300, -500}, {1300, -1500}}, 60, 3);
    band.list.append(makeLine({1700, -500}, {1700, -1500}, 60, 2));
    BoardSettings board;
    board.GroundPlane1 = 1;
    const RouteResult result = route(band, board).result;
    ASSERT_TRUE(result.routed);
    EXPECT_EQ(result.track->Points, kFreeSpaceTrack);
    EXPECT_TRUE(band.p->Connections.empty() && band.q->Connections.empty());
}

TEST(Autorouter, GoesAroundForeignCopperAndPushesTheDiagonalOffIt)
{
    Band band;
    LayoutObject& foreign = addPad(band.list, {1480, -1000}, 30, 3); // square, only in cell (18, 12)
    foreign.Selected = 1;
    const RouteResult result = route(band).result;
    ASSERT_TRUE(result.routed);
    // Traced: Q, T's centre clamped, (24, 11), (18, 11), (17, 12), S's centre
    // clamped, P. The diagonal (1480, -920)-(1400, -1000) passes 14 units from
    // the square's corner; sliding it along its horizontal neighbours in steps
    // of 10 clears it after four steps on the positive side.
    EXPECT_EQ(result.track->Points, (Points{{2030, -1010}, {2030, -1000}, {1960, -920}, {1440, -920}, {1360, -1000},
                                            {1010, -1000}, {1010, -990}}));
    // Nothing but the new track and its pads stays selected.
    EXPECT_EQ(std::tuple(foreign.Selected, band.p->Selected, band.q->Selected, result.track->Selected),
              std::tuple(0, 1, 1, 1));
}

TEST(Autorouter, KeptGridSeesCopperEditedInPlace)
{
    // A grid kept across runs keeps what it learnt about the board only while
    // the board is unchanged: a pad moved into the way must be gone around.
    Band band;
    LayoutObject& pad = addPad(band.list, {1480, -3000}, 30, 3);
    RouteGrid kept;
    ASSERT_TRUE(route(band, {}, &kept).result.routed);
    EXPECT_EQ(band.list[3].Points, kFreeSpaceTrack);
    band.list[3].Selected = 1;
    ASSERT_EQ(UnrouteTrack(band.list), UnrouteOutcome::BandRestored);
    pad.Y1 = -1000;
    const RouteResult again = route(band, {}, &kept).result;
    ASSERT_TRUE(again.routed);
    const std::vector<Point> aroundPad(again.track->Points.begin(), again.track->Points.end());
    EXPECT_NE(aroundPad, kFreeSpaceTrack);

    again.track->Selected = 1;
    ASSERT_EQ(UnrouteTrack(band.list), UnrouteOutcome::BandRestored);
    const RouteResult fresh = route(band).result;
    ASSERT_TRUE(fresh.routed);
    EXPECT_EQ(fresh.track->Points, aroundPad);
}

TEST(Autorouter, PadsOutsideTheWaveArea)
{
    // The 160 x 100 mm board has W = 199 columns and H = 124 rows; the wave
    // only enters 1..W-1 and 1..H-1, yet starts from and reaches a pad's cell
    // in the outermost columns and rows too. On a board 160.2 mm wide W is
    // 199 still, and a pad 0.1 mm from its right edge lies in column 200,
    // which the wave cannot reach. A board of a kilometre still gets a grid
    // of 801 x 801 cells, whose column 800 is the last the wave may reach.
    const BoardSettings normal;
    BoardSettings huge;
    huge.BoardWidth = huge.BoardHeight = 100000000;
    BoardSettings wider;
    wider.BoardWidth = 16020;
    const struct {
        Point p, q;
        const BoardSettings* board;
        bool routed;
        RouteStatus failure = RouteStatus::PadBeyondGrid;
    } cases[] = {
        {{1010, -990}, {15960, -1000}, &normal, true},     // target in column W
        {{1010, -990}, {1000, -40}, &normal, true},        // target in row 0
        {{1000, -9960}, {15960, -9960}, &normal, true},    // both in row H
        {{15960, -1000}, {15000, -1000}, &normal, true},   // start in column W
        {{1010, -990}, {16010, -1000}, &wider, false, RouteStatus::PadAtEdge}, // target in column W + 1
        {{16010, -1000}, {1010, -990}, &wider, false, RouteStatus::PadAtEdge}, // start there
        {{1010, -990}, {63960, -1000}, &huge, true},
        {{1010, -990}, {70000, -1000}, &huge, false},
        {{70000, -1000}, {1010, -990}, &huge, false},
        // However large the cells, a pad left of the board is never in the grid.
        {{1010, -990}, {-30, -1000}, &normal, false, RouteStatus::PadOffBoard},
    };
    for (const auto& c : cases) {
        Band band(c.p, c.q);
        const Outcome run = route(band, *c.board);
        EXPECT_EQ(run.result.routed, c.routed) << c.q.x << "," << c.q.y;
        EXPECT_EQ(band.p->Connections.size(), c.routed ? 0u : 1u);
        if (!c.routed) {
            EXPECT_EQ(run.result.failure, c.failure) << c.q.x << "," << c.q.y;
            EXPECT_EQ(run.lastStatus, c.failure) << c.q.x << "," << c.q.y;
        }
    }
}

// A search box whose edge cuts a block of ten cells leaves the block's
// first cell to refine; the next, larger box takes the block up again but
// keeps what the first classified inside it, the wave's distances too.
TEST(Autorouter, ALargerSearchBoxKeepsTheDistancesOfTheFirst)
{
    RouteGrid grid;
    grid.fill(Cell::Unclassified);
    CellTouchMap obstacles(40, 40);
    obstacles.mark(1, 1);
    ClassifyCells(grid, {5, 0, 20, 20}, obstacles);
    ASSERT_EQ(grid.at(0, 0), Cell::Refine) << "outside the first box";
    ASSERT_EQ(grid.at(6, 2), Cell::Free);
    grid.at(6, 2) = 7; // reached by the first wave
    ClassifyCells(grid, {0, 0, 30, 30}, obstacles);
    EXPECT_EQ(grid.at(6, 2), 7);
    EXPECT_EQ(grid.at(1, 1), Cell::Blocked);
    EXPECT_EQ(grid.at(0, 0), Cell::Free);
}

// A hole that fills its pad leaves no copper: a track ending in it would
// join nothing, so the band stays and the run says why.
TEST(Autorouter, PadWhoseHoleFillsItIsNotRoutedTo)
{
    for (const bool target : {true, false}) {
        Band band;
        LayoutObject& bare = target ? *band.q : *band.p;
        bare.setHoleRadius(bare.padOuterRadius());
        const Outcome run = route(band);
        EXPECT_FALSE(run.result.routed) << target;
        EXPECT_EQ(run.result.failure, RouteStatus::PadWithoutCopper);
        EXPECT_EQ(run.lastStatus, RouteStatus::PadWithoutCopper);
        EXPECT_EQ(band.p->Connections.size(), 1u) << "the band stays";
        EXPECT_EQ(band.list.size(), 2u) << "no track";
    }
    // Through a via it is the twin on the routed layer that counts.
    for (const bool twinBare : {true, false}) {
        Band band({500, -3000}, {2030, -1010}, 50, Layer::K2); // its start pad is left aside
        band.p->Connections.clear();
        band.q->Connections.clear();
        auto [upper, lower] = addVia(band.list, {1010, -990}, 50, 25);
        addBand(*upper, *band.q);
        band.p = upper;
        (twinBare ? *lower : *upper).setHoleRadius(50);
        RouteSettings onK2;
        onK2.layer = Layer::K2;
        const Outcome run = route(band, {}, nullptr, onK2);
        EXPECT_EQ(run.result.routed, !twinBare) << "bare twin on the routed layer: " << twinBare;
    }
}

// The track stays on the routed layer: a pad of the other side, with no via
// twin on this one, would be joined by nothing, yet lose its band.
TEST(Autorouter, PadOfTheOtherSideIsNotRoutedTo)
{
    for (const bool target : {true, false}) {
        Band band;
        (target ? *band.q : *band.p).Layer = Layer::K2;
        const Outcome run = route(band);
        EXPECT_FALSE(run.result.routed) << target;
        EXPECT_EQ(run.result.failure, RouteStatus::PadOffLayer) << target;
        EXPECT_EQ(run.lastStatus, RouteStatus::PadOffLayer) << target;
        EXPECT_EQ(band.p->Connections.size(), 1u) << "the band stays";
        EXPECT_EQ(band.list.size(), 2u) << "no track";
    }
}

TEST(Autorouter, SegmentThatCannotBeClearedRemovesTheTrack)
{
    // Square pads fill cells 10..18 by 6..14 except the diagonal from S (12, 12)
    // to T (16, 8): the wave squeezes through corner to corner, but the probe
    // along the diagonal meets the squares' corners however far it is shifted.
    Band band({1000, -1000}, {1320, -680}, 30);
    for (int y = 6; y <= 14; ++y)
        for (int x = 10; x <= 18; ++x)
            if (x - 12 != 12 - y || x < 12 || x > 16)
                addPad(band.list, {x * 80 + 40, -y * 80 - 40}, 40, 3);
    const size_t before = band.list.size();
    const Outcome run = route(band);
    EXPECT_FALSE(run.result.routed);
    EXPECT_EQ(run.snapshots, 0) << "the wave arrived, but no track was made: no undo step";
    EXPECT_EQ(run.lastStatus, RouteStatus::NoPath);
    EXPECT_EQ(band.list.size(), before);
    EXPECT_EQ(band.p->Connections, std::vector<LayoutObject*>{band.q});
}

// Every segment is held off foreign copper: pushing a segment off a track
// once slid the corner before it onto the track, and a zone's tip thinner
// than a raster pixel went unseen. The segments from the pads' centres are
// not pushed off at all: one that would cross a stub of another net beside
// its pad would join that net to the band's, so there is no route then, the
// band and the board as they were.
TEST(Autorouter, NoSegmentTouchesForeignCopper)
{
    BoardSettings board;
    board.BoardWidth = 10000, board.BoardHeight = 6500;
    RouteSettings wideClearance;
    wideClearance.clearanceUnits = 56;
    RouteSettings wideTrack;
    wideTrack.widthUnits = 200, wideTrack.clearanceUnits = 15;
    RouteSettings oddWidth;
    oddWidth.widthUnits = 55, oddWidth.clearanceUnits = 20;
    const struct {
        const char* what;
        Point p, q;
        int32_t radius;
        RouteSettings settings;
        std::function<LayoutObject&(ObjectList&)> addForeign;
        bool routed;
    } cases[] = {
        {"track beside the corner", {540, -1600}, {5500, -1000}, 90, wideClearance,
         [](ObjectList& list) -> LayoutObject& { return addTrack(list, {{830, -500}, {830, -1630}}, 25); }, true},
        {"sliver of a zone", {1074, -363}, {5079, -517}, 90, {},
         [](ObjectList& list) -> LayoutObject& {
             addPad(list, {4241, -653}, 144, 9);
             LayoutObject zone = makeZone(0, 1);
             zone.Points = {{4084, -556}, {3576, -391}, {4083, -501}, {3760, -244}};
             return list.append(std::move(zone));
         },
         true},
        // The last segment runs straight down into the pad through y = -4475.
        {"stub across the last segment", {2200, -4550}, {8000, -2000}, 50, {},
         [](ObjectList& list) -> LayoutObject& { return addTrack(list, {{2140, -4475}, {2220, -4475}}, 20); }, false},
        {"stub clear of it", {2200, -4550}, {8000, -2000}, 50, {},
         [](ObjectList& list) -> LayoutObject& { return addTrack(list, {{2140, -4700}, {2220, -4700}}, 20); }, true},
        // The track's round end at the target's centre, wider than the pad,
        // reaches 14 units into the pad beside it; the ten-corner outline's
        // chords at that end keep just clear of the pad's.
        {"round end of a wide track", {1289, -331}, {1837, -740}, 60, wideTrack,
         [](ObjectList& list) -> LayoutObject& { return addPad(list, {2009, -788}, 80, 1); }, false},
        {"round end clear of the pad", {1289, -331}, {1837, -740}, 60, wideTrack,
         [](ObjectList& list) -> LayoutObject& { return addPad(list, {2040, -788}, 80, 1); }, true},
        // Odd widths: 27.5 + 2.5 units of round ends 29 units apart overlap.
        {"round ends of odd widths", {1000, -3000}, {3000, -3000}, 25, oddWidth,
         [](ObjectList& list) -> LayoutObject& { return addTrack(list, {{971, -3000}, {700, -3000}}, 5); }, false},
        // Only the ends are round: the long side of a wide track 0.4 mm from
        // the straight way keeps the way open.
        {"beside a wide track's long side", {1000, -1000}, {4000, -1000}, 30, {},
         [](ObjectList& list) -> LayoutObject& { return addTrack(list, {{800, -1555}, {4200, -1555}}, 990); },
         true},
    };
    for (const auto& c : cases) {
        Band band(c.p, c.q, c.radius);
        LayoutObject& foreign = c.addForeign(band.list);
        const size_t before = band.list.size();
        const RouteResult result = route(band, board, nullptr, c.settings).result;
        EXPECT_EQ(result.routed, c.routed) << c.what;
        EXPECT_EQ(band.list.size() - before, c.routed ? 1u : 0u) << c.what;
        EXPECT_EQ(band.p->Connections.size(), c.routed ? 0u : 1u) << c.what;
        EXPECT_EQ(connectedObjects(band.list, band.list.indexOf(&foreign)).size(), 1u) << c.what;
    }
}

// A pad's hole goes through both layers: on the other layer it is copper of
// the pad's net, kept clear of like any other, unless it is the band's net.
TEST(Autorouter, HolesDrilledFromTheOtherSide)
{
    RouteSettings onK2;
    onK2.layer = Layer::K2;
    const Point hole{2000, -1500};
    const int32_t holeRadius = 30;
    Band foreign({500, -1500}, {3500, -1500}, 90, Layer::K2);
    addPad(foreign.list, hole, 90, 1, Layer::K1, holeRadius);
    const RouteResult around = route(foreign, {}, nullptr, onK2).result;
    ASSERT_TRUE(around.routed);
    const auto& points = around.track->Points;
    for (size_t k = 0; k + 1 < points.size(); ++k) {
        const double gap = std::sqrt(pointSegmentDistanceSquared(hole, points[k], points[k + 1])) - holeRadius -
                           onK2.widthUnits / 2;
        EXPECT_GE(gap, onK2.clearanceUnits - 5) << "segment " << k;
    }

    // The start is a via whose other pad a track joins to the drilled pad.
    ObjectList list;
    LayoutObject* lower = addVia(list, {500, -1500}, 90, holeRadius).second;
    LayoutObject& target = addPad(list, {3500, -1500}, 90, 1, Layer::K2);
    addTrack(list, {{500, -1500}, hole}, 40, Layer::K1);
    addPad(list, hole, 90, 1, Layer::K1, holeRadius);
    addBand(*lower, target);
    RouteGrid grid;
    const RouteResult through = RouteConnection(list, {}, *lower, target, onK2, {}, grid);
    ASSERT_TRUE(through.routed);
    EXPECT_EQ(through.track->Points, (Points{{3500, -1500}, {3480, -1480}, {520, -1480}, {500, -1500}}));
}

// Copper thinner than a raster pixel is missed by the raster; the exact
// measure of each segment must still hold the whole clearance off it, not
// merely keep the track from touching it.
TEST(Autorouter, KeepsTheClearanceFromCopperThinnerThanAPixel)
{
    RouteSettings onK2;
    onK2.layer = Layer::K2;
    onK2.clearanceUnits = 100;
    for (const int32_t thinWidth : {2, 4}) {
        // A track of 0.02 (0.04) mm ending 0.1 mm above the straight way between the pads.
        Band band({2000, -5800}, {6000, -5800}, 50, Layer::K2);
        const Point thinFrom{4000, -4500}, thinTo{4000, -5790};
        addTrack(band.list, {thinFrom, thinTo}, thinWidth, Layer::K2);
        const RouteResult result = route(band, {}, nullptr, onK2).result;
        ASSERT_TRUE(result.routed) << thinWidth;
        const auto& points = result.track->Points;
        double closest = INFINITY;
        for (size_t k = 0; k + 1 < points.size(); ++k)
            closest = std::min(closest, segmentDistance(points[k], points[k + 1], thinFrom, thinTo));
        const double gap = closest - onK2.widthUnits / 2 - thinWidth / 2;
        // The exact measure gives up one raster pixel (5 units) of the clearance.
        EXPECT_GE(gap, onK2.clearanceUnits - 5) << thinWidth;
    }
}

TEST(Autorouter, UnrouteBringsTheBandBackOnlyWithBothPads)
{
    Band band;
    LayoutObject* track = route(band).result.track;
    ASSERT_TRUE(track);
    // Only a selected routed track is taken, and a band drawn again by hand
    // meanwhile is not doubled.
    addBand(*band.p, *band.q);
    track->Selected = 0;
    EXPECT_EQ(UnrouteTrack(band.list), UnrouteOutcome::NoTrack);
    track->Selected = 1;
    EXPECT_EQ(UnrouteTrack(band.list), UnrouteOutcome::BandRestored);
    EXPECT_EQ(band.list.size(), 2u);
    EXPECT_EQ(band.p->Connections, std::vector<LayoutObject*>{band.q});
    EXPECT_EQ(band.q->Connections, std::vector<LayoutObject*>{band.p});

    // With the start pad gone the track stays, as an ordinary one.
    Band gone;
    track = route(gone).result.track;
    ASSERT_TRUE(track);
    gone.list.remove(static_cast<size_t>(gone.list.indexOf(gone.p)));
    EXPECT_EQ(UnrouteTrack(gone.list), UnrouteOutcome::TrackKept);
    EXPECT_EQ(gone.list.size(), 2u);
    EXPECT_FALSE(track->Routed);
    EXPECT_TRUE(gone.q->Connections.empty());
}

// A foreign track much longer than the parts grid's cells is measured on
// every query, not only in the cells it passes; one thinner than a raster
// pixel is then all that keeps the router from crossing it.
TEST(Autorouter, NeverCrossesALongThinTrack)
{
    BoardSettings board;
    board.BoardWidth = 20000;
    for (const int32_t thinWidth : {2, 4}) {
        Band band({10000, -3000}, {10000, -7000});
        LayoutObject& wall = addTrack(band.list, {{200, -5000}, {19800, -5000}}, thinWidth);
        EXPECT_TRUE(route(band, board).result.routed) << thinWidth;
        EXPECT_EQ(connectedObjects(band.list, band.list.indexOf(&wall)).size(), 1u) << thinWidth;
    }
}

// A wave that crossed copper the raster missed is run again with that
// copper's cells blocked, and goes round it; where there is no way round
// it gives up.
TEST(Autorouter, GoesRoundCopperTheRasterMisses)
{
    const struct {
        Point from, to;
        bool routed;
    } walls[] = {
        {{8000, -2000}, {8000, -9800}, true},
        {{6000, -2000}, {9000, -9800}, true}, // slanting
        {{8000, 0}, {8000, -10000}, false},   // across the whole board
    };
    for (const int32_t thinWidth : {2, 3, 4}) {
        for (const auto& wall : walls) {
            Band band({4000, -5000}, {12000, -5000});
            LayoutObject& thin = addTrack(band.list, {wall.from, wall.to}, thinWidth);
            const Outcome run = route(band);
            EXPECT_EQ(run.result.routed, wall.routed) << thinWidth << " to " << wall.to.x;
            EXPECT_EQ(connectedObjects(band.list, band.list.indexOf(&thin)).size(), 1u);
            if (!run.result.routed) {
                EXPECT_EQ(run.lastStatus, RouteStatus::NoPath);
                EXPECT_EQ(run.snapshots, 0);
                continue;
            }
            const auto& points = run.result.track->Points;
            double closest = INFINITY;
            for (size_t k = 0; k + 1 < points.size(); ++k)
                closest = std::min(closest, segmentDistance(points[k], points[k + 1], wall.from, wall.to));
            // The exact measure gives up one raster pixel (5 units) of the clearance.
            const RouteSettings settings;
            EXPECT_GE(closest - settings.widthUnits / 2 - thinWidth / 2.0, settings.clearanceUnits - 5)
                << thinWidth << " to " << wall.to.x;
        }
    }
}

// The search stops some cells beyond the outermost copper on every side:
// around a U opening away from the start, the only way in passes outside
// all of the board's objects.
TEST(Autorouter, FindsTheWayOutsideEveryObject)
{
    RouteSettings settings;
    settings.widthUnits = 100, settings.clearanceUnits = 100;
    // The U opens towards +x with the target inside it; the other sides turn
    // it about its middle, (57.5, 57.5) mm. Its ends reach 0.25 mm into their
    // 3 mm cells, which rounding makes the last the window holds without its
    // margin.
    const auto turned = [](Point p, int side) -> Point {
        const Point c{5750, -5750};
        const int32_t dx = p.x - c.x, dy = p.y - c.y;
        switch (side) {
        case 1: return {c.x - dy, c.y + dx};
        case 2: return {c.x - dx, c.y - dy};
        case 3: return {c.x + dy, c.y - dx};
        default: return p;
        }
    };
    for (int side = 0; side < 4; ++side) {
        Band band(turned({4000, -5750}, side), turned({7000, -5750}, side));
        Points u = {{7500, -4950}, {6500, -4950}, {6500, -6550}, {7500, -6550}};
        for (Point& corner : u)
            corner = turned(corner, side);
        LayoutObject& foreign = addTrack(band.list, u, 50);
        const RouteResult result = route(band, {}, nullptr, settings).result;
        EXPECT_TRUE(result.routed) << "opening " << side;
        EXPECT_EQ(connectedObjects(band.list, band.list.indexOf(&foreign)).size(), 1u) << side;
    }
}

// A diagonal slid off foreign copper between a horizontal and a vertical
// neighbour keeps its 45 degrees: each end slides along its own neighbour.
TEST(Autorouter, SlidDiagonalsStayAtFortyFiveDegrees)
{
    BoardSettings board;
    board.BoardWidth = 10000, board.BoardHeight = 8000;
    Band band({1000, -3500}, {9000, -3500});
    addTrack(band.list, {{3000, -1000}, {6000, -6000}}, 1);
    const RouteResult result = route(band, board).result;
    ASSERT_TRUE(result.routed);
    const auto& points = result.track->Points;
    for (size_t k = 0; k + 1 < points.size(); ++k) {
        const int32_t dx = std::abs(points[k + 1].x - points[k].x), dy = std::abs(points[k + 1].y - points[k].y);
        EXPECT_TRUE(dx == 0 || dy == 0 || dx == dy) << "segment " << k << ": " << dx << " x " << dy;
    }
}
