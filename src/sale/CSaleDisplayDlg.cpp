#include "sale/CSaleDisplayDlg.h"

#include "platform/RecordText.h"
#include "sale/SaleDisplay.h"
#include "settings/SecurityGate.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int kShownRows = 12;
constexpr int kMarginColumn = 6;
}  // namespace

void CSaleDisplayDlg::ShowStoredSale(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                     int recordNumber)
{
    CSaleDisplayDlg dlg(local, header, parent);
    InvoiceRecord sale;
    if (ReadInvoice(local, recordNumber, sale))
        dlg.Show(sale);
    dlg.exec();
}

CSaleDisplayDlg::CSaleDisplayDlg(const CLocalFile& local, const SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setObjectName("CSaleDisplayDlg");
    setWindowTitle("Sale");
    auto* outer = new QVBoxLayout(this);
    fields_ = new QGridLayout;
    outer->addLayout(fields_);

    lines_ = new QTableWidget(0, 7, this);
    lines_->setObjectName("display_lines");
    lines_->setHorizontalHeaderLabels({"Item#", "Qty", "Description", "%-", "Price", "Amount", "Margin"});
    lines_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lines_->verticalHeader()->setVisible(false);
    lines_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lines_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    lines_->setMinimumHeight(lines_->horizontalHeader()->sizeHint().height() +
                             kShownRows * lines_->verticalHeader()->defaultSectionSize() + 4);
    lines_->setColumnHidden(kMarginColumn, SecurityGate(local_, false));
    outer->addWidget(lines_);
    auto* close = new QPushButton("OK", this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    outer->addWidget(close, 0, Qt::AlignRight);
    resize(720, 600);
}

QLabel* CSaleDisplayDlg::field(const char* caption, const char* name, int row, int column)
{
    fields_->addWidget(new QLabel(caption, this), row, column);
    auto* value = new QLabel(this);
    value->setObjectName(name);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fields_->addWidget(value, row, column + 1);
    return value;
}

void CSaleDisplayDlg::Show(const InvoiceRecord& sale)
{
    const SaleDisplay d = BuildSaleDisplay(local_, header_, sale, !SecurityGate(local_, false));
    const struct {
        const char* caption;
        const char* name;
        const std::string& text;
        int row, column;
    } fields[] = {
        {"Customer", "display_customer", d.customer, 0, 0},  {"Cashier", "display_cashier", d.cashier, 0, 2},
        {"Salesperson", "display_salesperson", d.salesperson, 1, 2},
        {"Level", "display_level", d.level, 2, 2},           {"Payment", "display_payment", d.payment, 3, 2},
        {"Discount%", "display_discount", d.discount, 4, 0}, {"Subtotal", "display_subtotal", d.subtotal, 5, 0},
        {"Handling", "display_handling", d.handling, 6, 0},  {"Tax 1", "display_tax1", d.tax1, 4, 2},
        {"Tax 2", "display_tax2", d.tax2, 5, 2},             {"Tax%", "display_rates", d.rates, 6, 2},
        {"Record#", "display_record", d.recordNumber, 7, 0}, {"Total", "display_total", d.total, 7, 2},
    };
    for (const auto& f : fields)
        field(f.caption, f.name, f.row, f.column)->setText(RecordText::toQt(f.text));
    lines_->setRowCount(static_cast<int>(d.lines.size()));
    for (int r = 0; r < static_cast<int>(d.lines.size()); ++r) {
        const SaleDisplay::Line& l = d.lines[static_cast<std::size_t>(r)];
        const std::string* cells[] = {&l.item, &l.qty, &l.description, &l.markdown, &l.price, &l.amount, &l.margin};
        for (int c = 0; c < 7; ++c)
            lines_->setItem(r, c, new QTableWidgetItem(RecordText::toQt(*cells[c])));
    }
}
