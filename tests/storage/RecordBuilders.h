#pragma once
// Small records for tests that only need them told apart, and a look at the
// journal.

#include "storage/records/CustomerRecord.h"
#include "storage/records/ProductRecord.h"
#include "storage/records/VendorRecord.h"
#include "support/TempDir.h"

#include <string>

inline CustomerRecord customerNamed(const std::string& name)
{
    CustomerRecord c;
    c.text[CustomerRecord::kName] = name;
    return c;
}

inline VendorRecord vendorNamed(const std::string& company)
{
    VendorRecord v;
    v.text[VendorRecord::kCompany] = company;
    return v;
}

inline ProductRecord productWithStock(const std::string& item, float stock)
{
    ProductRecord p;
    p.itemNumber = item;
    p.description = "product " + item;
    p.stock = stock;
    return p;
}

// True when the file set's journal starts with the mark of a change not yet
// committed or rolled back.
inline bool journalHoldsAChange(const std::string& folder)
{
    const auto bytes = readBytes(folder + "Retail-Jrnl.pdb");
    return bytes.size() >= 4 && std::string(bytes.begin(), bytes.begin() + 4) == "RJ01";
}
