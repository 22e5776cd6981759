#pragma once
// The payment list of one sale shared by the split-payment, deposit and
// make-a-payment windows: the sale's payments ("Click on Payment to Edit."),
// "Total:" and "Balance Due:", "Add Payment" and "OK". A row is edited with a
// click or with Enter. What the window does to the files is PaymentList's.

#include "receivables/PaymentList.h"

#include <QDialog>

struct SalesFileHeader;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

// "The payment was not stored: <which file, why>.\n\nNothing was changed."
// for a payment the files refused, `what` being the first words.
std::string PaymentRefusal(const char* what, const CLocalFile& local);

class CPaymentListDlg : public QDialog {
    Q_OBJECT
public:
    // The split-payment or deposit window that a finished sale's payment type
    // asks for, over the stored sale; true when its payments were taken (or it
    // needs none), false when the window was cancelled.
    static bool TakeFinishPayments(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                   const InvoiceRecord& stored);

    PaymentList& list() { return list_; }

protected:
    CPaymentListDlg(const CLocalFile& local, const SalesFileHeader& header, std::int32_t recordNumber,
                    PaymentList::Kind kind, const char* name, const char* caption, QWidget* parent);

    // Lists the payments again and shows them.
    virtual void Refresh();
    virtual PaymentList::Close CloseDecision() = 0;
    void Show();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void accept() override;

    // The room above the buttons, for the make-a-payment window's boxes.
    QVBoxLayout* extra() const { return extra_; }
    QPushButton* addButton() const { return add_; }
    const SalesFileHeader& header() const { return header_; }

    class BoxPrompt : public PaymentPrompt {
    public:
        explicit BoxPrompt(QWidget* parent) : parent_(parent) {}
        void tell(const std::string& text) override;
        bool askOkCancel(const std::string& text) override;

    private:
        QWidget* parent_;
    };

    const CLocalFile& local_;
    const SalesFileHeader& header_;
    BoxPrompt prompt_;
    PaymentList list_;

private:
    void OnAddPayment();
    void OnEditPayment();

    QTreeWidget* table_ = nullptr;
    QLineEdit* total_ = nullptr;
    QLineEdit* balance_ = nullptr;
    QPushButton* add_ = nullptr;
    QVBoxLayout* extra_ = nullptr;
};
