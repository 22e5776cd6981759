#pragma once
// Sales and customers stored the way a register stores them, for tests that
// need a file set with records in it.

#include "receivables/PaidRule.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ProductFile.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

// A sale to store, built by naming what differs: SaleSpec().item("A").total(5).
struct SaleSpec {
    std::string item_;  // one line of this item, when given
    float total_ = 0;
    std::string cashier_;
    std::string payType_ = "Cash";
    std::uint8_t paid_ = 0;
    float qty_ = 1;
    std::uint8_t level_ = 0;
    CalendarTime when_{2026, 11, 20, 9, 15, 0, 5, 323};

    SaleSpec& item(std::string v) { return item_ = std::move(v), *this; }
    SaleSpec& total(float v) { return total_ = v, *this; }
    SaleSpec& cashier(std::string v) { return cashier_ = std::move(v), *this; }
    SaleSpec& payType(std::string v) { return payType_ = std::move(v), *this; }
    SaleSpec& paid(std::uint8_t v) { return paid_ = v, *this; }
    SaleSpec& qty(float v) { return qty_ = v, *this; }
    SaleSpec& level(std::uint8_t v) { return level_ = v, *this; }
    SaleSpec& when(const CalendarTime& v) { return when_ = v, *this; }
};

// Appends the sale as finishing does; returns its record number (-1 when not stored).
inline int storeSale(const CLocalFile& local, const SaleSpec& s)
{
    InvoiceRecord sale = ClearedInvoice();
    if (!s.item_.empty()) {
        sale.itemNumber[0] = s.item_;
        sale.qty[0] = s.qty_;
        sale.price[0] = s.total_ / s.qty_;
        sale.extended[0] = s.total_;
        sale.taxStatus[0] = 1;
        sale.taxableSubtotal = s.total_;
    }
    sale.total = s.total_;
    sale.cashier = s.cashier_;
    sale.payType = s.payType_;
    sale.paid = s.paid_;
    sale.priceLevel = s.level_;
    int count = 0;
    EXPECT_EQ(ReadInvoiceCount(local, count), 0);  // creates the file on the first sale
    const int n = AppendInvoice(local, sale, count, s.when_);
    EXPECT_GE(n, 0);
    return n;
}

// Stored sale n with its lines.
inline InvoiceRecord storedSale(const CLocalFile& local, int n)
{
    InvoiceRecord r;
    EXPECT_TRUE(ReadInvoice(local, n, r)) << n;
    return r;
}

inline void storeCustomer(const CLocalFile& local, const std::string& name, const std::string& city,
                          std::uint8_t level, const std::string& taxZone)
{
    CustomerRecord c;
    std::tie(c.text[CustomerRecord::kName], c.text[CustomerRecord::kCity], c.priceLevel, c.taxZone) =
        std::tuple{name, city, level, taxZone};
    EXPECT_NE(SaveCustomerByName(local, c), CustomerSave::NotSaved);
}

// The stock of the product with this item number, as stored.
inline float storedStock(const CLocalFile& local, const std::string& item)
{
    ProductRecord r;
    EXPECT_TRUE(LookupForSale(local, item, r)) << item;
    return r.stock;
}

inline int storedSales(const CLocalFile& local)
{
    int n = -1;
    EXPECT_EQ(ReadInvoiceCount(local, n), 0);
    return n;
}
