#include "settings/CReceiptMessagesDlg.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "settings/SecurityGate.h"
#include "settings/SettingsForm.h"
#include "settings/StoreDetails.h"
#include "storage/files/SalesFileHeader.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace SettingsForm;

namespace {
QPlainTextEdit* message(QWidget* owner, QVBoxLayout* outer, const char* title, const char* name,
                        const std::string& text)
{
    auto* group = new QGroupBox(title, owner);
    auto* layout = new QVBoxLayout(group);
    auto* box = new QPlainTextEdit(fromStoredLines(text), owner);
    box->setObjectName(name);
    box->setTabChangesFocus(true);
    layout->addWidget(box);
    outer->addWidget(group);
    return box;
}
}  // namespace

CReceiptMessagesDlg::CReceiptMessagesDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setObjectName("CReceiptMessagesDlg");
    setWindowTitle("Receipt Messages");
    auto* outer = new QVBoxLayout(this);
    receiptHeader_ = message(this, outer, "Receipt Header", "receipt_header", header.receiptHeader);
    termsMessage_ = message(this, outer, "Terms Message", "terms_message", header.termsMessage);
    optionalMessage_ = message(this, outer, "Optional Message", "optional_message", header.optionalMessage);
    QDialogButtonBox* buttons = okCancel(this);
    QPushButton* logo = buttons->addButton("Find Logo", QDialogButtonBox::ActionRole);
    logo->setObjectName("find_logo");
    connect(logo, &QPushButton::clicked, this, &CReceiptMessagesDlg::OnFindLogo);
    outer->addWidget(buttons);
    receiptHeader_->setFocus();
}

void CReceiptMessagesDlg::Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header)
{
    ReadHeader(local, header);
    CReceiptMessagesDlg dialog(local, header, parent);
    dialog.exec();
}

void CReceiptMessagesDlg::accept()
{
    const ReceiptMessages m{toStoredLines(receiptHeader_->toPlainText()), toStoredLines(termsMessage_->toPlainText()),
                            toStoredLines(optionalMessage_->toPlainText())};
    if (SaveReceiptMessages(local_, header_, m) != 0) {
        MessageBox::information(this, "The messages could not be saved. Nothing was changed.");
        return;
    }
    QDialog::accept();
}

void CReceiptMessagesDlg::OnFindLogo()
{
    if (SecurityGate(local_))
        return;
    const std::string path = FileDialog::getOpenFileName(this, "BMP (*.BMP)|*.BMP||", ".BMP");
    if (path.empty())
        return;
    switch (SaveLogoPath(local_, header_, path)) {
    case LogoSave::TooLong:
        MessageBox::information(this, kLogoPathTooLong);
        break;
    case LogoSave::Failed:
        MessageBox::information(this, "The logo could not be saved. Nothing was changed.");
        break;
    case LogoSave::Saved:
        break;
    }
}
