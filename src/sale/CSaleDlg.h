#pragma once
// The sale screen, the program's main window: the line grid, the totals, the
// customer, the lists, the navigation and the menu bar that reaches every other
// window. It shows and edits the state of a SaleState; its parts are widgets of
// their own (SaleGridWidget, SaleTotalsWidget, SaleCustomerWidget,
// SalePeopleWidget, SaleNavigationWidget, SaleMenuWidget).

#include "print/SaleLayout.h"
#include "sale/PaymentHistory.h"
#include "sale/SaleState.h"

#include <QDialog>
#include <deque>
#include <map>
#include <string>

class CLocalFile;
struct SalesFileHeader;
class QCalendarWidget;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class SaleCustomerWidget;
class ScanDetector;
class SaleGridWidget;
class SaleMenuWidget;
class SalePeopleWidget;
class SaleTotalsWidget;

class CSaleDlg : public QDialog {
    Q_OBJECT
public:
    CSaleDlg(CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    // The start-up sequence: local record and header checks, loading, opening
    // the header, then the screen's own opening. False when the program must end.
    bool Initialize();

    QMenuBar* menuBar() const;
    SaleState& state() { return state_; }
    // Tells scans from typing; its gap can be set (tests drive it by the key
    // events' timestamps).
    ScanDetector& scanner();
    const PaymentHistoryCache& paymentHistory() const { return history_; }
    // The control of a control id (nullptr when there is none).
    QWidget* control(int id) const;
    // The status line: what the last key could not do.
    QString statusText() const;

    // A copy of a sale through the print dialog, with its payments, the drawer
    // left shut: "Print Sales Copy...", "Print Packing List..." and the touch
    // screen's "Print Copy".
    static void PrintCopy(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                          const InvoiceRecord& sale, SaleDocument document);

    void ShowSale();
    void SetReadOnly(bool on);
    void UpdateMenuStates();
    void GoPrev();
    void GoNext();
    void GoCurrent();
    void GoToRecord();

public slots:
    void OnFileConnect();
    void OnFileNew();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter and the default button never close the screen; File, Exit does.
    void accept() override {}
    void reject() override {}
    // The window's close button ends the program, as File, Exit does.
    void closeEvent(QCloseEvent* event) override;

private:
    int quickAddsShown_ = 0;  // counts up, so a nested exit cannot reset it
    // Scans that came while Quick Add was open, to be rung up after it, in order.
    std::deque<std::string> heldScans_;
    void BuildControls();
    QLayout* BuildBottom();
    void BuildTabOrder();
    void RegisterControl(int id, QWidget* widget, const char* name);

    // Connects to (or, for "New...", creates) the file set of a chosen path.
    void ConnectTo(const std::string& path, bool mustBeNew);
    // The sale screen's own opening once the file set is in use.
    void OpenFileSet();
    void ApplyVisibility();
    void FillSalespeople();
    void FillPayTypes();
    void AfterMove();

    bool HandleKey(QWidget* focused, int key, Qt::KeyboardModifiers modifiers);
    void OnScan(const std::string& code);
    // Rings a scanned code up in the next empty row: its slot, or -1.
    int RingUpScan(const std::string& code);
    void RingUpHeldScans();
    void HandleFocusIn(QWidget* widget);
    void HandleFocusOut(QWidget* widget);
    // What leaving the focused grid box would store, stored now (the focus stays).
    void CommitFocused();
    void MoveAsTab(QWidget* focused);
    void ScrollTo(int offset);
    void FocusQty(int slot);
    void OnFirstEmptyRow();
    void NotYet(const char* command);
    void SayUnknownItem(const std::string& code);
    // A code no product has: Quick Add stores a new product for it.
    bool OfferQuickAdd(const std::string& code, ProductRecord& built);
    void OnGetProduct();

    void OnItemNumberExit(int row);
    void OnNumberBoxExit(QLineEdit* box);
    void OnCustomerNameExit();
    void OnCustomerInformation();
    void OnNotesExit();
    void OnPaidEdited(const QString& text);
    void OnCashier();
    void OnGeneralSettings();
    void OnFinishSale();
    void OnClearThisSale();
    void VoidThisSale();
    // Editing a stored sale and the quotes (CSaleDlgStoredSales.cpp).
    void EditThisSale();
    void OnQuoteSave();
    void OnQuotePrint();
    // File "Print Sales Copy..." / "Print Packing List...": the stored sale
    // shown, through the print dialog, without opening the drawer.
    void PrintStoredSale(SaleDocument document);
    void OnQuoteFind();
    void OnQuoteHelp();

    CLocalFile& local_;
    SalesFileHeader& header_;
    SaleState state_;
    PaymentHistoryCache history_;
    bool keepFocus_ = false;  // an exit handler leaves the focus where it goes

    SaleMenuWidget* menu_ = nullptr;
    SaleGridWidget* grid_ = nullptr;
    SaleTotalsWidget* totals_ = nullptr;
    SaleCustomerWidget* customer_ = nullptr;
    SalePeopleWidget* people_ = nullptr;
    std::map<int, QWidget*> byId_;
    QPushButton* cashier_ = nullptr;
    QComboBox* salesperson_ = nullptr;
    QComboBox* payType_ = nullptr;
    QPushButton* prev_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* current_ = nullptr;
    QLineEdit* recordNumber_ = nullptr;
    QPushButton* goto_ = nullptr;
    QLineEdit* records_ = nullptr;
    QGroupBox* notesGroup_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    QCalendarWidget* calendar_ = nullptr;
    QLabel* banner_ = nullptr;
    QLabel* fileLocation_ = nullptr;
    QLabel* status_ = nullptr;
};
