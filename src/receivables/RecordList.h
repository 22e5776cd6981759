#pragma once
// The list views of the receivables windows: columns of fixed widths and
// alignments, full-row selection, one row per record from its cell texts. A
// long list is a table over a model that asks for a row's texts only when the
// row is drawn.

#include "platform/RecordText.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>
#include <QTreeWidget>

#include <algorithm>
#include <climits>
#include <functional>
#include <span>
#include <string>
#include <vector>

struct ListColumn {
    const char* title;
    int width;  // 0 hides the column
    bool right;
};

inline QTreeWidget* MakeRecordList(QWidget* parent, const char* name, std::span<const ListColumn> columns)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAllColumnsShowFocus(true);
    QStringList titles;
    for (const ListColumn& c : columns)
        titles << c.title;
    list->setHeaderLabels(titles);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        list->setColumnWidth(i, columns[static_cast<std::size_t>(i)].width);
        list->setColumnHidden(i, columns[static_cast<std::size_t>(i)].width == 0);
    }
    return list;
}

// Widens every shown column too narrow for its texts, so no date or amount is cut.
inline void FitRecordColumns(QTreeWidget* list)
{
    for (int i = 0; i < list->columnCount(); ++i) {
        if (list->isColumnHidden(i))
            continue;
        const int set = list->columnWidth(i);
        list->resizeColumnToContents(i);
        list->setColumnWidth(i, std::max(set, list->columnWidth(i)));
    }
}

inline void AddRecordRow(QTreeWidget* list, std::span<const ListColumn> columns, const std::vector<std::string>& cells)
{
    auto* item = new QTreeWidgetItem(list);
    for (std::size_t i = 0; i < cells.size() && i < columns.size(); ++i) {
        item->setText(static_cast<int>(i), RecordText::toQt(cells[i]));
        if (columns[i].right)
            item->setTextAlignment(static_cast<int>(i), Qt::AlignRight | Qt::AlignVCenter);
    }
}

// Rows that exist as texts only while they are drawn: rows() counts them and
// cell(row, column) gives one text. Change the source inside reset().
class RecordListModel : public QAbstractTableModel {
public:
    RecordListModel(std::span<const ListColumn> columns, std::function<std::size_t()> rows,
                    std::function<std::string(std::size_t, int)> cell, QObject* parent)
        : QAbstractTableModel(parent), columns_(columns), rows_(std::move(rows)), cell_(std::move(cell))
    {
    }

    template <class F>
    void reset(F&& change)
    {
        beginResetModel();
        change();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(std::min<std::size_t>(rows_(), INT_MAX));
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return RecordText::toQt(cell_(static_cast<std::size_t>(index.row()), index.column()));
        if (role == Qt::TextAlignmentRole && columns_[static_cast<std::size_t>(index.column())].right)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < static_cast<int>(columns_.size()))
            return QString::fromLatin1(columns_[static_cast<std::size_t>(section)].title);
        return {};
    }

private:
    std::span<const ListColumn> columns_;
    std::function<std::size_t()> rows_;
    std::function<std::string(std::size_t, int)> cell_;
};

// A table over the model that looks and is used as the record lists are: one
// selected row at a time, no row numbers or grid, rows of one height.
inline QTableView* MakeRecordTable(QWidget* parent, const char* name, RecordListModel* model,
                                   std::span<const ListColumn> columns)
{
    auto* table = new QTableView(parent);
    table->setObjectName(name);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->horizontalHeader()->setHighlightSections(false);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        table->setColumnWidth(i, columns[static_cast<std::size_t>(i)].width);
        table->setColumnHidden(i, columns[static_cast<std::size_t>(i)].width == 0);
    }
    return table;
}

// FitRecordColumns for a table: the rows measured are those Qt samples (the
// ones in view and about a thousand more), never every row of a long list.
inline void FitRecordColumns(QTableView* table)
{
    for (int i = 0; i < table->model()->columnCount(); ++i) {
        if (table->isColumnHidden(i))
            continue;
        const int set = table->columnWidth(i);
        table->resizeColumnToContents(i);
        table->setColumnWidth(i, std::max(set, table->columnWidth(i)));
    }
}
