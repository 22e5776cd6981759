#pragma once
// "Product Quick Add": a new product on the spot for a code the sale screen
// did not find. The sale's lookup stores the built record and uses it.

#include "storage/records/DefaultsRecord.h"
#include "storage/records/ProductRecord.h"

#include <QDialog>
#include <array>
#include <string>

class CLocalFile;
struct SalesFileHeader;
class QComboBox;
class QLineEdit;

class CQuickAddDlg : public QDialog {
    Q_OBJECT
public:
    CQuickAddDlg(const CLocalFile& local, const SalesFileHeader& header, const std::string& code, QWidget* parent = nullptr);

    // Runs the window for a code; true with the new product when confirmed.
    // Fits LookupForSale's QuickAdd.
    static bool Run(const CLocalFile& local, const SalesFileHeader& header, const std::string& code,
                    ProductRecord& built, QWidget* parent);

    // The product the boxes describe (department included).
    ProductRecord Built() const;
    void OnOk();
    void OnClear();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const CLocalFile& local_;
    DefaultsRecord defaults_;
    // Item#, Description, Qty, Cost, Price, Sale%.
    std::array<QLineEdit*, 6> boxes_{};
    QComboBox* category_ = nullptr;
    QComboBox* department_ = nullptr;
    QComboBox* vendor_ = nullptr;
    QLineEdit* vendorNumber_ = nullptr;
    QComboBox* tax_ = nullptr;
};
