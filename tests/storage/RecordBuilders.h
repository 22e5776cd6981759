#pragma once
// Small records for tests that only need them told apart.

#include "CustomerRecord.h"
#include "ProductRecord.h"
#include "VendorRecord.h"

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
