#include "view/gui/LabelOutlines.h"
#include "view/gui/LabelPainter.h"

#include "edit/Labels.h"
#include "geometry/Geometry.h"
#include "support/TestData.h"
#include "view/gui/BoardPainter.h"
#include "view/gui/FigureSink.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTransform>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace kestrel;

namespace {

constexpr double kZoom = 0.25; // pixels per unit, on the painted board

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

// A board with nothing but the label on it, painted through the pixel writer.
QImage paintAlone(const LayoutObject& label)
{
    BoardSettings settings;
    settings.BoardWidth = 4000, settings.BoardHeight = 3000;
    ObjectList list;
    list.append(LayoutObject(label));
    BoardPaintOptions options = BoardPaintOptions::of(settings);
    options.zoomPxPerUnit = kZoom;
    options.gridVisible = false;
    QImage image(1000, 750, QImage::Format_RGB32);
    QPainter p(&image);
    p.setTransform(boardTransform(kZoom));
    PaintBoard(*makeFigureSink(p, SinkChoice::Fastest), list, options, {0, -3000, 4000, 0});
    return image;
}

// Samples `expected` every `step` units over `box`, at the points where it
// is the same `reach` units each way (in steps of `spacing`): how many were
// compared, and at how many `got` says otherwise.
std::pair<int, int> mismatches(const Region& expected, const Rect& box, int32_t step, int reach, int32_t spacing,
                               const std::function<bool(Point)>& got)
{
    int compared = 0, wrong = 0;
    for (int32_t y = box.top; y <= box.bottom; y += step)
        for (int32_t x = box.left; x <= box.right; x += step) {
            const bool inside = expected.contains({x, y});
            bool sure = true;
            for (int dy = -reach; dy <= reach && sure; ++dy)
                for (int dx = -reach; dx <= reach && sure; ++dx)
                    sure = expected.contains({x + dx * spacing, y + dy * spacing}) == inside;
            if (sure) {
                ++compared;
                wrong += got({x, y}) != inside;
            }
        }
    return {compared, wrong};
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
            const auto [sampled, wrong] = mismatches(expected, box, 3, 2, 1, [&](Point p) { return got.contains(p); });
            compared += sampled;
            EXPECT_EQ(wrong, 0);
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

// At every angle the glyphs lie on the side of the anchor the box does, read
// clockwise on the screen, and stay in the box the hit test, the repaint, the
// plane's clearance and the design check use (a "j" reaches left of its
// advance, and is cut at the box the label tool made); the board is inked
// where the glyphs lie and nowhere else in the box, so the outlines the
// Gerber export takes are what the screen draws.
TEST(LabelBox, TheDrawnGlyphsAreTheOutlinesAndStayInTheBox)
{
    const Point anchor{2000, -1500};
    const int32_t height = LabelFontHeight(300);
    for (int angle : {0, 90, 180, 270}) {
        SCOPED_TRACE(angle);
        const Point e = labelExtent("jWg8|", height, angle);
        const LayoutObject label = makeText(anchor, "jWg8|", angle, height, anchor.x + e.x, anchor.y + e.y, Layer::K1);
        const Rect box = Rect{label.X1, label.Y1, label.X2, label.Y2}.normalised();
        const Rect bounds = BoundingRect(label);
        EXPECT_EQ(bounds.united(box), bounds) << "the box lies within the label's bounds";
        const Region glyphs = Region::fromPolygons(ScreenLabelOutlines().labelContours(label));
        ASSERT_FALSE(glyphs.empty());
        const Rect g = glyphs.bounds();
        EXPECT_EQ(box.united(g), box) << "the glyphs lie within the box";
        // A box from elsewhere, here a unit off the tool's, leaves the glyphs whole.
        LayoutObject foreign = label;
        foreign.X2 += 1;
        EXPECT_NE(Region::fromPolygons(ScreenLabelOutlines().labelContours(foreign)).bounds(), g);
        // The text fills most of its box along the writing direction.
        const bool upright = angle == 0 || angle == 180;
        const int32_t along = upright ? g.right - g.left : g.bottom - g.top;
        EXPECT_GT(along, (upright ? box.right - box.left : box.bottom - box.top) * 2 / 3);

        // Sampled where the glyphs are the same within a pixel and a half each way.
        const QImage image = paintAlone(label);
        const auto [compared, wrong] = mismatches(glyphs, box, 7, 1, 6, [&](Point p) {
            return image.pixel(int(std::floor(p.x * kZoom)), int(std::floor(-p.y * kZoom))) != image.pixel(2, 2);
        });
        EXPECT_GT(compared, 1500);
        EXPECT_LT(wrong, compared / 200) << wrong << " of " << compared;
    }
    // The box does not depend on the screen: a 3 mm label's cell is 4 mm.
    EXPECT_EQ(labelExtent("A", LabelFontHeight(300), 0).y, -400);
}
