#pragma once
// Lays documents out on the recording device and looks at what was drawn, in
// the 992-unit page coordinates.

#include "platform/RecordingDevice.h"
#include "print/ReportLayout.h"
#include "support/TempDir.h"

#include <QPageSize>
#include <QSizeF>
#include <gtest/gtest.h>

#include <string>
#include <vector>

struct Drawn {
    int page;
    double left, top, right, bottom;  // page units
    unsigned flags;
    std::string text;
    std::string family;
    int weight;
};

class RecordedPrint {
public:
    // A4 at 600 dpi by default; a roll is 72 mm wide at 203 dpi.
    explicit RecordedPrint(const QPageSize& size = QPageSize(QPageSize::A4), int dpi = 600)
        : device_(QString::fromStdString(dir_.file("print.pdf")), size, dpi)
    {
    }
    static QPageSize roll(double lengthMm) { return QPageSize(QSizeF(72, lengthMm), QPageSize::Millimeter); }

    PrintCanvas& canvas() { return device_.canvas(); }
    double scale() { return PageScale(device_.canvas()); }
    double pageHeight() { return device_.canvas().page().bottom / scale(); }
    int pages() const { return device_.pages(); }

    std::vector<Drawn> texts()
    {
        const double s = scale();
        std::vector<Drawn> out;
        for (const PrintedText& t : device_.texts())
            out.push_back({t.page, t.rect.left() / s, t.rect.top() / s, t.rect.right() / s, t.rect.bottom() / s,
                           t.flags, t.text.toStdString(), t.family.toStdString(), t.weight});
        return out;
    }
    // Every drawn text equal to `text`.
    std::vector<Drawn> all(const std::string& text)
    {
        std::vector<Drawn> found = texts();
        std::erase_if(found, [&text](const Drawn& d) { return d.text != text; });
        return found;
    }
    // The one drawn text equal to `text`; fails the test when there is not exactly one.
    Drawn one(const std::string& text)
    {
        const std::vector<Drawn> found = all(text);
        EXPECT_EQ(found.size(), 1u) << '"' << text << '"';
        return found.empty() ? Drawn{} : found.front();
    }
    bool has(const std::string& text) { return !all(text).empty(); }

private:
    TempDir dir_;
    RecordingDevice device_;
};
