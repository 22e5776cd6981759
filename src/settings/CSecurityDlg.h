#pragma once
// The "Security" window: unlocks with the store's password, changes or
// removes that password, and switches this register's security on or off.

#include <QDialog>
#include <string>

class CLocalFile;
struct SalesFileHeader;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CSecurityDlg : public QDialog {
    Q_OBJECT
public:
    // Refreshes the header from the file and opens locked, or unlocked at once
    // (after saying so) when the store has no password.
    CSecurityDlg(CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    bool isUnlocked() const { return unlocked_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnConfirm();
    void OnConfirmChange();
    void OnChoice(int on);
    void SetLocked(bool locked);
    void ClearBoxes();

    CLocalFile& local_;
    SalesFileHeader& header_;
    bool unlocked_ = false;

    QLineEdit* password_ = nullptr;
    QPushButton* confirm_ = nullptr;
    QGroupBox* passwordGroup_ = nullptr;
    QLabel* newLabel_ = nullptr;
    QLineEdit* newPassword_ = nullptr;
    QLabel* confirmLabel_ = nullptr;
    QLineEdit* confirmPassword_ = nullptr;
    QPushButton* confirmChange_ = nullptr;
    QGroupBox* securityGroup_ = nullptr;
    QButtonGroup* choices_ = nullptr;
    QRadioButton* securityOff_ = nullptr;
    QRadioButton* securityOn_ = nullptr;
    QLabel* note_ = nullptr;
};
