#pragma once
// The "Log-In Cashier" window and the log-in it starts: the chosen cashier's
// password is checked against the cashier file, the previous cashier's
// log-out report is shown when the store requires log-in, and the register
// records who is logged in and since when.

#include <QDialog>
#include <string>

class CLocalFile;
struct InvoiceRecord;
struct SalesFileHeader;
class QComboBox;
class QLineEdit;

class CLoginDlg : public QDialog {
    Q_OBJECT
public:
    // Fills the cashier list, sorted, from the cashier file (empty when there is none).
    CLoginDlg(const CLocalFile& local, QWidget* parent = nullptr);

    std::string cashier() const;
    std::string password() const;

    // OK with a wrong password says so and keeps the window open for another try.
    void accept() override;

    // The whole log-in, from the window to the saved local record. True when a
    // cashier was logged in; false on Cancel.
    static bool LogIn(QWidget* parent, CLocalFile& local, const SalesFileHeader& header, InvoiceRecord& currentSale);

private:
    const CLocalFile& local_;
    QComboBox* cashier_ = nullptr;
    QLineEdit* password_ = nullptr;
};
