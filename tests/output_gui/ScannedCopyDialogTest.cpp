#include "output/BmpFile.h"
#include "output/ScannedCopy.h"
#include "output/gui/ScanImage.h"
#include "output/gui/ScannedCopyDialog.h"

#include "support/DialogControls.h"
#include "support/ScriptedPrompts.h"
#include "support/TestData.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// Dark where (x + 2 y) is a multiple of 5.
bool drawn(int32_t x, int32_t y) { return (x + 2 * y) % 5 == 0; }

// w x h pixels of that pattern at dpi.
std::vector<uint8_t> patternBmp(int32_t w, int32_t h, int dpi)
{
    IndexedImage im;
    im.width = w;
    im.height = h;
    im.dpi = dpi;
    im.palette = {0x000000, 0xFFFFFF};
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            im.pixels.push_back(drawn(x, y) ? 0 : 1);
    return *encodeBmp(im, Language::English);
}

} // namespace

// The dialog opens on the page of the active layer's side.
TEST(ScannedCopyDialog, OpensOnTheActiveSide)
{
    ScriptedPrompts prompts;
    ScannedCopies copies;
    for (const uint32_t layer : {1u, 2u, 3u, 4u}) {
        BoardSettings board;
        board.ActiveLayer = layer;
        TVorlageDlg dialog(Language::English, prompts, board, copies);
        const auto& pages = child<QTabWidget>(dialog, "PageControl1");
        EXPECT_EQ(pages.tabText(pages.currentIndex()), layer < 3 ? "Board side 1" : "Board side 2") << layer;
    }
}

// Side 1 and the error message of English: tests/app_gui/ScannedCopyWindowTest.cpp.
// A failed load keeps the name and the bitmap of the last good one.
TEST(ScannedCopyDialog, LoadingTakesTheFileAndItsResolution)
{
    TempDir dir;
    ScriptedPrompts prompts;
    BoardSettings board;
    ScannedCopies copies;
    TVorlageDlg dialog(Language::Russian, prompts, board, copies);
    writeBytes(dir.file("top.bmp"), patternBmp(13, 5, 0)); // no resolution in the file
    prompts.openNames.push_back(QString::fromStdString(dir.file("top.bmp")));
    child<QPushButton>(dialog, "B_Suchen").click();
    const CopySide copy = copySide(board, 2);
    EXPECT_EQ(std::tuple(copy.file, copy.on, copy.dpi), std::tuple(dir.file("top.bmp"), true, 600));
    EXPECT_EQ(child<QSpinBox>(dialog, "SE_DPI2").value(), 600);
    EXPECT_FALSE(copySide(board, 1).on) << "the other side stays as it was";
    // Kept as a one-bit image holding the file's pixels row for row, at a width
    // that is no whole number of bytes, drawn in the colour asked for; no byte a pixel stays.
    const QImage green = copies.image(2, Qt::green);
    ASSERT_EQ(std::tuple(green.format(), green.width(), green.height()), std::tuple(QImage::Format_Mono, 13, 5));
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 13; ++x)
            EXPECT_EQ(green.pixelColor(x, y), drawn(x, y) ? QColor(Qt::green) : QColor(Qt::white)) << x << ", " << y;
    EXPECT_EQ(copies.image(2, Qt::black).pixelColor(0, 0), QColor(Qt::black));
    EXPECT_TRUE(copies.bitmap(2).bits.empty());

    std::vector<uint8_t> damaged = patternBmp(13, 5, 300);
    damaged[14] = 12; // an information header too short
    writeBytes(dir.file("bad.bmp"), damaged);
    for (const std::string& bad : {dir.file("bad.bmp"), dir.file("missing.bmp"), std::string(kCopyFileMax + 1, 'x')}) {
        EXPECT_FALSE(dialog.LoadScannedCopy(2, QString::fromStdString(bad)));
        EXPECT_EQ(copySide(board, 2).file, dir.file("top.bmp")) << bad;
        EXPECT_EQ(copies.bitmap(2).width, 13);
        EXPECT_EQ(child<QLabel>(dialog, "L_Dateiname2").text(), "top.bmp");
    }
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_TRUE(prompts.messages[0].text.startsWith(QString::fromUtf8("Файл фонового рисунка не может быть загружен.")));
    EXPECT_TRUE(prompts.messages[0].text.contains("bad.bmp")) << "the reason names the file";
}
