#include "view/gui/PixelLines.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <random>

using namespace kestrel;

namespace {

QImage blank(QImage::Format format = QImage::Format_RGB32)
{
    QImage image(120, 100, format);
    image.fill(Qt::white);
    return image;
}

int blackPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == Qt::black;
    return n;
}

} // namespace

TEST(PixelLines, MatchesThePainterOnRandomSegments)
{
    // The same square-ended segments drawn by Qt into an image format the pixel writer does not take.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-10, 130), width(0.5, 3.0);
    for (int round = 0; round < 20; ++round) {
        const QLineF line(coord(rng), coord(rng), coord(rng), coord(rng));
        const double w = width(rng);
        QImage fast = blank();
        QImage reference = blank(QImage::Format_RGB888);
        {
            QPainter p(&fast);
            PixelLines::forPainter(p, Qt::black)->drawSegment(line, w);
        }
        {
            QPainter p(&reference);
            ASSERT_FALSE(PixelLines::forPainter(p, Qt::black));
            p.setPen(QPen(Qt::black, std::max(w, 1.0), Qt::SolidLine, Qt::SquareCap));
            p.drawLine(line);
        }
        const int drawn = blackPixels(reference);
        int differing = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 120; ++x)
                differing += (fast.pixelColor(x, y) == Qt::black) != (reference.pixelColor(x, y) == Qt::black);
        EXPECT_LE(differing, std::max(6, drawn / 4)) << "segment " << round << " width " << w;
    }
}

TEST(PixelLines, StaysInsideTheClipAndTheImage)
{
    QImage image = blank();
    {
        QPainter p(&image);
        p.setClipRect(QRect(20, 20, 30, 30));
        auto lines = PixelLines::forPainter(p, Qt::black);
        ASSERT_TRUE(lines);
        lines->drawSegment(QLineF(0, 35, 119, 35), 2);
        lines->drawSegment(QLineF(-1e9, -1e9, 1e9, 1e9), 1); // far outside int range
    }
    EXPECT_EQ(blackPixels(image), blackPixels(image.copy(20, 20, 30, 30))) << "nothing outside the clip";
    EXPECT_EQ(image.pixelColor(25, 35), Qt::black);
    EXPECT_EQ(image.pixelColor(30, 30), Qt::black) << "the diagonal";
}

TEST(PixelLines, OnlyWhereThePainterWouldGiveTheSamePixels)
{
    QImage image = blank();
    QPainter p(&image);
    EXPECT_TRUE(PixelLines::forPainter(p, Qt::black));
    EXPECT_FALSE(PixelLines::forPainter(p, QColor(0, 0, 0, 128))) << "translucent";
    p.setTransform(QTransform().rotate(30));
    EXPECT_FALSE(PixelLines::forPainter(p, Qt::black)) << "rotated";
    p.resetTransform();
    p.setRenderHint(QPainter::Antialiasing);
    EXPECT_FALSE(PixelLines::forPainter(p, Qt::black)) << "antialiased";
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRegion(QRegion(0, 0, 10, 10) + QRegion(50, 50, 10, 10));
    EXPECT_FALSE(PixelLines::forPainter(p, Qt::black)) << "clip of several rectangles";
}
