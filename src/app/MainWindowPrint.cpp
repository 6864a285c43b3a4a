// Bitmap export, scanned copy and printing: the commands of the printing
// and images subsystem, bound by name to the command table's rows.

#include "app/MainWindow.h"

#include "output/gui/BitmapExportDialog.h"

namespace kestrel {

void MainWindow::definePrintHandlers()
{
    handlers_["N1Click"] = [this](int) { runBitmapExport(this, doc_, lang_, prompts_); };
}

} // namespace kestrel
