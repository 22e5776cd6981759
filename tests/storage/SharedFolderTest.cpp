// Registers on different PCs sharing one data folder: REGISTER_TORTURE_DIRS
// names it through one mount per PC; without it a local folder stands for all.
#include "InvoiceTestSupport.h"
#include "receivables/PaidRule.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/io/ShareCheck.h"
#include "support/KilledRegisters.h"
#include "support/TempDir.h"

#include <set>

// Registers appending sales at once, each reporting what was acknowledged: the
// file's bytes must hold exactly those sales, each whole, once, at its own
// number. A reported failure fails too unless REGISTER_SHARE_FAILURES_OK=1.
TEST(SharedFolder, RegistersOnTwoPcsAppendingAtOnceLoseNoSale)
{
    TempDir fallback;
    const auto dirs = sharedDataFolders(fallback.path());
    constexpr int kRegisters = 4, kEach = 50;
    const CalendarTime now = at(2006, 4, 1, 12, 0, 0);
    int created = 0;
    ASSERT_EQ(ReadInvoiceCount(CLocalFile(dirs[0]), created), FileCause::None);  // makes the empty file
    TempDir logs;  // each register's acknowledged serials
    EXPECT_TRUE(raceChildren(kRegisters, [&](int w) {
        CLocalFile mine(dirs[static_cast<std::size_t>(w) % dirs.size()]);
        std::ofstream log(logs.file(std::to_string(w)));
        int count = 0;
        for (int s = 0; s < kEach; ++s) {
            InvoiceRecord r = patternSale(w, s);
            if (AppendInvoice(mine, r, count, now) >= 0)
                log << s << std::endl;
        }
        return log.good();
    }));
    std::set<std::pair<int, int>> acknowledged;
    for (int w = 0; w < kRegisters; ++w) {
        std::ifstream log(logs.file(std::to_string(w)));
        int mine = 0;
        for (int s; log >> s; ++mine)
            acknowledged.insert({w, s});
        EXPECT_GT(mine, 0) << "register " << w << " got no sale through";
    }
    const std::size_t failed = kRegisters * kEach - acknowledged.size();
    const char* failuresOk = std::getenv("REGISTER_SHARE_FAILURES_OK");
    EXPECT_TRUE(failed == 0 || (failuresOk && std::string(failuresOk) == "1")) << failed << " appends reported as failed";

    const auto bytes = readBytes(CLocalFile(dirs[0]).GetPath("Invoices"));
    ASSERT_GE(bytes.size(), 4u);
    const long long count = rawbytes::i32(bytes, 0);
    EXPECT_EQ(static_cast<long long>(bytes.size()), 4 + count * static_cast<long long>(InvoiceRecord::kSize));
    std::set<std::pair<int, int>> stored;
    for (long long n = 0; n < count && 4 + (n + 1) * InvoiceRecord::kSize <= bytes.size(); ++n) {
        const std::size_t rec = 4 + static_cast<std::size_t>(n) * InvoiceRecord::kSize;
        auto field = [&](std::size_t offset) { return rawbytes::text(bytes, rec + offset, 24); };
        int writer = -1, serial = -1;
        ASSERT_EQ(std::sscanf(field(InvoiceRecord::kCashierOff).c_str(), "writer %d", &writer), 1) << n;
        ASSERT_EQ(std::sscanf(field(InvoiceRecord::kSalespersonOff).c_str(), "serial %d", &serial), 1) << n;
        EXPECT_EQ(rawbytes::i32(bytes, rec + InvoiceRecord::kRecordNumberOff), n);
        EXPECT_EQ(field(InvoiceRecord::kItemNumberOff), "W" + std::to_string(writer) + "-" + std::to_string(serial) + "-0");
        EXPECT_TRUE(stored.insert({writer, serial}).second) << "sale stored twice: " << writer << "/" << serial;
    }
    EXPECT_EQ(stored, acknowledged) << acknowledged.size() << " acknowledged, " << failed << " failed, stored count "
                                    << count << ", " << stored.size() << " distinct sales stored";
}

// Over real mounts, REGISTER_SHARE_UNSAFE (1 or 0) says what the check must find.
TEST(SharedFolder, CheckNamesARealUnsafeMount)
{
    const char* expected = std::getenv("REGISTER_SHARE_UNSAFE");
    if (!expected || !std::getenv("REGISTER_TORTURE_DIRS"))
        GTEST_SKIP() << "needs REGISTER_TORTURE_DIRS and REGISTER_SHARE_UNSAFE";
    TempDir unused;
    for (const auto& dir : sharedDataFolders(unused.path())) {
        const ShareVerdict v = CheckShare(dir);
        EXPECT_EQ(v.unsafe, std::string(expected) == "1") << dir << " " << v.fsType << " at " << v.mountPoint;
    }
}
