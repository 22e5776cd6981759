#pragma once
// The "Terms" window (Settings, Terms): the payment terms file. New terms are
// appended; existing ones are never changed in place.

#include <QDialog>

#include <cstdint>

class CLocalFile;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

class CTermsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTermsDlg(const CLocalFile& local, QWidget* parent = nullptr);

private:
    void FillList();
    void OnChoose(QTreeWidgetItem* item);
    void OnSave();
    void OnDelete();

    const CLocalFile& local_;
    int chosenId_ = -1;  // none chosen
    QTreeWidget* list_ = nullptr;
    QLineEdit* percent_ = nullptr;
    QLineEdit* discountDays_ = nullptr;
    QLineEdit* netDays_ = nullptr;
};
