#include "platform/RecordText.h"
#include "settings/CSecurityDlg.h"

#include "platform/MessageBox.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QLineEdit* passwordBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    return box;
}

QPushButton* button(QWidget* parent, const QString& text, const char* name)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    // Enter is handled by the window itself (see keyPressEvent), never by a default button.
    b->setAutoDefault(false);
    return b;
}

std::string typed(const QLineEdit* box) { return RecordText::fromQt(box->text()); }
}  // namespace

CSecurityDlg::CSecurityDlg(CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setObjectName("CSecurityDlg");
    setWindowTitle("Security");
    auto* layout = new QVBoxLayout(this);

    auto* unlockRow = new QHBoxLayout;
    auto* passwordLabel = new QLabel("&Password", this);
    password_ = passwordBox(this, "password");
    passwordLabel->setBuddy(password_);
    confirm_ = button(this, "&Confirm", "confirm");
    unlockRow->addWidget(passwordLabel);
    unlockRow->addWidget(password_, 1);
    unlockRow->addWidget(confirm_);
    layout->addLayout(unlockRow);

    passwordGroup_ = new QGroupBox("Password", this);
    passwordGroup_->setObjectName("password_group");
    auto* grid = new QGridLayout(passwordGroup_);
    newLabel_ = new QLabel("&New Password", passwordGroup_);
    newPassword_ = passwordBox(passwordGroup_, "new_password");
    newLabel_->setBuddy(newPassword_);
    confirmLabel_ = new QLabel("Confirm P&assword", passwordGroup_);
    confirmPassword_ = passwordBox(passwordGroup_, "confirm_password");
    confirmLabel_->setBuddy(confirmPassword_);
    confirmChange_ = button(passwordGroup_, "Confirm C&hange", "confirm_change");
    grid->addWidget(newLabel_, 0, 0);
    grid->addWidget(newPassword_, 0, 1);
    grid->addWidget(confirmLabel_, 1, 0);
    grid->addWidget(confirmPassword_, 1, 1);
    grid->addWidget(confirmChange_, 2, 1, Qt::AlignRight);
    layout->addWidget(passwordGroup_);

    securityGroup_ = new QGroupBox("Security", this);
    securityGroup_->setObjectName("security_group");
    auto* choiceLayout = new QHBoxLayout(securityGroup_);
    auto* radios = new QVBoxLayout;
    securityOff_ = new QRadioButton("Security O&ff", securityGroup_);
    securityOff_->setObjectName("security_off");
    securityOn_ = new QRadioButton("Security O&n", securityGroup_);
    securityOn_->setObjectName("security_on");
    radios->addWidget(securityOff_);
    radios->addWidget(securityOn_);
    choices_ = new QButtonGroup(this);
    choices_->addButton(securityOff_, 0);
    choices_->addButton(securityOn_, 1);
    note_ = new QLabel(" Deactivate\n product editing\n and sales reports.", securityGroup_);
    note_->setObjectName("security_note");
    choiceLayout->addLayout(radios);
    choiceLayout->addWidget(note_);
    layout->addWidget(securityGroup_);

    auto* closeRow = new QHBoxLayout;
    auto* ok = button(this, "OK", "ok");
    auto* cancel = button(this, "Cancel", "cancel");
    closeRow->addStretch();
    closeRow->addWidget(ok);
    closeRow->addWidget(cancel);
    layout->addLayout(closeRow);

    connect(confirm_, &QPushButton::clicked, this, &CSecurityDlg::OnConfirm);
    connect(password_, &QLineEdit::returnPressed, this, &CSecurityDlg::OnConfirm);
    connect(confirmChange_, &QPushButton::clicked, this, &CSecurityDlg::OnConfirmChange);
    connect(confirmPassword_, &QLineEdit::returnPressed, this, &CSecurityDlg::OnConfirmChange);
    connect(choices_, &QButtonGroup::idClicked, this, &CSecurityDlg::OnChoice);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    ReadHeader(local_, header_);
    (local_.securityOn == 1 ? securityOn_ : securityOff_)->setChecked(true);
    SetLocked(true);
    password_->setFocus();
    if (header_.securityPassword.empty()) {
        MessageBox::show(this, "There is no Password.\n\nYou may enter a 'New Password' and 'Confirm Password'.");
        SetLocked(false);
        newPassword_->setFocus();
    }
}

void CSecurityDlg::SetLocked(bool locked)
{
    unlocked_ = !locked;
    newPassword_->setReadOnly(locked);
    confirmPassword_->setReadOnly(locked);
    newLabel_->setEnabled(!locked);
    confirmLabel_->setEnabled(!locked);
    confirmChange_->setEnabled(!locked);
    // The password group keeps its boxes enabled (read-only while locked); the
    // security group's controls all follow its state.
    securityGroup_->setEnabled(!locked);
}

void CSecurityDlg::ClearBoxes()
{
    password_->clear();
    newPassword_->clear();
    confirmPassword_->clear();
}

void CSecurityDlg::OnConfirm()
{
    if (typed(password_) == header_.securityPassword)
        SetLocked(false);
    ClearBoxes();
}

void CSecurityDlg::OnConfirmChange()
{
    if (!unlocked_)
        return;
    const std::string fresh = typed(newPassword_);
    const std::string again = typed(confirmPassword_);
    ClearBoxes();
    if (fresh != again) {
        MessageBox::show(this, "New Password and Confirm Password don't match.\n\nNo change made.");
        return;
    }
    // One read-change-write, so settings another register wrote since this
    // window opened are not overwritten with older values.
    const std::string stored = codec::fitText(fresh, SalesFileHeader::kPasswordWidth);
    if (UpdateHeader(local_, header_, [&stored](SalesFileHeader& h) { h.securityPassword = stored; }) !=
        FileCause::None) {
        MessageBox::show(this, "Unable to save the password in:\n\n" + local_.GetPath("Head") + "\n\nNo change made.");
        return;
    }
    local_.Save();
    if (header_.securityPassword.empty())
        MessageBox::show(this, "Password Removed!");
}

void CSecurityDlg::OnChoice(int on)
{
    if (!unlocked_)
        return;
    local_.securityOn = on == 1 ? 1 : 0;
    local_.Save();
}

void CSecurityDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter presses the focused button; in a box it only does what the box
        // itself binds (Confirm, Confirm Change), and never closes the window.
        if (auto* b = qobject_cast<QPushButton*>(focusWidget()); b && b->isEnabled())
            b->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
