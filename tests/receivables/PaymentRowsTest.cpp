// The rows of List All Payments: the payments a pass listed, each read back
// from the file when drawn, whichever page of the file it lies on.

#include "receivables/PaymentActivity.h"
#include "storage/files/CLocalFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(PaymentRows, RowsReadBackInAnyOrderShowTheListedPayments)
{
    TempDir dir;
    const CLocalFile local(dir.path());
    constexpr int kPayments = 700;  // pages of 256 records: the rows span three
    PaymentFileHeader header;
    header.count = header.nextId = kPayments;
    std::vector<std::uint8_t> file(PaymentFileHeader::kSize + PaymentRecord::kSize * kPayments);
    header.encode(file.data());
    for (int i = 0; i < kPayments; ++i) {
        PaymentRecord p;
        p.kind = i % 4 == 3 ? PaymentRecord::kSplitPart : PaymentRecord::kOnAccount;
        p.invoiceNumber = i % 5;
        p.paymentId = 1000 + i;
        p.encode(file.data() + PaymentOffset(i));
    }
    writeBytes(local.GetPath("Payments"), file);

    for (const int sale : {-1, 3}) {
        std::vector<std::string> want;
        for (int i = 0; i < kPayments; ++i)
            if (i % 4 != 3 && (sale < 0 || i % 5 == sale))
                want.push_back(std::to_string(1000 + i));
        PaymentRows rows;
        ASSERT_TRUE(rows.list(local, sale));
        ASSERT_EQ(rows.size(), want.size());
        // Last row first, then from the top, then every row backwards: pages come and go.
        std::vector<std::size_t> order{want.size() - 1};
        for (std::size_t r = 0; r < want.size(); ++r)
            order.push_back(r);
        for (std::size_t r = want.size(); r-- > 0;)
            order.push_back(r);
        for (const std::size_t r : order)
            ASSERT_EQ(rows.cell(r, 7), want[r]) << "sale " << sale << " row " << r;
        EXPECT_EQ(rows.cell(0, 0), sale < 0 ? "0" : "3");
    }
    PaymentRows none;
    EXPECT_TRUE(none.list(CLocalFile(dir.path() + "empty/"), -1));
    EXPECT_EQ(none.size(), 0u);
}
