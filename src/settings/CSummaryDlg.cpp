#include "platform/RecordText.h"
#include "settings/CSummaryDlg.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Texts are kept with CR LF line ends; the edit box wants plain LF.
QString displayText(const std::string& text)
{
    QString s = RecordText::toQt(text);
    s.replace("\r\n", "\n");
    return s;
}
}  // namespace

CSummaryDlg::CSummaryDlg(const std::string& heading, const std::string& body, QWidget* parent)
    : QDialog(parent), heading_(heading), body_(body)
{
    setObjectName("CSummaryDlg");
    setWindowTitle("Summary");
    resize(760, 520);
    auto* layout = new QVBoxLayout(this);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName("summary_text");
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    text_->setFont(fixed);
    // Fixed pitch and tab stops every eight characters keep the padded columns in line.
    text_->setTabStopDistance(QFontMetricsF(fixed).horizontalAdvance(QLatin1Char(' ')) * 8);
    text_->setPlainText(displayText(heading_ + body_));
    layout->addWidget(text_);

    auto* note = new QLabel("Tab delimited fields. Can be Copied and Pasted to a spread sheet or word processor.", this);
    note->setObjectName("summary_note");
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* buttons = new QHBoxLayout;
    print_ = new QPushButton("&Print", this);
    print_->setObjectName("print");
    print_->setEnabled(false);
    print_->setAutoDefault(false);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ok");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addStretch();
    buttons->addWidget(print_);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    ok->setFocus();
}
