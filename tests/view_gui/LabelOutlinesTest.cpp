#include "view/gui/LabelOutlines.h"
#include "view/gui/LabelPainter.h"

#include <QPainterPath>
#include <QRawFont>
#include <QTransform>
#include <gtest/gtest.h>

#include <cmath>

using namespace kestrel;

namespace {

// The label's outline made in one piece: every glyph placed in the text,
// the whole turned and moved to the anchor, then rounded and filled.
Region wholeLabel(const LayoutObject& label)
{
    QPainterPath path;
    for (const QGlyphRun& run : labelGlyphs(label.TextValue, drawnCellHeight(label))) {
        const QRawFont font = run.rawFont();
        for (qsizetype i = 0; i < run.glyphIndexes().size(); ++i)
            path.addPath(font.pathForGlyph(run.glyphIndexes()[i]).translated(run.positions()[i]));
    }
    QTransform frame;
    frame.translate(label.X1, label.Y1);
    frame.scale(1, -1);
    frame.rotate(label.Angle);
    std::vector<Polygon> polygons;
    for (const QPolygonF& contour : frame.map(path).toSubpathPolygons()) {
        Polygon& p = polygons.emplace_back();
        for (const QPointF& q : contour)
            p.push_back({static_cast<int32_t>(std::lround(q.x())), static_cast<int32_t>(std::lround(q.y()))});
    }
    return Region::fromPolygons(polygons);
}

// What a Gerber reader makes of the contours: each filled on its own, the
// fills put together.
Region asGerberRegions(const std::vector<Polygon>& contours)
{
    Region all;
    for (const Polygon& c : contours)
        all = all.united(Region::fromPolygon(c));
    return all;
}

} // namespace

// Glyphs are made once per font, size and angle and moved into place, so
// repeated glyphs, odd angles, angles past a turn and both sizes must all
// come out where the whole label lies, holes open, within the unit each
// glyph's rounding may move it.
TEST(LabelOutlines, GlyphsPlacedOneByOneMakeTheWholeLabel)
{
    const ScreenLabelOutlines source;
    int compared = 0;
    for (int32_t height : {40, 150})
        for (int angle : {0, 30, 90, 215, -90, 450}) {
            SCOPED_TRACE(testing::Message() << "height " << height << ", angle " << angle);
            const LayoutObject label = makeText({1003, -2001}, "B88e 8", angle, height, 0, 0, Layer::B1);
            const Region expected = wholeLabel(label);
            const Region got = asGerberRegions(source.labelContours(label));
            ASSERT_FALSE(expected.empty());
            const Rect box = expected.bounds();
            int mismatches = 0;
            for (int32_t y = box.top; y <= box.bottom; y += 3)
                for (int32_t x = box.left; x <= box.right; x += 3) {
                    const bool inside = expected.contains({x, y});
                    bool sure = true; // the same two units each way
                    for (int d = 0; d < 25 && sure; ++d)
                        sure = expected.contains({x + d % 5 - 2, y + d / 5 - 2}) == inside;
                    if (sure) {
                        ++compared;
                        mismatches += got.contains({x, y}) != inside;
                    }
                }
            EXPECT_EQ(mismatches, 0);
            EXPECT_LE(got.bounds().left, box.left + 1);
            EXPECT_GE(got.bounds().right, box.right - 1);
        }
    EXPECT_GT(compared, 5000);
}

// A damaged file may hold labels up to 1 m high, of either sign; the font
// engine fails far below that, so they are made at the largest drawn height.
TEST(LabelOutlines, HugeLabelsAreMadeAtTheLargestDrawnHeight)
{
    const ScreenLabelOutlines source;
    const LayoutObject largest = makeText({0, 0}, "J1", 0, kMaxLabelCellHeight, 0, 0, Layer::B1);
    const Rect expected = asGerberRegions(source.labelContours(largest)).bounds();
    ASSERT_GT(expected.bottom - expected.top, kMaxLabelCellHeight / 2);
    for (int32_t height : {74000, 100000, -100000}) {
        SCOPED_TRACE(height);
        const LayoutObject label = makeText({0, 0}, "J1", 0, height, 0, 0, Layer::B1);
        EXPECT_EQ(asGerberRegions(source.labelContours(label)).bounds(), expected);
    }
}
