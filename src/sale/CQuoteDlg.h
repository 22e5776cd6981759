#pragma once
// "Quotes": the stored quotes of a date range. A left click (or Enter) on a row
// loads that quote onto the sale screen as the new sale and closes the window;
// the pop-up menu (right click, the menu key) offers "Edit" and "Delete"
// (Delete also by the Delete key). The column widths are kept per register
// in words 90 to 96 of its defaults record.

#include "sale/QuoteList.h"
#include "storage/records/DefaultsRecord.h"

#include <QDialog>

#include <vector>

class CLocalFile;
class QDateEdit;
class QMenu;
class RecordListModel;
class RecordTable;
class SaleState;
struct SalesFileHeader;

class CQuoteDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr std::size_t kWidthWords = 90;  // words 90..96 of the defaults record

    CQuoteDlg(CLocalFile& local, const SalesFileHeader& header, SaleState& state, QWidget* parent = nullptr);

    // Empties and refills the list for the two dates.
    void FillList();
    // True once a quote was loaded onto the sale screen.
    bool loaded() const { return loaded_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void LoadQuote(int row);
    void DeleteQuote(int row);
    void ShowPopup(const QPoint& at);

    CLocalFile& local_;
    const SalesFileHeader& header_;
    SaleState& state_;
    DefaultsRecord defaults_;
    QDateEdit* start_ = nullptr;
    QDateEdit* end_ = nullptr;
    QuoteRows rows_;
    RecordListModel* model_ = nullptr;
    RecordTable* list_ = nullptr;
    bool loaded_ = false;
};
