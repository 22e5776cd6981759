#include "reports/CDrawerReconcileDlg.h"

#include "platform/Clock.h"
#include "platform/DatePicker.h"
#include "platform/DatePicker.h"
#include "platform/RecordText.h"
#include "reports/CScanProgressDlg.h"
#include "reports/ReportPrintWidget.h"
#include "settings/SecurityGate.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>

namespace {
const char* const kAllCashiers = "All Cashiers";

struct CountBox {
    const char* caption;
    const char* name;
};
constexpr std::array<CountBox, 12> kBoxes{{{"Pennies", "pennies"},
                                           {"Nickels", "nickels"},
                                           {"Dimes", "dimes"},
                                           {"Quarters", "quarters"},
                                           {"Halves", "halves"},
                                           {"Silver Dollars", "silver_dollars"},
                                           {"Ones", "ones"},
                                           {"Fives", "fives"},
                                           {"Tens", "tens"},
                                           {"Twenties", "twenties"},
                                           {"Fifties", "fifties"},
                                           {"Hundres", "hundreds"}}};

// The day counted last, offered again while the program runs.
std::optional<QDate>& lastDay()
{
    static std::optional<QDate> day;
    return day;
}

QString amount(double v) { return QString::fromStdString(DrawerAmount(v)); }
}  // namespace

void CDrawerReconcileDlg::Open(QWidget* parent, const CLocalFile& local, SalesFileHeader& header)
{
    if (SecurityGate(local))
        return;
    CDrawerReconcileDlg(local, header, parent).exec();
}

QLabel* CDrawerReconcileDlg::amountLabel(const char* name)
{
    auto* label = new QLabel(amount(0), this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumWidth(80);
    return label;
}

QLineEdit* CDrawerReconcileDlg::countBox(const char* caption, const char* name, QGridLayout* grid, int row)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setAlignment(Qt::AlignRight);
    auto* label = new QLabel(caption, this);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    connect(edit, &QLineEdit::textChanged, this, &CDrawerReconcileDlg::Recount);
    return edit;
}

CDrawerReconcileDlg::CDrawerReconcileDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setObjectName("CDrawerReconcileDlg");
    setWindowTitle("Cash Drawer Reconciliation");
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    day_ = MakeDatePicker(this, "day", lastDay().value_or(QDate::currentDate()));
    if (!lastDay()) {
        const CalendarTime now = Clock::now();
        day_->setDate(QDate(now.year, now.month, now.day));
    }
    top->addWidget(day_);
    cashier_ = new QComboBox(this);
    cashier_->setObjectName("cashier");
    cashier_->addItem(kAllCashiers);
    for (const std::string& name : FillCashierBox(local_))
        cashier_->addItem(RecordText::toQt(name));
    cashier_->setToolTip("Count the sales and payments of this cashier only.");
    top->addWidget(cashier_);
    top->addStretch();
    layout->addLayout(top);

    auto* columns = new QHBoxLayout;
    auto* coinsGroup = new QGroupBox("Coines", this);
    auto* coinsGrid = new QGridLayout(coinsGroup);
    auto* billsGroup = new QGroupBox("Bills", this);
    auto* billsGrid = new QGridLayout(billsGroup);
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        QGridLayout* grid = i < 6 ? coinsGrid : billsGrid;
        const int row = static_cast<int>(i % 6);
        counts_[i] = countBox(kBoxes[i].caption, kBoxes[i].name, grid, row);
        values_[i] = amountLabel((std::string(kBoxes[i].name) + "_value").c_str());
        grid->addWidget(values_[i], row, 2);
    }
    coins_ = amountLabel("total_coins");
    coinsGrid->addWidget(new QLabel("Total Cones", this), 6, 0);
    coinsGrid->addWidget(coins_, 6, 2);
    bills_ = amountLabel("total_bills");
    billsGrid->addWidget(new QLabel("Total Bills", this), 6, 0);
    billsGrid->addWidget(bills_, 6, 2);
    columns->addWidget(coinsGroup);
    columns->addWidget(billsGroup);

    auto* sums = new QGridLayout;
    sums->addWidget(new QLabel("Calculated", this), 0, 1);
    sums->addWidget(new QLabel("Actual", this), 0, 2);
    calcOther_ = amountLabel("calculated_other");
    calcCash_ = amountLabel("calculated_cash");
    calcTotal_ = amountLabel("calculated_total");
    actualOther_ = new QLineEdit(this);
    actualOther_->setObjectName("actual_other");
    actualOther_->setAlignment(Qt::AlignRight);
    actualCash_ = amountLabel("actual_cash");
    drawerStart_ = new QLineEdit(this);
    drawerStart_->setObjectName("drawer_start");
    drawerStart_->setAlignment(Qt::AlignRight);
    actualTotal_ = amountLabel("actual_total");
    error_ = amountLabel("error");
    sums->addWidget(new QLabel("Other", this), 1, 0);
    sums->addWidget(calcOther_, 1, 1);
    sums->addWidget(actualOther_, 1, 2);
    sums->addWidget(new QLabel("Cash", this), 2, 0);
    sums->addWidget(calcCash_, 2, 1);
    sums->addWidget(actualCash_, 2, 2);
    sums->addWidget(new QLabel("- Drawer Start", this), 3, 0);
    sums->addWidget(drawerStart_, 3, 2);
    sums->addWidget(new QLabel("Total", this), 4, 0);
    sums->addWidget(calcTotal_, 4, 1);
    sums->addWidget(actualTotal_, 4, 2);
    sums->addWidget(new QLabel("Error", this), 5, 0);
    sums->addWidget(error_, 5, 2);
    columns->addLayout(sums);
    connect(actualOther_, &QLineEdit::textChanged, this, &CDrawerReconcileDlg::Recount);
    connect(drawerStart_, &QLineEdit::textChanged, this, &CDrawerReconcileDlg::Recount);

    types_ = new QTreeWidget(this);
    types_->setObjectName("pay_types");
    types_->setRootIsDecorated(false);
    types_->setHeaderLabels({"Pay Type", "Total"});
    types_->setColumnWidth(0, 90);
    types_->setColumnWidth(1, 60);
    types_->headerItem()->setTextAlignment(1, Qt::AlignRight);
    types_->setSelectionBehavior(QAbstractItemView::SelectRows);
    types_->setMinimumWidth(180);
    columns->addWidget(types_);
    layout->addLayout(columns);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new ReportPrintWidget(this, [this](ReportText& r) {
        r = {DrawerReportHeading(chosenDay()), DrawerReportBody(counts(), *tally_), DrawerReportWidths(),
             DrawerReportFormats()};
        return true;
    }));
    buttons->addStretch();
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ok");
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
    layout->addLayout(buttons);

    tally_ = std::make_unique<DrawerTally>(header_.paymentTypes, chosenDay());
    connect(day_, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        lastDay() = d;
        Calculate();
    });
    connect(cashier_, &QComboBox::currentIndexChanged, this, &CDrawerReconcileDlg::Calculate);
    Recount();
    Calculate();
    counts_[0]->setFocus();
}

CalendarTime CDrawerReconcileDlg::chosenDay() const { return FromQDate(day_->date()); }

DrawerCounts CDrawerReconcileDlg::counts() const
{
    DrawerCounts c;
    for (std::size_t i = 0; i < counts_.size(); ++i)
        c.counts[i] = DrawerCounts::Read(counts_[i]->text().toStdString());
    c.drawerStart = DrawerCounts::Read(drawerStart_->text().toStdString());
    c.actualOther = DrawerCounts::Read(actualOther_->text().toStdString());
    return c;
}

void CDrawerReconcileDlg::Recount()
{
    const DrawerCounts c = counts();
    for (std::size_t i = 0; i < values_.size(); ++i)
        values_[i]->setText(amount(c.Value(i)));
    coins_->setText(amount(c.Coins()));
    bills_->setText(amount(c.Bills()));
    actualCash_->setText(amount(c.Cash()));
    actualTotal_->setText(amount(c.ActualTotal()));
    error_->setText(amount(c.ActualTotal() - tally_->total()));
}

void CDrawerReconcileDlg::Calculate()
{
    // The header (its payment types) is read with the sales, off the window's
    // thread, into a copy that the windows behind never draw from meanwhile.
    const std::string cashier = cashier_->currentIndex() > 0 ? RecordText::fromQt(cashier_->currentText()) : "";
    const CalendarTime day = chosenDay();
    SalesFileHeader header = header_;
    std::unique_ptr<DrawerTally> tally;
    const ScanOutcome out = CScanProgressDlg::Run(this, [&](const ScanProgress& progress) {
        ReadHeader(local_, header);
        tally = std::make_unique<DrawerTally>(header.paymentTypes, day, cashier);
        return ScanSalesAndPayments(local_, *tally, *tally, progress);
    });
    header_ = header;
    if (out == ScanOutcome::Cancelled || !tally)
        return;  // the figures shown stay those of the last complete count
    tally_ = std::move(tally);
    types_->clear();
    for (std::size_t i = 0; i < tally_->names().size(); ++i) {
        auto* row = new QTreeWidgetItem(types_, {RecordText::toQt(tally_->names()[i]), amount(tally_->sums()[i])});
        row->setTextAlignment(1, Qt::AlignRight);
    }
    calcCash_->setText(amount(tally_->cash()));
    calcOther_->setText(amount(tally_->other()));
    calcTotal_->setText(amount(tally_->total()));
    Recount();
}
