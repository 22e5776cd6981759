#pragma once
// Rental records for tests, and the rental file written with them.

#include "storage/files/RentalFile.h"
#include "storage/journal/Transaction.h"

#include <gtest/gtest.h>

inline RentalRecord rentalRecord(float qty, std::int32_t sale, std::uint16_t customer, const std::string& item = "SAW")
{
    RentalRecord r;
    r.quantity = qty;
    r.saleNumber = sale;
    r.customerNumber = customer;
    r.itemNumber = item;
    r.date = OleDate::fromCalendar(2026, 12, 1, 9, 0);
    return r;
}

// Appends the records to the rental file at `path`, creating it when missing.
inline void appendRentals(const std::string& path, const std::vector<RentalRecord>& records)
{
    Transaction tx;
    tx.add(path, OpenMode::OpenOrCreate);
    ASSERT_EQ(tx.begin(), FileCause::None);
    std::vector<RentalRecord> present;
    ASSERT_TRUE(ReadRentals(tx.file(path), present));
    for (const RentalRecord& r : records) {
        StageRentalAppend(tx, tx.file(path), present, r);
        present.push_back(r);
    }
    ASSERT_EQ(tx.commit(), FileCause::None);
}
