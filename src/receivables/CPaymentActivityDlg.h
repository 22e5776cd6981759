#pragma once
// "List All Payments": the deposits and payments on account of every sale, or
// of the one sale whose record number is typed in "Record#".

#include "receivables/PaymentActivity.h"

#include <QDialog>

class CLocalFile;
class QLineEdit;
class QTableView;
class RecordListModel;

class CPaymentActivityDlg : public QDialog {
    Q_OBJECT
public:
    CPaymentActivityDlg(const CLocalFile& local, int recordNumber = -1, QWidget* parent = nullptr);

    QTableView* list() const { return list_; }
    QLineEdit* recordBox() const { return record_; }

private:
    // Lists again for the number "Record#" reads as (text that is not a number reads as 0).
    void Fill();
    bool failed_ = false;  // the last fill could not read the payments

    const CLocalFile& local_;
    PaymentRows rows_;
    RecordListModel* model_ = nullptr;
    QTableView* list_ = nullptr;
    QLineEdit* record_ = nullptr;
};
