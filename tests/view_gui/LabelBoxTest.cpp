#include "edit/Labels.h"
#include "geometry/Geometry.h"
#include "support/TestData.h"
#include "view/gui/BoardPainter.h"
#include "view/gui/FigureSink.h"
#include "view/gui/LabelOutlines.h"
#include "view/gui/LabelPainter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

using namespace kestrel;

namespace {

constexpr double kZoom = 0.25; // pixels per unit

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

bool inkedAt(const QImage& image, Point p)
{
    return image.pixel(int(std::floor(p.x * kZoom)), int(std::floor(-p.y * kZoom))) != image.pixel(2, 2);
}

bool within(const Rect& inner, const Rect& outer, int32_t slack)
{
    return inner.left >= outer.left - slack && inner.right <= outer.right + slack && inner.top >= outer.top - slack &&
           inner.bottom <= outer.bottom + slack;
}

} // namespace

// At every angle the glyphs lie on the side of the anchor the box does, read
// clockwise on the screen, and stay in the box the hit test and the repaint
// use; the board is inked where the glyphs lie and nowhere else in the box,
// so the outlines the Gerber export takes are what the screen draws.
TEST(LabelBox, TheDrawnGlyphsAreTheOutlinesAndStayInTheBox)
{
    const Point anchor{2000, -1500};
    const int32_t height = LabelFontHeight(300);
    const int32_t onePixel = static_cast<int32_t>(std::ceil(1 / kZoom));
    for (int angle : {0, 90, 180, 270}) {
        SCOPED_TRACE(angle);
        const Point e = labelExtent("Wg8|", height, angle);
        const LayoutObject label = makeText(anchor, "Wg8|", angle, height, anchor.x + e.x, anchor.y + e.y, Layer::K1);
        const Rect box = Rect{label.X1, label.Y1, label.X2, label.Y2}.normalised();
        EXPECT_TRUE(within(box, BoundingRect(label), 0));
        const Region glyphs = Region::fromPolygons(ScreenLabelOutlines().labelContours(label));
        ASSERT_FALSE(glyphs.empty());
        const Rect g = glyphs.bounds();
        EXPECT_TRUE(within(g, box, onePixel));
        // The text fills most of its box along the writing direction.
        const bool upright = angle == 0 || angle == 180;
        const int32_t along = upright ? g.right - g.left : g.bottom - g.top;
        EXPECT_GT(along, (upright ? box.right - box.left : box.bottom - box.top) * 2 / 3);

        const QImage image = paintAlone(label);
        int compared = 0, mismatches = 0;
        for (int32_t y = box.top; y < box.bottom; y += 7) {
            for (int32_t x = box.left; x < box.right; x += 7) {
                const bool inside = glyphs.contains({x, y});
                bool sure = true; // the same within a pixel and a half each way
                for (int d = 0; d < 9 && sure; ++d)
                    sure = glyphs.contains({x + (d % 3 - 1) * 6, y + (d / 3 - 1) * 6}) == inside;
                if (sure) {
                    ++compared;
                    mismatches += inkedAt(image, {x, y}) != inside;
                }
            }
        }
        EXPECT_GT(compared, 1500);
        EXPECT_LT(mismatches, compared / 200) << mismatches << " of " << compared;
    }
    // The box does not depend on the screen: a 3 mm label's cell is 4 mm.
    EXPECT_EQ(labelExtent("A", LabelFontHeight(300), 0).y, -400);
}
