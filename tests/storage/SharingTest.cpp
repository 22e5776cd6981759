#include "storage/files/CLocalFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

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
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 86);
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{'a', 'b'}));
}
