#pragma once
// The print frame: the print dialog (or a test double), the painter canvas the
// layouts draw on, and the document run that renders a job to PDF with the
// chosen printer's page layout and sends it to that printer's CUPS queue, so a
// queue that refuses the job is reported (QPrinter itself reports success).

#include "platform/ReceiptPrinter.h"
#include "print/canvas/PrintCanvas.h"

#include <QPageLayout>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;
class QPrinter;
class QWidget;

// One text drawn, as the recording device keeps it: device units.
struct PrintedText {
    int page = 1;
    QRectF rect;
    unsigned flags = 0;
    QString text;
    QString family;
    double height = 0;  // cell height asked for
    int weight = 400;
};

// "Courier" prints in Liberation Mono and "Arial" in Liberation Sans, their
// metric twins, whatever other fonts are installed.
QString PrintFamily(const std::string& face);

class PainterCanvas : public PrintCanvas {
public:
    // The painter is active on the device. With a log, every text is recorded.
    // A device without pages (an image) is one page as tall as itself.
    PainterCanvas(QPainter& painter, QPaintDevice& device, std::vector<PrintedText>* log = nullptr);

    PrintRect page() const override;
    bool newPage() override;
    void setFont(const PrintFont& font) override;
    double lineHeight() override;
    double textHeight(const std::string& text, double width, unsigned flags) override;
    void text(const PrintRect& rect, unsigned flags, const std::string& text) override;
    void line(double x1, double y1, double x2, double y2) override;
    void frame(const PrintRect& rect) override;
    bool bitmap(const std::string& path, double x, double y, double& height) override;

    int pageNumber() const { return page_; }

private:
    QPainter& painter_;
    QPaintDevice& device_;
    std::vector<PrintedText>* log_;
    PrintFont font_;
    int page_ = 1;
};

// The platform's print dialog; tests install a double.
class PrintDialog {
public:
    class Backend {
    public:
        virtual ~Backend() = default;
        // Shows the dialog on `printer` (preselected); true on OK.
        virtual bool choose(QWidget* parent, QPrinter& printer) = 0;
    };
    static bool exec(QWidget* parent, QPrinter& printer);
    static void setBackend(Backend* backend);  // nullptr restores the Qt dialog
};

// Where a document goes: the printer chosen in the print dialog, a preview
// window, or a PDF file chosen in a save dialog.
enum class PrintOutput { Printer, Preview, Pdf };

// Draws a document into PDF bytes with that page layout and resolution;
// nothing when it cannot be drawn.
std::optional<std::string> RenderPdf(const QPageLayout& layout, int resolution, const std::string& title,
                                     const std::function<void(PrintCanvas&)>& draw);

// The jobs a document makes for a queue in that state, or why it cannot be
// printed there (`refusal`, a clause: "the printer ... cannot ...").
struct QueueJobs {
    std::vector<ReceiptPrinter::Job> jobs;
    std::string refusal;
};
using JobMaker = std::function<QueueJobs(const ReceiptPrinter::QueueStatus& queue, QPrinter& printer)>;
// A full-page document as one PDF job on the printer's page layout, refused
// on a raw queue, which would get PDF source instead of print.
QueueJobs FullPageJobs(const ReceiptPrinter::QueueStatus& queue, QPrinter& printer, const std::string& name,
                       const std::function<void(PrintCanvas&)>& draw, int resolution = 0);

// Before a print dialog or preview: false, after saying so, when the print
// service does not answer (Qt's printer list would wait on it).
bool PrintServiceAnswers(QWidget* parent);

// Sends a document's jobs to the queue off the window's thread. A refusal is
// shown now, or when the server finally answers, in the words of `failure`
// (the server's message when not given). False when a job was refused now.
bool SendDocument(QWidget* parent, const std::string& queue, std::vector<ReceiptPrinter::Job> jobs,
                  std::function<std::string(const ReceiptPrinter::JobsOutcome&)> failure = {});

// The whole command for one document: the print dialog (opened on `printer`),
// the preview window or the PDF file dialog, then the document. A chosen
// queue that is not ready or cannot print the document gets no job, and the
// reason is shown. `jobs` makes the document's jobs for the chosen queue
// (FullPageJobs of `draw` when not given). True when the document went out.
bool RunDocument(QWidget* parent, PrintOutput output, QPrinter& printer, const std::string& name,
                 const std::function<void(PrintCanvas&)>& draw, int resolution = 0, const JobMaker& jobs = {});
