#include "view/gui/FigureSink.h"

#include "view/gui/BoardPainter.h"
#include "view/gui/PixelSink.h"

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace kestrel;

namespace {

bool writesPixels(QPainter& painter, SinkChoice choice = SinkChoice::Fastest)
{
    return dynamic_cast<PixelSink*>(makeFigureSink(painter, choice).get()) != nullptr;
}

} // namespace

TEST(FigureSink, ThePixelWriterOnlyWhereItGivesThePaintersPixels)
{
    struct Case {
        const char* what;
        QImage::Format format;
        qreal devicePixelRatio;
        bool antialiased, rotated;
        bool pixels;
    } cases[] = {
        {"RGB32", QImage::Format_RGB32, 1, false, false, true},
        {"ARGB32 premultiplied", QImage::Format_ARGB32_Premultiplied, 1, false, false, true},
        {"a scaled screen's buffer", QImage::Format_RGB32, 2, false, false, true},
        {"a fractionally scaled buffer", QImage::Format_RGB32, 1.5, false, false, true},
        {"16-bit image", QImage::Format_RGB16, 1, false, false, false},
        {"antialiased", QImage::Format_RGB32, 1, true, false, false},
        {"rotated", QImage::Format_RGB32, 1, false, true, false},
    };
    for (const Case& k : cases) {
        QImage image(64, 48, k.format);
        image.setDevicePixelRatio(k.devicePixelRatio);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, k.antialiased);
        p.setTransform(k.rotated ? QTransform().rotate(90) : boardTransform(0.1));
        EXPECT_EQ(writesPixels(p), k.pixels) << k.what;
        EXPECT_FALSE(writesPixels(p, SinkChoice::Painter)) << k.what;
    }
    QPicture picture;
    QPainter p(&picture);
    EXPECT_FALSE(writesPixels(p)) << "a recorded picture";
}

TEST(FigureSink, AScaledBufferIsWrittenAtDeviceResolution)
{
    // A pad of radius 100 and a rubber band on a board shown at 0.1 logical
    // pixels per unit, in a buffer of two device pixels per logical one.
    ObjectList list;
    LayoutObject& a = list.append(makePad({300, -300}, 100, 3, 1, 0));
    LayoutObject& b = list.append(makePad({1500, -300}, 100, 3, 1, 0));
    a.Connections.push_back(&b);
    BoardPaintOptions options;
    options.boardWidth = 2000, options.boardHeight = 1000;
    options.gridVisible = false;
    QImage image(400, 200, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    QPainter p(&image);
    p.setTransform(boardTransform(0.1));
    const std::unique_ptr<FigureSink> sink = makeFigureSink(p);
    ASSERT_TRUE(dynamic_cast<PixelSink*>(sink.get()));
    PaintBoard(*sink, list, options, Rect{0, -1000, 2000, 0});
    p.end();
    const QColor pad = BoardColours::Copper, band = BoardColours::Marks;
    // The square spans 20 device pixels either side of its centre at (60, 60).
    EXPECT_EQ(image.pixelColor(41, 60), pad);
    EXPECT_EQ(image.pixelColor(78, 79), pad);
    EXPECT_NE(image.pixelColor(81, 60), pad);
    EXPECT_NE(image.pixelColor(38, 60), pad);
    int bandRows = 0;
    for (int y = 40; y < 80; ++y)
        bandRows += image.pixelColor(150, y) == band;
    EXPECT_EQ(bandRows, 1) << "one device pixel wide, not one logical pixel";
}

// The switch is read once, when the program starts: a child process started
// with it set gets the painter, while setting it later changes nothing here.
TEST(FigureSinkDeathTest, KestrelPainterQtTurnsThePixelWriterOff)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("KESTREL_PAINTER", "qt", 1);
    EXPECT_EXIT(
        {
            QImage image(64, 48, QImage::Format_RGB32);
            QPainter p(&image);
            std::exit(writesPixels(p) ? 1 : 0);
        },
        testing::ExitedWithCode(0), "");
    QImage image(64, 48, QImage::Format_RGB32);
    QPainter p(&image);
    EXPECT_TRUE(writesPixels(p)) << "set after the start";
    unsetenv("KESTREL_PAINTER");
}
