#include "CLocalFile.h"
#include "DataFile.h"
#include "ProductFile.h"
#include "ProductFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A file of `n` filler products with the named ones at the given positions.
std::vector<ProductRecord> stockFile(std::size_t n, const std::vector<std::pair<std::size_t, ProductRecord>>& named)
{
    std::vector<ProductRecord> records;
    for (std::size_t i = 0; i < n; ++i)
        records.push_back(makeProduct("F" + std::to_string(i), 1));
    for (const auto& [at, r] : named)
        records[at] = r;
    return records;
}

// Every byte but the stock fields is as before; each stock is its old or its new value.
::testing::AssertionResult wholeRecords(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after,
                                        const std::vector<ProductRecord>& wanted, bool mustBeNew)
{
    if (after.size() != before.size())
        return ::testing::AssertionFailure() << "size " << after.size() << " instead of " << before.size();
    for (std::size_t i = 0; i < after.size(); ++i) {
        const std::size_t inRecord = (i - 4) % ProductRecord::kSize;
        if (i >= 4 && inRecord >= ProductRecord::kStockOffset && inRecord < ProductRecord::kStockOffset + 4)
            continue;
        if (after[i] != before[i])
            return ::testing::AssertionFailure() << "byte " << i << " changed";
    }
    for (std::size_t r = 0; r < wanted.size(); ++r) {
        const std::size_t off = 4 + ProductRecord::kSize * r + ProductRecord::kStockOffset;
        const float now = codec::getF32(after.data(), off);
        const float old = codec::getF32(before.data(), off);
        if (now != wanted[r].stock && (mustBeNew || now != old))
            return ::testing::AssertionFailure() << "record " << r << " stock " << now << " (old " << old << ", new "
                                                 << wanted[r].stock << ")";
    }
    return ::testing::AssertionSuccess();
}
}  // namespace

// Four registers take and give back stock of the same products at once; each
// keeps some sales, so the stock ends lowered by exactly those.
TEST(ProductConcurrency, RegistersTakingAndReturningStockLoseNoChange)
{
    TempDir dir;
    const CLocalFile local(dir.path());
    const std::size_t block = ProductFile::kScanBlockRecords;
    writeProductFile(local.GetPath("Products"),
                     stockFile(2 * block + 10, {{3, makeProduct("Apple", 1000)},
                                                {block, makeProduct("BREAD", 500)},
                                                {2 * block + 9, makeProduct("cheese", 0)}}));
    const auto before = readBytes(local.GetPath("Products"));

    constexpr int kRegisters = 4;
    constexpr int kRounds = 40;
    std::array<StockLine, 20> sale{};
    sale[0] = {"APPLE", 3};
    sale[4] = {"bread", 2};
    sale[7] = {"Cheese", 1.5f};
    sale[12] = {"apple", 1};
    sale[19] = {"unknown", 5};
    std::vector<pid_t> children;
    for (int k = 0; k < kRegisters; ++k) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const CLocalFile mine(dir.path());
            int failures = 0;
            for (int round = 0; round < kRounds; ++round) {
                failures += TakeSaleFromStock(mine, sale) != FileCause::None;
                // Every fourth sale is kept; the others are voided again.
                if (round % 4 != 0)
                    failures += ReturnSaleToStock(mine, sale) != FileCause::None;
            }
            _exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }

    // 4 registers x 10 kept sales: Apple 40 x 4, bread 40 x 2, cheese 40 x 1.5.
    const auto stored = readProducts(local.GetPath("Products"));
    const auto after = readBytes(local.GetPath("Products"));
    auto wanted = stockFile(2 * block + 10, {{3, makeProduct("Apple", 840)},
                                             {block, makeProduct("BREAD", 420)},
                                             {2 * block + 9, makeProduct("cheese", -60)}});
    EXPECT_EQ(stored[3].stock, 840.0f);
    EXPECT_EQ(stored[block].stock, 420.0f);
    EXPECT_EQ(stored[2 * block + 9].stock, -60.0f);
    EXPECT_TRUE(wholeRecords(before, after, wanted, true));
}

// Operation n fails (once, or from then on) or ends the process, for n = 1, 2,
// 3 ... until the sale goes through; the file is never torn and a reported
// success has every line applied.
TEST(ProductConcurrency, TakingASaleSurvivesEveryFault)
{
    TempDir dir;
    const CLocalFile local(dir.path());
    const std::string path = local.GetPath("Products");
    const std::size_t block = ProductFile::kScanBlockRecords;
    const std::size_t n = block + 20;
    const auto original = stockFile(n, {{0, makeProduct("A", 10)},
                                        {block - 1, makeProduct("B", 20)},
                                        {block, makeProduct("C", 30)},
                                        {n - 1, makeProduct("D", 40)}});
    const auto before = productFileBytes(original);
    auto wanted = original;
    wanted[0].stock = 7;          // 10 - 1 - 2
    wanted[block - 1].stock = 15;  // 20 - 5
    wanted[block].stock = 31;      // 30 + 1 (a return line)
    wanted[n - 1].stock = 39.5f;   // 40 - 0.5
    std::array<StockLine, 20> sale{};
    sale[0] = {"a", 1};
    sale[3] = {"B", 5};
    sale[5] = {"c", -1};
    sale[8] = {"d", 0.5f};
    sale[11] = {"A", 2};
    sale[15] = {"zzz", 3};

    for (bool once : {true, false}) {
        bool completed = false;
        for (long nth = 1; nth < 100 && !completed; ++nth) {
            writeBytes(path, before);
            FileFaults::arm(nth, FileFaults::Action::Fail, once);
            const int cause = TakeSaleFromStock(local, sale);
            const bool faulted = FileFaults::count() >= nth;
            FileFaults::disarm();
            const auto after = readBytes(path);
            EXPECT_TRUE(wholeRecords(before, after, wanted, cause == FileCause::None)) << "fail at " << nth;
            completed = !faulted;
            if (completed) {
                EXPECT_EQ(cause, FileCause::None);
            }
        }
        EXPECT_TRUE(completed);
    }

    bool completed = false;
    for (long nth = 1; nth < 100 && !completed; ++nth) {
        writeBytes(path, before);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            FileFaults::arm(nth, FileFaults::Action::Exit, true);
            const int cause = TakeSaleFromStock(local, sale);
            _exit(cause == FileCause::None ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        const int code = WEXITSTATUS(status);
        ASSERT_TRUE(code == 0 || code == 86) << code;
        completed = code == 0;
        EXPECT_TRUE(wholeRecords(before, readBytes(path), wanted, completed)) << "ended at " << nth;
    }
    EXPECT_TRUE(completed);
}
