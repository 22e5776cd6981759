// The sale screen's keyboard: Enter as Tab, F5 and the function keys,
// Ctrl+arrows, scans, and the focus changes that carry the editing logic.
#include "sale/CSaleDlg.h"

#include "platform/MessageBox.h"
#include "sale/SaleControls.h"
#include "sale/SaleCustomerWidget.h"
#include "sale/SaleGridWidget.h"
#include "sale/SaleKeys.h"
#include "sale/SaleMenuWidget.h"
#include "sale/SalePeopleWidget.h"
#include "sale/SaleTotalsWidget.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace SaleIds;
using Column = SaleGridWidget::Column;

void CSaleDlg::MoveAsTab(QWidget* focused)
{
    QLineEdit* lastPrice = grid_->box(Column::Price, SaleState::kRows - 1);
    if (focused == lastPrice && state_.scrollOffset < SaleState::kMaxScroll) {
        // The last row's price goes in before the grid moves under it.
        OnNumberBoxExit(lastPrice);
        state_.Scroll(state_.scrollOffset + 1);
        ShowSale();
        grid_->box(Column::Item, SaleState::kRows - 1)->setFocus(Qt::TabFocusReason);
        return;
    }
    focusNextPrevChild(true);
}

void CSaleDlg::CommitFocused()
{
    QWidget* focused = QApplication::focusWidget();
    const SaleGridWidget::Cell* cell = grid_->cellOf(focused);
    if (!cell)
        return;
    keepFocus_ = true;
    HandleFocusOut(focused);
    keepFocus_ = false;
    if (cell->column == Column::Item)
        state_.focusText = ss(static_cast<QLineEdit*>(focused)->text());
}

// F5: the item box of the first row that is empty on the screen and in the
// sale, scrolled into view when every row shown is in use.
void CSaleDlg::OnFirstEmptyRow()
{
    CommitFocused();
    const int slot = state_.FirstEmptySlot(grid_->ShownFilled());
    if (slot < 0) {
        status_->setText(QString("All %1 lines of this sale are in use.").arg(SaleState::kLines));
        return;
    }
    const int offset = state_.scrollOffset;
    const int row = state_.ScrollToSlot(slot);
    if (state_.scrollOffset != offset)
        ShowSale();
    QLineEdit* box = grid_->box(Column::Item, row);
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
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
        if (focused == grid_->box(Column::Price, SaleState::kRows - 1) &&
            state_.scrollOffset < SaleState::kMaxScroll) {
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
        totals_->getProduct->setFocus(Qt::OtherFocusReason);
        OnGetProduct();
        return true;
    case Qt::Key_F5:
        OnFirstEmptyRow();
        return true;
    case Qt::Key_F6:
        totals_->paid->setFocus(Qt::OtherFocusReason);
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
    const SaleGridWidget::Cell* cell = grid_->cellOf(widget);
    if (cell && cell->column == Column::Item)
        state_.focusText = ss(grid_->box(Column::Item, cell->row)->text());
    if (widget == totals_->paid)
        QTimer::singleShot(0, totals_->paid, [this] { totals_->paid->selectAll(); });
}

void CSaleDlg::HandleFocusOut(QWidget* widget)
{
    if (const SaleGridWidget::Cell* cell = grid_->cellOf(widget)) {
        switch (cell->column) {
        case Column::Item: OnItemNumberExit(cell->row); break;
        case Column::Qty:
        case Column::Markdown:
        case Column::Price: OnNumberBoxExit(static_cast<QLineEdit*>(widget)); break;
        case Column::Description:
            for (int r = 0; r < SaleState::kRows; ++r)
                state_.SetDescription(r, ss(grid_->box(Column::Description, r)->text()));
            break;
        default: break;
        }
        return;
    }
    if (widget == totals_->discount || widget == totals_->handling)
        OnNumberBoxExit(static_cast<QLineEdit*>(widget));
    else if (widget == customer_->address[0])
        OnCustomerNameExit();
    else if (const int line = customer_->lineOf(widget); line >= 0)
        state_.SetAddressLine(static_cast<std::size_t>(line), ss(customer_->address[line]->text()));
    else if (widget == notes_)
        OnNotesExit();
}

bool CSaleDlg::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // An open menu or list takes its own keys: Enter chooses there.
        if (QApplication::activePopupWidget())
            break;
        auto* key = static_cast<QKeyEvent*>(event);
        QWidget* focused = QApplication::focusWidget();
        if (!focused || focused == menu_ || !(focused == this || isAncestorOf(focused)))
            break;
        // A key not taken by its box comes by again on the way to the parents.
        if (watched == focused) {
            status_->clear();
            if (const std::string code = grid_->WatchForScan(focused, key); !code.empty()) {
                OnScan(code);
                return true;
            }
        }
        if (HandleKey(focused, key->key(), key->modifiers()))
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

// ---------------------------------------------------------------------------
// Scanning

// A scanned code is rung up in the next empty row whatever box it was typed
// into; the box gets back what it held before the scan. Scans held while
// Quick Add was open follow it.
void CSaleDlg::OnScan(const std::string& first)
{
    QLineEdit* box = grid_->scanBox();
    const SaleGridWidget::Cell* cell = grid_->cellOf(box);
    if (!state_.showingNew()) {
        status_->setText("A stored sale is shown: Home brings back the sale being rung up.");
        return;
    }
    const int offset = state_.scrollOffset;
    bool boxKept = true;  // the box still shows what was being typed there
    heldScans_.push_front(first);
    while (!heldScans_.empty()) {
        const std::string code = heldScans_.front();
        heldScans_.pop_front();
        const int slot = RingUpScan(code);
        if (slot < 0)
            continue;
        boxKept = boxKept && state_.scrollOffset == offset && state_.slotOf(cell->row) != slot;
        if (boxKept)
            grid_->RestoreScanBox();  // what was being typed there stays
        else if (cell->column == Column::Item)
            state_.focusText = ss(box->text());  // leaving it later is no new code
    }
}

int CSaleDlg::RingUpScan(const std::string& code)
{
    const int quickAdds = quickAddsShown_;
    const SaleState::ItemResult result = state_.ScanCode(
        code, grid_->ShownFilled(), [this](const std::string& c, ProductRecord& b) { return OfferQuickAdd(c, b); });
    if (result.unknown && quickAddsShown_ == quickAdds)
        SayUnknownItem(code);
    if (result.full)
        MessageBox::information(this, "All " + std::to_string(SaleState::kLines) +
                                          " lines of this sale are in use.\n\nNothing was added to the sale.");
    if (result.slot >= 0) {
        state_.ScrollToSlot(result.slot);
        ShowSale();
    }
    return result.slot;
}

void CSaleDlg::RingUpHeldScans()
{
    while (!heldScans_.empty()) {
        const std::string code = heldScans_.front();
        heldScans_.pop_front();
        RingUpScan(code);
    }
}
