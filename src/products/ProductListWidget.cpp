#include "products/ProductListWidget.h"

#include "platform/RecordText.h"

#include <QHeaderView>

int ProductListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(table_.size());
}

int ProductListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ProductColumn::kCount;
}

namespace {
Qt::Alignment columnAlignment(int column)
{
    using namespace ProductColumn;
    if (column >= kTax)
        return Qt::AlignCenter;
    if (column == kItem || column == kDescription || (column >= kVendor && column <= kDepartment))
        return Qt::AlignLeft | Qt::AlignVCenter;
    return Qt::AlignRight | Qt::AlignVCenter;
}
}  // namespace

QVariant ProductListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(table_.size()))
        return {};
    if (role == Qt::DisplayRole)
        return RecordText::toQt(table_.cell(static_cast<std::size_t>(index.row()), index.column()));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columnAlignment(index.column()));
    return {};
}

QVariant ProductListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(ProductColumnCaption(section));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columnAlignment(section));
    return {};
}

ProductListWidget::ProductListWidget(QWidget* parent) : QTableView(parent)
{
    setModel(&model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    // Rows of one height: the view need not measure 100,000 rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    setWidths(ProductListBuiltInWidths());
}

int ProductListWidget::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ProductListWidget::selectRow(int row)
{
    QTableView::selectRow(row);
    setCurrentIndex(model_.index(row, 0));
}

void ProductListWidget::setWidths(const std::vector<std::uint32_t>& widths)
{
    for (int c = 0; c < ProductColumn::kCount && c < static_cast<int>(widths.size()); ++c) {
        const std::uint32_t w = widths[static_cast<std::size_t>(c)];
        // 0 hides a column; a width past any screen is taken as damaged.
        setColumnHidden(c, w == 0);
        if (w > 0)
            setColumnWidth(c, static_cast<int>(w > 4000 ? 4000 : w));
    }
}

std::vector<std::uint32_t> ProductListWidget::widths() const
{
    std::vector<std::uint32_t> out;
    for (int c = 0; c < ProductColumn::kCount; ++c)
        out.push_back(isColumnHidden(c) ? 0u : static_cast<std::uint32_t>(columnWidth(c)));
    return out;
}

std::vector<std::uint32_t> ProductListBuiltInWidths()
{
    return {55, 150, 45, 45, 45, 45, 45, 45, 45, 45, 39, 55, 55, 55, 55, 55, 30, 70, 50, 70, 50};
}
