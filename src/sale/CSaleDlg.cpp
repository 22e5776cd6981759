#include "products/CGetProductDlg.h"
#include "products/CProductsDlg.h"
#include "products/CQuickAddDlg.h"
#include "receivables/CMakePaymentDlg.h"
#include "receivables/CPaymentDlg.h"
#include "receivables/CPaymentListDlg.h"
#include "receivables/PaidRule.h"
#include "rentals/CRentalsDlg.h"
#include "rentals/CReturnRentalsDlg.h"
#include "sale/CSaleDlg.h"

#include "contacts/CCustomerDlg.h"
#include "contacts/CVendorDlg.h"
#include "platform/BackgroundWork.h"
#include "platform/Clock.h"
#include "platform/ComboFill.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "print/CSalePrinter.h"
#include "purchasing/CPurchaseOrderDlg.h"
#include "receivables/CPaymentActivityDlg.h"
#include "receivables/CUnpaidInvoicesDlg.h"
#include "reports/CFindSalesDlg.h"
#include "reports/CSalesSummaryDlg.h"
#include "sale/CTouchSaleDlg.h"
#include "sale/SaleControls.h"
#include "sale/SaleCustomerWidget.h"
#include "sale/SaleEditing.h"
#include "sale/SaleFinish.h"
#include "sale/SaleGridWidget.h"
#include "sale/SaleKeys.h"
#include "sale/SaleMenuWidget.h"
#include "sale/SaleNavigationWidget.h"
#include "sale/SalePeopleWidget.h"
#include "sale/SaleTotals.h"
#include "sale/SaleTotalsWidget.h"
#include "settings/CGeneralDlg.h"
#include "settings/CLoginDlg.h"
#include "settings/CSecurityDlg.h"
#include "settings/SecurityGate.h"
#include "settings/SetupCommands.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/FileSetStartup.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/PaymentFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/UserPrompt.h"
#include "storage/records/TextFormat.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

using namespace SaleIds;
using Column = SaleGridWidget::Column;

namespace {

const char* const kPosFilter = "Retail POS (*.pos)|*.pos|All Files (*.*)|*.*||";
// Quantities above this are asked about before they are taken.
constexpr double kUnusualQuantity = 9999;

}  // namespace

CSaleDlg::CSaleDlg(CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header), state_(local, header, [] { return Clock::now(); })
{
    setObjectName("CSaleDlg");
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(1024, 740);
    state_.setReadRunner(BackgroundWork::RunnerFor(this, BackgroundWork::kReadingNote));
    BuildControls();
    // Menus handle their own keys (Enter chooses the highlighted item).
    for (QWidget* w : findChildren<QWidget*>())
        if (!qobject_cast<QMenu*>(w) && w != menu_)
            w->installEventFilter(this);
}

QMenuBar* CSaleDlg::menuBar() const { return menu_; }

QString CSaleDlg::statusText() const { return status_->text(); }

ScanDetector& CSaleDlg::scanner() { return grid_->scanner(); }

// ---------------------------------------------------------------------------
// Controls

void CSaleDlg::RegisterControl(int id, QWidget* widget, const char* name)
{
    widget->setObjectName(QString("%1_%2").arg(name).arg(id));
    byId_[id] = widget;
}

QWidget* CSaleDlg::control(int id) const
{
    const auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
}

void CSaleDlg::BuildControls()
{
    const RegisterControlFn reg = [this](int id, QWidget* w, const char* name) { RegisterControl(id, w, name); };
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 4);
    outer->setSpacing(4);
    SaleMenuWidget::Commands commands;
    commands.connect = [this] { OnFileConnect(); };
    commands.newSet = [this] { OnFileNew(); };
    commands.exit = [this] { close(); };
    commands.security = [this] {
        CSecurityDlg security(local_, header_, this);
        security.exec();
    };
    commands.chooseReceiptPrinter = [this] { CSalePrinter::ChooseReceiptPrinter(this, local_); };
    commands.openDrawer = [this] { CSalePrinter::OpenDrawer(this, local_); };
    commands.printSalesCopy = [this] { PrintStoredSale(SaleDocument::Receipt); };
    commands.printPackingList = [this] { PrintStoredSale(SaleDocument::PackingSlip); };
    commands.general = [this] { OnGeneralSettings(); };
    commands.customers = [this] { OnCustomerInformation(); };
    commands.vendors = [this] { CVendorDlg(local_, this).exec(); };
    AddSetupCommands(commands, this, local_, header_, state_,
                     {[this] { ShowSale(); }, [this] { FillSalespeople(); }, [this] { FillPayTypes(); }});
    commands.voidSale = [this] { VoidThisSale(); };
    commands.findProduct = [this] {
        if (!SecurityGate(local_)) {
            CFindProductDlg find(local_, header_, this);
            find.exec();
        }
    };
    commands.editProducts = [this] { CProductsDlg::Open(local_, header_, this); };
    commands.purchaseOrder = [this] { CPurchaseOrderDlg(local_, this).exec(); };
    commands.clearSale = [this] { OnClearThisSale(); };
    // A chosen invoice opens "Make a Payment" for it.
    const auto takePayment = [this](QWidget* parent, int recordNumber) {
        CMakePaymentDlg::Open(parent, local_, header_, recordNumber);
    };
    commands.unpaidInvoices = [this, takePayment] {
        CUnpaidInvoicesDlg(local_, UnpaidKind::Unpaid, takePayment, this).exec();
    };
    commands.overdueInvoices = [this, takePayment] {
        CUnpaidInvoicesDlg(local_, UnpaidKind::Overdue, takePayment, this).exec();
    };
    commands.paymentActivity = [this] { CPaymentActivityDlg(local_, -1, this).exec(); };
    commands.editSale = [this] { EditThisSale(); };
    commands.findSale = [this] { CFindSalesDlg(local_, header_, this).exec(); };
    commands.reportCommand = [this](const std::string& item) {
        return CSalesSummaryDlg::MenuCommand(this, local_, header_, item);
    };
    commands.quoteSave = [this] { OnQuoteSave(); };
    commands.quotePrint = [this] { OnQuotePrint(); };
    commands.quoteFind = [this] { OnQuoteFind(); };
    commands.quoteHelp = [this] { OnQuoteHelp(); };
    commands.listRentals = [this] { CRentalsDlg(local_, CRentalsDlg::Listing::All, this).exec(); };
    commands.listRentalsOut = [this] { CRentalsDlg(local_, CRentalsDlg::Listing::NotReturned, this).exec(); };
    commands.returnRental = [this] { CReturnRentalsDlg(local_, this).exec(); };
    // Only a stored sale still unpaid takes a payment; the stored record is
    // read again when the payment is stored, and shown again after it.
    commands.payThisSale = [this] {
        if (!state_.showingNew() && state_.current.paid == 0 &&
            CPaymentDlg::PayStoredSale(this, local_, header_, static_cast<std::int32_t>(local_.currentRecord))) {
            state_.GoToRecord(local_.currentRecord);
            AfterMove();
        }
    };
    menu_ = new SaleMenuWidget(this, commands);
    outer->setMenuBar(menu_);

    // Top: customer, the people and payment, the calendar.
    auto* top = new QHBoxLayout;
    customer_ = new SaleCustomerWidget(this, reg);
    top->addWidget(customer_, 3);
    people_ = new SalePeopleWidget(
        this, reg, [this] { FillSalespeople(); },
        [this] {
            ReadHeader(local_, header_);
            FillPayTypes();
        });
    cashier_ = people_->cashier;
    salesperson_ = people_->salesperson;
    payType_ = people_->payType;
    top->addWidget(people_, 2);
    calendar_ = new QCalendarWidget(this);
    RegisterControl(kCalendar, calendar_, "calendar");
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setFocusPolicy(Qt::NoFocus);
    calendar_->setMaximumSize(260, 190);
    top->addWidget(calendar_, 2);
    outer->addLayout(top);

    // Middle: the line grid; the totals beside it.
    auto* middle = new QHBoxLayout;
    grid_ = new SaleGridWidget(this, reg);
    connect(grid_, &SaleGridWidget::scrolled, this, &CSaleDlg::ScrollTo);
    middle->addWidget(grid_, 5);
    totals_ = new SaleTotalsWidget(this, reg);
    connect(totals_->paid, &QLineEdit::textEdited, this, &CSaleDlg::OnPaidEdited);
    middle->addWidget(totals_, 2);
    outer->addLayout(middle, 1);

    outer->addLayout(BuildBottom());
    BuildTabOrder();

    // Windows not part of the register yet: greyed, and their keys say so.
    connect(totals_->getProduct, &QPushButton::clicked, this, &CSaleDlg::OnGetProduct);
    connect(totals_->touch, &QPushButton::clicked, this, [this] {
        CTouchSaleDlg::RunTouchSale(local_, header_, state_, this);
        AfterMove();
    });
    connect(cashier_, &QPushButton::clicked, this, &CSaleDlg::OnCashier);
    connect(totals_->finish, &QPushButton::clicked, this, &CSaleDlg::OnFinishSale);
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

QLayout* CSaleDlg::BuildBottom()
{
    auto* column = new QVBoxLayout;
    auto* bottom = new QHBoxLayout;
    auto* navigate =
        new SaleNavigationWidget(this, [this](int id, QWidget* w, const char* n) { RegisterControl(id, w, n); });
    prev_ = navigate->prev;
    next_ = navigate->next;
    current_ = navigate->current;
    goto_ = navigate->go;
    recordNumber_ = navigate->recordNumber;
    records_ = navigate->records;
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
    column->addLayout(bottom);

    banner_ = new QLabel(this);
    RegisterControl(kBanner, banner_, "banner");
    QFont bannerFont = banner_->font();
    bannerFont.setBold(true);
    banner_->setFont(bannerFont);
    banner_->setStyleSheet("color: rgb(160, 0, 0);");
    banner_->hide();
    fileLocation_ = new QLabel(this);
    RegisterControl(kFileLocation, fileLocation_, "filelocation");
    status_ = new QLabel(this);
    status_->setObjectName("status");
    auto* status = new QHBoxLayout;
    status->addWidget(fileLocation_, 1);
    status->addWidget(status_, 1);
    status->addWidget(banner_);
    column->addLayout(status);
    return column;
}

// Tab order: row by row through the grid, then the totals and the rest.
void CSaleDlg::BuildTabOrder()
{
    std::vector<QWidget*> order = grid_->TabOrder();
    for (QWidget* w : {static_cast<QWidget*>(totals_->discount), static_cast<QWidget*>(totals_->handling),
                       static_cast<QWidget*>(totals_->paid)})
        order.push_back(w);
    for (QLineEdit* box : customer_->address)
        order.push_back(box);
    for (QWidget* w : {static_cast<QWidget*>(cashier_), static_cast<QWidget*>(salesperson_),
                       static_cast<QWidget*>(payType_), static_cast<QWidget*>(totals_->getProduct),
                       static_cast<QWidget*>(totals_->finish), static_cast<QWidget*>(totals_->touch),
                       static_cast<QWidget*>(prev_), static_cast<QWidget*>(next_),
                       static_cast<QWidget*>(current_), static_cast<QWidget*>(recordNumber_),
                       static_cast<QWidget*>(goto_), static_cast<QWidget*>(notes_)})
        order.push_back(w);
    for (std::size_t k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
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
    FillPayTypes();
    FillSalespeople();
    ApplyVisibility();
    CustomerFileHeader customers;
    ReadCustomerHeader(local_, customers);
    for (std::size_t k = 0; k < SaleCustomerWidget::kLabels; ++k)
        customer_->SetLabel(k, customers.labels[k]);
    if (header_.rollFontSize < 6 || header_.rollFontSize > 128)
        header_.rollFontSize = 24;
    const CalendarTime now = Clock::now();
    calendar_->setSelectedDate(QDate(now.year, now.month, now.day));
    setWindowTitle("Register - " + QFile::decodeName(local_.GetPath("Head").c_str()));
    SetReadOnly(false);
    banner_->hide();
    ShowSale();
    UpdateMenuStates();
}

void CSaleDlg::ApplyVisibility()
{
    customer_->setVisible(header_.showMailingAddress != 0);
    calendar_->setVisible(header_.showCalendar != 0);
    totals_->changeCalc->setVisible(header_.showChangeCalc != 0);
    totals_->touch->setVisible(header_.showTouchButton != 0);
    salesperson_->setVisible(header_.showSalesperson != 0);
    people_->salespersonLabel->setVisible(header_.showSalesperson != 0);
    notesGroup_->setVisible(header_.showTodaysNotes != 0);
}

void CSaleDlg::FillSalespeople()
{
    salesperson_->clear();
    for (const std::string& name : FillSalespersonBox(local_))
        salesperson_->addItem(qs(name));
    SalePeopleWidget::Select(salesperson_, state_.current.salesperson);
}

void CSaleDlg::FillPayTypes()
{
    FillCombo(payType_, header_.paymentTypes);
    SalePeopleWidget::Select(payType_, state_.current.payType);
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
    people_->Show(sale);
    if (sale.year != 0)
        banner_->setText(qs("Sale Date: " + FormatOleDate(sale.saleTime, "%A, %B %d, %Y at %I:%M %p")));
    customer_->Show(sale, header_.simpleTax ? QString("Simple Tax") : "Tax:" + qs(state_.taxTableName()));
    fileLocation_->setText("File Location: " + QFile::decodeName(local_.GetPath("Invoices").c_str()));
    records_->setText(QString::number(state_.count));
    recordNumber_->setText(QString::number(local_.currentRecord));
    if (!notes_->hasFocus())
        notes_->setPlainText(qs(IsDeferredPayType(sale.payType) ? history_.Text(local_, sale) : header_.todaysNotes));
    grid_->Show(state_, header_);
    totals_->Show(sale, header_);
    // An item box that keeps the focus while its text is redrawn (a menu command,
    // a page move) starts again from what it shows now.
    if (const SaleGridWidget::Cell* cell = grid_->cellOf(focusWidget()); cell && cell->column == Column::Item)
        state_.focusText = ss(grid_->box(Column::Item, cell->row)->text());
}

void CSaleDlg::SetReadOnly(bool on)
{
    grid_->SetReadOnly(on);
    for (QLineEdit* box : {totals_->paid, totals_->discount, totals_->handling, customer_->address[0]})
        box->setReadOnly(on);
    notes_->setReadOnly(on);
    totals_->finish->setEnabled(!on);
    people_->SetReadOnly(on);
}

void CSaleDlg::UpdateMenuStates() { menu_->UpdateStates(state_.menuStates()); }

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
    QLineEdit* box = grid_->box(Column::Qty, (row >= 0 && row < SaleState::kRows) ? row : 0);
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

void CSaleDlg::NotYet(const char* command)
{
    status_->setText(QString("%1 is not part of the register yet.").arg(command));
}

void CSaleDlg::SayUnknownItem(const std::string& code)
{
    MessageBox::information(this, "Item Code \"" + code + "\" was not found.\n\nNothing was added to the sale.");
}

bool CSaleDlg::OfferQuickAdd(const std::string& code, ProductRecord& built)
{
    // Cancelling Quick Add is the cashier's answer: no further message.
    ++quickAddsShown_;
    CQuickAddDlg add(local_, header_, code, this);
    const ScanHold hold(&add, heldScans_);
    if (add.exec() != QDialog::Accepted)
        return false;
    built = add.Built();
    return true;
}

void CSaleDlg::OnGetProduct()
{
    CGetProductDlg find(local_, header_, CGetProductDlg::Kind::Get, this);
    if (find.exec() != QDialog::Accepted)
        return;
    const int slot = state_.AddPickedProduct(find.picked());
    ShowSale();
    if (slot >= 0)
        FocusQty(slot);
}

void CSaleDlg::OnItemNumberExit(int row)
{
    QLineEdit* box = grid_->box(Column::Item, row);
    if (box->isReadOnly())
        return;
    const std::string typed = ss(box->text());
    const int quickAdds = quickAddsShown_;
    const SaleState::ItemResult result =
        state_.ItemNumberExit(row, typed, [this](const std::string& c, ProductRecord& b) { return OfferQuickAdd(c, b); });
    ShowSale();
    const bool unknown = result.unknown && quickAddsShown_ == quickAdds;
    if (unknown)
        SayUnknownItem(typed);
    RingUpHeldScans();
    if (!unknown && result.slot >= 0 && !keepFocus_)
        FocusQty(result.slot);
}

void CSaleDlg::OnNumberBoxExit(QLineEdit* box)
{
    if (box->isReadOnly() || !box->isModified())
        return;
    const SaleGridWidget::Cell* cell = grid_->cellOf(box);
    // The value kept is the one the box shows afterwards, tenths for a
    // quantity or mark-down and cents for an amount, never more digits.
    const bool tenths = cell && (cell->column == Column::Qty || cell->column == Column::Markdown);
    const double value = ReadNumber(FixedText(ReadNumber(ss(box->text())), tenths ? 1 : 2));
    if (cell) {
        using Field = SaleState::LineField;
        if (cell->column == Column::Qty && std::fabs(value) > kUnusualQuantity &&
            !MessageBox::askYesNo(this, "A quantity of " + FixedText(value, 1) +
                                            " is unusual.\n\nWould you like to use it?")) {
            ShowSale();
            return;
        }
        const Field field = cell->column == Column::Qty        ? Field::Qty
                            : cell->column == Column::Markdown ? Field::Markdown
                                                               : Field::Price;
        state_.SetLineNumber(cell->row, field, value);
    } else if (box == totals_->discount) {
        state_.SetDiscount(value);
    } else {
        state_.SetHandling(value);
    }
    ShowSale();
}

void CSaleDlg::OnPaidEdited(const QString& text)
{
    state_.SetPaid(ReadNumber(ss(text)));
    totals_->ShowChange(state_.current.change);
}

void CSaleDlg::OnCustomerNameExit()
{
    QLineEdit* name = customer_->address[0];
    if (!state_.showingNew() || name->isReadOnly() || !name->isModified())
        return;
    // An unknown name takes the previous customer off the sale before the
    // question, so no price or exemption of theirs stays behind.
    const SaleState::CustomerFound found = state_.LookupCustomer(ss(name->text()));
    ShowSale();
    if (found != SaleState::CustomerFound::NotFound)
        return;
    if (!header_.autoEditNewCustomers &&
        !MessageBox::askYesNo(this, "Customer not found.\n\nWould you like to create a new record?"))
        return;
    OnCustomerInformation();
}

// The customer window, on the sale's customer name; the customer chosen there
// comes onto the new sale with its prices and rates.
void CSaleDlg::OnCustomerInformation()
{
    CustomerRecord chosen;
    if (!CCustomerDlg::Choose(this, local_, header_, state_.current.address[0], chosen) || !state_.showingNew())
        return;
    state_.ShowCustomer(chosen);
    state_.RedoCustomerPricing();
    ShowSale();
}

void CSaleDlg::OnNotesExit()
{
    if (notes_->isReadOnly() || !notes_->document()->isModified())
        return;
    notes_->document()->setModified(false);
    if (IsDeferredPayType(state_.current.payType))
        return;  // the box shows the payment history, not the notes
    // The box shows line breaks as LF; the header keeps CR LF.
    const std::string notes = ss(notes_->toPlainText().replace("\n", "\r\n"), SalesFileHeader::kNoteWidth - 1);
    if (UpdateHeader(local_, header_, [&notes](SalesFileHeader& h) { h.todaysNotes = notes; }) != FileCause::None)
        MessageBox::information(this, "Unable to save Todays Notes in:\n\n" + local_.GetPath("Head"));
}

void CSaleDlg::OnCashier()
{
    if (!state_.showingNew())
        return;
    if (CLoginDlg::LogIn(this, local_, header_, state_.current))
        ShowSale();
}

// Settings, "General": the visibility settings and the totals follow at once.
void CSaleDlg::OnGeneralSettings()
{
    if (!CGeneralDlg::Run(this, local_, header_))
        return;
    ApplyVisibility();
    if (state_.showingNew())
        state_.Recalculate();
    else
        RecalculateTotals(state_.held, header_);
    ShowSale();
}

namespace {
class BoxPrompt : public FinishPrompt {
public:
    explicit BoxPrompt(QWidget* parent) : parent_(parent) {}
    void tell(const std::string& text) override { MessageBox::information(parent_, text); }
    bool askYesNo(const std::string& text) override { return MessageBox::askYesNo(parent_, text); }

private:
    QWidget* parent_;
};
}  // namespace

void CSaleDlg::OnFinishSale()
{
    // The box being edited gives up the focus and stores its value; "Paid" is taken again.
    totals_->finish->setFocus(Qt::OtherFocusReason);
    state_.SetPaid(ReadNumber(ss(totals_->paid->text())));
    totals_->ShowChange(state_.current.change);
    BoxPrompt prompt(this);
    SaleFinish finish(state_, prompt, [] { return Clock::now(); });
    finish.setStoreRunner(BackgroundWork::RunnerFor(this));
    const FinishEntries entries{ss(cashier_->text()), ss(salesperson_->currentText()), ss(payType_->currentText())};
    if (finish.FinishSale(entries) != SaleFinish::Result::Stored) {
        ShowSale();
        return;
    }
    // A split or deposit sale takes its payments; cancelled, the sale comes
    // back to be corrected and finished again over the same record.
    std::string paymentsText;
    if (finish.needsSplit() || finish.needsDeposit()) {
        if (!CPaymentListDlg::TakeFinishPayments(this, local_, header_, finish.stored())) {
            if (!finish.PaymentsCancelled()) {
                MessageBox::information(this, "The sale could not be taken back for changes: " +
                                                  FaultText(finish.fault()) + ".\n\nIt stays stored as it was.");
                finish.StartNextSale();
            }
            AfterMove();
            return;
        }
        paymentsText = PaymentsText(local_, finish.recordNumber());
    }
    // The sale is stored: a printing failure is shown and leaves it stored.
    CSalePrinter::PrintSaleDocuments(this, local_, header_, finish.stored(), paymentsText);
    finish.StartNextSale();
    ShowSale();
    payType_->setCurrentIndex(-1);
    UpdateMenuStates();
    // Ready for the next customer's first scan.
    grid_->box(Column::Item, 0)->setFocus(Qt::OtherFocusReason);
}

void CSaleDlg::VoidThisSale()
{
    if (SecurityGate(local_))
        return;
    state_.RefreshCount(BackgroundWork::RunnerFor(this, BackgroundWork::kReadingNote));
    if (state_.showingNew()) {
        MessageBox::information(this, "No need to void this sale.\n\n");
        return;
    }
    if (MessageBox::show(this, "\nVOID this sale permanently!\n\n", MessageBox::Buttons::OkCancel) !=
        MessageBox::Answer::Ok)
        return;
    SaleEditing editing(state_);
    if (editing.Void(BackgroundWork::RunnerFor(this)) == SaleEditing::Result::Failed)
        MessageBox::information(this, "This sale was not voided: " + FaultText(editing.fault()) +
                                          ".\n\nNothing was changed.");
    AfterMove();
}

void CSaleDlg::OnClearThisSale()
{
    SaleEditing(state_).Clear();
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
    state_.SavePosition();
    done(QDialog::Accepted);
    QDialog::closeEvent(event);
}
