#include "sale/CQuoteDlg.h"

#include "platform/BackgroundWork.h"
#include "platform/Clock.h"
#include "platform/DatePicker.h"
#include "platform/MessageBox.h"
#include "platform/RecordList.h"
#include "platform/RecordText.h"
#include "sale/QuoteLoading.h"
#include "sale/SaleState.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/QuoteFile.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr ListColumn kColumns[QuoteRows::kColumns] = {{"Record#", 55, false}, {"Total", 70, true},
                                                     {"Date", 80, false},    {"Cashier", 80, false},
                                                     {"Pay Type", 70, false}, {"Category", 80, false},
                                                     {"Address", 270, false}};
const char* const kEditingRefusal =
    "A stored sale is being edited.\n\nFinish it with F9, or leave it as it is stored with "
    "Clear This Sale, before loading a quote.";

QDate qdate(const OleDate& d)
{
    CalendarTime t;
    return d.toCalendar(t) ? QDate(t.year, t.month, t.day) : QDate::currentDate();
}

OleDate oleDate(const QDate& d) { return OleDate::fromCalendar(d.year(), d.month(), d.day()); }


}  // namespace

CQuoteDlg::CQuoteDlg(CLocalFile& local, const SalesFileHeader& header, SaleState& state, QWidget* parent)
    : QDialog(parent), local_(local), header_(header), state_(state)
{
    setObjectName("CQuoteDlg");
    setWindowTitle("Quotes");
    resize(760, 420);

    const CalendarTime now = Clock::now();
    start_ = MakeDatePicker(this, "quote_start", qdate(FirstQuoteDate(local_, now)));
    end_ = MakeDatePicker(this, "quote_end", qdate(LastQuoteDate(local_, now)));
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("quote_ok");
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    model_ = new RecordListModel(
        kColumns, [this] { return rows_.size(); },
        RecordListModel::FromRecordText(
            [this](std::size_t row, int column) { return rows_.cell(row, column, header_); }),
        this);
    list_ = MakeRecordTable(this, "quote_list", model_, kColumns);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->installEventFilter(this);
    for (std::size_t c = 0; c < QuoteRows::kColumns; ++c)
        defaults_.words[kWidthWords + c] = static_cast<std::uint32_t>(kColumns[c].width);
    ReadDefaults(local_, defaults_);
    for (std::size_t c = 0; c < QuoteRows::kColumns; ++c) {
        // A record written before this list kept its widths has zeros here.
        const std::uint32_t w = defaults_.words[kWidthWords + c];
        list_->setColumnWidth(static_cast<int>(c), w > 0 && w < 2000 ? static_cast<int>(w) : kColumns[c].width);
    }

    connect(list_, &QAbstractItemView::clicked, this, [this](const QModelIndex& row) { LoadQuote(row.row()); });
    connect(list_, &QWidget::customContextMenuRequested, this, &CQuoteDlg::ShowPopup);
    connect(start_, &QDateEdit::dateChanged, this, &CQuoteDlg::FillList);
    connect(end_, &QDateEdit::dateChanged, this, &CQuoteDlg::FillList);

    auto* dates = new QHBoxLayout;
    dates->addWidget(new QLabel("Start", this));
    dates->addWidget(start_);
    dates->addWidget(new QLabel("End", this));
    dates->addWidget(end_);
    dates->addStretch();
    dates->addWidget(ok);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(dates);
    outer->addWidget(list_);
    outer->addWidget(new QLabel("Left mouse click to Edit, Right mouse click for more menu options.", this));

    FillList();
    list_->setFocus(Qt::OtherFocusReason);
}

void CQuoteDlg::FillList()
{
    // The quotes are read off the window's thread, then shown at once.
    QuoteRows listed;
    const CLocalFile& local = local_;
    const OleDate start = oleDate(start_->date());
    const OleDate end = oleDate(end_->date());
    BackgroundWork::Run(this, [&] { listed.list(local, start, end); }, BackgroundWork::kReadingNote);
    model_->reset([&] { rows_ = std::move(listed); });
    list_->setCurrentRow(rows_.size() == 0 ? -1 : 0);
}

void CQuoteDlg::LoadQuote(int row)
{
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    const int number = rows_.number(static_cast<std::size_t>(row));
    switch (QuoteLoading(state_).Load(number, BackgroundWork::RunnerFor(this, BackgroundWork::kReadingNote))) {
    case QuoteLoading::Result::Done:
        loaded_ = true;
        accept();
        break;
    case QuoteLoading::Result::Refused: MessageBox::information(this, kEditingRefusal); break;
    case QuoteLoading::Result::NotFound: FillList(); break;  // the reading told why
    }
}

void CQuoteDlg::DeleteQuote(int row)
{
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    const CLocalFile& local = local_;
    const int number = rows_.number(static_cast<std::size_t>(row));
    BackgroundWork::Run(this, [&] { ::DeleteQuote(local, number); });
    FillList();
}

void CQuoteDlg::ShowPopup(const QPoint& at)
{
    const QModelIndex index = list_->indexAt(at);
    const int row = index.isValid() ? index.row() : -1;
    if (row < 0 || !list_->selectionModel()->isRowSelected(row))
        return;
    QMenu menu(this);
    menu.setObjectName("quote_popup");
    QAction* edit = menu.addAction("Edit");
    QAction* remove = menu.addAction("Delete");
    QAction* chosen = menu.exec(list_->viewport()->mapToGlobal(at));
    if (chosen == edit)
        LoadQuote(row);
    else if (chosen == remove)
        DeleteQuote(row);
}

bool CQuoteDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            LoadQuote(list_->currentRow());
            return true;
        }
        if (key == Qt::Key_Menu && list_->currentRow() >= 0) {
            ShowPopup(list_->visualRect(list_->currentIndex()).center());
            return true;
        }
        if (key == Qt::Key_Delete) {
            DeleteQuote(list_->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// However it closes, the register keeps the list's widths.
void CQuoteDlg::done(int result)
{
    DefaultsRecord fresh = defaults_;
    ReadDefaults(local_, fresh);
    for (std::size_t c = 0; c < QuoteRows::kColumns; ++c)
        fresh.words[kWidthWords + c] = static_cast<std::uint32_t>(list_->columnWidth(static_cast<int>(c)));
    WriteDefaults(local_, fresh);
    QDialog::done(result);
}
