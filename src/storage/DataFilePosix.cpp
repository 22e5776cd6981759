#include "DataFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct FaultPlan {
    long nth = 0;
    long seen = 0;
    FileFaults::Action action = FileFaults::Action::Fail;
    bool once = true;
    bool armed = false;
};
FaultPlan plan;

// True when this operation must fail (or the process ends here).
bool faultHere()
{
    ++plan.seen;
    if (!plan.armed || plan.seen < plan.nth)
        return false;
    if (plan.action == FileFaults::Action::Exit)
        _exit(86);
    if (plan.once && plan.seen > plan.nth)
        return false;
    return true;
}

int causeFromErrno(int e)
{
    switch (e) {
    case 0: return FileCause::None;
    case ENOENT: return FileCause::NotFound;
    case ENOTDIR:
    case ENAMETOOLONG: return FileCause::BadPath;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return FileCause::AccessDenied;
    case EMFILE:
    case ENFILE: return FileCause::TooManyOpen;
    case ENOSPC:
    case EDQUOT: return FileCause::DiskFull;
    default: return FileCause::Generic;
    }
}
}  // namespace

namespace FileFaults {
void arm(long nth, Action action, bool once)
{
    plan = FaultPlan{nth, 0, action, once, true};
}
void disarm() { plan = FaultPlan{}; }
long count() { return plan.seen; }
}  // namespace FileFaults

DataFile::~DataFile() { close(); }

int DataFile::tryOpen(const std::string& path, OpenMode mode)
{
    close();
    path_ = path;
    if (faultHere()) {
        lastErrno_ = EIO;
        return FileCause::Generic;
    }
    int flags = O_CLOEXEC;
    switch (mode) {
    case OpenMode::Read: flags |= O_RDONLY; break;
    case OpenMode::ReadWrite: flags |= O_RDWR; break;
    // Truncation waits until the lock is held, so a reader elsewhere never sees
    // a file emptied under it.
    case OpenMode::Create: flags |= O_RDWR | O_CREAT; break;
    // Two registers may both find a file missing; whichever locks second must
    // see what the first one wrote, so nothing is truncated here.
    case OpenMode::OpenOrCreate: flags |= O_RDWR | O_CREAT; break;
    }
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        lastErrno_ = errno;
        return causeFromErrno(lastErrno_);
    }
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        lastErrno_ = EISDIR;
        return FileCause::AccessDenied;
    }
    struct flock lk {};
    lk.l_type = mode == OpenMode::Read ? F_RDLCK : F_WRLCK;
    lk.l_whence = SEEK_SET;
    lk.l_start = 0;
    lk.l_len = 0;  // the whole file, however it grows
    if (fcntl(fd, F_OFD_SETLK, &lk) != 0) {
        lastErrno_ = errno;
        ::close(fd);
        if (lastErrno_ == EAGAIN || lastErrno_ == EACCES)
            return FileCause::SharingViolation;
        return causeFromErrno(lastErrno_);
    }
    if (mode == OpenMode::Create && ftruncate(fd, 0) != 0) {
        lastErrno_ = errno;
        ::close(fd);
        return causeFromErrno(lastErrno_);
    }
    fd_ = fd;
    lastErrno_ = 0;
    return FileCause::None;
}

int DataFile::createWhole(const std::string& path, const void* data, std::size_t n)
{
    if (faultHere())
        return FileCause::Generic;
    // Written in full under a name of its own, flushed, then linked under the
    // real name: the link either appears whole or fails because the name is
    // taken.
    static unsigned serial = 0;
    const std::string temp = path + ".new-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
    int fd = ::open(temp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return causeFromErrno(errno);
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(fd, bytes + done, n - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            break;
        done += static_cast<std::size_t>(w);
    }
    const bool written = done == n && ::fdatasync(fd) == 0;
    ::close(fd);
    if (!written) {
        const int e = errno;
        ::unlink(temp.c_str());
        return causeFromErrno(e ? e : EIO);
    }
    const int linked = ::link(temp.c_str(), path.c_str());
    const int e = errno;
    ::unlink(temp.c_str());
    if (linked == 0) {
        // The new name itself reaches the disk with its folder.
        const std::size_t slash = path.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
        return FileCause::None;
    }
    if (e == EEXIST)
        return FileCause::AlreadyExists;
    if (e != EPERM && e != ENOTSUP && e != EOPNOTSUPP && e != EMLINK)
        return causeFromErrno(e);
    // A file system without hard links: an exclusive create, then the bytes.
    fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? FileCause::AlreadyExists : causeFromErrno(errno);
    const bool ok = ::pwrite(fd, data, n, 0) == static_cast<ssize_t>(n) && ::fdatasync(fd) == 0;
    ::close(fd);
    return ok ? FileCause::None : FileCause::Generic;
}

long long DataFile::readAt(long long offset, void* buf, std::size_t n)
{
    if (fd_ < 0 || offset < 0)
        return -1;
    if (faultHere()) {
        lastErrno_ = EIO;
        return -1;
    }
    std::size_t done = 0;
    auto* out = static_cast<char*>(buf);
    while (done < n) {
        ssize_t r = ::pread(fd_, out + done, n - done, static_cast<off_t>(offset + static_cast<long long>(done)));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            lastErrno_ = errno;
            return -1;
        }
        if (r == 0)
            break;
        done += static_cast<std::size_t>(r);
    }
    return static_cast<long long>(done);
}

bool DataFile::writeAt(long long offset, const void* buf, std::size_t n)
{
    if (fd_ < 0 || offset < 0)
        return false;
    if (faultHere()) {
        lastErrno_ = EIO;
        return false;
    }
    std::size_t done = 0;
    const auto* in = static_cast<const char*>(buf);
    while (done < n) {
        ssize_t w = ::pwrite(fd_, in + done, n - done, static_cast<off_t>(offset + static_cast<long long>(done)));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            lastErrno_ = errno;
            return false;
        }
        done += static_cast<std::size_t>(w);
    }
    return true;
}

bool DataFile::sync()
{
    if (fd_ < 0)
        return false;
    if (faultHere()) {
        lastErrno_ = EIO;
        return false;
    }
    if (fdatasync(fd_) != 0) {
        lastErrno_ = errno;
        return false;
    }
    return true;
}

long long DataFile::size()
{
    if (fd_ < 0)
        return -1;
    // Not fstat: on an SMB mount it can still give the size the file had when
    // this register opened it, though another PC has appended since; seeking
    // to the end asks the server, and is what every cap by size relies on.
    const off_t end = ::lseek(fd_, 0, SEEK_END);
    if (end < 0) {
        lastErrno_ = errno;
        return -1;
    }
    return static_cast<long long>(end);
}

bool DataFile::truncate(long long size)
{
    if (fd_ < 0 || size < 0)
        return false;
    if (faultHere()) {
        lastErrno_ = EIO;
        return false;
    }
    if (ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        lastErrno_ = errno;
        return false;
    }
    return true;
}

void DataFile::close()
{
    if (fd_ >= 0) {
        ::close(fd_);  // closing the description releases its lock
        fd_ = -1;
    }
}

std::string DataFile::lastErrorText() const
{
    return lastErrno_ ? std::strerror(lastErrno_) : std::string("no error");
}

bool readFully(DataFile& f, long long offset, void* buf, std::size_t n)
{
    return f.readAt(offset, buf, n) == static_cast<long long>(n);
}
