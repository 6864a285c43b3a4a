#include "edit/gui/PreviewPainter.h"

#include <QImage>
#include <gtest/gtest.h>

namespace kestrel {
namespace {

// The stroke font's dots are strokes of two equal points: the label that
// follows the pointer shows them as dots as wide as the pen.
TEST(PreviewPainter, AStrokeOfEqualPointsIsADot)
{
    for (const std::vector<Point>& points : {std::vector<Point>{{500, -500}}, {{500, -500}, {500, -500}}}) {
        SCOPED_TRACE(points.size());
        Previews previews;
        previews.figure(PreviewKind::TrackLabel).strokes = {{points, 100, false}};
        previews.draw(PreviewKind::TrackLabel);
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        DrawPreviews(image, QTransform(0.1, 0, 0, -0.1, 0, 0), previews);
        EXPECT_EQ(image.pixelColor(50, 50), QColor(Qt::black)) << "white inverted under the dot";
        EXPECT_EQ(image.pixelColor(53, 50), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(57, 50), QColor(Qt::white)) << "no wider than the pen";
    }
}

} // namespace
} // namespace kestrel
