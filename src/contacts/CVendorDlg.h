#pragma once
// The "Vendor Information" window: lists the vendors, edits one, saves,
// deletes, renames the field labels, and imports and exports vendors as text.

#include "contacts/ContactRows.h"
#include "storage/records/VendorRecord.h"

#include <QDialog>

#include <array>

class CLocalFile;
class ContactFieldsWidget;
class QAction;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPlainTextEdit;
class RecordListModel;
class RecordTable;

class CVendorDlg : public QDialog {
    Q_OBJECT
public:
    explicit CVendorDlg(const CLocalFile& local, QWidget* parent = nullptr);

    QMenuBar* menuBar() const { return menuBar_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnRowChanged(int row);
    void OnNew();
    bool OnSave();
    void OnDelete();
    void OnLabels();
    void OnImport();
    void OnExport();
    void MarkChanged() { changed_ = true; }

    void Relist();
    // Makes the shown vendor's row the list's current one, quietly.
    void SelectShown();
    void ShowVendor(const VendorRecord& record);
    VendorRecord FromFields() const;
    void ApplyLabels();

    const CLocalFile& local_;
    bool changed_ = false;
    bool filling_ = false;

    QMenuBar* menuBar_ = nullptr;
    ContactFieldsWidget* fields_ = nullptr;
    VendorRows rows_;
    RecordListModel* model_ = nullptr;
    RecordTable* list_ = nullptr;
};
