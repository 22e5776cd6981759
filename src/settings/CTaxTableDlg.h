#pragma once
// The "Tax Table" window (Settings, Taxes): the simple tax of the header and
// the tax zones of the tax table file with its default zone.

#include "settings/SetupLists.h"

#include <QDialog>

class CLocalFile;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
struct SalesFileHeader;

class CTaxTableDlg : public QDialog {
    Q_OBJECT
public:
    CTaxTableDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    // The whole command: the header read fresh, then the window. True when
    // the window changed the simple tax or a zone.
    static bool Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header);
    bool changed() const { return changed_; }
    // After the window, for the sale being rung up: when zones are in use and
    // the default zone is not the sale's (letter case ignored), asks whether
    // the sale takes the default zone. True when it did.
    static bool OfferDefaultZone(QWidget* parent, const CLocalFile& local, const SalesFileHeader& header,
                                 std::string& saleZone);

private:
    void FillZones();
    void OnSimpleTax();
    void OnChoose(bool chosen, const std::string& name);
    void OnSave();
    void OnNew();
    void OnDelete();
    void AskToSave();
    void ShowZone(const TaxTableRecord& zone);
    void ClearZone();

    const CLocalFile& local_;
    SalesFileHeader& header_;
    std::string original_;  // chosen zone's name; empty: a new zone
    TaxTableRecord shownZone_;
    std::string shownTax1_, shownTax2_, shownZone1_, shownZone2_;
    bool modified_ = false;
    bool filling_ = false;
    bool changed_ = false;

    QCheckBox* simpleTax_ = nullptr;
    QLineEdit* tax1_ = nullptr;
    QLineEdit* tax2_ = nullptr;
    QCheckBox* separately_ = nullptr;
    QCheckBox* cents_ = nullptr;
    QTreeWidget* zones_ = nullptr;
    QLineEdit* zoneName_ = nullptr;
    QLineEdit* zoneTax1_ = nullptr;
    QLineEdit* zoneTax2_ = nullptr;
    QComboBox* defaultZone_ = nullptr;
    QPushButton* new_ = nullptr;
    QPushButton* delete_ = nullptr;
};
