#pragma once
// The "New/Edit Products" window: adds, shows, updates and deletes products,
// searches and lists them, and hosts the Change All edits, the import and
// export and the printed product lists.

#include "products/ProductEditor.h"
#include "storage/records/DefaultsRecord.h"

#include <QDialog>
#include <array>

class CLocalFile;
struct SalesFileHeader;
class ProductListWidget;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CProductsDlg : public QDialog {
    Q_OBJECT
public:
    CProductsDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    // Opens the window when the security gate allows it.
    static void Open(const CLocalFile& local, SalesFileHeader& header, QWidget* parent);

    ProductListWidget* list() const { return list_; }
    bool updateMode() const { return updateMode_; }

    void OnListAll();
    void OnSearch();
    void OnRowClicked(int row);
    void OnSave();
    void OnDelete();
    void OnClear();
    void OnDone();
    void OnImport();
    void OnExport();
    // A Change All edit (ProductChangeAll.h) on the listed products.
    void OnChangeAll(int op);
    void OnHideRow();
    void OnPrint(bool withPrices);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override { OnDone(); }

private:
    void BuildMenus();
    void ShowColumnMenu(int column);
    void SetUpdateMode(bool on);
    ProductFields Fields() const;
    void ShowFields(const ProductFields& fields);
    void StoreDefaults();

    const CLocalFile& local_;
    SalesFileHeader& header_;
    DefaultsRecord defaults_;
    bool updateMode_ = false;
    unsigned edited_ = 0;
    int clickedColumn_ = 0;

    QGroupBox* group_ = nullptr;
    QLineEdit* item_ = nullptr;
    QLineEdit* description_ = nullptr;
    QLineEdit* barCode_ = nullptr;
    std::array<QLineEdit*, ProductFields::kNumberCount> numbers_{};
    QLineEdit* addOn_ = nullptr;
    QLineEdit* vendorNumber_ = nullptr;
    QLineEdit* changeAll_ = nullptr;
    QLineEdit* lowQty_ = nullptr;
    QComboBox* vendor_ = nullptr;
    QComboBox* category_ = nullptr;
    QComboBox* department_ = nullptr;
    QComboBox* tax_ = nullptr;
    QCheckBox* touch_ = nullptr;
    std::array<QRadioButton*, 3> mode_{};
    QPushButton* save_ = nullptr;
    QPushButton* delete_ = nullptr;
    ProductListWidget* list_ = nullptr;
};
