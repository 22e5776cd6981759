// Counts every counted file can be left with: impossible ones (negative, or
// below the file's fixed first records) refuse every write with a message and
// leave the file as it is, while reads show the records present; a count below
// the records present is a record not yet counted, which the next append
// writes over.

#include "ByteCodec.h"
#include "CLocalFile.h"
#include "CustomerFile.h"
#include "InvoiceFile.h"
#include "InvoiceTestSupport.h"
#include "ListFiles.h"
#include "PaymentRecord.h"
#include "ProductFile.h"
#include "QuoteFile.h"
#include "RecordBuilders.h"
#include "TempDir.h"
#include "VendorFile.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {
const CalendarTime kNow = at(2006, 5, 1, 12);

struct CountedKind {
    const char* key;
    std::size_t countOffset;
    std::size_t countWidth;  // 2 or 4 bytes
    long long impossible;    // a count the file can never hold
    long long present;       // records the seeded file holds
    long long headerSize;
    long long recordSize;
    // Puts two records (after any fixed ones) into a new file.
    std::function<void(const CLocalFile&)> seed;
    // Records the reads show.
    std::function<long long(const CLocalFile&)> shown;
    // Writes of the kind: an append first, then the others; true when done.
    std::vector<std::function<bool(const CLocalFile&)>> writes;
};

InvoiceRecord sale(int serial) { return patternSale(1, serial); }

const std::vector<CountedKind>& kinds()
{
    static const std::vector<CountedKind> table = {
        {"Invoices", 0, 4, -1, 2, 4, InvoiceRecord::kSize,
         [](const CLocalFile& l) {
             int count = 0;
             ReadInvoiceCount(l, count);  // makes the file
             EnsureProductFile(l);       // a void returns stock there
             for (int i = 0; i < 2; ++i) {
                 InvoiceRecord r = sale(i);
                 AppendInvoice(l, r, count, kNow);
             }
         },
         [](const CLocalFile& l) {
             int count = 0;
             ReadInvoiceCount(l, count);
             return static_cast<long long>(count);
         },
         {[](const CLocalFile& l) {
              int count = 0;
              InvoiceRecord r = sale(9);
              return AppendInvoice(l, r, count, kNow) >= 0;
          },
          [](const CLocalFile& l) { return VoidInvoice(l, 0) == FileCause::None; },
          [](const CLocalFile& l) {
              InvoiceRecord r = sale(0);
              r.recordNumber = 0;
              return UpdateInvoice(l, r) == 0;
          }}},
        {"Products", 0, 4, -3, 2, 4, ProductRecord::kSize,
         [](const CLocalFile& l) {
             EnsureProductFile(l);
             AppendProduct(l, productWithStock("A", 5));
             AppendProduct(l, productWithStock("B", 5));
         },
         [](const CLocalFile& l) {
             long long count = 0;
             ReadProductCount(l, count);
             return count;
         },
         {[](const CLocalFile& l) { return AppendProduct(l, productWithStock("N", 5)) == FileCause::None; },
          [](const CLocalFile& l) { return RemoveProductAt(l, 0) == FileCause::None; },
          [](const CLocalFile& l) { return WriteProductAt(l, 1, productWithStock("W", 5)) == FileCause::None; },
          [](const CLocalFile& l) {
              const std::array<StockLine, 2> lines{{{"A", 1}, {"B", 1}}};
              return TakeSaleFromStock(l, lines) == FileCause::None;
          },
          [](const CLocalFile& l) { return ResetSalesWork(l) == FileCause::None; }}},
        {"Quotes", 0, 4, -2, 2, 8, InvoiceRecord::kSize,
         [](const CLocalFile& l) {
             for (int i = 0; i < 2; ++i) {
                 InvoiceRecord r = sale(i);
                 SaveQuote(l, r, kNow);
             }
         },
         [](const CLocalFile& l) {
             long long n = 0;
             InvoiceRecord r;
             for (int q = 0; q < 4; ++q)
                 n += ReadQuote(l, q, r);
             return n;
         },
         {[](const CLocalFile& l) {
              InvoiceRecord r = sale(5);
              return SaveQuote(l, r, kNow) >= 0;
          },
          [](const CLocalFile& l) { return DeleteQuote(l, 0); }}},
        {"Payments", 0, 4, -1, 2, 12, PaymentRecord::kSize,
         [](const CLocalFile& l) {
             for (int i = 0; i < 2; ++i) {
                 PaymentRecord p;
                 p.invoiceNumber = i;
                 AppendPayment(l, p);
             }
         },
         [](const CLocalFile& l) { return static_cast<long long>(ReadPaymentCount(l)); },
         {[](const CLocalFile& l) {
             PaymentRecord p;
             return AppendPayment(l, p) >= 0;
         }}},
        // Record 0 is the placeholder: a count of 0 is as impossible as a negative one.
        {"Customers", CustomerFileHeader::kCountOffset, 4, 0, 3, CustomerFileHeader::kSize, CustomerRecord::kSize,
         [](const CLocalFile& l) {
             for (const char* name : {"Ann", "Bob"}) {
                 CustomerRecord c = customerNamed(name);
                 SaveCustomerByName(l, c);
             }
         },
         [](const CLocalFile& l) { return static_cast<long long>(ListCustomersByLevel(l, 0).size()) + 1; },
         {[](const CLocalFile& l) {
              static int serial = 0;  // a new name each time
              CustomerRecord c = customerNamed("Cy" + std::to_string(++serial));
              return SaveCustomerByName(l, c) == CustomerSave::Appended;
          },
          [](const CLocalFile& l) {
              CustomerRecord c = customerNamed("Ann");
              return SaveCustomerByName(l, c) == CustomerSave::Replaced;
          },
          [](const CLocalFile& l) {
              CustomerRecord c = customerNamed("Ann");
              c.customerNumber = 1;
              return DeleteCustomerByNumber(l, c) == ChangeResult::Done;
          },
          [](const CLocalFile& l) { return WriteCustomerHeader(l, CustomerFileHeader()) == FileCause::None; }}},
        {"Vendor", 0, 4, -1, 2, VendorFileHeader::kSize, VendorRecord::kSize,
         [](const CLocalFile& l) {
             AppendVendor(l, vendorNamed("Ace"));
             AppendVendor(l, vendorNamed("Bee"));
         },
         [](const CLocalFile& l) { return static_cast<long long>(FillVendorBox(l).size()); },
         {[](const CLocalFile& l) { return AppendVendor(l, vendorNamed("Cog")) == FileCause::None; },
          [](const CLocalFile& l) {
              VendorRecord v = vendorNamed("Ace");
              return DeleteVendor(l, v) == ChangeResult::Done;
          },
          [](const CLocalFile& l) { return UpdateVendor(l, vendorNamed("Bee")) == ChangeResult::Done; }}},
        {"Cashiers", 0, 4, -1, 2, CashierRecord::kFileHeaderSize, CashierRecord::kSize,
         [](const CLocalFile& l) {
             AppendCashier(l, {"Ann", "a"});
             AppendCashier(l, {"Bob", "b"});
         },
         [](const CLocalFile& l) { return static_cast<long long>(FillCashierBox(l).size()); },
         {[](const CLocalFile& l) { return AppendCashier(l, {"Cy", "c"}) == FileCause::None; },
          [](const CLocalFile& l) { return DeleteCashier(l, "Ann") == ChangeResult::Done; },
          [](const CLocalFile& l) { return ReplaceCashier(l, 0, {"Al", "x"}) == ChangeResult::Done; }}},
        {"Sales People", 2, 2, -5, 2, SalespersonRecord::kFileHeaderSize, SalespersonRecord::kSize,
         [](const CLocalFile& l) {
             AppendSalesperson(l, {"Sam"});
             AppendSalesperson(l, {"Sue"});
         },
         [](const CLocalFile& l) { return static_cast<long long>(FillSalespersonBox(l).size()); },
         {[](const CLocalFile& l) { return AppendSalesperson(l, {"Sid"}) == FileCause::None; },
          [](const CLocalFile& l) { return DeleteSalesperson(l, "Sam") == ChangeResult::Done; }}},
        {"Tax Table", 2, 2, -1, 2, TaxTableRecord::kFileHeaderSize, TaxTableRecord::kSize,
         [](const CLocalFile& l) {
             AppendTaxZone(l, {"A", 1, 1});
             AppendTaxZone(l, {"B", 2, 2});
         },
         [](const CLocalFile& l) { return static_cast<long long>(FillTaxBox(l).size()); },
         {[](const CLocalFile& l) { return AppendTaxZone(l, {"C", 3, 3}) == FileCause::None; },
          [](const CLocalFile& l) { return DeleteTaxZone(l, "A") == ChangeResult::Done; },
          [](const CLocalFile& l) { return SetDefaultZone(l, "B") == FileCause::None; }}},
        // COD and NET 30 come with a new file; two more are appended.
        {"Terms", 0, 2, -1, 4, TermsRecord::kFileHeaderSize, TermsRecord::kSize,
         [](const CLocalFile& l) {
             for (std::int16_t days : {60, 90}) {
                 TermsRecord t;
                 t.netDays = days;
                 AppendTerms(l, t);
             }
         },
         [](const CLocalFile& l) { return static_cast<long long>(ListTerms(l).size()); },
         {[](const CLocalFile& l) {
              TermsRecord t;
              t.netDays = 10;
              return AppendTerms(l, t) == FileCause::None;
          },
          [](const CLocalFile& l) { return DeleteTerms(l, 1) == ChangeResult::Done; }}},
    };
    return table;
}

void putCount(std::vector<std::uint8_t>& bytes, const CountedKind& kind, long long n)
{
    if (kind.countWidth == 2)
        codec::putI16(bytes.data(), kind.countOffset, static_cast<std::int16_t>(n));
    else
        codec::putI32(bytes.data(), kind.countOffset, static_cast<std::int32_t>(n));
}

long long countIn(const std::vector<std::uint8_t>& bytes, const CountedKind& kind)
{
    return kind.countWidth == 2 ? codec::getI16(bytes.data(), kind.countOffset)
                                : codec::getI32(bytes.data(), kind.countOffset);
}

// A new folder whose file of this kind holds the seeded records.
struct Seeded {
    explicit Seeded(const CountedKind& kind) : local(dir.path()), path(local.GetPath(kind.key)) { kind.seed(local); }
    TempDir dir;
    CLocalFile local;
    std::string path;
    RecordingPrompt prompt;
};

// An impossible count: every write refused with a message naming the file,
// nothing written, the reads show the records present.
void refusesEveryWrite(const CountedKind& kind, Seeded& seeded)
{
    const CLocalFile& local = seeded.local;
    const std::string& path = seeded.path;
    RecordingPrompt& prompt = seeded.prompt;
    {
        auto bytes = readBytes(path);
        ASSERT_EQ(static_cast<long long>(bytes.size()), kind.headerSize + kind.present * kind.recordSize);
        ASSERT_EQ(countIn(bytes, kind), kind.present);
        putCount(bytes, kind, kind.impossible);
        writeBytes(path, bytes);
        prompt.take();

        EXPECT_EQ(kind.shown(local), kind.present);
        for (std::size_t w = 0; w < kind.writes.size(); ++w) {
            EXPECT_FALSE(kind.writes[w](local)) << "write " << w;
            const auto shown = prompt.take();
            const bool named = std::any_of(shown.begin(), shown.end(), [&](const std::string& m) {
                return m.find("damaged") != std::string::npos && m.find(path) != std::string::npos;
            });
            EXPECT_TRUE(named) << "write " << w;
            EXPECT_EQ(readBytes(path), bytes) << "write " << w;
        }
    }
}

// A count below the records present, then one past the end of the file.
void readsAndAppendsAroundTheCount(const CountedKind& kind, Seeded& seeded)
{
    const CLocalFile& local = seeded.local;
    const std::string& path = seeded.path;
    {
        // One record written but not yet counted: the append takes its place.
        auto bytes = readBytes(path);
        putCount(bytes, kind, kind.present - 1);
        writeBytes(path, bytes);
        EXPECT_EQ(kind.shown(local), kind.present - 1);
        ASSERT_TRUE(kind.writes[0](local));
        bytes = readBytes(path);
        EXPECT_EQ(countIn(bytes, kind), kind.present);
        EXPECT_EQ(static_cast<long long>(bytes.size()), kind.headerSize + kind.present * kind.recordSize);

        // A count past the end of a file cut short in its last record.
        putCount(bytes, kind, kind.present + 40);
        bytes.resize(bytes.size() + static_cast<std::size_t>(kind.recordSize / 2), 0x41);
        writeBytes(path, bytes);
        EXPECT_EQ(kind.shown(local), kind.present);
        ASSERT_TRUE(kind.writes[0](local));
        bytes = readBytes(path);
        EXPECT_EQ(countIn(bytes, kind), kind.present + 1);
        EXPECT_EQ(kind.shown(local), kind.present + 1);
        EXPECT_TRUE(seeded.prompt.take().empty() || std::string(kind.key) == "Quotes");
    }
}
}  // namespace

TEST(DamagedCount, EveryCountedFile)
{
    for (const CountedKind& kind : kinds()) {
        SCOPED_TRACE(kind.key);
        {
            Seeded seeded(kind);
            refusesEveryWrite(kind, seeded);
        }
        Seeded seeded(kind);
        readsAndAppendsAroundTheCount(kind, seeded);
    }
}
