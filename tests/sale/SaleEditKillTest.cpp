// A register killed with SIGKILL while it edits a stored sale, with the edit
// open and at each file operation of finishing it: started again, the files
// hold the sale and stock as they were, or the finished edit whole.
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

struct Quiet : UserPrompt, FinishPrompt {
    void showMessage(const std::string&) override {}
    bool keepWaiting(const std::string&) override { return true; }
    void tell(const std::string&) override {}
    bool askYesNo(const std::string&) override { return true; }
};

// Sale 0 edited to three A and one B. killAt 0: killed with the edit open;
// else killed at that file operation of the finish (exit 0 if it needed fewer).
[[noreturn]] void editor(const std::string& folder, long killAt, int readyFd)
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
    if (killAt == 0 && write(readyFd, "r", 1) == 1)
        for (;;)
            pause();
    FileFaults::arm(killAt, FileFaults::Action::Kill, true);
    _exit(finish.FinishSale({"Ann", "", "Check"}) == SaleFinish::Result::Stored ? 0 : 5);
}
}  // namespace

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
    for (long killAt = 0; killAt < 500 && !completed; ++killAt) {
        writeBytes(local.GetPath("Invoices"), invoices);
        writeBytes(local.GetPath("Products"), products);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            editor(dir.path(), killAt, fds[1]);
        close(fds[1]);
        char ready;
        if (killAt == 0 && read(fds[0], &ready, 1) == 1)
            kill(pid, SIGKILL);
        close(fds[0]);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        completed = WIFEXITED(status);
        ASSERT_TRUE(completed ? WEXITSTATUS(status) == 0 : WTERMSIG(status) == SIGKILL) << killAt;

        // Started again: opening rolls back what the killed register left.
        CLocalFile again(dir.path());
        SalesFileHeader header;
        SaleState state(again, header, [] { return kNow; });
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
