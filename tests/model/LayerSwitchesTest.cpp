#include "model/LayerSwitches.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

std::vector<int> selection(const ObjectList& list)
{
    std::vector<int> selected;
    for (const auto& o : list)
        selected.push_back(o->Selected);
    return selected;
}

TEST(LayerSwitches, SwitchesDeselectWhatTheyHideOrLeave)
{
    BoardSettings s; // layer 1 active, layers 3 and 4 hidden
    ObjectList list;
    for (uint8_t layer : {1, 2, 3, 3, 4})
        test::addTrack(list, {{0, 0}, {10, 0}}, 40, layer).Selected = 1;
    ASSERT_TRUE(SetViewLayer(s, list, 3));
    EXPECT_TRUE(IsLayerVisible(s, 3));
    EXPECT_EQ(selection(list), (std::vector<int>{1, 1, 0, 0, 1})) << "toggling deselects only its layer";
    ASSERT_TRUE(SetViewLayer(s, list, 3));
    EXPECT_FALSE(IsLayerVisible(s, 3));
    EXPECT_TRUE(IsLayerVisible(s, 5) && IsLayerVisible(s, 6)) << "macro layers are always shown";

    for (int layer : {1, 0, 5, -1})
        EXPECT_FALSE(SetActiveLayer(s, list, layer)) << "already active or out of range: " << layer;
    EXPECT_EQ(selection(list), (std::vector<int>{1, 1, 0, 0, 1}));
    ASSERT_TRUE(SetActiveLayer(s, list, 4));
    EXPECT_EQ(selection(list), (std::vector<int>{0, 0, 0, 0, 0})) << "a delete now must not reach the side left";
    EXPECT_TRUE(IsLayerVisible(s, 4)) << "a hidden layer made active is shown";
    ASSERT_TRUE(SetActiveLayer(s, list, 2));
    EXPECT_TRUE(IsLayerVisible(s, 2)) << "a shown one stays shown";
    EXPECT_TRUE(SetViewLayer(s, list, 1) && !IsLayerVisible(s, 1)) << "the former active layer can be hidden";
}

// A via's twin and a group's members on other layers go with a hidden
// object: a drag of what stays selected would tear them apart.
TEST(LayerSwitches, HidingALayerDeselectsViasAndGroupsWhole)
{
    BoardSettings s;
    ObjectList list;
    test::addVia(list, {0, 0}); // layers 1 and 3
    LayoutObject& track = test::addTrack(list, {{0, 0}, {10, 0}}, 40, 1);
    LayoutObject& grouped = test::addTrack(list, {{0, 5}, {10, 5}}, 40, 2);
    test::addTrack(list, {{0, 9}, {10, 9}}, 40, 2);
    track.Groups = grouped.Groups = {7};
    for (auto& o : list)
        o->Selected = 1;
    ASSERT_TRUE(SetViewLayer(s, list, 3)); // shown first: layer 3 starts hidden
    EXPECT_EQ(selection(list), (std::vector<int>{0, 0, 1, 1, 1}));
    for (auto& o : list)
        o->Selected = 1;
    ASSERT_TRUE(SetViewLayer(s, list, 2));
    EXPECT_EQ(selection(list), (std::vector<int>{1, 1, 0, 0, 0})) << "the track goes with its group's silk";
}

// Pasted objects show their hidden layers; objects already there keep theirs hidden.
TEST(LayerSwitches, OnlyAddedObjectsShowTheirLayers)
{
    BoardSettings s; // layers 3 and 4 hidden
    ObjectList list;
    test::addTrack(list, {{0, 0}, {10, 0}}, 40, 4);
    test::addTrack(list, {{0, 5}, {10, 5}}, 40, 3);
    ShowLayersOf(s, list, 1);
    EXPECT_EQ(s.LayerVisible, (std::array<uint8_t, 4>{1, 1, 1, 0}));
}

// The plane of the active side is switched, and shapes that side's copper:
// switching it marks the document, setting it as it is does not.
TEST(LayerSwitches, GroundPlaneFollowsTheActiveSide)
{
    for (uint32_t active : {1u, 2u, 3u, 4u}) {
        LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
        BoardSettings& s = doc.Working;
        s.ActiveLayer = active;
        SetGroundPlane(doc, false);
        EXPECT_FALSE(doc.Modified);
        SetGroundPlane(doc, true);
        EXPECT_TRUE(doc.Modified);
        EXPECT_TRUE(groundPlaneOn(s, static_cast<int>(active))) << active;
        EXPECT_FALSE(groundPlaneOn(s, Layer::partnerLayer(static_cast<int>(active))));
        doc.Modified = false;
        SetGroundPlane(doc, true);
        EXPECT_FALSE(doc.Modified);
        SetGroundPlane(doc, false);
        EXPECT_EQ(std::tuple(doc.Modified, s.GroundPlane1 + s.GroundPlane2), std::tuple(true, 0));
    }
}

} // namespace
} // namespace kestrel
