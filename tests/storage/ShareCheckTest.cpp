#include "storage/io/ShareCheck.h"

#include <gtest/gtest.h>

namespace {
const std::string kRoot = "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n";

std::string mountLine(const std::string& point, const std::string& type, const std::string& superOptions)
{
    return "40 27 0:50 / " + point + " rw,relatime shared:7 - " + type + " //server/share " + superOptions + "\n";
}
}  // namespace

TEST(ShareCheck, JudgesTheFileSystemThatHoldsTheFolder)
{
    struct Case {
        const char* point;
        const char* type;
        const char* options;
        bool unsafe;
        bool risky = false;
    };
    const Case cases[] = {
        {"/mnt/shop", "cifs", "rw,vers=3.1.1,cache=strict,nobrl,actimeo=1", true},
        {"/mnt/shop", "cifs", "rw,vers=3.1.1,cache=strict,nolease,actimeo=1", false},
        {"/mnt/shop", "cifs", "rw,vers=3.1.1,cache=strict,actimeo=1", false, true},  // leases on
        {"/mnt/shop", "smb3", "rw,vers=3.1.1", false, true},
        {"/mnt/shop", "nfs4", "rw,vers=4.1,local_lock=none,addr=127.0.0.1", false},
        {"/mnt/shop", "nfs4", "rw,vers=4.1,local_lock=all,addr=127.0.0.1", true},
        {"/mnt/shop", "nfs", "rw,vers=3,nolock,local_lock=posix", true},
        {"/mnt/shop", "nfs", "rw,vers=3,local_lock=flock", false},  // flock() only; byte-range locks still shared
        {"/mnt/shop", "fuse.sshfs", "rw,user_id=0", true},
        {"/mnt/shop", "ext4", "rw", false},
        {"/mnt/sho", "fuse.sshfs", "rw", false},  // a mount point that only shares the name's beginning
        {"/mnt/shop/Data", "fuse.sshfs", "rw", true},  // the folder itself is the mount point
        {"/mnt/my\\040shop", "cifs", "rw,nobrl", false},  // escaped space: another folder
    };
    for (const auto& c : cases) {
        const ShareVerdict v = JudgeShare("/mnt/shop/Data", kRoot + mountLine(c.point, c.type, c.options), 0);
        EXPECT_EQ(v.unsafe, c.unsafe) << c.point << " " << c.type << " " << c.options;
        EXPECT_EQ(v.risky, c.risky) << c.point << " " << c.type << " " << c.options;
        EXPECT_EQ(v.reason.empty(), !c.unsafe && !c.risky) << c.type;
    }
    // The latest and deepest mount decides: a safe remount over an unsafe one,
    // and an unsafe share mounted inside a safe one.
    const std::string nobrl = mountLine("/mnt/shop", "cifs", "rw,nobrl");
    const std::string plain = mountLine("/mnt/shop", "cifs", "rw,nolease");
    EXPECT_FALSE(JudgeShare("/mnt/shop/Data", kRoot + nobrl + plain, 0).unsafe);
    EXPECT_TRUE(JudgeShare("/mnt/shop/Data", kRoot + plain + nobrl, 0).unsafe);
    EXPECT_TRUE(JudgeShare("/mnt/shop/Data", kRoot + mountLine("/mnt", "nfs4", "rw") + nobrl, 0).unsafe);
    const ShareVerdict spaced = JudgeShare("/mnt/my shop", kRoot + mountLine("/mnt/my\\040shop", "cifs", "rw,nobrl"), 0);
    EXPECT_TRUE(spaced.unsafe);
    EXPECT_EQ(spaced.mountPoint, "/mnt/my shop");
    // Without a usable mount table, statfs's FUSE magic still tells.
    EXPECT_TRUE(JudgeShare("/mnt/shop", "", 0x65735546).unsafe);
    EXPECT_FALSE(JudgeShare("/mnt/shop", "garbage line\n", 0xEF53).unsafe);
}
