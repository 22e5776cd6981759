#pragma once
// The printing buttons of a report window: "Print" (the print dialog),
// "Preview" and "Save PDF...", each laying the report out with the report printer.

#include "platform/PrintFrame.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct ReportText {
    std::string header, body;
    std::vector<std::int16_t> widths;
    std::vector<std::uint16_t> formats;
};

class ReportPrintWidget : public QWidget {
    Q_OBJECT
public:
    // report() is asked at each press; a report with nothing to print returns
    // false (and has told the user why).
    ReportPrintWidget(QWidget* parent, std::function<bool(ReportText&)> report);
    void Print(PrintOutput output);

private:
    std::function<bool(ReportText&)> report_;
};

class QDialog;
class QHBoxLayout;
// The foot of a report window: the printing buttons, "Copy Columns" (the text
// on the clipboard as tab-separated cells for a spreadsheet), then "OK" (the default
// button) on the right, which closes the window. `beside` (may be null) sits
// between them.
QHBoxLayout* ReportButtonRow(QDialog* dialog, std::function<bool(ReportText&)> report, QWidget* beside = nullptr);
