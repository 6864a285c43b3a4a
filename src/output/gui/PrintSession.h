#pragma once
// What printing keeps while the program runs: the dialog's options, the
// printer and its page, and the target (a printer, or a PDF file, which is
// always offered and the only target on a machine without printers).

#include "model/Language.h"
#include "model/Result.h"
#include "output/PrintLayout.h"

#include <QObject>
#include <QPrinter>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

namespace kestrel {

struct PrintJob;

class PrintSession : public QObject {
    Q_OBJECT
public:
    explicit PrintSession(QObject* parent = nullptr);
    ~PrintSession() override;

    PrintOptions options;
    // The PDF file's name byte for byte, as the command line gives it: a
    // name that is no valid text would not survive the printer's own name.
    std::string pdfPath;
    // The installed printers; tests give their own list.
    std::function<QStringList()> printerNames;

    QPrinter& printer() { return *printer_; }
    // Empty for a PDF file.
    const QString& target() const { return target_; }
    bool targetIsPdf() const { return target_.isEmpty(); }
    // A printer by name, or a PDF file for an empty name or a printer that
    // is no longer there.
    void chooseTarget(const QString& printerName);
    // The caption of the print dialog: the printer's name, or "PDF".
    QString targetName(Language lang) const;
    // The printable area of the page in millimetres.
    QSizeF pageSizeMm() const;

private:
    std::unique_ptr<QPrinter> printer_;
    QString target_;
};

// A failure when no copy of the board lies on the session's page, which
// would print a blank sheet.
Status checkBoardOnPage(const PrintSession& session, const PrintJob& job, Language lang);

// Prints the job's page on the session's printer (its output file set for a
// PDF target). Every way it can fail gives a message in `lang`: a board off
// the page, no printer, a printer that does not start, a file that cannot
// be written.
Status printPage(PrintSession& session, const PrintJob& job, Language lang);

} // namespace kestrel
