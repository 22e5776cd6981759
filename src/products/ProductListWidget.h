#pragma once
// A product list: a table view over a ProductTable through a model that
// formats a cell only when the view draws it. Used by the product editor and
// the Get/Find Product windows.

#include "products/ProductTable.h"

#include <QAbstractTableModel>
#include <QTableView>

#include <cstdint>
#include <vector>

class ProductListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ProductListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    ProductTable& table() { return table_; }
    const ProductTable& table() const { return table_; }
    // Brackets a change of the table's rows (reset of the view).
    template <class F> void change(F&& f)
    {
        beginResetModel();
        f(table_);
        endResetModel();
    }

private:
    ProductTable table_;
};

class ProductListWidget : public QTableView {
    Q_OBJECT
public:
    explicit ProductListWidget(QWidget* parent = nullptr);

    ProductListModel& list() { return model_; }
    // The selected row, or -1.
    int selectedRow() const;
    void selectRow(int row);

    // Column widths in pixels, all 21 columns.
    void setWidths(const std::vector<std::uint32_t>& widths);
    std::vector<std::uint32_t> widths() const;

private:
    ProductListModel model_;
};

// The product editor's built-in column widths.
std::vector<std::uint32_t> ProductListBuiltInWidths();
