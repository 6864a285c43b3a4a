#include "view/LayerSwitches.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

using test::addTrack;

std::array<uint8_t, 4> visibility(const BoardSettings& s) { return s.LayerVisible; }

TEST(LayerSwitches, MakingAHiddenLayerActiveShowsItAndDeselectsEverything)
{
    BoardSettings s;
    ObjectList list;
    addTrack(list, {{0, 0}, {10, 0}}, 40, 1).Selected = 1;
    addTrack(list, {{0, 0}, {10, 0}}, 40, 3).Selected = 1;
    ASSERT_TRUE(SetActiveLayer(s, list, 3));
    EXPECT_EQ(s.ActiveLayer, 3u);
    EXPECT_EQ(visibility(s), (std::array<uint8_t, 4>{1, 1, 1, 0}));
    EXPECT_EQ(list[0].Selected, 0);
    EXPECT_EQ(list[1].Selected, 0);
}

TEST(LayerSwitches, ActiveLayerAgainOrOutOfRangeChangesNothing)
{
    BoardSettings s;
    ObjectList list;
    addTrack(list, {{0, 0}, {10, 0}}).Selected = 1;
    for (int layer : {1, 0, 5, -1}) {
        EXPECT_FALSE(SetActiveLayer(s, list, layer)) << layer;
        EXPECT_EQ(list[0].Selected, 1) << layer;
    }
    EXPECT_EQ(s.ActiveLayer, 1u);
}

TEST(LayerSwitches, TheActiveLayerCanNeverBeHidden)
{
    BoardSettings s;
    ObjectList list;
    EXPECT_FALSE(SetViewLayer(s, list, 1));
    EXPECT_TRUE(IsLayerVisible(s, 1));
    ASSERT_TRUE(SetActiveLayer(s, list, 4));
    EXPECT_FALSE(SetViewLayer(s, list, 4));
    EXPECT_TRUE(IsLayerVisible(s, 4));
    EXPECT_TRUE(SetViewLayer(s, list, 1)) << "the former active layer is an ordinary layer again";
    EXPECT_FALSE(IsLayerVisible(s, 1));
}

TEST(LayerSwitches, TogglingALayerDeselectsOnlyItsObjects)
{
    BoardSettings s;
    ObjectList list;
    for (uint8_t layer : {1, 2, 3, 3, 4})
        addTrack(list, {{0, 0}, {10, 0}}, 40, layer).Selected = 1;
    ASSERT_TRUE(SetViewLayer(s, list, 3));
    EXPECT_TRUE(IsLayerVisible(s, 3));
    std::vector<int> selected;
    for (const auto& o : list)
        selected.push_back(o->Selected);
    EXPECT_EQ(selected, (std::vector<int>{1, 1, 0, 0, 1}));
    ASSERT_TRUE(SetViewLayer(s, list, 3));
    EXPECT_FALSE(IsLayerVisible(s, 3));
}

TEST(LayerSwitches, MacroLayersAreAlwaysVisible)
{
    BoardSettings s;
    s.LayerVisible = {0, 0, 0, 0};
    EXPECT_TRUE(IsLayerVisible(s, 5));
    EXPECT_TRUE(IsLayerVisible(s, 6));
    EXPECT_FALSE(IsLayerVisible(s, 2));
}

TEST(LayerSwitches, GroundPlaneFollowsTheActiveSide)
{
    struct Case {
        uint32_t activeLayer;
        uint8_t plane1, plane2;
    };
    for (const Case& c : {Case{1, 1, 0}, Case{2, 1, 0}, Case{3, 0, 1}, Case{4, 0, 1}}) {
        BoardSettings s;
        s.ActiveLayer = c.activeLayer;
        setGroundPlaneOfActiveSide(s, true);
        EXPECT_EQ(s.GroundPlane1, c.plane1) << c.activeLayer;
        EXPECT_EQ(s.GroundPlane2, c.plane2) << c.activeLayer;
        EXPECT_TRUE(groundPlaneOn(s, static_cast<int>(c.activeLayer)));
        EXPECT_FALSE(groundPlaneOn(s, Layer::partnerLayer(static_cast<int>(c.activeLayer))));
        setGroundPlaneOfActiveSide(s, false);
        EXPECT_EQ(s.GroundPlane1 + s.GroundPlane2, 0);
    }
}

} // namespace
} // namespace kestrel
