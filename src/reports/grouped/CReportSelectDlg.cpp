#include "reports/grouped/CReportSelectDlg.h"

#include "platform/RecordText.h"
#include "storage/files/ListFiles.h"
#include "storage/files/VendorFile.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CReportSelectDlg::CReportSelectDlg(const CLocalFile& local, GroupedAsk ask, QWidget* parent)
    : CSalesRangeDlg(local, parent)
{
    struct Key {
        const char* title;
        const char* caption;
        const char* name;
    };
    const Key key = ask == GroupedAsk::Category ? Key{"Report By Category", "Contains Category", "category"}
                    : ask == GroupedAsk::Vendor ? Key{"Report By Vendor", "Contains Vendor", "vendor"}
                    : ask == GroupedAsk::Customer
                        ? Key{"Customer Report", "Search By:", "search"}
                    : ask == GroupedAsk::Cashier
                        ? Key{"Cashier Report", "Cashier", "cashier"}
                        : Key{"Salesperson Report", "Salesperson", "salesperson"};
    setObjectName("CReportSelectDlg");
    setWindowTitle(key.title);

    auto* row = new QGridLayout;
    auto* label = new QLabel(key.caption, this);
    row->addWidget(label, 0, 0);
    QWidget* control = nullptr;
    if (ask == GroupedAsk::Customer) {
        search_ = new QLineEdit(this);
        control = search_;
        auto* note = new QLabel("Customer Name, City, Zip Code or any part of the first 9 Customer fields; "
                                "or leave blank to list all customers",
                                this);
        note->setObjectName("search_note");
        note->setWordWrap(true);
        row->addWidget(note, 1, 1);
    } else {
        std::vector<std::string> names;
        if (ask == GroupedAsk::Category)
            names = CategoryList(local);
        else if (ask == GroupedAsk::Vendor)
            names = FillVendorBox(local);
        else if (ask == GroupedAsk::Cashier)
            names = FillCashierBox(local);
        else
            names = FillSalespersonBox(local);
        choice_ = new QComboBox(this);
        for (const std::string& name : names)
            choice_->addItem(RecordText::toQt(name));
        choice_->setCurrentIndex(-1);
        control = choice_;
    }
    control->setObjectName(key.name);
    label->setBuddy(control);
    row->addWidget(control, 0, 1);
    row->setColumnStretch(1, 1);
    // Below the calendars and their instructions, above OK and Cancel.
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertLayout(layout->count() - 1, row);
    setTabOrder(control, findChild<QWidget*>("first_day"));
    control->setFocus();
}

std::string CReportSelectDlg::key() const
{
    if (search_)
        return RecordText::fromQt(search_->text());
    return choice_->currentIndex() < 0 ? std::string() : RecordText::fromQt(choice_->currentText());
}
