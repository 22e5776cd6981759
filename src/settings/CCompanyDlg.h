#pragma once
// The "Our Company Name" window (Settings, Our Company): the store's name,
// address, contact, phones and mail address printed on invoices.

#include <QDialog>

class CLocalFile;
class QLineEdit;
class QPlainTextEdit;
struct SalesFileHeader;

class CCompanyDlg : public QDialog {
    Q_OBJECT
public:
    CCompanyDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    // The whole command: the header read fresh, then the window.
    static bool Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header);

    void accept() override;

private:
    const CLocalFile& local_;
    SalesFileHeader& header_;
    QLineEdit* name_ = nullptr;
    QPlainTextEdit* address_ = nullptr;
    QString fittingAddress_;  // the last address text that fits its field
    QLineEdit* contact_ = nullptr;
    QLineEdit* phone_ = nullptr;
    QLineEdit* phone2_ = nullptr;
    QLineEdit* fax_ = nullptr;
    QLineEdit* cell_ = nullptr;
    QLineEdit* email_ = nullptr;
};
