#include "view/gui/LabelOutlines.h"
#include "view/gui/LabelPainter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

using namespace kestrel;

// The outlines the Gerber export draws are the glyphs the screen draws:
// inside the label's box (advance x cell height, turned about the anchor),
// and lit exactly where the screen's drawing is, away from the edges.
TEST(LabelOutlines, MatchTheScreensGlyphsAndBox)
{
    const Point anchor{3000, -3000};
    const int32_t cell = 300;
    const std::string text = "Kestrel 42";
    const double advance = QFontMetricsF(arialWithCellHeight(cell, true)).horizontalAdvance(QString::fromStdString(text));
    for (int32_t degrees : {0, 90, 180, 30}) {
        const LayoutObject label = makeText(anchor, text, degrees, cell, 0, 0, Layer::B1);
        const Region glyphs = Region::fromPolygons(ScreenLabelOutlines().labelOutline(label));
        ASSERT_FALSE(glyphs.empty()) << degrees;

        // The box's corners in board units: along the text, then down the cell.
        const double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a);
        double left = anchor.x, right = anchor.x, bottom = anchor.y, top = anchor.y;
        for (auto [u, v] : {std::pair{advance, 0.0}, {0.0, double(cell)}, {advance, double(cell)}}) {
            const double x = anchor.x + u * c + v * s, y = anchor.y + u * s - v * c;
            left = std::min(left, x), right = std::max(right, x), bottom = std::min(bottom, y), top = std::max(top, y);
        }
        const Rect b = glyphs.bounds();
        EXPECT_TRUE(b.left >= left - 2 && b.right <= right + 2 && b.top >= bottom - 2 && b.bottom <= top + 2)
            << degrees << ": glyphs " << b.left << ".." << b.right << " x " << b.top << ".." << b.bottom;
        EXPECT_GT(glyphs.area(), 0.15 * advance * cell) << degrees;

        // The screen's drawing at one pixel per unit.
        const int margin = 20, w = int(right - left) + 2 * margin, h = int(top - bottom) + 2 * margin;
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.setTransform(QTransform(1, 0, 0, -1, margin - left, top + margin));
            drawLabel(p, label, Qt::black);
        }
        int compared = 0, mismatches = 0;
        for (int32_t y = int32_t(bottom); y < top; y += 7) {
            for (int32_t x = int32_t(left); x < right; x += 7) {
                const bool inside = glyphs.contains({x, y});
                bool sure = true;
                for (int d = 0; d < 9 && sure; ++d)
                    sure = glyphs.contains({x + (d % 3 - 1) * 3, y + (d / 3 - 1) * 3}) == inside;
                const int px = int(std::floor(x + margin - left)), py = int(std::floor(top + margin - y));
                if (!sure || px < 0 || py < 0 || px >= w || py >= h)
                    continue;
                ++compared;
                mismatches += (qGray(image.pixel(px, py)) < 128) != inside;
            }
        }
        EXPECT_GT(compared, 1500) << degrees;
        EXPECT_LT(mismatches, compared / 200) << degrees << ": " << mismatches << " of " << compared;
    }
}
