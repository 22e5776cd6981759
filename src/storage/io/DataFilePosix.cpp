#include "storage/io/DataFile.h"

#include "storage/io/FaultSeam.h"
#include "storage/io/StepWatch.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <csignal>
#include <string>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
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
    case ECANCELED: return FileCause::WaitGivenUp;
    case EIO: return FileCause::IoError;
    case ENOTCONN:
    case ETIMEDOUT:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ECONNRESET:
    case ECONNABORTED:
    case ENETDOWN:
    case ENETUNREACH:
    case ENOLINK:
    case ESTALE: return FileCause::ShareLost;
    default: return FileCause::Generic;
    }
}

// Waiting in turn. Registers, possibly on other machines, share nothing but the
// file's locks, so the queue is made of locks too. The sharing lock covers the
// bytes [0, kQueueBase) of the file; above them lie kSlots one-byte queue slots,
// far past any data. A register that finds the file held, or others already
// waiting, locks the slot after the last one held (shared to read, exclusive to
// write), waits until none of the kAhead slots before its own holds a
// conflicting lock, then waits for the file, and lets its slot go as soon as it
// holds the file. Slots are used round a ring; kAhead is under half of it, so
// two waiters never each count the other as ahead. The queue only orders:
// exclusion is the sharing lock alone, so a register that misses the queue (a
// full ring, a race at an empty one) can be unfair, never unsafe.
using WaitClock = std::chrono::steady_clock;
constexpr off_t kQueueBase = DataFile::kQueueStart;
constexpr int kSlots = DataFile::kQueueSlots;
constexpr int kAhead = kSlots / 2 - 1;

struct flock lockSpec(short type, off_t start, off_t len)
{
    struct flock lk {};
    lk.l_type = type;
    lk.l_whence = SEEK_SET;
    lk.l_start = start;
    lk.l_len = len;
    return lk;
}

struct flock sharingLock(short type) { return lockSpec(type, 0, kQueueBase); }

bool refusedHere(int err) { return err == EAGAIN || err == EACCES; }

// 0 when the lock was taken at once, else the errno (refusedHere: held elsewhere).
int tryLock(int fd, struct flock lk) { return fcntl(fd, F_OFD_SETLK, &lk) == 0 ? 0 : errno; }

void unlock(int fd, off_t start, off_t len)
{
    struct flock lk = lockSpec(F_UNLCK, start, len);
    fcntl(fd, F_OFD_SETLK, &lk);
}

// True when another open holds a lock somewhere in [start, start + len).
// byLock: asked by taking an exclusive lock there and letting it go, instead
// of F_OFD_GETLK. On SMB the client answers F_OFD_GETLK by locking at the
// server too, and when the exclusive lock is refused it tries a shared one.
// The Linux client shares one server handle among the programs of a PC that
// open a file alike, and the server grants a shared lock on a handle that
// holds the range exclusively; the unlock that follows can then remove the
// other program's exclusive lock, leaving a shared one that nobody holds. A
// read-only handle carries shared locks only, so there F_OFD_GETLK is harmless.
bool heldElsewhere(int fd, off_t start, off_t len, bool byLock = false)
{
    if (byLock) {
        if (tryLock(fd, lockSpec(F_WRLCK, start, len)) != 0)
            return true;
        unlock(fd, start, len);
        return false;
    }
    struct flock lk = lockSpec(F_WRLCK, start, len);
    return fcntl(fd, F_OFD_GETLK, &lk) == 0 && lk.l_type != F_UNLCK;
}

// How one wait asks about locks on this file's file system.
struct LockWay {
    bool blocking = true;    // a blocked wait ends as soon as the lock is free
    bool byLock = false;     // heldElsewhere must ask by locking
    bool fileByLock = false;  // whether the file is free is asked by taking it
    bool gate = false;        // the programs of this PC go through a local gate first
};

// Marks in `held` the slots of [from, to) that another open holds. A free range
// costs one question; a lock found splits its range round it. On a network
// share every question is a round trip to the server, so a queue of k waiters
// costs a few questions each instead of one per slot.
void findHeld(int fd, int from, int to, bool* held, bool byLock)
{
    if (from >= to)
        return;
    struct flock lk = lockSpec(F_WRLCK, kQueueBase + from, to - from);
    if (byLock ? !heldElsewhere(fd, lk.l_start, lk.l_len, true)
               : fcntl(fd, F_OFD_GETLK, &lk) != 0 || lk.l_type == F_UNLCK)
        return;
    if (to - from == 1) {
        held[from] = true;
        return;
    }
    const off_t start = byLock ? from : std::max<off_t>(lk.l_start - kQueueBase, from);
    const off_t end = byLock ? to : lk.l_len == 0 ? to : std::min<off_t>(lk.l_start + lk.l_len - kQueueBase, to);
    if (start >= end || (start == from && end == to)) {
        // SMB answers with the range asked about, not the lock it met: halve it.
        const int mid = from + (to - from) / 2;
        findHeld(fd, from, mid, held, byLock);
        findHeld(fd, mid, to, held, byLock);
        return;
    }
    std::fill(held + start, held + end, true);
    findHeld(fd, from, static_cast<int>(start), held, byLock);
    findHeld(fd, static_cast<int>(end), to, held, byLock);
}

// The slot after the last one held: the held slot that kAhead free ones follow.
// Slot 0 for an empty queue, -1 for a full ring.
int tailSlot(int fd, LockWay way)
{
    bool held[kSlots] = {};
    findHeld(fd, 0, kSlots, held, way.byLock);
    if (std::none_of(held, held + kSlots, [](bool h) { return h; }))
        return 0;
    for (int i = 0; i < kSlots; ++i) {
        int freeAfter = 0;
        while (held[i] && freeAfter < kAhead && !held[(i + freeAfter + 1) % kSlots])
            ++freeAfter;
        if (held[i] && freeAfter == kAhead)
            return (i + 1) % kSlots;
    }
    return -1;
}

// Locks a slot at the tail of the queue: the slot, or -1 when the ring is full.
int joinQueue(int fd, short type, LockWay way)
{
    for (int attempt = 0; attempt < kSlots; ++attempt) {
        const int slot = tailSlot(fd, way);
        if (slot < 0)
            return -1;
        if (tryLock(fd, lockSpec(type, kQueueBase + slot, 1)) == 0)
            return slot;
        // Another register took that slot first: look again.
    }
    return -1;
}

// Local disks wake a blocked lock wait as soon as the lock is free. On NFS and
// SMB a blocked wait may be woken late (the NFS client asks the server again on
// its own, backing off to 30 s) or may not end for the question to the user,
// so there the lock is tried again after short pauses. On SMB a read-write
// open asks whether a range is held by locking it (heldElsewhere), and any
// open asks whether the file is free by taking its own sharing lock: a
// register killed between such a question and its unlock can then leave
// behind no other lock than its own kind, never an exclusive one for a reader.
LockWay lockWayOf(int fd, short type)
{
    struct statfs fs {};
    if (fstatfs(fd, &fs) != 0)
        return LockWay{false, false, false};
    switch (static_cast<std::uint32_t>(fs.f_type)) {
    case 0x6969u:  // NFS
        return LockWay{false, false, false};
    case 0x517Bu:      // SMB
    case 0xFF534D42u:  // CIFS
    case 0xFE534D42u:  // SMB2
        return LockWay{false, type == F_WRLCK, true, true};
    default:
        return LockWay{true, false, false};
    }
}

void onWakeSignal(int) {}

// The signal that ends a blocked wait at its deadline; 0 when another part of
// the program handles it (waits then poll).
int wakeSignal()
{
    static const int sig = [] {
        const int s = SIGRTMIN + 4;
        struct sigaction old {};
        if (sigaction(s, nullptr, &old) != 0 || old.sa_handler != SIG_DFL)
            return 0;
        struct sigaction sa {};
        sa.sa_handler = onWakeSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = 0;  // no SA_RESTART: the blocked fcntl returns EINTR
        return sigaction(s, &sa, nullptr) == 0 ? s : 0;
    }();
    return sig;
}

// Sends the wake signal to this thread at the deadline and every 20 ms after it,
// so a signal that lands just before the wait begins is followed by another.
class DeadlineTimer {
public:
    DeadlineTimer(int sig, WaitClock::duration left)
    {
        sigevent ev {};
        ev.sigev_notify = SIGEV_THREAD_ID;
        ev.sigev_signo = sig;
        ev._sigev_un._tid = gettid();  // glibc has no public name for this member
        if (timer_create(CLOCK_MONOTONIC, &ev, &timer_) != 0)
            return;
        const auto ns = std::max<long long>(1, std::chrono::duration_cast<std::chrono::nanoseconds>(left).count());
        itimerspec when {};
        when.it_value.tv_sec = static_cast<time_t>(ns / 1000000000);
        when.it_value.tv_nsec = static_cast<long>(ns % 1000000000);
        when.it_interval.tv_nsec = 20000000;
        armed_ = timer_settime(timer_, 0, &when, nullptr) == 0;
        if (!armed_)
            timer_delete(timer_);
    }
    ~DeadlineTimer()
    {
        if (armed_)
            timer_delete(timer_);
    }
    DeadlineTimer(const DeadlineTimer&) = delete;
    DeadlineTimer& operator=(const DeadlineTimer&) = delete;
    bool armed() const { return armed_; }

private:
    timer_t timer_ {};
    bool armed_ = false;
};

// How often a blocked wait looks whether the cashier gave the step up.
constexpr auto kGivenUpCheck = std::chrono::milliseconds(100);

// Takes the lock, waiting until the deadline at most: 0 when taken, EAGAIN when
// the deadline came first, ECANCELED when the step was given up, else the errno.
int waitForLock(int fd, struct flock lk, WaitClock::time_point deadline, bool blocking)
{
    int err = tryLock(fd, lk);
    if (!refusedHere(err))
        return err;
    const int sig = blocking ? wakeSignal() : 0;
    if (sig != 0 && WaitClock::now() < deadline) {
        sigset_t wake, before;
        sigemptyset(&wake);
        sigaddset(&wake, sig);
        pthread_sigmask(SIG_UNBLOCK, &wake, &before);
        // In slices, so that a wait given up ends soon.
        for (bool more = true; more;) {
            const auto sliceEnd = StepWatch::watched() ? std::min(deadline, WaitClock::now() + kGivenUpCheck) : deadline;
            DeadlineTimer timer(sig, sliceEnd - WaitClock::now());
            if (!timer.armed())
                break;
            do
                err = fcntl(fd, F_OFD_SETLKW, &lk) == 0 ? 0 : errno;
            while (err == EINTR && WaitClock::now() < sliceEnd);
            more = err == EINTR && WaitClock::now() < deadline && !StepWatch::stopHere();
        }
        pthread_sigmask(SIG_SETMASK, &before, nullptr);
        if (err == EINTR)
            return StepWatch::stopHere() ? ECANCELED : EAGAIN;
        if (!refusedHere(err))
            return err;
        // A file system that refuses instead of waiting: ask again after pauses.
    }
    auto pause = std::chrono::milliseconds(1);
    while (WaitClock::now() < deadline) {
        if (StepWatch::stopHere())
            return ECANCELED;
        std::this_thread::sleep_for(std::min<WaitClock::duration>(pause, deadline - WaitClock::now()));
        err = tryLock(fd, lk);
        if (!refusedHere(err))
            return err;
        pause = std::min(pause * 2, std::chrono::milliseconds(10));
    }
    return EAGAIN;
}

// Waits until none of the kAhead slots before `slot` holds a lock that
// conflicts with `type`; round the ring they may lie in two ranges. A place
// ahead can outlive its register: an SMB server keeps the locks of a killed
// program for as long as its handle stays open, and the Linux client shares
// one handle among the programs of a PC that open the file alike, so the
// registers waiting there keep it open. Such a place never moves, while the
// file itself stays free. So the wait is in slices, and once the file has been
// found free at kFreeChecks slice ends in a row, with the places ahead still
// held, this register stops waiting for them and goes for the file: at worst
// it passes a register that was slow to take its turn, which costs fairness,
// never exclusion (that is the sharing lock's alone). Where the file is asked
// about by locking it, the last of those locks is kept: `holding` is then set.
constexpr auto kAheadSlice = std::chrono::milliseconds(20);
constexpr int kFreeChecks = 5;

int waitAhead(int fd, short type, int slot, WaitClock::time_point deadline, LockWay way, bool& holding)
{
    const int first = slot - kAhead;
    const int ranges[2][2] = {{first < 0 ? first + kSlots : first, first < 0 ? kSlots : slot},
                              {0, first < 0 ? slot : 0}};
    int freeSeen = 0;
    for (const auto& range : ranges) {
        if (range[0] >= range[1])
            continue;
        const off_t start = kQueueBase + range[0], len = range[1] - range[0];
        for (;;) {
            int err = waitForLock(fd, lockSpec(type, start, len), std::min(deadline, WaitClock::now() + kAheadSlice),
                                  way.blocking);
            if (err == 0) {
                unlock(fd, start, len);
                break;
            }
            if (err != EAGAIN || WaitClock::now() >= deadline)
                return err;
            if (!way.fileByLock) {
                freeSeen = heldElsewhere(fd, 0, kQueueBase) ? 0 : freeSeen + 1;
                if (freeSeen == kFreeChecks)
                    return 0;
                continue;
            }
            err = tryLock(fd, sharingLock(type));
            if (err != 0 && !refusedHere(err))
                return err;
            freeSeen = err == 0 ? freeSeen + 1 : 0;
            if (freeSeen == kFreeChecks) {
                holding = true;
                return 0;
            }
            if (err == 0)
                unlock(fd, 0, kQueueBase);
        }
    }
    return 0;
}

// Takes the sharing lock in turn: 0 when held, EAGAIN when the wait ran out,
// else the errno.
int lockInTurn(int fd, short type, WaitClock::time_point deadline, const LockWay& way)
{
    const struct flock whole = sharingLock(type);
    // Nobody waiting: the file is taken at once when it is free.
    if (!heldElsewhere(fd, kQueueBase, kSlots, way.byLock)) {
        const int err = tryLock(fd, whole);
        if (!refusedHere(err))
            return err;
    }
    const int slot = joinQueue(fd, type, way);
    bool holding = false;
    int err = slot < 0 ? 0 : waitAhead(fd, type, slot, deadline, way, holding);
    if (err == 0 && !holding)
        err = waitForLock(fd, whole, deadline, way.blocking);
    if (slot >= 0)
        unlock(fd, kQueueBase + slot, 1);
    return err;
}

// The gate of the programs of one PC to a file on an SMB share. The Linux SMB
// client gives a program that opens a file the server handle another program
// of the PC already has open alike, and it records a lock on that handle
// before the PC's own lock table refuses it: the refused lock stays recorded,
// against a program that does not hold it. Under a lease the client then
// refuses the holder's own reads and writes (EACCES); without one the server
// has granted a shared lock on the handle and refuses the holder's writes. So
// a program first takes the gate, a lock of the same kind on a local file
// named after the share file's device and inode, and asks the share only when
// no other program of this PC holds the file in a conflicting way: every lock
// the share then refuses was refused by the server, which records nothing.
// The gate's fd, or -1 without one (then the share is asked directly); `err`
// gets EAGAIN when the deadline came first (deadline: one attempt).
int takeGate(int fd, short type, WaitClock::time_point deadline, bool once, int& err)
{
    err = 0;
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return -1;
    const std::string path = "/tmp/.register-gate-" + std::to_string(st.st_dev) + "-" + std::to_string(st.st_ino);
    const int gate = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (gate < 0)
        return -1;
    fchmod(gate, 0666);  // registers of other users on this PC use it too
    const struct flock lk = lockSpec(type, 0, 1);
    err = once ? tryLock(gate, lk) : waitForLock(gate, lk, deadline, true);
    if (refusedHere(err))
        err = EAGAIN;
    if (err != 0) {
        ::close(gate);
        return -1;
    }
    return gate;
}
}  // namespace


namespace {
// The errno that refuses a write before it starts (an injected fault, or a
// step given up before its first write), or 0. From here on the step cannot
// be given up.
int writeRefused()
{
    if (FaultSeam::hit())
        return FaultSeam::failedErrno();
    return StepWatch::startWriting() ? 0 : ECANCELED;
}
}  // namespace

DataFile::~DataFile() { close(); }

int DataFile::tryOpen(const std::string& path, OpenMode mode) { return open(path, mode, -1); }

int DataFile::openInTurn(const std::string& path, OpenMode mode, int waitMs)
{
    return open(path, mode, waitMs < 0 ? 0 : waitMs);
}

int DataFile::open(const std::string& path, OpenMode mode, int waitMs)
{
    close();
    path_ = path;
    StepWatch::at(path);
    if (StepWatch::stopHere())
        return FileCause::WaitGivenUp;
    if (FaultSeam::hit()) {
        lastErrno_ = FaultSeam::failedErrno();
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
    const short type = mode == OpenMode::Read ? F_RDLCK : F_WRLCK;
    const auto deadline = WaitClock::now() + std::chrono::milliseconds(std::max(waitMs, 0));
    const LockWay way = lockWayOf(fd, type);
    int refused = 0;
    if (way.gate)
        gate_ = takeGate(fd, type, deadline, waitMs < 0, refused);
    if (refused == 0)
        refused = waitMs < 0 ? tryLock(fd, sharingLock(type)) : lockInTurn(fd, type, deadline, way);
    if (refused != 0) {
        lastErrno_ = refused;
        ::close(fd);
        closeGate();
        if (refused == EAGAIN || refused == EACCES)
            return FileCause::SharingViolation;
        if (refused == ECANCELED)
            return FileCause::LockGivenUp;  // held by another register meanwhile
        return causeFromErrno(refused);
    }
    const int failed = FaultSeam::held(FileFaults::Call::Open);
    // The open may have come back long after the cashier gave the step up.
    if (failed != 0 || StepWatch::stopHere()) {
        ::close(fd);
        closeGate();
        lastErrno_ = failed;
        return failed != 0 ? causeFromErrno(failed) : FileCause::WaitGivenUp;
    }
    if (mode == OpenMode::Create && ftruncate(fd, 0) != 0) {
        lastErrno_ = errno;
        ::close(fd);
        closeGate();
        return causeFromErrno(lastErrno_);
    }
    fd_ = fd;
    lastErrno_ = 0;
    return FileCause::None;
}

int DataFile::createWhole(const std::string& path, const void* data, std::size_t n)
{
    if (FaultSeam::hit())
        return FileCause::Generic;
    StepWatch::at(path);
    // An empty file is no change yet; one with contents is.
    if (n > 0 ? !StepWatch::startWriting() : StepWatch::stopHere())
        return FileCause::WaitGivenUp;
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
    if (FaultSeam::hit()) {
        lastErrno_ = FaultSeam::failedErrno();
        return -1;
    }
    StepWatch::at(path_);
    if (const int failed = FaultSeam::held(FileFaults::Call::Read); failed != 0) {
        lastErrno_ = failed;
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
    if (const int refused = writeRefused(); refused != 0) {
        lastErrno_ = refused;
        return false;
    }
    StepWatch::at(path_);
    if (const int failed = FaultSeam::held(FileFaults::Call::Write); failed != 0) {
        lastErrno_ = failed;
        return false;
    }
    if (FaultSeam::tracking())
        FaultSeam::remember(fd_, path_, offset, static_cast<long long>(n));
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
    if (FaultSeam::hit()) {
        lastErrno_ = FaultSeam::failedErrno();
        return false;
    }
    if (fdatasync(fd_) != 0) {
        lastErrno_ = errno;
        return false;
    }
    if (FaultSeam::tracking())
        FaultSeam::flushed(fd_);
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
    if (const int refused = writeRefused(); refused != 0) {
        lastErrno_ = refused;
        return false;
    }
    if (FaultSeam::tracking()) {
        const long long old = this->size();
        if (old > size)
            FaultSeam::remember(fd_, path_, size, old - size, true);
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
    closeGate();
}

void DataFile::closeGate()
{
    if (gate_ >= 0) {
        ::close(gate_);  // after the share's lock, so the next program here finds it free
        gate_ = -1;
    }
}

std::string DataFile::lastErrorText() const
{
    return lastErrno_ ? std::strerror(lastErrno_) : std::string("no error");
}

int DataFile::failure() const
{
    const int cause = causeFromErrno(lastErrno_);
    return cause == FileCause::None ? FileCause::Generic : cause;
}

int DataFile::waitingFor(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    bool held[kSlots] = {};
    findHeld(fd, 0, kSlots, held, false);
    ::close(fd);
    return static_cast<int>(std::count(held, held + kSlots, true));
}

bool readFully(DataFile& f, long long offset, void* buf, std::size_t n)
{
    return f.readAt(offset, buf, n) == static_cast<long long>(n);
}
