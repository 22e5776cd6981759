#pragma once
// "Invoices with a Balance Due" and "Invoices Past Due": the open invoices
// with their balances, the total owed, a printed report, and a click on an
// invoice to take a payment on it.

#include "receivables/UnpaidInvoices.h"

#include <QDialog>

#include <functional>

class CLocalFile;
class QLineEdit;
class RecordListModel;
class RecordTable;

class CUnpaidInvoicesDlg : public QDialog {
    Q_OBJECT
public:
    // Takes a payment on the sale of this record number (the payment window);
    // the list is filled again when it returns.
    using PaymentOpener = std::function<void(QWidget* parent, int recordNumber)>;

    CUnpaidInvoicesDlg(const CLocalFile& local, UnpaidKind kind, PaymentOpener openPayment, QWidget* parent = nullptr);

    // Reads the files again and shows the rows and the total.
    void Fill();
    // A click on an invoice row (or Enter on it).
    void OnInvoiceChosen();
    void OnPrint();

    RecordTable* list() const { return list_; }
    QString totalText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const CLocalFile& local_;
    UnpaidKind kind_;
    PaymentOpener openPayment_;
    std::vector<UnpaidInvoice> rows_;
    RecordListModel* model_ = nullptr;
    RecordTable* list_ = nullptr;
    QLineEdit* total_ = nullptr;
};
