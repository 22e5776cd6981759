#include "reports/CFindSalesDlg.h"

#include "platform/Clock.h"
#include "platform/ComboFill.h"
#include "platform/DatePicker.h"
#include "platform/MessageBox.h"
#include "platform/RecordList.h"
#include "platform/RecordText.h"
#include "reports/CSalesSummaryDlg.h"
#include "reports/CScanProgressDlg.h"
#include "reports/ReportPrintWidget.h"
#include "sale/CSaleDisplayDlg.h"
#include "settings/SecurityGate.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/files/VendorFile.h"
#include "storage/records/DefaultsRecord.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace {
constexpr ListColumn kColumns[] = {{"Record#", 55, false}, {"Total", 80, true},     {"Date", 70, false},
                                   {"Cashier", 70, false}, {"Pay Type", 70, false}, {"Sale Type", 70, false},
                                   {"Address", 270, false}};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

// The date range searched last, offered again while the program runs.
struct LastDates {
    QDate start, end;
    bool on = false;
};
std::optional<LastDates>& lastDates()
{
    static std::optional<LastDates> dates;
    return dates;
}

// The list's widths as stored; a 0 another window wrote, or a width past any
// screen, gives the built-in width.
std::vector<std::uint32_t> readWidths(const CLocalFile& local)
{
    DefaultsRecord defaults;
    ReadDefaults(local, defaults);
    std::vector<std::uint32_t> builtIn;
    for (const ListColumn& c : kColumns)
        builtIn.push_back(static_cast<std::uint32_t>(c.width));
    return ColumnWidths(defaults, DefaultsRecord::kFindSalesWidths, builtIn);
}

QPushButton* button(QWidget* owner, const char* text, const char* name, const char* tip)
{
    auto* b = new QPushButton(text, owner);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}
}  // namespace

QComboBox* CFindSalesDlg::combo(const char* name, const char* tip, bool sorted)
{
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setToolTip(tip);
    box->setProperty("sorted", sorted);
    box->installEventFilter(this);
    box->setMinimumContentsLength(12);
    return box;
}

const std::vector<std::pair<const char*, const char*>>& CFindSalesDlg::FindSalesHelp()
{
    static const std::vector<std::pair<const char*, const char*>> items{
        {"Today's Sales", "Today's Sales\n\nLists every sale completed today, the newest first.\n\n"
                          "The search boxes and dates are not used."},
        {"Search", "Search\n\nLists the sales that match everything you entered: part of an Item#, a "
                   "description, a category, department or vendor of any line; the cashier, pay type, sale "
                   "type or part of the customer's address.\n\nLeave every box empty to list all sales, the "
                   "newest first."},
        {"Sales Total", "Sales Total\n\nTotals the sales listed below: subtotals, taxes, handling, totals, "
                        "cost and profit.\n\nSearch first to list the sales you want totalled.\n\n"
                        "This function requires that the Security be turned off."},
        {"Use Date", "Use Date\n\nCheck the 'On' box to search only the sales made from the 'Start' date "
                     "through the 'End' date, both days included.\n\nLeave it unchecked to search every sale."},
        {"Low Margin Check", "Low Margin Check\n\nSearch the sales for items sold with a low margin.\n\n"
                             "Check the 'On' box and enter a margin. Enter 25 to\nsearch for margins lower "
                             "than 25%.\n\nThis function requires that the Security be turned off.\n\n"},
        {"How to View a Sale", "How to View a Sale\n\nSearch for the sale, then click on its Record# in the "
                               "list.\n\nThe sale opens as it was stored; it cannot be changed there."},
        {"How to Limit a Selection by Dates", "How to Limit a Selection by Dates\n\n1. Check the 'On' box under "
                                              "'Search by Dates'.\n2. Pick the first day in 'Start' and the last "
                                              "day in 'End'.\n3. Enter anything else to look for and click "
                                              "'Search'."},
    };
    return items;
}

CFindSalesDlg::CFindSalesDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setObjectName("CFindSalesDlg");
    setWindowTitle("Find Sales");
    resize(980, 640);
    auto* layout = new QVBoxLayout(this);

    auto* menu = new QMenuBar(this);
    QMenu* print = menu->addMenu("&Print");
    print->addAction("Print Sales List", this, [this] { PrintSalesList(static_cast<int>(PrintOutput::Printer)); });
    print->addAction("Preview Sales List", this, [this] { PrintSalesList(static_cast<int>(PrintOutput::Preview)); });
    print->addAction("Save Sales List as PDF...", this, [this] { PrintSalesList(static_cast<int>(PrintOutput::Pdf)); });
    QMenu* edit = menu->addMenu("&Edit");
    // The edit commands act on the focused box.
    for (const auto& [text, slot] : {std::pair{"Undo", "undo"}, {"Cut", "cut"}, {"Copy", "copy"}, {"Paste", "paste"}})
        edit->addAction(text, this, [slot] {
            if (QWidget* w = QApplication::focusWidget())
                QMetaObject::invokeMethod(w, slot);
        });
    edit->addAction("Delete", this, [] {
        if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
            box->del();
        else if (auto* text = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget()))
            text->textCursor().removeSelectedText();
    });
    // The settings are the main menu's own commands, so a list changed here
    // shows on the sale screen as it does when changed from there.
    QMenu* settings = menu->addMenu("&Settings");
    settings->setObjectName("menu_settings");
    if (parent)
        if (auto* main = parent->findChild<QMenu*>("menu_settings"))
            settings->addActions(main->actions());
    settings->setEnabled(!settings->isEmpty());
    QMenu* help = menu->addMenu("&Help and How To's");
    help->setObjectName("menu_help");
    for (const auto& [item, text] : FindSalesHelp())
        help->addAction(item, this, [this, text = text] { MessageBox::information(this, text); });
    layout->setMenuBar(menu);

    auto* top = new QHBoxLayout;
    auto* search = new QGroupBox(this);
    auto* grid = new QGridLayout(search);
    const auto add = [&](const char* caption, QWidget* w, int row, int column) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(w);
        grid->addWidget(label, row, column);
        grid->addWidget(w, row, column + 1);
    };
    item_ = new QLineEdit(this);
    item_->setObjectName("item");
    item_->setToolTip("Sales that contain this Item#.");
    description_ = new QLineEdit(this);
    description_->setObjectName("description");
    description_->setToolTip("Sales that contain this Description.");
    address_ = new QPlainTextEdit(this);
    address_->setObjectName("address");
    address_->setToolTip("Sales with this customer.");
    address_->setTabChangesFocus(true);
    address_->setMaximumHeight(60);
    cashier_ = combo("cashier", "Sales by this Cashier.", true);
    payType_ = combo("pay_type", "Sales with this Payment Type.", false);
    type_ = combo("sale_type", "", false);
    category_ = combo("category", "Sales that contain this Category.", true);
    department_ = combo("department", "", true);
    vendor_ = combo("vendor", "Sales that contain this Vendor.", true);
    add("Item#", item_, 0, 0);
    add("Desc", description_, 1, 0);
    add("Address", address_, 2, 0);
    add("Cashier", cashier_, 0, 2);
    add("Pay Type", payType_, 1, 2);
    add("Type", type_, 2, 2);
    add("Category", category_, 0, 4);
    add("Dept", department_, 1, 4);
    add("Vendor", vendor_, 2, 4);

    auto* dates = new QGroupBox("Search by Dates", this);
    auto* datesRow = new QGridLayout(dates);
    useDates_ = new QCheckBox("On", this);
    useDates_->setObjectName("use_dates");
    useDates_->setToolTip("Use dates in Search.");
    const CalendarTime now = Clock::now();
    start_ = MakeDatePicker(this, "start", ToQDate(FirstSaleDate(local_, now)));
    start_->setToolTip("Starting search date.");
    end_ = MakeDatePicker(this, "end", ToQDate(LastSaleDate(local_, now)));
    end_->setToolTip("Ending search date.");
    if (lastDates()) {
        start_->setDate(lastDates()->start);
        end_->setDate(lastDates()->end);
        useDates_->setChecked(lastDates()->on);
    }
    datesRow->addWidget(useDates_, 0, 0);
    datesRow->addWidget(new QLabel("Start", this), 0, 1);
    datesRow->addWidget(start_, 0, 2);
    datesRow->addWidget(new QLabel("End", this), 0, 3);
    datesRow->addWidget(end_, 0, 4);
    grid->addWidget(dates, 3, 0, 1, 4);

    lowMargin_ = new QCheckBox("Low Margin Check", this);
    lowMargin_->setObjectName("low_margin");
    marginLimit_ = new QLineEdit(this);
    marginLimit_->setObjectName("margin_limit");
    marginLimit_->setMaximumWidth(60);
    securityOn_ = new QLabel("Security On Limit", this);
    securityOn_->setObjectName("security_on_limit");
    const bool secure = SecurityGate(local_, false);
    lowMargin_->setVisible(!secure);
    marginLimit_->setVisible(!secure);
    securityOn_->setVisible(secure);
    auto* margin = new QHBoxLayout;
    margin->addWidget(lowMargin_);
    margin->addWidget(marginLimit_);
    margin->addWidget(securityOn_);
    grid->addLayout(margin, 3, 4, 1, 2);
    top->addWidget(search, 1);

    auto* buttons = new QVBoxLayout;
    auto* searchButton = button(this, "Search", "search", "Perform Search using entered information.");
    auto* today = button(this, "Today's Sales", "todays_sales", "List all Sales completed today.");
    auto* total = button(this, "Sales Total", "sales_total", "Sales total of listed sales records.");
    auto* clear = button(this, "Clear", "clear", "");
    auto* done = button(this, "Done", "done", "Get me out of here.");
    done->setDefault(true);
    for (QPushButton* b : {searchButton, today, total, clear, done})
        buttons->addWidget(b);
    top->addLayout(buttons);
    layout->addLayout(top);
    connect(searchButton, &QPushButton::clicked, this, &CFindSalesDlg::Search);
    connect(today, &QPushButton::clicked, this, &CFindSalesDlg::TodaysSales);
    connect(total, &QPushButton::clicked, this, &CFindSalesDlg::SalesTotal);
    connect(clear, &QPushButton::clicked, this, &CFindSalesDlg::Clear);
    connect(done, &QPushButton::clicked, this, &CFindSalesDlg::Done);

    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress");
    progress_->setVisible(false);
    layout->addWidget(progress_);

    model_ = new RecordListModel(
        kColumns, [this] { return rows_.size(); },
        RecordListModel::FromRecordText(
            [this](std::size_t row, int column) { return rows_.cells(row)[static_cast<std::size_t>(column)]; }),
        this);
    list_ = MakeRecordTable(this, "sales_list", model_, kColumns);
    const std::vector<std::uint32_t> widths = readWidths(local_);
    for (int i = 0; i < kColumnCount; ++i)
        list_->setColumnWidth(i, static_cast<int>(widths[static_cast<std::size_t>(i)]));
    connect(list_, &QAbstractItemView::clicked, this, &CFindSalesDlg::ViewSale);
    connect(list_, &QAbstractItemView::activated, this, &CFindSalesDlg::ViewSale);
    layout->addWidget(list_, 1);
    for (QComboBox* box : {cashier_, payType_, type_, category_, department_, vendor_})
        refill(box);
    item_->setFocus();
}

void CFindSalesDlg::refill(QComboBox* box)
{
    std::vector<std::string> entries;
    if (box == cashier_) {
        entries = FillCashierBox(local_);
    } else if (box == vendor_) {
        entries = FillVendorBox(local_);
    } else if (box == type_) {
        entries.assign(header_.levelNames.begin(), header_.levelNames.end());
    } else {
        ReadHeader(local_, header_);
        entries = ComboEntries(box == payType_ ? header_.paymentTypes
                                               : box == category_ ? header_.categories : header_.departments);
    }
    const QString current = box->currentIndex() >= 0 ? box->currentText() : QString();
    const QSignalBlocker quiet(box);
    box->clear();
    for (const std::string& e : entries)
        box->addItem(RecordText::toQt(e));
    if (box->property("sorted").toBool())
        box->model()->sort(0);
    box->setCurrentIndex(current.isEmpty() ? -1 : box->findText(current));
}

bool CFindSalesDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        if (auto* box = qobject_cast<QComboBox*>(watched))
            refill(box);
    return QDialog::eventFilter(watched, event);
}

SaleSearchInput CFindSalesDlg::input() const
{
    const auto text = [](QComboBox* box) { return box->currentIndex() >= 0 ? RecordText::fromQt(box->currentText()) : ""; };
    SaleSearchInput in;
    in.address = RecordText::fromQt(address_->toPlainText().replace('\n', ' '));
    in.description = RecordText::fromQt(description_->text());
    in.itemNumber = RecordText::fromQt(item_->text());
    in.cashier = text(cashier_);
    in.payType = text(payType_);
    in.category = text(category_);
    in.department = text(department_);
    in.vendor = text(vendor_);
    in.useDates = useDates_->isChecked();
    in.start = FromQDate(start_->date());
    in.end = FromQDate(end_->date());
    in.saleType = type_->currentIndex();
    in.lowMargin = lowMargin_->isVisible() && lowMargin_->isChecked();
    in.marginText = marginLimit_->text().toStdString();
    return in;
}

void CFindSalesDlg::list(SaleSearch search)
{
    lastDates() = LastDates{start_->date(), end_->date(), useDates_->isChecked()};
    model_->reset([&] { rows_.clear(); });
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    progress_->setVisible(true);
    const ScanOutcome out = CScanProgressDlg::Run(
        this, [&](const ScanProgress& advance) { return ScanSales(local_, search, advance); },
        [this](int value) { progress_->setValue(value); });
    progress_->setVisible(false);
    if (out == ScanOutcome::Failed)
        return;
    model_->reset([&] { rows_.list(local_, search.TakePositions(), header_.levelNames); });
}

void CFindSalesDlg::Search() { list(SaleSearch(SaleSearchCriteria::From(input()))); }

void CFindSalesDlg::TodaysSales() { list(SaleSearch::Today(Clock::now())); }

void CFindSalesDlg::SalesTotal()
{
    if (SecurityGate(local_))
        return;
    ListedSalesTotal total(rows_.positions());
    if (rows_.size() > 0) {  // an empty list totals to zeros without reading
        const ScanOutcome out = CScanProgressDlg::Run(
            this, [&](const ScanProgress& progress) { return ScanSales(local_, total, progress); });
        if (out == ScanOutcome::Cancelled)
            return;
    }
    CSalesSummaryDlg("Sales Totals", total.sums(), header_.showCents != 0, this).exec();
}

void CFindSalesDlg::PrintSalesList(int output)
{
    if (rows_.size() == 0) {
        MessageBox::information(this, "There are no Sales listed to print.");
        return;
    }
    ReportPrintWidget printer(this, [&](ReportText& r) {
        r = {SalesListHeading(Clock::now()), SalesListBody(rows_), SalesListWidths(), SalesListFormats()};
        return true;
    });
    printer.Print(static_cast<PrintOutput>(output));
}

void CFindSalesDlg::Clear()
{
    address_->clear();
    description_->clear();
    item_->clear();
    for (QComboBox* box : {cashier_, payType_, type_, category_, department_, vendor_})
        box->setCurrentIndex(-1);
}

void CFindSalesDlg::Done()
{
    // Only this list's words, so widths another window saved meanwhile stay.
    std::vector<std::uint32_t> widths;
    for (int i = 0; i < kColumnCount; ++i)
        widths.push_back(static_cast<std::uint32_t>(list_->columnWidth(i)));
    WriteDefaultWords(local_, DefaultsRecord::kFindSalesWidths, widths);
    accept();
}

void CFindSalesDlg::ViewSale()
{
    const int row = list_->currentRow();
    if (row < 0) {
        MessageBox::information(this, "Click on a Record# to view that sale.");
        return;
    }
    const long long position = rows_.position(static_cast<std::size_t>(row));
    CSaleDisplayDlg::ShowStoredSale(this, local_, header_, static_cast<int>(position));
}
