// A register killed with SIGKILL while it edits a stored sale: with the edit
// open, and at every file operation of finishing it. Started again, the files
// hold either the sale and stock as they were, or the finished edit whole.

#include "CLocalFile.h"
#include "DataFile.h"
#include "InvoiceFile.h"
#include "ProductFiles.h"
#include "SaleEditing.h"
#include "SaleFinish.h"
#include "SaleState.h"
#include "SalesFileHeader.h"
#include "StoredRecords.h"
#include "TempDir.h"
#include "UserPrompt.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const CalendarTime kNow{2026, 12, 7, 9, 30, 0, 1, 340};

class Quiet : public UserPrompt, public FinishPrompt {
public:
    void showMessage(const std::string&) override {}
    bool keepWaiting(const std::string&) override { return true; }
    void tell(const std::string&) override {}
    bool askYesNo(const std::string&) override { return true; }
};

// The child: edits sale 0 (three A instead of two, one B added); with killAt 0
// it says so and waits to be killed, else it is killed at that file operation
// of the finish, or exits 0 when the finish needed fewer.
[[noreturn]] void editor(const std::string& folder, long killAt, int notifyFd)
{
    static Quiet quiet;
    setUserPrompt(&quiet);
    CLocalFile local(folder);
    SalesFileHeader header;
    SaleState state(local, header, [] { return kNow; });
    SaleFinish finish(state, quiet, [] { return kNow; });
    state.Open();
    state.GoToRecord(0);
    if (SaleEditing(state).BeginEdit() != SaleEditing::Result::Done)
        _exit(3);
    state.current.qty[0] = 3;
    state.current.itemNumber[1] = "B";
    state.current.qty[1] = 1;
    state.Recalculate();
    if (killAt == 0) {
        const char ready = 1;
        if (write(notifyFd, &ready, 1) == 1)
            for (;;)
                pause();  // until killed
        _exit(4);
    }
    FileFaults::arm(killAt, FileFaults::Action::Kill, true);
    _exit(finish.FinishSale({"Ann", "", "Check"}) == SaleFinish::Result::Stored ? 0 : 5);
}
}  // namespace

TEST(SaleEditKill, AKilledEditLeavesTheSaleAsStoredOrTheFinishedEditWhole)
{
    TempDir dir;
    CLocalFile local(dir.path());
    writeProductFile(local.GetPath("Products"), {makeProduct("A", 10), makeProduct("B", 10)});
    {
        SalesFileHeader header;
        Quiet quiet;
        SaleState state(local, header, [] { return kNow; });
        SaleFinish finish(state, quiet, [] { return kNow; });
        state.Open();
        state.current.itemNumber[0] = "A";
        state.current.qty[0] = 2;
        state.Recalculate();
        ASSERT_EQ(finish.FinishSale({"Ann", "", "Check"}), SaleFinish::Result::Stored);
    }
    const std::string invoicesPath = local.GetPath("Invoices"), productsPath = local.GetPath("Products");
    const auto invoices = readBytes(invoicesPath), products = readBytes(productsPath);
    InvoiceRecord asStored;
    ASSERT_TRUE(ReadInvoice(local, 0, asStored));

    int finishedWhole = 0, keptAsStored = 0;
    bool completed = false;
    for (long killAt = 0; killAt < 500 && !completed; ++killAt) {
        writeBytes(invoicesPath, invoices);
        writeBytes(productsPath, products);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            editor(dir.path(), killAt, fds[1]);
        }
        close(fds[1]);
        char ready = 0;
        if (killAt == 0) {
            ASSERT_EQ(read(fds[0], &ready, 1), 1);
            kill(pid, SIGKILL);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        close(fds[0]);
        if (WIFEXITED(status)) {
            ASSERT_EQ(WEXITSTATUS(status), 0) << "at operation " << killAt;
            completed = true;
        } else {
            ASSERT_EQ(WTERMSIG(status), SIGKILL) << killAt;
        }

        // Started again: whatever the killed register left is rolled back on opening.
        CLocalFile again(dir.path());
        SalesFileHeader header;
        SaleState state(again, header, [] { return kNow; });
        state.Open();
        EXPECT_EQ(state.count, 1) << killAt;
        InvoiceRecord now;
        ASSERT_TRUE(ReadInvoice(again, 0, now)) << killAt;
        const float a = storedStock(again, "A"), b = storedStock(again, "B");
        if (now == asStored) {
            ++keptAsStored;
            EXPECT_EQ(a, 8) << killAt;
            EXPECT_EQ(b, 10) << killAt;
            EXPECT_FALSE(completed) << "a finish that returned Stored must be in the file";
        } else {
            ++finishedWhole;
            EXPECT_EQ(now.qty[0], 3) << killAt;
            EXPECT_EQ(now.itemNumber[1], "B") << killAt;
            EXPECT_EQ(a, 7) << killAt;
            EXPECT_EQ(b, 9) << killAt;
        }
    }
    EXPECT_TRUE(completed);
    EXPECT_GT(keptAsStored, 1);  // the open edit and the early operations
    EXPECT_GE(finishedWhole, 1);
}
