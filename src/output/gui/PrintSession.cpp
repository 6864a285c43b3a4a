#include "output/gui/PrintSession.h"

#include "output/gui/PrintRender.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinterInfo>

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

Status printPage(PrintSession& session, const PrintJob& job, Language lang)
{
    QPrinter& printer = session.printer();
    const bool pdf = session.targetIsPdf();
    const QString file = printer.outputFileName();
    if (pdf && file.isEmpty())
        return Status::failure(text(lang, "Не указан файл PDF.", "No PDF file was named.").toStdString());
    if (!pdf && (!session.printerNames().contains(session.target()) || !printer.isValid()))
        return Status::failure(
            text(lang, "Принтер «%1» не найден.", "The printer \"%1\" is not there.").arg(session.target()).toStdString());
    QPainter painter;
    if (!painter.begin(&printer))
        return Status::failure(
            (pdf ? text(lang, "Файл %1 не может быть записан.", "The file %1 cannot be written.").arg(file)
                 : text(lang, "Принтер «%1» не начинает печать.", "The printer \"%1\" does not start printing.")
                       .arg(session.target()))
                .toStdString());
    const double pxPerMmX = printer.logicalDpiX() / 25.4, pxPerMmY = printer.logicalDpiY() / 25.4;
    RenderPage(painter, job, pxPerMmX, pxPerMmY, true, session.pageSizeMm().width());
    if (!painter.end() || (pdf && QFileInfo(file).size() <= 0))
        return Status::failure(
            (pdf ? text(lang, "Файл %1 не может быть записан.", "The file %1 cannot be written.").arg(file)
                 : text(lang, "Печать на принтере «%1» не удалась.", "Printing on \"%1\" failed.").arg(session.target()))
                .toStdString());
    return {};
}

} // namespace kestrel
