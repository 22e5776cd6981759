#include "contacts/CExportCustomerDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CExportCustomerDlg::CExportCustomerDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName("CExportCustomerDlg");
    setWindowTitle("Export Customer Information");
    auto* grid = new QGridLayout(this);
    struct Row {
        const char* caption;
        const char* explanation;
        const char* name;
        Choice choice;
    };
    const Row rows[] = {
        {"Export &All Addresses",
         "Export address information for all the customers . (Name, Address, City, State, Zip)", "all_addresses",
         AllAddresses},
        {"Export &Listed Address", "Export address information for only the customers listed.", "listed_addresses",
         ListedAddresses},
        {"Export All &Information", "Export more information for all the customers. (Name, Adr, Ctiy, St, Zip, Ph, Email)",
         "all_information", AllInformation},
        {"Export Listed I&nformation", "Export more information for only the customers listed.", "listed_information",
         ListedInformation},
    };
    int r = 0;
    for (const Row& row : rows) {
        auto* b = new QPushButton(row.caption, this);
        b->setObjectName(row.name);
        b->setAutoDefault(false);
        const int choice = row.choice;
        connect(b, &QPushButton::clicked, this, [this, choice] { done(choice); });
        auto* text = new QLabel(row.explanation, this);
        text->setWordWrap(true);
        grid->addWidget(b, r, 0);
        grid->addWidget(text, r++, 1);
    }
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancel");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    grid->addWidget(cancel, r, 0);
}
