#include "EditBoard.h"
#include "edit/Generators.h"
#include "edit/Undo.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrel {
namespace {

// A closed triangle of radius 10 mm, the first corner at 180 degrees, placed
// about its centre on the active layer.
TEST(Generators, PlacedPolygonIsATrackOrAZone)
{
    test::EditBoard b(2);
    b.doc.Working.ActiveLayer = Layer::B1;
    for (bool filled : {false, true}) {
        const PolygonSettings s{
            .corners = 3, .radiusMm = 10, .offsetDegrees = 180, .lineWidthMm = 0.35, .filled = filled};
        const LayoutObject* o = PlacePolygon(b.session, b.doc, s, {5000, -5000}, 25);
        ASSERT_NE(o, nullptr);
        EXPECT_TRUE(o->is(filled ? ObjectKind::Zone : ObjectKind::Track));
        EXPECT_EQ(o->Width, 35);
        EXPECT_EQ(o->Layer, Layer::B1);
        EXPECT_EQ(o->Clearance, 25);
        EXPECT_EQ(o->Points, (std::vector<Point>{{4000, -5000}, {5500, -5866}, {5500, -4134}, {4000, -5000}}));
    }
}

// The segment command reaches every selected circle and nothing else, its
// angles brought into one turn; the dialog opens with the later circle's values.
TEST(Generators, ArcSegmentOfTheSelectedCircles)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& list = *doc.currentObjects();
    for (int i = 0; i < 3; ++i)
        list.append(makeCircle({1000 * i, -1000}, 500, 1, Layer::K1, 400));
    list.append(makePad({0, 0}, 90, 1, Layer::K1, 30));
    list[1].setArcStartDegrees(30);
    list[1].setArcStopDegrees(60);
    list[1].Filled = 1;
    list[0].Selected = list[1].Selected = list[3].Selected = 1;
    const auto shown = ArcOfSelection(list);
    ASSERT_TRUE(shown);
    EXPECT_EQ((std::tuple{shown->start, shown->stop, shown->filled}), (std::tuple{30, 60, true}));
    EXPECT_EQ(ApplyArcSegment(doc, {.start = -90, .stop = 370, .filled = false}), 2u);
    for (size_t i : {0u, 1u})
        EXPECT_EQ((std::tuple{list[i].arcStartDegrees(), list[i].arcStopDegrees(), list[i].Filled}),
                  (std::tuple{270, 10, uint8_t{0}})) << i;
}

} // namespace
} // namespace kestrel
