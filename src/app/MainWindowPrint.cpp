// Bitmap export, scanned copy and printing: the commands of the printing
// and images subsystem, bound by name to the command table's rows.

#include "app/MainWindow.h"

#include "output/ScannedCopy.h"
#include "output/gui/BitmapExportDialog.h"
#include "output/gui/PrintCommand.h"
#include "output/gui/PrintRender.h"
#include "output/gui/PrintSession.h"
#include "output/gui/ScanImage.h"
#include "output/gui/ScannedCopyDialog.h"
#include "view/gui/BoardView.h"

namespace kestrel {

void MainWindow::definePrintHandlers()
{
    scans_ = new ScannedCopies(this);
    handlers_["N1Click"] = [this](int) { runBitmapExport(this, doc_, lang_, prompts_); };
    handlers_["Vorlage1Click"] = [this](int) { runScannedCopyDialog(); };
    printing_ = new PrintSession(this);
    handlers_["SB_PrintClick"] = [this](int) { printBoard(); };
    handlers_["Druckereinrichten1Click"] = [this](int) { runPrinterSetup(this, *printing_, prompts_); };
}

void MainWindow::printBoard()
{
    const ObjectList* objects = doc_.currentObjects();
    if (!objects)
        return;
    PrintJob job;
    job.objects = objects;
    job.boardWidth = doc_.Working.BoardWidth;
    job.boardHeight = doc_.Working.BoardHeight;
    job.groundPlane1 = doc_.Working.GroundPlane1 != 0;
    job.groundPlane2 = doc_.Working.GroundPlane2 != 0;
    for (const int side : {1, 2}) {
        if (!scans_->loaded(side))
            continue;
        const CopySide copy = copySide(doc_.Working, side);
        const TwoColourBitmap& bitmap = scans_->bitmap(side);
        const Rect r = scanRectUnits(bitmap.width, bitmap.height, copy.dpi, copy.offsetX, copy.offsetY);
        job.scans[static_cast<size_t>(side - 1)] = scans_->image(side, Qt::black);
        job.scanUnits[static_cast<size_t>(side - 1)] = QRectF(r.left, r.top, double(r.right) - r.left, double(r.bottom) - r.top);
    }
    printing_->options.side1 = doc_.Working.ActiveLayer < 3;
    job.options = printing_->options;
    runPrintCommand(this, job, *printing_, lang_, prompts_, existingLastDirectory(), doc_.FileName);
}

void MainWindow::runScannedCopyDialog()
{
    TVorlageDlg dialog(lang_, prompts_, doc_.Working, *scans_, this);
    connect(&dialog, &TVorlageDlg::changed, this, [this](int side) {
        showScannedCopy(side);
        doc_.Modified = true;
        updateTitle();
    });
    prompts_.runDialog(dialog);
}

void MainWindow::loadBoardScannedCopies()
{
    // Both sides are shown before a message says what failed: the window
    // behind the message shows this board, never the previous one's picture.
    QStringList failures;
    for (const int side : {1, 2}) {
        const CopySide copy = copySide(doc_.Working, side);
        if (copy.file.empty()) {
            scans_->clear(side);
        } else {
            const auto path = usableCopyPath(copy.file, lang_);
            const Status loaded = path ? scans_->load(side, *path, lang_) : path.status();
            if (!loaded) {
                scans_->clear(side);
                if (copy.on)
                    failures << QString::fromUtf8(kestrel::tr(lang_, "Файл фонового рисунка не может быть загружен.",
                                                              side == 1 ? "Error loading scanned-copy-bitmap."
                                                                        : "Error loading file.")) +
                                    "\n\n" + QString::fromStdString(loaded.message());
            }
        }
        showScannedCopy(side);
    }
    for (const QString& failure : failures)
        prompts_.message(this, "Kestrel", failure, Prompts::Icon::Error);
}

void MainWindow::showScannedCopy(int side)
{
    const CopySide copy = copySide(doc_.Working, side);
    QImage image;
    QRectF units;
    if (copy.on && scans_->loaded(side)) {
        const TwoColourBitmap& bitmap = scans_->bitmap(side);
        image = scans_->image(side, QColor(copy.colour >> 16 & 0xFF, copy.colour >> 8 & 0xFF, copy.colour & 0xFF));
        const Rect r = scanRectUnits(bitmap.width, bitmap.height, copy.dpi, copy.offsetX, copy.offsetY);
        units = QRectF(r.left, r.top, double(r.right) - r.left, double(r.bottom) - r.top);
    }
    view_->setScannedCopy(side - 1, image, units);
}

} // namespace kestrel
