#pragma once
// The "Cashier Names" window (Settings, Cashiers) and the "Sales Personnel"
// window (Settings, Sales Personnel): the names of the cashier or salesperson
// file, each cashier with an optional password.

#include "settings/SetupLists.h"

#include <QDialog>

class CLocalFile;
class QLineEdit;
class QTreeWidget;

class CPeopleDlg : public QDialog {
    Q_OBJECT
public:
    CPeopleDlg(const CLocalFile& local, PeopleKind kind, QWidget* parent = nullptr);

    // The whole command: cashiers behind the security gate, then the window.
    static void Run(QWidget* parent, const CLocalFile& local, PeopleKind kind);

private:
    void FillList();
    void OnChoose(bool chosen, const QString& name, const QString& password);
    // False when the user let the save fail; the choice then stays.
    bool OnSave();
    void OnNew();
    void OnDelete();
    // "Save changes first?" when something was typed; Yes saves.
    void AskToSave();
    bool cashiers() const { return kind_ == PeopleKind::Cashiers; }

    const CLocalFile& local_;
    PeopleKind kind_;
    std::string original_;  // name of the chosen entry; empty: a new one
    bool modified_ = false;
    bool filling_ = false;

    QTreeWidget* list_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* password_ = nullptr;
};
