#include "EditBoard.h"
#include "edit/ApplyToolParameter.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrel {
namespace {

struct Doc : test::EditBoard {
    ToolParameters tools;
    bool apply(ToolParameter which) { return ApplyToolParameter(session, doc, tools, which); }
};

TEST(ApplyToolParameter, EachValueReachesItsKinds)
{
    // Per object kind, the fields after applying width 55, outer 70, inner
    // 20 and shape 6 in turn to a selection of one object of each kind.
    Doc d;
    ObjectList& list = d.objects();
    list.append(makeLine({0, 0}, {100, 0}, 10, Layer::B1));
    test::addPad(list, {0, 0}, 50, 1, Layer::K1, 30);
    list.append(makeCircle({0, 0}, 50, 1, Layer::K1, 30));
    test::addTrack(list, {{0, 0}, {10, 0}}, 10);
    for (auto& o : list)
        o->Selected = 1;
    d.tools = {.CurrentTrackWidth = 55, .CurrentPadOuter = 70, .CurrentPadInner = 20, .CurrentPadShape = 6};
    for (ToolParameter which : {ToolParameter::Width, ToolParameter::OuterRadius, ToolParameter::InnerRadius,
                                ToolParameter::PadShape})
        EXPECT_TRUE(d.apply(which)) << int(which);
    const std::array<int32_t, 4> expected[] = {
        {100, 0, 55, 0},  // line: X2, Y2, Width, Shape
        {70, 20, 0, 6},   // pad
        {70, 20, 0, 1},   // circle keeps its (meaningless) shape
        {0, 0, 55, 0},    // track
    };
    for (size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ((std::array{list[i].X2, list[i].Y2, list[i].Width, int32_t{list[i].Shape}}), expected[i]) << i;
    EXPECT_FALSE(d.apply(ToolParameter::Width)) << "nothing left to change";
}

// Each object is held to its own radii while the panel keeps the opposite
// value: an outer radius below the hole lowers the hole, an inner radius
// above the pad raises the pad.
TEST(ApplyToolParameter, InnerRadiusNeverExceedsOuter)
{
    // applied, outer and inner on the panel, both radii afterwards (from 50 and 30)
    const std::tuple<ToolParameter, int32_t, int32_t, int32_t> cases[] = {
        {ToolParameter::OuterRadius, 20, 5, 20},
        {ToolParameter::InnerRadius, 90, 80, 80},
    };
    for (const auto& [which, outer, inner, expected] : cases) {
        Doc d;
        test::addPad(d.objects(), {0, 0}, 50, 1, Layer::K1, 30).Selected = 1;
        d.tools = {.CurrentPadOuter = outer, .CurrentPadInner = inner};
        d.apply(which);
        EXPECT_EQ(d.objects()[0].X2, expected) << int(which);
        EXPECT_EQ(d.objects()[0].Y2, expected) << int(which);
    }
}

// Via on makes a twin on the other side without a one-sided band; via off
// keeps the pad on the active side, and the dropped pad's band goes with it.
TEST(ApplyToolParameter, ViaOnAndOff)
{
    for (const uint8_t active : {Layer::K1, Layer::K2}) {
        SCOPED_TRACE(int{active});
        Doc d;
        ObjectList& list = d.objects();
        LayoutObject& pad = test::addPad(list, {0, 0}, 50, 3, Layer::K1);
        LayoutObject& peer = test::addPad(list, {900, 0}, 50);
        test::addBand(pad, peer);
        pad.Selected = 1;
        d.tools.ViaMode = true;
        ASSERT_TRUE(d.apply(ToolParameter::Via));
        ASSERT_EQ(list.size(), 3u);
        LayoutObject& twin = list[2];
        EXPECT_EQ(twin.Layer, Layer::K2);
        EXPECT_EQ(twin.Partner, &pad);
        EXPECT_EQ(pad.Partner, &twin);
        EXPECT_TRUE(twin.Connections.empty());
        EXPECT_EQ(peer.Connections, std::vector<LayoutObject*>{&pad});
        EXPECT_FALSE(d.apply(ToolParameter::Via)) << "already a via";

        d.tools.ViaMode = false;
        d.doc.Working.ActiveLayer = active;
        ASSERT_TRUE(d.apply(ToolParameter::Via));
        ASSERT_EQ(list.size(), 2u);
        const LayoutObject& kept = list[0].X1 == 0 ? list[0] : list[1];
        EXPECT_EQ(kept.Layer, active);
        EXPECT_EQ(kept.Partner, nullptr);
        EXPECT_EQ(peer.Connections.empty(), active == Layer::K2);
    }
}

} // namespace
} // namespace kestrel
