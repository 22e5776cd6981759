#pragma once
// "Edit Customer Labels" and "Edit Vendor Labels": sixteen boxes for the field
// labels of a contact file, in label order.

#include <QDialog>

#include <array>
#include <string>

class QLineEdit;

class CLabelsDlg : public QDialog {
    Q_OBJECT
public:
    using Labels = std::array<std::string, 16>;
    CLabelsDlg(const QString& title, const Labels& labels, QWidget* parent = nullptr);
    // The boxes, each cut to the 13 characters a label holds.
    Labels labels() const;
    // Shows the labels; after OK, true with the new ones.
    static bool Edit(QWidget* parent, const QString& title, Labels& labels);

private:
    std::array<QLineEdit*, 16> boxes_{};
};
