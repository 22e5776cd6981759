// Every write path interrupted at every file operation it makes (failing once,
// failing from then on, the process ending, the power failing): after the next
// register's recovery each file shows the whole change or none of it. Then the
// same paths against damaged record counts.

#include "InvoiceTestSupport.h"
#include "RecordBuilders.h"
#include "contacts/ContactRows.h"
#include "products/SaleStock.h"
#include "receivables/PaidRule.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/PaymentFile.h"
#include "storage/files/ProductFile.h"
#include "storage/files/QuoteFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/files/VendorFile.h"
#include "storage/journal/Transaction.h"
#include "support/KilledRegisters.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace {
const CalendarTime kNow = at(2006, 6, 1, 9);

// The file formats as the bytes lie, so the verdict does not rest on the code
// under test: name, header bytes, record bytes, count offset and width (0: a
// file read whole).
struct Layout {
    const char* name;
    long long header, record;
    std::size_t countAt, countWidth;
};
const Layout kLayouts[] = {
    {"Retail.pos", 0, 0, 0, 0},          {"Retail-Invs.pdb", 4, 4728, 0, 4}, {"Retail-Prod.pdb", 4, 320, 0, 4},
    {"Retail-Quote.pdb", 8, 4728, 0, 4}, {"Retail-Pymnt.pdb", 12, 220, 0, 4}, {"Retail-Cust.pdb", 236, 968, 8, 4},
    {"Retail-Vend.pdb", 232, 920, 0, 4}, {"Retail-Cash.pdb", 8, 48, 0, 4},   {"Retail-SaleP.pdb", 4, 24, 2, 2},
    {"Retail-TaxT.pdb", 28, 32, 2, 2},   {"Retail-Terms.pdb", 4, 22, 0, 2},
};

// The signed little-endian count of a file in the layout.
long long countIn(const std::vector<std::uint8_t>& bytes, const Layout& l)
{
    long long count = 0;
    for (std::size_t i = 0; i < l.countWidth; ++i)
        count |= static_cast<long long>(bytes[l.countAt + i]) << (8 * i);
    return count >> (8 * l.countWidth - 1) ? count - (1LL << (8 * l.countWidth)) : count;
}

void putCount(std::vector<std::uint8_t>& bytes, const Layout& l, long long n)
{
    for (std::size_t i = 0; i < l.countWidth; ++i)
        bytes[l.countAt + i] = static_cast<std::uint8_t>(static_cast<unsigned long long>(n) >> (8 * i));
}

// What every register sees: each file's header and counted records.
std::map<std::string, std::vector<std::uint8_t>> visible(const std::string& folder)
{
    std::map<std::string, std::vector<std::uint8_t>> seen;
    for (const Layout& l : kLayouts) {
        const std::string path = folder + l.name;
        if (!fileExists(path))
            continue;
        auto bytes = readBytes(path);
        if (l.countWidth != 0 && static_cast<long long>(bytes.size()) >= l.header) {
            const long long count = countIn(bytes, l);
            const long long room = (static_cast<long long>(bytes.size()) - l.header) / l.record;
            EXPECT_GE(count, 0) << l.name;
            bytes.resize(static_cast<std::size_t>(l.header + std::min(count, room) * l.record));
        }
        seen[l.name] = bytes;
    }
    return seen;
}

// The next register opens every file (which rolls back what a dead one left).
void recoverAsNextRegister(const std::string& folder)
{
    for (const Layout& l : kLayouts) {
        DataFile f;
        CLocalFile::OpenFile(f, folder + l.name, OpenMode::Read);
    }
    EXPECT_FALSE(journalHoldsAChange(folder)) << "journal left holding a change";
}

InvoiceRecord saleOf(int serial, std::initializer_list<std::pair<const char*, float>> lines)
{
    InvoiceRecord r = ClearedInvoice();
    r.cashier = "c" + std::to_string(serial);
    r.payType = "Cash";
    std::size_t i = 0;
    for (const auto& [item, qty] : lines) {
        r.itemNumber[i] = item;
        r.qty[i] = qty;
        r.description[i++] = std::string("line of ") + item;
    }
    r.total = 12.5f;
    return r;
}

ProductRecord product(const std::string& item, float stock)
{
    ProductRecord p = productWithStock(item, stock);
    p.soldQty = 3;
    return p;
}

// A file set holding some of everything.
void seed(const CLocalFile& local)
{
    int count = 0;
    ReadInvoiceCount(local, count);
    EnsureProductFile(local);
    for (auto [item, stock] : {std::pair{"A", 10.0f}, {"B", 20.0f}, {"C", 30.0f}})
        ASSERT_EQ(AppendProduct(local, product(item, stock)), FileCause::None);
    for (int s = 0; s < 2; ++s) {
        InvoiceRecord r = saleOf(s, {{"A", 1}, {"B", 2}, {"C", 0.5f}});
        ASSERT_EQ(AppendInvoice(local, r, count, kNow), s);
        InvoiceRecord q = saleOf(10 + s, {{"B", 4}});
        ASSERT_GE(SaveQuote(local, q, kNow), 0);
        PaymentRecord p;
        p.invoiceNumber = s;
        p.amount = 5;
        ASSERT_GE(AppendPayment(local, p), 0);
    }
    for (const char* name : {"Ann", "Bob"}) {
        CustomerRecord c = customerNamed(name);
        ASSERT_EQ(SaveCustomerByName(local, c), CustomerSave::Appended);
        ASSERT_EQ(AppendVendor(local, vendorNamed(name)), FileCause::None);
        ASSERT_EQ(AppendCashier(local, {name, "pw"}), FileCause::None);
        ASSERT_EQ(AppendSalesperson(local, {name}), FileCause::None);
        ASSERT_EQ(AppendTaxZone(local, {name, 1, 2}), FileCause::None);
    }
    TermsRecord t;
    t.netDays = 60;
    ASSERT_EQ(AppendTerms(local, t), FileCause::None);
    SalesFileHeader h;
    ASSERT_EQ(OpenOrCreateHeader(local, h), FileCause::None);
}

using WritePath = std::function<bool(const CLocalFile&)>;
using L = const CLocalFile&;
constexpr int kOk = FileCause::None;
constexpr ChangeResult kDone = ChangeResult::Done;

// A record changed by `change`.
template <class R, class F> R with(R r, F change)
{
    change(r);
    return r;
}

const std::map<std::string, WritePath>& writePaths()
{
    static const std::map<std::string, WritePath> paths = {
        // A finished sale as one transaction: the sale, its stock, its customer
        // and a payment on account.
        {"finished sale",
         [](L l) {
             Transaction tx;
             for (const char* kind : {"Invoices", "Products", "Customers", "Payments"})
                 tx.add(l.GetPath(kind));
             if (tx.begin() != kOk)
                 return false;
             InvoiceRecord sale = saleOf(20, {{"B", 1}, {"C", 2}});
             sale.payType = "Deposit";
             const int n = AppendInvoiceIn(tx, l, sale, kNow, PaidRuleIn(tx, l));
             const std::array<StockLine, 2> lines{{{"B", 1}, {"C", 2}}};
             CountedFile customers(CustomerFileLayout());
             std::uint8_t bob[CustomerRecord::kSize];
             customerNamed("Bob Sold").encode(bob);
             PaymentRecord deposit;
             deposit.invoiceNumber = n;
             deposit.amount = 3;
             return n == 2 && ApplySaleToStock(tx, tx.file(l.GetPath("Products")), lines, StockDirection::Take) == 0 &&
                    customers.openIn(tx, l.GetPath("Customers")) == kOk && customers.replaceRecord(2, bob) &&
                    AppendPaymentIn(tx, l, deposit) >= 0 && tx.commit() == kOk;
         }},
        {"append sale",
         [](L l) { int n = 0; auto r = saleOf(7, {{"A", 1}}); return AppendInvoice(l, r, n, kNow) >= 0; }},
        {"update sale",
         [](L l) { auto r = with(saleOf(8, {{"C", 9}}), [](auto& r) { r.recordNumber = 1; }); return UpdateInvoice(l, r) == 1; }},
        {"void", [](L l) { return VoidInvoice(l, 1) == kOk; }},
        {"return to stock", [](L l) { return ReturnInvoiceToStock(l, 0) == kOk; }},
        {"take from stock",
         [](L l) {  // two lines of one product
             return TakeSaleFromStock(l, std::array<StockLine, 4>{{{"a", 1}, {"B", 2}, {"c", 3}, {"A", 4}}}) == kOk;
         }},
        {"return sale to stock",
         [](L l) { return ReturnSaleToStock(l, std::array<StockLine, 2>{{{"C", 1}, {"B", 2}}}) == kOk; }},
        {"append product", [](L l) { return AppendProduct(l, product("D", 4)) == kOk; }},
        {"update product",
         [](L l) { return UpdateProductByItem(l, "B", [](ProductRecord& p) { p.stock = 5; }) == ChangeResult::Done; }},
        {"delete product", [](L l) { return RemoveProductByItem(l, "A") == ChangeResult::Done; }},
        {"save quote", [](L l) { auto q = saleOf(9, {{"A", 2}}); return SaveQuote(l, q, kNow) >= 0; }},
        {"delete quote", [](L l) { return DeleteQuote(l, 0); }},
        {"append payment",
         [](L l) { auto p = with<PaymentRecord>({}, [](auto& p) { p.invoiceNumber = 1; p.amount = 2.5f; });
                 return AppendPayment(l, p) >= 0; }},
        {"append customer",
         [](L l) { auto c = customerNamed("Cy"); return SaveCustomerByName(l, c) == CustomerSave::Appended; }},
        {"replace customer",
         [](L l) { auto c = customerNamed("ann"); return SaveCustomerByName(l, c) == CustomerSave::Replaced; }},
        {"delete customer",
         [](L l) { auto c = with<CustomerRecord>({}, [](auto& c) { c.customerNumber = 1; });
                 return DeleteCustomerByNumber(l, c) == kDone; }},
        {"customer labels",
         [](L l) {
             return WriteCustomerHeader(l, with<CustomerFileHeader>({}, [](auto& h) { h.labels[0] = "L"; })) == kOk;
         }},
        {"append vendor", [](L l) { return AppendVendor(l, vendorNamed("Cog")) == kOk; }},
        {"update vendor",
         [](L l) {
             return UpdateVendor(l, with(vendorNamed("Bob"), [](auto& v) { v.text[VendorRecord::kFax] = "5"; })) == kDone;
         }},
        {"delete vendor", [](L l) { auto v = vendorNamed("Ann"); return DeleteVendor(l, v) == kDone; }},
        {"append cashier", [](L l) { return AppendCashier(l, {"Cy", "x"}) == kOk; }},
        {"delete cashier", [](L l) { return DeleteCashier(l, "Ann") == kDone; }},
        {"replace cashier", [](L l) { return ReplaceCashierNamed(l, "Bob", {"Al", "x"}) == kDone; }},
        {"append salesperson", [](L l) { return AppendSalesperson(l, {"Sid"}) == kOk; }},
        {"delete salesperson", [](L l) { return DeleteSalesperson(l, "Ann") == kDone; }},
        {"append tax zone", [](L l) { return AppendTaxZone(l, {"C", 3, 3}) == kOk; }},
        {"delete tax zone", [](L l) { return DeleteTaxZone(l, "Ann") == kDone; }},
        {"default tax zone", [](L l) { return SetDefaultZone(l, "Bob") == kOk; }},
        {"append terms",
         [](L l) { auto t = with<TermsRecord>({}, [](auto& t) { t.netDays = 10; }); return AppendTerms(l, t) == kOk; }},
        {"delete terms", [](L l) { return DeleteTerms(l, 1) == kDone; }},
        {"write header",
         [](L l) { return WriteHeader(l, with<SalesFileHeader>({}, [](auto& h) { h.todaysNotes = "n"; })) == kOk; }},
        {"update header",
         [](L l) {
             SalesFileHeader h;
             return UpdateHeader(l, h, [](SalesFileHeader& s) { s.receiptHeader = std::string(390, 'r'); }) == kOk;
         }},
    };
    return paths;
}

void copyFolder(const std::string& from, const std::string& to)
{
    for (const auto& entry : std::filesystem::directory_iterator(from))
        std::filesystem::copy_file(entry.path(), to + entry.path().filename().string(),
                                   std::filesystem::copy_options::overwrite_existing);
}

class WritePathFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        CLocalFile local(seeded_.path());
        seed(local);
        before_ = visible(seeded_.path());
    }

    TempDir seeded_;
    std::map<std::string, std::vector<std::uint8_t>> before_;
    RecordingPrompt prompt_;
};
}  // namespace

TEST_F(WritePathFaults, AFaultAtAnyOperationLeavesAllOrNothingAndARetryAppliesOnce)
{
    using A = FileFaults::Action;
    const std::tuple<A, bool, const char*> faults[] = {
        {A::Fail, true, "failing once at "}, {A::Fail, false, "failing from "}, {A::Exit, true, "ended at "},
        {A::PowerCut, true, "power cut at "}};
    for (const auto& [name, path] : writePaths()) {
        TempDir clean;  // the files as the path leaves them when nothing goes wrong
        copyFolder(seeded_.path(), clean.path());
        ASSERT_TRUE(path(CLocalFile(clean.path()))) << name;
        const auto wanted = visible(clean.path());
        ASSERT_NE(wanted, before_) << name;
        for (const auto& [action, once, how] : faults) {
            bool completed = false, done = false;
            for (long nth = 1; !completed && nth < 200; ++nth) {
                TempDir dir;
                copyFolder(seeded_.path(), dir.path());
                const CLocalFile local(dir.path());
                if (action == A::Fail) {
                    FileFaults::arm(nth, action, once);
                    done = path(local);
                    completed = FileFaults::count() < nth;
                    FileFaults::disarm();
                } else {
                    const int code = exitCodeOf([&] {
                        FileFaults::arm(nth, action, true, static_cast<unsigned>(nth));
                        return path(local) ? 0 : 1;
                    });
                    ASSERT_TRUE(code == 0 || code == 86) << name << ": failed without a fault at " << nth;
                    completed = done = code == 0;
                }
                recoverAsNextRegister(dir.path());
                const auto seen = visible(dir.path());
                if (action == A::Fail || done)  // a reported outcome is the whole truth
                    EXPECT_EQ(seen, done ? wanted : before_) << name << ", " << how << nth;
                else
                    EXPECT_TRUE(seen == wanted || seen == before_) << name << ", " << how << nth;
                if (action == A::Fail && !done) {
                    EXPECT_TRUE(path(local)) << name << ": the retry after " << nth;
                    EXPECT_EQ(visible(dir.path()), wanted) << name << ": the retry after " << nth;
                }
            }
            EXPECT_TRUE(completed) << name << ", " << how;
        }
    }
}

TEST_F(WritePathFaults, AJournalNamingAFileSinceRemovedIsClearedAndTheSetOpens)
{
    // Ended inside a delete once the journal holds it.
    TempDir dir;
    for (long nth = 1; nth < 100 && !journalHoldsAChange(dir.path()); ++nth)
        exitCodeOf([&] {
            copyFolder(seeded_.path(), dir.path());
            FileFaults::arm(nth, FileFaults::Action::Exit, true);
            return DeleteQuote(CLocalFile(dir.path()), 0) ? 0 : 1;
        });
    ASSERT_TRUE(journalHoldsAChange(dir.path()));
    std::filesystem::remove(dir.file("Retail-Quote.pdb"));
    DataFile f;
    EXPECT_EQ(CLocalFile::OpenFile(f, dir.file("Retail-Invs.pdb"), OpenMode::Read), FileCause::None);
    EXPECT_FALSE(journalHoldsAChange(dir.path()));
}

TEST_F(WritePathFaults, DamagedCountsOfEveryCountedFile)
{
    struct Kind {
        const char* file;
        long long impossible, present;
        std::function<long long(const CLocalFile&)> shown;  // the records the reads show
        std::vector<const char*> writes;                     // the append first
    };
    auto size = [](auto list) { return static_cast<long long>(list.size()); };
    const Kind kinds[] = {
        {"Retail-Invs.pdb", -1, 2, [](L l) { int n = 0; ReadInvoiceCount(l, n); return static_cast<long long>(n); },
         {"append sale", "void", "update sale"}},
        {"Retail-Prod.pdb", -3, 3, [](L l) { long long n = 0; ReadProductCount(l, n); return n; },
         {"append product", "delete product", "update product", "take from stock"}},
        {"Retail-Quote.pdb", -2, 2,
         [](L l) { long long n = 0; InvoiceRecord r; for (int q = 0; q < 4; ++q) n += ReadQuote(l, q, r); return n; },
         {"save quote", "delete quote"}},
        {"Retail-Pymnt.pdb", -1, 2, [](L l) { return static_cast<long long>(ReadPaymentCount(l)); }, {"append payment"}},
        // Record 0 is the placeholder: a count of 0 is as impossible as a negative one.
        {"Retail-Cust.pdb", 0, 3, [&](L l) { CustomerRows rows; rows.list(l, 0, {}); return size(rows) + 1; },
         {"append customer", "replace customer", "delete customer", "customer labels"}},
        {"Retail-Vend.pdb", -1, 2, [&](L l) { return size(FillVendorBox(l)); }, {"append vendor", "delete vendor", "update vendor"}},
        {"Retail-Cash.pdb", -1, 2, [&](L l) { return size(FillCashierBox(l)); },
         {"append cashier", "delete cashier", "replace cashier"}},
        {"Retail-SaleP.pdb", -5, 2, [&](L l) { return size(FillSalespersonBox(l)); }, {"append salesperson", "delete salesperson"}},
        {"Retail-TaxT.pdb", -1, 2, [&](L l) { return size(FillTaxBox(l)); },
         {"append tax zone", "delete tax zone", "default tax zone"}},
        // COD and NET 30 come with a new file.
        {"Retail-Terms.pdb", -1, 3, [&](L l) { return size(ListTerms(l)); }, {"append terms", "delete terms"}},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.file);
        const Layout& l = *std::find_if(std::begin(kLayouts), std::end(kLayouts),
                                        [&](const Layout& x) { return std::string(x.name) == kind.file; });
        // An impossible count: every write refused with a message naming the file,
        // nothing written, the reads show the records present. A count one short:
        // a record written but not yet counted, which the append takes. A count
        // past the end of a file cut short in its last record.
        for (const long long count : {kind.impossible, kind.present - 1, kind.present + 40}) {
            SCOPED_TRACE(count);
            TempDir dir;
            copyFolder(seeded_.path(), dir.path());
            const CLocalFile local(dir.path());
            const std::string path = dir.file(kind.file);
            auto bytes = readBytes(path);
            ASSERT_EQ(static_cast<long long>(bytes.size()), l.header + kind.present * l.record);
            ASSERT_EQ(countIn(bytes, l), kind.present);
            putCount(bytes, l, count);
            if (count > kind.present)
                bytes.resize(bytes.size() + static_cast<std::size_t>(l.record / 2), 0x41);
            writeBytes(path, bytes);
            prompt_.take();
            const long long shown = count == kind.impossible ? kind.present : std::min(count, kind.present);
            EXPECT_EQ(kind.shown(local), shown);
            if (count == kind.impossible) {
                for (const char* write : kind.writes) {
                    EXPECT_FALSE(writePaths().at(write)(local)) << write;
                    EXPECT_TRUE(prompt_.saw("This file is damaged:\n\n" + path + "\n")) << write;
                    prompt_.take();
                    EXPECT_EQ(readBytes(path), bytes) << write;
                }
                continue;
            }
            ASSERT_TRUE(writePaths().at(kind.writes[0])(local));
            bytes = readBytes(path);
            EXPECT_EQ(countIn(bytes, l), shown + 1);
            EXPECT_EQ(kind.shown(local), shown + 1);
            EXPECT_EQ(static_cast<long long>(bytes.size()), l.header + (shown + 1) * l.record);
            EXPECT_TRUE(prompt_.take().empty() || std::string(kind.file) == "Retail-Quote.pdb");
        }
    }
}
