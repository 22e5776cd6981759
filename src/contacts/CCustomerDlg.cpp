#include "contacts/CCustomerDlg.h"

#include "contacts/CExportCustomerDlg.h"
#include "contacts/CLabelsDlg.h"
#include "contacts/ContactFieldsWidget.h"
#include "contacts/ContactTransfer.h"
#include "platform/MessageBox.h"
#include "platform/RecordList.h"
#include "platform/RecordText.h"
#include "settings/NumberBoxes.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/TextFormat.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace {
const char* const kImportText =
    "Import Addresses\n\nImports tab delimited text files containing address information.\nAddresses can look like one "
    "of the following.\n\nName <tab> address <tab> address <cr>\nOr\nName <tab> address <tab> address <tab> Phone# "
    "<cr>\nOr\nName <tab> address <tab> address <tab> Phone# <tab> Email <cr>\n\n";

QString qs(const std::string& text) { return RecordText::toQt(text); }

constexpr ListColumn kColumns[] = {{"Name", 108, false}, {"Phone#", 78, false}, {"Email", 70, false}, {"ID", 0, false}};
}  // namespace

CCustomerDlg::CCustomerDlg(const CLocalFile& local, const SalesFileHeader& header, const std::string& presetName,
                           QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setObjectName("CCustomerDlg");
    setWindowTitle("Customer Database");
    auto* outer = new QHBoxLayout(this);

    auto* info = new QGroupBox("Customer Information", this);
    auto* infoLayout = new QVBoxLayout(info);
    fields_ = new ContactFieldsWidget(CustomerRecord::kTextWidth - 1, CustomerRecord::kNotesWidth - 1, info);
    connect(fields_, &ContactFieldsWidget::edited, this, &CCustomerDlg::MarkChanged);
    infoLayout->addWidget(fields_);
    outer->addWidget(info, 3);

    auto* right = new QVBoxLayout;
    auto* selectorRow = new QHBoxLayout;
    selectors_ = new QButtonGroup(this);
    for (int s = 0; s <= 6; ++s) {
        auto* radio = new QRadioButton(s == 0 ? "List All" : s == 6 ? "List By Discount" : "", this);
        radio->setObjectName(QString("list_%1").arg(s));
        selectors_->addButton(radio, s);
        selectorRow->addWidget(radio);
    }
    selectors_->button(0)->setChecked(true);
    connect(selectors_, &QButtonGroup::idClicked, this, &CCustomerDlg::OnSelector);
    right->addLayout(selectorRow);

    auto* searchRow = new QHBoxLayout;
    search_ = new QLineEdit(this);
    search_->setObjectName("search");
    auto* list = ContactButton(this, "&List", "list_button");
    searchRow->addWidget(search_, 1);
    searchRow->addWidget(list);
    connect(list, &QPushButton::clicked, this, &CCustomerDlg::OnList);
    right->addLayout(searchRow);

    model_ = new RecordListModel(
        kColumns, [this] { return rows_.size(); },
        RecordListModel::FromRecordText([this](std::size_t row, int column) { return rows_.cell(row, column); }), this);
    list_ = MakeRecordTable(this, "customer_list", model_, kColumns);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& row) {
        if (!filling_ && row.isValid())
            OnRowChanged(row.row());
    });
    right->addWidget(list_, 1);

    auto* limitRow = new QHBoxLayout;
    limitOn_ = new QCheckBox("&Order Limit", this);
    limitOn_->setObjectName("order_limit_on");
    limit_ = new QLineEdit(this);
    limit_->setObjectName("order_limit");
    limitRow->addWidget(limitOn_);
    limitRow->addWidget(limit_);
    connect(limitOn_, &QCheckBox::clicked, this, &CCustomerDlg::MarkChanged);
    connect(limit_, &QLineEdit::textEdited, this, &CCustomerDlg::MarkChanged);
    right->addLayout(limitRow);

    auto* choiceRow = new QGridLayout;
    terms_ = new QComboBox(this);
    terms_->setObjectName("terms");
    taxZone_ = new QComboBox(this);
    taxZone_->setObjectName("tax_zone");
    auto* termsLabel = new QLabel("&Terms", this);
    termsLabel->setBuddy(terms_);
    auto* zoneLabel = new QLabel("Ta&x Zone:", this);
    zoneLabel->setBuddy(taxZone_);
    choiceRow->addWidget(termsLabel, 0, 0);
    choiceRow->addWidget(terms_, 0, 1);
    choiceRow->addWidget(zoneLabel, 1, 0);
    choiceRow->addWidget(taxZone_, 1, 1);
    connect(terms_, &QComboBox::activated, this, &CCustomerDlg::MarkChanged);
    connect(taxZone_, &QComboBox::activated, this, &CCustomerDlg::MarkChanged);
    right->addLayout(choiceRow);

    auto* levelGroup = new QGroupBox("Discount Level", this);
    auto* levelGrid = new QGridLayout(levelGroup);
    levels_ = new QButtonGroup(this);
    for (int level = 0; level < 6; ++level) {
        auto* radio = new QRadioButton(levelGroup);
        radio->setObjectName(QString("level_%1").arg(level));
        levels_->addButton(radio, level);
        auto* name = new QLineEdit(qs(header_.levelNames[static_cast<std::size_t>(level)]), levelGroup);
        name->setReadOnly(true);
        name->setFocusPolicy(Qt::NoFocus);
        levelGrid->addWidget(radio, level / 2, (level % 2) * 2);
        levelGrid->addWidget(name, level / 2, (level % 2) * 2 + 1);
    }
    connect(levels_, &QButtonGroup::idClicked, this, &CCustomerDlg::MarkChanged);
    right->addWidget(levelGroup);

    auto* buttons = new QGridLayout;
    auto* fresh = ContactButton(this, "&New", "new");
    save_ = ContactButton(this, "&Save", "save");
    delete_ = ContactButton(this, "&Delete", "delete");
    auto* import = ContactButton(this, "&Import", "import");
    auto* exportButton = ContactButton(this, "&Export", "export");
    auto* labels = ContactButton(this, "L&abels", "labels");
    auto* done = ContactButton(this, "Done", "done");
    auto* cancel = ContactButton(this, "Cancel", "cancel");
    QPushButton* all[] = {fresh, save_, delete_, import, exportButton, labels, done, cancel};
    for (int i = 0; i < 8; ++i)
        buttons->addWidget(all[i], i / 4, i % 4);
    connect(fresh, &QPushButton::clicked, this, &CCustomerDlg::OnNew);
    connect(save_, &QPushButton::clicked, this, &CCustomerDlg::OnSave);
    connect(delete_, &QPushButton::clicked, this, &CCustomerDlg::OnDelete);
    connect(import, &QPushButton::clicked, this, &CCustomerDlg::OnImport);
    connect(exportButton, &QPushButton::clicked, this, &CCustomerDlg::OnExport);
    connect(labels, &QPushButton::clicked, this, &CCustomerDlg::OnLabels);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    right->addLayout(buttons);
    outer->addLayout(right, 2);

    Relist();
    ApplyLabels();
    ShowCustomer(CustomerRecord());
    CustomerRecord preset;
    if (!presetName.empty()) {
        if (FindCustomerByName(local_, presetName, preset)) {
            ShowCustomer(preset);
            delete_->setEnabled(true);
        } else {
            preset.text[CustomerRecord::kName] = presetName.substr(0, CustomerRecord::kTextWidth - 1);
            preset.taxZone = GetDefaultZone(local_).substr(0, CustomerRecord::kTaxZoneWidth - 1);
            ShowCustomer(preset);
            MarkChanged();
        }
    }
    fields_->box(0)->setFocus();
}

std::string CCustomerDlg::customerName() const
{
    return fields_->texts()[CustomerRecord::kName];
}

bool CCustomerDlg::Choose(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                          const std::string& presetName, CustomerRecord& chosen)
{
    CCustomerDlg dlg(local, header, presetName, parent);
    return dlg.exec() == QDialog::Accepted && FindCustomerByName(local, dlg.customerName(), chosen);
}

void CCustomerDlg::MarkChanged()
{
    changed_ = true;
    save_->setEnabled(true);
}

void CCustomerDlg::ApplyLabels()
{
    CustomerFileHeader file;
    ReadCustomerHeader(local_, file);
    fields_->setLabels(file.labels);
}

void CCustomerDlg::FillChoices(const std::string& taxZone, std::uint8_t termsId)
{
    terms_->clear();
    terms_->addItem("", 0);
    for (const TermsRecord& terms : ListTerms(local_))
        terms_->addItem(qs(terms.name), unsigned{terms.id});
    const int termsRow = terms_->findData(unsigned{termsId});
    terms_->setCurrentIndex(termsRow < 0 ? 0 : termsRow);

    taxZone_->clear();
    taxZone_->addItem("");
    for (const std::string& zone : FillTaxBox(local_))
        taxZone_->addItem(qs(zone));
    // A zone no longer in the table stays the customer's until another is chosen.
    int zoneRow = taxZone_->findText(qs(taxZone), Qt::MatchExactly);
    if (zoneRow < 0) {
        taxZone_->addItem(qs(taxZone));
        zoneRow = taxZone_->count() - 1;
    }
    taxZone_->setCurrentIndex(zoneRow);
}

void CCustomerDlg::ShowCustomer(const CustomerRecord& record)
{
    filling_ = true;
    shownNumber_ = record.customerNumber;
    fields_->fill(record.text, record.notes);
    limitOn_->setChecked(record.orderLimitOn != 0);
    limit_->setText(qs(strprintf("%.2f", double{record.orderLimit})));
    levels_->button(record.priceLevel < 6 ? record.priceLevel : 0)->setChecked(true);
    FillChoices(record.taxZone, record.termsIndex);
    filling_ = false;
    changed_ = false;
    save_->setEnabled(false);
    delete_->setEnabled(false);
}

CustomerRecord CCustomerDlg::FromFields() const
{
    CustomerRecord record;
    record.text = fields_->texts();
    record.notes = fields_->notes();
    record.orderLimitOn = limitOn_->isChecked() ? 1 : 0;
    record.orderLimit = static_cast<float>(ReadTypedNumber(RecordText::fromQt(limit_->text())).value);
    record.taxZone = RecordText::fromQt(taxZone_->currentText(), CustomerRecord::kTaxZoneWidth - 1);
    record.termsIndex = static_cast<std::uint8_t>(terms_->currentData().toUInt());
    record.priceLevel = static_cast<std::uint8_t>(std::max(0, levels_->checkedId()));
    record.customerNumber = shownNumber_;
    return record;
}

void CCustomerDlg::Relist()
{
    filling_ = true;
    const std::string text = RecordText::fromQt(search_->text());
    model_->reset([&] { rows_.list(local_, selector_, text); });
    filling_ = false;
    SelectShown();
}

void CCustomerDlg::SelectShown()
{
    filling_ = true;
    list_->setCurrentRow(shownNumber_ != 0 ? rows_.rowOf(shownNumber_) : -1);
    filling_ = false;
}

void CCustomerDlg::OnRowChanged(int row)
{
    const std::uint16_t number = rows_.number(static_cast<std::size_t>(row));
    if (changed_ && !OnSave())
        return;
    // The save relisted: the row that was chosen is found again by number.
    CustomerRecord record;
    if (!FindCustomerByNumber(local_, number, record))
        return;
    ShowCustomer(record);
    SelectShown();
    delete_->setEnabled(true);
}

bool CCustomerDlg::OnSave()
{
    if (double limit = 0; !NumberBoxes::Read(this, limit_, "Order Limit", limit))
        return false;
    CustomerRecord record = FromFields();
    const ContactSave saved = SaveShownCustomer(local_, record);
    if (saved == ContactSave::NoName) {
        MessageBox::show(this, "Please enter a Company name.");
        return false;
    }
    if (saved == ContactSave::Failed)
        return false;
    shownNumber_ = record.customerNumber;
    changed_ = false;
    save_->setEnabled(false);
    delete_->setEnabled(true);
    Relist();
    return true;
}

void CCustomerDlg::OnNew()
{
    if (changed_ && MessageBox::show(this, "Save changes first?", MessageBox::Buttons::OkCancel) == MessageBox::Answer::Ok)
        OnSave();
    ShowCustomer(CustomerRecord());
    fields_->box(0)->setFocus();
}

void CCustomerDlg::OnDelete()
{
    if (shownNumber_ == 0)
        return;
    if (!MessageBox::askYesNo(this, "Delete this customer?"))
        return;
    CustomerRecord record;
    record.customerNumber = shownNumber_;
    DeleteCustomerByNumber(local_, record);
    Relist();
    ShowCustomer(CustomerRecord());
}

void CCustomerDlg::OnSelector(int selector)
{
    selector_ = selector;
    Relist();
}

void CCustomerDlg::OnList()
{
    if (search_->text().isEmpty())
        return;
    selector_ = 7;
    // No selector button stands for a text search.
    selectors_->setExclusive(false);
    if (QAbstractButton* checked = selectors_->checkedButton())
        checked->setChecked(false);
    selectors_->setExclusive(true);
    Relist();
}

void CCustomerDlg::OnLabels()
{
    CustomerFileHeader file;
    ReadCustomerHeader(local_, file);
    if (!CLabelsDlg::Edit(this, "Edit Customer Labels", file.labels))
        return;
    WriteCustomerHeader(local_, file);
    ApplyLabels();
}

void CCustomerDlg::OnImport()
{
    const std::string path = AskImportFile(this, local_, kImportText);
    if (path.empty())
        return;
    std::size_t added = 0;
    SayTransferFailed(this, ImportCustomers(local_, path, added), path);
    selector_ = 0;
    selectors_->button(0)->setChecked(true);
    Relist();
}

void CCustomerDlg::OnExport()
{
    const std::string path = AskExportFile(this, local_);
    if (path.empty())
        return;
    CExportCustomerDlg choice(this);
    const int chosen = choice.exec();
    if (chosen == QDialog::Rejected)
        return;
    const bool listed =
        chosen == CExportCustomerDlg::ListedAddresses || chosen == CExportCustomerDlg::ListedInformation;
    const bool information =
        chosen == CExportCustomerDlg::AllInformation || chosen == CExportCustomerDlg::ListedInformation;
    std::set<std::uint16_t> shown;
    for (std::size_t row = 0; row < rows_.size(); ++row)
        shown.insert(rows_.number(row));
    std::size_t written = 0;
    SayTransferFailed(this, ExportCustomers(local_, path, information, listed ? &shown : nullptr, written), path);
}

void CCustomerDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter in the search box lists.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() == search_) {
        OnList();
        event->accept();
        return;
    }
    if (!ContactEnter(this, event))
        QDialog::keyPressEvent(event);
}
