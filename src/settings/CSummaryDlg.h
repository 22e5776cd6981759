#pragma once
// The "Summary" window: a heading and a tab-separated body shown as plain,
// selectable text that can be copied into a spreadsheet or word processor,
// previewed, printed or saved as PDF.

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

class CSummaryDlg : public QDialog {
    Q_OBJECT
public:
    CSummaryDlg(const std::string& heading, const std::string& body, QWidget* parent = nullptr);

    const std::string& heading() const { return heading_; }
    const std::string& body() const { return body_; }

private:
    std::string heading_;
    std::string body_;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* chart_ = nullptr;  // greyed until the sales graphs are built
};
