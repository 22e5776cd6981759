#include "rentals/CReturnRentalsDlg.h"

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/RecordList.h"
#include "platform/RecordText.h"
#include "storage/records/TextFormat.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {
const char* const kExplanation =
    "Left click on the Rental item to select it for a Return. Set the 'Return Qty' field and press the 'Return' "
    "button. \nRight click for more options.\nCheck the 'List All Rentals' to see all Rental transactions. With this "
    "checked, returns are not allowed.";

bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
}  // namespace

CReturnRentalsDlg::CReturnRentalsDlg(const CLocalFile& local, QWidget* parent) : CRentalsDlg(local, true, parent)
{
    listAll_ = new QCheckBox("&List All Rentals", this);
    listAll_->setObjectName("list_all");
    connect(listAll_, &QCheckBox::toggled, this, [this] { Relist(); });
    extras_->addWidget(listAll_);

    auto* group = new QGroupBox("Return Rentals", this);
    auto* row = new QHBoxLayout(group);
    return_ = new QPushButton("&Return", group);
    return_->setObjectName("return");
    return_->setAutoDefault(false);
    auto* qtyLabel = new QLabel("Return &Qty", group);
    returnQty_ = new QLineEdit(group);
    returnQty_->setObjectName("return_qty");
    returnQty_->setMaximumWidth(80);
    returnQty_->installEventFilter(this);
    qtyLabel->setBuddy(returnQty_);
    auto* descriptionLabel = new QLabel("Description", group);
    description_ = new QLineEdit(group);
    description_->setObjectName("description");
    description_->setReadOnly(true);
    description_->setFocusPolicy(Qt::ClickFocus);
    row->addWidget(return_);
    row->addWidget(qtyLabel);
    row->addWidget(returnQty_);
    row->addWidget(descriptionLabel);
    row->addWidget(description_, 1);
    extras_->addWidget(group);
    auto* explanation = new QLabel(kExplanation, this);
    explanation->setObjectName("explanation");
    explanation->setWordWrap(true);
    extras_->addWidget(explanation);

    connect(return_, &QPushButton::clicked, this, &CReturnRentalsDlg::OnReturn);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { OnRowChosen(); });
    connect(list_, &QAbstractItemView::clicked, this, [this] { OnRowChosen(); });
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!CurrentRow())
            return;
        QMenu menu(this);
        QAction* remove = menu.addAction("Delete");
        if (menu.exec(list_->viewport()->mapToGlobal(at)) == remove)
            OnDelete();
    });
    list_->installEventFilter(this);

    setTabOrder(item_, list_);
    setTabOrder(list_, listAll_);
    setTabOrder(listAll_, return_);
    setTabOrder(return_, returnQty_);
    setTabOrder(returnQty_, print_button_);
    setTabOrder(print_button_, ok_);
    Relist();
}

bool CReturnRentalsDlg::listAll() const { return listAll_ && listAll_->isChecked(); }

bool CReturnRentalsDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in "Return Qty" books the return; Del on the list deletes the row.
    if (watched == returnQty_ && isEnter(event)) {
        OnReturn();
        return true;
    }
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        OnDelete();
        return true;
    }
    return CRentalsDlg::eventFilter(watched, event);
}

const RentalRow* CReturnRentalsDlg::CurrentRow() const
{
    const int index = list_->currentRow();
    return index < 0 || index >= static_cast<int>(rows().size()) ? nullptr : &rows()[static_cast<std::size_t>(index)];
}

void CReturnRentalsDlg::Relisted() { ClearSelection(); }

void CReturnRentalsDlg::ClearSelection()
{
    selected_.reset();
    if (returnQty_) {
        returnQty_->clear();
        description_->clear();
    }
}

void CReturnRentalsDlg::OnRowChosen()
{
    const RentalRow* row = CurrentRow();
    if (!row || listAll()) {  // the list of all records books no returns
        ClearSelection();
        return;
    }
    selected_ = *row;
    returnQty_->setText(QString::fromStdString(strprintf("%.2f", static_cast<double>(row->quantity))));
    const std::string text = strprintf("Record# %u,  ", static_cast<std::uint32_t>(row->saleNumber));
    description_->setText(QString::fromStdString(text) + CustomerText(row->customerNumber) + ",  Item# " +
                          RecordText::toQt(row->itemNumber) + ",  On: " + DateText(row->date));
}

void CReturnRentalsDlg::OnReturn()
{
    if (!selected_)
        return;
    bool number = false;
    const double qty = returnQty_->text().trimmed().toDouble(&number);
    const ReturnOutcome outcome =
        BookRentalReturn(local_, *selected_, number ? static_cast<float>(qty) : 0.0f, Clock::nowOle());
    switch (outcome.kind) {
    case ReturnOutcome::Kind::Booked:
        Relist();
        return;
    case ReturnOutcome::Kind::OutOfRange:
        MessageBox::information(this, strprintf("The Return Qty must be more than 0 and no more than %.2f.",
                                                static_cast<double>(outcome.outstanding)));
        returnQty_->setFocus();
        returnQty_->selectAll();
        return;
    case ReturnOutcome::Kind::Failed:
        MessageBox::information(this, "The rental file could not be changed. The return was not booked.");
        return;
    }
}

void CReturnRentalsDlg::OnDelete()
{
    const RentalRow* shown = CurrentRow();
    if (!shown)
        return;
    const RentalRow row = *shown;
    const std::string customer = RecordText::fromQt(CustomerText(row.customerNumber));
    if (!MessageBox::askYesNo(this, strprintf("Are you sure you want to delete this record?\n\nRecord# %i\nQty: "
                                              "%.2f\nItem# %s\n%s\n\n",
                                              row.saleNumber, static_cast<double>(row.quantity),
                                              row.itemNumber.c_str(), customer.c_str())))
        return;
    switch (DeleteRentalRecord(local_, row)) {
    case ChangeResult::Done:
        break;
    case ChangeResult::NotFound:
        MessageBox::information(this, "No record holds this quantity: the rental has returns. Nothing was deleted.");
        break;
    case ChangeResult::Failed:
        MessageBox::information(this, "The rental file could not be changed. Nothing was deleted.");
        break;
    }
    Relist();
}
