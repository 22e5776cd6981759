#pragma once
// The "Check File Before Import" window: the products read from a text file,
// one at a time in read-only boxes; OK imports them, Cancel nothing.

#include "products/ProductTextFile.h"

#include <QDialog>
#include <vector>

class QLabel;
class QLineEdit;

class CImportCheckDlg : public QDialog {
    Q_OBJECT
public:
    static const char* const kFormatMessage;

    // The lines refused or changed are listed under the boxes.
    CImportCheckDlg(const ProductText::Reading& reading, QWidget* parent = nullptr);

    int current() const { return current_; }
    void OnPrev();
    void OnNext();

private:
    void Show();

    const ProductText::Reading& reading_;
    QLabel* line_ = nullptr;
    int current_ = 0;
    std::vector<QLineEdit*> boxes_;
};
