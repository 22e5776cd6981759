#include "CLocalFile.h"
#include "DataFile.h"
#include "InvoiceFile.h"
#include "InvoiceTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const CalendarTime kNow = at(2006, 4, 1, 12, 0, 0);

// Which writer and serial a stored pattern sale came from, read back from its fields.
bool identify(const InvoiceRecord& r, int& writer, int& serial)
{
    if (std::sscanf(r.cashier.c_str(), "writer %d", &writer) != 1 ||
        std::sscanf(r.salesperson.c_str(), "serial %d", &serial) != 1)
        return false;
    return true;
}

// Checks that every counted record is a whole pattern sale stored at its own
// position; fills `found` with position -> (writer, serial).
::testing::AssertionResult everyCountedRecordIntact(const CLocalFile& local, std::map<int, std::pair<int, int>>& found)
{
    found.clear();
    int count = -1;
    if (ReadInvoiceCount(local, count) != FileCause::None)
        return ::testing::AssertionFailure() << "count unreadable";
    DataFile file;
    if (CLocalFile::OpenFile(file, local.GetPath("Invoices"), OpenMode::Read) != FileCause::None)
        return ::testing::AssertionFailure() << "file unreadable";
    for (int n = 0; n < count; ++n) {
        InvoiceRecord r;
        int writer = 0, serial = 0;
        if (!ReadInvoiceAt(file, n, r) || !identify(r, writer, serial))
            return ::testing::AssertionFailure() << "record " << n << " of " << count << " not a stored sale";
        if (!(r == storedPattern(writer, serial, n, kNow)))
            return ::testing::AssertionFailure() << "record " << n << " torn";
        found[n] = {writer, serial};
    }
    return ::testing::AssertionSuccess();
}

// Leaves uncounted bytes after the counted sales, as an append that died
// before its count (or a torn write) does: they must never become counted.
void addTornTail(const std::string& path, std::size_t records)
{
    auto bytes = readBytes(path);
    bytes.resize(bytes.size() + records * InvoiceRecord::kSize + 100, 0x5A);
    writeBytes(path, bytes);
}
}  // namespace

TEST(InvoiceConcurrency, KilledRegistersNeverLeaveATornOrLostSale)
{
    TempDir dir;
    CLocalFile local(dir.path());
    int count = 0;
    ASSERT_EQ(ReadInvoiceCount(local, count), FileCause::None);
    addTornTail(local.GetPath("Invoices"), 10);
    std::mt19937 rng(20060401);
    std::map<int, std::pair<int, int>> acknowledged;  // record number -> (writer, serial)
    std::size_t waitedFor = 0;

    // Each register is killed once the parent has read a random number of its
    // acknowledgements, somewhere inside a later append.
    for (int round = 0; round < 40; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            CLocalFile mine(dir.path());
            int seen = 0;
            for (int s = 0;; ++s) {
                InvoiceRecord r = patternSale(round, s);
                const int n = AppendInvoice(mine, r, seen, kNow);
                if (n < 0)
                    _exit(1);
                const int ack[2] = {n, s};
                if (write(fds[1], ack, sizeof ack) != static_cast<ssize_t>(sizeof ack))
                    _exit(2);
            }
        }
        close(fds[1]);
        const int before = static_cast<int>(rng() % 4);
        int ack[2];
        for (int k = 0; k < before; ++k) {
            ASSERT_EQ(read(fds[0], ack, sizeof ack), static_cast<ssize_t>(sizeof ack));
            acknowledged[ack[0]] = {round, ack[1]};
        }
        waitedFor += static_cast<std::size_t>(before);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status)) << "writer ended by itself, status " << status;
        while (read(fds[0], ack, sizeof ack) == static_cast<ssize_t>(sizeof ack))
            acknowledged[ack[0]] = {round, ack[1]};
        close(fds[0]);

        std::map<int, std::pair<int, int>> found;
        ASSERT_TRUE(everyCountedRecordIntact(local, found)) << "after kill " << round;
        for (const auto& [n, who] : acknowledged) {
            auto it = found.find(n);
            ASSERT_TRUE(it != found.end()) << "acknowledged sale " << n << " lost after kill " << round;
            EXPECT_EQ(it->second, who) << n;
        }
    }
    EXPECT_GE(acknowledged.size(), waitedFor);
}

