#include "platform/PrintWindows.h"

#include "platform/FileDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const char* const kPdfItem = "PDF File...";

// Queues as the print service listed them, the preselected one even when it
// is no longer listed (printing to it then says why it cannot), and a PDF
// file; the number of copies; a preview when the document offers one.
class RegisterPrintDialogImpl final : public PrintDialog::Backend {
public:
    bool choose(QWidget* parent, PrintChoice& choice) override
    {
        QDialog dialog(parent);
        dialog.setObjectName("print_dialog");
        dialog.setWindowTitle("Print");
        auto* printers = new QComboBox(&dialog);
        printers->setObjectName("print_printer");
        for (const std::string& queue : choice.queues)
            printers->addItem(QString::fromStdString(queue));
        const QString preselected = QString::fromStdString(choice.queue);
        if (!preselected.isEmpty() && printers->findText(preselected) < 0)
            printers->insertItem(0, preselected);
        if (choice.pdfOffered)
            printers->addItem(kPdfItem);
        printers->setCurrentIndex(std::max(0, printers->findText(preselected)));
        auto* copies = new QSpinBox(&dialog);
        copies->setObjectName("print_copies");
        copies->setRange(1, 99);
        copies->setValue(std::max(1, choice.copies));

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        buttons->button(QDialogButtonBox::Ok)->setText("Print");
        buttons->button(QDialogButtonBox::Ok)->setObjectName("print_ok");
        buttons->button(QDialogButtonBox::Cancel)->setObjectName("print_cancel");
        if (const auto preview = PrintDialogPreview()) {
            QPushButton* button = buttons->addButton("Preview...", QDialogButtonBox::ActionRole);
            button->setObjectName("print_preview");
            QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, preview] { preview(&dialog); });
        }
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
            if (printers->currentText() == kPdfItem) {
                choice.pdfFile =
                    FileDialog::getSaveFileName(&dialog, "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*||", ".pdf");
                if (choice.pdfFile.empty())
                    return;  // back to the dialog
            } else {
                choice.queue = printers->currentText().toStdString();
            }
            choice.copies = copies->value();
            dialog.accept();
        });

        auto* form = new QFormLayout;
        form->addRow("Printer:", printers);
        form->addRow("Copies:", copies);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addLayout(form);
        layout->addWidget(buttons);
        return dialog.exec() == QDialog::Accepted;
    }
};

// The screen's resolution for preview pages.
constexpr int kPreviewDpi = 96;

// Each page of the document as an image of the whole sheet, margins white.
std::vector<QImage> previewPages(const DocumentPage& page, const std::function<void(PrintCanvas&)>& draw)
{
    const QRect paper = page.layout.fullRectPixels(kPreviewDpi);
    const QRect printable = page.layout.paintRectPixels(kPreviewDpi);
    QImage sheet(printable.size(), QImage::Format_RGB32);
    sheet.setDotsPerMeterX(qRound(kPreviewDpi / 0.0254));
    sheet.setDotsPerMeterY(qRound(kPreviewDpi / 0.0254));
    sheet.fill(Qt::white);
    std::vector<QImage> pages;
    const auto keep = [&pages, &paper, &printable](const QImage& drawn) {
        QImage whole(paper.size(), QImage::Format_RGB32);
        whole.fill(Qt::white);
        QPainter onto(&whole);
        onto.drawImage(printable.topLeft(), drawn);
        pages.push_back(whole);
    };
    QPainter painter(&sheet);
    PainterCanvas canvas(painter, sheet, nullptr, [&] {
        keep(sheet);
        painter.fillRect(sheet.rect(), Qt::white);
    });
    draw(canvas);
    painter.end();
    keep(sheet);
    return pages;
}

}  // namespace

PrintDialog::Backend& RegisterPrintDialog()
{
    static RegisterPrintDialogImpl dialog;
    return dialog;
}

void ShowPreview(QWidget* parent, const DocumentPage& page, const std::function<void(PrintCanvas&)>& draw)
{
    QDialog preview(parent);
    preview.setObjectName("print_preview_window");
    preview.setWindowTitle("Print Preview");
    auto* pages = new QWidget;
    auto* column = new QVBoxLayout(pages);
    for (const QImage& image : previewPages(page, draw)) {
        auto* shown = new QLabel;
        shown->setObjectName("preview_page");
        shown->setPixmap(QPixmap::fromImage(image));
        shown->setFrameShape(QFrame::Box);
        column->addWidget(shown, 0, Qt::AlignHCenter);
    }
    auto* scroll = new QScrollArea(&preview);
    scroll->setWidget(pages);
    scroll->setBackgroundRole(QPalette::Dark);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &preview);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &preview, &QDialog::reject);
    auto* layout = new QVBoxLayout(&preview);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
    preview.resize(880, 900);
    preview.exec();
}
