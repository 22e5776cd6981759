// What a store runs on a shared data folder: two PCs with two registers each
// finishing and voiding sales as the sale screen does, one of them killed in the
// middle of a finish. REGISTER_TORTURE_DIRS names the folder through one mount
// per PC; without it a local folder stands for both.
#include "reports/SaleScan.h"
#include "sale/FileFault.h"
#include "sale/SaleEditing.h"
#include "storage/files/SalesIndex.h"
#include "storage/io/FileWait.h"
#include "support/KilledRegisters.h"
#include "support/SaleDesk.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <set>

namespace {
using Clock = std::chrono::steady_clock;
long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

// A register of the store test: finishes and voids as the sale screen does,
// counting the "Keep waiting?" questions of each operation. After kStuckAsks
// in one operation (three minutes) it prints who holds the file and gives up.
constexpr int kStuckAsks = 36;
struct StoreRegister : QuietRegister {
    using QuietRegister::QuietRegister;
    int asked = 0;
    bool keepWaiting(const std::string& text) override
    {
        if (++asked < kStuckAsks)
            return true;
        const std::size_t from = text.find("\n\n") + 2;
        std::fprintf(stderr, "register %d: stuck; %s", getpid(),
                     lockReport(text.substr(from, text.find("\n\n", from) - from)).c_str());
        return false;
    }
    std::string told;
    void tell(const std::string& text) override { told = text; }
};

// One operation as a register logged it: "S tag number", "V number", "R what
// message" for a refusal, each with its start, its length and its questions.
struct Operation {
    char kind = 0;
    std::string what;
    int number = -1;
    int pc = 0;
    long long start = 0, ms = 0;
    int asked = 0;
    std::string message;
};
}  // namespace

// What a store runs: two PCs with two registers each finishing whole sales on
// the screen's path and voiding some of their own, one register killed by
// SIGKILL in the middle of a finish. Afterwards every acknowledged sale is
// stored once, whole, at its number, voids are voided, stock is exact, and
// the log gets the figures: refusals, the time of a finish, waits over the
// question's bound, and the longest operation of the other PC after the kill.
// Halfway each register runs a report, which extends the sales index the later
// voids keep in step; afterwards every row the index covers is its sale as stored.
// Refusals fail unless REGISTER_SHARE_REFUSALS_OK=1.
TEST(SharedFolder, TwoRegistersOnEachOfTwoPcsFinishAndVoidSalesThroughAKill)
{
    TempDir fallback, logs;
    const auto dirs = sharedDataFolders(fallback.path());
    constexpr int kRegisters = 4, kProducts = 6, kKilled = 0, kKilledAt = 2;
    constexpr float kStock = 100000;
    const char* scaleText = std::getenv("REGISTER_TORTURE_SCALE");
    const int each = std::max(4, static_cast<int>(20 * (scaleText ? std::atof(scaleText) : 1.0)));
    auto item = [](int p) { return "P" + std::to_string(p); };
    auto pcOf = [](int w) { return w / 2; };
    {
        std::vector<ProductRecord> products;
        for (int p = 0; p < kProducts; ++p)
            products.push_back(makeProduct(item(p), kStock));
        writeProductFile(CLocalFile(dirs[0]).GetPath("Products"), products);
        int none = 0;
        ASSERT_EQ(ReadInvoiceCount(CLocalFile(dirs[0]), none), FileCause::None);  // makes the empty file
    }
    std::vector<pid_t> pids;
    for (int w = 0; w < kRegisters; ++w) {
        const pid_t pid = fork();
        if (pid == 0) {
            StoreRegister r(dirs[static_cast<std::size_t>(pcOf(w)) % dirs.size()]);
            std::ofstream log(logs.file(std::to_string(w)));
            std::mt19937 rng(static_cast<unsigned>(w + 1));
            std::vector<int> mine;
            for (int s = 0; s < each; ++s) {
                const std::string tag = "w" + std::to_string(w) + "s" + std::to_string(s);
                if (s == each / 2) {
                    struct : SaleAccumulator {
                        void AddSale(const SaleView&) override {}
                    } none;
                    if (ScanSales(r.local, none) != ScanOutcome::Done)
                        log << "0 0 0 R report not done" << std::endl;
                }
                if (w == kKilled && s == kKilledAt)
                    FileFaults::arm(1 + static_cast<long>(rng() % 20), FileFaults::Action::Kill, true);
                r.asked = 0;
                r.told.clear();
                const long long start = nowMs();
                std::string done;
                if (!mine.empty() && rng() % 5 == 0 && !(w == kKilled && s == kKilledAt)) {
                    const int n = mine[rng() % mine.size()];
                    std::erase(mine, n);
                    log << "intend V " << n << std::endl;
                    SaleEditing editing(r.state);
                    if (r.state.GoToRecord(n) && editing.Void() == SaleEditing::Result::Done)
                        done = "V " + std::to_string(n);
                    else
                        done = "R void " + FaultText(editing.fault());
                } else {
                    r.state.Open();
                    for (std::size_t l = 0, lines = 1 + rng() % 4; l < lines; ++l) {
                        r.state.current.itemNumber[l] = item(static_cast<int>(rng() % kProducts));
                        r.state.current.qty[l] = static_cast<float>(1 + rng() % 3);
                        r.state.current.price[l] = 2;
                    }
                    r.state.Recalculate();
                    log << "intend S " << tag << std::endl;
                    if (r.finish.FinishSale({"Ann", tag, "Check"}) == SaleFinish::Result::Stored) {
                        done = "S " + tag + " " + std::to_string(r.finish.recordNumber());
                        mine.push_back(r.finish.recordNumber());
                    } else {
                        done = "R sale " + r.told;
                    }
                }
                std::replace(done.begin(), done.end(), '\n', ' ');
                log << nowMs() - start << " " << r.asked << " " << start << " " << done << std::endl;
            }
            _exit(log.good() ? 0 : 1);
        }
        pids.push_back(pid);
    }
    long long killedAt = -1;
    for (std::size_t left = pids.size(); left > 0; --left) {
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        ASSERT_GT(pid, 0);
        const bool killed = pid == pids[kKilled];
        if (killed)
            killedAt = nowMs();
        EXPECT_TRUE(killed ? WIFSIGNALED(status) : WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "register " << std::find(pids.begin(), pids.end(), pid) - pids.begin() << " status " << status;
    }

    std::vector<Operation> ops;
    std::set<std::string> intended;
    for (int w = 0; w < kRegisters; ++w) {
        std::ifstream in(logs.file(std::to_string(w)));
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            Operation op;
            op.pc = pcOf(w);
            if (line.rfind("intend ", 0) == 0) {
                intended.insert(line.substr(7));
                continue;
            }
            words >> op.ms >> op.asked >> op.start >> op.kind >> op.what;
            if (op.kind == 'R')
                std::getline(words >> std::ws, op.message);
            else if (op.kind == 'S')
                words >> op.number;
            else
                op.number = std::stoi(op.what);
            ops.push_back(op);
        }
    }

    // The files as bytes, after the next register has rolled back what the killed one left.
    CLocalFile next(dirs[0]);
    for (const char* kind : {"Invoices", "Products"}) {
        DataFile f;
        ASSERT_EQ(CLocalFile::OpenFile(f, next.GetPath(kind), OpenMode::Read), FileCause::None) << kind;
    }
    using namespace rawbytes;
    const auto invoices = readBytes(next.GetPath("Invoices"));
    std::map<std::string, int> storedAt;
    std::map<std::string, float> sold;
    std::set<int> emptied;
    std::vector<std::size_t> recordAt;
    for (std::size_t at : counted(invoices, 0, 4, InvoiceRecord::kSize, "invoices")) {
        const int n = static_cast<int>(storedAt.size());
        recordAt.push_back(at);
        const std::string tag = text(invoices, at + 564, 24);
        EXPECT_TRUE(intended.count("S " + tag)) << "a sale nobody finished: " << tag;
        EXPECT_TRUE(storedAt.emplace(tag, n).second) << tag << " stored twice";
        EXPECT_EQ(i32(invoices, at + 8), n) << tag;
        bool empty = true;
        for (std::size_t l = 0; l < InvoiceRecord::kLines; ++l) {
            const float qty = f32(invoices, at + 60 + 4 * l);
            sold[text(invoices, at + 972 + 24 * l, 24)] += qty;
            empty = empty && qty == 0;
        }
        if (empty)
            emptied.insert(n);
    }
    const SalesIndexCheck index = CheckSalesIndex(next.GetPath("Invoices"));
    ASSERT_TRUE(index.usable);
    // A report's rows are dropped when a sale was rewritten meanwhile, so how
    // many sales the index covers depends on the interleaving; it is logged.
    const long long rows = ReadSalesIndex(next.GetPath("Invoices"), index.header, [&](const IndexedSale& row, long long n) {
        const SaleView indexed(row, n), stored(invoices.data() + recordAt.at(static_cast<std::size_t>(n)), n);
        EXPECT_EQ(indexed.total(), stored.total()) << "index row " << n;
        for (std::size_t l = 0; l < InvoiceRecord::kLines; ++l) {
            EXPECT_EQ(indexed.qty(l), stored.qty(l)) << "index row " << n << " line " << l;
            EXPECT_EQ(indexed.itemNumber(l), stored.itemNumber(l)) << "index row " << n << " line " << l;
        }
    }, {});
    EXPECT_EQ(rows, index.header.covered);
    const auto products = readBytes(next.GetPath("Products"));
    for (std::size_t at : counted(products, 0, 4, ProductRecord::kSize, "products")) {
        const std::string code = text(products, at + 100, 24);
        EXPECT_EQ(std::lround(f32(products, at + 20) + sold[code]), std::lround(kStock)) << "stock of " << code;
    }

    std::map<std::string, int> refusals;
    std::vector<long long> finishMs;
    int finishes = 0, voids = 0, overBound = 0, silent = 0;
    long long otherPcAfterKill = 0, samePcAfterKill = 0;
    for (const Operation& op : ops) {
        if (op.kind == 'S') {
            ++finishes;
            finishMs.push_back(op.ms);
            EXPECT_EQ(storedAt.count(op.what) ? storedAt[op.what] : -1, op.number) << "acknowledged sale " << op.what;
            EXPECT_FALSE(emptied.count(op.number) && !intended.count("V " + std::to_string(op.number)))
                << op.what << " emptied by nobody";
        } else if (op.kind == 'V') {
            ++voids;
            EXPECT_TRUE(emptied.count(op.number)) << "acknowledged void of sale " << op.number << " missing";
        } else {
            ++refusals[op.what + ": " + op.message];
        }
        overBound += op.ms > FileWait::waitBeforeAsking();
        silent += op.ms > 2 * FileWait::waitBeforeAsking() && op.asked == 0;
        long long& afterKill = op.pc == pcOf(kKilled) ? samePcAfterKill : otherPcAfterKill;
        if (killedAt >= 0 && op.start + op.ms > killedAt)
            afterKill = std::max(afterKill, op.ms);
    }
    std::sort(finishMs.begin(), finishMs.end());
    int refused = 0;
    for (const auto& [why, n] : refusals) {
        refused += n;
        std::printf("refused %d times: %s\n", n, why.c_str());
    }
    std::printf("store: the sales index covers %lld of %zu sales\n", index.header.covered, recordAt.size());
    std::printf("store: %d registers on %zu mounts: %d finishes, %d voids, %d refused; one finish %.2f s (median), "
                "%.2f s longest; %d operations over %d s (%d over twice that without the question); after the kill "
                "the longest operation took %.2f s on the other PC, %.2f s on the same PC\n",
                kRegisters, dirs.size(), finishes, voids, refused,
                finishMs.empty() ? 0.0 : finishMs[finishMs.size() / 2] / 1000.0,
                finishMs.empty() ? 0.0 : finishMs.back() / 1000.0, overBound, FileWait::waitBeforeAsking() / 1000,
                silent, otherPcAfterKill / 1000.0, samePcAfterKill / 1000.0);
    EXPECT_GE(killedAt, 0) << "the register meant to die finished";
    EXPECT_GT(finishes, (kRegisters - 1) * each / 2);
    const char* refusalsOk = std::getenv("REGISTER_SHARE_REFUSALS_OK");
    EXPECT_TRUE(refused == 0 || (refusalsOk && std::string(refusalsOk) == "1")) << refused << " refused";
}
