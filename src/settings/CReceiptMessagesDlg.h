#pragma once
// The "Receipt Messages" window (Settings, Receipt Messages): the receipt
// header, terms and optional messages, and the logo of full-page invoices.

#include <QDialog>

class CLocalFile;
class QPlainTextEdit;
struct SalesFileHeader;

class CReceiptMessagesDlg : public QDialog {
    Q_OBJECT
public:
    CReceiptMessagesDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    // The whole command: the header read fresh, then the window.
    static void Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header);

    void accept() override;

private:
    void OnFindLogo();

    const CLocalFile& local_;
    SalesFileHeader& header_;
    QPlainTextEdit* receiptHeader_ = nullptr;
    QPlainTextEdit* termsMessage_ = nullptr;
    QPlainTextEdit* optionalMessage_ = nullptr;
};
