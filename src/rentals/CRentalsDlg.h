#pragma once
// The "Rentals" window: every record of the rental file, or only the rentals
// not yet returned, optionally for one item number ("Item#"), with "Print
// List". The Return Rentals window builds on it.

#include "rentals/RentalBook.h"
#include "rentals/RentalReport.h"

#include <QDialog>

#include <functional>
#include <vector>

class CLocalFile;
class QLineEdit;
class QPushButton;
class RecordListModel;
class RecordTable;
class QVBoxLayout;

class CRentalsDlg : public QDialog {
    Q_OBJECT
public:
    enum class Listing { All, NotReturned };
    CRentalsDlg(const CLocalFile& local, Listing listing, QWidget* parent = nullptr);

    // Where "Print List" sends the report; the report printer unless replaced.
    using ReportPrint = std::function<void(QWidget*, const RentalReport&)>;
    void setReportPrint(ReportPrint print) { print_ = std::move(print); }

    // The rows listed, in list order.
    const std::vector<RentalRow>& rows() const { return rows_; }

protected:
    // Builds the window; `returnWindow` picks the title and print layout.
    CRentalsDlg(const CLocalFile& local, bool returnWindow, QWidget* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Reads the file and lists it again, as listAll() says.
    void Relist();
    virtual bool listAll() const { return listing_ == Listing::All; }
    // After the list was filled anew.
    virtual void Relisted() {}
    QString CustomerText(std::uint16_t number) const;
    // A row's text in a column of the list.
    QString Cell(const RentalRow& row, int column) const;
    static QString DateText(const OleDate& date);
    void OnPrintList();

    const CLocalFile& local_;
    RecordListModel* model_ = nullptr;
    RecordTable* list_ = nullptr;
    QLineEdit* item_ = nullptr;
    QPushButton* print_button_ = nullptr;
    QPushButton* ok_ = nullptr;
    QVBoxLayout* extras_ = nullptr;  // the Return Rentals window's controls, under the list

private:
    Listing listing_ = Listing::All;
    bool returnWindow_ = false;
    std::vector<RentalRow> rows_;
    RentalCustomers customers_;
    ReportPrint print_;
};
