// The macro preview and the tools' pointers on a screen scaled to 200%:
// drawn in device pixels, not blown up from half their resolution.

#include "app/MacroPreviewBox.h"
#include "edit/gui/PointerCursors.h"
#include "support/TestData.h"

#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace kestrel;

namespace {

// Run in a process started with QT_SCALE_FACTOR=2: the number of faults
// found, each named on stderr.
int scaledPreviewFaults()
{
    int faults = 0;
    auto check = [&](bool ok, const char* what) {
        if (!ok) {
            std::fprintf(stderr, "%s\n", what);
            ++faults;
        }
    };
    ObjectList macro;
    test::addPad(macro, {1000, -1000}, 400); // a disc: its rim is round only at full resolution
    MacroPreviewBox box(macro, [] { return Point{0, 0}; }, [] { return new QMimeData; }, nullptr);
    box.resize(150, 150);
    box.show();
    QApplication::processEvents();
    const QImage shot = box.grab().toImage();
    check(shot.width() == 300 && shot.height() == 300, "grabbed in device pixels");
    // Half resolution blown up repeats every row: rows 2k and 2k+1 alike.
    bool rowsDiffer = false;
    for (int y = 0; y + 1 < shot.height() && !rowsDiffer; y += 2)
        for (int x = 0; x < shot.width() && !rowsDiffer; ++x)
            rowsDiffer = shot.pixel(x, y) != shot.pixel(x, y + 1);
    check(rowsDiffer, "the preview is drawn at device resolution");

    const QCursor lupe = pointerCursor(PointerCursor::Lupe, box.devicePixelRatioF());
    check(lupe.pixmap().size() == QSize(64, 64), "the zoom pointer is drawn for the scaled screen");
    check(lupe.hotSpot() == QPoint(24, 24), "its hot spot stays on the glass");
    return faults;
}

} // namespace

TEST(ScaledScreenDeathTest, MacroPreviewAndPointersAreDrawnAtDeviceResolution)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("QT_SCALE_FACTOR", "2", 1);
    EXPECT_EXIT(std::exit(scaledPreviewFaults()), testing::ExitedWithCode(0), "");
    unsetenv("QT_SCALE_FACTOR");
}
