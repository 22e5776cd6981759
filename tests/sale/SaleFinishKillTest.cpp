// Registers (processes) finishing sales on one data folder through the same
// finish the sale screen uses, each killed with SIGKILL after a random number
// of acknowledged sales (or at a random file operation) and started again.
// Sales have several lines over shared products; some have a new customer,
// some a customer every register uses, some rentals. Each register logs what
// it is about to finish and what was acknowledged, outside the data folder.
// Afterwards a reader that decodes the bytes itself checks the files.

#include "CLocalFile.h"
#include "DataFile.h"
#include "InvoiceFile.h"
#include "KilledRegisters.h"
#include "ProductFile.h"
#include "ProductFiles.h"
#include "SaleFinish.h"
#include "SaleState.h"
#include "SalesFileHeader.h"
#include "TempDir.h"
#include "UserPrompt.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr int kRegisters = 4;
constexpr int kProducts = 6;
constexpr int kBudget = 25;  // acknowledged sales per register
constexpr float kInitialStock = 10000;
const CalendarTime kNow{2026, 12, 7, 10, 0, 0, 1, 340};

std::string item(int p) { return "P" + std::to_string(p); }

void note(int fd, const std::string& line)
{
    const std::string text = line + "\n";
    if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        _exit(4);
}

struct Log {
    std::set<std::string> intended;
    std::map<std::string, int> acknowledged;  // tag -> record number
};

Log readLog(const std::string& path)
{
    Log log;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string kind, tag;
        int n = -1;
        words >> kind >> tag >> n;
        if (kind == "intend")
            log.intended.insert(tag);
        else if (kind == "S")
            log.acknowledged[tag] = n;
    }
    return log;
}

class Quiet : public UserPrompt, public FinishPrompt {
public:
    void showMessage(const std::string&) override {}
    bool keepWaiting(const std::string&) override { return true; }
    void tell(const std::string&) override {}
    bool askYesNo(const std::string&) override { return true; }
};

[[noreturn]] void runRegister(const std::string& folder, const std::string& logPath, int reg, int life, int notifyFd)
{
    const Log log = readLog(logPath);
    const int logFd = ::open(logPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (logFd < 0)
        _exit(5);
    static Quiet quiet;
    setUserPrompt(&quiet);
    CLocalFile local(folder);
    SalesFileHeader header;
    header.mustSelectCashier = header.mustSelectPayType = header.mustEnterCashPaid = 0;
    SaleState state(local, header, [] { return kNow; });
    SaleFinish finish(state, quiet, [] { return kNow; });
    std::mt19937 rng(static_cast<unsigned>(reg * 1000 + life));
    FileFaults::arm(1 + static_cast<long>(rng() % 600), FileFaults::Action::Kill, true);
    int acknowledged = static_cast<int>(log.acknowledged.size());
    for (int serial = 0; acknowledged < kBudget; ++serial) {
        const std::string tag = "r" + std::to_string(reg) + "l" + std::to_string(life) + "s" + std::to_string(serial);
        state.Open();
        InvoiceRecord& sale = state.current;
        const int lines = 1 + static_cast<int>(rng() % 4);
        for (int l = 0; l < lines; ++l) {
            sale.itemNumber[static_cast<std::size_t>(l)] = item(static_cast<int>(rng() % kProducts));
            sale.qty[static_cast<std::size_t>(l)] = static_cast<float>(1 + rng() % 3);
            sale.price[static_cast<std::size_t>(l)] = 2;
            sale.lineMode[static_cast<std::size_t>(l)] = 0;
        }
        switch (rng() % 3) {
        case 0: state.SetAddressLine(InvoiceRecord::kName, "New " + tag); break;
        case 1: state.SetAddressLine(InvoiceRecord::kName, "Shared " + std::to_string(rng() % 3)); break;
        default: break;  // walk-in
        }
        if (!sale.address[InvoiceRecord::kName].empty() && rng() % 2)
            sale.lineMode[0] = 1;  // rented
        state.Recalculate();
        note(logFd, "intend " + tag);
        if (finish.FinishSale({"Ann", tag, "Check"}) != SaleFinish::Result::Stored)
            _exit(3);  // nothing may refuse or fail here
        note(logFd, "S " + tag + " " + std::to_string(finish.recordNumber()));
        ++acknowledged;
        const char ack = 1;
        if (write(notifyFd, &ack, 1) != 1)
            _exit(6);
    }
    _exit(0);
}

// The check decodes the bytes itself (KilledRegisters.h), not through the code under test.
using namespace rawbytes;

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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
    {
        std::vector<ProductRecord> products;
        for (int p = 0; p < kProducts; ++p)
            products.push_back(makeProduct(item(p), kInitialStock));
        CLocalFile local(data.path());
        writeProductFile(local.GetPath("Products"), products);
    }
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
    for (const char* kind : {"Invoices", "Products", "Customers", "Rentals"}) {
        DataFile f;
        ASSERT_EQ(CLocalFile::OpenFile(f, next.GetPath(kind), OpenMode::Read), FileCause::None) << kind;
    }
    std::set<std::string> intended;
    std::map<std::string, int> acknowledged;
    for (int r = 0; r < kRegisters; ++r) {
        const Log log = readLog(logs.file("register" + std::to_string(r)));
        intended.insert(log.intended.begin(), log.intended.end());
        acknowledged.insert(log.acknowledged.begin(), log.acknowledged.end());
    }
    ASSERT_EQ(acknowledged.size(), static_cast<std::size_t>(kRegisters * kBudget));

    // Sales: each acknowledged one stored once, at its number; nothing stored
    // that was not about to be finished.
    const auto invoices = readBytes(next.GetPath("Invoices"));
    std::vector<Sale> sales;
    std::map<std::string, float> sold;
    std::map<std::string, int> timesStored;
    for (std::size_t at : counted(invoices, 0, 4, InvoiceRecord::kSize, "invoices")) {
        Sale s;
        s.tag = text(invoices, at + 564, 24);
        s.customer = text(invoices, at + 588, 40);
        s.customerNumber = u16(invoices, at + 4);
        EXPECT_EQ(i32(invoices, at + 8), static_cast<int>(sales.size())) << s.tag;
        for (std::size_t l = 0; l < InvoiceRecord::kLines; ++l) {
            const std::string it = text(invoices, at + 972 + 24 * l, 24);
            const float qty = f32(invoices, at + 60 + 4 * l);
            sold[it] += qty;
            if (invoices[at + 4652 + l] == 1)
                s.rented[lower(it)] += qty;
        }
        EXPECT_TRUE(intended.count(s.tag)) << s.tag;
        ++timesStored[s.tag];
        sales.push_back(s);
    }
    for (const auto& [tag, times] : timesStored)
        EXPECT_EQ(times, 1) << tag;
    for (const auto& [tag, n] : acknowledged) {
        ASSERT_LT(static_cast<std::size_t>(n), sales.size()) << tag;
        EXPECT_EQ(sales[static_cast<std::size_t>(n)].tag, tag);
    }

    // Stock: the start less every stored sale, to the unit.
    const auto products = readBytes(next.GetPath("Products"));
    for (std::size_t at : counted(products, 0, 4, 320, "products")) {
        const std::string it = text(products, at + 100, 24);
        EXPECT_EQ(f32(products, at + 20), kInitialStock - sold[it]) << it;
    }

    // Customers: each name once; each sale carries its customer's number.
    const auto customers = readBytes(next.GetPath("Customers"));
    std::map<std::string, int> numberOf;
    for (std::size_t at : counted(customers, 8, 236, 968, "customers")) {
        const std::string name = lower(text(customers, at + 44, 40));
        if (name.empty())
            continue;
        EXPECT_FALSE(numberOf.count(name)) << name << " stored twice";
        numberOf[name] = u16(customers, at + 4);
    }
    for (const Sale& s : sales) {
        if (s.customer == "Retail")
            EXPECT_EQ(s.customerNumber, 0) << s.tag;
        else
            EXPECT_EQ(numberOf.at(lower(s.customer)), s.customerNumber) << s.tag;
    }

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
        ProductRecord a = makeProduct("A", 10), b = makeProduct("B", 10);
        writeProductFile(local.GetPath("Products"), {a, b});
        InvoiceRecord earlier = ClearedInvoice();
        int count = 0;
        ASSERT_EQ(ReadInvoiceCount(local, count), FileCause::None);
        ASSERT_EQ(AppendInvoice(local, earlier, count, kNow), 0);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            static Quiet quiet;
            setUserPrompt(&quiet);
            SalesFileHeader header;
            header.mustSelectCashier = header.mustSelectPayType = header.mustEnterCashPaid = 0;
            SaleState state(local, header, [] { return kNow; });
            state.Open();
            state.current.itemNumber[0] = "A";
            state.current.qty[0] = 2;
            state.current.itemNumber[1] = "B";
            state.current.qty[1] = 1;
            state.current.lineMode[1] = 1;
            state.SetAddressLine(InvoiceRecord::kName, "New Renter");
            SaleFinish finish(state, quiet, [] { return kNow; });
            FileFaults::arm(op, FileFaults::Action::PowerCut, true, static_cast<unsigned>(op));
            const bool stored = finish.FinishSale({"Ann", "Bob", "Check"}) == SaleFinish::Result::Stored;
            const bool reached = FileFaults::count() >= op;
            FileFaults::disarm();
            const char said = stored ? 'S' : 'F';
            if (write(fds[1], &said, 1) != 1)
                _exit(6);
            _exit(reached ? 1 : 0);
        }
        close(fds[1]);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        char said = 0;
        const bool answered = read(fds[0], &said, 1) == 1;
        close(fds[0]);
        ASSERT_TRUE(WIFEXITED(status));
        const bool cut = WEXITSTATUS(status) == 86;
        cuts += cut;

        CLocalFile next(data.path());
        for (const char* kind : {"Invoices", "Products"}) {
            DataFile f;
            ASSERT_EQ(CLocalFile::OpenFile(f, next.GetPath(kind), OpenMode::Read), FileCause::None) << kind;
        }
        const auto invoices = readBytes(next.GetPath("Invoices"));
        const auto products = readBytes(next.GetPath("Products"));
        const auto rentals = readBytes(next.GetPath("Rentals"));
        const bool saleThere = counted(invoices, 0, 4, InvoiceRecord::kSize, "invoices").size() == 2;
        const float stockA = f32(products, 4 + 20), stockB = f32(products, 4 + 320 + 20);
        const bool rentalThere = !counted(rentals, 0, 8, 48, "rentals").empty();
        bool customerThere = false;
        const auto customers = readBytes(next.GetPath("Customers"));
        for (std::size_t at : counted(customers, 8, 236, 968, "customers"))
            customerThere |= text(customers, at + 44, 40) == "New Renter";
        if (saleThere) {
            EXPECT_EQ(stockA, 8) << op;
            EXPECT_EQ(stockB, 9) << op;
            EXPECT_TRUE(rentalThere) << op;
            EXPECT_TRUE(customerThere) << op;
            EXPECT_EQ(i32(rentals, 8 + 4), 1) << op;
        } else {
            EXPECT_FALSE(answered && said == 'S') << op << ": acknowledged but lost";
            EXPECT_EQ(stockA, 10) << op;
            EXPECT_EQ(stockB, 10) << op;
            EXPECT_FALSE(rentalThere) << op;
            EXPECT_FALSE(customerThere) << op;
        }
        if (!cut) {
            EXPECT_EQ(WEXITSTATUS(status), 0) << op;
            EXPECT_TRUE(saleThere);
            break;  // the finish ran to its end before this operation
        }
    }
    EXPECT_GT(cuts, 10);
}
