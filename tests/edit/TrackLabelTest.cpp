#include "EditBoard.h"
#include "edit/Selection.h"
#include "edit/TrackLabel.h"
#include "edit/Undo.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

const Point kAt{1000, -2000};

std::vector<std::vector<Point>> relativeTracks(const ObjectList& list)
{
    std::vector<std::vector<Point>> out;
    for (const auto& o : list) {
        out.emplace_back();
        for (Point p : o->Points)
            out.back().push_back({p.x - kAt.x, p.y - kAt.y});
    }
    return out;
}

// Where each text's tracks lie and how many there are, at 5 mm: cells of 55
// units, "L" 220 wide and 440 high on the centre lines, turned clockwise on
// the screen (board y points up).
TEST(TrackLabel, OrientationsSpacingAndCharactersWithoutStrokes)
{
    struct Row {
        const char* text;
        int32_t angle;
        bool mirror, fixed;
        size_t tracks;
        size_t track;              // whose points are checked
        std::vector<Point> points; // the track's first points
    };
    const Row rows[] = {
        {"L", 0, false, false, 1, 0, {{0, 440}, {0, 0}, {220, 0}}},
        {"L", 90, false, false, 1, 0, {{440, 0}, {0, 0}, {0, -220}}},
        {"L", 0, true, false, 1, 0, {{0, 440}, {0, 0}, {-220, 0}}},
        {"AB", 0, false, false, 4, 2, {{314, 0}}}, // after "A": 4 * 55 + round(93.5)
        {"1A", 0, false, false, 3, 1, {{259, 0}}}, // "1" is 3 cells wide
        {"1A", 0, false, true, 3, 1, {{314, 0}}},  // fixed: 4 cells for each
        {" 1", 0, false, true, 1, 0, {{314, 330}}},
        {"\u4E2D1", 0, false, false, 1, 0, {{94, 330}}}, // beyond the code page
        {" ", 0, false, false, 0, 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.text << " at " << r.angle << (r.mirror ? " mirrored" : ""));
        ObjectList list;
        TrackLabelSettings s;
        s.angle = r.angle;
        s.mirror = r.mirror;
        s.fixedSpacing = r.fixed;
        ASSERT_EQ(PlaceStrokeText(list, r.text, s, kAt, Layer::B1, 40), r.tracks);
        if (r.tracks == 0)
            continue;
        const std::vector<Point> points = relativeTracks(list)[r.track];
        ASSERT_GE(points.size(), r.points.size());
        EXPECT_EQ(std::vector<Point>(points.begin(), points.begin() + r.points.size()), r.points);
        EXPECT_EQ(list[0].Width, 50);
        EXPECT_EQ(list[0].Layer, Layer::B1);
        EXPECT_EQ(list[0].Clearance, 40);
    }
    ObjectList dot;
    PlaceStrokeText(dot, ".", {}, kAt, Layer::K1, 0);
    EXPECT_EQ(dot[0].Points, (std::vector<Point>{kAt, kAt})) << "a dot of the stroke width";
}

TEST(TrackLabel, StrokeWidthsAndGroups)
{
    for (auto [weight, width] : {std::pair{StrokeWeight::Thin, 31}, {StrokeWeight::Normal, 50}, {StrokeWeight::Bold, 69}})
        EXPECT_EQ(LabelStrokeWidth(GlyphScale(5.0), weight), width);
    EXPECT_EQ(GlyphScale(0.1), 1);

    // Each character is a group inside the label's group; nothing stays selected.
    ObjectList list;
    test::addTrack(list, {{0, 0}, {10, 0}});
    list[0].Selected = 1;
    PlaceStrokeText(list, "A0", {}, kAt, Layer::K1, 0);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(SelectedCount(list), 0u);
    EXPECT_TRUE(list[0].Groups.empty()) << "the object that was selected is not taken in";
    for (size_t i = 1; i < 5; ++i)
        ASSERT_EQ(list[i].Groups.size(), 2u) << i;
    EXPECT_EQ(list[1].Groups, list[2].Groups) << "the strokes of A";
    EXPECT_EQ(list[3].Groups, list[4].Groups) << "the strokes of 0";
    EXPECT_NE(list[1].Groups[0], list[3].Groups[0]);
    EXPECT_EQ(list[1].Groups[1], list[3].Groups[1]);
}

// The box that follows the pointer holds the label's centre lines at every
// angle, mirrored or not.
TEST(TrackLabel, ExtentHoldsTheLabel)
{
    TrackLabelSettings s;
    s.text = "L";
    EXPECT_EQ(StrokeTextExtent(s, 0), (Point{248, 496})) << "cells of 500 div 8 = 62";
    s.text = "AB";
    EXPECT_EQ(StrokeTextExtent(s, 0), (Point{4 * 62 + 105 + 4 * 62, 496}));
    s.numbered = true;
    s.text = std::string("N");
    EXPECT_EQ(StrokeTextExtent(s, 12).x, 3 * 4 * 62 + 2 * 105 - 62) << "N, 1 (3 wide) and 2";
    s.numbered = false;
    s.text = "WAVE17";
    for (int32_t angle : {0, 90, 180, 270}) {
        for (bool mirror : {false, true}) {
            s.angle = angle;
            s.mirror = mirror;
            const Point e = StrokeTextExtent(s, 0);
            const Rect box = Rect{kAt.x, kAt.y, kAt.x + e.x, kAt.y + e.y}.normalised();
            ObjectList list;
            PlaceStrokeText(list, s.text, s, kAt, Layer::K1, 0);
            for (const auto& o : list)
                for (Point p : o->Points)
                    EXPECT_TRUE(p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom)
                        << angle << " " << mirror << ": " << p.x << "," << p.y;
        }
    }
}

TEST(TrackLabel, GeneratorNumbersAndTakesOneSnapshot)
{
    test::EditBoard b(5);
    TrackLabelSettings s;
    s.text = "N";
    s.numbered = true;
    int32_t counter = 7;
    EXPECT_EQ(GenerateTrackLabel(b.session, b.doc, s, counter, kAt, Layer::K1, 40), 3u) << "N, and 7 of two strokes";
    EXPECT_EQ(GenerateTrackLabel(b.session, b.doc, s, counter, kAt, Layer::K1, 40), 3u) << "N, and 8 of two strokes";
    EXPECT_EQ(counter, 9);
    EXPECT_EQ(b.session.undoSteps(), 2u);
    Undo(b.session, b.doc);
    EXPECT_EQ(b.objects().size(), 3u) << "one step takes the whole second label";
}

} // namespace
} // namespace kestrel
