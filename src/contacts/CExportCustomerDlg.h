#pragma once
// "Export Customer Information": which customers and which fields to export.

#include <QDialog>

class CExportCustomerDlg : public QDialog {
    Q_OBJECT
public:
    // Result codes of exec(), beside QDialog::Rejected for "Cancel".
    enum Choice { AllAddresses = 10, ListedAddresses, AllInformation, ListedInformation };
    explicit CExportCustomerDlg(QWidget* parent = nullptr);
};
