#pragma once
// The program's long lists: a table over a model that asks for a row's texts
// only when the row is drawn, so a list of a million records costs what its
// source holds (record positions, or the few bytes of each record it shows)
// and the rows on the screen, never a widget item per record.

#include "platform/RecordText.h"

#include <QAbstractTableModel>
#include <QTableView>

#include <climits>
#include <cstddef>
#include <functional>
#include <span>
#include <string>

struct ListColumn {
    const char* title;
    int width;  // 0 hides the column
    bool right;
};

// Rows that exist as texts only while they are drawn: rows() counts them and
// cell(row, column) gives one text. Change the source inside reset().
class RecordListModel : public QAbstractTableModel {
public:
    using Cell = std::function<QString(std::size_t row, int column)>;

    RecordListModel(std::span<const ListColumn> columns, std::function<std::size_t()> rows, Cell cell,
                    QObject* parent);

    // A cell function over record text (Windows-1252 bytes), as the domain's row sources give it.
    template <class F>
    static Cell FromRecordText(F&& cell)
    {
        return [cell = std::forward<F>(cell)](std::size_t row, int column) {
            return RecordText::toQt(cell(row, column));
        };
    }

    template <class F>
    void reset(F&& change)
    {
        beginResetModel();
        change();
        endResetModel();
    }

    // Rows listed (at most INT_MAX are shown).
    int rows() const { return rowCount(); }
    // A cell's text as the list shows it; empty outside the list.
    QString text(int row, int column) const;
    // Cells formatted since the model was made: a view asks only for those it draws.
    std::size_t cellsFormatted() const { return formatted_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::span<const ListColumn> columns_;
    std::function<std::size_t()> rows_;
    Cell cell_;
    mutable std::size_t formatted_ = 0;
};

// A table used as the record lists are: one selected row at a time, no row
// numbers or grid, rows of one height; Home and End go to the first and last
// row, arrows move by row, Enter activates the current row.
class RecordTable : public QTableView {
public:
    RecordTable(QWidget* parent, const char* name, RecordListModel* model, std::span<const ListColumn> columns);

    RecordListModel* records() const { return model_; }
    // The current row, or -1.
    int currentRow() const;
    // Makes the row current and selected and scrolls to it; -1 clears both.
    void setCurrentRow(int row);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    RecordListModel* model_;
};

inline RecordTable* MakeRecordTable(QWidget* parent, const char* name, RecordListModel* model,
                                    std::span<const ListColumn> columns)
{
    return new RecordTable(parent, name, model, columns);
}

// Widens every shown column too narrow for its texts, so no date or amount is
// cut. The rows measured are those Qt samples (the ones in view and about a
// thousand more), never every row of a long list.
void FitRecordColumns(QTableView* table);
