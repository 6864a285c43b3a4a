#include "EditBoard.h"
#include "edit/ApplyToolParameter.h"
#include "edit/Vias.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

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
    list.append(makeText({0, 0}, "A", 0, 10, 100, 100, Layer::B1));
    test::addTrack(list, {{0, 0}, {10, 0}}, 10);
    for (auto& o : list)
        o->Selected = 1;
    d.tools.CurrentTrackWidth = 55;
    d.tools.CurrentPadOuter = 70;
    d.tools.CurrentPadInner = 20;
    d.tools.CurrentPadShape = 6;
    for (ToolParameter which : {ToolParameter::Width, ToolParameter::OuterRadius, ToolParameter::InnerRadius,
                                ToolParameter::PadShape})
        EXPECT_TRUE(d.apply(which)) << int(which);
    const std::array<int32_t, 4> expected[] = {
        {100, 0, 55, 0},  // line: X2, Y2, Width, Shape
        {70, 20, 0, 6},   // pad
        {70, 20, 0, 1},   // circle keeps its (meaningless) shape
        {100, 100, 10, 0}, // label: nothing applies
        {0, 0, 55, 0},    // track
    };
    for (size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ((std::array{list[i].X2, list[i].Y2, list[i].Width, int32_t{list[i].Shape}}), expected[i]) << i;
    EXPECT_FALSE(d.apply(ToolParameter::Width)) << "nothing left to change";
}

TEST(ApplyToolParameter, InnerRadiusNeverExceedsOuter)
{
    struct Case {
        const char* name;
        ToolParameter which;
        int32_t value;
        int32_t outer, inner;
    };
    // Each starts from a pad of outer radius 50 and inner radius 30.
    const Case cases[] = {
        {"outer below the hole lowers the hole", ToolParameter::OuterRadius, 20, 20, 20},
        {"inner above the pad raises the pad", ToolParameter::InnerRadius, 80, 80, 80},
    };
    for (const Case& c : cases) {
        Doc d;
        test::addPad(d.objects(), {0, 0}, 50, 1, Layer::K1, 30).Selected = 1;
        // The panel keeps the opposite value unchanged; each object is held
        // to its own radii.
        d.tools.CurrentPadOuter = c.which == ToolParameter::OuterRadius ? c.value : 90;
        d.tools.CurrentPadInner = c.which == ToolParameter::InnerRadius ? c.value : 5;
        d.apply(c.which);
        EXPECT_EQ(d.objects()[0].X2, c.outer) << c.name;
        EXPECT_EQ(d.objects()[0].Y2, c.inner) << c.name;
    }
    ToolParameters panel;
    setCurrentPadOuter(panel, 10);
    EXPECT_EQ(panel.CurrentPadInner, 10);
    setCurrentPadInner(panel, 60);
    EXPECT_EQ(panel.CurrentPadOuter, 60);
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
        EXPECT_EQ(d.ended, 1) << "the list grew once";

        d.tools.ViaMode = false;
        d.doc.Working.ActiveLayer = active;
        ASSERT_TRUE(d.apply(ToolParameter::Via));
        ASSERT_EQ(list.size(), 2u);
        const LayoutObject& kept = list[0].X1 == 0 ? list[0] : list[1];
        EXPECT_EQ(kept.Layer, active);
        EXPECT_EQ(kept.Partner, nullptr);
        EXPECT_EQ(peer.Connections.empty(), active == Layer::K2);
        EXPECT_EQ(d.ended, 2);
    }
    LayoutObject silk = makePad({0, 0}, 50, 1, Layer::B1, 20);
    ObjectList other;
    EXPECT_EQ(MakeVia(other, silk)->Layer, Layer::B2);
}

} // namespace
} // namespace kestrel
