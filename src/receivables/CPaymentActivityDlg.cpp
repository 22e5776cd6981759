#include "receivables/CPaymentActivityDlg.h"

#include "platform/MessageBox.h"
#include "platform/RecordList.h"
#include "receivables/PaymentActivity.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <cstdlib>

namespace {

constexpr ListColumn kColumns[] = {{"Rec#", 40, false},       {"Pay Type", 60, false}, {"Amount", 50, true},
                               {"Date", 70, true},        {"Card/Check", 70, false}, {"Cashier", 50, false},
                               {"Notes", 105, false},     {"ID", 0, false}};

}  // namespace

CPaymentActivityDlg::CPaymentActivityDlg(const CLocalFile& local, int recordNumber, QWidget* parent)
    : QDialog(parent), local_(local)
{
    setObjectName("CPaymentActivityDlg");
    setWindowTitle("Payment Activity");
    resize(560, 400);
    auto* layout = new QVBoxLayout(this);
    model_ = new RecordListModel(
        kColumns, [this] { return rows_.size(); },
        RecordListModel::FromRecordText([this](std::size_t row, int column) { return rows_.cell(row, column); }), this);
    list_ = MakeRecordTable(this, "payments", model_, kColumns);
    layout->addWidget(list_, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel("Record#", this));
    record_ = new QLineEdit(this);
    record_->setObjectName("record");
    record_->setMaximumWidth(80);
    bottom->addWidget(record_);
    auto* note = new QLabel("Set to restrict list to only this Record#, -1 for all records.", this);
    note->setWordWrap(true);
    bottom->addWidget(note, 1);
    auto* ok = new QPushButton("OK", this);
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(ok);
    layout->addLayout(bottom);

    record_->setText(QString::asprintf("%i", recordNumber));
    Fill();  // once on opening; then at every change of "Record#"
    connect(record_, &QLineEdit::textChanged, this, &CPaymentActivityDlg::Fill);
    record_->setFocus();
}

void CPaymentActivityDlg::Fill()
{
    const int n = std::atoi(record_->text().toLatin1().constData());
    bool read = false;
    model_->reset([&] { read = rows_.list(local_, n); });
    if (!read && !failed_)  // said once, not at every keystroke in "Record#"
        MessageBox::information(this, "Error opening Payment file.");
    failed_ = !read;
    FitRecordColumns(list_);
}
