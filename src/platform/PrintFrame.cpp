#include "platform/PrintFrame.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/ReceiptPrinter.h"
#include "platform/RecordText.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryFile>

#include <cups/cups.h>

QString PrintFamily(const std::string& face)
{
    static const bool substituted = [] {
        QFont::insertSubstitution("Courier", "Liberation Mono");
        QFont::insertSubstitution("Arial", "Liberation Sans");
        return true;
    }();
    (void)substituted;
    if (face == "Courier")
        return "Liberation Mono";
    if (face == "Arial")
        return "Liberation Sans";
    return QString::fromStdString(face);
}

namespace {

int qtFlags(unsigned flags)
{
    int f = (flags & kPrintRight) ? Qt::AlignRight : (flags & kPrintCenter) ? Qt::AlignHCenter : Qt::AlignLeft;
    if (flags & kPrintVCenter)
        f |= Qt::AlignVCenter | Qt::TextSingleLine;
    else
        f |= Qt::AlignTop;
    if (flags & kPrintWordWrap)
        f |= Qt::TextWordWrap;
    return f;
}

// A font of the face whose cell (ascent + descent) is `height` device units.
QFont cellFont(const PrintFont& font, QPaintDevice& device)
{
    QFont f(PrintFamily(font.face));
    f.setStyleHint(font.face == "Courier" ? QFont::Monospace : QFont::SansSerif);
    f.setWeight(static_cast<QFont::Weight>(font.weight < 600 ? QFont::Normal : QFont::Bold));
    f.setHintingPreference(QFont::PreferNoHinting);
    const double dpi = device.logicalDpiY();
    const double reference = 100;
    f.setPointSizeF(reference * 72.0 / dpi);
    const double cell = QFontMetricsF(f, &device).height();
    if (cell > 0 && font.height > 0)
        f.setPointSizeF(reference * font.height / cell * 72.0 / dpi);
    return f;
}

class QtPrintDialog final : public PrintDialog::Backend {
public:
    bool choose(QWidget* parent, QPrinter& printer) override
    {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
};

QtPrintDialog qtDialog;
PrintDialog::Backend* dialogBackend = &qtDialog;

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, QPagedPaintDevice& device, std::vector<PrintedText>* log)
    : painter_(painter), device_(device), log_(log)
{
}

PrintRect PainterCanvas::page() const { return {0, 0, double(device_.width()), double(device_.height())}; }

bool PainterCanvas::newPage()
{
    ++page_;
    return device_.newPage();
}

void PainterCanvas::setFont(const PrintFont& font)
{
    font_ = font;
    painter_.setFont(cellFont(font, device_));
}

// The cell height of the font, as the text "Font Height" measures on a printer.
double PainterCanvas::lineHeight() { return QFontMetricsF(painter_.font(), &device_).height(); }

double PainterCanvas::textHeight(const std::string& text, double width, unsigned flags)
{
    const QRectF box(0, 0, width, 1e9);
    return QFontMetricsF(painter_.font(), &device_)
        .boundingRect(box, qtFlags(flags) & ~Qt::AlignVCenter, RecordText::toQt(text))
        .height();
}

void PainterCanvas::text(const PrintRect& rect, unsigned flags, const std::string& text)
{
    const QRectF r(rect.left, rect.top, rect.width(), rect.height());
    const QString qt = RecordText::toQt(text);
    painter_.drawText(r, qtFlags(flags), qt);
    if (log_)
        log_->push_back({page_, r, flags, qt, painter_.font().family(), font_.height, font_.weight});
}

void PainterCanvas::line(double x1, double y1, double x2, double y2) { painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2)); }

void PainterCanvas::frame(const PrintRect& rect)
{
    painter_.drawRect(QRectF(rect.left, rect.top, rect.width(), rect.height()));
}

bool PainterCanvas::bitmap(const std::string& path, double x, double y, double& height)
{
    const QImage image(QString::fromLocal8Bit(path.c_str()));
    if (image.isNull())
        return false;
    painter_.drawImage(QPointF(x, y), image);
    height = image.height();
    return true;
}

bool PrintDialog::exec(QWidget* parent, QPrinter& printer) { return dialogBackend->choose(parent, printer); }

void PrintDialog::setBackend(Backend* backend) { dialogBackend = backend ? backend : &qtDialog; }

namespace {

// Draws the document into the device; false when it cannot be started.
bool drawInto(QPagedPaintDevice& device, const std::function<void(PrintCanvas&)>& draw)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PainterCanvas canvas(painter, device);
    draw(canvas);
    return painter.end();
}

}  // namespace

PrintJobResult PrintDocument(QPrinter& printer, const std::string& name, const std::function<void(PrintCanvas&)>& draw,
                             int resolution)
{
    PrintJobResult result;
    const QString title = QString::fromStdString(name);
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        printer.setDocName(title);
        if (resolution > 0)
            printer.setResolution(resolution);
        result.ok = drawInto(printer, draw);
        if (!result.ok)
            result.message = "The file " + printer.outputFileName().toStdString() + " could not be written.";
        return result;
    }

    QTemporaryFile file;
    if (!file.open()) {
        result.message = "No temporary file for the print job.";
        return result;
    }
    file.close();
    {
        QPdfWriter pdf(file.fileName());
        pdf.setTitle(title);
        pdf.setCreator("Register");
        pdf.setPageLayout(printer.pageLayout());
        pdf.setResolution(resolution > 0 ? resolution : printer.resolution());
        if (!drawInto(pdf, draw)) {
            result.message = "The print job could not be started.";
            return result;
        }
    }
    QFile done(file.fileName());
    if (!done.open(QIODevice::ReadOnly)) {
        result.message = "The print job could not be read back.";
        return result;
    }
    const QByteArray bytes = done.readAll();
    return ReceiptPrinter::SubmitJob(printer.printerName().toStdString(), name, CUPS_FORMAT_PDF, bytes.constData(),
                                     static_cast<std::size_t>(bytes.size()), printer.copyCount());
}

bool RunDocument(QWidget* parent, PrintOutput output, QPrinter& printer, const std::string& name,
                 const std::function<void(PrintCanvas&)>& draw, int resolution,
                 const std::function<bool(const std::string& queue)>& beforeJob)
{
    switch (output) {
    case PrintOutput::Preview: {
        if (resolution > 0)
            printer.setResolution(resolution);
        QPrintPreviewDialog preview(&printer, parent);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&draw](QPrinter* p) {
            QPainter painter(p);
            PainterCanvas canvas(painter, *p);
            draw(canvas);
        });
        preview.exec();
        return true;
    }
    case PrintOutput::Pdf: {
        const std::string path =
            FileDialog::getSaveFileName(parent, "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*||", ".pdf");
        if (path.empty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromLocal8Bit(path.c_str()));
        break;
    }
    case PrintOutput::Printer:
        if (!PrintDialog::exec(parent, printer))
            return false;
        if (beforeJob && printer.outputFileName().isEmpty() && !beforeJob(printer.printerName().toStdString()))
            return false;
        break;
    }
    const PrintJobResult result = PrintDocument(printer, name, draw, resolution);
    if (!result.ok)
        MessageBox::information(parent, result.message);
    return result.ok;
}
