#include "sale/CTouchSaleDlg.h"

#include "platform/BackgroundWork.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "print/CSalePrinter.h"
#include "products/CQuickAddDlg.h"
#include "sale/CSaleDlg.h"
#include "sale/SaleControls.h"
#include "sale/SaleEditing.h"
#include "sale/SaleFinish.h"
#include "sale/SaleState.h"
#include "settings/CLoginDlg.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"

#include <QColor>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Category button k is painted in colour k; product buttons take the colour of
// the current category's button; everything is beige while a stored sale is shown.
constexpr int kColours[TouchSale::kCategoryButtons][3] = {
    {255, 255, 230}, {255, 255, 160}, {230, 255, 255}, {160, 255, 255}, {255, 230, 230}, {255, 200, 200},
    {255, 170, 170}, {230, 230, 255}, {200, 200, 255}, {170, 170, 255}, {230, 255, 230}, {200, 255, 200},
    {170, 255, 170}, {240, 240, 240}, {210, 210, 210}, {180, 180, 180}};
const QColor kStoredColour(240, 230, 210);

QColor colourOf(int k) { return QColor(kColours[k][0], kColours[k][1], kColours[k][2]); }

void paint(QPushButton* button, const QColor& colour)
{
    button->setProperty("colour", QVariant::fromValue(colour));
    button->setStyleSheet(QString("QPushButton { background-color: %1; color: black; border: 1px solid gray; "
                                  "border-radius: 4px; padding: 4px; } QPushButton:pressed { background-color: %2; }")
                              .arg(colour.name(), colour.darker(120).name()));
}

enum ListColumn { kNumber, kQty, kDesc, kPrice, kId };

// Messages and questions of the touch finish: the margin question has OK and Cancel.
class TouchPrompt : public FinishPrompt {
public:
    explicit TouchPrompt(QWidget* parent) : parent_(parent) {}
    void tell(const std::string& text) override { MessageBox::information(parent_, text); }
    bool askYesNo(const std::string& text) override
    {
        return MessageBox::show(parent_, text, MessageBox::Buttons::OkCancel) == MessageBox::Answer::Ok;
    }

private:
    QWidget* parent_;
};

}  // namespace

CTouchSaleDlg::CTouchSaleDlg(CLocalFile& local, SalesFileHeader& header, SaleState& state, QWidget* parent)
    : QDialog(parent), local_(local), header_(header), state_(state), touch_(state, [] { return Clock::now(); })
{
    setObjectName("CTouchSaleDlg");
    setWindowTitle("Touch Screen Sale");
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(1024, 740);
    BuildControls();
    touch_.Open();
    ShowTouchSale();
    itemNumber_->setFocus(Qt::OtherFocusReason);
}

void CTouchSaleDlg::RunTouchSale(CLocalFile& local, SalesFileHeader& header, SaleState& state, QWidget* parent)
{
    // The sale's stored records are read with this window's note while it is open.
    const StoreRunner before = state.readRunner();
    CTouchSaleDlg dlg(local, header, state, parent);
    state.setReadRunner(BackgroundWork::RunnerFor(&dlg, BackgroundWork::kReadingNote));
    dlg.exec();
    state.setReadRunner(before);
}

QPushButton* CTouchSaleDlg::MakeButton(const QString& caption, const QString& name, std::function<void()> command)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumHeight(44);
    if (command)
        connect(button, &QPushButton::clicked, this, [this, command] { Run(command); });
    return button;
}

void CTouchSaleDlg::BuildControls()
{
    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;

    auto* categoryGroup = new QGroupBox("Category", this);
    auto* categoryGrid = new QGridLayout(categoryGroup);
    for (int k = 0; k < TouchSale::kCategoryButtons; ++k) {
        QPushButton* b = MakeButton({}, QString("category_%1").arg(kFirstCategory + k), [this, k] { OnCategory(k); });
        categoryGrid->addWidget(b, k / 4, k % 4);
        categories_[static_cast<std::size_t>(k)] = b;
    }
    categoryGrid->addWidget(MakeButton("Prev", QString("prev_%1").arg(kCategoryPrev), [this] { touch_.PrevCategories(); }),
                            4, 0, 1, 2);
    categoryGrid->addWidget(MakeButton("Next", QString("next_%1").arg(kCategoryNext), [this] { touch_.NextCategories(); }),
                            4, 2, 1, 2);
    left->addWidget(categoryGroup);

    auto* productGroup = new QGroupBox("Product", this);
    auto* productGrid = new QGridLayout(productGroup);
    for (int k = 0; k < TouchSale::kProductButtons; ++k) {
        QPushButton* b = MakeButton({}, QString("product_%1").arg(kFirstProduct + k), [this, k] { OnProduct(k); });
        productGrid->addWidget(b, k / 3, k % 3);
        products_[static_cast<std::size_t>(k)] = b;
        saleControls_.push_back(b);
    }
    left->addWidget(productGroup, 1);
    outer->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    list_ = new QTreeWidget(this);
    list_->setObjectName(QString("list_%1").arg(kList));
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({"#", "Qty", "Desc", "Price", "ID"});
    list_->setColumnWidth(kNumber, 34);
    list_->setColumnWidth(kQty, 50);
    list_->setColumnWidth(kDesc, 180);
    list_->setColumnWidth(kPrice, 62);
    list_->setColumnHidden(kId, true);
    list_->setFocusPolicy(Qt::NoFocus);
    connect(list_, &QTreeWidget::itemClicked, this, &CTouchSaleDlg::OnListClicked);
    right->addWidget(list_, 1);

    // Commands of the sale list and the keypad; all but "Clear" change the sale.
    auto command = [this](const char* caption, void (TouchSale::*run)()) {
        QPushButton* b = MakeButton(caption, caption, [this, run] { (touch_.*run)(); });
        if (run != &TouchSale::Up && run != &TouchSale::Down && run != &TouchSale::ClearEntry)
            saleControls_.push_back(b);
        return b;
    };
    auto* lineButtons = new QHBoxLayout;
    lineButtons->addWidget(command("Up", &TouchSale::Up));
    lineButtons->addWidget(command("Down", &TouchSale::Down));
    lineButtons->addWidget(command("Clear Item", &TouchSale::ClearItem));
    right->addLayout(lineButtons);

    keypad_ = new QGroupBox(this);
    keypad_->setObjectName("keypad");
    auto* keys = new QGridLayout(keypad_);
    for (int d = 0; d <= 9; ++d)
        keys->addWidget(MakeButton(QString::number(d), QString("key%1").arg(d), [this, d] { touch_.Digit(d); }),
                        d == 0 ? 3 : (9 - d) / 3, d == 0 ? 0 : (d - 1) % 3);
    keys->addWidget(command("Clear", &TouchSale::ClearEntry), 3, 1);
    keys->addWidget(command("Paid Amnt", &TouchSale::PaidAmount), 3, 2);
    keys->addWidget(command("Price Chng", &TouchSale::PriceChange), 0, 3);
    keys->addWidget(command("Qty Chng", &TouchSale::QtyChange), 1, 3);
    keys->addWidget(command("+", &TouchSale::Plus), 2, 3);
    keys->addWidget(command("_", &TouchSale::Minus), 3, 3);
    right->addWidget(keypad_);

    itemNumber_ = new QLineEdit(this);
    itemNumber_->setObjectName(QString("item_%1").arg(kItemNumber));
    itemNumber_->setPlaceholderText("Item Number");
    itemNumber_->installEventFilter(this);
    connect(itemNumber_, &QLineEdit::returnPressed, this, [this] {
        inItemExit_ = true;
        Run([this] { OnItemNumberExit(); });
        inItemExit_ = false;
    });
    right->addWidget(itemNumber_);
    outer->addLayout(right, 2);

    auto* column = new QVBoxLayout;
    column->addWidget(MakeButton("Prev Sale", "Prev Sale", [this] { Move(&SaleState::GoPrev); }));
    column->addWidget(MakeButton("Next Sale", "Next Sale", [this] { Move(&SaleState::GoNext); }));
    column->addWidget(MakeButton("Current Sale", "Current Sale", [this] { Move(&SaleState::GoCurrent); }));
    payType_ = MakeButton("Pay Type?", "Pay Type?", [this] { touch_.NextPayType(); });
    cashier_ = MakeButton("Cashier Name?", "Cashier Name?", [this] { OnCashier(); });
    QPushButton* clear = MakeButton("Clear Order", "Clear Order", [this] { OnClearOrder(); });
    saleControls_.insert(saleControls_.end(), {payType_, cashier_, clear});
    column->addWidget(payType_);
    column->addWidget(cashier_);
    column->addWidget(MakeButton("Finish Sale", "Finish Sale", [this] { OnFinish(); }));
    column->addWidget(MakeButton("Print Copy", "Print Copy", [this] { OnPrintCopy(); }));
    column->addWidget(clear);
    column->addStretch(1);
    QPushButton* close = MakeButton("Close", "Close", {});
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    column->addWidget(close);
    outer->addLayout(column);
}

QPushButton* CTouchSaleDlg::button(const QString& captionOrName) const
{
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->objectName() == captionOrName)
            return b;
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == captionOrName)
            return b;
    return nullptr;
}

// Every command ends with the sale shown afresh and the focus in the item-number box.
void CTouchSaleDlg::Run(const std::function<void()>& command)
{
    command();
    ShowTouchSale();
    itemNumber_->setFocus(Qt::OtherFocusReason);
}

void CTouchSaleDlg::ShowTouchSale()
{
    const std::vector<TouchSale::Row> rows = touch_.Rows();
    list_->clear();
    QTreeWidgetItem* selected = nullptr;
    for (const TouchSale::Row& row : rows) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(kNumber, qs(row.number));
        item->setText(kQty, qs(row.qty));
        item->setText(kDesc, qs(row.desc));
        item->setText(kPrice, qs(row.price));
        item->setText(kId, QString::number(row.slot));
        item->setTextAlignment(kQty, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(kPrice, Qt::AlignRight | Qt::AlignVCenter);
        if (row.slot < 0)
            item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
        else if (row.slot == touch_.selected())
            selected = item;
    }
    if (selected) {
        list_->setCurrentItem(selected);
        list_->scrollToItem(selected);
    }
    keypad_->setTitle(qs(touch_.EntryText()));
    payType_->setText(qs(touch_.payTypeCaption()));
    cashier_->setText(qs(touch_.cashierCaption()));
    PaintButtons();
}

void CTouchSaleDlg::PaintButtons()
{
    const bool stored = !state_.showingNew();
    for (int k = 0; k < TouchSale::kCategoryButtons; ++k) {
        QPushButton* b = categories_[static_cast<std::size_t>(k)];
        b->setText(qs(touch_.categorySlots()[static_cast<std::size_t>(k)]));
        b->setEnabled(!stored);
        paint(b, stored ? kStoredColour : colourOf(k));
    }
    const int current = touch_.currentCategoryButton();
    const QColor productColour = stored ? kStoredColour : colourOf(current < 0 ? 0 : current);
    for (int k = 0; k < TouchSale::kProductButtons; ++k) {
        QPushButton* b = products_[static_cast<std::size_t>(k)];
        b->setText(qs(touch_.productSlots()[static_cast<std::size_t>(k)].caption));
        paint(b, productColour);
    }
    for (QPushButton* b : saleControls_)
        b->setEnabled(!stored);
    itemNumber_->setReadOnly(stored);
}

void CTouchSaleDlg::ShowAdded(TouchSale::Added added)
{
    if (added == TouchSale::Added::Rent)
        MessageBox::information(this, TouchSale::RentRefusal());
}

void CTouchSaleDlg::OnCategory(int k) { touch_.PressCategory(k); }

void CTouchSaleDlg::OnProduct(int k) { ShowAdded(touch_.PressProduct(k)); }

void CTouchSaleDlg::OnItemNumberExit()
{
    const QString text = itemNumber_->text().trimmed();
    if (text.isEmpty() || itemNumber_->isReadOnly())
        return;
    const int quickAdds = quickAddsShown_;
    const TouchSale::Added added = touch_.EnterItemNumber(ss(text), [this](const std::string& code, ProductRecord& built) {
        ++quickAddsShown_;
        return CQuickAddDlg::Run(local_, header_, code, built, this);
    });
    if (added == TouchSale::Added::NotFound) {
        // Quick Add cancelled is the cashier's own answer; the code stays to be corrected.
        if (quickAddsShown_ == quickAdds)
            MessageBox::information(this, "Item Code \"" + ss(text) + "\" was not found.\n\nNothing was added to the sale.");
        itemNumber_->selectAll();
        return;
    }
    itemNumber_->clear();
    ShowAdded(added);
    if (added == TouchSale::Added::Full)
        MessageBox::information(this, "All " + std::to_string(SaleState::kLines) +
                                          " lines of this sale are in use.\n\nNothing was added to the sale.");
}

// Touching a line row selects its line. The rows stay as they are: the list is
// not rebuilt under the click that is being handled.
void CTouchSaleDlg::OnListClicked(QTreeWidgetItem* clicked)
{
    touch_.Select(clicked->text(kId).toInt());
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list_->topLevelItem(i);
        if (row->text(kId).toInt() == touch_.selected() && (row->flags() & Qt::ItemIsSelectable))
            list_->setCurrentItem(row);
    }
    itemNumber_->setFocus(Qt::OtherFocusReason);
}

// While the store requires cashiers to log in, a cashier comes only through
// the log-in with its password; otherwise the button steps through the cashiers.
void CTouchSaleDlg::OnCashier()
{
    if (!state_.showingNew())
        return;
    if (header_.mustLogInCashier)
        CLoginDlg::LogIn(this, local_, header_, state_.current);
    else
        touch_.NextCashier();
}

void CTouchSaleDlg::OnFinish()
{
    TouchPrompt prompt(this);
    if (touch_.Finish(prompt, BackgroundWork::RunnerFor(this)) != TouchSale::Finished::Stored)
        return;
    // The sale is stored; receipts only (packing slips are the main screen's).
    CLocalFile receipts = local_;
    receipts.packingSlips = 0;
    CSalePrinter::PrintSaleDocuments(this, receipts, header_, touch_.stored());
    touch_.StartNextSale();
}

void CTouchSaleDlg::OnPrintCopy()
{
    // A reprint: the drawer stays shut.
    CSaleDlg::PrintCopy(this, local_, header_, state_.current, SaleDocument::Receipt);
}

// A sale being edited is left as it is stored; the screen gets an empty new sale.
void CTouchSaleDlg::OnClearOrder()
{
    if (SaleEditing(state_).Clear() == SaleEditing::Result::Done)
        touch_.AfterSaleChanged();
}

void CTouchSaleDlg::Move(void (SaleState::*move)())
{
    (state_.*move)();
    touch_.AfterSaleChanged();
}

// The item-number box looks its code up when it loses the focus.
bool CTouchSaleDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Quick Add and the messages take the focus too: one lookup at a time.
    if (watched == itemNumber_ && event->type() == QEvent::FocusOut && !inItemExit_ &&
        !itemNumber_->text().trimmed().isEmpty()) {
        inItemExit_ = true;
        OnItemNumberExit();
        ShowTouchSale();
        inItemExit_ = false;
    }
    return QDialog::eventFilter(watched, event);
}
