#pragma once
// The "Check File Before Import" window: the products read from a text file,
// one at a time in read-only boxes; OK imports them, Cancel nothing.

#include "storage/records/ProductRecord.h"

#include <QDialog>
#include <vector>

class QLineEdit;

class CImportCheckDlg : public QDialog {
    Q_OBJECT
public:
    static const char* const kFormatMessage;

    CImportCheckDlg(const std::vector<ProductRecord>& records, QWidget* parent = nullptr);

    int current() const { return current_; }
    void OnPrev();
    void OnNext();

private:
    void Show();

    const std::vector<ProductRecord>& records_;
    int current_ = 0;
    std::vector<QLineEdit*> boxes_;
};
