#include "EditBoard.h"
#include "edit/Generators.h"
#include "edit/Undo.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrel {
namespace {

TEST(Generators, PolygonCorners)
{
    struct Row {
        int corners;
        double offset;
        std::vector<Point> expected; // empty: only the rules below
    };
    const Row rows[] = {
        {4, 45, {{707, 707}, {-707, 707}, {-707, -707}, {707, -707}, {707, 707}}},
        {3, 180, {{-1000, 0}, {500, -866}, {500, 866}, {-1000, 0}}},
        {99, 0, {}},
    };
    for (const Row& r : rows) {
        const std::vector<Point> v = PolygonVertices({.corners = r.corners, .radiusMm = 10, .offsetDegrees = r.offset});
        ASSERT_EQ(v.size(), static_cast<size_t>(r.corners) + 1) << r.corners;
        EXPECT_EQ(v.front(), v.back()) << "closed";
        if (!r.expected.empty()) {
            EXPECT_EQ(v, r.expected) << r.corners << " " << r.offset;
        }
        for (Point p : v)
            EXPECT_NEAR(std::hypot(p.x, p.y), 1000.0, 1.0) << r.corners << " " << r.offset;
    }
}

TEST(Generators, PlacedPolygonIsATrackOrAZone)
{
    test::EditBoard b(2);
    b.doc.Working.ActiveLayer = Layer::B1;
    for (bool filled : {false, true}) {
        const PolygonSettings s{.corners = 4, .radiusMm = 10, .offsetDegrees = 45, .lineWidthMm = 0.35, .filled = filled};
        const LayoutObject* o = PlacePolygon(b.session, b.doc, s, {5000, -5000}, 25);
        ASSERT_NE(o, nullptr);
        EXPECT_TRUE(o->is(filled ? ObjectKind::Zone : ObjectKind::Track));
        EXPECT_EQ(o->Width, 35);
        EXPECT_EQ(o->Layer, Layer::B1);
        EXPECT_EQ(o->Clearance, 25);
        EXPECT_EQ(o->Points.front(), (Point{5707, -4293}));
        EXPECT_EQ(o->Points.size(), 5u);
    }
    EXPECT_EQ(b.session.undoSteps(), 2u);
}

TEST(Generators, ArcAnglesComeIntoOneTurn)
{
    const std::pair<double, int32_t> cases[] = {{90, 90}, {400, 40}, {-90, 270}, {360, 0}, {359.6, 0}, {-720, 0}};
    for (const auto& [degrees, normal] : cases)
        EXPECT_EQ(NormalDegrees(degrees), normal) << degrees;
}

// The segment command reaches every selected circle and nothing else; the
// dialog opens with the values of the later circle.
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
    EXPECT_FALSE(ArcOfSelection(list));
    list[0].Selected = list[1].Selected = list[3].Selected = 1;
    const auto shown = ArcOfSelection(list);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->start, 30);
    EXPECT_EQ(shown->stop, 60);
    EXPECT_TRUE(shown->filled);
    EXPECT_EQ(ApplyArcSegment(doc, {.start = 90, .stop = 370, .filled = false}), 2u);
    for (size_t i : {0u, 1u})
        EXPECT_EQ((std::tuple{list[i].arcStartDegrees(), list[i].arcStopDegrees(), list[i].Filled}),
                  (std::tuple{90, 10, uint8_t{0}})) << i;
    EXPECT_EQ(list[2].arcStopDegrees(), 0) << "not selected";
    EXPECT_EQ(list[3].Angle, 0) << "a pad is no circle";
}

} // namespace
} // namespace kestrel
