#include "settings/CGeneralDlg.h"

#include "platform/MessageBox.h"
#include "platform/RecordText.h"
#include "settings/SecurityGate.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <string_view>

namespace {

struct Choice {
    const char* name;
    const char* text;
    const char* tooltip;
};

// A group of radio buttons whose ids are their positions.
QButtonGroup* choices(QWidget* owner, QVBoxLayout* layout, std::initializer_list<Choice> items, int checked)
{
    auto* group = new QButtonGroup(owner);
    int id = 0;
    for (const Choice& c : items) {
        auto* button = new QRadioButton(c.text, owner);
        button->setObjectName(c.name);
        button->setToolTip(c.tooltip);
        group->addButton(button, id++);
        layout->addWidget(button);
    }
    if (QAbstractButton* b = group->button(checked))
        b->setChecked(true);
    return group;
}

QGroupBox* box(QWidget* owner, const char* title, QVBoxLayout*& layout)
{
    auto* group = new QGroupBox(title, owner);
    layout = new QVBoxLayout(group);
    return group;
}

}  // namespace

CGeneralDlg::CGeneralDlg(const GeneralSettings& s, QWidget* parent) : QDialog(parent)
{
    setObjectName("CGeneralDlg");
    setWindowTitle("Settings");
    // Three columns, so the window fits a 1024 x 768 screen.
    auto* outer = new QVBoxLayout(this);
    auto* columnsRow = new QHBoxLayout;
    outer->addLayout(columnsRow);
    QVBoxLayout* columns[3];
    for (QVBoxLayout*& c : columns) {
        c = new QVBoxLayout;
        columnsRow->addLayout(c);
    }

    QVBoxLayout* rules = nullptr;
    QVBoxLayout* screen = nullptr;
    columns[0]->addWidget(box(this, "Sale Requirements", rules));
    columns[0]->addWidget(box(this, "Sale Screen", screen));
    // Each check box is made where it is placed, so Tab runs down the columns.
    auto flag = [this, &s](const char* name) {
        for (std::size_t i = 0; i < kGeneralFlagCount; ++i) {
            if (std::string_view(kGeneralFlags[i].name) != name)
                continue;
            if (!flags_[i]) {
                flags_[i] = new QCheckBox(kGeneralFlags[i].text, this);
                flags_[i]->setObjectName(name);
                flags_[i]->setToolTip(kGeneralFlags[i].tooltip);
                flags_[i]->setChecked(s.flags[i]);
            }
            return flags_[i];
        }
        return static_cast<QCheckBox*>(nullptr);
    };
    for (const char* name : {"must_select_cashier", "must_login_cashier", "must_select_salesperson",
                             "must_select_paytype", "must_enter_cash_paid", "must_enter_address"})
        rules->addWidget(flag(name));
    for (const char* name : {"show_todays_notes", "show_mailing_address", "show_salesperson", "show_calendar",
                             "show_change_calc", "show_touch_button", "auto_edit_customers", "show_cents"})
        screen->addWidget(flag(name));
    // A salesperson can be required only where one can be chosen.
    QCheckBox* showSalesperson = flag("show_salesperson");
    connect(flag("must_select_salesperson"), &QCheckBox::toggled, showSalesperson, [showSalesperson](bool on) {
        if (on)
            showSalesperson->setChecked(true);
    });

    QVBoxLayout* tax = nullptr;
    columns[1]->addWidget(box(this, "Tax Calculation Formulas", tax));
    taxFormula_ = choices(this, tax,
                          {{"tax_usa", "USA", "Calculates taxes based on the USA formula."},
                           {"tax_uk", "UK", "Calculates taxes based on the UK formula."}},
                          s.taxFormula);
    tax->addWidget(flag("show_taxes_separately"));
    tax->addWidget(flag("simple_tax"));

    QVBoxLayout* style = nullptr;
    columns[1]->addWidget(box(this, "Receipt Style", style));
    receiptStyle_ = choices(this, style,
                            {{"style_invoice", "Full Page Invoice Style Receipt",
                              "When printing a receipt, use the full-page invoice style."},
                             {"style_roll", "Register Roll Style Receipt",
                              "When printing a receipt, use the register receipt roll style."}},
                            s.receiptStyle);
    auto* fontRow = new QHBoxLayout;
    auto* fontLabel = new QLabel("Font size for Roll Receipt:", this);
    rollFontSize_ = new QLineEdit(RecordText::toQt(s.rollFontSize), this);
    rollFontSize_->setObjectName("roll_font_size");
    rollFontSize_->setToolTip("Change the font size for roll receipts");
    fontLabel->setBuddy(rollFontSize_);
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(rollFontSize_);
    style->addLayout(fontRow);

    QVBoxLayout* margin = nullptr;
    columns[1]->addWidget(box(this, "Low Margin Watch", margin));
    margin->addWidget(flag("margin_watch"));
    auto* marginLabel = new QLabel("Warn if Product margin is below this %", this);
    lowMargin_ = new QLineEdit(RecordText::toQt(s.lowMarginPercent), this);
    lowMargin_->setObjectName("low_margin");
    lowMargin_->setToolTip("Enter the Low Margin % (example 50 for 50%).");
    marginLabel->setBuddy(lowMargin_);
    margin->addWidget(marginLabel);
    margin->addWidget(lowMargin_);

    QVBoxLayout* printing = nullptr;
    columns[2]->addWidget(box(this, "Automatic Receipt Printing", printing));
    receiptsToPrint_ = choices(this, printing,
                               {{"receipts_0", "No printed receipt", "Do not print a receipt after a sale."},
                                {"receipts_1", "One printed receipt", "Print one receipt after each sale."},
                                {"receipts_2", "Two printed receipts", "Print two receipts after each sale."}},
                               s.receiptsToPrint);
    auto* note = new QLabel("Number of receipts to print when the sale is entered.", this);
    note->setWordWrap(true);
    printing->addWidget(note);
    auto* slipsRow = new QHBoxLayout;
    auto* slipsLabel = new QLabel("Number of Packing Slips", this);
    packingSlips_ = new QSpinBox(this);
    packingSlips_->setObjectName("packing_slips");
    packingSlips_->setRange(0, 3);
    packingSlips_->setValue(s.packingSlips);
    packingSlips_->setToolTip("The number Packing Slips to print after each sale.");
    slipsLabel->setBuddy(packingSlips_);
    slipsRow->addWidget(slipsLabel);
    slipsRow->addWidget(packingSlips_);
    printing->addLayout(slipsRow);

    QVBoxLayout* drawer = nullptr;
    columns[2]->addWidget(box(this, "Open Drawer Method", drawer));
    drawerMethod_ = choices(this, drawer,
                            {{"drawer_none", "Don't Open Drawer",
                              "Do not try to open a Cash Drawer when the Sale in completed."},
                             {"drawer_standard", "Open via OPOS driver",
                              "Open the Cash Drawer connected to a Star Micronics type printer."},
                             {"drawer_command", "Open by this command",
                              "Open the Cash Drawer by using this command sent to the printer."}},
                            s.drawerMethod);
    drawerCommand_ = new QLineEdit(RecordText::toQt(s.drawerCommand), this);
    drawerCommand_->setObjectName("drawer_command_text");
    drawerCommand_->setToolTip("The alphanumeric command sent to open the Cash Drawer.");
    drawer->addWidget(drawerCommand_);
    auto* hint = new QLabel("Hexadecimal digits send those bytes: 1B700019FA or 1B 70 00 19 FA is "
                            "ESC p 0 25 250. Other text is sent as it is typed.",
                            this);
    hint->setWordWrap(true);
    drawer->addWidget(hint);

    QVBoxLayout* roll = nullptr;
    columns[2]->addWidget(box(this, "Receipt Roll Width", roll));
    rollWidth_ = choices(this, roll,
                         {{"roll_58", "58 mm roll", "The receipt printer takes paper rolls 58 mm wide."},
                          {"roll_80", "80 mm roll", "The receipt printer takes paper rolls 80 mm wide."}},
                         s.rollWidthMm == 58 ? 0 : 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);
    for (QVBoxLayout* c : columns)
        c->addStretch();
    flag("must_select_cashier")->setFocus();
}

GeneralSettings CGeneralDlg::settings() const
{
    GeneralSettings s;
    for (std::size_t i = 0; i < kGeneralFlagCount; ++i)
        s.flags[i] = flags_[i]->isChecked();
    s.taxFormula = taxFormula_->checkedId() == 1 ? 1 : 0;
    s.rollFontSize = RecordText::fromQt(rollFontSize_->text());
    s.lowMarginPercent = RecordText::fromQt(lowMargin_->text());
    s.receiptStyle = std::max(receiptStyle_->checkedId(), 0);
    s.receiptsToPrint = std::max(receiptsToPrint_->checkedId(), 0);
    s.packingSlips = packingSlips_->value();
    s.drawerMethod = std::max(drawerMethod_->checkedId(), 0);
    s.drawerCommand = RecordText::fromQt(drawerCommand_->text());
    s.rollWidthMm = rollWidth_->checkedId() == 0 ? 58 : 80;
    return s;
}

bool CGeneralDlg::Run(QWidget* parent, CLocalFile& local, SalesFileHeader& header)
{
    if (SecurityGate(local))
        return false;
    ReadHeader(local, header);
    GeneralSettings settings = GeneralSettings::From(header, local);
    for (;;) {
        CGeneralDlg dialog(settings, parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        settings = dialog.settings();
        if (const std::string tooLong = settings.drawerCommandMessage(); !tooLong.empty()) {
            MessageBox::information(parent, tooLong);
            continue;
        }
        if (const std::string notNumber = settings.numberMessage(); !notNumber.empty()) {
            MessageBox::information(parent, notNumber);
            continue;
        }
        // The rules are checked before anything is stored, so a Cancel after
        // the message never leaves settings that refuse every cash sale.
        SalesFileHeader proposed = header;
        settings.applyTo(proposed);
        const std::string broken = GeneralRuleMessage(proposed);
        if (!broken.empty()) {
            MessageBox::information(parent, broken);
            continue;
        }
        if (SaveGeneralSettings(local, header, settings) != 0) {
            MessageBox::information(parent, "The settings could not be saved. Nothing was changed.");
            return false;
        }
        return true;
    }
}
