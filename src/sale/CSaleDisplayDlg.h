#pragma once
// "Sale": one stored sale shown read-only: its customer, people, level and
// payment, its line slots (twelve rows at a time, a scroll bar for the rest),
// and its totals. Opened from the list of found sales.

#include <QDialog>

class CLocalFile;
class QGridLayout;
class QLabel;
class QTableWidget;
struct InvoiceRecord;
struct SalesFileHeader;

class CSaleDisplayDlg : public QDialog {
    Q_OBJECT
public:
    // Reads sale recordNumber and shows it; a sale that cannot be read leaves
    // the window empty after the reading's message.
    static void ShowStoredSale(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                               int recordNumber);

    CSaleDisplayDlg(const CLocalFile& local, const SalesFileHeader& header, QWidget* parent = nullptr);
    void Show(const InvoiceRecord& sale);

private:
    QLabel* field(const char* caption, const char* name, int row, int column);

    const CLocalFile& local_;
    const SalesFileHeader& header_;
    QGridLayout* fields_ = nullptr;
    QTableWidget* lines_ = nullptr;
};
