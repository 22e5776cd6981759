#pragma once
// The "Discount Levels" window (Settings, Discount Levels): the names, percents
// and sale subtotals of the six discount levels. Every change is stored as
// soon as the box is left.

#include "settings/StoreDetails.h"

#include <QDialog>

class CLocalFile;
class QCheckBox;
class QLineEdit;
struct SalesFileHeader;

class CDiscountLevelsDlg : public QDialog {
    Q_OBJECT
public:
    CDiscountLevelsDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    // The whole command: the header read fresh, then the window.
    static void Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header);

private:
    // Orders the subtotals, shows them again and stores all levels.
    void Store();

    const CLocalFile& local_;
    SalesFileHeader& header_;
    std::array<QLineEdit*, 6> names_{};
    std::array<QLineEdit*, 6> percents_{};
    std::array<QLineEdit*, 6> subtotals_{};
    std::array<std::string, 6> shownPercents_, shownSubtotals_;
    QCheckBox* on_ = nullptr;
};
