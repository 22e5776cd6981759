// The fault seam of the file interface: the Nth operation failing or ending
// the process (a power cut undoing what was not flushed), and a call held or
// failed on a watched step's thread. Tests only arm it; unarmed it costs a
// counter.
#include "storage/io/FaultSeam.h"

#include "storage/io/StepWatch.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {
struct FaultPlan {
    long nth = 0;
    long seen = 0;
    FileFaults::Action action = FileFaults::Action::Fail;
    bool once = true;
    bool armed = false;
    unsigned seed = 1;
    int err = EIO;  // the errno a failed operation leaves
};
FaultPlan plan;

// A write or truncation not yet flushed, with the bytes it replaced, for the
// power-cut mode.
struct Unflushed {
    std::string path;
    dev_t dev;
    ino_t ino;
    long long offset;
    long long length;
    std::vector<char> before;  // what was there (shorter past the old end)
    bool truncation;           // kept or dropped whole
};
std::vector<Unflushed> unflushed;

// The held call of holdNext(): which kind is to be held, and whether one is.
struct Hold {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<FileFaults::Call> next;
    int fail = 0;  // the errno the call fails with; 0: held instead
    bool holding = false;
};
Hold hold;

// Waits here while the test holds this kind of call (on a watched step's
// thread only, so the window's own thread never stops here). The errno the
// call is to fail with, or 0.
int heldHere(FileFaults::Call call)
{
    if (!StepWatch::watched())
        return 0;
    std::unique_lock<std::mutex> lock(hold.mutex);
    if (hold.next != call)
        return 0;
    hold.next.reset();
    if (hold.fail != 0)
        return std::exchange(hold.fail, 0);
    hold.holding = true;
    hold.changed.notify_all();
    hold.changed.wait(lock, [] { return !hold.holding; });
    return 0;
}

bool tracking() { return plan.armed && plan.action == FileFaults::Action::PowerCut; }

void remember(int fd, const std::string& path, long long offset, long long length, bool truncation = false)
{
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return;
    Unflushed u{path, st.st_dev, st.st_ino, offset, length, {}, truncation};
    const long long kept = std::min<long long>(length, std::max<long long>(0, st.st_size - offset));
    u.before.resize(static_cast<std::size_t>(kept));
    if (kept > 0 && ::pread(fd, u.before.data(), u.before.size(), offset) != static_cast<ssize_t>(kept))
        u.before.clear();
    unflushed.push_back(std::move(u));
}

void flushed(int fd)
{
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return;
    std::erase_if(unflushed, [&](const Unflushed& u) { return u.dev == st.st_dev && u.ino == st.st_ino; });
}

// Puts back the old bytes of [from, to) of an unflushed change.
void undo(const Unflushed& u, long long from, long long to)
{
    const int fd = ::open(u.path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    std::vector<char> bytes(static_cast<std::size_t>(to - from), 0);
    for (long long i = from; i < to; ++i)
        if (i - u.offset < static_cast<long long>(u.before.size()))
            bytes[static_cast<std::size_t>(i - from)] = u.before[static_cast<std::size_t>(i - u.offset)];
    if (::pwrite(fd, bytes.data(), bytes.size(), from) < 0) {
        // nothing more a simulated power cut can do
    }
    ::close(fd);
}

[[noreturn]] void cutPower()
{
    std::mt19937 rng(plan.seed);
    for (auto it = unflushed.rbegin(); it != unflushed.rend(); ++it) {
        const long long end = it->offset + it->length;
        switch (rng() % (it->truncation ? 2 : 3)) {
        case 0: break;  // reached the disk
        case 1: undo(*it, it->offset, end); break;
        default:
            for (long long from = it->offset; from < end;) {
                const long long to = std::min(end, (from / 512 + 1) * 512);
                if (rng() % 2)
                    undo(*it, from, to);
                from = to;
            }
        }
    }
    _exit(86);
}

// True when this operation must fail (or the process ends here).
bool faultHere()
{
    ++plan.seen;
    if (!plan.armed || plan.seen < plan.nth)
        return false;
    if (plan.action == FileFaults::Action::PowerCut)
        cutPower();
    if (plan.action == FileFaults::Action::Exit)
        _exit(86);
    if (plan.action == FileFaults::Action::Kill)
        ::kill(::getpid(), SIGKILL);
    if (plan.once && plan.seen > plan.nth)
        return false;
    return true;
}
}  // namespace

namespace FaultSeam {
bool hit() { return faultHere(); }
int failedErrno() { return plan.err; }
bool tracking() { return ::tracking(); }
void remember(int fd, const std::string& path, long long offset, long long length, bool truncation)
{
    ::remember(fd, path, offset, length, truncation);
}
void flushed(int fd) { ::flushed(fd); }
int held(FileFaults::Call call) { return heldHere(call); }
}  // namespace FaultSeam

namespace FileFaults {
void arm(long nth, Action action, bool once, unsigned seed)
{
    plan = FaultPlan{nth, 0, action, once, true, seed};
    unflushed.clear();
}
void disarm()
{
    plan = FaultPlan{};
    unflushed.clear();
}
long count() { return plan.seen; }
void failWith(int err) { plan.err = err; }
void holdNext(Call call) { failNext(call, 0); }
void failNext(Call call, int err)
{
    std::lock_guard<std::mutex> lock(hold.mutex);
    hold.next = call;
    hold.fail = err;
}
void waitUntilHeld()
{
    std::unique_lock<std::mutex> lock(hold.mutex);
    hold.changed.wait(lock, [] { return hold.holding; });
}
void letGo()
{
    std::lock_guard<std::mutex> lock(hold.mutex);
    hold.next.reset();
    hold.holding = false;
    hold.changed.notify_all();
}
}  // namespace FileFaults
