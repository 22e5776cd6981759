#include "reports/graphs/GraphCanvasWidget.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/PrintFrame.h"
#include "storage/records/TextFormat.h"

#include <QDialog>
#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryFile>

#include <cmath>

GraphCanvasWidget::GraphCanvasWidget(QWidget* parent, QSize size, Paint paint) : QWidget(parent), paint_(std::move(paint))
{
    setObjectName("graph");
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphCanvasWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    QFont font(PrintFamily("Arial"));
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    texts_.clear();
    paint_(*this, p);
}

void GraphCanvasWidget::text(QPainter& p, const QRect& rect, int flags, const QString& text)
{
    p.drawText(rect, flags, text);
    texts_.push_back({rect, text});
}

QColor ToQColor(const GraphColour& c) { return QColor(c.red, c.green, c.blue); }

void SunkenEdge(QPainter& p, const QRect& r)
{
    p.save();
    const auto edge = [&](int inset, QColor topLeft, QColor bottomRight) {
        const QRect e = r.adjusted(inset, inset, -inset, -inset);
        p.setPen(topLeft);
        p.drawLine(e.topLeft(), e.topRight());
        p.drawLine(e.topLeft(), e.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(e.bottomLeft(), e.bottomRight());
        p.drawLine(e.topRight(), e.bottomRight());
    };
    edge(0, QColor(160, 160, 160), Qt::white);
    if (r.width() > 3 && r.height() > 3)
        edge(1, QColor(105, 105, 105), QColor(227, 227, 227));
    p.restore();
}

void GraphFrame(GraphCanvasWidget& canvas, QPainter& p, const QRect& plot, bool noSales)
{
    const QRect frame = plot.adjusted(-10, -10, 10, 10);
    p.fillRect(frame, Qt::white);
    SunkenEdge(p, frame);
    if (noSales)
        canvas.text(p, plot, Qt::AlignCenter, "No sales");
}

void DrawBarPanel(GraphCanvasWidget& canvas, QPainter& p, const BarPanel& panel)
{
    const GraphScale scale = ZeroBasedScale(panel.values);
    const QRect& plot = panel.plot;
    GraphFrame(canvas, p, plot, scale.empty);
    const QRect frame = plot.adjusted(-10, -10, 10, 10);
    const auto end = [&](double v) { return QString::fromStdString(strprintf(panel.format, static_cast<int>(std::lround(v)))); };
    canvas.text(p, QRect(0, frame.top(), frame.left() - 5, 16), Qt::AlignRight | Qt::AlignTop, end(scale.largest));
    canvas.text(p, QRect(0, frame.bottom() - 16, frame.left() - 5, 16), Qt::AlignRight | Qt::AlignBottom,
                end(scale.smallest));
    canvas.text(p, QRect(frame.left(), frame.top() - 20, frame.width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
                panel.caption);
    if (!panel.side.isEmpty())
        canvas.text(p, QRect(0, frame.top() + 16, frame.left() - 5, frame.height() - 32),
                    Qt::AlignRight | Qt::AlignVCenter, panel.side);
    if (scale.empty)
        return;
    const double perUnit = plot.height() / scale.span();
    const int zero = plot.bottom() - static_cast<int>(std::lround(-scale.smallest * perUnit));
    if (scale.smallest < 0) {
        p.save();
        p.setPen(Qt::gray);
        p.drawLine(plot.left(), zero, plot.right(), zero);
        p.restore();
    }
    for (std::size_t i = 0; i < panel.values.size(); ++i) {
        const double v = panel.values[i];
        if (v == 0 || (!panel.present.empty() && !panel.present[i]))
            continue;
        const int x0 = plot.left() + static_cast<int>(std::lround(i * panel.slot));
        const int x1 = plot.left() + static_cast<int>(std::lround((i + 1) * panel.slot));
        const int y = zero - static_cast<int>(std::lround(v * perUnit));
        p.fillRect(QRect(QPoint(x0, std::min(y, zero)), QPoint(std::max(x0, x1 - 1), std::max(y, zero))),
                   v > 0 ? panel.colour : panel.loss);
    }
}

namespace {

// The area at `scale` times its size, its resolution set so it prints at the
// size it has on the screen.
QImage picture(QWidget* area, int scale)
{
    QImage image(area->size() * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(std::lround(96.0 * scale / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter p(&image);
    p.scale(scale, scale);
    area->render(&p);
    return image;
}

void print(QDialog* dialog, QWidget* area, const std::string& name, PrintOutput output)
{
    QTemporaryFile file(QDir::tempPath() + "/graph-XXXXXX.png");
    if (!file.open() || !picture(area, 4).save(&file, "PNG") || !file.flush()) {
        MessageBox::information(dialog, "Nothing was printed: the graph could not be drawn.");
        return;
    }
    const std::string path = file.fileName().toLocal8Bit().toStdString();
    DocumentPage page;
    page.layout.setOrientation(QPageLayout::Landscape);
    RunDocument(dialog, output, page, "", name, [&](PrintCanvas& canvas) {
        double height = 0;
        canvas.bitmap(path, 0, 0, height);
    });
}

// A PDF of one landscape page with the graph as large as it fits; else the
// picture file its extension names (PNG when it names none).
bool save(QWidget* area, const std::string& path)
{
    const QString name = QString::fromLocal8Bit(path.c_str());
    if (!name.endsWith(".pdf", Qt::CaseInsensitive))
        return picture(area, 1).save(name);
    QPdfWriter pdf(name);
    pdf.setCreator("Register");
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setResolution(300);
    QPainter p;
    if (!p.begin(&pdf))
        return false;
    const double fit = std::min(pdf.width() / double(area->width()), pdf.height() / double(area->height()));
    p.scale(fit, fit);
    area->render(&p);
    return p.end();
}

}  // namespace

QHBoxLayout* GraphButtonRow(QDialog* dialog, QWidget* area, const std::string& name)
{
    auto* row = new QHBoxLayout;
    const auto add = [&](const char* text, const char* objectName, std::function<void()> act) {
        auto* button = new QPushButton(text, dialog);
        button->setObjectName(objectName);
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, dialog, std::move(act));
        row->addWidget(button);
        return button;
    };
    add("&Print", "print", [=] { print(dialog, area, name, PrintOutput::Printer); });
    add("Pre&view", "preview", [=] { print(dialog, area, name, PrintOutput::Preview); });
    add("&Save...", "save", [=] {
        const std::string path = FileDialog::getSaveFileName(
            dialog, "PNG Pictures (*.png)|*.png|PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*||", ".png");
        if (!path.empty() && !save(area, path))
            MessageBox::information(dialog, "The file " + path + " could not be written.");
    });
    row->addStretch();
    QPushButton* ok = add("OK", "ok", [dialog] { dialog->accept(); });
    ok->setDefault(true);
    return row;
}
