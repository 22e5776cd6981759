#pragma once
// The print frame: the print dialog (or a test double), the painter canvas the
// layouts draw on, and the document run that renders a job to PDF and sends
// it to the chosen CUPS queue. Nothing here asks the print service anything
// on the window's thread: the dialog lists the queues the bounded look-up
// found, documents are drawn without the print service, and jobs go out
// through ReceiptPrinter, so a silent server never holds the window longer
// than the answer bound.

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
    // A device without pages (an image) is one page as tall as itself, unless
    // `turnPage` keeps each page and clears the image for the next one.
    PainterCanvas(QPainter& painter, QPaintDevice& device, std::vector<PrintedText>* log = nullptr,
                  std::function<void()> turnPage = {});

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
    std::function<void()> turnPage_;
    PrintFont font_;
    int page_ = 1;
};

// What the print dialog chose: one of the queues the print service listed,
// or a PDF file.
struct PrintChoice {
    std::vector<std::string> queues;  // as listed, the default first
    std::string queue;                // preselected when the dialog opens, chosen on OK
    std::string pdfFile;              // a PDF file chosen instead of a queue
    int copies = 1;
    bool pdfOffered = true;           // false: only a queue can be chosen
};

// The platform's print dialog; tests install a double.
class PrintDialog {
public:
    class Backend {
    public:
        virtual ~Backend() = default;
        // Shows the dialog on `choice` (its queue preselected); true on OK.
        virtual bool choose(QWidget* parent, PrintChoice& choice) = 0;
    };
    static bool exec(QWidget* parent, PrintChoice& choice);
    static void setBackend(Backend* backend);  // nullptr restores the register's dialog
};

// Lists the queues off the window's thread and opens the print dialog on
// `choice.queue` (the default printer when empty). A print service that does
// not answer within the bound opens no dialog: `refusal` and the reason are
// shown. True on OK.
bool ChoosePrinter(QWidget* parent, PrintChoice& choice, const std::string& refusal = "Nothing was printed: ");

// Where a document goes: the printer chosen in the print dialog, a preview
// window, or a PDF file chosen in a save dialog.
enum class PrintOutput { Printer, Preview, Pdf };

// A sheet of the locale's paper (Letter or A4) with a small margin.
QPageLayout SheetLayout();

// The page a document is drawn on, and at what resolution.
struct DocumentPage {
    QPageLayout layout = SheetLayout();
    int resolution = 1200;
};

// Draws a document into PDF bytes with that page layout and resolution;
// nothing when it cannot be drawn.
std::optional<std::string> RenderPdf(const QPageLayout& layout, int resolution, const std::string& title,
                                     const std::function<void(PrintCanvas&)>& draw);

// The document in a preview window, page by page.
void ShowPreview(QWidget* parent, const DocumentPage& page, const std::function<void(PrintCanvas&)>& draw);

// The jobs a document makes for a queue in that state, or why it cannot be
// printed there (`refusal`, a clause: "the printer ... cannot ...").
struct QueueJobs {
    std::vector<ReceiptPrinter::Job> jobs;
    std::string refusal;
};
using JobMaker = std::function<QueueJobs(const ReceiptPrinter::QueueStatus& queue, const PrintChoice& choice)>;
// A full-page document as one PDF job on that page, refused on a raw queue,
// which would get PDF source instead of print.
QueueJobs FullPageJobs(const ReceiptPrinter::QueueStatus& queue, const DocumentPage& page, int copies,
                       const std::string& name, const std::function<void(PrintCanvas&)>& draw);

// Sends a document's jobs to the queue off the window's thread. A refusal,
// or a server that does not answer within the bound, is shown in the words
// of `failure` ("Nothing was printed: " and the reason when not given).
// False when not every job went out.
bool SendDocument(QWidget* parent, const std::string& queue, std::vector<ReceiptPrinter::Job> jobs,
                  std::function<std::string(const ReceiptPrinter::JobsOutcome&)> failure = {});

// The whole command for one document: the print dialog (opened on `queue`,
// the default printer when empty), the preview window or the PDF file dialog,
// then the document. A chosen queue that is not ready or cannot print the
// document gets no job, and the reason is shown. `jobs` makes the document's
// jobs for the chosen queue (FullPageJobs of `draw` when not given). True
// when the document went out.
bool RunDocument(QWidget* parent, PrintOutput output, const DocumentPage& page, const std::string& queue,
                 const std::string& name, const std::function<void(PrintCanvas&)>& draw, const JobMaker& jobs = {});
