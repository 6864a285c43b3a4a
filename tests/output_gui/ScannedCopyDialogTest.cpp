#include "output/BmpFile.h"
#include "output/ScannedCopy.h"
#include "output/gui/ScanImage.h"
#include "output/gui/ScannedCopyDialog.h"
#include "view/gui/BoardPainter.h"
#include "view/gui/PainterSink.h"

#include "support/DialogControls.h"
#include "support/ScriptedPrompts.h"
#include "support/TestData.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// w x h pixels at dpi, the left half black, the rest white.
std::vector<uint8_t> halfDarkBmp(int32_t w, int32_t h, int dpi)
{
    IndexedImage im;
    im.width = w;
    im.height = h;
    im.dpi = dpi;
    im.palette = {0x000000, 0xFFFFFF};
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            im.pixels.push_back(x < w / 2 ? 0 : 1);
    return *encodeBmp(im);
}

struct DialogFixture {
    TempDir dir;
    ScriptedPrompts prompts;
    BoardSettings board;
    ScannedCopies copies;
    TVorlageDlg dialog;
    explicit DialogFixture(Language lang = Language::English) : dialog(lang, prompts, board, copies) {}
    QString write(const char* name, const std::vector<uint8_t>& bytes)
    {
        writeBytes(dir.file(name), bytes);
        return QString::fromStdString(dir.file(name));
    }
};

} // namespace

// Side 1 and the error message of English: tests/app_gui/ScannedCopyWindowTest.cpp.
TEST(ScannedCopyDialog, LoadingTakesTheFileAndItsResolution)
{
    DialogFixture f;
    QSignalSpy changed(&f.dialog, &TVorlageDlg::changed);
    const QString path = f.write("top.bmp", halfDarkBmp(16, 8, 0)); // no resolution in the file
    f.prompts.openNames.push_back(path);
    child<QPushButton>(f.dialog, "B_Suchen").click();
    const CopySide copy = copySide(f.board, 2);
    EXPECT_EQ(std::tuple(copy.file, copy.on, copy.dpi), std::tuple(path.toStdString(), true, 600));
    EXPECT_EQ(child<QSpinBox>(f.dialog, "SE_DPI2").value(), 600);
    EXPECT_EQ(child<QLabel>(f.dialog, "L_Dateiname2").text(), "top.bmp");
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toInt(), 2);
    EXPECT_FALSE(copySide(f.board, 1).on) << "the other side stays as it was";
}

TEST(ScannedCopyDialog, AFailedLoadKeepsTheNameAndTheBitmap)
{
    DialogFixture f(Language::Russian);
    const QString good = f.write("good.bmp", halfDarkBmp(16, 8, 300));
    ASSERT_TRUE(f.dialog.LoadScannedCopy(2, good));
    std::vector<uint8_t> damaged = halfDarkBmp(16, 8, 300);
    damaged[14] = 12; // an information header too short
    for (const QString& bad : {f.write("bad.bmp", damaged), QString::fromStdString(f.dir.file("missing.bmp")),
                               QString(kCopyFileMax + 1, 'x')}) {
        EXPECT_FALSE(f.dialog.LoadScannedCopy(2, bad));
        EXPECT_EQ(copySide(f.board, 2).file, good.toStdString()) << bad.toStdString();
        EXPECT_EQ(f.copies.bitmap(2).width, 16);
        EXPECT_EQ(child<QLabel>(f.dialog, "L_Dateiname2").text(), "good.bmp");
    }
    ASSERT_EQ(f.prompts.messages.size(), 3u);
    EXPECT_TRUE(f.prompts.messages[0].text.startsWith(QString::fromUtf8("Файл фонового рисунка не может быть загружен.")));
    // The reason names the file.
    EXPECT_TRUE(f.prompts.messages[0].text.contains("bad.bmp"));
    EXPECT_TRUE(f.prompts.messages[1].text.contains("missing.bmp"));
}

// The copy lies over the background and under the layers: its dark pixels in
// its colour, the light ones white, moved by its offset.
TEST(ScannedCopyDialog, DrawnUnderTheLayersAtItsPlace)
{
    const auto bitmap = decodeBmp(halfDarkBmp(20, 10, 254), "scan.bmp"); // 10 units a pixel
    ASSERT_TRUE(succeeded(bitmap));
    const QImage scan = twoColourImage(*bitmap, QColor(0, 255, 0));
    const Rect r = scanRectUnits(20, 10, 254, 25, 10); // 2.5 mm right, 1 mm down
    ObjectList objects;
    addTrack(objects, {{0, -200}, {1000, -200}}, 40, 1); // across the copy at y = 20 px
    BoardPaintOptions options;
    options.boardWidth = 1000;
    options.boardHeight = 500;
    options.gridVisible = false;
    options.underlay = &scan;
    options.underlayUnits = QRectF(r.left, r.top, double(r.right) - r.left, double(r.bottom) - r.top);
    QImage image(100, 50, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
        QPainter painter(&image);
        painter.setTransform(boardTransform(0.1));
        PainterSink sink(painter);
        PaintBoard(sink, objects, options, Rect{0, -500, 1000, 0});
    }
    const std::tuple<int, int, QRgb, const char*> probes[] = {
        {30, 12, qRgb(0, 255, 0), "dark half of the copy"},
        {40, 12, qRgb(255, 255, 255), "light half"},
        {30, 20, qRgb(0, 0, 0), "the track lies on top"},
        {26, 10, qRgb(0, 255, 0), "the copy's top-left pixel"},
        {25, 9, BoardColours::Board.rgb(), "above and left of it"},
    };
    for (const auto& [x, y, colour, why] : probes)
        EXPECT_EQ(QColor(image.pixel(x, y)), QColor(colour)) << why;
}
