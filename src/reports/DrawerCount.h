#pragma once
// The cash drawer count: what the day's sales and payments of every register
// say should be in the drawer, per payment type (optionally those of one
// cashier only), against the coins, bills and other media counted.

#include "reports/SaleScan.h"
#include "storage/records/OleDate.h"

#include <array>
#include <string>
#include <vector>

// The calculated side: one bucket per payment type of the header's list
// (without "terms", "deposit" and "split", each cut to 23 characters, at most
// 23), then "Unknown Type". Sums in double.
class DrawerTally : public SaleAccumulator, public PaymentAccumulator {
public:
    // day: the chosen day; cashier: empty for the whole store.
    DrawerTally(const std::string& paymentTypes, const CalendarTime& day, const std::string& cashier = {});

    void AddSale(const SaleView& sale) override;
    void AddPayment(const PaymentView& payment) override;

    const std::vector<std::string>& names() const { return names_; }
    const std::vector<double>& sums() const { return sums_; }
    // The bucket of the type named "Cash" (case ignored), else the first.
    std::size_t cashBucket() const { return cash_; }
    double cash() const { return sums_[cash_]; }
    double other() const;
    double total() const { return cash() + other(); }

private:
    void add(std::string_view type, float amount);

    std::vector<std::string> names_;
    std::vector<double> sums_;
    std::size_t cash_ = 0;
    int key_ = 0;
    std::string cashier_;
};

// The counted side, from the twelve count boxes in the window's order:
// pennies, nickels, dimes, quarters, halves, silver dollars, ones, fives, tens,
// twenties, fifties, hundreds.
struct DrawerCounts {
    std::array<double, 12> counts{};
    double drawerStart = 0;
    double actualOther = 0;

    // Reads a count box's text; text that is no number reads as 0.
    static double Read(const std::string& text);
    double Value(std::size_t box) const;  // the box's count at its face value
    double Coins() const;
    double Bills() const;
    double Cash() const { return Coins() + Bills(); }
    double ActualTotal() const { return Cash() + actualOther - drawerStart; }
};

// The printed count. valueTexts: the twelve value boxes' texts; coins, bills,
// cash the texts of their boxes.
std::string DrawerReportHeading(const CalendarTime& day);
std::string DrawerReportBody(const DrawerCounts& counted, const DrawerTally& calculated);
const std::vector<std::int16_t>& DrawerReportWidths();
const std::vector<std::uint16_t>& DrawerReportFormats();
// Amounts of the window and the printed count: "%9.2f".
std::string DrawerAmount(double v);
