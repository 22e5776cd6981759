#include "reports/CWideSummaryDlg.h"

#include "platform/RecordText.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CWideSummaryDlg::CWideSummaryDlg(const ReportText& report, QWidget* parent) : QDialog(parent), report_(report)
{
    setObjectName("CWideSummaryDlg");
    setWindowTitle("Summary");
    resize(900, 560);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QPlainTextEdit(this);
    text->setObjectName("summary_text");
    text->setReadOnly(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QString shown = RecordText::toQt(report_.header + report_.body);
    shown.replace("\r\n", "\n");
    text->setPlainText(shown);
    layout->addWidget(text);
    auto* note = new QLabel("Tab delimited fields. Can be Copied & Pasted to a spread sheet or word processor.", this);
    note->setObjectName("summary_note");
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addLayout(ReportButtonRow(this, [this](ReportText& r) {
        r = report_;
        return true;
    }));
}
