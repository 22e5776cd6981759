// The queue of registers waiting for a file. Counting it asks about ranges of
// slots, not each slot: whatever the pattern of held slots, the count must be
// exact. A place in it that nobody will ever give up (an SMB server keeps a
// killed register's lock while another program on that PC shares its handle)
// must not keep registers from a file that is free, and going past it must
// never let a register in beside a writer.
#include "FileHolder.h"
#include "storage/io/DataFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {
// Another open of the file holding the slot range [first, first + n).
struct SlotHolder {
    SlotHolder(const std::string& path, int first, int n, short type) : fd(::open(path.c_str(), O_RDWR | O_CLOEXEC))
    {
        struct flock lk {.l_type = type, .l_whence = SEEK_SET, .l_start = DataFile::kQueueStart + first, .l_len = n,
                         .l_pid = 0};
        held = fd >= 0 && fcntl(fd, F_OFD_SETLK, &lk) == 0;
    }
    ~SlotHolder() { ::close(fd); }
    SlotHolder(const SlotHolder&) = delete;
    SlotHolder& operator=(const SlotHolder&) = delete;
    const int fd;
    bool held = false;
};
}  // namespace

TEST(LockQueue, CountsEveryHeldSlotWhateverThePattern)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> ranges;  // first slot, length; one holder each
        int waiting;
    };
    const int last = DataFile::kQueueSlots - 1;
    const Case cases[] = {
        {"empty queue", {}, 0},
        {"first slot", {{0, 1}}, 1},
        {"last slot", {{last, 1}}, 1},
        {"both ends", {{0, 1}, {last, 1}}, 2},
        {"neighbours", {{5, 1}, {6, 1}, {7, 1}}, 3},
        {"scattered", {{3, 1}, {10, 1}, {20, 1}, {29, 1}}, 4},
        {"one holder over several slots", {{4, 8}}, 8},
        {"a range and single slots round it", {{0, 1}, {2, 5}, {8, 1}, {last, 1}}, 8},
        {"every slot", {{0, DataFile::kQueueSlots}}, DataFile::kQueueSlots},
    };
    for (const Case& c : cases) {
        for (const short type : {F_RDLCK, F_WRLCK}) {
            SCOPED_TRACE(std::string(c.name) + (type == F_RDLCK ? ", readers" : ", writers"));
            TempDir dir;
            const std::string path = dir.file("Retail-Invs.pdb");
            writeBytes(path, std::vector<std::uint8_t>(64, 0));
            std::vector<std::unique_ptr<SlotHolder>> holders;
            for (const auto& [first, n] : c.ranges) {
                holders.push_back(std::make_unique<SlotHolder>(path, first, n, type));
                ASSERT_TRUE(holders.back()->held);
            }
            EXPECT_EQ(DataFile::waitingFor(path), c.waiting);
        }
    }
}

TEST(LockQueue, AFreeFileIsTakenPastAPlaceNobodyGivesUp)
{
    const std::pair<short, OpenMode> cases[] = {
        {F_WRLCK, OpenMode::Read},
        {F_WRLCK, OpenMode::ReadWrite},
        {F_RDLCK, OpenMode::ReadWrite},
    };
    for (const auto& [place, mode] : cases) {
        SCOPED_TRACE(testing::Message() << (place == F_WRLCK ? "exclusive" : "shared") << " place, open mode "
                                        << static_cast<int>(mode));
        TempDir dir;
        const std::string path = dir.file("Retail-Invs.pdb");
        writeBytes(path, std::vector<std::uint8_t>(64, 0));
        SlotHolder left(path, 0, 1, place);
        ASSERT_TRUE(left.held);
        FileHolder writer(path, "MARK");
        ASSERT_TRUE(writer.holding());
        DataFile f;
        EXPECT_EQ(f.openInTurn(path, mode, 300), FileCause::SharingViolation);
        ASSERT_EQ(writer.letGo(), 0);
        // A bound far past what passing the place takes, even on a slow machine.
        ASSERT_EQ(f.openInTurn(path, mode, 60000), FileCause::None);
        char bytes[4] = {};
        EXPECT_TRUE(readFully(f, 0, bytes, sizeof bytes));
        EXPECT_EQ(std::string(bytes, 4), "MARK");
    }
}
