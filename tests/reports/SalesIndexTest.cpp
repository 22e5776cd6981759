// The sales index against the full pass: the reports give the same text from
// either, the index follows the voids, edits and payments this program makes,
// and an index that no longer describes the sales file is caught and built again.

#include "products/SaleStock.h"
#include "receivables/PaidRule.h"
#include "reports/SaleSearch.h"
#include "reports/SalesSummary.h"
#include "reports/grouped/GroupedReports.h"
#include "storage/files/SalesIndex.h"
#include "storage/files/VendorFile.h"
#include "storage/records/TextFormat.h"
#include "support/KilledRegisters.h"
#include "support/SaleDesk.h"

#include <filesystem>
#include <map>

namespace {

// Every field of every sale a report can read, as text (amounts to the bit).
struct Fields : SaleAccumulator {
    std::string text;
    void AddSale(const SaleView& s) override
    {
        const OleDate t = s.saleTime();
        text += strprintf("%lld %d %d %d-%d-%d %d %d %a/%d", s.position(), s.recordNumber(), s.priceLevel(), s.year(),
                          s.month(), s.day(), s.period(), s.week(), t.value, t.status);
        for (float m : {s.taxableSubtotal(), s.exemptSubtotal(), s.tax1(), s.tax2(), s.handling(), s.total(), s.totalCost()})
            text += strprintf(" %a", static_cast<double>(m));
        for (std::string_view v : {s.cashier(), s.salesperson(), s.payType()})
            text += "|" + std::string(v);
        for (std::size_t i = 0; i < InvoiceRecord::kAddressLines; ++i)
            text += "|" + std::string(s.address(i));
        for (std::size_t l = 0; l < InvoiceRecord::kLines; ++l) {
            for (float v : {s.qty(l), s.markdown(l), s.price(l), s.extended(l), s.cost(l), s.commission(l)})
                text += strprintf(" %a", static_cast<double>(v));
            for (std::string_view v : {s.itemNumber(l), s.description(l), s.category(l), s.vendor(l), s.department(l)})
                text += "|" + std::string(v);
        }
        text += "\n";
    }
};

// The texts of the reports over the stored sales.
std::string reports(const CLocalFile& local)
{
    Fields fields;
    EXPECT_EQ(ScanSales(local, fields), ScanOutcome::Done);
    std::string out = fields.text;
    PeriodSums year(SelectPeriod(SalesPeriod::Year, false, kDeskNow));
    EXPECT_EQ(ScanSales(local, year), ScanOutcome::Done);
    const SaleSums& s = year.sums();
    out += strprintf("%lld %.17g %.17g %.17g %.17g\n", s.count, s.taxable, s.total, s.totalCost, s.profit);
    const std::map<GroupedAsk, std::string> keys{{GroupedAsk::Category, "Tools"}, {GroupedAsk::Vendor, "Acme"},
                                                 {GroupedAsk::Cashier, "Ann"}, {GroupedAsk::Salesperson, "Bo"}};
    for (const GroupedReportKind& kind : GroupedReportKinds()) {
        const auto key = keys.find(kind.ask);
        GroupedRequest request{&kind, {2026, 1, 1}, {2026, 12, 31}, key == keys.end() ? "" : key->second};
        GroupedReport report;
        EXPECT_EQ(BuildGroupedReport(local, request, report, {}), ScanOutcome::Done) << kind.item;
        out += report.heading + report.body;
    }
    // Find Sales on each text column of the lines, and on the margin.
    for (int column = 0; column < 6; ++column) {
        SaleSearchInput in;
        std::string* texts[] = {&in.description, &in.itemNumber, &in.category, &in.vendor, &in.department, &in.marginText};
        *texts[column] = std::array{"item 1", "b", "OOL", "acme", "ware", "150"}[column];
        in.lowMargin = column == 5;
        SaleSearch search(SaleSearchCriteria::From(in));
        EXPECT_EQ(ScanSales(local, search), ScanOutcome::Done);
        for (std::uint32_t position : search.TakePositions())
            out += std::to_string(position) + " ";
        out += "found\n";
    }
    return out;
}

// The index covers every stored sale and holds no row that differs from its record.
void expectWholeIndex(const CLocalFile& local, const std::string& when)
{
    const SalesIndexCheck check = CheckSalesIndex(local.GetPath("Invoices"));
    EXPECT_TRUE(check.usable) << when;
    EXPECT_EQ(check.header.covered, check.salesRecords) << when;
}

struct SalesIndexHistory : StockedSaleDesk {
    void SetUp() override
    {
        StockedSaleDesk::SetUp();
        header.mustSelectCashier = header.mustSelectPayType = header.mustEnterCashPaid = 0;
    }
    std::string indexPath() { return SalesIndexPath(local.GetPath("Invoices")); }

    // Sale `serial` rung up on one of three registers.
    void ring(int serial)
    {
        CLocalFile other(dir.path());
        SaleState st{serial % 3 == 0 ? local : other, header, [this] { return now; }};
        SaleFinish fin{st, prompt, [this] { return now; }};
        st.Open();
        InvoiceRecord& r = st.current;
        for (int l = 0; l < 1 + serial % 4; ++l) {
            const int slot = (serial + 5 * l) % 20;
            std::tie(r.itemNumber[slot], r.qty[slot], r.price[slot], r.cost[slot]) =
                std::tuple{l % 2 ? "B" : "A", 1.0f + static_cast<float>(l), 2.5f + static_cast<float>(serial), 1.25f};
            r.description[slot] = "Item " + std::to_string(serial);
            r.category[slot] = l % 2 ? "Tools" : "Paint";
            r.vendor[slot] = "Acme";
            r.department[slot] = "Hardware";
            r.markdownPercent[slot] = static_cast<float>(serial % 3 * 5);
        }
        r.address[InvoiceRecord::kName] = serial % 2 ? "Carla Diaz" : "";
        r.address[InvoiceRecord::kCity] = "Springfield";
        r.priceLevel = static_cast<std::uint8_t>(serial % 3);
        st.Recalculate();
        const char* pay = serial % 5 == 0 ? "Deposit" : serial % 2 ? "Cash" : "Check";
        ASSERT_EQ(fin.FinishSale({serial % 2 ? "Ann" : "Dee", "Bo", pay}), SaleFinish::Result::Stored) << serial;
        now.minute = (now.minute + 7) % 60;
        if (serial == 0) {  // groups for the category and vendor reports to fill
            SalesFileHeader stored;
            ASSERT_EQ(OpenOrCreateHeader(local, stored), 0);
            stored.categories = "Paint\r\nTools\r\nGarden";
            ASSERT_EQ(WriteHeader(local, stored), 0);
            VendorRecord acme;
            acme.text[VendorRecord::kCompany] = "ACME";
            ASSERT_EQ(AppendVendors(local, {acme}), 0);
        }
    }
    void edit(int n, const std::string& description)
    {
        InvoiceRecord r = stored(n);
        for (std::string& d : r.description)
            if (!d.empty())
                d = description;
        r.address[InvoiceRecord::kCompany] = description;
        ASSERT_EQ(UpdateInvoice(local, r), n);
    }
};

TEST_F(SalesIndexHistory, ReportsFromTheIndexEqualTheFullPassThroughoutAHistory)
{
    int serial = 0;
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"twelve sales on three registers", [&] { for (int i = 0; i < 12; ++i) ring(serial++); }},
        {"more sales after the rows", [&] { for (int i = 0; i < 5; ++i) ring(serial++); }},
        {"two sales voided", [&] { ASSERT_EQ(VoidInvoice(local, 3), 0); ASSERT_EQ(VoidInvoice(local, 15), 0); }},
        {"an edit that fits its row", [&] { edit(4, "Sh"); }},
        {"an edit longer than its row", [&] { edit(2, std::string(39, 'L')); }},
        {"deposits paid", [&] {
             for (int n : {0, 5, 10}) {
                 PaymentRecord p;
                 p.invoiceNumber = n;
                 p.amount = stored(n).total;
                 p.payType = "Cash";
                 ASSERT_GE(AppendPaymentToSale(local, p), 0);
             }
         }},
        {"a sale edited, then more sold", [&] { edit(16, std::string(30, 'M')); for (int i = 0; i < 3; ++i) ring(serial++); }},
    };
    for (const auto& [name, step] : steps) {
        step();
        if (serial > 12) {  // kept in step by the writes since the last report
            EXPECT_TRUE(CheckSalesIndex(local.GetPath("Invoices")).usable) << name;
        }
        const std::string kept = reports(local);   // the index as the writes kept it, then the rest added
        expectWholeIndex(local, name);
        const std::string whole = reports(local);  // every row from the index
        std::filesystem::remove(indexPath());
        std::filesystem::create_directory(indexPath());  // no index to read or build
        const std::string full = reports(local);         // every report from the sales file alone
        std::filesystem::remove(indexPath());
        EXPECT_EQ(kept, full) << name;
        EXPECT_EQ(whole, full) << name;
        EXPECT_EQ(reports(local), full) << name;  // the index built again
        expectWholeIndex(local, name);
    }
}

TEST_F(SalesIndexHistory, AnIndexThatNoLongerDescribesTheSalesFileIsCaughtAndBuiltAgain)
{
    for (int i = 0; i < 9; ++i)
        ring(i);
    const std::string sales = local.GetPath("Invoices");
    const std::string full = reports(local);
    auto poke = [](const std::string& path, long long at, std::uint8_t byte) {
        DataFile f;
        ASSERT_EQ(CLocalFile::OpenFile(f, path, OpenMode::ReadWrite), FileCause::None);
        if (at < 0)
            at += f.size();
        ASSERT_TRUE(f.writeAt(at, &byte, 1));
    };
    auto cut = [](const std::string& path, long long size) { std::filesystem::resize_file(path, size); };
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"the last sale written by something else", [&] { poke(sales, InvoiceOffset(8) + InvoiceRecord::kTotalOff + 3, 0x47); }},
        {"the first sale written by something else", [&] { poke(sales, InvoiceOffset(0) + InvoiceRecord::kCashierOff, 'Z'); }},
        {"the sales file rolled back to fewer sales", [&] { poke(sales, 0, 7); }},
        {"the index header damaged", [&] { poke(indexPath(), 20, 0x55); }},
        {"the last row damaged", [&] { poke(indexPath(), -3, 0xEE); }},
        {"the index cut short", [&] { cut(indexPath(), 100); }},
        {"the index emptied", [&] { cut(indexPath(), 0); }},
    };
    for (const auto& [name, change] : changes) {
        std::filesystem::remove(indexPath());
        const std::string before = reports(local);
        expectWholeIndex(local, name);
        change();
        EXPECT_FALSE(CheckSalesIndex(sales).usable) << name;
        const std::string after = reports(local);
        std::filesystem::remove(indexPath());
        EXPECT_EQ(after, reports(local)) << name;
        expectWholeIndex(local, name);
        if (std::string(name).find("index") != std::string::npos) {
            EXPECT_EQ(after, before) << name;
        }
    }
    EXPECT_NE(full, reports(local));  // the sales file did change
}

// A register ended at every file operation of an edit, and of a report adding
// rows: afterwards the index either agrees with every sale it covers or is
// not used.
TEST_F(SalesIndexHistory, EndedAtAnyOperationTheIndexAgreesOrIsNotUsed)
{
    for (int i = 0; i < 40; ++i)  // more sales than the check before use compares
        ring(i);
    reports(local);
    ring(40);
    const std::pair<const char*, std::function<bool(const CLocalFile&)>> paths[] = {
        {"edit in place", [&](const CLocalFile& l) { InvoiceRecord r = stored(1); r.total = 1; return UpdateInvoice(l, r) == 1; }},
        {"edit cutting the rows", [&](const CLocalFile& l) { InvoiceRecord r = stored(2); r.description[0] = std::string(39, 'X'); r.description[7] = "Y"; return UpdateInvoice(l, r) == 2; }},
        {"void", [&](const CLocalFile& l) { return VoidInvoice(l, 4) == 0; }},
        {"report adding rows", [&](const CLocalFile& l) { Fields f; return ScanSales(l, f) == ScanOutcome::Done; }},
    };
    const std::string seeded = dir.path() + "seed/";
    std::filesystem::create_directory(seeded);
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        if (e.is_regular_file())
            std::filesystem::copy_file(e.path(), seeded + e.path().filename().string());
    for (const auto& [name, path] : paths) {
        bool completed = false;
        for (long nth = 1; !completed && nth < 300; ++nth) {
            for (const auto& e : std::filesystem::directory_iterator(seeded))
                std::filesystem::copy_file(e.path(), dir.file(e.path().filename().string()),
                                           std::filesystem::copy_options::overwrite_existing);
            const int code = exitCodeOf([&] {
                FileFaults::arm(nth, nth % 2 ? FileFaults::Action::Exit : FileFaults::Action::PowerCut, true,
                                static_cast<unsigned>(nth));
                return path(local) ? 0 : 1;
            });
            ASSERT_TRUE(code == 0 || code == 86) << name << " at " << nth;
            completed = code == 0;
            Fields fromIndex, fromSales;
            const SalesIndexCheck check = CheckSalesIndex(local.GetPath("Invoices"));
            if (!check.usable)
                continue;
            ReadSalesIndex(local.GetPath("Invoices"), check.header,
                           [&](const IndexedSale& row, long long n) { fromIndex.AddSale(SaleView(row, n)); }, {});
            DataFile sales;
            ASSERT_EQ(CLocalFile::OpenFile(sales, local.GetPath("Invoices"), OpenMode::Read), FileCause::None);
            ScanInvoices(sales, check.header.covered, [&](const std::uint8_t* rec, long long n) {
                fromSales.AddSale(SaleView(rec, n));
                return true;
            });
            EXPECT_EQ(fromIndex.text, fromSales.text) << name << " ended at " << nth;
        }
        EXPECT_TRUE(completed) << name;
    }
}

}  // namespace
