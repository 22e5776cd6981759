#include "print/ReportLayout.h"

#include "print/canvas/PrintCanvas.h"
#include "storage/records/TextFormat.h"

#include <algorithm>

double PageScale(const PrintCanvas& canvas) { return canvas.page().width() / kPageUnits; }

namespace {

// Lines ended by LF, CR removed; text after the last LF is dropped.
std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    return lines;
}

std::vector<std::string> splitCells(const std::string& line)
{
    std::vector<std::string> cells(1);
    for (char c : line) {
        if (c == '\t')
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

unsigned alignment(std::uint16_t format)
{
    return format == 1 ? kPrintCenter : format == 2 ? kPrintRight : kPrintLeft;
}

class ReportPages {
public:
    ReportPages(PrintCanvas& canvas, const std::vector<std::int16_t>& widths, const std::vector<std::uint16_t>& formats)
        : canvas_(canvas), widths_(widths), formats_(formats), s_(PageScale(canvas))
    {
        canvas_.setFont({"Courier", 18 * s_, 400});
        h_ = canvas_.lineHeight();
        const PrintRect page = canvas_.page();
        top_ = page.top + 4 * h_;
        bodyBottom_ = page.bottom - 3 * h_;
        numberTop_ = page.bottom - 2 * h_;
    }

    int run(const std::vector<std::string>& header, const std::vector<std::string>& body)
    {
        std::size_t next = 0;
        int pageNumber = 0;
        do {
            if (pageNumber > 0)
                canvas_.newPage();
            ++pageNumber;
            double y = top_;
            for (std::size_t i = 0; i < header.size(); ++i, y += h_)
                drawLine(header[i], y, i == 0);
            std::size_t onPage = 0;
            while (next < body.size() && (onPage == 0 || y + h_ <= bodyBottom_)) {
                drawLine(body[next++], y, false);
                y += h_;
                ++onPage;
            }
            canvas_.text({75 * s_, numberTop_, 900 * s_, numberTop_ + h_}, kPrintLeft, strprintf("Page %u", pageNumber));
        } while (next < body.size());
        return pageNumber;
    }

private:
    void drawLine(const std::string& line, double y, bool spanFirst)
    {
        const std::vector<std::string> cells = splitCells(line);
        double left = 75 * s_;
        const std::size_t count = std::min(cells.size(), widths_.size());
        for (std::size_t k = 0; k < count; ++k) {
            const double right = (k == 0 && spanFirst) ? 900 * s_ : left + widths_[k] * s_;
            const std::uint16_t format = k < formats_.size() ? formats_[k] : 0;
            if (!cells[k].empty())
                canvas_.text({left, y, right, y + h_}, alignment(format), cells[k]);
            left = right + 10 * s_;
        }
    }

    PrintCanvas& canvas_;
    const std::vector<std::int16_t>& widths_;
    const std::vector<std::uint16_t>& formats_;
    double s_;
    double h_ = 0;
    double top_ = 0;
    double bodyBottom_ = 0;
    double numberTop_ = 0;
};

}  // namespace

int LayoutReport(PrintCanvas& canvas, const std::string& header, const std::string& body,
                 const std::vector<std::int16_t>& widths, const std::vector<std::uint16_t>& formats)
{
    ReportPages pages(canvas, widths, formats);
    return pages.run(splitLines(header), splitLines(body));
}

int LayoutProductListing(PrintCanvas& canvas, const std::vector<ListingRow>& rows, bool withCostAndPrice,
                         const std::string& dateText)
{
    struct Column {
        const char* heading;
        int from, to;
        unsigned align;
        int listColumn;  // -1: heading only
        bool costAndPrice;
    };
    static const Column kColumns[] = {
        {"Item#", 100, 220, kPrintLeft, 0, false},      {"Description", 230, 450, kPrintLeft, 1, false},
        {"Qty", 460, 580, kPrintRight, 9, false},       {"Cost", 590, 660, kPrintRight, 2, true},
        {"%x", 670, 710, kPrintRight, -1, true},        {"Price", 720, 780, kPrintRight, 3, true},
        {"Vendor", 790, 900, kPrintLeft, 11, false},
    };

    const double s = PageScale(canvas);
    canvas.setFont({"Arial", 14 * s, 400});
    const double h = canvas.lineHeight();
    const PrintRect page = canvas.page();
    const double bodyBottom = page.bottom - 2 * h;

    std::size_t next = 0;
    int pageNumber = 0;
    do {
        if (pageNumber > 0)
            canvas.newPage();
        ++pageNumber;
        double y = page.top + 2 * h;
        const std::string title = "Product Listing\n" + dateText + strprintf("\nPage %u", pageNumber);
        const int titleLines = static_cast<int>(std::count(title.begin(), title.end(), '\n')) + 1;
        canvas.text({100 * s, y, 900 * s, y + titleLines * h}, kPrintCenter, title);
        y += (titleLines - 1 + 2) * h;
        for (const Column& c : kColumns)
            if (withCostAndPrice || !c.costAndPrice)
                canvas.text({c.from * s, y, c.to * s, y + h}, c.align, c.heading);
        canvas.line(100 * s, y + h + 5 * s, 900 * s, y + h + 5 * s);
        y += h + 10 * s;
        std::size_t onPage = 0;
        while (next < rows.size() && (onPage == 0 || y + h <= bodyBottom)) {
            const ListingRow& row = rows[next++];
            for (const Column& c : kColumns) {
                if ((withCostAndPrice || !c.costAndPrice) && c.listColumn >= 0 &&
                    static_cast<std::size_t>(c.listColumn) < row.size())
                    canvas.text({c.from * s, y, c.to * s, y + h}, c.align, row[c.listColumn]);
            }
            y += h;
            ++onPage;
        }
    } while (next < rows.size());
    return pageNumber;
}
