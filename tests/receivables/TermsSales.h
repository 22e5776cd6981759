#pragma once
// A sale on terms of 2/10 NET 30: one line of 100.00, taxed at the rate given.

#include "receivables/PaidRule.h"
#include "sale/SaleTotals.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"

#include <gtest/gtest.h>

// Stores the terms and the sale; returns the sale's record number.
inline int storeTermsSale(const CLocalFile& local, float taxRate, TermsRecord& terms)
{
    terms.discountPercent = 2;
    terms.discountDays = 10;
    terms.netDays = 30;
    EXPECT_EQ(AppendTerms(local, terms), 0);
    InvoiceRecord sale = ClearedInvoice();
    sale.payType = "Terms";
    sale.termsIndex = terms.id;
    sale.itemNumber[0] = "A";
    sale.qty[0] = 1;
    sale.price[0] = 100;
    sale.taxStatus[0] = taxRate > 0 ? 1 : 0;
    sale.taxRate1 = taxRate;
    RecalculateTotals(sale, SalesFileHeader{});
    int count = 0;
    ReadInvoiceCount(local, count);
    return AppendInvoice(local, sale, count, {2026, 12, 1, 9, 0, 0, 2, 334});
}
