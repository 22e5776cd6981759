#include "contacts/CLabelsDlg.h"

#include "platform/RecordText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CLabelsDlg::CLabelsDlg(const QString& title, const Labels& labels, QWidget* parent) : QDialog(parent)
{
    setObjectName("CLabelsDlg");
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i] = new QLineEdit(RecordText::toQt(labels[i]), this);
        boxes_[i]->setObjectName(QString("label_%1").arg(i));
        boxes_[i]->setMaxLength(13);
        form->addRow(QString("%1").arg(i + 1), boxes_[i]);
    }
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool CLabelsDlg::Edit(QWidget* parent, const QString& title, Labels& labels)
{
    CLabelsDlg dlg(title, labels, parent);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    labels = dlg.labels();
    return true;
}

CLabelsDlg::Labels CLabelsDlg::labels() const
{
    Labels out;
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        out[i] = RecordText::fromQt(boxes_[i]->text(), 13);
    return out;
}
