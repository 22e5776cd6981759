// The pass over the sales while another register keeps appending and
// rewriting sales: that register is never kept out for the whole pass, and the
// pass sees every record whole and exactly the records counted when it began.

#include "reports/SaleScan.h"
#include "storage/files/ChunkedScan.h"
#include "storage/records/ByteCodec.h"
#include "support/DataFolder.h"
#include "support/SaleDesk.h"
#include "support/StoredRecords.h"

#include <poll.h>

namespace {

// A sale that shows whether it was read whole: its total, its handling and
// its cashier name all say the same number.
InvoiceRecord markedSale(int n, int mark)
{
    InvoiceRecord r = ClearedInvoice();
    r.recordNumber = n;
    r.total = r.handling = static_cast<float>(mark);
    r.cashier = "R" + std::to_string(mark);
    r.payType = "Cash";
    DateRecord(r, kDeskNow);
    return r;
}

// Writes `count` marked sales in one go, as a register that has sold them would have.
void writeSales(const std::string& path, int count)
{
    std::vector<std::uint8_t> bytes(4 + static_cast<std::size_t>(count) * InvoiceRecord::kSize);
    codec::putI32(bytes.data(), 0, count);
    for (int n = 0; n < count; ++n)
        markedSale(n, n).encode(bytes.data() + 4 + static_cast<std::size_t>(n) * InvoiceRecord::kSize);
    ASSERT_EQ(DataFile::createWhole(path, bytes.data(), bytes.size()), FileCause::None);
}

bool readByte(int fd)
{
    pollfd p{fd, POLLIN, 0};
    char c = 0;
    // The bound only keeps a broken pass from hanging the run: an append that
    // is let in takes milliseconds.
    return poll(&p, 1, 60000) == 1 && read(fd, &c, 1) == 1 && c == 'a';
}

using SaleScanWhileSelling = DataFolder;

TEST_F(SaleScanWhileSelling, AnotherRegisterAppendsAndRewritesBetweenBlocksAndEveryRecordIsWhole)
{
    const long long perBlock = static_cast<long long>(kHoldBytes / InvoiceRecord::kSize);
    const int kSales = static_cast<int>(perBlock * 6);  // six whole blocks
    writeSales(local.GetPath("Invoices"), kSales);
    int go[2];
    ASSERT_EQ(pipe(go), 0);

    // The other register: for each byte from the pass, rewrites a sale the pass
    // has not reached yet, appends a sale, and answers.
    ChildProcess other([&](int done) {
        close(go[1]);
        const CLocalFile mine(dir.path());
        char c;
        for (int k = 1; read(go[0], &c, 1) == 1; ++k) {
            const int ahead = static_cast<int>(perBlock * k + perBlock / 2);
            InvoiceRecord rewritten = markedSale(ahead, 100000 + ahead);
            int count = 0;
            InvoiceRecord appended = markedSale(0, 500000 + k);
            if (UpdateInvoice(mine, rewritten) != ahead || AppendInvoice(mine, appended, count, kDeskNow) < 0)
                _exit(1);
            if (write(done, "a", 1) != 1)
                _exit(2);
        }
        _exit(0);
    });
    close(go[0]);

    struct Check : SaleAccumulator {
        long long visited = 0, torn = 0, rewritten = 0;
        void AddSale(const SaleView& s) override
        {
            ++visited;
            const int mark = static_cast<int>(s.total());
            if (s.handling() != s.total() || s.cashier() != "R" + std::to_string(mark) || s.position() != s.recordNumber())
                ++torn;
            if (mark >= 100000 && mark < 500000)
                ++rewritten;
        }
    } check;
    int appended = 0;
    const ScanOutcome out = ScanSales(local, check, [&](long long done, long long total) {
        EXPECT_EQ(total, kSales);
        if (done < total) {
            EXPECT_EQ(write(go[1], "g", 1), 1);
            EXPECT_TRUE(readByte(other.fd)) << "the other register was kept waiting after " << done << " sales";
            ++appended;
        }
        return true;
    });
    close(go[1]);
    EXPECT_EQ(other.wait(), 0);
    EXPECT_EQ(out, ScanOutcome::Done);
    EXPECT_EQ((std::tuple{check.visited, check.torn}), (std::tuple{static_cast<long long>(kSales), 0LL}));
    EXPECT_EQ(check.rewritten, appended);  // every rewrite ahead of the pass was seen
    EXPECT_EQ(storedSales(local), kSales + appended);

    // A pass stopped by its progress callback says so.
    long long calls = 0;
    EXPECT_EQ(ScanSales(local, check, [&](long long, long long) { return ++calls < 2; }), ScanOutcome::Cancelled);
    EXPECT_EQ(calls, 2);
}

}  // namespace
