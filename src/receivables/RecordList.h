#pragma once
// The list views of the receivables windows: columns of fixed widths and
// alignments, full-row selection, one row per record from its cell texts.

#include "platform/RecordText.h"

#include <QTreeWidget>

#include <algorithm>
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
