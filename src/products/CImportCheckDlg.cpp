#include "products/CImportCheckDlg.h"

#include "platform/RecordText.h"
#include "storage/records/TextFormat.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const char* const CImportCheckDlg::kFormatMessage =
    "The file format must be:\n\nTaxable:\t\t0,1,2 or 3 <tab>\nQty:\t\tnum <tab>\nCost:\t\tnum <tab>\nPrice 1:\t\tnum "
    "<tab\nPrice 2:\t\tnum <tab\nPrice 3:\t\tnum <tab\nPrice 4:\t\tnum <tab\nPrice 5:\t\tnum <tab\nPrice 6:\t\tnum "
    "<tab\nSale%:\t\tnum <tab>\nCase Qty:\tnum <tab>\nCategory:\tstring <tab>\nProduct ID:\tstring "
    "<tab>\nDescription:\tstring <tab>\nVendor:\t\tstring <tab>\nVendor#:\t\tstring <tab>\nDepartment:\tstring "
    "<tab>\nBar Code:\tstring < tab >\nShow in Touch:\t0 or 1 <return>\n";

namespace {
enum Box { kItem, kBarCode, kDesc, kVendor, kVendorNumber, kCategory, kDepartment, kTaxable, kTouch, kCommission,
           kRental, kCost, kCase, kStock, kSale, kPrice1, kBoxCount = kPrice1 + 6 };
const char* const kLabels[kBoxCount] = {"Product ID*", "Bar Code", "*Desc", "Vendor*", "Vendor#*", "Category*",
                                        "Department*", "Taxable", "No Touch", "Commission", "Rental", "Cost", "Case",
                                        "Stock", "%Sale", "Price", "Price", "Price", "Price", "Price", "Price"};
}  // namespace

CImportCheckDlg::CImportCheckDlg(const std::vector<ProductRecord>& records, QWidget* parent)
    : QDialog(parent), records_(records)
{
    setWindowTitle("Check File Before Import");
    setObjectName("import_check_dialog");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Check the file before importing. Click OK to import.", this));
    auto* grid = new QGridLayout;
    for (int b = 0; b < kBoxCount; ++b) {
        auto* box = new QLineEdit(this);
        box->setReadOnly(true);
        box->setObjectName(QString("check_%1").arg(b));
        boxes_.push_back(box);
        grid->addWidget(new QLabel(kLabels[b], this), b / 4, (b % 4) * 2);
        grid->addWidget(box, b / 4, (b % 4) * 2 + 1);
    }
    layout->addLayout(grid);
    auto* row = new QHBoxLayout;
    auto* prev = new QPushButton("<<<  Prev", this);
    prev->setObjectName("prev");
    auto* next = new QPushButton("Next  >>>", this);
    next->setObjectName("next");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ok");
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancel");
    for (auto* b : {prev, next, ok, cancel}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    layout->addLayout(row);
    connect(prev, &QPushButton::clicked, this, &CImportCheckDlg::OnPrev);
    connect(next, &QPushButton::clicked, this, &CImportCheckDlg::OnNext);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Show();
}

void CImportCheckDlg::OnPrev()
{
    if (current_ > 0)
        --current_;
    Show();
}

void CImportCheckDlg::OnNext()
{
    if (current_ + 1 < static_cast<int>(records_.size()))
        ++current_;
    Show();
}

void CImportCheckDlg::Show()
{
    if (records_.empty()) {
        for (auto* box : boxes_)
            box->clear();
        return;
    }
    const ProductRecord& r = records_[static_cast<std::size_t>(current_)];
    auto set = [&](int b, const std::string& s) { boxes_[static_cast<std::size_t>(b)]->setText(RecordText::toQt(s)); };
    auto num = [](float v, const char* f) { return strprintf(f, static_cast<double>(v)); };
    set(kItem, r.itemNumber);
    set(kBarCode, r.barCode);
    set(kDesc, r.description);
    set(kVendor, r.vendor);
    set(kVendorNumber, r.vendorNumber);
    set(kCategory, r.category);
    set(kDepartment, r.department);
    set(kTaxable, strprintf("%u", static_cast<unsigned>(r.taxStatus)));
    set(kTouch, strprintf("%u", static_cast<unsigned>(r.showOnTouch)));
    set(kCommission, num(r.commissionPercent, "%.1f"));
    set(kRental, strprintf("%u", static_cast<unsigned>(r.mode)));
    set(kCost, num(r.cost, "%.2f"));
    set(kCase, num(r.caseQty, "%.2f"));
    set(kStock, num(r.stock, "%.2f"));
    set(kSale, num(r.salePercent, "%.2f"));
    for (int p = 0; p < 6; ++p)
        set(kPrice1 + p, num(r.price[static_cast<std::size_t>(p)], "%.2f"));
}
