#pragma once
// The print commands: the print dialog followed by the printout, and the
// printer setup of the file menu.

#include "model/Language.h"
#include "model/gui/Prompts.h"

#include <string>

class QWidget;

namespace kestrel {

class PrintSession;
struct PrintJob;

// Shows the print dialog for `job` (the side already chosen in the session's
// options) and prints when it closes with OK; a PDF target asks for the
// file first, never the open layout's. Every failure is shown; true only
// when a page was printed.
bool runPrintCommand(QWidget* parent, PrintJob& job, PrintSession& session, Language lang, Prompts& prompts,
                     const QString& startDirectory, const std::string& layoutFile);

// The page setup of the session's printer.
void runPrinterSetup(QWidget* parent, PrintSession& session, Prompts& prompts);

} // namespace kestrel
