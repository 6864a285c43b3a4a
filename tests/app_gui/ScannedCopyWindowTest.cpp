#include "WindowFixture.h"

#include "output/BmpFile.h"
#include "output/gui/ScanImage.h"
#include "output/gui/ScannedCopyDialog.h"

using namespace kestrel;
using namespace kestrel::test;

namespace {

// 40 x 40 black pixels at 254 dpi: 4 x 4 mm.
void writeDarkScan(const std::string& path)
{
    IndexedImage im;
    im.width = im.height = 40;
    im.dpi = 254;
    im.palette = {0x000000, 0xFFFFFF};
    im.pixels.assign(1600, 0);
    ASSERT_TRUE(succeeded(writeBmp(path, im, Language::English)));
}

// Whether the view shows any pixel of the scan's green.
bool showsGreen(WindowFixture& f)
{
    QApplication::processEvents();
    const QImage shot = f.paintBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto* first = reinterpret_cast<const QRgb*>(shot.constBits());
    const auto* last = first + qsizetype(shot.width()) * shot.height(); // 32-bit rows have no padding
    return std::find(first, last, qRgb(0, 255, 0)) != last;
}

} // namespace

// The copy shows under its own side only, and a board switch loads that
// board's copy or none.
TEST(ScannedCopyWindow, ShownUnderTheActiveSideOfItsBoardOnly)
{
    TempDir dir;
    writeDarkScan(dir.file("scan.bmp"));
    WindowFixture f;
    f.dialogs.push_back([&dir](QDialog& d) {
        static_cast<TVorlageDlg&>(d).LoadScannedCopy(1, q(dir.file("scan.bmp")));
        return ScriptedPrompts::accept(d);
    });
    f.trigger("Vorlage1");
    EXPECT_EQ(f.doc().Working.CopyFile1, dir.file("scan.bmp"));
    EXPECT_TRUE(f.doc().Modified);
    EXPECT_TRUE(showsGreen(f));
    f.trigger("K2");
    EXPECT_FALSE(showsGreen(f)) << "side 1's copy is not drawn under side 2";
    f.trigger("K1");

    f.addBoards(1);
    // The second board names a file that is not there.
    f.doc().Working.CopyOn1 = 1;
    f.doc().Working.CopyFile1 = dir.file("gone.bmp");
    std::tie(f.doc().Working.BoardWidth, f.doc().Working.BoardHeight) = std::pair(5000, 2500);
    f.window().boardTabs().setCurrentIndex(0);
    ScannedCopies& copies = *f.window().findChild<ScannedCopies*>();
    ASSERT_TRUE(copies.loaded(1));
    EXPECT_TRUE(showsGreen(f));
    // Behind the message the window already shows the second board.
    bool looked = false;
    f.onMessage = [&](const ScriptedPrompts::Shown&) {
        looked = true;
        EXPECT_FALSE(showsGreen(f));
        EXPECT_EQ(f.control<QAbstractButton>("SB_Layoutgroesse").text(), "50 x 25 mm");
    };
    f.window().boardTabs().setCurrentIndex(1);
    EXPECT_TRUE(looked);
    EXPECT_FALSE(copies.loaded(1)) << "the first board's picture is not kept";
    EXPECT_FALSE(showsGreen(f));
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_TRUE(f.messages[0].text.startsWith("Error loading scanned-copy-bitmap."));
}
