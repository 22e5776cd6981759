#pragma once
// The "Customer Database" window: lists customers, edits one, saves, deletes,
// renames the field labels, and imports and exports addresses as text.

#include "contacts/ContactRows.h"
#include "storage/records/CustomerRecord.h"

#include <QDialog>

#include <array>
#include <string>

class CLocalFile;
class ContactFieldsWidget;
struct SalesFileHeader;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class RecordListModel;
class RecordTable;

class CCustomerDlg : public QDialog {
    Q_OBJECT
public:
    // Opens on the customer of this name; a name not in the file opens as a
    // new, unsaved customer carrying it (and the default tax zone).
    CCustomerDlg(const CLocalFile& local, const SalesFileHeader& header, const std::string& presetName = {},
                 QWidget* parent = nullptr);

    // The name box, as the sale screen looks the customer up after OK.
    std::string customerName() const;
    // Runs the window on this name; after "Done", true with the stored
    // customer of the name box.
    static bool Choose(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                       const std::string& presetName, CustomerRecord& chosen);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnRowChanged(int row);
    void OnNew();
    bool OnSave();
    void OnDelete();
    void OnList();
    void OnSelector(int selector);
    void OnLabels();
    void OnImport();
    void OnExport();
    void MarkChanged();

    void Relist();
    // Makes the shown customer's row the list's current one, quietly.
    void SelectShown();
    void ShowCustomer(const CustomerRecord& record);
    CustomerRecord FromFields() const;
    void FillChoices(const std::string& taxZone, std::uint8_t termsId);
    void ApplyLabels();

    const CLocalFile& local_;
    const SalesFileHeader& header_;
    std::uint16_t shownNumber_ = 0;
    bool changed_ = false;
    bool filling_ = false;
    int selector_ = 0;

    ContactFieldsWidget* fields_ = nullptr;
    QButtonGroup* selectors_ = nullptr;
    QLineEdit* search_ = nullptr;
    CustomerRows rows_;
    RecordListModel* model_ = nullptr;
    RecordTable* list_ = nullptr;
    QCheckBox* limitOn_ = nullptr;
    QLineEdit* limit_ = nullptr;
    QComboBox* terms_ = nullptr;
    QComboBox* taxZone_ = nullptr;
    QButtonGroup* levels_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* delete_ = nullptr;
};
