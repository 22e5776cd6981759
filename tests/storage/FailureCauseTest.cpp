// A refused change says why: the errno of the failed read, write or flush
// reaches the caller as a cause, and a step the cashier gave up stops where
// it waits, while one that has begun writing goes on.
#include "storage/io/FileWait.h"
#include "storage/io/StepWatch.h"
#include "storage/journal/Transaction.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

TEST(FailureCause, AFailedWriteOrFlushNamesItsCauseAndChangesNothing)
{
    const struct {
        int err;
        int cause;
    } cases[] = {
        {EACCES, FileCause::AccessDenied}, {EPERM, FileCause::AccessDenied}, {EIO, FileCause::IoError},
        {ETIMEDOUT, FileCause::ShareLost},  {ESTALE, FileCause::ShareLost},  {ENOSPC, FileCause::DiskFull},
        {EBADMSG, FileCause::Generic},
    };
    TempDir dir;
    const std::string a = dir.file("Retail-Invs.pdb"), b = dir.file("Retail-Prod.pdb");
    const std::vector<std::uint8_t> before(600, 7);
    for (const auto& c : cases) {
        writeBytes(a, before);
        writeBytes(b, before);
        Transaction tx;
        tx.add(a);
        tx.add(b);
        ASSERT_EQ(tx.begin(), FileCause::None);
        const std::uint8_t change[4] = {1, 2, 3, 4};
        tx.write(tx.file(a), 0, change, sizeof change);
        tx.write(tx.file(b), 520, change, sizeof change);
        FileFaults::arm(1, FileFaults::Action::Fail, false);  // every call of the commit fails
        FileFaults::failWith(c.err);
        EXPECT_EQ(tx.commit(), c.cause) << c.err;
        FileFaults::disarm();
        tx.release();
        EXPECT_EQ(readBytes(a), before) << c.err;
        EXPECT_EQ(readBytes(b), before) << c.err;
    }
}

TEST(FailureCause, AWatchedStepGivenUpStopsWaitingUnlessItHasBegunWriting)
{
    TempDir dir;
    const std::string path = dir.file("Retail-Invs.pdb");
    writeBytes(path, std::vector<std::uint8_t>(8, 0));
    DataFile other;
    ASSERT_EQ(other.tryOpen(path, OpenMode::ReadWrite), FileCause::None);

    StepWatch watch;
    int cause = -1;
    std::thread step([&] {
        StepWatch::On on(watch);
        DataFile file;
        cause = FileWait::OpenLocked(file, path, OpenMode::ReadWrite);
    });
    while (DataFile::waitingFor(path) < 1)  // the step has its place in the queue
        std::this_thread::yield();
    EXPECT_EQ(watch.file(), path);
    EXPECT_TRUE(watch.giveUp());
    step.join();
    EXPECT_EQ(cause, FileCause::LockGivenUp);
    other.close();

    // Given up: the next open stops before it starts; writing: it cannot be given up.
    StepWatch gaveUp, writing;
    for (StepWatch* w : {&gaveUp, &writing}) {
        StepWatch::On on(*w);
        if (w == &gaveUp)
            EXPECT_TRUE(w->giveUp());
        else
            EXPECT_TRUE(StepWatch::startWriting());
        DataFile file;
        EXPECT_EQ(file.tryOpen(path, OpenMode::ReadWrite), w == &gaveUp ? FileCause::WaitGivenUp : FileCause::None);
        EXPECT_EQ(w->giveUp(), w == &gaveUp);
        EXPECT_EQ(StepWatch::startWriting(), w == &writing);
    }
}
