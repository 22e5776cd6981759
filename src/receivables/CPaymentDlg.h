#pragma once
// The "Payment" window: one payment's type, amount, card or check number,
// expiration, date and notes. Refuses the payment types that name a way of
// paying a sale ("Split", "Deposit", "Terms", "Layaway").

#include "receivables/PaymentList.h"

#include <QDialog>
#include <QTime>

class CLocalFile;
struct SalesFileHeader;
class QComboBox;
class QDateEdit;
class QLineEdit;

class CPaymentDlg : public QDialog {
    Q_OBJECT
public:
    // The payment types come from the store's list; the date starts as now.
    CPaymentDlg(const SalesFileHeader& header, QWidget* parent = nullptr);

    void SetEntered(const EnteredPayment& entered);
    EnteredPayment entered() const;

    // Opens the window over `entered`; true with the fields entered on "OK".
    static bool Ask(QWidget* parent, const SalesFileHeader& header, EnteredPayment& entered);

    // "Make Payment to this Sale": the window, then a payment on account for the
    // stored sale. True when a payment was stored.
    static bool PayStoredSale(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                              std::int32_t recordNumber);

protected:
    void accept() override;

private:
    QComboBox* payType_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QLineEdit* card_ = nullptr;
    QLineEdit* expiration_ = nullptr;
    QDateEdit* date_ = nullptr;
    QLineEdit* notes_ = nullptr;
    QTime time_;  // the picker shows the day; the time of day is kept
};
