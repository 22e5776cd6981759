#include "FileHolder.h"
#include "RecordingPrompt.h"
#include "storage/files/CLocalFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>

// Registers join the queue one after another behind a held file; then the
// holder lets go and asks again at once. Each waiter reports on a pipe while it
// holds the file, so the pipe shows the order in which they got it. Readers
// queued next to each other get it together, in any order among themselves.
TEST(LockWait, WaitersGetTheFileInTurnAndTheRegisterThatLetGoWaitsBehindThem)
{
    const std::vector<std::string> cases = {"WWWWW", "WRRW", "RWRRW", "RRW"};
    // Nobody is asked to keep waiting (and so leaves the queue), however slow the machine.
    const WaitBeforeAsking aDay(24 * 3600 * 1000);
    for (const std::string& modes : cases) {
        SCOPED_TRACE(modes);
        TempDir dir;
        const std::string path = dir.file("Retail-Invs.pdb");
        writeBytes(path, {0, 0, 0, 0});
        int order[2];
        ASSERT_EQ(pipe(order), 0);
        DataFile held;
        ASSERT_EQ(held.tryOpen(path, OpenMode::ReadWrite), FileCause::None);
        std::vector<pid_t> waiters;
        for (std::size_t i = 0; i < modes.size(); ++i) {
            const pid_t pid = fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                held.close();  // the copy of the holder's open would keep its lock
                DataFile f;
                const OpenMode mode = modes[i] == 'R' ? OpenMode::Read : OpenMode::ReadWrite;
                const char id = static_cast<char>('0' + i);
                _exit(CLocalFile::OpenFile(f, path, mode) == FileCause::None && write(order[1], &id, 1) == 1 ? 0 : 1);
            }
            waiters.push_back(pid);
            // The next one asks only once this one is queued.
            while (DataFile::waitingFor(path) < static_cast<int>(i + 1)) {
                ASSERT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "waiter " << i << " ended before queueing";
                sched_yield();
            }
        }
        held.close();
        ASSERT_EQ(CLocalFile::OpenFile(held, path, OpenMode::ReadWrite), FileCause::None);
        // Every waiter had its turn before this open got the file.
        fcntl(order[0], F_SETFL, O_NONBLOCK);
        std::string got(modes.size() + 1, '\0');
        const ssize_t n = read(order[0], got.data(), got.size());
        got.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
        // Each waiter's group: readers queued next to each other make one.
        std::vector<std::size_t> group(modes.size()), groupsInTurn;
        for (std::size_t i = 1; i < modes.size(); ++i)
            group[i] = modes[i] == 'R' && modes[i - 1] == 'R' ? group[i - 1] : i;
        for (const char id : got)
            groupsInTurn.push_back(group[static_cast<std::size_t>(id - '0')]);
        EXPECT_EQ(groupsInTurn, group) << got;
        EXPECT_EQ(DataFile::waitingFor(path), 0);
        for (pid_t pid : waiters) {
            int status = 0;
            EXPECT_TRUE(waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        close(order[0]);
        close(order[1]);
    }
}

TEST(LockWait, AfterTheBoundTheUserChoosesToGiveUpOrWaitOn)
{
    TempDir dir;
    RecordingPrompt prompt;
    const std::string path = dir.file("Retail.pos");
    writeBytes(path, {9, 9, 9, 9});
    const WaitBeforeAsking shortWait(20);

    // "No": given up with its own cause, nothing truncated, the queue left.
    FileHolder holder(path, "DONE");
    ASSERT_TRUE(holder.holding());
    prompt.onWait = [] { return false; };
    DataFile f;
    EXPECT_EQ(CLocalFile::OpenFile(f, path, OpenMode::Create), FileCause::LockGivenUp);
    EXPECT_EQ((std::tuple{prompt.waits.size(), f.isOpen(), DataFile::waitingFor(path), fileSize(path)}),
              (std::tuple{1u, false, 0, 4LL}));
    EXPECT_NE(prompt.waits[0].find(path), std::string::npos);

    // "Yes": the wait goes on, and the read sees what the holder wrote before
    // it let go, which it does only once the question was asked again.
    prompt.onWait = [&] { return holder.letGo() == 0; };
    char buf[4] = {};
    ASSERT_EQ(CLocalFile::OpenFile(f, path, OpenMode::Read), FileCause::None);
    EXPECT_EQ(f.readAt(0, buf, 4) == 4 ? std::string(buf, 4) : "", "DONE");
}
