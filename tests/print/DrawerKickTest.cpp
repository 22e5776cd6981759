#include "CLocalFile.h"
#include "DrawerKick.h"
#include "SaleDocuments.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(DrawerKick, BytesForEachMethodAndCommand)
{
    struct Case {
        int method;
        const char* command;
        Bytes bytes;
    } const cases[] = {
        {0, "1B700019FA", {}},
        {1, "", {0x1B, 0x70, 0x00, 0x19, 0xFA}},
        {1, "ignored", {0x1B, 0x70, 0x00, 0x19, 0xFA}},
        {2, "1B700019FA", {0x1B, 0x70, 0x00, 0x19, 0xFA}},
        {2, "1b 70 01 32", {0x1B, 0x70, 0x01, 0x32}},
        {2, "07", {0x07}},
        {2, "1B7", {'1', 'B', '7'}},        // odd count: sent as typed
        {2, "OPEN", {'O', 'P', 'E', 'N'}},  // not hexadecimal: sent as typed
        {2, "", {}},
        {3, "1B", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DrawerKickBytes(c.method, c.command), c.bytes) << c.method << " " << c.command;
}

TEST(DrawerKick, AfterSaleDocumentsFollowTheRegisterCounts)
{
    using D = SaleDocument;
    struct Case {
        int receipts, slips;
        std::vector<D> documents;
    } const cases[] = {
        {0, 0, {}},
        {2, 1, {D::Receipt, D::Receipt, D::PackingSlip}},
        {0, 3, {D::PackingSlip, D::PackingSlip, D::PackingSlip}},
        {9, 9, {D::Receipt, D::Receipt, D::PackingSlip, D::PackingSlip, D::PackingSlip}},  // damaged record
    };
    for (const Case& c : cases) {
        CLocalFile local("/tmp/");
        local.receiptsToPrint = static_cast<std::uint8_t>(c.receipts);
        local.packingSlips = static_cast<std::uint8_t>(c.slips);
        EXPECT_EQ(AfterSaleDocuments(local), c.documents) << c.receipts << " " << c.slips;
    }
}

}  // namespace
