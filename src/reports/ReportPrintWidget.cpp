#include "reports/ReportPrintWidget.h"

#include "platform/RecordText.h"
#include "print/CReportPrinter.h"
#include "reports/grouped/ColumnText.h"

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>

ReportPrintWidget::ReportPrintWidget(QWidget* parent, std::function<bool(ReportText&)> report)
    : QWidget(parent), report_(std::move(report))
{
    setObjectName("report_print");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    const auto add = [&](const char* text, const char* name, PrintOutput output) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, output] { Print(output); });
        row->addWidget(button);
    };
    add("&Print", "print", PrintOutput::Printer);
    add("Pre&view", "preview", PrintOutput::Preview);
    add("Save PD&F...", "pdf", PrintOutput::Pdf);
}

void ReportPrintWidget::Print(PrintOutput output)
{
    ReportText r;
    if (report_(r))
        CReportPrinter::PrintReport(window(), r.header, r.body, r.widths, r.formats, output);
}

QHBoxLayout* ReportButtonRow(QDialog* dialog, std::function<bool(ReportText&)> report, QWidget* beside)
{
    auto* row = new QHBoxLayout;
    // The text as columns for a spreadsheet, without the padding that lines them up on paper.
    auto* copy = new QPushButton("&Copy Columns", dialog);
    copy->setObjectName("copy_columns");
    copy->setAutoDefault(false);
    QObject::connect(copy, &QPushButton::clicked, dialog, [report] {
        ReportText r;
        if (report(r))
            QGuiApplication::clipboard()->setText(RecordText::toQt(ColumnText(r.header + r.body)));
    });
    row->addWidget(new ReportPrintWidget(dialog, std::move(report)));
    row->addWidget(copy);
    if (beside)
        row->addWidget(beside);
    row->addStretch();
    auto* ok = new QPushButton("OK", dialog);
    ok->setObjectName("ok");
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    row->addWidget(ok);
    ok->setFocus();
    return row;
}
