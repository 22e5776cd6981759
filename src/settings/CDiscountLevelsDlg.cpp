#include "settings/CDiscountLevelsDlg.h"

#include "platform/MessageBox.h"
#include "settings/SettingsForm.h"
#include "settings/SetupLists.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/TextFormat.h"

#include <QCheckBox>
#include <QVBoxLayout>

using namespace SettingsForm;

namespace {
std::string amount(float value)
{
    return strprintf("%.2f", static_cast<double>(value));
}
}  // namespace

CDiscountLevelsDlg::CDiscountLevelsDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setObjectName("CDiscountLevelsDlg");
    setWindowTitle("Discount Levels");
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    grid->addWidget(new QLabel("Disc%", this), 0, 2);
    grid->addWidget(new QLabel("Sale Subtotal", this), 0, 4);
    const DiscountLevels levels = DiscountLevels::From(header);
    for (int i = 0; i < 6; ++i) {
        const auto n = static_cast<std::size_t>(i);
        auto* label = new QLabel(QString("Level %1").arg(i + 1), this);
        names_[n] = new QLineEdit(qs(levels.names[n]), this);
        names_[n]->setObjectName(QString("level_name_%1").arg(i + 1));
        names_[n]->setMaxLength(39);
        label->setBuddy(names_[n]);
        shownPercents_[n] = amount(levels.percent[n]);
        percents_[n] = new QLineEdit(qs(shownPercents_[n]), this);
        percents_[n]->setObjectName(QString("level_percent_%1").arg(i + 1));
        shownSubtotals_[n] = amount(levels.subtotal[n]);
        subtotals_[n] = new QLineEdit(qs(shownSubtotals_[n]), this);
        subtotals_[n]->setObjectName(QString("level_subtotal_%1").arg(i + 1));
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(names_[n], i + 1, 1);
        grid->addWidget(percents_[n], i + 1, 2);
        grid->addWidget(new QLabel("at", this), i + 1, 3);
        grid->addWidget(subtotals_[n], i + 1, 4);
        for (QLineEdit* box : {names_[n], percents_[n], subtotals_[n]})
            connect(box, &QLineEdit::editingFinished, this, [this, box] {
                if (box->isModified())
                    Store();
                box->setModified(false);
            });
    }
    on_ = new QCheckBox("Sales Discount On", this);
    on_->setObjectName("sales_discount_on");
    on_->setChecked(levels.salesDiscountOn);
    connect(on_, &QCheckBox::toggled, this, &CDiscountLevelsDlg::Store);
    outer->addWidget(on_);
    for (const char* note : {"Customers are assigned a discount level in the Customers Information window (Settings: "
                             "Customers). The default level is 1.",
                             "The sales total can determined the discount level by checking the \n'Sales Discount On' "
                             "check box."}) {
        auto* label = new QLabel(note, this);
        label->setWordWrap(true);
        outer->addWidget(label);
    }
    QPushButton* ok = button(this, "OK", "ok");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    outer->addWidget(ok);
    names_[0]->setFocus();
}

void CDiscountLevelsDlg::Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header)
{
    ReadHeader(local, header);
    CDiscountLevelsDlg dialog(local, header, parent);
    dialog.exec();
}

void CDiscountLevelsDlg::Store()
{
    DiscountLevels levels = DiscountLevels::From(header_);
    for (std::size_t n = 0; n < 6; ++n) {
        levels.names[n] = ss(names_[n]->text(), 39);
        levels.percent[n] = RateFrom(ss(percents_[n]->text()), shownPercents_[n], header_.discountPercent[n]);
        levels.subtotal[n] = RateFrom(ss(subtotals_[n]->text()), shownSubtotals_[n], header_.discountSubtotal[n]);
    }
    levels.salesDiscountOn = on_->isChecked();
    if (SaveDiscountLevels(local_, header_, levels) != 0) {
        MessageBox::information(this, "The discount levels could not be saved. Nothing was changed.");
        return;
    }
    for (std::size_t n = 0; n < 6; ++n) {
        shownPercents_[n] = amount(header_.discountPercent[n]);
        shownSubtotals_[n] = amount(header_.discountSubtotal[n]);
        percents_[n]->setText(qs(shownPercents_[n]));
        subtotals_[n]->setText(qs(shownSubtotals_[n]));
    }
}
