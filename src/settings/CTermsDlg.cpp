#include "settings/CTermsDlg.h"

#include "platform/MessageBox.h"
#include "settings/SettingsForm.h"
#include "settings/SetupLists.h"
#include "storage/files/ListFiles.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace SettingsForm;

CTermsDlg::CTermsDlg(const CLocalFile& local, QWidget* parent) : QDialog(parent), local_(local)
{
    setObjectName("CTermsDlg");
    setWindowTitle("Terms");
    auto* outer = new QVBoxLayout(this);
    list_ = reportList(this, "list", {"ID", "Discount%", "Discount Days", "Net Days"}, {0, 90, 90, 90});
    outer->addWidget(list_);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    percent_ = lineBox(this, grid, 0, "Discount%", "discount_percent");
    discountDays_ = lineBox(this, grid, 1, "Discount Days", "discount_days");
    netDays_ = lineBox(this, grid, 2, "Net Days", "net_days");
    auto* row = new QHBoxLayout;
    outer->addLayout(row);
    QPushButton* save = button(this, "Save", "save");
    QPushButton* remove = button(this, "Delete", "delete");
    QPushButton* ok = button(this, "OK", "ok");
    for (QPushButton* b : {save, remove, ok})
        row->addWidget(b);
    connect(list_, &QTreeWidget::currentItemChanged, this, &CTermsDlg::OnChoose);
    connect(save, &QPushButton::clicked, this, &CTermsDlg::OnSave);
    connect(remove, &QPushButton::clicked, this, &CTermsDlg::OnDelete);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    FillList();
    percent_->setFocus();
}

void CTermsDlg::FillList()
{
    const QSignalBlocker quiet(list_);
    list_->clear();
    chosenId_ = -1;
    for (const TermsRecord& t : ListTerms(local_))
        new QTreeWidgetItem(list_, {QString::number(t.id), QString::number(t.discountPercent),
                                    QString::number(t.discountDays), QString::number(t.netDays)});
}

void CTermsDlg::OnChoose(QTreeWidgetItem* item)
{
    if (!item)
        return;
    chosenId_ = item->text(0).toInt();
    percent_->setText(item->text(1));
    discountDays_->setText(item->text(2));
    netDays_->setText(item->text(3));
}

void CTermsDlg::OnSave()
{
    TermsRecord terms;
    const std::string refusal = TermsFrom(ss(percent_->text()), ss(discountDays_->text()), ss(netDays_->text()), terms);
    if (!refusal.empty()) {
        MessageBox::information(this, refusal);
        return;
    }
    if (AppendTerms(local_, terms) != 0)
        MessageBox::information(this, "Can't save.\nNo more Terms can be added: every Terms number has been given "
                                      "out, or the Terms file could not be written.");
    FillList();
}

void CTermsDlg::OnDelete()
{
    if (chosenId_ < 0)
        return;
    if (chosenId_ <= 1) {
        MessageBox::information(this, "The first two Terms can't been deleted or changed");
        return;
    }
    if (MessageBox::askYesNo(this, "Delete this Term?\n\nIf you delete this Term, any outstanding Invoices\nthat are "
                                   "using it will not function properly.\n"))
        DeleteTerms(local_, static_cast<std::uint8_t>(chosenId_));
    FillList();
}
