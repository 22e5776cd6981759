#pragma once
// "Get Product" (take one product for the current sale line) and "Find
// Product" (look products up): a search over the product file into a list.

#include "storage/records/DefaultsRecord.h"
#include "storage/records/ProductRecord.h"

#include <QDialog>

class CLocalFile;
struct SalesFileHeader;
class ProductListWidget;
class QComboBox;
class QLineEdit;

class CGetProductDlg : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Get, Find };
    CGetProductDlg(const CLocalFile& local, SalesFileHeader& header, Kind kind = Kind::Get, QWidget* parent = nullptr);

    // Get Product's result after it closed with OK: the product as stored.
    const ProductRecord& picked() const { return result_; }
    ProductListWidget* list() const { return list_; }

    void OnListAll();
    void OnSearch();
    void OnClear();
    void OnNewProduct();
    // Takes the selected row (a click, or Enter in the list).
    void OnTake();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::size_t widthsWord() const;

    const CLocalFile& local_;
    SalesFileHeader& header_;
    Kind kind_;
    DefaultsRecord defaults_;
    ProductRecord result_;
    QLineEdit* item_ = nullptr;
    QLineEdit* description_ = nullptr;
    QLineEdit* vendorNumber_ = nullptr;
    QComboBox* vendor_ = nullptr;
    QComboBox* category_ = nullptr;
    QComboBox* department_ = nullptr;
    ProductListWidget* list_ = nullptr;
};

// "Find Product": the same window, handing nothing back.
class CFindProductDlg : public CGetProductDlg {
    Q_OBJECT
public:
    CFindProductDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr)
        : CGetProductDlg(local, header, Kind::Find, parent) {}
};
