#include "view/gui/FigureSink.h"

#include "view/gui/PixelSink.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace kestrel;

// A program started with the switch set gets the painter where it would
// otherwise write pixels (as PixelLines.FillsFiguresAsThePainterDoes finds).
TEST(FigureSinkDeathTest, KestrelPainterQtTurnsThePixelWriterOff)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("KESTREL_PAINTER", "qt", 1);
    EXPECT_EXIT(
        {
            QImage image(64, 48, QImage::Format_RGB32);
            QPainter p(&image);
            std::exit(dynamic_cast<PixelSink*>(makeFigureSink(p).get()) ? 1 : 0);
        },
        testing::ExitedWithCode(0), "");
    unsetenv("KESTREL_PAINTER");
}
