#include "output/gui/PrintCommand.h"

#include "output/gui/PrintDialog.h"
#include "output/gui/PrintSession.h"

#include <QPageSetupDialog>

namespace kestrel {

bool runPrintCommand(QWidget* parent, PrintJob& job, PrintSession& session, Language lang, Prompts& prompts,
                     const QString& startDirectory, const std::string& layoutFile)
{
    // A printer chosen last time may have gone since.
    session.chooseTarget(session.target());
    TPrint_Dlg dialog(lang, prompts, session, job, parent);
    dialog.setWindowState(Qt::WindowMaximized);
    if (!prompts.runDialog(dialog))
        return false;
    job.options = session.options;
    // Refused before a PDF's name is asked for.
    if (Status onPage = checkBoardOnPage(session, job, lang); !onPage) {
        prompts.message(parent, "Kestrel", QString::fromStdString(onPage.message()), Prompts::Icon::Error);
        return false;
    }
    // Part of the board printed is seldom what is wanted: asked before paper
    // or a file name is spent on it.
    const QSizeF page = session.pageSizeMm();
    if (boardOnPage(job.options, page.width(), page.height(), job.boardWidth, job.boardHeight) ==
            BoardOnPage::Partly &&
        prompts.ask(parent, "Kestrel",
                    QString::fromUtf8(tr(lang, "Часть платы лежит вне страницы и не будет напечатана. Печатать?",
                                         "Part of the board lies off the page and will not be printed. Print?")),
                    Prompts::Buttons::OkCancel, Prompts::Icon::Question) != Prompts::Answer::Ok)
        return false;
    if (session.targetIsPdf()) {
        const auto path = exportFileName(prompts, parent, "Kestrel", layoutFile, startDirectory, "PDF (*.pdf)|*.pdf", "pdf", lang);
        if (!path)
            return false;
        session.printer().setOutputFileName(*path);
    }
    const Status printed = printPage(session, job, lang);
    if (!printed)
        prompts.message(parent, "Kestrel", QString::fromStdString(printed.message()), Prompts::Icon::Error);
    return printed.ok();
}

void runPrinterSetup(QWidget* parent, PrintSession& session, Prompts& prompts)
{
    session.chooseTarget(session.target());
    QPageSetupDialog dialog(&session.printer(), parent);
    dialog.setObjectName("PageSetupDlg");
    prompts.runDialog(dialog);
}

} // namespace kestrel
