#pragma once
// The "Settings" window of Settings, General: the store's sale rules and screen
// options and this register's receipt printing and drawer options.

#include "settings/GeneralSettings.h"

#include <QDialog>

class CLocalFile;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QSpinBox;
struct SalesFileHeader;

class CGeneralDlg : public QDialog {
    Q_OBJECT
public:
    CGeneralDlg(const GeneralSettings& settings, QWidget* parent = nullptr);

    // What the controls hold.
    GeneralSettings settings() const;

    // The whole command: the security gate, the window filled from the header
    // read fresh, and on OK the rule check (a broken rule is shown and the
    // window opens again with the entries as typed) and the save. True when
    // settings were stored: the caller then recalculates the sale on screen.
    static bool Run(QWidget* parent, CLocalFile& local, SalesFileHeader& header);

private:
    std::array<QCheckBox*, kGeneralFlagCount> flags_{};
    QButtonGroup* taxFormula_ = nullptr;
    QButtonGroup* receiptStyle_ = nullptr;
    QButtonGroup* receiptsToPrint_ = nullptr;
    QButtonGroup* drawerMethod_ = nullptr;
    QLineEdit* rollFontSize_ = nullptr;
    QLineEdit* lowMargin_ = nullptr;
    QLineEdit* drawerCommand_ = nullptr;
    QSpinBox* packingSlips_ = nullptr;
};
