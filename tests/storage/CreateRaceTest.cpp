// Registers that find a file missing at the same moment all create it; none
// may truncate what another has already stored there.
#include "contacts/ContactRows.h"
#include "receivables/PaidRule.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/PaymentFile.h"
#include "storage/files/ProductFile.h"
#include "storage/files/QuoteFile.h"
#include "storage/files/SalesFileHeader.h"
#include "support/KilledRegisters.h"
#include "support/TempDir.h"

#include <set>

const CalendarTime kNow{2026, 12, 6, 12};

TEST(CreateRace, EveryFirstWriteToAMissingFileSurvives)
{
    constexpr int kChildren = 4;
    struct Kind {
        const char* name;
        std::function<bool(const CLocalFile&)> write;  // one first write, as a register starting up
        std::function<long long(const CLocalFile&)> stored;
    };
    using L = const CLocalFile&;
    const Kind kinds[] = {
        {"sales", [](L l) { int n = 0; InvoiceRecord r; return ReadInvoiceCount(l, n) == 0 && AppendInvoice(l, r, n, kNow) >= 0; },
         [](L l) { int n = 0; return ReadInvoiceCount(l, n) == 0 ? n : -1LL; }},
        {"quotes", [](L l) { InvoiceRecord r; return SaveQuote(l, r, kNow) >= 0; },
         [](L l) {
             long long found = 0;
             InvoiceRecord quote;
             for (int q = 0; q < kChildren; ++q)
                 found += ReadQuote(l, q, quote);
             return found;
         }},
        {"payments", [](L l) { PaymentRecord p; return AppendPayment(l, p) >= 0; },
         [](L l) { return static_cast<long long>(ReadPaymentCount(l)); }},
        {"products", [](L l) { return EnsureProductFile(l) == 0 && AppendProduct(l, ProductRecord{}) == 0; },
         [](L l) { long long n = 0; return ReadProductCount(l, n) == 0 ? n : -1; }},
        // The placeholder record 0 is made once; each customer gets its own number.
        {"customers",
         [](L l) {
             CustomerRecord c;
             c.text[CustomerRecord::kName] = "Customer " + std::to_string(getpid());
             return SaveCustomerByName(l, c) == CustomerSave::Appended;
         },
         [](L l) {
             std::set<std::string> numbers{"0"};  // the placeholder's, which no customer may take
             CustomerRows rows;
             rows.list(l, 0, {});
             for (std::size_t r = 0; r < rows.size(); ++r)
                 numbers.insert(rows.cell(r, 3));
             CustomerRecord zero;
             const bool whole = FindCustomerByNumber(l, 0, zero) && zero.name().empty() && numbers.size() == rows.size() + 1;
             return whole ? static_cast<long long>(rows.size()) : -1LL;
         }},
        // Each register adds its mark past the header to what the others wrote.
        {"header",
         [](L l) {
             SalesFileHeader header;
             DataFile file;
             std::uint8_t mark = 0;
             return OpenOrCreateHeader(l, header) == 0 &&
                    CLocalFile::OpenFile(file, l.GetPath("Head"), OpenMode::ReadWrite) == 0 &&
                    file.readAt(SalesFileHeader::kFileSize, &mark, 1) >= 0 && ++mark &&
                    file.writeAt(SalesFileHeader::kFileSize, &mark, 1);
         },
         [](L l) {
             const auto bytes = readBytes(l.GetPath("Head"));
             return bytes.size() > SalesFileHeader::kFileSize ? static_cast<long long>(bytes[SalesFileHeader::kFileSize]) : -1LL;
         }},
    };
    for (const Kind& kind : kinds) {
        for (int round = 0; round < 20; ++round) {
            TempDir dir;
            const CLocalFile local(dir.path());
            ASSERT_TRUE(raceChildren(kChildren, [&](int) { return kind.write(local); })) << kind.name << " " << round;
            EXPECT_EQ(kind.stored(local), kChildren) << kind.name << " round " << round;
        }
    }
}
