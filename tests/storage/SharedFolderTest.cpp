// The share check over real mounts: REGISTER_TORTURE_DIRS names the data
// folder through one mount per PC (the network-share test sets it).
#include "storage/io/ShareCheck.h"
#include "support/KilledRegisters.h"
#include "support/TempDir.h"

// Over real mounts, REGISTER_SHARE_UNSAFE (1 or 0) says what the check must find.
TEST(SharedFolder, CheckNamesARealUnsafeMount)
{
    const char* expected = std::getenv("REGISTER_SHARE_UNSAFE");
    if (!expected || !std::getenv("REGISTER_TORTURE_DIRS"))
        GTEST_SKIP() << "needs REGISTER_TORTURE_DIRS and REGISTER_SHARE_UNSAFE";
    TempDir unused;
    for (const auto& dir : sharedDataFolders(unused.path())) {
        const ShareVerdict v = CheckShare(dir);
        EXPECT_EQ(v.unsafe, std::string(expected) == "1") << dir << " " << v.fsType << " at " << v.mountPoint;
    }
}
