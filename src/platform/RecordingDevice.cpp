#include "platform/RecordingDevice.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

RecordingDevice::RecordingDevice(const QString& pdfPath, const QPageSize& size, int dotsPerInch, double marginMm)
    : pdf_(std::make_unique<QPdfWriter>(pdfPath)), painter_(std::make_unique<QPainter>())
{
    pdf_->setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(marginMm, marginMm, marginMm, marginMm),
                                    QPageLayout::Millimeter));
    pdf_->setResolution(dotsPerInch);
    painter_->begin(pdf_.get());
    canvas_ = std::make_unique<PainterCanvas>(*painter_, *pdf_, &texts_);
}

RecordingDevice::~RecordingDevice() { finish(); }

bool RecordingDevice::finish() { return !painter_->isActive() || painter_->end(); }
