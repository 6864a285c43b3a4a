#include "geometry/Geometry.h"
#include "model/Board.h"
#include "model/Groups.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

TEST(LayoutObject, BoundingRectangles)
{
    auto withClearance = [](LayoutObject o, int32_t c) {
        o.Clearance = c;
        return o;
    };
    LayoutObject emptyTrack = makeTrack(0, 1);
    emptyTrack.Points = {{500, -500}};
    LayoutObject zone = makeZone(30, 1);
    zone.Points = {{100, -100}, {300, -50}, {200, -400}};
    const std::tuple<const char*, LayoutObject, Rect> cases[] = {
        {"pad shape 4 doubles the clearance along x", withClearance(makePad({0, 0}, 100, 4, 1, 30), 40),
         {-280, -140, 280, 140}},
        {"pad shape 8 doubles it along y", withClearance(makePad({10, 10}, 100, 8, 1, 30), 40),
         {-130, -270, 150, 290}},
        {"single-point track of width 0", withClearance(emptyTrack, 7), {-27, -27, 27, 27}},
        {"line backwards", withClearance(makeLine({300, -10}, {100, -200}, 41, 1), 5), {75, -225, 325, 15}},
        {"zone grows by half its width", withClearance(zone, 0), {85, -415, 315, -35}},
    };
    for (const auto& [what, object, expected] : cases)
        EXPECT_EQ(BoundingRect(object), expected) << what;
}

TEST(LayoutObject, CopyAndTranslate)
{
    EXPECT_EQ(makeText({0, 0}, "0123456789abcdefgh", 90, 100, 10, 10, 2).TextValue, "0123456789abcde");

    LayoutObject zone = makeZone(10, 1);
    zone.Points = {{0, 0}, {10, 10}};
    zone.FillOn = 0;
    const LayoutObject zoneCopy = copyObject(zone);
    EXPECT_EQ(std::tie(zoneCopy.Points, zoneCopy.FillOn, zoneCopy.CopiedMark), std::make_tuple(zone.Points, 1, 0));
    EXPECT_EQ(zone.CopiedMark, 1);
}

TEST(ObjectList, RemovingAPadLeavesNoDanglingReference)
{
    ObjectList list;
    LayoutObject& a = addPad(list, {0, 0}, 50);
    LayoutObject& b = addPad(list, {100, 0}, 50);
    LayoutObject& c = addPad(list, {200, 0}, 50);
    auto [v1, v2] = addVia(list, {300, 0});
    addBand(a, b);
    addBand(b, c);
    a.Connections.push_back(v1); // one-sided entry: must still be scrubbed
    LayoutObject& track = addTrack(list, {{0, 0}, {100, 0}});
    track.RouteFrom = &a;
    track.RouteTo = &b;
    track.Routed = 1;

    list.remove(static_cast<size_t>(list.indexOf(&b)));
    EXPECT_EQ(a.Connections, std::vector<LayoutObject*>{v1});
    EXPECT_TRUE(c.Connections.empty());
    EXPECT_EQ(track.RouteFrom, &a);
    EXPECT_EQ(track.RouteTo, nullptr);

    list.remove(static_cast<size_t>(list.indexOf(v1)));
    EXPECT_EQ(v2->Partner, nullptr);
    EXPECT_TRUE(a.Connections.empty());
}

TEST(ObjectList, RepairPartnersAndNextGroupNumber)
{
    ObjectList list;
    auto [a, b] = addVia(list, {0, 0});
    LayoutObject& lone = addPad(list, {50, 0}, 10);
    LayoutObject outsider = makePad({0, 0}, 10, 1, 3, 5);
    lone.Partner = a; // a does not point back: only this stray link goes
    LayoutObject& strayPartner = addPad(list, {70, 0}, 10);
    strayPartner.Partner = &outsider; // not in the list
    repairPartners(list);
    EXPECT_EQ(lone.Partner, nullptr);
    EXPECT_EQ(strayPartner.Partner, nullptr);
    EXPECT_EQ(a->Partner, b) << "a stray link does not break a sound via";
    EXPECT_EQ(b->Partner, a);

    // Mutual links that make no via: both pads on one layer, apart, or one on
    // copper and one on silk.
    auto [sameLayer, twin] = addVia(list, {500, 0});
    twin->Layer = Layer::K1;
    auto [here, there] = addVia(list, {900, 0});
    there->X1 += 10;
    auto [silkB1, onB2] = addVia(list, {1300, 0}); // as the via tool makes one on silk
    silkB1->Layer = Layer::B1, onB2->Layer = Layer::B2;
    auto [onB1, onK2] = addVia(list, {1700, 0});
    onB1->Layer = Layer::B1;
    repairPartners(list);
    for (const LayoutObject* pad : {sameLayer, twin, here, there, onB1, onK2})
        EXPECT_EQ(pad->Partner, nullptr);
    EXPECT_EQ(a->Partner, b);
    EXPECT_EQ(silkB1->Partner, onB2) << "a via on the silk of both sides stays one";
    EXPECT_EQ(onB2->Partner, silkB1);

    EXPECT_EQ(nextGroupNumber(list), 1);
    lone.Groups = {4, 9};
    a->Groups = {12, 2};
    EXPECT_EQ(nextGroupNumber(list), 13) << "inner numbers count too";
}
