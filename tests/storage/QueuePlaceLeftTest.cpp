// A place in the waiting queue that nobody will ever give up (an SMB server
// keeps a killed register's lock while another program on that PC shares its
// handle) must not keep registers from a file that is free; and going past it
// must never let two writers in at once.

#include "DataFile.h"
#include "FileHolder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A process holding one queue slot of the file until the test ends.
class PlaceHolder {
public:
    PlaceHolder(const std::string& path, short type, int slot)
    {
        int ready[2], release[2];
        if (pipe(ready) != 0 || pipe(release) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(release[1]);
            struct flock lk {};
            lk.l_type = type;
            lk.l_whence = SEEK_SET;
            lk.l_start = DataFile::kQueueStart + slot;
            lk.l_len = 1;
            const int fd = ::open(path.c_str(), O_RDWR);
            char c = fd >= 0 && fcntl(fd, F_OFD_SETLK, &lk) == 0 ? 1 : 0;
            if (write(ready[1], &c, 1) != 1 || c == 0)
                _exit(2);
            while (read(release[0], &c, 1) > 0) {
            }
            _exit(0);
        }
        close(ready[1]);
        close(release[0]);
        char c = 0;
        held_ = read(ready[0], &c, 1) == 1 && c == 1;
        close(ready[0]);
        release_ = release[1];
    }
    ~PlaceHolder()
    {
        close(release_);
        if (pid_ > 0)
            waitpid(pid_, nullptr, 0);
    }
    PlaceHolder(const PlaceHolder&) = delete;
    PlaceHolder& operator=(const PlaceHolder&) = delete;
    bool held() const { return held_; }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool held_ = false;
};

TEST(QueuePlaceLeft, AFreeFileIsTakenPastAPlaceNobodyGivesUp)
{
    struct Case {
        short place;
        OpenMode mode;
    } const cases[] = {
        {F_WRLCK, OpenMode::Read},
        {F_WRLCK, OpenMode::ReadWrite},
        {F_RDLCK, OpenMode::ReadWrite},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "place " << (c.place == F_WRLCK ? "exclusive" : "shared") << ", open "
                                        << static_cast<int>(c.mode));
        TempDir dir;
        const std::string path = dir.file("Retail-Invs.pdb");
        ASSERT_EQ(DataFile::createWhole(path, "data", 4), FileCause::None);
        PlaceHolder left(path, c.place, 0);
        ASSERT_TRUE(left.held());
        ASSERT_EQ(DataFile::waitingFor(path), 1);
        DataFile f;
        // A bound far past what passing the place takes, even on a slow machine.
        EXPECT_EQ(f.openInTurn(path, c.mode, 60000), FileCause::None);
    }
}

TEST(QueuePlaceLeft, PassingAPlaceLeftBehindStillWaitsForTheWriterInside)
{
    TempDir dir;
    const std::string path = dir.file("Retail-Invs.pdb");
    ASSERT_EQ(DataFile::createWhole(path, "data", 4), FileCause::None);
    PlaceHolder left(path, F_WRLCK, 0);
    ASSERT_TRUE(left.held());
    FileHolder writer(path, "MARK");
    ASSERT_TRUE(writer.holding());
    DataFile f;
    EXPECT_EQ(f.openInTurn(path, OpenMode::ReadWrite, 300), FileCause::SharingViolation);
    EXPECT_EQ(f.openInTurn(path, OpenMode::Read, 300), FileCause::SharingViolation);
    ASSERT_EQ(writer.letGo(), 0);
    ASSERT_EQ(f.openInTurn(path, OpenMode::Read, 60000), FileCause::None);
    char bytes[4] = {};
    EXPECT_TRUE(readFully(f, 0, bytes, sizeof bytes));
    EXPECT_EQ(std::string(bytes, 4), "MARK");
}
}  // namespace
