#include "platform/RecordText.h"
#include "reports/ReportPrintWidget.h"
#include "reports/graphs/CPieChartDlg.h"
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

    chart_ = new QPushButton("Chart", this);
    chart_->setObjectName("chart");
    chart_->setEnabled(false);
    chart_->setToolTip("This summary has nothing to chart.");
    chart_->setAutoDefault(false);
    connect(chart_, &QPushButton::clicked, this, [this] { CPieChartDlg(chart_data_, body_, this).exec(); });
    layout->addLayout(ReportButtonRow(
        this,
        [this](ReportText& r) {
            r = {heading_, body_, {150, 100, 100, 100, 100, 100, 100, 100}, {0, 2, 2, 2, 2, 2, 2, 2}};
            return true;
        },
        chart_));
}

void CSummaryDlg::setChart(const ChartData& chart)
{
    chart_data_ = chart;
    chart_->setEnabled(!chart.slices.empty());
    chart_->setToolTip(chart.slices.empty() ? "This summary has nothing to chart." : "");
}
