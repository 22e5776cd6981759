#include "platform/RollPrint.h"

#include "platform/PrintFrame.h"

#include <QImage>
#include <QPainter>

namespace {

// A receipt longer than this (about 2.5 m) is cut off.
constexpr int kMaxRollRows = 20000;

QImage drawRoll(int dots, const std::function<void(PrintCanvas&)>& draw)
{
    QImage image(dots, kMaxRollRows, QImage::Format_Grayscale8);
    image.fill(255);
    const int dotsPerMeter = static_cast<int>(kRollDotsPerInch / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&image);
    PainterCanvas canvas(painter, image);
    draw(canvas);
    painter.end();
    return image;
}

// Rows down to the last one with a dark dot.
int usedRows(const QImage& image)
{
    for (int y = image.height() - 1; y >= 0; --y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            if (row[x] < 128)
                return y + 1;
    }
    return 0;
}

}  // namespace

DotRows RenderRollDots(int dots, const std::function<void(PrintCanvas&)>& draw)
{
    const QImage image = drawRoll(dots, draw);
    DotRows out;
    out.widthBytes = (dots + 7) / 8;
    out.height = usedRows(image);
    out.bits.assign(static_cast<std::size_t>(out.widthBytes) * out.height, 0);
    for (int y = 0; y < out.height; ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < dots; ++x)
            if (row[x] < 128)
                out.bits[static_cast<std::size_t>(y) * out.widthBytes + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    return out;
}

std::optional<std::string> RenderRollPdf(int rollWidthMm, const std::string& title,
                                         const std::function<void(PrintCanvas&)>& draw)
{
    const int dots = RollDots(rollWidthMm);
    const double paperMm = rollWidthMm == 58 ? 58 : 80;
    const double sideMm = (paperMm - dots * 25.4 / kRollDotsPerInch) / 2;
    const double lengthMm = usedRows(drawRoll(dots, draw)) * 25.4 / kRollDotsPerInch + 2 * sideMm;
    const QPageLayout layout(QPageSize(QSizeF(paperMm, std::max(lengthMm, paperMm)), QPageSize::Millimeter),
                             QPageLayout::Portrait, QMarginsF(sideMm, sideMm, sideMm, sideMm), QPageLayout::Millimeter);
    return RenderPdf(layout, kRollDotsPerInch, title, draw);
}
