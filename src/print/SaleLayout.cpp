#include "print/SaleLayout.h"

#include "print/ReportLayout.h"
#include "print/canvas/PrintCanvas.h"
#include "sale/SaleTotals.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

std::string withoutCr(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

int countLf(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// "%.2f", or "%.0f" with cents off.
std::string money(const SalesFileHeader& h, double v, const char* before = "", const char* after = "")
{
    return before + AmountText(h, v, true) + after;
}

std::string lineAmount(const SalesFileHeader& h, const InvoiceRecord& sale, std::size_t i)
{
    return AmountText(h, sale.extended[i], sale.taxStatus[i] > 0);
}

bool payTypeIs(const InvoiceRecord& sale, const char* name) { return EqualsIgnoreCase(sale.payType, name); }

using LabelledAmount = std::pair<std::string, std::string>;

// The tax rows, labelled with the tax label and rate: one for both taxes, or
// one for each when the store shows them separately.
std::vector<LabelledAmount> taxRows(const InvoiceRecord& sale, const SalesFileHeader& h, const char* labelFormat)
{
    const std::string label = TaxLabel(h);
    auto row = [&](double rate, double amount) {
        return LabelledAmount{strprintf(labelFormat, label.c_str(), rate), money(h, amount)};
    };
    if (h.showTaxesSeparately == 0)
        return {row(static_cast<double>(sale.taxRate1) + sale.taxRate2, static_cast<double>(sale.tax1) + sale.tax2)};
    return {row(sale.taxRate1, sale.tax1), row(sale.taxRate2, sale.tax2)};
}

// Short date of the sale time in the locale's form ("%x").
std::string shortDate(const InvoiceRecord& sale) { return FormatOleDate(sale.saleTime, "%x"); }

class FullPage {
public:
    FullPage(PrintCanvas& canvas, const InvoiceRecord& sale, const SalesFileHeader& header)
        : c_(canvas), sale_(sale), h_(header), s_(PageScale(canvas))
    {
    }

    PrintRect rect(double ox, double oy, double x0, double y0, double x1, double y1) const
    {
        return {(ox + x0) * s_, (oy + y0) * s_, (ox + x1) * s_, (oy + y1) * s_};
    }
    PrintRect shrunk(PrintRect r) const
    {
        const double d = 10 * s_;
        return {r.left + d, r.top + d, r.right - d, r.bottom - d};
    }
    void font(double height, int weight = 400) { c_.setFont({"Arial", height * s_, weight}); }

    // A cell whose text sits in the rectangle shrunk by 10 units.
    void cell(const PrintRect& r, unsigned flags, const std::string& text, bool framed)
    {
        if (framed)
            c_.frame(r);
        if (!text.empty())
            c_.text(shrunk(r), flags, withoutCr(text));
    }

    bool topBlock(const std::string& address)
    {
        double logoBottom = 0;
        bool logoFailed = false;
        if (!h_.logoPath.empty()) {
            double height = 0;
            if (c_.bitmap(h_.logoPath, 90 * s_, 90 * s_, height))
                logoBottom = height / s_;
            else
                logoFailed = true;
        }
        font(24);
        cell(rect(90, 90, 0, logoBottom, 250, 140), kPrintLeft | kPrintWordWrap, h_.companyName + "\n" + address,
             false);
        font(18);
        cell(rect(90, 90, 270, 0, 880, 140), kPrintCenter | kPrintWordWrap, h_.receiptHeader, false);
        cell(rect(90, 90, 300, 150, 550, 270), kPrintLeft | kPrintWordWrap, AddressBlock(sale_), true);
        cell(rect(90, 90, 550, 150, 800, 270), kPrintLeft | kPrintWordWrap, h_.optionalMessage, true);
        return logoFailed;
    }

    struct Info {
        const char* heading;
        int from, to;
        std::string value;
    };
    void infoRow(const std::vector<Info>& cells)
    {
        for (const Info& i : cells) {
            const PrintRect r = rect(90, 380, i.from, 0, i.to, 50);
            c_.frame(r);
            font(14, 800);
            c_.text(r, kPrintLeft, i.heading);
            font(18);
            c_.text(shrunk(r), kPrintLeft | kPrintVCenter, i.value);
        }
    }

    struct Column {
        const char* heading;
        int from, to;
        unsigned align;
    };
    // One framed row of the item table (row -1 is the heading row).
    void tableRow(const std::vector<Column>& columns, int row, const std::vector<std::string>& texts)
    {
        font(row < 0 ? 14 : 18, row < 0 ? 800 : 400);
        const double top = 30 * (row + 1);
        for (std::size_t k = 0; k < columns.size(); ++k) {
            const PrintRect r = rect(90, 430, columns[k].from, top, columns[k].to, top + 30);
            c_.frame(r);
            if (k < texts.size() && !texts[k].empty())
                c_.text(r, columns[k].align | kPrintVCenter, texts[k]);
        }
    }

    void bottomBlock(const std::string& paymentsText)
    {
        const double oy = 430 + 21 * 30;
        font(18);
        cell(rect(90, oy, 0, 0, 260, 150), kPrintLeft | kPrintWordWrap, h_.termsMessage, true);
        if (payTypeIs(sale_, "Split") || payTypeIs(sale_, "Deposit"))
            cell(rect(90, oy, 260, 0, 570, 150), kPrintLeft | kPrintWordWrap, paymentsText, true);
    }

    PrintCanvas& c_;
    const InvoiceRecord& sale_;
    const SalesFileHeader& h_;
    double s_;
};

}  // namespace

std::string LongDate(int year, int month, int day)
{
    using namespace std::chrono;
    const year_month_day ymd{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                             std::chrono::day(static_cast<unsigned>(day))};
    if (year == 0 || !ymd.ok())
        return {};
    static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    static const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
    const unsigned weekdayIndex = weekday(sys_days(ymd)).c_encoding();
    return strprintf("%s, %s %02d, %d", kDays[weekdayIndex], kMonths[month - 1], day, year);
}

SaleLayoutResult LayoutFullPage(PrintCanvas& canvas, const InvoiceRecord& sale, const SalesFileHeader& header,
                                SaleDocument document, const std::string& paymentsText)
{
    FullPage p(canvas, sale, header);
    SaleLayoutResult result;
    result.pages = 1;
    result.logoFailed = p.topBlock(header.companyAddress);

    const std::string date = shortDate(sale);
    const std::string record = strprintf("%u", static_cast<unsigned>(sale.recordNumber));
    const bool slip = document == SaleDocument::PackingSlip;
    if (slip) {
        p.infoRow({{" DATE", 0, 100, date},
                   {" RECORD#", 100, 200, record},
                   {" SALES PERSON", 200, 450, sale.salesperson},
                   {" CASHIER", 450, 700, sale.cashier}});
    } else {
        const bool quote = document == SaleDocument::Quote;
        p.infoRow({{" DATE", 0, 100, date},
                   {quote ? " QUOTE" : " PAYMENT", 100, 250, quote ? std::string("Quote") : sale.payType},
                   {" RECORD#", 250, 350, record},
                   {" SALES PERSON", 350, 575, sale.salesperson},
                   {" CASHIER", 575, 800, sale.cashier}});
    }

    const std::vector<FullPage::Column> columns =
        slip ? std::vector<FullPage::Column>{{" ITEM#", 0, 150, kPrintLeft},
                                             {" DESCRIPTION", 150, 570, kPrintLeft},
                                             {" QTY  ", 570, 650, kPrintRight}}
             : std::vector<FullPage::Column>{{" ITEM#", 0, 150, kPrintLeft},
                                             {" DESCRIPTION", 150, 490, kPrintLeft},
                                             {" QTY  ", 490, 570, kPrintRight},
                                             {"PRICE  ", 570, 680, kPrintRight},
                                             {"TOTAL  ", 680, 800, kPrintRight}};
    std::vector<std::string> headings;
    for (const auto& c : columns)
        headings.push_back(c.heading);
    p.tableRow(columns, -1, headings);
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i) {
        std::vector<std::string> row{sale.itemNumber[i], sale.description[i]};
        if (sale.qty[i] != 0) {
            row.push_back(money(header, sale.qty[i], " ", " "));
            if (!slip) {
                row.push_back(money(header, sale.price[i], "", " "));
                row.push_back(AmountText(header, sale.extended[i], sale.taxStatus[i] > 0) + " ");
            }
        }
        p.tableRow(columns, static_cast<int>(i), row);
    }

    if (!slip) {
        std::vector<LabelledAmount> totals;
        totals.emplace_back("Discount% ", strprintf("%.2f", sale.discountPercent));
        totals.emplace_back("Subtotal ", money(header, sale.subtotal()));
        for (const LabelledAmount& tax : taxRows(sale, header, "%s%% %.2f "))
            totals.push_back(tax);
        totals.emplace_back("Ship/Handing ", money(header, sale.handling));
        totals.emplace_back("Total ", money(header, sale.total));
        const std::vector<FullPage::Column> totalColumns{{"", 570, 680, kPrintRight}, {"", 680, 800, kPrintRight}};
        int row = static_cast<int>(InvoiceRecord::kLines);
        for (const auto& [text, amount] : totals)
            p.tableRow(totalColumns, row++, {text, amount + " "});
    }
    p.bottomBlock(paymentsText);
    return result;
}

namespace {

class Roll {
public:
    Roll(PrintCanvas& canvas, double fontHeight) : c_(canvas)
    {
        const double s = PageScale(canvas);
        left_ = 10 * s;
        right_ = 982 * s;
        c_.setFont({"Arial", fontHeight, 400});
        h_ = c_.lineHeight();
    }

    // Makes room for `height` below the top, on a new page when needed.
    void room(double height)
    {
        if (top_ > 0 && top_ + height > c_.page().bottom) {
            c_.newPage();
            ++pages_;
            top_ = 0;
        }
    }

    // A piece of text; the top moves down by its lines, or by its wrapped
    // height when word wrap makes it taller.
    void piece(const std::string& raw, unsigned flags = kPrintLeft | kPrintWordWrap)
    {
        const std::string text = withoutCr(raw);
        const double width = right_ - left_;
        const double height = std::max((countLf(text) + 1) * h_, c_.textHeight(text, width, flags));
        room(height);
        if (!text.empty())
            c_.text({left_, top_, right_, top_ + height}, flags, text);
        top_ += height;
    }

    // A label and its amount on one line.
    void pair(const std::string& label, const std::string& amount, int linesDown = 1)
    {
        room(h_);
        c_.text({left_, top_, right_, top_ + h_}, kPrintLeft, label);
        c_.text({left_, top_, right_, top_ + h_}, kPrintRight, amount);
        top_ += linesDown * h_;
    }

    int pages() const { return pages_; }

private:
    PrintCanvas& c_;
    double left_ = 0;
    double right_ = 0;
    double h_ = 0;
    double top_ = 0;
    int pages_ = 1;
};

}  // namespace

SaleLayoutResult LayoutRoll(PrintCanvas& canvas, const InvoiceRecord& sale, const SalesFileHeader& header)
{
    const SalesFileHeader& h = header;
    Roll roll(canvas, h.rollFontSize);
    const char* const twoPlaces = h.showCents ? "%.2f" : "%.0f";

    roll.piece(h.receiptHeader, kPrintCenter | kPrintWordWrap);
    roll.piece(h.companyName + "\n" + h.companyAddress + "\n");
    roll.piece(h.optionalMessage + "\n");
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i) {
        if (sale.lineIsEmpty(i))
            continue;
        if (!sale.description[i].empty())
            roll.piece(sale.description[i]);
        std::string detail = strprintf("  #%s,  %.1f @ ", sale.itemNumber[i].c_str(), sale.qty[i]) +
                             strprintf(twoPlaces, sale.price[i]);
        if (sale.markdownPercent[i] != 0)
            detail += strprintf(" - %.1f%%", sale.markdownPercent[i]);
        roll.pair(detail, lineAmount(h, sale, i));
    }
    roll.piece(" ");
    if (sale.discountPercent != 0)
        roll.pair("  Discount%", strprintf("%.2f", sale.discountPercent));
    roll.pair("  Subtotal", money(h, sale.subtotal()));
    for (const auto& [label, amount] : taxRows(sale, h, "  %s at %%%.2f"))
        roll.pair(label, amount);
    if (sale.handling != 0)
        roll.pair("  Ship/Handing", money(h, sale.handling));
    roll.pair("  Total", money(h, sale.total), 2);
    if (payTypeIs(sale, "cash"))
        roll.piece("Cash Paid " + strprintf(twoPlaces, sale.cashPaid) + ", Change " + strprintf(twoPlaces, sale.change));
    else
        roll.piece("Paid with " + sale.payType);
    roll.piece(LongDate(sale.year, sale.month, sale.day));
    if (!sale.salesperson.empty())
        roll.piece("Salesperson: " + sale.salesperson);
    if (!sale.cashier.empty())
        roll.piece("Cashier: " + sale.cashier);
    const std::string& customer = sale.address[InvoiceRecord::kName];
    if (!customer.empty() && !EqualsIgnoreCase(customer, "Retail"))
        roll.piece("Customer: " + customer);
    roll.piece(h.termsMessage);
    return {roll.pages(), false};
}
