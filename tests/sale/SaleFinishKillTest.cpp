// Registers (processes) finishing sales on one data folder as the sale screen
// does, killed after a random number of acknowledged sales or at a random file
// operation and started again. Each logs, outside the folder, what it is about
// to finish and what was acknowledged; the files are then checked byte by byte.
#include "sale/SaleEditing.h"
#include "storage/io/DataFile.h"
#include "support/KilledRegisters.h"
#include "support/ProductFiles.h"
#include "support/SaleDesk.h"
#include "support/StoredRecords.h"

#include <fcntl.h>
#include <fstream>
#include <map>
#include <set>
#include <signal.h>

namespace {
constexpr int kRegisters = 4;
constexpr int kProducts = 6;
constexpr int kBudget = 25;  // acknowledged sales per register
constexpr float kInitialStock = 10000;

std::string item(int p) { return "P" + std::to_string(p); }

struct Log {
    std::set<std::string> intended;
    std::map<std::string, int> acknowledged;  // tag -> record number
};

// Adds what the log at `path` holds to `log`.
void readLog(const std::string& path, Log& log)
{
    std::ifstream in(path);
    std::string kind, tag;
    for (int n = -1; in >> kind >> tag; n = -1)
        if (kind == "intend")
            log.intended.insert(tag);
        else if (in >> n)
            log.acknowledged[tag] = n;
}

[[noreturn]] void runRegister(const std::string& folder, const std::string& logPath, int reg, int life, int notifyFd)
{
    Log log;
    readLog(logPath, log);
    const int logFd = ::open(logPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (logFd < 0)
        _exit(5);
    QuietRegister r(folder);
    std::mt19937 rng(static_cast<unsigned>(reg * 1000 + life));
    FileFaults::arm(1 + static_cast<long>(rng() % 600), FileFaults::Action::Kill, true);
    for (int serial = 0, acknowledged = static_cast<int>(log.acknowledged.size()); acknowledged < kBudget; ++serial) {
        const std::string tag = "r" + std::to_string(reg) + "l" + std::to_string(life) + "s" + std::to_string(serial);
        r.state.Open();
        InvoiceRecord& sale = r.state.current;
        for (std::size_t l = 0, lines = 1 + rng() % 4; l < lines; ++l) {
            sale.itemNumber[l] = item(static_cast<int>(rng() % kProducts));
            sale.qty[l] = static_cast<float>(1 + rng() % 3);
            sale.price[l] = 2;
            sale.lineMode[l] = 0;
        }
        if (const auto kind = rng() % 3; kind < 2)  // a new customer, one every register uses, or a walk-in
            r.state.SetAddressLine(InvoiceRecord::kName, kind == 0 ? "New " + tag : "Shared " + std::to_string(rng() % 3));
        if (!sale.address[InvoiceRecord::kName].empty() && rng() % 2)
            sale.lineMode[0] = 1;  // rented
        r.state.Recalculate();
        noteLine(logFd, "intend " + tag);
        if (r.finish.FinishSale({"Ann", tag, "Check"}) != SaleFinish::Result::Stored)
            _exit(3);  // nothing may refuse or fail here
        noteLine(logFd, "S " + tag + " " + std::to_string(r.finish.recordNumber()));
        ++acknowledged;
        if (write(notifyFd, "a", 1) != 1)
            _exit(6);
    }
    _exit(0);
}

// The check decodes the bytes itself (KilledRegisters.h), not through the code under test.
using namespace rawbytes;

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}
struct Sale {
    std::string tag, customer;
    int customerNumber = 0;
    std::map<std::string, float> rented;
};
}  // namespace

TEST(SaleFinishKill, KilledRegistersStoreEveryAcknowledgedSaleOnceWithItsStockCustomerAndRentals)
{
    TempDir data, logs;
    std::vector<ProductRecord> products;
    for (int p = 0; p < kProducts; ++p)
        products.push_back(makeProduct(item(p), kInitialStock));
    writeProductFile(CLocalFile(data.path()).GetPath("Products"), products);
    std::mt19937 rng(20261207);
    int kills = 0;
    RunKilledRegisters<kRegisters>(
        rng,
        [&](int r, int life, int fd) {
            runRegister(data.path(), logs.file("register" + std::to_string(r)), r, life, fd);
        },
        kills);
    EXPECT_GT(kills, 0);

    // The next register opens every file, rolling back what a killed one left.
    CLocalFile next(data.path());
    expectFilesOpen(next, {"Invoices", "Products", "Customers", "Rentals"});
    Log all;
    for (int r = 0; r < kRegisters; ++r)
        readLog(logs.file("register" + std::to_string(r)), all);
    const auto& [intended, acknowledged] = all;
    ASSERT_EQ(acknowledged.size(), static_cast<std::size_t>(kRegisters * kBudget));

    // Sales: each acknowledged one stored once, at its number; nothing stored
    // that was not about to be finished.
    const auto invoices = readBytes(next.GetPath("Invoices"));
    std::vector<Sale> sales;
    std::map<std::string, float> sold;
    std::set<std::string> seen;
    for (std::size_t at : counted(invoices, 0, 4, InvoiceRecord::kSize, "invoices")) {
        Sale s{.tag = text(invoices, at + 564, 24), .customer = text(invoices, at + 588, 40),
               .customerNumber = u16(invoices, at + 4), .rented = {}};
        EXPECT_EQ(i32(invoices, at + 8), static_cast<int>(sales.size())) << s.tag;
        for (std::size_t l = 0; l < InvoiceRecord::kLines; ++l) {
            const std::string it = text(invoices, at + 972 + 24 * l, 24);
            const float qty = f32(invoices, at + 60 + 4 * l);
            sold[it] += qty;
            if (invoices[at + 4652 + l] == 1)
                s.rented[lower(it)] += qty;
        }
        EXPECT_TRUE(intended.count(s.tag)) << s.tag;
        EXPECT_TRUE(seen.insert(s.tag).second) << s.tag << " stored twice";
        sales.push_back(s);
    }
    for (const auto& [tag, n] : acknowledged) {
        ASSERT_LT(static_cast<std::size_t>(n), sales.size()) << tag;
        EXPECT_EQ(sales[static_cast<std::size_t>(n)].tag, tag);
    }

    // Stock: the start less every stored sale, to the unit.
    const auto stock = readBytes(next.GetPath("Products"));
    for (std::size_t at : counted(stock, 0, 4, 320, "products")) {
        const std::string it = text(stock, at + 100, 24);
        EXPECT_EQ(f32(stock, at + 20), kInitialStock - sold[it]) << it;
    }

    // Customers: each name once; each sale carries its customer's number.
    const auto customers = readBytes(next.GetPath("Customers"));
    std::map<std::string, int> numberOf;
    for (std::size_t at : counted(customers, 8, 236, 968, "customers")) {
        const std::string name = lower(text(customers, at + 44, 40));
        EXPECT_TRUE(name.empty() || numberOf.emplace(name, u16(customers, at + 4)).second) << name << " stored twice";
    }
    for (const Sale& s : sales)
        EXPECT_EQ(s.customer == "Retail" ? 0 : numberOf.at(lower(s.customer)), s.customerNumber) << s.tag;

    // Rentals: each points at its own sale, and every rented line is recorded.
    const auto rentals = readBytes(next.GetPath("Rentals"));
    std::map<int, std::map<std::string, float>> recorded;
    for (std::size_t at : counted(rentals, 0, 8, 48, "rentals")) {
        const int n = i32(rentals, at + 4);
        ASSERT_GE(n, 0);
        ASSERT_LT(static_cast<std::size_t>(n), sales.size());
        EXPECT_EQ(u16(rentals, at + 8), sales[static_cast<std::size_t>(n)].customerNumber);
        recorded[n][lower(text(rentals, at + 24, 24))] += f32(rentals, at);
    }
    int withRentals = 0;
    for (std::size_t n = 0; n < sales.size(); ++n) {
        EXPECT_EQ(recorded[static_cast<int>(n)], sales[n].rented) << sales[n].tag;
        withRentals += !sales[n].rented.empty();
    }
    EXPECT_GT(withRentals, 0);
}

// A power cut at every file operation of one finish (a new customer, a rental,
// a sale another register stored before): afterwards the files hold the whole
// finished sale or none of it, and the whole of it when the finish had said so.
TEST(SaleFinishKill, APowerCutAtAnyOperationLeavesTheWholeSaleOrNothing)
{
    int cuts = 0;
    for (long op = 1;; ++op) {
        TempDir data;
        CLocalFile local(data.path());
        writeProductFile(local.GetPath("Products"), {makeProduct("A", 10), makeProduct("B", 10)});
        ASSERT_EQ(storeSale(local, SaleSpec()), 0);
        ChildProcess child([&](int fd) {
            QuietRegister r(data.path());
            r.state.Open();
            InvoiceRecord& s = r.state.current;
            std::tie(s.itemNumber[0], s.qty[0], s.itemNumber[1], s.qty[1], s.lineMode[1]) =
                std::tuple{"A", 2.0f, "B", 1.0f, std::uint8_t{1}};
            r.state.SetAddressLine(InvoiceRecord::kName, "New Renter");
            FileFaults::arm(op, FileFaults::Action::PowerCut, true, static_cast<unsigned>(op));
            const bool stored = r.finish.FinishSale({"Ann", "Bob", "Check"}) == SaleFinish::Result::Stored;
            const bool reached = FileFaults::count() >= op;
            FileFaults::disarm();
            if (write(fd, stored ? "S" : "F", 1) != 1)
                _exit(6);
            _exit(reached ? 1 : 0);
        });
        char said = 0;
        const bool answered = read(child.fd, &said, 1) == 1;
        const int status = child.wait();
        ASSERT_TRUE(WIFEXITED(status));
        const bool cut = WEXITSTATUS(status) == 86;
        cuts += cut;

        CLocalFile next(data.path());
        expectFilesOpen(next, {"Invoices", "Products"});
        const auto products = readBytes(next.GetPath("Products"));
        const auto rentals = readBytes(next.GetPath("Rentals"));
        const auto customers = readBytes(next.GetPath("Customers"));
        const bool saleThere = counted(readBytes(next.GetPath("Invoices")), 0, 4, InvoiceRecord::kSize, "invoices").size() == 2;
        const bool rentalThere = !counted(rentals, 0, 8, 48, "rentals").empty();
        bool customerThere = false;
        for (std::size_t at : counted(customers, 8, 236, 968, "customers"))
            customerThere |= text(customers, at + 44, 40) == "New Renter";
        EXPECT_EQ(f32(products, 4 + 20), saleThere ? 8 : 10) << op;
        EXPECT_EQ(f32(products, 4 + 320 + 20), saleThere ? 9 : 10) << op;
        EXPECT_EQ(rentalThere, saleThere) << op;
        EXPECT_EQ(customerThere, saleThere) << op;
        EXPECT_TRUE(saleThere || !(answered && said == 'S')) << op << ": acknowledged but lost";
        EXPECT_TRUE(!saleThere || i32(rentals, 8 + 4) == 1) << op << ": the rental names another sale";
        if (!cut) {
            EXPECT_EQ(WEXITSTATUS(status), 0) << op;
            EXPECT_TRUE(saleThere);
            break;  // the finish ran to its end before this operation
        }
    }
    EXPECT_GT(cuts, 10);
}

// A register killed with SIGKILL while it edits a stored sale, with the edit
// open and at each file operation of finishing it: started again, the files
// hold the sale and stock as they were, or the finished edit whole.
TEST(SaleEditKill, AKilledEditLeavesTheSaleAsStoredOrTheFinishedEditWhole)
{
    TempDir dir;
    CLocalFile local(dir.path());
    writeProductFile(local.GetPath("Products"), {makeProduct("A", 8), makeProduct("B", 10)});
    storeSale(local, SaleSpec().item("A").qty(2).total(20));
    const auto invoices = readBytes(local.GetPath("Invoices")), products = readBytes(local.GetPath("Products"));
    InvoiceRecord asStored;
    ASSERT_TRUE(ReadInvoice(local, 0, asStored));
    int kept = 0, finished = 0;
    bool completed = false;
    // killAt 0: killed with the edit open; else at that file operation of the
    // finish (exit 0 when it needed fewer).
    for (long killAt = 0; killAt < 500 && !completed; ++killAt) {
        writeBytes(local.GetPath("Invoices"), invoices);
        writeBytes(local.GetPath("Products"), products);
        ChildProcess child([&](int readyFd) {
            QuietRegister r(dir.path());
            r.state.Open();
            r.state.GoToRecord(0);
            if (SaleEditing(r.state).BeginEdit() != SaleEditing::Result::Done)
                _exit(3);
            InvoiceRecord& s = r.state.current;
            std::tie(s.qty[0], s.itemNumber[1], s.qty[1]) = std::tuple{3.0f, "B", 1.0f};
            if (killAt == 0 && write(readyFd, "r", 1) == 1)
                for (;;)
                    pause();
            FileFaults::arm(killAt, FileFaults::Action::Kill, true);
            _exit(r.finish.FinishSale({"Ann", "", "Check"}) == SaleFinish::Result::Stored ? 0 : 5);
        });
        char ready;
        if (killAt == 0 && read(child.fd, &ready, 1) == 1)
            kill(child.pid, SIGKILL);
        const int status = child.wait();
        completed = WIFEXITED(status);
        ASSERT_TRUE(completed ? WEXITSTATUS(status) == 0 : WTERMSIG(status) == SIGKILL) << killAt;

        // Started again: opening rolls back what the killed register left.
        CLocalFile again(dir.path());
        SalesFileHeader header;
        SaleState state(again, header, [] { return kDeskNow; });
        state.Open();
        EXPECT_EQ(state.count, 1) << killAt;
        InvoiceRecord now;
        ASSERT_TRUE(ReadInvoice(again, 0, now)) << killAt;
        const bool asBefore = now == asStored;
        (asBefore ? kept : finished)++;
        EXPECT_FALSE(asBefore && completed) << "a finish that returned Stored is in the file";
        EXPECT_EQ(now.qty[0], asBefore ? 2 : 3) << killAt;
        EXPECT_EQ(storedStock(again, "A"), asBefore ? 8 : 7) << killAt;
        EXPECT_EQ(storedStock(again, "B"), asBefore ? 10 : 9) << killAt;
    }
    EXPECT_TRUE(completed);
    EXPECT_GT(kept, 1);  // the open edit, and the finish killed before its commit
    EXPECT_GE(finished, 1);
}
