// Registers that find a file missing at the same moment all create it; none
// may truncate what another has already stored there.
#include "CLocalFile.h"
#include "CustomerFile.h"
#include "InvoiceFile.h"
#include "PaymentRecord.h"
#include "ProductFile.h"
#include "QuoteFile.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Starts `children` processes that wait on one pipe and then run `work`
// together; true when every child succeeded.
bool raceChildren(int children, const std::function<bool()>& work)
{
    int gate[2];
    if (pipe(gate) != 0)
        return false;
    std::vector<pid_t> pids;
    for (int c = 0; c < children; ++c) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(gate[1]);
            char go;
            (void)!read(gate[0], &go, 1);  // released when the parent closes the pipe
            _exit(work() ? 0 : 1);
        }
        pids.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    bool ok = true;
    for (pid_t pid : pids) {
        int status = 0;
        waitpid(pid, &status, 0);
        ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return ok;
}

const CalendarTime kNow{2026, 12, 6, 12};

}  // namespace

TEST(CreateRace, EveryFirstWriteToAMissingFileSurvives)
{
    constexpr int kChildren = 4;
    struct Kind {
        const char* name;
        std::function<bool(const CLocalFile&)> write;  // one first write, as a register starting up
        std::function<long long(const CLocalFile&)> stored;
    };
    const Kind kinds[] = {
        {"sales",
         [](const CLocalFile& local) {
             int count = 0;
             InvoiceRecord sale;
             return ReadInvoiceCount(local, count) == 0 && AppendInvoice(local, sale, count, kNow) >= 0;
         },
         [](const CLocalFile& local) {
             int count = 0;
             return ReadInvoiceCount(local, count) == 0 ? count : -1LL;
         }},
        {"quotes",
         [](const CLocalFile& local) {
             InvoiceRecord sale;
             return SaveQuote(local, sale, kNow) >= 0;
         },
         [](const CLocalFile& local) {
             long long found = 0;
             InvoiceRecord quote;
             for (int q = 0; q < kChildren; ++q)
                 found += ReadQuote(local, q, quote);
             return found;
         }},
        {"payments",
         [](const CLocalFile& local) {
             PaymentRecord payment;
             return AppendPayment(local, payment) >= 0;
         },
         [](const CLocalFile& local) { return static_cast<long long>(ReadPaymentCount(local)); }},
        {"products",
         [](const CLocalFile& local) { return EnsureProductFile(local) == 0 && AppendProduct(local, ProductRecord{}) == 0; },
         [](const CLocalFile& local) {
             long long count = 0;
             return ReadProductCount(local, count) == 0 ? count : -1;
         }},
        // The placeholder record 0 is made once; each customer gets its own number.
        {"customers",
         [](const CLocalFile& local) {
             CustomerRecord c;
             c.text[CustomerRecord::kName] = "Customer " + std::to_string(getpid());
             return SaveCustomerByName(local, c) == CustomerSave::Appended;
         },
         [](const CLocalFile& local) {
             const auto rows = ListCustomersByLevel(local, 0);
             std::set<std::string> numbers;
             for (const auto& row : rows)
                 numbers.insert(row.at(3));
             CustomerRecord placeholder;
             const bool whole = FindCustomerByNumber(local, 0, placeholder) && placeholder.name().empty() &&
                                !numbers.count("0") && numbers.size() == rows.size();
             return whole ? static_cast<long long>(rows.size()) : -1LL;
         }},
        {"header",
         [](const CLocalFile& local) {
             SalesFileHeader header;
             header.todaysNotes = "mine";
             if (OpenOrCreateHeader(local, header) != 0)
                 return false;
             // Each register adds its mark to what the others wrote.
             DataFile file;
             if (CLocalFile::OpenFile(file, local.GetPath("Head"), OpenMode::ReadWrite) != 0)
                 return false;
             std::uint8_t mark = 0;
             file.readAt(SalesFileHeader::kFileSize, &mark, 1);
             ++mark;
             return file.writeAt(SalesFileHeader::kFileSize, &mark, 1);
         },
         [](const CLocalFile& local) {
             const auto bytes = readBytes(local.GetPath("Head"));
             return bytes.size() > SalesFileHeader::kFileSize ? static_cast<long long>(bytes[SalesFileHeader::kFileSize])
                                                              : -1LL;
         }},
    };
    for (const Kind& kind : kinds) {
        for (int round = 0; round < 20; ++round) {
            TempDir dir;
            const CLocalFile local(dir.path());
            ASSERT_TRUE(raceChildren(kChildren, [&] { return kind.write(local); })) << kind.name << " " << round;
            EXPECT_EQ(kind.stored(local), kChildren) << kind.name << " round " << round;
        }
    }
}
