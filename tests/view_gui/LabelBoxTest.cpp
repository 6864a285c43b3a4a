#include "edit/Labels.h"
#include "geometry/Geometry.h"
#include "support/TestData.h"
#include "view/gui/BoardPainter.h"
#include "view/gui/FigureSink.h"
#include "view/gui/LabelPainter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

using namespace kestrel;

namespace {

constexpr double kZoom = 0.25; // pixels per unit

// The pixels of a painted board that are not the board's colour, as a
// board rectangle (y up), or nothing.
std::optional<Rect> inkOn(const LayoutObject& label)
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
    p.end();
    const QRgb board = image.pixel(2, 2);
    std::optional<Rect> ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != board) {
                const Rect px{static_cast<int32_t>(x / kZoom), static_cast<int32_t>(-(y + 1) / kZoom),
                              static_cast<int32_t>((x + 1) / kZoom), static_cast<int32_t>(-y / kZoom)};
                ink = ink ? ink->united(px) : px;
            }
    return ink;
}

} // namespace

// The text is written on the side its box lies at every angle, read
// clockwise on the screen, and what is drawn stays in the box the hit test
// and the repaint use.
TEST(LabelBox, TheTextStaysInsideItsBoxAtEveryAngle)
{
    const Point anchor{2000, -1500};
    for (int angle : {0, 90, 180, 270}) {
        const int32_t height = LabelFontHeight(300);
        const Point e = labelExtent("Wg8|", height, angle);
        const LayoutObject label = makeText(anchor, "Wg8|", angle, height, anchor.x + e.x, anchor.y + e.y, Layer::K1);
        const Rect box = Rect{label.X1, label.Y1, label.X2, label.Y2}.normalised();
        const auto ink = inkOn(label);
        ASSERT_TRUE(ink) << angle << ": nothing drawn";
        const int32_t slack = static_cast<int32_t>(std::ceil(1 / kZoom)); // one pixel
        EXPECT_GE(ink->left, box.left - slack) << angle;
        EXPECT_LE(ink->right, box.right + slack) << angle;
        EXPECT_GE(ink->top, box.top - slack) << angle;
        EXPECT_LE(ink->bottom, box.bottom + slack) << angle;
        // The text fills most of its box along the writing direction.
        const bool upright = angle == 0 || angle == 180;
        const int32_t inkAlong = upright ? ink->right - ink->left : ink->bottom - ink->top;
        const int32_t boxAlong = upright ? box.right - box.left : box.bottom - box.top;
        EXPECT_GT(inkAlong, boxAlong * 2 / 3) << angle;
        const Rect bounds = BoundingRect(label);
        EXPECT_TRUE(bounds.left <= box.left && bounds.right >= box.right && bounds.top <= box.top &&
                    bounds.bottom >= box.bottom)
            << angle;
    }
    // The box does not depend on the screen: a 3 mm label's cell is 4 mm.
    EXPECT_EQ(labelExtent("A", LabelFontHeight(300), 0).y, -400);
}
