#include "settings/CCompanyDlg.h"

#include "platform/MessageBox.h"
#include "settings/SettingsForm.h"
#include "settings/StoreDetails.h"
#include "storage/files/SalesFileHeader.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace SettingsForm;

CCompanyDlg::CCompanyDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setObjectName("CCompanyDlg");
    setWindowTitle("Our Company Name");
    const CompanyDetails c = CompanyDetails::From(header);
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    name_ = lineBox(this, grid, 0, "Name", "name", c.name);
    name_->setMaxLength(39);
    address_ = new QPlainTextEdit(fromStoredLines(c.address), this);
    address_->setObjectName("address");
    address_->setTabChangesFocus(true);
    auto* addressLabel = new QLabel("Address", this);
    addressLabel->setBuddy(address_);
    grid->addWidget(addressLabel, 1, 0);
    grid->addWidget(address_, 1, 1);
    contact_ = lineBox(this, grid, 2, "Contact", "contact", c.contact);
    contact_->setMaxLength(39);
    phone_ = lineBox(this, grid, 3, "Phone", "phone", c.phone);
    phone2_ = lineBox(this, grid, 4, "Phone", "phone2", c.phone2);
    fax_ = lineBox(this, grid, 5, "Fax", "fax", c.fax);
    cell_ = lineBox(this, grid, 6, "Cell", "cell", c.cell);
    for (QLineEdit* box : {phone_, phone2_, fax_, cell_})
        box->setMaxLength(23);
    email_ = lineBox(this, grid, 7, "eMail", "email", c.email);
    email_->setMaxLength(39);
    QDialogButtonBox* buttons = okCancel(this);
    outer->addWidget(buttons);
    name_->setFocus();
}

bool CCompanyDlg::Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header)
{
    ReadHeader(local, header);
    CCompanyDlg dialog(local, header, parent);
    return dialog.exec() == QDialog::Accepted;
}

void CCompanyDlg::accept()
{
    CompanyDetails c;
    c.name = ss(name_->text());
    c.address = toStoredLines(address_->toPlainText());
    c.contact = ss(contact_->text());
    c.phone = ss(phone_->text());
    c.phone2 = ss(phone2_->text());
    c.fax = ss(fax_->text());
    c.cell = ss(cell_->text());
    c.email = ss(email_->text());
    if (SaveCompanyDetails(local_, header_, c) != 0) {
        MessageBox::information(this, "The company details could not be saved. Nothing was changed.");
        return;
    }
    QDialog::accept();
}
