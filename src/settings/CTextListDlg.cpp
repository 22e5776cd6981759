#include "settings/CTextListDlg.h"

#include "platform/MessageBox.h"
#include "settings/SettingsForm.h"
#include "storage/files/SalesFileHeader.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace SettingsForm;

CTextListDlg::CTextListDlg(const CLocalFile& local, SalesFileHeader& header, const TextListKind& kind, QWidget* parent)
    : QDialog(parent), local_(local), header_(header), kind_(kind)
{
    setObjectName("CTextListDlg");
    setWindowTitle(kind.caption);
    auto* outer = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(fromStoredLines(header.*kind.field), this);
    text_->setObjectName("list");
    text_->setTabChangesFocus(true);
    outer->addWidget(text_);
    outer->addWidget(new QLabel(kind.note, this));
    QDialogButtonBox* buttons = okCancel(this);
    outer->addWidget(buttons);
    text_->setFocus();
}

void CTextListDlg::accept()
{
    const std::string typed = toStoredLines(text_->toPlainText());
    const std::string refusal = TextListRefusal(kind_, typed);
    if (!refusal.empty()) {
        MessageBox::information(this, refusal);
        return;
    }
    if (SaveTextList(local_, header_, kind_, typed) != 0) {
        MessageBox::information(this, "The list could not be saved. Nothing was changed.");
        return;
    }
    QDialog::accept();
}

bool CTextListDlg::Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header, const TextListKind& kind)
{
    ReadHeader(local, header);
    CTextListDlg dialog(local, header, kind, parent);
    return dialog.exec() == QDialog::Accepted;
}
