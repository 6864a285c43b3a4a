#include "view/gui/FigureSink.h"

#include "view/gui/BoardPainter.h"
#include "view/gui/PixelSink.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace kestrel;

namespace {

bool writesPixels(QPainter& painter, SinkChoice choice = SinkChoice::Fastest)
{
    return dynamic_cast<PixelSink*>(makeFigureSink(painter, choice).get()) != nullptr;
}

} // namespace

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
