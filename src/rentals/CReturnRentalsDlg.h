#pragma once
// The "Return Rentals" window: the rentals not yet returned (or, with "List
// All Rentals" ticked, every record), where a return is booked against the
// selected rental and a wrong record can be deleted (right click or Del).

#include "rentals/CRentalsDlg.h"

#include <optional>

class QCheckBox;

class CReturnRentalsDlg : public CRentalsDlg {
    Q_OBJECT
public:
    explicit CReturnRentalsDlg(const CLocalFile& local, QWidget* parent = nullptr);

    // The row selected for a return, if any.
    const std::optional<RentalRow>& selected() const { return selected_; }

protected:
    bool listAll() const override;
    void Relisted() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnRowChosen();
    void OnReturn();
    void OnDelete();
    void ClearSelection();
    const RentalRow* CurrentRow() const;

    QCheckBox* listAll_ = nullptr;
    QLineEdit* returnQty_ = nullptr;
    QLineEdit* description_ = nullptr;
    QPushButton* return_ = nullptr;
    std::optional<RentalRow> selected_;
};
