#pragma once
// The printed purchase order: the text and columns the report printer takes.

#include <cstdint>
#include <string>
#include <vector>

struct PurchaseOrderRecord;
struct SalesFileHeader;
struct VendorRecord;

struct PurchaseOrderReport {
    std::string header;
    std::string body;
    std::vector<std::int16_t> widths;
    std::vector<std::uint16_t> formats;
};

// The store's block (name, address, phones, contact), the vendor's block when
// the vendor is known (`vendor` may be null), the PO number, one line per order
// line and the four totals.
PurchaseOrderReport BuildPurchaseOrderReport(const PurchaseOrderRecord& order, const SalesFileHeader& store,
                                             const VendorRecord* vendor);
