#include "platform/PrintFrame.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/ReceiptPrinter.h"
#include "platform/RecordText.h"

#include <QAction>
#include <QBuffer>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QPointer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

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

// The document the open print dialog would print, for its "Preview..." button.
std::function<void(QWidget*, QPrinter&)> documentPreview;

class QtPrintDialog final : public PrintDialog::Backend {
public:
    bool choose(QWidget* parent, QPrinter& printer) override
    {
        QPrintDialog dialog(&printer, parent);
        if (documentPreview) {
            if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
                QPushButton* preview = buttons->addButton("Preview...", QDialogButtonBox::ActionRole);
                preview->setObjectName("print_preview");
                const auto show = documentPreview;
                QObject::connect(preview, &QPushButton::clicked, &dialog, [&dialog, &printer, show] { show(&dialog, printer); });
            }
        }
        return dialog.exec() == QDialog::Accepted;
    }
};

QtPrintDialog qtDialog;
PrintDialog::Backend* dialogBackend = &qtDialog;

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, QPaintDevice& device, std::vector<PrintedText>* log)
    : painter_(painter), device_(device), log_(log)
{
}

PrintRect PainterCanvas::page() const { return {0, 0, double(device_.width()), double(device_.height())}; }

bool PainterCanvas::newPage()
{
    auto* paged = dynamic_cast<QPagedPaintDevice*>(&device_);
    if (!paged)
        return false;
    ++page_;
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

bool PrintDialog::exec(QWidget* parent, QPrinter& printer) { return dialogBackend->choose(parent, printer); }

void PrintDialog::setBackend(Backend* backend) { dialogBackend = backend ? backend : &qtDialog; }

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

QueueJobs FullPageJobs(const ReceiptPrinter::QueueStatus& queue, QPrinter& printer, const std::string& name,
                       const std::function<void(PrintCanvas&)>& draw, int resolution)
{
    QueueJobs out;
    if (queue.raw) {
        out.refusal = "the printer \"" + queue.queue +
                      "\" is a raw queue for a roll printer and cannot print full pages; choose a page printer";
        return out;
    }
    const std::optional<std::string> pdf =
        RenderPdf(printer.pageLayout(), resolution > 0 ? resolution : printer.resolution(), name, draw);
    if (!pdf) {
        out.refusal = "the print job could not be drawn";
        return out;
    }
    out.jobs.push_back({name, CUPS_FORMAT_PDF, *pdf, printer.copyCount()});
    return out;
}

bool PrintServiceAnswers(QWidget* parent)
{
    const ReceiptPrinter::QueueStatus status = ReceiptPrinter::Look({});
    if (status.state != ReceiptPrinter::QueueState::NotAnswering)
        return true;
    MessageBox::information(parent, "Nothing was printed: " + ReceiptPrinter::Reason(status) + ".");
    return false;
}

bool SendDocument(QWidget* parent, const std::string& queue, std::vector<ReceiptPrinter::Job> jobs,
                  std::function<std::string(const ReceiptPrinter::JobsOutcome&)> failure)
{
    if (!failure)
        failure = [](const ReceiptPrinter::JobsOutcome& o) { return o.failure.message; };
    QPointer<QWidget> window(parent);
    const auto late = [window, failure](const ReceiptPrinter::JobsOutcome& outcome) {
        if (!outcome.failure.ok)
            MessageBox::information(window, failure(outcome));
    };
    const std::optional<ReceiptPrinter::JobsOutcome> outcome = ReceiptPrinter::SendJobs(queue, std::move(jobs), late);
    if (outcome && !outcome->failure.ok) {
        MessageBox::information(parent, failure(*outcome));
        return false;
    }
    return true;
}

namespace {

// The document in a preview window on the printer's page layout; its own
// print and page set-up actions are left out.
void showPreview(QWidget* parent, QPrinter& printer, const std::function<void(PrintCanvas&)>& draw, int resolution)
{
    if (resolution > 0)
        printer.setResolution(resolution);
    QPrintPreviewDialog preview(&printer, parent);
    for (QAction* action : preview.findChildren<QAction*>())
        if (action->text() == QPrintPreviewDialog::tr("Print") || action->text() == QPrintPreviewDialog::tr("Page setup"))
            action->setVisible(false);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&draw](QPrinter* p) {
        QPainter painter(p);
        PainterCanvas canvas(painter, *p);
        draw(canvas);
    });
    preview.exec();
}

}  // namespace

bool RunDocument(QWidget* parent, PrintOutput output, QPrinter& printer, const std::string& name,
                 const std::function<void(PrintCanvas&)>& draw, int resolution, const JobMaker& jobs)
{
    switch (output) {
    case PrintOutput::Preview:
        showPreview(parent, printer, draw, resolution);
        return true;
    case PrintOutput::Pdf: {
        const std::string path =
            FileDialog::getSaveFileName(parent, "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*||", ".pdf");
        if (path.empty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromLocal8Bit(path.c_str()));
        break;
    }
    case PrintOutput::Printer: {
        // The dialog offers a preview of this document; printing stays with
        // the dialog, so a preview never sends a job of its own.
        documentPreview = [&draw, resolution](QWidget* owner, QPrinter& p) { showPreview(owner, p, draw, resolution); };
        const bool chosen = PrintDialog::exec(parent, printer);
        documentPreview = nullptr;
        if (!chosen)
            return false;
        break;
    }
    }
    if (!printer.outputFileName().isEmpty()) {
        printer.setDocName(QString::fromStdString(name));
        if (resolution > 0)
            printer.setResolution(resolution);
        if (drawInto(printer, draw))
            return true;
        MessageBox::information(parent, "The file " + printer.outputFileName().toStdString() + " could not be written.");
        return false;
    }
    const std::string queue = printer.printerName().toStdString();
    const ReceiptPrinter::QueueStatus status = ReceiptPrinter::Look(queue);
    QueueJobs made;
    if (!status.ready())
        made.refusal = ReceiptPrinter::Reason(status);
    else if (jobs)
        made = jobs(status, printer);
    else
        made = FullPageJobs(status, printer, name, draw, resolution);
    if (!made.refusal.empty()) {
        MessageBox::information(parent, "Nothing was printed: " + made.refusal + ".");
        return false;
    }
    return SendDocument(parent, queue, std::move(made.jobs));
}
