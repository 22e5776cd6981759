#include "CReportPrinter.h"

#include "Clock.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "PrintFrame.h"
#include "SaleLayout.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

const char* const kPdfFilter = "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*||";

void run(QWidget* parent, const std::string& name, CReportPrinter::Output output,
         const std::function<void(PrintCanvas&)>& draw)
{
    QPrinter printer(QPrinter::HighResolution);
    switch (output) {
    case CReportPrinter::Output::Preview: {
        QPrintPreviewDialog preview(&printer, parent);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&draw](QPrinter* p) {
            QPainter painter(p);
            PainterCanvas canvas(painter, *p);
            draw(canvas);
        });
        preview.exec();
        return;
    }
    case CReportPrinter::Output::Pdf: {
        const std::string path = FileDialog::getSaveFileName(parent, kPdfFilter, ".pdf");
        if (path.empty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromLocal8Bit(path.c_str()));
        break;
    }
    case CReportPrinter::Output::Printer:
        if (!PrintDialog::exec(parent, printer))
            return;
        break;
    }
    const PrintJobResult result = PrintDocument(printer, name, draw);
    if (!result.ok)
        MessageBox::information(parent, result.message);
}

}  // namespace

void CReportPrinter::PrintReport(QWidget* parent, const std::string& header, const std::string& body,
                                 const std::vector<std::int16_t>& widths, const std::vector<std::uint16_t>& formats,
                                 Output output)
{
    run(parent, "Report", output,
        [&](PrintCanvas& canvas) { LayoutReport(canvas, header, body, widths, formats); });
}

void CReportPrinter::PrintProductListing(QWidget* parent, const std::vector<ListingRow>& rows, bool withCostAndPrice,
                                         Output output)
{
    const CalendarTime now = Clock::now();
    const std::string date = LongDate(now.year, now.month, now.day);
    run(parent, "Receipt", output,
        [&](PrintCanvas& canvas) { LayoutProductListing(canvas, rows, withCostAndPrice, date); });
}
