#pragma once
// The print frame: the print dialog (or a test double), the painter canvas the
// layouts draw on, and the document run that renders a job to PDF with the
// chosen printer's page layout and sends it to that printer's CUPS queue, so a
// queue that refuses the job is reported (QPrinter itself reports success).

#include "print/canvas/PrintCanvas.h"

#include <QRectF>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QPainter;
class QPagedPaintDevice;
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
    PainterCanvas(QPainter& painter, QPagedPaintDevice& device, std::vector<PrintedText>* log = nullptr);

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
    QPagedPaintDevice& device_;
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

struct PrintJobResult {
    bool ok = false;
    int jobId = 0;         // the CUPS job, 0 when none was created or a file was written
    std::string message;   // why it failed
};

// Where a document goes: the printer chosen in the print dialog, a preview
// window, or a PDF file chosen in a save dialog.
enum class PrintOutput { Printer, Preview, Pdf };

// Runs one document: draws it (each page through `draw`) into a PDF with the
// printer's page layout and resolution (or `resolution` dots per inch when
// given), then writes it to the printer's output file or sends it to its queue.
PrintJobResult PrintDocument(QPrinter& printer, const std::string& name,
                             const std::function<void(PrintCanvas&)>& draw, int resolution = 0);

// The whole command for one document: the print dialog (opened on `printer`),
// the preview window or the PDF file dialog, then the document. `beforeJob`
// runs just before a job goes to a printer's queue (the drawer kick) and may
// stop it. A failure is shown; true when the document went out.
bool RunDocument(QWidget* parent, PrintOutput output, QPrinter& printer, const std::string& name,
                 const std::function<void(PrintCanvas&)>& draw, int resolution = 0,
                 const std::function<bool(const std::string& queue)>& beforeJob = {});
