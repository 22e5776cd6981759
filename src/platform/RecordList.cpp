#include "platform/RecordList.h"

#include <QHeaderView>

#include <algorithm>

RecordListModel::RecordListModel(std::span<const ListColumn> columns, std::function<std::size_t()> rows, Cell cell,
                                 QObject* parent)
    : QAbstractTableModel(parent), columns_(columns), rows_(std::move(rows)), cell_(std::move(cell))
{
}

QString RecordListModel::text(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    ++formatted_;
    return cell_(static_cast<std::size_t>(row), column);
}

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(std::min<std::size_t>(rows_(), INT_MAX));
}

int RecordListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && columns_[static_cast<std::size_t>(index.column())].right)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size()))
        return {};
    const ListColumn& column = columns_[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(column.title);
    if (role == Qt::TextAlignmentRole && column.right)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

RecordTable::RecordTable(QWidget* parent, const char* name, RecordListModel* model,
                         std::span<const ListColumn> columns)
    : QTableView(parent), model_(model)
{
    setObjectName(name);
    setModel(model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);  // every column keeps the width it is given
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        setColumnWidth(i, columns[static_cast<std::size_t>(i)].width);
        setColumnHidden(i, columns[static_cast<std::size_t>(i)].width == 0);
    }
}

int RecordTable::currentRow() const
{
    const QModelIndex at = currentIndex();
    return at.isValid() ? at.row() : -1;
}

void RecordTable::setCurrentRow(int row)
{
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex at = model_->index(row, 0);
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(at);
}

// A table's Home and End stay in the row; in a list of records they go to the
// first and last record, as Ctrl+Home and Ctrl+End do.
QModelIndex RecordTable::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (action == MoveHome || action == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

void FitRecordColumns(QTableView* table)
{
    for (int i = 0; i < table->model()->columnCount(); ++i) {
        if (table->isColumnHidden(i))
            continue;
        const int set = table->columnWidth(i);
        table->resizeColumnToContents(i);
        table->setColumnWidth(i, std::max(set, table->columnWidth(i)));
    }
}
