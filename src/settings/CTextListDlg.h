#pragma once
// The "Payment Types", "Catagories" and "Departments" windows: one box holding
// a text list of the header, one entry per line.

#include "settings/SetupLists.h"

#include <QDialog>

class CLocalFile;
class QPlainTextEdit;
struct SalesFileHeader;

class CTextListDlg : public QDialog {
    Q_OBJECT
public:
    CTextListDlg(const CLocalFile& local, SalesFileHeader& header, const TextListKind& kind, QWidget* parent = nullptr);

    // The whole command: the list read fresh from the header file, then the
    // window. True when a list was stored.
    static bool Run(QWidget* parent, const CLocalFile& local, SalesFileHeader& header, const TextListKind& kind);

    // OK: a list that breaks a rule is refused and the window stays open.
    void accept() override;

private:
    const CLocalFile& local_;
    SalesFileHeader& header_;
    const TextListKind& kind_;
    QPlainTextEdit* text_ = nullptr;
};
