#include "platform/PrintFrame.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/ReceiptPrinter.h"
#include "platform/RecordText.h"

#include "platform/PrintWindows.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

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

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, QPaintDevice& device, std::vector<PrintedText>* log,
                             std::function<void()> turnPage)
    : painter_(painter), device_(device), log_(log), turnPage_(std::move(turnPage))
{
}

PrintRect PainterCanvas::page() const { return {0, 0, double(device_.width()), double(device_.height())}; }

bool PainterCanvas::newPage()
{
    auto* paged = dynamic_cast<QPagedPaintDevice*>(&device_);
    if (!paged && !turnPage_)
        return false;
    ++page_;
    if (!paged) {
        turnPage_();
        return true;
    }
    return paged->newPage();
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
    // At the size the file gives it (96 dots per inch when it says none), so
    // a logo is as wide on a 1200-dot printer as on the screen; never wider
    // than the rest of the page.
    const double fileDpi = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * 0.0254 : 96.0;
    double scale = device_.logicalDpiX() / fileDpi;
    const double room = device_.width() - x;
    if (image.width() * scale > room && room > 0)
        scale = room / image.width();
    const QRectF target(x, y, image.width() * scale, image.height() * scale);
    painter_.drawImage(target, image);
    height = target.height();
    return true;
}

namespace {

PrintDialog::Backend* dialogBackend = nullptr;

// The document the open print dialog would print, for its preview.
std::function<void(QWidget*)> documentPreview;

}  // namespace

bool PrintDialog::exec(QWidget* parent, PrintChoice& choice)
{
    return (dialogBackend ? *dialogBackend : RegisterPrintDialog()).choose(parent, choice);
}

void PrintDialog::setBackend(Backend* backend) { dialogBackend = backend; }

std::function<void(QWidget*)> PrintDialogPreview() { return documentPreview; }

bool ChoosePrinter(QWidget* parent, PrintChoice& choice, const std::string& refusal)
{
    const std::optional<ReceiptPrinter::QueueList> listed = ReceiptPrinter::Queues();
    if (!listed) {
        MessageBox::information(parent, refusal + ReceiptPrinter::SilentReason() + ".");
        return false;
    }
    choice.queues.clear();
    if (!listed->defaultQueue.empty())
        choice.queues.push_back(listed->defaultQueue);
    for (const std::string& name : listed->names)
        if (name != listed->defaultQueue)
            choice.queues.push_back(name);
    if (choice.queue.empty())
        choice.queue = listed->defaultQueue;
    return PrintDialog::exec(parent, choice);
}

QPageLayout SheetLayout()
{
    const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(6, 6, 6, 6), QPageLayout::Millimeter);
}

namespace {
// Draws the document into the device; false when it cannot be started.
bool drawInto(QPaintDevice& device, const std::function<void(PrintCanvas&)>& draw)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PainterCanvas canvas(painter, device);
    draw(canvas);
    return painter.end();
}

}  // namespace

std::optional<std::string> RenderPdf(const QPageLayout& layout, int resolution, const std::string& title,
                                     const std::function<void(PrintCanvas&)>& draw)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(QString::fromStdString(title));
        pdf.setCreator("Register");
        pdf.setPageLayout(layout);
        pdf.setResolution(resolution);
        if (!drawInto(pdf, draw))
            return std::nullopt;
    }
    return bytes.toStdString();
}

QueueJobs FullPageJobs(const ReceiptPrinter::QueueStatus& queue, const DocumentPage& page, int copies,
                       const std::string& name, const std::function<void(PrintCanvas&)>& draw)
{
    QueueJobs out;
    if (queue.raw) {
        out.refusal = "the printer \"" + queue.queue +
                      "\" is a raw queue for a roll printer and cannot print full pages; choose a page printer";
        return out;
    }
    const std::optional<std::string> pdf = RenderPdf(page.layout, page.resolution, name, draw);
    if (!pdf) {
        out.refusal = "the print job could not be drawn";
        return out;
    }
    out.jobs.push_back({name, CUPS_FORMAT_PDF, *pdf, copies});
    return out;
}

bool SendDocument(QWidget* parent, const std::string& queue, std::vector<ReceiptPrinter::Job> jobs,
                  std::function<std::string(const ReceiptPrinter::JobsOutcome&)> failure)
{
    const ReceiptPrinter::JobsOutcome outcome = ReceiptPrinter::SendJobs(queue, std::move(jobs));
    if (outcome.failure.ok)
        return true;
    if (failure)
        MessageBox::information(parent, failure(outcome));
    else if (outcome.answered)
        MessageBox::information(parent, outcome.failure.message);
    else
        MessageBox::information(parent, "Nothing was printed: " + outcome.failure.message + ".");
    return false;
}

bool RunDocument(QWidget* parent, PrintOutput output, const DocumentPage& page, const std::string& queue,
                 const std::string& name, const std::function<void(PrintCanvas&)>& draw, const JobMaker& jobs)
{
    PrintChoice choice;
    choice.queue = queue;
    switch (output) {
    case PrintOutput::Preview:
        ShowPreview(parent, page, draw);
        return true;
    case PrintOutput::Pdf:
        choice.pdfFile = FileDialog::getSaveFileName(parent, "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*||", ".pdf");
        if (choice.pdfFile.empty())
            return false;
        break;
    case PrintOutput::Printer: {
        // The dialog offers a preview of this document; printing stays with
        // the dialog, so a preview never sends a job of its own.
        documentPreview = [&page, &draw](QWidget* owner) { ShowPreview(owner, page, draw); };
        const bool chosen = ChoosePrinter(parent, choice);
        documentPreview = nullptr;
        if (!chosen)
            return false;
        break;
    }
    }
    if (!choice.pdfFile.empty()) {
        const std::optional<std::string> pdf = RenderPdf(page.layout, page.resolution, name, draw);
        QFile file(QString::fromLocal8Bit(choice.pdfFile.c_str()));
        if (pdf && file.open(QIODevice::WriteOnly) && file.write(pdf->data(), qint64(pdf->size())) == qint64(pdf->size()))
            return true;
        MessageBox::information(parent, "The file " + choice.pdfFile + " could not be written.");
        return false;
    }
    const ReceiptPrinter::QueueStatus status = ReceiptPrinter::Look(choice.queue);
    QueueJobs made;
    if (!status.ready())
        made.refusal = ReceiptPrinter::Reason(status);
    else if (jobs)
        made = jobs(status, choice);
    else
        made = FullPageJobs(status, page, choice.copies, name, draw);
    if (!made.refusal.empty()) {
        MessageBox::information(parent, "Nothing was printed: " + made.refusal + ".");
        return false;
    }
    return SendDocument(parent, status.queue, std::move(made.jobs));
}
