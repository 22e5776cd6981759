#include "CSaleDlg.h"

#include "ByteCodec.h"
#include "CGeneralDlg.h"
#include "CLocalFile.h"
#include "CLoginDlg.h"
#include "CSalePrinter.h"
#include "CSecurityDlg.h"
#include "CustomerFile.h"
#include "Clock.h"
#include "ComboFill.h"
#include "FileDialog.h"
#include "FileSetStartup.h"
#include "InvoiceFile.h"
#include "ListFiles.h"
#include "MessageBox.h"
#include "PaymentHistory.h"
#include "SaleKeys.h"
#include "SaleTotals.h"
#include "SalesFileHeader.h"
#include "SecurityGate.h"
#include "TextFormat.h"
#include "UserPrompt.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDate>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

using namespace SaleIds;

namespace {

const char* const kPosFilter = "Retail POS (*.pos)|*.pos|All Files (*.*)|*.*||";

// A number as it may be shown: never "nan" or "inf".
double SafeShown(double v) { return std::isfinite(v) ? v : 0.0; }

QString qs(const std::string& text) { return QString::fromLocal8Bit(text.c_str()); }
std::string ss(const QString& text) { return text.toLocal8Bit().toStdString(); }

// The text of a number box as a number: what is not a number counts as 0, and
// so does anything that would not be a finite amount.
double readNumber(const QString& text)
{
    const std::string s = ss(text.trimmed());
    const char* begin = s.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(v))
        return 0;
    return v;
}

// A combo box that refills itself just before its list opens.
class RefillingCombo : public QComboBox {
public:
    RefillingCombo(std::function<void()> refill, QWidget* parent) : QComboBox(parent), refill_(std::move(refill)) {}
    void showPopup() override
    {
        refill_();
        QComboBox::showPopup();
    }

private:
    std::function<void()> refill_;
};

// Selects the entry with this text (letter case ignored), or none.
void selectText(QComboBox* combo, const std::string& text)
{
    combo->setCurrentIndex(text.empty() ? -1 : combo->findText(qs(text), Qt::MatchFixedString));
}

}  // namespace

CSaleDlg::CSaleDlg(CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header), state_(local, header, [] { return Clock::now(); })
{
    setObjectName("CSaleDlg");
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(1024, 740);
    BuildControls();
    BuildMenus();
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

// ---------------------------------------------------------------------------
// Controls

void CSaleDlg::RegisterControl(int id, QWidget* widget, const char* name)
{
    widget->setObjectName(QString("%1_%2").arg(name).arg(id));
    byId_[id] = widget;
}

QLineEdit* CSaleDlg::AddBox(int id, const char* name, bool editable)
{
    auto* box = new QLineEdit(this);
    RegisterControl(id, box, name);
    if (!editable) {
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
    }
    return box;
}

QWidget* CSaleDlg::control(int id) const
{
    const auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
}

void CSaleDlg::BuildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 4);
    outer->setSpacing(4);
    menuBar_ = new QMenuBar(this);
    outer->setMenuBar(menuBar_);

    // Top: customer, the people and payment, the calendar.
    auto* top = new QHBoxLayout;
    customerGroup_ = new QGroupBox("Customer Information  F3", this);
    RegisterControl(kCustomerGroup, customerGroup_, "customer");
    auto* cust = new QGridLayout(customerGroup_);
    cust->setContentsMargins(6, 2, 6, 2);
    cust->setVerticalSpacing(2);
    for (std::size_t k = 0; k < address_.size(); ++k)
        address_[k] = AddBox(kCustomerName + static_cast<int>(k), "address", true);
    address_[0]->setObjectName(QString("name_%1").arg(kCustomerName));
    for (std::size_t k = 0; k < addressLabels_.size(); ++k) {
        addressLabels_[k] = new QLabel(this);
        cust->addWidget(addressLabels_[k], static_cast<int>(k), 0);
    }
    cust->addWidget(address_[0], 0, 1, 1, 3);  // name
    cust->addWidget(address_[1], 1, 1, 1, 3);  // company
    cust->addWidget(address_[2], 2, 1, 1, 3);  // address
    cust->addWidget(address_[3], 3, 1);        // city
    cust->addWidget(address_[4], 3, 2);        // state
    cust->addWidget(address_[5], 3, 3);        // zip
    cust->addWidget(address_[6], 4, 1, 1, 2);  // phone
    cust->addWidget(address_[7], 4, 3);        // second phone
    cust->addWidget(address_[8], 5, 1, 1, 3);  // e-mail
    address_[4]->setMaximumWidth(50);
    cust->setColumnStretch(1, 3);
    cust->setColumnStretch(3, 2);
    taxZone_ = new QLabel(this);
    RegisterControl(kTaxZone, taxZone_, "taxzone");
    cust->addWidget(taxZone_, 6, 1, 1, 3);
    top->addWidget(customerGroup_, 3);

    auto* people = new QVBoxLayout;
    cashier_ = new QPushButton("Log Cashier", this);
    RegisterControl(kCashier, cashier_, "cashier");
    cashier_->setToolTip("Log in available Cashiers 'Settings: Cashiers Names'.");
    cashier_->setAutoDefault(false);
    people->addWidget(cashier_);
    salespersonLabel_ = new QLabel("Salesperson: F7", this);
    people->addWidget(salespersonLabel_);
    salesperson_ = new RefillingCombo([this] { FillSalespeople(); }, this);
    RegisterControl(kSalesperson, salesperson_, "salesperson");
    people->addWidget(salesperson_);
    people->addWidget(new QLabel("Payment: F8", this));
    payType_ = new RefillingCombo(
        [this] {
            ReadHeader(local_, header_);
            FillPayTypes();
        },
        this);
    RegisterControl(kPayType, payType_, "paytype");
    payType_->setToolTip("Available payment types in the menu 'Settings: Payment Types'.");
    people->addWidget(payType_);
    paidState_ = new QLabel(this);
    RegisterControl(kPaidState, paidState_, "paidstate");
    people->addWidget(paidState_);
    people->addStretch();
    top->addLayout(people, 2);

    calendar_ = new QCalendarWidget(this);
    RegisterControl(kCalendar, calendar_, "calendar");
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setFocusPolicy(Qt::NoFocus);
    calendar_->setMaximumSize(260, 190);
    top->addWidget(calendar_, 2);
    outer->addLayout(top);

    // Middle: the line grid and its scroll bar; the totals beside it.
    auto* middle = new QHBoxLayout;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
    const char* captions[] = {"Item Code F5", "Stock", "Qty", "Description", "%-", "Price", "Extended"};
    for (int c = 0; c < 7; ++c)
        grid->addWidget(new QLabel(captions[c], this), 0, c);
    for (int r = 0; r < SaleState::kRows; ++r) {
        item_[r] = AddBox(kItem + r, "item", true);
        stock_[r] = AddBox(kStock + r, "stock", false);
        qty_[r] = AddBox(kQty + r, "qty", true);
        desc_[r] = AddBox(kDescription + r, "desc", true);
        markdown_[r] = AddBox(kMarkdown + r, "markdown", true);
        price_[r] = AddBox(kPrice + r, "price", true);
        extended_[r] = AddBox(kExtended + r, "extended", false);
        const std::pair<QLineEdit*, Column> row[] = {
            {item_[r], Column::Item},         {stock_[r], Column::Stock},       {qty_[r], Column::Qty},
            {desc_[r], Column::Description}, {markdown_[r], Column::Markdown}, {price_[r], Column::Price},
            {extended_[r], Column::Extended}};
        for (int c = 0; c < 7; ++c) {
            grid->addWidget(row[c].first, r + 1, c);
            cells_[row[c].first] = Cell{row[c].second, r};
        }
        for (QLineEdit* box : {stock_[r], qty_[r], markdown_[r], price_[r], extended_[r]})
            box->setAlignment(Qt::AlignRight);
    }
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 6);
    grid->setColumnStretch(4, 1);
    grid->setColumnStretch(5, 2);
    grid->setColumnStretch(6, 2);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    RegisterControl(kScrollBar, scroll_, "scroll");
    scroll_->setRange(0, SaleState::kMaxScroll);
    scroll_->setPageStep(1);
    scroll_->setFocusPolicy(Qt::NoFocus);
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int v) { ScrollTo(v); });
    grid->addWidget(scroll_, 1, 7, SaleState::kRows, 1);
    grid->setRowStretch(SaleState::kRows + 1, 1);  // rows stay together at the top
    middle->addLayout(grid, 5);

    auto* totals = new QGridLayout;
    totals->setVerticalSpacing(2);
    int t = 0;
    discount_ = AddBox(kDiscount, "discount", true);
    subtotal_ = AddBox(kSubtotal, "subtotal", false);
    tax1_ = AddBox(kTax1, "tax1", false);
    tax2_ = AddBox(kTax2, "tax2", false);
    handling_ = AddBox(kHandling, "handling", true);
    total_ = AddBox(kTotal, "total", false);
    taxLabel_ = new QLabel(this);
    RegisterControl(kTaxLabel, taxLabel_, "taxlabel");
    totals->addWidget(new QLabel("Discount%", this), t, 0);
    totals->addWidget(discount_, t++, 1, 1, 2);
    totals->addWidget(new QLabel("Subtotal", this), t, 0);
    totals->addWidget(subtotal_, t++, 1, 1, 2);
    totals->addWidget(taxLabel_, t, 0);
    totals->addWidget(tax2_, t, 1);  // tax 2 left of tax 1: the label's rates read in this order
    totals->addWidget(tax1_, t++, 2);
    totals->addWidget(new QLabel("Handling", this), t, 0);
    totals->addWidget(handling_, t++, 1, 1, 2);
    totals->addWidget(new QLabel("Total", this), t, 0);
    totals->addWidget(total_, t++, 1, 1, 2);
    for (QLineEdit* box : {discount_, subtotal_, tax1_, tax2_, handling_, total_})
        box->setAlignment(Qt::AlignRight);
    QFont big = total_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    total_->setFont(big);

    changeCalc_ = new QGroupBox("Change Calculator F6", this);
    RegisterControl(kChangeCalc, changeCalc_, "changecalc");
    auto* calc = new QGridLayout(changeCalc_);
    calc->setContentsMargins(6, 2, 6, 2);
    paid_ = AddBox(kPaid, "paid", true);
    paid_->setToolTip("Amount of cash paid by customer.");
    change_ = AddBox(kChange, "change", false);
    change_->setToolTip("Amount of change to give customer.");
    paid_->setAlignment(Qt::AlignRight);
    change_->setAlignment(Qt::AlignRight);
    calc->addWidget(new QLabel("Paid", this), 0, 0);
    calc->addWidget(paid_, 0, 1);
    calc->addWidget(new QLabel("Change", this), 1, 0);
    calc->addWidget(change_, 1, 1);
    connect(paid_, &QLineEdit::textEdited, this, &CSaleDlg::OnPaidEdited);
    totals->addWidget(changeCalc_, t++, 0, 1, 3);

    getProduct_ = new QPushButton("Get Product F4", this);
    RegisterControl(kGetProduct, getProduct_, "getproduct");
    getProduct_->setToolTip("List available Products and chose one to use.");
    finish_ = new QPushButton("Finish Sale F9", this);
    RegisterControl(kFinishSale, finish_, "finish");
    finish_->setToolTip("Completes sale. Print receipt (if that option is selected), saves the sales record and "
                        "clears screen for the next sale.");
    touch_ = new QPushButton("Touch", this);
    RegisterControl(kTouch, touch_, "touch");
    totals->addWidget(getProduct_, t++, 0, 1, 3);
    totals->addWidget(finish_, t++, 0, 1, 3);
    totals->addWidget(touch_, t++, 0, 1, 3);
    totals->setRowStretch(t, 1);
    middle->addLayout(totals, 2);
    outer->addLayout(middle, 1);

    // Bottom: navigation, today's notes, the old-record banner, the file.
    auto* bottom = new QHBoxLayout;
    auto* navigate = new QGroupBox("Navigate", this);
    auto* nav = new QGridLayout(navigate);
    nav->setContentsMargins(6, 2, 6, 2);
    prev_ = new QPushButton("Prev", this);
    RegisterControl(kPrev, prev_, "prev");
    prev_->setToolTip("Displays the Previous sale record.");
    next_ = new QPushButton("Next", this);
    RegisterControl(kNext, next_, "next");
    next_->setToolTip("Displays the Next sale record.");
    current_ = new QPushButton("Current", this);
    RegisterControl(kCurrent, current_, "current");
    current_->setToolTip("Displays the Current unprocessed sale.");
    recordNumber_ = AddBox(kRecordNumber, "recordno", true);
    recordNumber_->setToolTip("Sales record number to display with the button 'Goto#'.");
    goto_ = new QPushButton("Goto#", this);
    RegisterControl(kGoto, goto_, "goto");
    goto_->setToolTip("Displays the specified sales record.");
    records_ = AddBox(kRecords, "records", false);
    records_->setToolTip("Total number of Sales records.");
    nav->addWidget(prev_, 0, 0);
    nav->addWidget(next_, 0, 1);
    nav->addWidget(current_, 0, 2);
    nav->addWidget(recordNumber_, 1, 0);
    nav->addWidget(goto_, 1, 1);
    auto* recordsLabel = new QLabel("Records", this);
    nav->addWidget(recordsLabel, 2, 0);
    nav->addWidget(records_, 2, 1);
    for (QPushButton* b : {getProduct_, finish_, touch_, prev_, next_, current_, goto_})
        b->setAutoDefault(false);
    bottom->addWidget(navigate);

    notesGroup_ = new QGroupBox("Todays Notes", this);
    auto* notesLayout = new QVBoxLayout(notesGroup_);
    notesLayout->setContentsMargins(6, 2, 6, 2);
    notes_ = new QPlainTextEdit(this);
    RegisterControl(kTodaysNotes, notes_, "notes");
    notes_->setTabChangesFocus(true);
    notes_->setMaximumHeight(90);
    notesLayout->addWidget(notes_);
    bottom->addWidget(notesGroup_, 1);
    outer->addLayout(bottom);

    banner_ = new QLabel(this);
    RegisterControl(kBanner, banner_, "banner");
    QFont bannerFont = banner_->font();
    bannerFont.setBold(true);
    banner_->setFont(bannerFont);
    banner_->setStyleSheet("color: rgb(160, 0, 0);");
    banner_->hide();
    fileLocation_ = new QLabel(this);
    RegisterControl(kFileLocation, fileLocation_, "filelocation");
    auto* status = new QHBoxLayout;
    status->addWidget(fileLocation_, 1);
    status->addWidget(banner_);
    outer->addLayout(status);

    // Tab order: row by row through the grid, then the totals and the rest.
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* w) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    };
    for (int r = 0; r < SaleState::kRows; ++r)
        for (QWidget* w : {item_[r], qty_[r], desc_[r], markdown_[r], price_[r]})
            chain(w);
    for (QWidget* w : {static_cast<QWidget*>(discount_), static_cast<QWidget*>(handling_),
                       static_cast<QWidget*>(paid_)})
        chain(w);
    for (QLineEdit* box : address_)
        chain(box);
    for (QWidget* w : {static_cast<QWidget*>(cashier_), static_cast<QWidget*>(salesperson_),
                       static_cast<QWidget*>(payType_), static_cast<QWidget*>(getProduct_),
                       static_cast<QWidget*>(finish_), static_cast<QWidget*>(touch_),
                       static_cast<QWidget*>(prev_), static_cast<QWidget*>(next_),
                       static_cast<QWidget*>(current_), static_cast<QWidget*>(recordNumber_),
                       static_cast<QWidget*>(goto_), static_cast<QWidget*>(notes_)})
        chain(w);

    connect(cashier_, &QPushButton::clicked, this, &CSaleDlg::OnCashier);
    connect(getProduct_, &QPushButton::clicked, this, &CSaleDlg::OnGetProduct);
    connect(finish_, &QPushButton::clicked, this, &CSaleDlg::OnFinishSale);
    connect(touch_, &QPushButton::clicked, this, &CSaleDlg::OnTouch);
    connect(prev_, &QPushButton::clicked, this, &CSaleDlg::GoPrev);
    connect(next_, &QPushButton::clicked, this, &CSaleDlg::GoNext);
    connect(current_, &QPushButton::clicked, this, &CSaleDlg::GoCurrent);
    connect(goto_, &QPushButton::clicked, this, &CSaleDlg::GoToRecord);
    connect(salesperson_, &QComboBox::activated, this,
            [this](int) { state_.ChooseSalesperson(ss(salesperson_->currentText())); });
    connect(payType_, &QComboBox::activated, this, [this](int) {
        state_.ChoosePayType(ss(payType_->currentText()));
        ShowSale();
    });
}

// The whole menu bar. Commands whose windows are not part of the register yet
// are shown greyed, so the menus read as they will.
void CSaleDlg::BuildMenus()
{
    auto add = [this](QMenu* menu, const char* text, const char* name, std::function<void()> run = {}) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        // "ready": the command does something; UpdateMenuStates keeps the
        // others greyed.
        action->setProperty("ready", static_cast<bool>(run));
        if (run)
            connect(action, &QAction::triggered, this, run);
        else
            action->setEnabled(false);
        return action;
    };
    auto greyed = [this](QMenu* menu, std::initializer_list<const char*> texts) {
        for (const char* text : texts)
            menu->addAction(text)->setEnabled(false);
    };

    QMenu* file = menuBar_->addMenu("&File");
    file->setObjectName("menu_file");
    add(file, "&Connect...", "action_connect", [this] { OnFileConnect(); });
    add(file, "&New...", "action_new", [this] { OnFileNew(); });
    file->addSeparator();
    greyed(file, {"Print Sales Copy...", "Print Packing List..."});
    add(file, "Choose Receipt Printer...", "action_choose_receipt_printer",
        [this] { CSalePrinter::ChooseReceiptPrinter(this, local_); });
    add(file, "Open Drawer", "action_open_drawer", [this] { CSalePrinter::OpenDrawer(this, local_); });
    file->addSeparator();
    add(file, "E&xit", "action_exit", [this] { close(); });

    QMenu* edit = menuBar_->addMenu("&Edit");
    edit->setObjectName("menu_edit");
    // The standard edit commands act on the focused box.
    auto onFocused = [](const char* slot) {
        return [slot] {
            if (QWidget* w = QApplication::focusWidget())
                QMetaObject::invokeMethod(w, slot);
        };
    };
    add(edit, "&Undo\tCtrl+Z", "action_undo", onFocused("undo"));
    edit->addSeparator();
    add(edit, "Cu&t\tCtrl+X", "action_cut", onFocused("cut"));
    add(edit, "&Copy\tCtrl+C", "action_copy", onFocused("copy"));
    add(edit, "&Paste\tCtrl+V", "action_paste", onFocused("paste"));
    add(edit, "&Delete\tDel", "action_delete", [] {
        if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
            box->del();
        else if (auto* text = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget()))
            text->textCursor().removeSelectedText();
    });

    QMenu* settings = menuBar_->addMenu("&Settings");
    settings->setObjectName("menu_settings");
    add(settings, "General", "action_general", [this] {
        if (!CGeneralDlg::Run(this, local_, header_))
            return;
        if (state_.showingNew())
            state_.Recalculate();
        else
            RecalculateTotals(state_.held, header_);
        ShowSale();
    });
    add(settings, "Security", "action_security", [this] {
        CSecurityDlg security(local_, header_, this);
        security.exec();
    });
    greyed(settings, {"Our Company", "Receipt Messages", "Taxes", "Terms", "Sale Dates", "Discount Levels"});
    add(settings, "Customers", "action_customers", [this] { OnCustomerInformation(); });
    greyed(settings, {"Cashiers", "Sales Personnel", "Payment Types", "Catagories", "Departments", "Vendors"});

    QMenu* products = menuBar_->addMenu("&Products");
    add(products, "Find Product", "action_find_product", [this] { OnGetProduct(); });
    greyed(products, {"New / Edit Products", "Purchase Order"});

    QMenu* sales = menuBar_->addMenu("S&ales");
    sales->setObjectName("menu_sales");
    greyed(sales, {"Find a Sale"});
    editSale_ = add(sales, "Edit This Sale", "action_edit_sale");
    voidSale_ = add(sales, "Void This Sale", "action_void_sale", [this] { VoidThisSale(); });
    clearSale_ = add(sales, "Clear This Sale", "action_clear_sale", [this] { OnClearThisSale(); });
    sales->addSeparator();
    greyed(sales, {"Export Sales"});

    QMenu* reports = menuBar_->addMenu("&Reports");
    greyed(reports, {"Sales Today", "Sales This Week", "Sales This Month", "Sales This Quarter", "Sales This Year"});
    reports->addSeparator();
    greyed(reports, {"Sales Yesterday", "Sales Last Week", "Sales Last Month", "Sales Last Quarter", "Sales Last Year"});
    reports->addSeparator();
    greyed(reports, {"Sales...", "Cash Drawer Reconciliation"});
    reports->addSeparator();
    greyed(reports, {"All Product Sales Summary", "Category Sales By Product", "Vendor Sales By Product",
                     "All Category Sales Summary", "All Vendor Sales Summary"});
    reports->addSeparator();
    greyed(reports, {"Customer Sales List", "Customer Sales By Product", "Customer Sales By Categories",
                     "Customer Sales By Vendors", "All Customers Sales Summary"});
    reports->addSeparator();
    greyed(reports, {"All Cashiers Sales Summary", "Cashier Sales By Product", "Cashier Sales By Categories",
                     "Cashier Sales By Vendors"});
    reports->addSeparator();
    greyed(reports, {"All Salespersons Sales Summary", "Salesperson Sales By Product",
                     "Salesperson Sales By Categories", "Salesperosn Sales By Vendors"});
    reports->addSeparator();
    greyed(reports, {"Graph Sales by Hour of Day", "Graph Sales by Hour of Week", "Graph Sales by Month",
                     "12 Month Trend Graph"});

    QMenu* quotes = menuBar_->addMenu("&Quotes");
    greyed(quotes, {"Save", "Print...", "Find...", "Help"});

    QMenu* rentals = menuBar_->addMenu("Re&ntals");
    greyed(rentals, {"List All Rental Records", "List Rentals Not Returned", "Return Rental"});

    QMenu* payments = menuBar_->addMenu("Pa&yments");
    greyed(payments, {"List All Payments", "Invoices with a Balance Due", "Invoices Past Due", "Make Payment"});
    payThisSale_ = add(payments, "Make Payment to this Sale", "action_pay_this_sale");

    QMenu* help = menuBar_->addMenu("&Help");
    add(help, "About Register", "action_about", [this] {
        MessageBox::information(this, "Register\n\nA cash register for small stores.\n\n"
                                      "Ring up sales on this screen: type or scan item codes into the grid, "
                                      "F3 for the customer, F7 salesperson, F8 payment type, F9 to finish.");
    });
}

// ---------------------------------------------------------------------------
// Start-up and file sets

bool CSaleDlg::Initialize()
{
    if (!CheckLocalFileVersion(local_))
        return false;
    if (local_.Load()) {
        userPrompt().showMessage(
            "Unable to locate files.\n\nPossible problems:\n\n   o Files or folder has been moved.\n\n"
            "   o The server is not on.\n\n");
        OnFileConnect();
        if (local_.Load())
            return false;
    }
    if (!CheckHeaderVersion(local_))
        return false;
    if (!OpenHeaderWithFallback(local_, header_)) {
        userPrompt().showMessage("Unable to open or create the sales header file:\n\n" + local_.GetPath("Head"));
        return false;
    }
    OpenFileSet();
    return true;
}

void CSaleDlg::OpenFileSet()
{
    state_.Open();
    scroll_->setValue(0);
    FillPayTypes();
    FillSalespeople();
    ApplyVisibility();
    CustomerFileHeader customers;
    ReadCustomerHeader(local_, customers);
    for (std::size_t k = 0; k < addressLabels_.size(); ++k)
        addressLabels_[k]->setText(qs(customers.labels[k]));
    if (header_.rollFontSize < 6 || header_.rollFontSize > 128)
        header_.rollFontSize = 24;
    calendar_->setSelectedDate(QDate(Clock::now().year, Clock::now().month, Clock::now().day));
    ShowFileSet();
    SetReadOnly(false);
    banner_->hide();
    ShowSale();
    UpdateMenuStates();
}

void CSaleDlg::ShowFileSet()
{
    setWindowTitle("Register - " + qs(local_.GetPath("Head")));
}

void CSaleDlg::ApplyVisibility()
{
    customerGroup_->setVisible(header_.showMailingAddress != 0);
    calendar_->setVisible(header_.showCalendar != 0);
    changeCalc_->setVisible(header_.showChangeCalc != 0);
    touch_->setVisible(header_.showTouchButton != 0);
    salesperson_->setVisible(header_.showSalesperson != 0);
    salespersonLabel_->setVisible(header_.showSalesperson != 0);
    notesGroup_->setVisible(header_.showTodaysNotes != 0);
}

void CSaleDlg::FillSalespeople()
{
    salesperson_->clear();
    for (const std::string& name : FillSalespersonBox(local_))
        salesperson_->addItem(qs(name));
    selectText(salesperson_, state_.current.salesperson);
}

void CSaleDlg::FillPayTypes()
{
    FillCombo(payType_, header_.paymentTypes);
    selectText(payType_, state_.current.payType);
}

void CSaleDlg::ConnectTo(const std::string& path, bool mustBeNew)
{
    FileSetName name;
    if (!CheckFileSetChoice(path, mustBeNew, name))
        return;
    if (!SwitchFileSet(local_, header_, name))
        return;
    ReadHeader(local_, header_);
    OpenFileSet();
}

void CSaleDlg::OnFileConnect()
{
    if (SecurityGate(local_))
        return;
    const std::string path = FileDialog::getOpenFileName(this, kPosFilter, ".pos");
    if (!path.empty())
        ConnectTo(path, false);
}

void CSaleDlg::OnFileNew()
{
    if (SecurityGate(local_))
        return;
    const std::string path = FileDialog::getSaveFileName(this, kPosFilter, ".pos");
    if (!path.empty())
        ConnectTo(path, true);
}

// ---------------------------------------------------------------------------
// Display

void CSaleDlg::ShowSale()
{
    const InvoiceRecord& sale = state_.current;
    const SalesFileHeader& h = header_;
    auto amount = [&h](float v) { return v == 0 ? QString() : qs(AmountText(h, v, true)); };

    selectText(payType_, sale.payType);
    selectText(salesperson_, sale.salesperson);
    if (sale.year != 0)
        banner_->setText(qs("Sale Date: " + FormatOleDate(sale.saleTime, "%A, %B %d, %Y at %I:%M %p")));
    paid_->setText(amount(sale.cashPaid));
    discount_->setText(amount(sale.discountPercent));
    handling_->setText(amount(sale.handling));
    paidState_->setText(sale.paid == 0 ? "Unpaid" : "Paid");
    taxZone_->setText(h.simpleTax ? QString("Simple Tax") : qs(strprintf("Tax:%s", state_.taxTableName().c_str())));
    for (std::size_t k = 0; k < address_.size(); ++k)
        address_[k]->setText(qs(sale.address[k]));
    cashier_->setText(sale.cashier.empty() ? QString("Log Cashier") : qs(sale.cashier));

    fileLocation_->setText(qs(strprintf("File Location: %s", local_.GetPath("Invoices").c_str())));
    records_->setText(QString::number(state_.count));
    recordNumber_->setText(QString::number(local_.currentRecord));
    if (!notes_->hasFocus())
        notes_->setPlainText(qs(IsDeferredPayType(sale.payType) ? PaymentHistoryText(local_, sale) : h.todaysNotes));

    const bool onNew = state_.showingNew();
    for (int r = 0; r < SaleState::kRows; ++r) {
        const int i = state_.slotOf(r);
        extended_[r]->setText(sale.extended[i] == 0 ? QString()
                                                     : qs(AmountText(h, sale.extended[i], sale.taxStatus[i] != 0)));
        desc_[r]->setText(qs(sale.description[i]));
        item_[r]->setText(qs(sale.itemNumber[i]));
        qty_[r]->setText(sale.qty[i] == 0 ? QString() : qs(strprintf("%.1f", SafeShown(sale.qty[i]))));
        price_[r]->setText(amount(sale.price[i]));
        markdown_[r]->setText(sale.markdownPercent[i] == 0
                                  ? QString()
                                  : qs(strprintf("%.1f", SafeShown(sale.markdownPercent[i]))));
        // The stock column belongs to the sale being rung up.
        stock_[r]->setText(qs(strprintf("%.2f", onNew ? SafeShown(state_.lineStock[i]) : 0.0)));
    }
    subtotal_->setText(qs(AmountText(h, static_cast<double>(sale.taxableSubtotal) + sale.exemptSubtotal, true)));
    total_->setText(qs(AmountText(h, sale.total, true)));
    if (!h.showTaxesSeparately) {
        taxLabel_->setText(qs(strprintf("Tax%% %.2f", SafeShown(static_cast<double>(sale.taxRate1) + sale.taxRate2))));
        tax1_->setText(qs(AmountText(h, static_cast<double>(sale.tax1) + sale.tax2, true)));
        tax2_->hide();
    } else {
        taxLabel_->setText(qs(strprintf("Tax%% %.2f, %.2f", SafeShown(sale.taxRate2), SafeShown(sale.taxRate1))));
        tax1_->setText(qs(AmountText(h, sale.tax1, true)));
        tax2_->setText(qs(AmountText(h, sale.tax2, true)));
        tax2_->show();
    }
    change_->setText(qs(AmountText(h, sale.change, true)));
    scroll_->blockSignals(true);
    scroll_->setValue(state_.scrollOffset);
    scroll_->blockSignals(false);
}

void CSaleDlg::SetReadOnly(bool on)
{
    for (int r = 0; r < SaleState::kRows; ++r)
        for (QLineEdit* box : {item_[r], qty_[r], desc_[r], markdown_[r], price_[r]})
            box->setReadOnly(on);
    for (QLineEdit* box : {paid_, discount_, handling_, address_[0]})
        box->setReadOnly(on);
    notes_->setReadOnly(on);
    finish_->setEnabled(!on);
    getProduct_->setEnabled(!on);
    payType_->setEnabled(!on);
    salesperson_->setEnabled(!on);
}

void CSaleDlg::UpdateMenuStates()
{
    const SaleState::MenuStates states = state_.menuStates();
    // Voiding, editing and payments come with their own windows; until then
    // their items stay greyed whatever the shown sale.
    auto apply = [](QAction* action, bool on) { action->setEnabled(on && action->property("ready").toBool()); };
    apply(voidSale_, states.voidSale);
    apply(editSale_, states.editSale);
    apply(payThisSale_, states.payThisSale);
    apply(clearSale_, states.clearSale);
}

// ---------------------------------------------------------------------------
// Record moves

void CSaleDlg::AfterMove()
{
    SetReadOnly(state_.readOnly());
    ShowSale();
    banner_->setVisible(!state_.showingNew());
    UpdateMenuStates();
}

void CSaleDlg::GoPrev()
{
    state_.GoPrev();
    AfterMove();
}

void CSaleDlg::GoNext()
{
    state_.GoNext();
    AfterMove();
}

void CSaleDlg::GoCurrent()
{
    state_.GoCurrent();
    AfterMove();
}

void CSaleDlg::GoToRecord()
{
    const QString text = recordNumber_->text().trimmed();
    bool ok = false;
    const long long n = text.toLongLong(&ok);
    if (!state_.GoToRecord(ok ? n : -1)) {
        MessageBox::information(this, "Selected Record# is out of range.");
        recordNumber_->setText(QString::number(local_.currentRecord));
        return;
    }
    AfterMove();
}

// ---------------------------------------------------------------------------
// Editing

void CSaleDlg::ScrollTo(int offset)
{
    state_.Scroll(offset);
    ShowSale();
}

void CSaleDlg::FocusQty(int slot)
{
    const int row = slot - state_.scrollOffset;
    QLineEdit* box = (row >= 0 && row < SaleState::kRows) ? qty_[row] : qty_[0];
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

void CSaleDlg::OnItemNumberExit(int row)
{
    if (item_[row]->isReadOnly())
        return;
    // Quick Add is not part of the register yet: an unknown code behaves as if
    // Quick Add was cancelled.
    const int slot = state_.ItemNumberExit(row, ss(item_[row]->text()), {});
    ShowSale();
    if (slot >= 0)
        FocusQty(slot);
}

void CSaleDlg::OnNumberBoxExit(QLineEdit* box, const Cell* cell)
{
    if (box->isReadOnly() || !box->isModified())
        return;
    const double value = readNumber(box->text());
    if (cell) {
        const auto field = cell->column == Column::Qty        ? SaleState::LineField::Qty
                           : cell->column == Column::Markdown ? SaleState::LineField::Markdown
                                                              : SaleState::LineField::Price;
        state_.SetLineNumber(cell->row, field, value);
    } else if (box == discount_) {
        state_.SetDiscount(value);
    } else {
        state_.SetHandling(value);
    }
    ShowSale();
}

void CSaleDlg::OnPaidEdited(const QString& text)
{
    state_.SetPaid(readNumber(text));
    change_->setText(qs(strprintf("%.2f", SafeShown(state_.current.change))));
}

void CSaleDlg::OnCustomerNameExit()
{
    if (!state_.showingNew() || address_[0]->isReadOnly() || !address_[0]->isModified())
        return;
    const std::string name = ss(address_[0]->text());
    if (state_.LookupCustomer(name) == SaleState::CustomerFound::NotFound) {
        if (!header_.autoEditNewCustomers &&
            !MessageBox::askYesNo(this, "Customer not found.\n\nWould you like to create a new record?")) {
            ShowSale();
            return;
        }
        // The customer database is not part of the register yet: it behaves
        // as if it was cancelled, and the sale is priced as it stands.
        state_.RedoCustomerPricing();
    }
    ShowSale();
}

void CSaleDlg::OnNotesExit()
{
    if (notes_->isReadOnly() || !notes_->document()->isModified())
        return;
    notes_->document()->setModified(false);
    if (IsDeferredPayType(state_.current.payType))
        return;  // the box shows the payment history, not the notes
    std::string text = ss(notes_->toPlainText());
    // The box shows line breaks as LF; the header keeps CR LF.
    std::string stored;
    for (char c : text) {
        if (c == '\n')
            stored += '\r';
        stored += c;
    }
    header_.todaysNotes = codec::fitText(stored, SalesFileHeader::kNoteWidth);
    WriteHeader(local_, header_);
}

void CSaleDlg::OnCashier()
{
    if (!state_.showingNew())
        return;
    if (CLoginDlg::LogIn(this, local_, header_, state_.current))
        ShowSale();
}

void CSaleDlg::OnGetProduct()
{
    // The product finder is not part of the register yet: as if cancelled.
}

void CSaleDlg::OnCustomerInformation()
{
    // The customer database is not part of the register yet: as if cancelled.
}

void CSaleDlg::OnFinishSale()
{
    // Finishing comes with the receipt and stock work: as if cancelled.
}

void CSaleDlg::OnTouch()
{
    // The touch-screen sale is not part of the register yet: as if cancelled.
    ShowSale();
    SetReadOnly(state_.readOnly());
}

void CSaleDlg::VoidThisSale()
{
    if (SecurityGate(local_))
        return;
    state_.RefreshCount();
    if (state_.showingNew()) {
        MessageBox::information(this, "No need to void this sale.\n\n");
        return;
    }
    if (MessageBox::show(this, "\nVOID this sale permanently!\n\n", MessageBox::Buttons::OkCancel) !=
        MessageBox::Answer::Ok)
        return;
    VoidInvoice(local_, static_cast<int>(local_.currentRecord));
    // Away and back: the voided record is read again and shown.
    GoPrev();
    GoNext();
}

void CSaleDlg::OnClearThisSale()
{
    state_.ClearThisSale();
    ShowSale();
    UpdateMenuStates();
}

// ---------------------------------------------------------------------------
// Keyboard and focus

void CSaleDlg::closeEvent(QCloseEvent* event)
{
    // Notes still being typed are the one thing the focus change would write.
    if (notes_->hasFocus())
        OnNotesExit();
    done(QDialog::Accepted);
    QDialog::closeEvent(event);
}

void CSaleDlg::MoveAsTab(QWidget* focused)
{
    if (focused == price_[SaleState::kRows - 1] && state_.scrollOffset < SaleState::kMaxScroll) {
        // The last row's price goes in before the grid moves under it.
        OnNumberBoxExit(price_[SaleState::kRows - 1], &cells_[focused]);
        state_.Scroll(state_.scrollOffset + 1);
        ShowSale();
        item_[SaleState::kRows - 1]->setFocus(Qt::TabFocusReason);
        return;
    }
    focusNextPrevChild(true);
}

bool CSaleDlg::HandleKey(QWidget* focused, int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (ctrl) {
        Arrow arrow;
        switch (key) {
        case Qt::Key_Up: arrow = Arrow::Up; break;
        case Qt::Key_Down: arrow = Arrow::Down; break;
        case Qt::Key_Left: arrow = Arrow::Left; break;
        case Qt::Key_Right: arrow = Arrow::Right; break;
        default: return false;
        }
        int from = -1;
        for (const auto& [id, w] : byId_)
            if (w == focused)
                from = id;
        if (from >= 0)
            if (QWidget* target = control(CtrlArrowTarget(from, arrow)); target && target != focused)
                target->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        MoveAsTab(focused);
        return true;
    case Qt::Key_Tab:
        if (focused == price_[SaleState::kRows - 1] && state_.scrollOffset < SaleState::kMaxScroll) {
            MoveAsTab(focused);
            return true;
        }
        return false;
    case Qt::Key_PageUp:
        prev_->setFocus(Qt::OtherFocusReason);
        GoPrev();
        return true;
    case Qt::Key_PageDown:
        next_->setFocus(Qt::OtherFocusReason);
        GoNext();
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        current_->setFocus(Qt::OtherFocusReason);
        GoCurrent();
        return true;
    case Qt::Key_F3:
        OnCustomerInformation();
        return true;
    case Qt::Key_F4:
        getProduct_->setFocus(Qt::OtherFocusReason);
        OnGetProduct();
        return true;
    case Qt::Key_F5:
        item_[state_.FirstEmptyRow()]->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_F6:
        paid_->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_F7:
        salesperson_->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_F8:
        payType_->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_F9:
        OnFinishSale();
        return true;
    default:
        return false;
    }
}

void CSaleDlg::HandleFocusIn(QWidget* widget)
{
    const auto cell = cells_.find(widget);
    if (cell != cells_.end() && cell->second.column == Column::Item)
        state_.focusText = ss(item_[cell->second.row]->text());
    if (widget == paid_)
        QTimer::singleShot(0, paid_, [this] { paid_->selectAll(); });
}

void CSaleDlg::HandleFocusOut(QWidget* widget)
{
    const auto it = cells_.find(widget);
    if (it != cells_.end()) {
        const Cell cell = it->second;
        switch (cell.column) {
        case Column::Item: OnItemNumberExit(cell.row); break;
        case Column::Qty:
        case Column::Markdown:
        case Column::Price: OnNumberBoxExit(static_cast<QLineEdit*>(widget), &cell); break;
        case Column::Description:
            for (int r = 0; r < SaleState::kRows; ++r)
                state_.SetDescription(r, ss(desc_[r]->text()));
            break;
        default: break;
        }
        return;
    }
    if (widget == discount_ || widget == handling_)
        OnNumberBoxExit(static_cast<QLineEdit*>(widget), nullptr);
    else if (widget == address_[0])
        OnCustomerNameExit();
    else if (const auto line = std::find(address_.begin(), address_.end(), widget); line != address_.end())
        state_.SetAddressLine(static_cast<std::size_t>(line - address_.begin()), ss((*line)->text()));
    else if (widget == notes_)
        OnNotesExit();
}

bool CSaleDlg::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        QWidget* focused = QApplication::focusWidget();
        if (focused && (focused == this || isAncestorOf(focused)) && HandleKey(focused, key->key(), key->modifiers()))
            return true;
        break;
    }
    // A menu or list popping up takes the focus only for a moment: the box
    // keeps its edit, as if it had never lost the focus.
    case QEvent::FocusIn:
        if (auto* w = qobject_cast<QWidget*>(watched);
            w && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            HandleFocusIn(w);
        break;
    case QEvent::FocusOut:
        if (auto* w = qobject_cast<QWidget*>(watched);
            w && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            HandleFocusOut(w);
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
