#include "edit/Grouping.h"
#include "edit/HitTest.h"
#include "edit/Selection.h"
#include "edit/ToolPanelSync.h"
#include "model/ValueRanges.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrel {
namespace {

std::vector<int> selectedFlags(const ObjectList& list)
{
    std::vector<int> out;
    for (const auto& o : list)
        out.push_back(o->Selected);
    return out;
}

long findAt(const ObjectList& list, const BoardSettings& view, Point p)
{
    ObjectIndex index;
    index.build(list);
    return FindObjectAt(index, view, p);
}

// The drawn shapes themselves (ring holes, the holes of zones crossing
// themselves) are compared with the exact regions in QuickShapeTests.
TEST(HitTest, PrioritiesAmongOverlappingObjects)
{
    // Each case builds a list bottom to top and clicks at (0, 0): the object found.
    const std::tuple<const char*, void (*)(ObjectList&), long> cases[] = {
        {"pad under a track wins",
         [](ObjectList& l) {
             test::addPad(l, {0, 0}, 100);
             test::addTrack(l, {{-500, 0}, {500, 0}});
         },
         0},
        {"corner of a selected track beats a pad above it",
         [](ObjectList& l) {
             test::addTrack(l, {{0, 0}, {500, 0}}).Selected = 1;
             test::addPad(l, {0, 0}, 100);
         },
         0},
        {"inside the bounds but off the stroke",
         [](ObjectList& l) { test::addTrack(l, {{-500, -500}, {500, -500}, {500, 500}}); }, -1},
        {"of two crossing tracks the upper one",
         [](ObjectList& l) {
             test::addTrack(l, {{-500, 0}, {500, 0}});
             test::addTrack(l, {{0, -500}, {0, 500}});
         },
         1},
        {"the other side is not pickable", [](ObjectList& l) { test::addPad(l, {0, 0}, 100, 1, Layer::K2); }, -1},
    };
    for (const auto& [name, build, expected] : cases) {
        ObjectList list;
        build(list);
        EXPECT_EQ(findAt(list, BoardSettings{}, {0, 0}), expected) << name;
    }
}

TEST(HitTest, BoundsAreHalfOpen)
{
    ObjectList list;
    list.append(makeText({0, -100}, "X", 0, 100, 200, 0, Layer::B1)).Clearance = 0; // the box (0, -100)..(200, 0)
    const BoardSettings view;
    const std::pair<Point, long> cases[] = {
        {{0, -100}, 0}, {{199, -1}, 0}, {{200, -50}, -1}, {{100, 0}, -1}, {{-1, -50}, -1}, {{100, -101}, -1},
    };
    for (const auto& [p, expected] : cases)
        EXPECT_EQ(findAt(list, view, p), expected) << p.x << ", " << p.y;
}

TEST(Selection, SpreadsToTheOutermostGroupAndPartners)
{
    ObjectList list;
    auto [a, b] = test::addVia(list, {0, 0}); // 0, 1
    a->Groups = {1, 5};
    b->Groups = {1, 5};
    test::addTrack(list, {{0, 0}, {10, 0}}).Groups = {2, 5};  // 2: same outer group
    test::addTrack(list, {{0, 0}, {10, 0}}).Groups = {1};     // 3: shares only the inner number
    test::addTrack(list, {{0, 0}, {10, 0}});                  // 4: ungrouped
    test::addVia(list, {500, 0});                              // 5, 6: an ungrouped via
    EXPECT_TRUE(SelectObject(list, 2, true));
    EXPECT_EQ(selectedFlags(list), (std::vector<int>{1, 1, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(SelectObject(list, 0, true)) << "already selected";
    EXPECT_TRUE(SelectObject(list, 6, true));
    EXPECT_EQ(selectedFlags(list), (std::vector<int>{1, 1, 1, 0, 0, 1, 1}));
    EXPECT_TRUE(SelectObject(list, 1, false));
    EXPECT_EQ(selectedFlags(list), (std::vector<int>{0, 0, 0, 0, 0, 1, 1}));
}

TEST(Selection, FrameTouchesShapesOrBoundingRectangles)
{
    // A diagonal track of width 40 from (0, 0) to (1000, -1000), or a pad of
    // radius 100, clearance 40, at (3000, -500); the frame; whether it selects.
    const std::tuple<const char*, bool, Rect, bool> cases[] = {
        {"crossing the stroke", false, {480, -520, 520, -480}, true},
        {"only the empty corner of its bounds", false, {800, -200, 1100, 100}, false},
        {"the edge along the end cap", false, {-40, -10, -21, 10}, false},
        {"only the clearance of the pad", true, {3105, -500, 3200, -400}, true},
        {"touching its bounds' edge", true, {3140, -500, 3300, -400}, false},
    };
    for (const auto& [name, pad, frame, selected] : cases) {
        ObjectList list;
        if (pad)
            test::addPad(list, {3000, -500}, 100);
        else
            test::addTrack(list, {{0, 0}, {1000, -1000}});
        ObjectIndex index;
        index.build(list);
        SelectInFrame(list, index, BoardSettings{}, {frame.left, frame.top}, {frame.right, frame.bottom});
        EXPECT_EQ(list[0].Selected, selected) << name;
    }
}

// Select All and frames only add, and only what can be picked: the active
// side's layers that are shown. A via's twin on the other side comes along,
// or a delete or move would leave it behind.
TEST(Selection, SelectAllAndFramesAddPickableObjectsOnly)
{
    ObjectList list;
    test::addPad(list, {0, 0}, 50).Selected = 1; // outside the frame
    for (uint8_t layer : {Layer::K1, Layer::B1, Layer::K2, Layer::B2})
        test::addPad(list, {1000, 0}, 50, 1, layer);
    test::addVia(list, {3000, 0}); // 5 on K1, 6 on K2
    BoardSettings view;
    view.ActiveLayer = Layer::K2;
    view.LayerVisible = {1, 1, 1, 0};
    SelectAll(list, view);
    EXPECT_EQ(selectedFlags(list), (std::vector<int>{1, 0, 0, 1, 0, 1, 1})) << "side 2 without the hidden B2";
    ObjectIndex index;
    index.build(list);
    SelectInFrame(list, index, BoardSettings{}, {900, -100}, {1100, 100});
    EXPECT_EQ(selectedFlags(list), (std::vector<int>{1, 1, 1, 1, 0, 1, 1})) << "side 1 added, nothing removed";
    DeselectAll(list);
    SelectInFrame(list, index, BoardSettings{}, {2900, -100}, {3100, 100});
    EXPECT_EQ(selectedFlags(list), (std::vector<int>{0, 0, 0, 0, 0, 1, 1})) << "the via whole from side 1";
}

TEST(Grouping, GroupAndUngroupPeelOneLevel)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& list = *doc.currentObjects();
    for (int i = 0; i < 3; ++i)
        test::addPad(list, {i * 500, 0}, 50).Selected = 1;
    list[2].Selected = 0;
    EXPECT_TRUE(GroupSelection(doc));
    EXPECT_TRUE(doc.Modified);
    list[2].Selected = 1;
    EXPECT_TRUE(GroupSelection(doc)) << "a group plus an ungrouped pad";
    EXPECT_FALSE(GroupSelection(doc)) << "already exactly one group";
    EXPECT_EQ(list[0].Groups, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(list[2].Groups, (std::vector<int32_t>{2}));
    EXPECT_TRUE(Ungroup(doc));
    EXPECT_EQ(list[0].Groups, (std::vector<int32_t>{1}));
    EXPECT_TRUE(list[2].Groups.empty());
    EXPECT_TRUE(Ungroup(doc));
    EXPECT_FALSE(Ungroup(doc)) << "nothing grouped any more";
}

// Numbers an old file left behind: an inner group numbered above its outer
// one, and a number at the top of what a file holds.
TEST(Grouping, ANewGroupNeverTakesANumberInUse)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& list = *doc.currentObjects();
    for (int i = 0; i < 4; ++i)
        test::addPad(list, {i * 500, 0}, 50);
    list[0].Groups = list[1].Groups = {2, 1};
    list[2].Selected = list[3].Selected = 1;
    ASSERT_TRUE(GroupSelection(doc));
    EXPECT_EQ(list[2].Groups, (std::vector<int32_t>{3}));
    list[0].Selected = list[1].Selected = 1, list[2].Selected = list[3].Selected = 0;
    ASSERT_TRUE(Ungroup(doc));
    EXPECT_NE(list[0].outerGroup(), list[2].outerGroup()) << "the two groups stay apart";

    list[0].Groups = list[1].Groups = {ranges::kMaxGroupNumber};
    list[2].Groups = list[3].Groups = {7};
    SelectAll(list, doc.Working);
    ASSERT_TRUE(GroupSelection(doc));
    EXPECT_EQ(list[0].Groups, (std::vector<int32_t>{2, 3})) << "renumbered from 1 before the new group";
    EXPECT_EQ(list[2].Groups, (std::vector<int32_t>{1, 3}));
}

TEST(ToolPanelSync, CommonMixedAndAbsentValuesAndTheObjectsStay)
{
    ObjectList list;
    LayoutObject& t = test::addTrack(list, {{0, 0}, {10, 0}}, 41);
    LayoutObject& p = test::addPad(list, {0, 0}, 33, 6, Layer::K1, 20);
    LayoutObject& c = list.append(makeCircle({0, 0}, 33, 1, Layer::K1, 25));
    LayoutObject& unknown = test::addPad(list, {0, 0}, 33, 12, Layer::K1, 20);
    for (LayoutObject* o : {&t, &p, &c, &unknown})
        o->Selected = 1;
    c.Clearance = 40;
    const ToolPanelValues v = SyncToolPanel(list);
    EXPECT_EQ(v.widthUnits, (PanelValue{PanelValue::State::Common, 41}));
    EXPECT_EQ(v.outerRadiusUnits, (PanelValue{PanelValue::State::Common, 33}));
    EXPECT_EQ(v.innerRadiusUnits.state, PanelValue::State::Mixed);
    EXPECT_EQ(v.padShape.state, PanelValue::State::Mixed) << "shape 6 and an unknown shape taken as round";
    EXPECT_EQ(v.clearanceUnits, (PanelValue{PanelValue::State::Common, 40}));

    // The track of width 41 and the pad of radius 33: the panel shows 0.4 mm
    // and 0.7 mm, yet the tool parameters and the objects keep 41 and 33.
    unknown.Selected = 0;
    c.Selected = 0;
    p.Shape = 2;
    ToolParameters tools;
    EXPECT_TRUE(AdoptToolPanelValues(tools, SyncToolPanel(list)));
    EXPECT_EQ(tools.CurrentTrackWidth, 41);
    EXPECT_EQ(tools.CurrentPadOuter, 33);
    EXPECT_EQ(tools.CurrentPadInner, 20);
    EXPECT_EQ(tools.CurrentPadShape, 2);
    EXPECT_EQ(t.Width, 41);
    EXPECT_EQ(p.X2, 33);

    // Pads of one hole and two sizes: the hole taken over never exceeds the
    // pad size kept, which grows to it; a common pad size taken over shrinks
    // a hole kept.
    ObjectList pads;
    test::addPad(pads, {0, 0}, 100, 1, Layer::K1, 40).Selected = 1;
    test::addPad(pads, {0, 0}, 60, 1, Layer::K1, 40).Selected = 1;
    ToolParameters small;
    small.CurrentPadOuter = 25;
    small.CurrentPadInner = 0;
    AdoptToolPanelValues(small, SyncToolPanel(pads));
    EXPECT_EQ(std::pair(small.CurrentPadOuter, small.CurrentPadInner), std::pair(40, 40));
    pads[0].Y2 = 10;
    pads[1].X2 = 100;
    ToolParameters wide;
    wide.CurrentPadInner = 80;
    AdoptToolPanelValues(wide, SyncToolPanel(pads));
    EXPECT_EQ(std::pair(wide.CurrentPadOuter, wide.CurrentPadInner), std::pair(100, 80)) << "inner mixed, fits";
    pads[1].X2 = pads[0].X2 = 50;
    AdoptToolPanelValues(wide, SyncToolPanel(pads));
    EXPECT_EQ(std::pair(wide.CurrentPadOuter, wide.CurrentPadInner), std::pair(50, 50));
}

} // namespace
} // namespace kestrel
