#pragma once
// The "Sales Dates" window (Settings, Sale Dates): the period in which the
// products' sale percentages apply.

#include <QDialog>

class CLocalFile;
class QCheckBox;
class QDateEdit;
struct SalesFileHeader;

class CSaleDatesDlg : public QDialog {
    Q_OBJECT
public:
    CSaleDatesDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    // The whole command: the header read fresh, then the window. True when
    // the period was stored.
    static bool Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header);

    void accept() override;

private:
    const CLocalFile& local_;
    SalesFileHeader& header_;
    QDateEdit* first_ = nullptr;
    QDateEdit* last_ = nullptr;
    QCheckBox* on_ = nullptr;
};
