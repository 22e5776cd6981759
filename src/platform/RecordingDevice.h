#pragma once
// The recording device: a PDF page device at a chosen page size and resolution
// whose canvas keeps every drawn text with its position and font. Tests lay
// documents out on it and check the texts in page units; the PDF it writes is
// the real rendering.

#include "platform/PrintFrame.h"

#include <QPageSize>
#include <QString>

#include <memory>
#include <vector>

class QPainter;
class QPdfWriter;

class RecordingDevice {
public:
    // Margins in millimetres around the printable area.
    RecordingDevice(const QString& pdfPath, const QPageSize& size, int dotsPerInch, double marginMm = 0);
    ~RecordingDevice();

    PrintCanvas& canvas() { return *canvas_; }
    const std::vector<PrintedText>& texts() const { return texts_; }
    int pages() const { return canvas_->pageNumber(); }
    // Ends the document; the PDF is then complete.
    bool finish();

private:
    std::unique_ptr<QPdfWriter> pdf_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<PainterCanvas> canvas_;
    std::vector<PrintedText> texts_;
};
