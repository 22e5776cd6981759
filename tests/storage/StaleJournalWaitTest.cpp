// A register that dies in the middle of a commit leaves the set's journal
// stale. Another register whose own transaction began before that, and which
// then needs the journal, must roll it back first; while a third register
// holds a file the stale journal names, the commit waits as any wait for a file
// does, asking the user after the usual time, instead of failing on its own.
#include "FileHolder.h"
#include "RecordBuilders.h"
#include "RecordingPrompt.h"
#include "storage/files/CLocalFile.h"
#include "storage/journal/Transaction.h"
#include "support/KilledRegisters.h"
#include "support/TempDir.h"

namespace {
const std::vector<std::uint8_t> kSales(64, 'a');
const std::vector<std::uint8_t> kQuotes(64, 'q');

// Leaves the journal holding a change to the sales file, by ending a register
// at each file operation of its commit in turn until one ends with it there.
bool leaveStaleJournal(const TempDir& dir)
{
    for (long nth = 1; nth < 60 && !journalHoldsAChange(dir.path()); ++nth)
        exitCodeOf([&] {
            Transaction tx;
            tx.add(dir.file("Retail-Invs.pdb"));
            if (tx.begin() != FileCause::None)
                return 1;
            DataFile& f = tx.file(dir.file("Retail-Invs.pdb"));
            tx.write(f, 0, "BBBB", 4);
            tx.write(f, 40, "CCCC", 4);
            FileFaults::arm(nth, FileFaults::Action::Exit, true);
            return tx.commit() == FileCause::None ? 0 : 1;
        });
    return journalHoldsAChange(dir.path()) && readBytes(dir.file("Retail-Invs.pdb")) == kSales;
}
}  // namespace

TEST(StaleJournalWait, ACommitWaitsForTheFilesOfAStaleJournalAsForAnyBusyFile)
{
    struct Case {
        bool keepWaiting;
        int cause;
        std::vector<std::uint8_t> quotesAfter;
    };
    std::vector<std::uint8_t> changed = kQuotes;
    std::copy_n("XXXX", 4, changed.begin());
    std::copy_n("YYYY", 4, changed.begin() + 40);
    const Case cases[] = {
        {true, FileCause::None, changed},
        {false, FileCause::LockGivenUp, kQuotes},
    };
    const WaitBeforeAsking atOnce(0);  // ask at the first busy look: no timing in the test
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keepWaiting ? "keeps waiting" : "gives up");
        TempDir dir;
        writeBytes(dir.file("Retail-Invs.pdb"), kSales);
        writeBytes(dir.file("Retail-Quote.pdb"), kQuotes);
        Transaction tx;
        tx.add(dir.file("Retail-Quote.pdb"));
        ASSERT_EQ(tx.begin(), FileCause::None);
        ASSERT_TRUE(leaveStaleJournal(dir));
        FileHolder holder(dir.file("Retail-Invs.pdb"));
        ASSERT_TRUE(holder.holding());
        RecordingPrompt prompt;
        prompt.onWait = [&] {  // lets the holder go first when it answers yes
            if (c.keepWaiting)
                holder.letGo();
            return c.keepWaiting;
        };

        DataFile& quotes = tx.file(dir.file("Retail-Quote.pdb"));
        tx.write(quotes, 0, "XXXX", 4);
        tx.write(quotes, 40, "YYYY", 4);
        EXPECT_EQ(tx.commit(), c.cause);
        EXPECT_EQ(prompt.waits.size(), 1u);
        tx.release();
        holder.letGo();

        EXPECT_EQ(readBytes(dir.file("Retail-Quote.pdb")), c.quotesAfter);
        DataFile next;  // the next register to open the set rolls back whatever is left
        ASSERT_EQ(CLocalFile::OpenFile(next, dir.file("Retail-Invs.pdb"), OpenMode::Read), FileCause::None);
        EXPECT_EQ(readBytes(dir.file("Retail-Invs.pdb")), kSales);
        EXPECT_FALSE(journalHoldsAChange(dir.path()));
    }
}
