// Several registers (processes) selling, voiding, returning stock, saving and
// deleting quotes and taking payments on one data folder (sharedDataFolders),
// each killed with SIGKILL after a random number of acknowledged operations and
// started again. Each register notes what it is about to do and what was
// acknowledged in a log outside the data folder; at the end a reader that
// decodes the bytes itself checks the files against those logs.
// REGISTER_TORTURE_SCALE multiplies the number of operations (default 1).

#include "RecordBuilders.h"
#include "products/SaleStock.h"
#include "receivables/PaidRule.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/PaymentFile.h"
#include "storage/files/ProductFile.h"
#include "storage/files/QuoteFile.h"
#include "storage/io/UserPrompt.h"
#include "storage/journal/Transaction.h"
#include "support/KilledRegisters.h"
#include "support/TempDir.h"

#include <algorithm>
#include <map>
#include <set>

namespace {
constexpr int kRegisters = 4;
constexpr int kProducts = 10;
constexpr float kInitialStock = 1000;
const CalendarTime kNow{2006, 7, 1, 10, 0, 0};

int scale()
{
    const char* env = std::getenv("REGISTER_TORTURE_SCALE");
    const double s = env ? std::atof(env) : 1.0;
    return s > 0 ? std::max(1, static_cast<int>(s * 40)) : 40;
}

std::string item(int p) { return "P" + std::to_string(p); }

struct Log {
    std::set<std::string> intended;     // "S tag", "V n", "D q", "P tag", "E n"
    std::set<std::string> acknowledged;
    std::vector<int> sales;             // record numbers of acknowledged sales
    std::vector<int> quotes;            // numbers of acknowledged quotes not yet deleted
    std::map<std::string, int> quoteOf;  // acknowledged quote: tag -> number
    int lines = 0;
};

Log readLog(const std::string& path)
{
    Log log;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string kind, what, arg;
        words >> kind >> what >> arg;
        if (kind == "intend") {
            log.intended.insert(what + " " + arg);
            continue;
        }
        log.acknowledged.insert(kind + " " + what);
        ++log.lines;
        if (kind == "S")
            log.sales.push_back(std::stoi(arg));
        if (kind == "Q") {
            log.quotes.push_back(std::stoi(arg));
            log.quoteOf[what] = std::stoi(arg);
        }
        if (kind == "D")
            std::erase(log.quotes, std::stoi(what));
    }
    return log;
}

// Registers here answer nobody: waits go on, and the last message is kept to
// say why an operation failed. kStuckAsks questions in one operation (three
// minutes, where an operation takes well under a second) mean a lock nobody lets
// go: the register prints what holds it and gives up, failing the test, not
// hanging it. An SMB server waits 35 s for a lease break the client never
// answers, and such waits can follow each other: a minute is not enough there.
constexpr int kStuckAsks = 36;
class QuietPrompt : public UserPrompt {
public:
    QuietPrompt() { setUserPrompt(this); }
    ~QuietPrompt() override { setUserPrompt(nullptr); }
    void showMessage(const std::string& text) override { last = text; }
    bool keepWaiting(const std::string& text) override
    {
        if (++asked < kStuckAsks)
            return true;
        const std::size_t from = text.find("\n\n") + 2;
        const std::string path = text.substr(from, text.find("\n\n", from) - from);
        std::fprintf(stderr, "%s: stuck, still waiting after %d questions in one operation; %s", who.c_str(), asked,
                     lockReport(path).c_str());
        return false;
    }
    std::string last;
    std::string who = "check";
    int asked = 0;  // questions in the current operation
};

// A register's life until it has done `budget` operations; exits 0 then.
[[noreturn]] void runRegister(const std::string& folder, const std::string& logPath, int reg, int life, int budget,
                              int notifyFd)
{
    Log log = readLog(logPath);
    const int logFd = ::open(logPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (logFd < 0)
        _exit(5);
    static QuietPrompt quiet;
    quiet.who = "register " + std::to_string(reg) + " (pid " + std::to_string(getpid()) + ")";
    CLocalFile local(folder);
    std::mt19937 rng(static_cast<unsigned>(reg * 1000 + life));
    // Killed at a random file operation of a later life, or by the parent
    // after a random number of acknowledgements, whichever comes first.
    FileFaults::arm(1 + static_cast<long>(rng() % 400), FileFaults::Action::Kill, true);
    for (int serial = 0; log.lines < budget; ++serial) {
        const std::string tag = "r" + std::to_string(reg) + "l" + std::to_string(life) + "s" + std::to_string(serial);
        const unsigned pick = rng() % 10;
        std::string done;
        quiet.asked = 0;
        if (pick < 4 || log.sales.empty()) {
            // A sale and its stock, as one transaction.
            InvoiceRecord sale = ClearedInvoice();
            sale.cashier = tag;
            sale.payType = "Cash";
            std::vector<StockLine> lines;
            for (std::size_t l = 0, n = 1 + rng() % 5; l < n; ++l) {
                sale.itemNumber[l] = item(static_cast<int>(rng() % kProducts));
                sale.qty[l] = static_cast<float>(1 + rng() % 3);
                sale.description[l] = "line";
                lines.push_back({sale.itemNumber[l], sale.qty[l]});
            }
            noteLine(logFd, "intend S " + tag);
            Transaction tx;
            tx.add(local.GetPath("Invoices"));
            tx.add(local.GetPath("Products"));
            int n = -1;
            if (tx.begin() == FileCause::None && (n = AppendInvoiceIn(tx, local, sale, kNow, PaidRuleIn(tx, local))) >= 0 &&
                ApplySaleToStock(tx, tx.file(local.GetPath("Products")), lines, StockDirection::Take) ==
                    FileCause::None &&
                tx.commit() == FileCause::None)
                done = "S " + tag + " " + std::to_string(n);
            if (!done.empty())
                log.sales.push_back(n);
        } else if (pick < 6) {  // a void (V) or a return to stock (E)
            const int n = log.sales[rng() % log.sales.size()];
            const std::string what = (pick < 5 ? "V " : "E ") + std::to_string(n);
            noteLine(logFd, "intend " + what);
            if ((pick < 5 ? VoidInvoice(local, n) : ReturnInvoiceToStock(local, n)) == FileCause::None)
                done = what;
        } else if (pick < 8) {
            InvoiceRecord quote = ClearedInvoice();
            quote.cashier = tag;
            noteLine(logFd, "intend Q " + tag);
            const int q = SaveQuote(local, quote, kNow);
            if (q >= 0) {
                done = "Q " + tag + " " + std::to_string(q);
                log.quotes.push_back(q);
            }
        } else if (pick < 9 && !log.quotes.empty()) {
            const int q = log.quotes[rng() % log.quotes.size()];
            noteLine(logFd, "intend D " + std::to_string(q));
            // Gone already when the last life was killed after deleting it.
            const bool deleted = DeleteQuote(local, q);
            InvoiceRecord left;
            if (!ReadQuote(local, q, left)) {
                done = "D " + std::to_string(q);
                std::erase(log.quotes, q);
            } else {
                std::fprintf(stderr, "register %d: quote %d still there after its delete %s\n", reg, q,
                             deleted ? "succeeded" : "failed");
            }
        } else {
            PaymentRecord payment;
            payment.invoiceNumber = log.sales[rng() % log.sales.size()];
            payment.amount = 1;
            payment.notes = tag;
            noteLine(logFd, "intend P " + tag);
            if (AppendPayment(local, payment) >= 0)
                done = "P " + tag + " " + std::to_string(payment.invoiceNumber);
        }
        if (done.empty()) {
            std::fprintf(stderr, "register %d, life %d: operation %u (%s) failed; last message: %s\n", reg, life, pick,
                         tag.c_str(), quiet.last.c_str());
            _exit(3);  // no operation may fail here
        }
        noteLine(logFd, done);
        ++log.lines;
        if (write(notifyFd, "a", 1) != 1)
            _exit(6);
    }
    _exit(0);
}

// The check decodes the bytes itself (KilledRegisters.h), not through the code under test.
using namespace rawbytes;
}  // namespace

TEST(StorageTorture, KilledRegistersLeaveEveryAcknowledgedChangeWholeAndStockBalanced)
{
    TempDir fresh, logs;
    const std::vector<std::string> folders = sharedDataFolders(fresh.path());
    const int budget = scale();
    {
        CLocalFile local(folders[0]);
        int count = 0;
        ASSERT_EQ(ReadInvoiceCount(local, count), FileCause::None);
        ASSERT_EQ(count, 0) << "the data folder must start empty";
        ASSERT_EQ(EnsureProductFile(local), FileCause::None);
        for (int p = 0; p < kProducts; ++p)
            ASSERT_EQ(AppendProduct(local, productWithStock(item(p), kInitialStock)), FileCause::None);
    }

    std::mt19937 rng(19990101);
    int kills = 0;
    RunKilledRegisters<kRegisters>(
        rng,
        [&](int r, int life, int fd) {
            runRegister(folders[static_cast<std::size_t>(r) % folders.size()], logs.file("register" + std::to_string(r)),
                        r, life, budget, fd);
        },
        kills);
    EXPECT_GT(kills, 0);

    // The next register opens every file, rolling back what a killed one left.
    QuietPrompt checking;
    CLocalFile next(folders[0]);
    expectFilesOpen(next, {"Invoices", "Products", "Quotes", "Payments"});
    EXPECT_FALSE(journalHoldsAChange(folders[0]));

    std::set<std::string> intended, acknowledged;
    std::map<std::string, int> quoteOf;
    for (int r = 0; r < kRegisters; ++r) {
        const Log log = readLog(logs.file("register" + std::to_string(r)));
        intended.insert(log.intended.begin(), log.intended.end());
        acknowledged.insert(log.acknowledged.begin(), log.acknowledged.end());
        quoteOf.insert(log.quoteOf.begin(), log.quoteOf.end());
    }
    auto acked = [&](const std::string& what) { return acknowledged.count(what) > 0; };
    auto meant = [&](const std::string& what) { return intended.count(what) > 0; };

    // Sales: each acknowledged one once, nothing unknown, stock and sales balanced.
    const auto invoices = readBytes(next.GetPath("Invoices"));
    std::map<std::string, int> saleTags;
    std::map<std::string, float> sold;
    int position = 0;
    for (std::size_t at : counted(invoices, 0, 4, 4728, "invoices")) {
        const std::string tag = text(invoices, at + 540, 24);
        EXPECT_TRUE(meant("S " + tag)) << "a sale nobody made: " << tag;
        EXPECT_EQ(++saleTags[tag], 1) << "sale twice: " << tag;
        bool emptied = true, voided = true;
        for (std::size_t l = 0; l < 20; ++l) {
            const std::string code = text(invoices, at + 972 + 24 * l, 24);
            if (code.empty())
                continue;
            const float qty = f32(invoices, at + 60 + 4 * l);
            sold[code] += qty;
            emptied = emptied && qty == 0;
            voided = voided && text(invoices, at + 1452 + 40 * l, 40).rfind("VOIDED - ", 0) == 0;
        }
        const std::string n = std::to_string(position++);
        if (acked("V " + n)) {
            EXPECT_TRUE(emptied && voided) << "acknowledged void of sale " << n << " missing";
        } else if (acked("E " + n)) {
            EXPECT_TRUE(emptied) << "acknowledged return of sale " << n << " missing";
        } else if (!meant("V " + n) && !meant("E " + n)) {
            EXPECT_FALSE(emptied) << "sale " << n << " emptied by nobody";
        }
    }

    const auto products = readBytes(next.GetPath("Products"));
    const auto productAt = counted(products, 0, 4, 320, "products");
    ASSERT_EQ(productAt.size(), static_cast<std::size_t>(kProducts));
    for (std::size_t at : productAt) {
        const std::string code = text(products, at + 100, 24);
        EXPECT_EQ(f32(products, at + 20) + sold[code], kInitialStock) << "stock of " << code;
    }

    // Quotes: acknowledged ones there unless a delete was meant, deleted ones gone.
    const auto quotes = readBytes(next.GetPath("Quotes"));
    std::set<long long> numbers;
    std::set<std::string> quoteTags;
    for (std::size_t at : counted(quotes, 0, 8, 4728, "quotes")) {
        const long long q = i32(quotes, at + 8);
        const std::string tag = text(quotes, at + 540, 24);
        EXPECT_TRUE(numbers.insert(q).second) << "quote number twice: " << q;
        EXPECT_TRUE(quoteTags.insert(tag).second) << "quote twice: " << tag;
        EXPECT_TRUE(meant("Q " + tag)) << "a quote nobody saved: " << tag;
        EXPECT_FALSE(acked("D " + std::to_string(q))) << "deleted quote back: " << q;
    }
    for (const auto& [tag, q] : quoteOf) {
        if (!quoteTags.count(tag)) {
            EXPECT_TRUE(meant("D " + std::to_string(q))) << "acknowledged quote lost: " << tag;
        }
    }

    // Payments: each taken once; then every acknowledged sale and payment stored.
    const auto payments = readBytes(next.GetPath("Payments"));
    std::map<std::string, int> paid;
    for (std::size_t at : counted(payments, 0, 12, 220, "payments")) {
        const std::string tag = text(payments, at + 178, 42);
        EXPECT_TRUE(meant("P " + tag)) << "a payment nobody took: " << tag;
        EXPECT_EQ(++paid[tag], 1) << "payment twice: " << tag;
    }
    for (const std::string& a : acknowledged) {
        if (a[0] == 'S' || a[0] == 'P') {
            EXPECT_EQ((a[0] == 'S' ? saleTags : paid).count(a.substr(2)), 1u) << "acknowledged change lost: " << a;
        }
    }
    EXPECT_GT(std::ranges::count_if(acknowledged, [](const std::string& a) { return a[0] == 'S'; }), 0);
    RecordProperty("kills", kills);
    RecordProperty("acknowledged", static_cast<int>(acknowledged.size()));
}
