#pragma once
// The sale screen, the program's main window: the line grid, the totals, the
// customer, the lists, the navigation and the menu bar that reaches every other
// window. It shows and edits the state of a SaleState.

#include "SaleState.h"

#include <QDialog>
#include <array>
#include <map>
#include <string>

class CLocalFile;
struct SalesFileHeader;
class QAction;
class QCalendarWidget;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

class CSaleDlg : public QDialog {
    Q_OBJECT
public:
    CSaleDlg(CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    // The start-up sequence: local record and header checks, loading, opening
    // the header, then the screen's own opening. False when the program must end.
    bool Initialize();

    QMenuBar* menuBar() const { return menuBar_; }
    SaleState& state() { return state_; }
    // The control of a control id (nullptr when there is none).
    QWidget* control(int id) const;

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
    enum class Column { Item, Stock, Qty, Description, Markdown, Price, Extended };
    struct Cell {
        Column column;
        int row;
    };

    void BuildControls();
    void BuildMenus();
    QLineEdit* AddBox(int id, const char* name, bool editable);
    void RegisterControl(int id, QWidget* widget, const char* name);

    // Connects to (or, for "New...", creates) the file set of a chosen path.
    void ConnectTo(const std::string& path, bool mustBeNew);
    // The sale screen's own opening once the file set is in use.
    void OpenFileSet();
    void ApplyVisibility();
    void FillSalespeople();
    void FillPayTypes();
    void ShowFileSet();
    void AfterMove();

    bool HandleKey(QWidget* focused, int key, Qt::KeyboardModifiers modifiers);
    void HandleFocusIn(QWidget* widget);
    void HandleFocusOut(QWidget* widget);
    void MoveAsTab(QWidget* focused);
    void ScrollTo(int offset);
    void FocusQty(int slot);

    void OnItemNumberExit(int row);
    void OnNumberBoxExit(QLineEdit* box, const Cell* cell);
    void OnCustomerNameExit();
    void OnNotesExit();
    void OnPaidEdited(const QString& text);
    void OnCashier();
    void OnGetProduct();
    void OnCustomerInformation();
    void OnFinishSale();
    void OnTouch();
    void OnClearThisSale();
    void VoidThisSale();

    CLocalFile& local_;
    SalesFileHeader& header_;
    SaleState state_;

    QMenuBar* menuBar_ = nullptr;
    std::array<QLineEdit*, SaleState::kRows> item_{}, stock_{}, qty_{}, desc_{}, markdown_{}, price_{}, extended_{};
    std::map<QObject*, Cell> cells_;
    std::map<int, QWidget*> byId_;
    QScrollBar* scroll_ = nullptr;
    QLineEdit* discount_ = nullptr;
    QLineEdit* subtotal_ = nullptr;
    QLineEdit* tax1_ = nullptr;
    QLineEdit* tax2_ = nullptr;
    QLabel* taxLabel_ = nullptr;
    QLineEdit* handling_ = nullptr;
    QLineEdit* total_ = nullptr;
    QGroupBox* changeCalc_ = nullptr;
    QLineEdit* paid_ = nullptr;
    QLineEdit* change_ = nullptr;
    QGroupBox* customerGroup_ = nullptr;
    std::array<QLineEdit*, InvoiceRecord::kAddressLines> address_{};
    std::array<QLabel*, 6> addressLabels_{};
    QLabel* taxZone_ = nullptr;
    QPushButton* cashier_ = nullptr;
    QLabel* salespersonLabel_ = nullptr;
    QComboBox* salesperson_ = nullptr;
    QComboBox* payType_ = nullptr;
    QLabel* paidState_ = nullptr;
    QPushButton* getProduct_ = nullptr;
    QPushButton* finish_ = nullptr;
    QPushButton* touch_ = nullptr;
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

    QAction* voidSale_ = nullptr;
    QAction* editSale_ = nullptr;
    QAction* clearSale_ = nullptr;
    QAction* payThisSale_ = nullptr;
};
