#include "CLocalFile.h"
#include "RecordingPrompt.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

// Forks a process that holds `path` open for writing for `holdMs`, and returns
// once it holds the lock.
pid_t holdForWriting(const std::string& path, int holdMs)
{
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        DataFile f;
        if (f.tryOpen(path, OpenMode::ReadWrite) != FileCause::None)
            _exit(2);
        char one = 1;
        if (write(ready[1], &one, 1) != 1)
            _exit(3);
        std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
        const char marker[4] = {'D', 'O', 'N', 'E'};
        f.writeAt(0, marker, 4);
        f.sync();
        _exit(0);
    }
    close(ready[1]);
    char got = 0;
    if (read(ready[0], &got, 1) != 1)
        got = 0;
    close(ready[0]);
    return got == 1 ? pid : -1;
}

int waitExit(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TEST(Sharing, ReadWaitsForAnotherRegistersWriteWithoutTellingTheUser)
{
    TempDir dir;
    RecordingPrompt prompt;
    const std::string path = dir.file("Retail-Invs.pdb");
    writeBytes(path, {0, 0, 0, 0});

    const pid_t writer = holdForWriting(path, 400);
    ASSERT_GT(writer, 0);
    const auto start = Clock::now();
    DataFile f;
    ASSERT_EQ(CLocalFile::OpenFile(f, path, OpenMode::Read), FileCause::None);
    const auto waited = Clock::now() - start;
    char buf[4] = {};
    ASSERT_EQ(f.readAt(0, buf, 4), 4);
    // The read saw the other register's finished write, not the file before it.
    EXPECT_EQ(std::string(buf, 4), "DONE");
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_TRUE(prompt.waits.empty());
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(waitExit(writer), 0);
}

TEST(Sharing, ReadersShareAndWritersExcludeEveryone)
{
    TempDir dir;
    const std::string path = dir.file("f.pdb");
    writeBytes(path, {1, 2, 3});
    DataFile r1, r2, w;
    ASSERT_EQ(r1.tryOpen(path, OpenMode::Read), FileCause::None);
    EXPECT_EQ(r2.tryOpen(path, OpenMode::Read), FileCause::None);
    EXPECT_EQ(w.tryOpen(path, OpenMode::ReadWrite), FileCause::SharingViolation);
    // A create waits for the lock before it truncates: the readers' data stays.
    EXPECT_EQ(w.tryOpen(path, OpenMode::Create), FileCause::SharingViolation);
    EXPECT_EQ(fileSize(path), 3);
    r1.close();
    r2.close();
    ASSERT_EQ(w.tryOpen(path, OpenMode::ReadWrite), FileCause::None);
    DataFile r3;
    EXPECT_EQ(r3.tryOpen(path, OpenMode::Read), FileCause::SharingViolation);
    EXPECT_EQ(r3.tryOpen(dir.file("missing.pdb"), OpenMode::Read), FileCause::NotFound);
    EXPECT_EQ(r3.tryOpen(dir.file("no/such/dir.pdb"), OpenMode::Create), FileCause::NotFound);
}

TEST(Sharing, AfterTheBoundTheUserChoosesToWaitOnOrGiveUp)
{
    TempDir dir;
    RecordingPrompt prompt;
    const std::string path = dir.file("Retail.pos");
    writeBytes(path, {9, 9, 9, 9});
    CLocalFile::setWaitBeforeAsking(100);

    // "Yes" waits on until the other register lets go.
    const pid_t holder = holdForWriting(path, 600);
    ASSERT_GT(holder, 0);
    DataFile f;
    prompt.keepWaitingAnswer = true;
    EXPECT_EQ(CLocalFile::OpenFile(f, path, OpenMode::ReadWrite), FileCause::None);
    EXPECT_GE(prompt.waits.size(), 1u);
    EXPECT_NE(prompt.waits[0].find(path), std::string::npos);
    f.close();
    EXPECT_EQ(waitExit(holder), 0);

    // "No" gives up with a failure cause and nothing is written.
    const pid_t second = holdForWriting(path, 1500);
    ASSERT_GT(second, 0);
    prompt.waits.clear();
    prompt.keepWaitingAnswer = false;
    EXPECT_EQ(CLocalFile::OpenFile(f, path, OpenMode::Create), FileCause::LockGivenUp);
    EXPECT_EQ(prompt.waits.size(), 1u);
    EXPECT_FALSE(f.isOpen());
    kill(second, SIGKILL);
    waitExit(second);
    EXPECT_EQ(fileSize(path), 4);
    CLocalFile::setWaitBeforeAsking(5000);
}

TEST(FileFaults, NthOperationFailsOnceOrFromThenOn)
{
    TempDir dir;
    const std::string path = dir.file("x.pdb");
    DataFile f;
    FileFaults::arm(2, FileFaults::Action::Fail, true);
    ASSERT_EQ(f.tryOpen(path, OpenMode::Create), FileCause::None);  // 1
    EXPECT_FALSE(f.writeAt(0, "ab", 2));                            // 2 fails
    EXPECT_TRUE(f.writeAt(0, "ab", 2));                             // 3 works again
    EXPECT_EQ(FileFaults::count(), 3);

    FileFaults::arm(1, FileFaults::Action::Fail, false);
    EXPECT_FALSE(f.sync());
    char buf[2];
    EXPECT_EQ(f.readAt(0, buf, 2), -1);
    FileFaults::disarm();
    EXPECT_EQ(f.readAt(0, buf, 2), 2);

    const pid_t child = fork();
    if (child == 0) {
        FileFaults::arm(1, FileFaults::Action::Exit, true);
        f.writeAt(0, "zz", 2);
        _exit(0);
    }
    EXPECT_EQ(waitExit(child), 86);
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{'a', 'b'}));
}
