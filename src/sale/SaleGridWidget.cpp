#include "sale/SaleGridWidget.h"

#include "sale/SaleKeys.h"
#include "sale/SaleTotals.h"
#include "storage/files/SalesFileHeader.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>

using namespace SaleIds;

namespace {
struct ColumnSpec {
    const char* caption;
    int id;
    const char* name;
    bool editable;
    int stretch;
    const char* widest;  // the widest number the column must show whole
};
constexpr ColumnSpec kColumns[] = {
    {"Item Code F5", kItem, "item", true, 3, nullptr},
    {"Stock", kStock, "stock", false, 1, "99999.99"},
    {"Qty", kQty, "qty", true, 1, "99999.9"},
    {"Description", kDescription, "desc", true, 6, nullptr},
    {"%-", kMarkdown, "markdown", true, 1, "100.0"},
    {"Price", kPrice, "price", true, 2, "99999.99"},
    {"Extended", kExtended, "extended", false, 2, "999999.99"},
};
}  // namespace

SaleGridWidget::SaleGridWidget(QWidget* parent, const RegisterControlFn& reg) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
    for (int c = 0; c < 7; ++c) {
        const ColumnSpec& col = kColumns[c];
        grid->addWidget(new QLabel(col.caption, this), 0, c);
        grid->setColumnStretch(c, col.stretch);
        for (int r = 0; r < kRows; ++r) {
            QLineEdit* box = MakeBox(this, reg, col.id + r, col.name, col.editable);
            if (col.widest)
                FitNumberWidth(box, col.widest);
            boxes_[c][r] = box;
            cells_[box] = Cell{static_cast<Column>(c), r};
            grid->addWidget(box, r + 1, c);
        }
    }
    scroll_ = new QScrollBar(Qt::Vertical, this);
    reg(kScrollBar, scroll_, "scroll");
    scroll_->setRange(0, SaleState::kMaxScroll);
    scroll_->setPageStep(1);
    scroll_->setFocusPolicy(Qt::NoFocus);
    connect(scroll_, &QScrollBar::valueChanged, this, &SaleGridWidget::scrolled);
    grid->addWidget(scroll_, 1, 7, kRows, 1);
    grid->setRowStretch(kRows + 1, 1);  // rows stay together at the top
}

const SaleGridWidget::Cell* SaleGridWidget::cellOf(const QObject* widget) const
{
    const auto it = cells_.find(widget);
    return it == cells_.end() ? nullptr : &it->second;
}

QLineEdit* SaleGridWidget::box(Column column, int row) const { return boxes_[static_cast<int>(column)][row]; }

void SaleGridWidget::Show(const SaleState& state, const SalesFileHeader& header)
{
    const InvoiceRecord& sale = state.current;
    auto amount = [&header](float v, bool taxed) { return v == 0 ? QString() : qs(AmountText(header, v, taxed)); };
    auto tenths = [](float v) { return v == 0 ? QString() : qs(FixedText(v, 1)); };
    const bool onNew = state.showingNew();
    for (int r = 0; r < kRows; ++r) {
        const int i = state.slotOf(r);
        SetNumberText(box(Column::Extended, r), amount(sale.extended[i], sale.taxStatus[i] != 0));
        box(Column::Description, r)->setText(qs(sale.description[i]));
        box(Column::Item, r)->setText(qs(sale.itemNumber[i]));
        SetNumberText(box(Column::Qty, r), tenths(sale.qty[i]));
        SetNumberText(box(Column::Price, r), amount(sale.price[i], true));
        SetNumberText(box(Column::Markdown, r), tenths(sale.markdownPercent[i]));
        // The stock column belongs to the sale being rung up.
        SetNumberText(box(Column::Stock, r), qs(FixedText(onNew ? state.lineStock[i] : 0.0, 2)));
    }
    scroll_->blockSignals(true);
    scroll_->setValue(state.scrollOffset);
    scroll_->blockSignals(false);
}

void SaleGridWidget::SetReadOnly(bool on)
{
    for (Column c : {Column::Item, Column::Qty, Column::Description, Column::Markdown, Column::Price})
        for (QLineEdit* b : boxes_[static_cast<int>(c)])
            b->setReadOnly(on);
}

SaleState::ShownRows SaleGridWidget::ShownFilled() const
{
    SaleState::ShownRows filled{};
    for (int r = 0; r < kRows; ++r)
        filled[static_cast<std::size_t>(r)] = !box(Column::Item, r)->text().trimmed().isEmpty();
    return filled;
}

std::vector<QWidget*> SaleGridWidget::TabOrder() const
{
    std::vector<QWidget*> order;
    for (int r = 0; r < kRows; ++r)
        for (Column c : {Column::Item, Column::Qty, Column::Description, Column::Markdown, Column::Price})
            order.push_back(box(c, r));
    return order;
}

std::string SaleGridWidget::WatchForScan(QWidget* focused, const QKeyEvent* key)
{
    auto* box = qobject_cast<QLineEdit*>(focused);
    return scan_.Watch(box && cellOf(box) ? box : nullptr, key);
}
