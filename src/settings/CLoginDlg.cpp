#include "platform/RecordText.h"
#include "settings/CLoginDlg.h"

#include "platform/Clock.h"
#include "platform/DialogButtons.h"
#include "platform/MessageBox.h"
#include "settings/CSummaryDlg.h"
#include "settings/CashierLogout.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/TextFormat.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>

namespace {
// The list is sorted as a sorted drop-down list sorts: ignoring case.
bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}
}  // namespace

CLoginDlg::CLoginDlg(const CLocalFile& local, QWidget* parent) : QDialog(parent)
{
    setObjectName("CLoginDlg");
    setWindowTitle("Log-In Cashier");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;

    auto* cashierLabel = new QLabel("&Cashier", this);
    cashier_ = new QComboBox(this);
    cashier_->setObjectName("cashier");
    cashierLabel->setBuddy(cashier_);
    std::vector<std::string> names = FillCashierBox(local);
    std::stable_sort(names.begin(), names.end(), lessIgnoringCase);
    for (const std::string& name : names)
        cashier_->addItem(RecordText::toQt(name));

    auto* passwordLabel = new QLabel("&Please enter the password:", this);
    password_ = new QLineEdit(this);
    password_->setObjectName("login_password");
    password_->setEchoMode(QLineEdit::Password);
    passwordLabel->setBuddy(password_);

    grid->addWidget(cashierLabel, 0, 0);
    grid->addWidget(cashier_, 0, 1);
    grid->addWidget(passwordLabel, 1, 0);
    grid->addWidget(password_, 1, 1);
    layout->addLayout(grid);

    layout->addLayout(OkCancelRow(this));

    cashier_->setFocus();
}

std::string CLoginDlg::cashier() const { return RecordText::fromQt(cashier_->currentText()); }
std::string CLoginDlg::password() const { return RecordText::fromQt(password_->text()); }

bool CLoginDlg::LogIn(QWidget* parent, CLocalFile& local, const SalesFileHeader& header, InvoiceRecord& currentSale)
{
    std::string name;
    std::string password;
    {
        CLoginDlg dlg(local, parent);
        if (dlg.exec() != QDialog::Accepted)
            return false;
        name = dlg.cashier();
        password = dlg.password();
    }
    if (!CheckCashierPassword(local, name, password)) {
        MessageBox::show(parent, "Password did not match.");
        return false;
    }

    // One moment ends the previous cashier's period and starts the new one.
    const CalendarTime now = Clock::now();
    if (!local.loggedInCashier.empty() && header.mustLogInCashier == 1) {
        const std::string report = CashierLogoutReport(local, header, local.loggedInCashier, local.loginTime, now);
        CSummaryDlg summary(std::string(), report, parent);
        summary.exec();
    }
    local.loggedInCashier = codec::fitText(name, InvoiceRecord::kNameWidth);
    currentSale.cashier = local.loggedInCashier;
    local.loginTime = OleDate::fromCalendar(now);
    local.Save();
    if (header.mustLogInCashier == 1)
        MessageBox::show(parent, strprintf("Log-in cashier %s", local.loggedInCashier.c_str()));
    return true;
}
