#include "reports/CSalesSummaryDlg.h"

#include "platform/Clock.h"
#include "platform/RecordText.h"
#include "reports/ReportPrintWidget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QLineEdit* CSalesSummaryDlg::box(const char* caption, const char* name, const std::string& text, QGridLayout* grid,
                                 int row, int column)
{
    auto* edit = new QLineEdit(QString::fromStdString(text), this);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight);
    auto* label = new QLabel(caption, this);
    label->setBuddy(edit);
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1);
    return edit;
}

CSalesSummaryDlg::CSalesSummaryDlg(const std::string& title, const SaleSums& sums, bool showCents, QWidget* parent)
    : QDialog(parent), title_(title), texts_(FormatSummary(sums, showCents))
{
    setObjectName("CSalesSummaryDlg");
    setWindowTitle("Sales");
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(RecordText::toQt(title), this);
    heading->setObjectName("title");
    heading->setAlignment(Qt::AlignCenter);
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    heading->setFont(big);
    layout->addWidget(heading);

    auto* grid = new QGridLayout;
    const SummaryTexts& t = texts_;
    box("Taxable Subtotal", "taxable_subtotal", t.taxable, grid, 0, 0);
    box("Tax Exempt Subtotal", "exempt_subtotal", t.exempt, grid, 1, 0);
    box("Combined Subtotal", "combined_subtotal", t.combined, grid, 2, 0);
    box("Tax", "tax", t.tax, grid, 3, 0);
    box("Tax2", "tax2", t.tax2, grid, 4, 0);
    box("Handling", "handling", t.handling, grid, 5, 0);
    box("Total", "total", t.total, grid, 6, 0);
    box("Total Cost", "total_cost", t.totalCost, grid, 0, 2);
    box("Gross Profit", "gross_profit", t.grossProfit, grid, 1, 2);
    box("Number of Sales", "number_of_sales", t.count, grid, 2, 2);
    box("Sale Average", "sale_average", t.saleAverage, grid, 3, 2);
    box("Profit Average", "profit_average", t.profitAverage, grid, 4, 2);
    box("Gross Margin%", "gross_margin", t.grossMargin, grid, 5, 2);
    grid->setColumnMinimumWidth(2, 20);
    layout->addLayout(grid);

    layout->addLayout(ReportButtonRow(this, [this](ReportText& r) {
        r = {SummaryHeading(title_, Clock::now()), SummaryBody(texts_), SummaryWidths(), SummaryFormats()};
        return true;
    }));
}
