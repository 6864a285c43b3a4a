#include "edit/Selection.h"
#include "edit/TrackLabel.h"
#include "edit/Undo.h"
#include "geometry/Geometry.h"
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
// the screen (board y points up). Mirrored labels: ExtentHoldsTheLabel.
TEST(TrackLabel, OrientationsSpacingAndCharactersWithoutStrokes)
{
    // The text, angle, fixed spacing, the tracks placed, the track whose
    // points are checked and its first points.
    const std::tuple<const char*, int32_t, bool, size_t, size_t, std::vector<Point>> rows[] = {
        {"L", 0, false, 1, 0, {{0, 440}, {0, 0}, {220, 0}}},
        {"L", 90, false, 1, 0, {{440, 0}, {0, 0}, {0, -220}}},
        {"1A", 0, false, 3, 1, {{259, 0}}}, // "1" is 3 cells wide
        {"1A", 0, true, 3, 1, {{314, 0}}},  // fixed: 4 cells for each
        {"\u4E2D1", 0, false, 1, 0, {{94, 330}}}, // beyond the code page
        {" ", 0, false, 0, 0, {}},
    };
    for (const auto& [text, angle, fixed, tracks, track, first] : rows) {
        SCOPED_TRACE(::testing::Message() << text << " at " << angle);
        ObjectList list;
        const TrackLabelSettings s{.fixedSpacing = fixed, .angle = angle};
        ASSERT_EQ(PlaceStrokeText(list, text, s, kAt, Layer::B1, 40), tracks);
        if (tracks == 0)
            continue;
        const std::vector<Point> points = relativeTracks(list)[track];
        ASSERT_GE(points.size(), first.size());
        EXPECT_EQ(std::vector<Point>(points.begin(), points.begin() + first.size()), first);
        EXPECT_EQ(list[0].Width, 50);
    }
    ObjectList dot;
    PlaceStrokeText(dot, ".", {}, kAt, Layer::K1, 0);
    EXPECT_EQ(dot[0].Points, (std::vector<Point>{kAt, kAt})) << "a dot of the stroke width";
}

TEST(TrackLabel, StrokeWidthsAndGroups)
{
    EXPECT_EQ(LabelStrokeWidth(GlyphScale(5.0), StrokeWeight::Bold), 69) << "Normal gives 50";

    // Each character is a group inside the label's group; nothing stays selected.
    ObjectList list;
    test::addTrack(list, {{0, 0}, {10, 0}});
    list[0].Selected = 1;
    PlaceStrokeText(list, "A0", {}, kAt, Layer::K1, 0);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(SelectedCount(list), 0u);
    EXPECT_TRUE(list[0].Groups.empty()) << "the object that was selected is not taken in";
    ASSERT_TRUE(list[1].Groups.size() == 2 && list[3].Groups.size() == 2);
    EXPECT_EQ(list[1].Groups, list[2].Groups) << "the strokes of A";
    EXPECT_NE(list[1].Groups[0], list[3].Groups[0]);
    EXPECT_EQ(list[1].Groups[1], list[3].Groups[1]);
}

// The box that follows the pointer holds the label's centre lines at every
// angle, mirrored or not; mirrored, box and label are the plain ones
// reflected about the start point.
TEST(TrackLabel, ExtentHoldsTheLabel)
{
    TrackLabelSettings s;
    s.text = "L";
    EXPECT_EQ(StrokeTextExtent(s, 0), (Point{248, 496})) << "cells of 500 div 8 = 62";
    s.angle = 90;
    s.mirror = true;
    EXPECT_EQ(StrokeTextExtent(s, 0), (Point{-496, -248})) << "turned clockwise, then reflected to the left";
    s.text = "WAVE17";
    for (int32_t angle : {0, 90, 180, 270}) {
        s.angle = angle;
        ObjectList placed[2];
        Point extent[2];
        for (bool mirror : {false, true}) {
            s.mirror = mirror;
            ASSERT_EQ(PlaceStrokeText(placed[mirror], s.text, s, kAt, Layer::K1, 0), 9u) << "nine strokes: A, E, 7 two";
            extent[mirror] = StrokeTextExtent(s, 0);
            const Point e = extent[mirror];
            const Rect box = Rect{kAt.x, kAt.y, kAt.x + e.x, kAt.y + e.y}.normalised();
            for (const auto& o : placed[mirror])
                for (Point p : o->Points)
                    EXPECT_TRUE(p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom)
                        << angle << " " << mirror << ": " << p.x << "," << p.y;
        }
        EXPECT_EQ(extent[true], (Point{-extent[false].x, extent[false].y})) << angle;
        for (size_t i = 0; i < placed[false].size(); ++i) {
            std::vector<Point> reflected;
            for (Point p : placed[false][i].Points)
                reflected.push_back({2 * kAt.x - p.x, p.y});
            const auto& points = placed[true][i].Points;
            EXPECT_EQ(std::vector<Point>(points.begin(), points.end()), reflected) << angle << ": track " << i;
        }
    }
}

// A label fits by what it draws, the letters below the line and the pen
// counted: not by the larger box that follows the pointer. One generated at
// either corner of a board just its size is moved onto it whole, at every angle.
TEST(TrackLabel, ALabelFitsABoardJustItsSize)
{
    for (int32_t angle : {0, 90, 180, 270}) {
        TrackLabelSettings s;
        s.text = "ABCDEFGHIJKLMNOgq";
        s.heightMm = 10;
        s.angle = angle;
        const Point size = TrackLabelSize(s, 0);
        const Point extent = StrokeTextExtent(s, 0);
        ObjectList placed;
        PlaceStrokeText(placed, s.text, s, kAt, Layer::K1, 0);
        const Rect drawn = StrokesBox(placed, 0);
        ASSERT_EQ(size, (Point{drawn.right - drawn.left, drawn.bottom - drawn.top}));
        const bool upright = angle % 180 != 0;
        ASSERT_LT(upright ? size.y : size.x, std::abs(upright ? extent.y : extent.x)) << "the pointer's box is larger";
        EXPECT_TRUE(TrackLabelFits(s, 0, size.x, size.y)) << angle;
        EXPECT_FALSE(TrackLabelFits(s, 0, size.x - 1, size.y)) << angle;
        EXPECT_FALSE(TrackLabelFits(s, 0, size.x, size.y - 1)) << angle;

        for (const bool farCorner : {false, true}) {
            LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
            doc.Working.BoardWidth = size.x;
            doc.Working.BoardHeight = size.y;
            EditSession session;
            int32_t counter = 0;
            const Rect board = doc.Working.boardRect();
            const Point corner = farCorner ? Point{board.right, board.bottom} : Point{board.left, board.top};
            ASSERT_GT(GenerateTrackLabel(session, doc, s, counter, corner, Layer::K1, 0), 0u);
            EXPECT_EQ(StrokesBox(*doc.currentObjects(), 0), board) << angle << " " << farCorner;
        }
    }
}

} // namespace
} // namespace kestrel
