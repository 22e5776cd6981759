#include "settings/CTaxTableDlg.h"

#include "platform/MessageBox.h"
#include "settings/SettingsForm.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace SettingsForm;

namespace {
constexpr std::size_t kNameChars = 23;

const char* const kHelp =
    "Simple Tax:\nUse Simple Tax if you only have one tax rate or\ntax zone at your business. If you have customers\n"
    "from different tax zones, clear the Simple Tax\ncheck box and use the Tax Zones table.\n\n"
    "Tax Zones:\nEach zone has a name and two rates, Tax1 and Tax2.\nA customer's tax zone chooses the rates of\n"
    "the customer's sales; sales without a customer\nuse the Default Zone.";

QCheckBox* check(QWidget* owner, const char* text, const char* name, bool on)
{
    auto* box = new QCheckBox(text, owner);
    box->setObjectName(name);
    box->setChecked(on);
    return box;
}
}  // namespace

CTaxTableDlg::CTaxTableDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setObjectName("CTaxTableDlg");
    setWindowTitle("Tax Table");
    auto* outer = new QHBoxLayout(this);

    auto* simple = new QGroupBox("Simple Tax", this);
    auto* simpleLayout = new QGridLayout(simple);
    simpleTax_ = check(this, "Simple Tax", "simple_tax", header.simpleTax);
    simpleLayout->addWidget(simpleTax_, 0, 0, 1, 2);
    shownTax1_ = RateText(header.simpleTax1);
    shownTax2_ = RateText(header.simpleTax2);
    tax1_ = lineBox(this, simpleLayout, 1, "Tax1", "tax1", shownTax1_);
    tax2_ = lineBox(this, simpleLayout, 2, "Tax2", "tax2", shownTax2_);
    separately_ = check(this, "Show Taxes Separately", "show_taxes_separately", header.showTaxesSeparately);
    cents_ = check(this, "Cents 123.45 or 123", "show_cents", header.showCents);
    simpleLayout->addWidget(separately_, 3, 0, 1, 2);
    simpleLayout->addWidget(cents_, 4, 0, 1, 2);
    outer->addWidget(simple);

    auto* zones = new QGroupBox("Tax Zones", this);
    auto* zoneLayout = new QVBoxLayout(zones);
    zones_ = reportList(this, "zones", {"Tax Name", "Tax1%", "Tax2%"}, {115, 44, 44});
    zones_->headerItem()->setTextAlignment(1, Qt::AlignRight);
    zones_->headerItem()->setTextAlignment(2, Qt::AlignRight);
    zoneLayout->addWidget(zones_);
    auto* zoneGrid = new QGridLayout;
    zoneLayout->addLayout(zoneGrid);
    zoneName_ = lineBox(this, zoneGrid, 0, "Tax Name", "zone_name");
    zoneName_->setMaxLength(kNameChars);
    zoneTax1_ = lineBox(this, zoneGrid, 1, "Tax1%", "zone_tax1");
    zoneTax2_ = lineBox(this, zoneGrid, 2, "Tax2%", "zone_tax2");
    defaultZone_ = new QComboBox(this);
    defaultZone_->setObjectName("default_zone");
    auto* defaultLabel = new QLabel("Default Zone", this);
    defaultLabel->setBuddy(defaultZone_);
    zoneGrid->addWidget(defaultLabel, 3, 0);
    zoneGrid->addWidget(defaultZone_, 3, 1);
    auto* note = new QLabel("Each product can be set to have:  No Tax, only Tax1, only Tax2 or Tax1 + Tax2.  Go to "
                            "menu: 'Products | New / Edit Products' to set the Tax option.",
                            this);
    note->setWordWrap(true);
    zoneLayout->addWidget(note);
    outer->addWidget(zones);

    auto* buttons = new QVBoxLayout;
    outer->addLayout(buttons);
    QPushButton* save = button(this, "Save", "save");
    new_ = button(this, "New", "new");
    delete_ = button(this, "Delete", "delete");
    QPushButton* done = button(this, "Done", "done");
    QPushButton* help = button(this, "Help", "help");
    for (QPushButton* b : {save, new_, delete_, done, help})
        buttons->addWidget(b);
    buttons->addStretch();

    for (QLineEdit* box : {tax1_, tax2_, zoneName_, zoneTax1_, zoneTax2_})
        connect(box, &QLineEdit::textEdited, this, [this] { modified_ = true; });
    for (QCheckBox* box : {separately_, cents_})
        connect(box, &QCheckBox::toggled, this, [this] { modified_ = true; });
    connect(simpleTax_, &QCheckBox::toggled, this, [this] {
        modified_ = true;
        OnSimpleTax();
    });
    // The choice is handled after the list's own signal: saving first fills
    // the list again, which must not happen inside it.
    connect(zones_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (filling_)
            return;
        const bool chosen = item != nullptr;
        const std::string name = item ? ss(item->text(0)) : std::string();
        QMetaObject::invokeMethod(this, [this, chosen, name] { OnChoose(chosen, name); }, Qt::QueuedConnection);
    });
    connect(defaultZone_, &QComboBox::activated, this, [this](int) {
        if (SetDefaultZone(local_, ss(defaultZone_->currentText(), kNameChars)) == 0)
            changed_ = true;
    });
    connect(save, &QPushButton::clicked, this, &CTaxTableDlg::OnSave);
    connect(new_, &QPushButton::clicked, this, &CTaxTableDlg::OnNew);
    connect(delete_, &QPushButton::clicked, this, &CTaxTableDlg::OnDelete);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, [this] { MessageBox::information(this, kHelp); });
    FillZones();
    OnSimpleTax();
    simpleTax_->setFocus();
}

bool CTaxTableDlg::Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header)
{
    ReadHeader(local, header);
    CTaxTableDlg dialog(local, header, parent);
    dialog.exec();
    return dialog.changed();
}

bool CTaxTableDlg::OfferDefaultZone(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                    std::string& saleZone)
{
    if (header.simpleTax)
        return false;
    const std::string zone = GetDefaultZone(local);
    if (equalsNoCase(zone, saleZone) ||
        !MessageBox::askYesNo(parent, "Would you like to set this invoice to the default tax rate?"))
        return false;
    saleZone = zone;
    return true;
}

void CTaxTableDlg::FillZones()
{
    filling_ = true;
    zones_->clear();
    defaultZone_->clear();
    const std::string chosen = GetDefaultZone(local_);
    for (const TaxTableRecord& zone : ListTaxZones(local_)) {
        auto* item = new QTreeWidgetItem(zones_, {qs(zone.name), qs(RateText(zone.tax1)), qs(RateText(zone.tax2))});
        item->setTextAlignment(1, Qt::AlignRight);
        item->setTextAlignment(2, Qt::AlignRight);
        defaultZone_->addItem(qs(zone.name));
        if (!original_.empty() && zone.name == original_)
            zones_->setCurrentItem(item);
    }
    defaultZone_->setCurrentIndex(defaultZone_->findText(qs(chosen)));
    filling_ = false;
}

void CTaxTableDlg::OnSimpleTax()
{
    const bool zonesOn = !simpleTax_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{zones_, zoneName_, zoneTax1_, zoneTax2_, defaultZone_, new_, delete_})
        w->setEnabled(zonesOn);
}

void CTaxTableDlg::AskToSave()
{
    if (modified_ && MessageBox::askYesNo(this, "Save changes first?"))
        OnSave();
    modified_ = false;
}

void CTaxTableDlg::ShowZone(const TaxTableRecord& zone)
{
    shownZone_ = zone;
    shownZone1_ = RateText(zone.tax1);
    shownZone2_ = RateText(zone.tax2);
    zoneName_->setText(qs(zone.name));
    zoneTax1_->setText(qs(shownZone1_));
    zoneTax2_->setText(qs(shownZone2_));
}

void CTaxTableDlg::ClearZone()
{
    shownZone_ = TaxTableRecord{};
    shownZone1_.clear();
    shownZone2_.clear();
    for (QLineEdit* box : {zoneName_, zoneTax1_, zoneTax2_})
        box->clear();
}

void CTaxTableDlg::OnChoose(bool chosen, const std::string& name)
{
    AskToSave();
    if (!chosen) {
        MessageBox::information(this, "Click on the Tax Name.");
        return;
    }
    TaxTableRecord zone;
    zone.name = name;
    FindTaxZone(local_, name, zone);
    original_ = name;
    ShowZone(zone);
    modified_ = false;
    FillZones();
}

void CTaxTableDlg::OnSave()
{
    SimpleTaxSettings simple;
    simple.simpleTax = simpleTax_->isChecked();
    simple.tax1 = RateFrom(ss(tax1_->text()), shownTax1_, header_.simpleTax1);
    simple.tax2 = RateFrom(ss(tax2_->text()), shownTax2_, header_.simpleTax2);
    simple.showSeparately = separately_->isChecked();
    simple.showCents = cents_->isChecked();
    if (SaveSimpleTax(local_, header_, simple) != 0) {
        MessageBox::information(this, "The taxes could not be saved. Nothing was changed.");
        return;
    }
    changed_ = true;
    modified_ = false;
    shownTax1_ = RateText(header_.simpleTax1);
    shownTax2_ = RateText(header_.simpleTax2);
    tax1_->setText(qs(shownTax1_));
    tax2_->setText(qs(shownTax2_));

    TaxTableRecord zone;
    zone.name = ss(zoneName_->text(), kNameChars);
    if (zone.name.empty() || simple.simpleTax)
        return;
    zone.tax1 = RateFrom(ss(zoneTax1_->text()), shownZone1_, shownZone_.tax1);
    zone.tax2 = RateFrom(ss(zoneTax2_->text()), shownZone2_, shownZone_.tax2);
    const ChangeResult result = SaveTaxZone(local_, original_, zone);
    if (result == ChangeResult::NotFound) {
        MessageBox::information(this, "Can't save.\nThis tax zone is no longer in the table: another register "
                                      "changed or deleted it.\nClick Save again to add it as a new zone.");
        original_.clear();
    } else if (result == ChangeResult::Failed) {
        MessageBox::information(this, "The tax zone could not be saved. Nothing was changed.");
    } else {
        original_ = zone.name;
        ShowZone(zone);
    }
    FillZones();
}

void CTaxTableDlg::OnNew()
{
    AskToSave();
    original_.clear();
    ClearZone();
    filling_ = true;
    zones_->setCurrentItem(nullptr);
    filling_ = false;
    zoneName_->setFocus();
}

void CTaxTableDlg::OnDelete()
{
    if (!MessageBox::askYesNo(this, "Delete this Tax?"))
        return;
    if (DeleteTaxZone(local_, ss(zoneName_->text(), kNameChars)) == ChangeResult::Done)
        changed_ = true;
    original_.clear();
    ClearZone();
    modified_ = false;
    FillZones();
}
