#include "sale/SaleTotalsWidget.h"

#include "sale/SaleKeys.h"
#include "sale/SaleTotals.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/InvoiceRecord.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace SaleIds;

namespace {
constexpr const char* kWidestTotal = "9999999.99";
}

SaleTotalsWidget::SaleTotalsWidget(QWidget* parent, const RegisterControlFn& reg) : QWidget(parent)
{
    auto* totals = new QGridLayout(this);
    totals->setContentsMargins(0, 0, 0, 0);
    totals->setVerticalSpacing(2);
    discount = MakeBox(this, reg, kDiscount, "discount", true);
    subtotal = MakeBox(this, reg, kSubtotal, "subtotal", false);
    tax1 = MakeBox(this, reg, kTax1, "tax1", false);
    tax2 = MakeBox(this, reg, kTax2, "tax2", false);
    handling = MakeBox(this, reg, kHandling, "handling", true);
    total = MakeBox(this, reg, kTotal, "total", false);
    taxLabel = new QLabel(this);
    reg(kTaxLabel, taxLabel, "taxlabel");
    QFont big = total->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    total->setFont(big);
    for (QLineEdit* box : {discount, subtotal, tax1, tax2, handling, total})
        FitNumberWidth(box, kWidestTotal);
    int t = 0;
    totals->addWidget(new QLabel("Discount%", this), t, 0);
    totals->addWidget(discount, t++, 1, 1, 2);
    totals->addWidget(new QLabel("Subtotal", this), t, 0);
    totals->addWidget(subtotal, t++, 1, 1, 2);
    totals->addWidget(taxLabel, t, 0);
    totals->addWidget(tax2, t, 1);  // tax 2 left of tax 1: the label's rates read in this order
    totals->addWidget(tax1, t++, 2);
    totals->addWidget(new QLabel("Handling", this), t, 0);
    totals->addWidget(handling, t++, 1, 1, 2);
    totals->addWidget(new QLabel("Total", this), t, 0);
    totals->addWidget(total, t++, 1, 1, 2);

    changeCalc = new QGroupBox("Change Calculator F6", this);
    reg(kChangeCalc, changeCalc, "changecalc");
    auto* calc = new QGridLayout(changeCalc);
    calc->setContentsMargins(6, 2, 6, 2);
    paid = MakeBox(changeCalc, reg, kPaid, "paid", true);
    paid->setToolTip("Amount of cash paid by customer.");
    change = MakeBox(changeCalc, reg, kChange, "change", false);
    change->setToolTip("Amount of change to give customer.");
    FitNumberWidth(paid, kWidestTotal);
    FitNumberWidth(change, kWidestTotal);
    calc->addWidget(new QLabel("Paid", changeCalc), 0, 0);
    calc->addWidget(paid, 0, 1);
    calc->addWidget(new QLabel("Change", changeCalc), 1, 0);
    calc->addWidget(change, 1, 1);
    totals->addWidget(changeCalc, t++, 0, 1, 3);

    getProduct = new QPushButton("Get Product F4", this);
    reg(kGetProduct, getProduct, "getproduct");
    getProduct->setToolTip("List available Products and chose one to use.");
    finish = new QPushButton("Finish Sale F9", this);
    reg(kFinishSale, finish, "finish");
    finish->setToolTip("Completes sale. Print receipt (if that option is selected), saves the sales record and "
                       "clears screen for the next sale.");
    touch = new QPushButton("Touch", this);
    reg(kTouch, touch, "touch");
    for (QPushButton* b : {getProduct, finish, touch}) {
        b->setAutoDefault(false);
        totals->addWidget(b, t++, 0, 1, 3);
    }
    totals->setRowStretch(t, 1);
}

void SaleTotalsWidget::Show(const InvoiceRecord& sale, const SalesFileHeader& h)
{
    auto blankIfZero = [&h](float v) { return v == 0 ? QString() : qs(AmountText(h, v, true)); };
    auto amount = [&h](double v) { return qs(AmountText(h, v, true)); };
    SetNumberText(paid, blankIfZero(sale.cashPaid));
    SetNumberText(discount, blankIfZero(sale.discountPercent));
    SetNumberText(handling, blankIfZero(sale.handling));
    SetNumberText(subtotal, amount(static_cast<double>(sale.taxableSubtotal) + sale.exemptSubtotal));
    SetNumberText(total, amount(sale.total));
    if (!h.showTaxesSeparately) {
        taxLabel->setText("Tax% " + qs(FixedText(static_cast<double>(sale.taxRate1) + sale.taxRate2, 2)));
        SetNumberText(tax1, amount(static_cast<double>(sale.tax1) + sale.tax2));
        tax2->hide();
    } else {
        taxLabel->setText("Tax% " + qs(FixedText(sale.taxRate2, 2)) + ", " + qs(FixedText(sale.taxRate1, 2)));
        SetNumberText(tax1, amount(sale.tax1));
        SetNumberText(tax2, amount(sale.tax2));
        tax2->show();
    }
    SetNumberText(change, amount(sale.change));
}

void SaleTotalsWidget::ShowChange(float changeAmount) { SetNumberText(change, qs(FixedText(changeAmount, 2))); }
