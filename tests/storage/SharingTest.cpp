#include "storage/files/CLocalFile.h"
#include "support/KilledRegisters.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

// A writer excludes everyone and a create never truncates a busy file: the
// lock queue and wait tests show it. Readers share the file.
TEST(Sharing, ReadersShareTheFileAndAMissingOneIsNotFound)
{
    TempDir dir;
    const std::string path = dir.file("f.pdb");
    writeBytes(path, {1, 2, 3});
    DataFile r1, r2, r3;
    ASSERT_EQ(r1.tryOpen(path, OpenMode::Read), FileCause::None);
    EXPECT_EQ(r2.tryOpen(path, OpenMode::Read), FileCause::None);
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

    const int code = exitCodeOf([&] {
        FileFaults::arm(1, FileFaults::Action::Exit, true);
        f.writeAt(0, "zz", 2);
        return 0;
    });
    EXPECT_EQ(code, 86);  // the process ends before the write
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{'a', 'b'}));
}
