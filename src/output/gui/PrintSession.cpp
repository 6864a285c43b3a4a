#include "output/gui/PrintSession.h"

#include "model/FileIO.h"
#include "model/PendingFile.h"
#include "output/gui/PrintRender.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QPainter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <unistd.h>

namespace kestrel {

namespace {

QString text(Language lang, const char* russian, const char* english)
{
    return QString::fromUtf8(tr(lang, russian, english));
}

} // namespace

PrintSession::PrintSession(QObject* parent)
    : QObject(parent), printerNames([] { return QPrinterInfo::availablePrinterNames(); }),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName("PrintSession");
    printer_->setOutputFormat(QPrinter::PdfFormat);
}

PrintSession::~PrintSession() = default;

void PrintSession::chooseTarget(const QString& printerName)
{
    target_ = printerNames().contains(printerName) ? printerName : QString();
    if (target_.isEmpty()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer_->setOutputFormat(QPrinter::NativeFormat);
        printer_->setPrinterName(target_);
    }
}

QString PrintSession::targetName(Language lang) const
{
    return target_.isEmpty() ? text(lang, "Файл PDF", "PDF file") : target_;
}

QSizeF PrintSession::pageSizeMm() const
{
    return printer_->pageLayout().paintRect(QPageLayout::Millimeter).size();
}

namespace {

// Paints the page on the printer as set up; the failure names `shownName`.
Status paint(PrintSession& session, const PrintJob& job, const QString& shownName, Language lang)
{
    QPrinter& printer = session.printer();
    const bool pdf = session.targetIsPdf();
    QPainter painter;
    if (!painter.begin(&printer))
        return Status::failure(
            (pdf ? text(lang, "Файл %1 не может быть записан.", "The file %1 cannot be written.").arg(shownName)
                 : text(lang, "Принтер «%1» не начинает печать.", "The printer \"%1\" does not start printing.")
                       .arg(session.target()))
                .toStdString());
    const double pxPerMmX = printer.logicalDpiX() / 25.4, pxPerMmY = printer.logicalDpiY() / 25.4;
    RenderPage(painter, job, pxPerMmX, pxPerMmY, true, session.pageSizeMm());
    if (!painter.end())
        return Status::failure(
            (pdf ? text(lang, "Файл %1 не может быть записан.", "The file %1 cannot be written.").arg(shownName)
                 : text(lang, "Печать на принтере «%1» не удалась.", "Printing on \"%1\" failed.").arg(session.target()))
                .toStdString());
    return {};
}

// The PDF is made in a temporary file and replaces the named one only when
// complete: the PDF writer does not notice a full disk, and writing over
// the old file directly would lose it on any failure. The file is made
// beside the named one (a device's folder aside), so a full temporary folder
// elsewhere is no cause to refuse it; where that folder takes no file, the
// final write says why. It is named as the program's other temporaries, so a
// later write into the folder removes one a killed run left.
Status printPdf(PrintSession& session, const PrintJob& job, const QString& file, Language lang)
{
    const QString name = QString::fromLatin1(kTemporaryPrefix) + QString::number(::getpid()) + "-print-XXXXXX.pdf";
    const bool beside = !file.startsWith("/dev/") && !file.startsWith("/proc/");
    QTemporaryFile made(QDir(beside ? QFileInfo(file).absolutePath() : QDir::tempPath()).filePath(name));
    if (!made.open())
        made.setFileTemplate(QDir::temp().filePath(name));
    if (!made.isOpen() && !made.open())
        return Status::failure(
            text(lang, "Файл %1 не может быть записан.", "The file %1 cannot be written.").arg(file).toStdString());
    made.close();
    QPrinter& printer = session.printer();
    printer.setOutputFileName(made.fileName());
    const Status painted = paint(session, job, file, lang);
    printer.setOutputFileName(file);
    if (!painted)
        return painted;
    QFile in(made.fileName());
    QByteArray bytes;
    if (in.open(QIODevice::ReadOnly))
        bytes = in.readAll();
    // A PDF ends with its end-of-file marker; anything short of it was cut off.
    if (!bytes.trimmed().endsWith("%%EOF"))
        return Status::failure(
            text(lang, "Файл %1 не может быть записан.", "The file %1 cannot be written.").arg(file).toStdString());
    const std::string path = session.pdfPath.empty() ? QFile::encodeName(file).toStdString() : session.pdfPath;
    return writeFileAtomically(path, std::string_view(bytes.constData(), size_t(bytes.size())), lang);
}

} // namespace

Status checkBoardOnPage(const PrintSession& session, const PrintJob& job, Language lang)
{
    const QSizeF page = session.pageSizeMm();
    if (boardOnPage(job.options, page.width(), page.height(), job.boardWidth, job.boardHeight) == BoardOnPage::Off)
        return Status::failure(text(lang, "Плата целиком вне страницы: ничего не напечатано.",
                                    "The board lies wholly off the page: nothing was printed.")
                                   .toStdString());
    return {};
}

Status printPage(PrintSession& session, const PrintJob& job, Language lang)
{
    if (Status onPage = checkBoardOnPage(session, job, lang); !onPage)
        return onPage;
    QPrinter& printer = session.printer();
    if (session.targetIsPdf()) {
        const QString file = printer.outputFileName();
        if (file.isEmpty())
            return Status::failure(text(lang, "Не указан файл PDF.", "No PDF file was named.").toStdString());
        return printPdf(session, job, file, lang);
    }
    if (!session.printerNames().contains(session.target()) || !printer.isValid())
        return Status::failure(
            text(lang, "Принтер «%1» не найден.", "The printer \"%1\" is not there.").arg(session.target()).toStdString());
    return paint(session, job, session.target(), lang);
}

} // namespace kestrel
