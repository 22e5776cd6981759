// A register killed with SIGKILL while it edits a stored sale, with the edit
// open and at each file operation of finishing it: started again, the files
// hold the sale and stock as they were, or the finished edit whole.
#include "sale/SaleEditing.h"
#include "storage/io/DataFile.h"
#include "support/ProductFiles.h"
#include "support/SaleDesk.h"
#include "support/StoredRecords.h"

#include <signal.h>

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
