#pragma once
// Registers run as child processes: raced against each other, or killed with
// SIGKILL after a random number of acknowledged operations and started again;
// what holds a file they wait for; and the plain byte decoders the checks
// afterwards use instead of the code under test.

#include <gtest/gtest.h>

#include "storage/files/CLocalFile.h"
#include "storage/io/DataFile.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <poll.h>
#include <random>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace rawbytes {
inline long long i32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24);
}
inline int u16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
inline float f32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    const std::uint32_t bits = static_cast<std::uint32_t>(i32(b, at));
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}
inline std::string text(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t width)
{
    const auto* p = reinterpret_cast<const char*>(b.data() + at);
    return std::string(p, strnlen(p, width));
}
// The counted records of a file (its count at countAt): each as its offset into
// `bytes`. The count must not pass the records present.
inline std::vector<std::size_t> counted(const std::vector<std::uint8_t>& bytes, std::size_t countAt, std::size_t header,
                                        std::size_t record, const char* name)
{
    std::vector<std::size_t> at;
    if (bytes.size() < header)
        return at;
    const long long count = i32(bytes, countAt);
    const long long room = static_cast<long long>((bytes.size() - header) / record);
    EXPECT_GE(count, 0) << name;
    EXPECT_LE(count, room) << name << ": counted records missing";
    for (long long i = 0; i < std::min(count, room); ++i)
        at.push_back(header + static_cast<std::size_t>(i) * record);
    return at;
}
}  // namespace rawbytes

// Who holds a file that a register has waited for too long, to print instead
// of waiting for ever: the locks other opens hold on it as F_OFD_GETLK sees them
// (the sharing range and each queue slot; on a network share the server
// answers), and the processes here whose open files hold locks on it, with
// their lock table lines. A lock the server reports that no process here
// holds was left on the server.
inline std::string lockReport(const std::string& path)
{
    std::ostringstream out;
    out << "waiting for " << path << "\n";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return out.str() + "  cannot open it: " + std::strerror(errno) + "\n";
    auto probe = [&](const std::string& what, long long start, long long len) {
        struct flock lk {.l_type = F_WRLCK, .l_whence = SEEK_SET, .l_start = start, .l_len = len, .l_pid = 0};
        if (fcntl(fd, F_OFD_GETLK, &lk) != 0)
            out << "  " << what << ": cannot ask (" << std::strerror(errno) << ")\n";
        else if (lk.l_type != F_UNLCK)
            out << "  " << what << ": held " << (lk.l_type == F_RDLCK ? "shared" : "exclusively") << " from "
                << lk.l_start << " for " << lk.l_len << "\n";
    };
    probe("sharing lock", 0, DataFile::kQueueStart);
    for (int i = 0; i < DataFile::kQueueSlots; ++i)
        probe("queue slot " + std::to_string(i), DataFile::kQueueStart + i, 1);
    struct stat st {};
    fstat(fd, &st);
    ::close(fd);
    // A lock line names the file as device:inode.
    const std::string inode = ":" + std::to_string(st.st_ino) + " ";
    int holders = 0;
    namespace fs = std::filesystem;
    std::error_code ec;
    for (auto proc = fs::directory_iterator("/proc", ec); proc != fs::directory_iterator(); proc.increment(ec)) {
        const std::string pid = proc->path().filename();
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        for (auto f = fs::directory_iterator(proc->path() / "fdinfo", ec); f != fs::directory_iterator(); f.increment(ec)) {
            std::ifstream info(f->path());
            for (std::string line; std::getline(info, line);) {
                if (line.rfind("lock:", 0) != 0 || line.find(inode) == std::string::npos)
                    continue;
                std::string state, wchan;
                std::getline(std::ifstream(proc->path() / "wchan"), wchan);
                std::ifstream(proc->path() / "stat") >> state >> state >> state;
                out << "  process " << pid << " (state " << state << ", waiting in " << wchan << "), fd "
                    << f->path().filename().string() << ": " << line << "\n";
                ++holders;
            }
        }
    }
    if (holders == 0)
        out << "  no process here holds a lock on inode " << st.st_ino << "\n";
    return out.str();
}

// One line appended to a register's log outside the data folder. The write
// reaches the kernel before the next operation, so a kill cannot take it back.
inline void noteLine(int logFd, const std::string& line)
{
    const std::string text = line + "\n";
    if (write(logFd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        _exit(4);
}

// The next register opens each of these files, rolling back what a killed one left.
inline void expectFilesOpen(const CLocalFile& local, std::initializer_list<const char*> kinds)
{
    for (const char* kind : kinds) {
        DataFile f;
        EXPECT_EQ(CLocalFile::OpenFile(f, local.GetPath(kind), OpenMode::Read), FileCause::None) << kind;
    }
}

// Runs body() in a child process that ends with _exit(body()): its exit code,
// or -1 when it ended otherwise.
inline int exitCodeOf(const std::function<int()>& body)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs body(i) for i in 0..n-1, each in a child process, all released
// together; true when every one ends with _exit(0).
inline bool raceChildren(int n, const std::function<bool(int)>& body)
{
    int gate[2];
    if (pipe(gate) != 0)
        return false;
    std::vector<pid_t> pids;
    for (int c = 0; c < n; ++c) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(gate[1]);
            char go;
            (void)!read(gate[0], &go, 1);  // released when the parent closes the pipe
            _exit(body(c) ? 0 : 1);
        }
        pids.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    bool ok = true;
    for (pid_t pid : pids) {
        int status = 0;
        ok = waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ok;
    }
    return ok;
}

// Starts N registers; each runs child(register, life, notifyFd) in a child
// process, which writes one byte to notifyFd per acknowledged operation and
// ends with _exit(0) when done. After 1..8 acknowledgements (drawn from rng) a
// register is killed with SIGKILL and started again in its next life. Returns
// when all have finished; `kills` counts the kills, including those the child
// caused itself (any death by signal).
template <std::size_t N>
void RunKilledRegisters(std::mt19937& rng, const std::function<void(int, int, int)>& child, int& kills)
{
    struct Running {
        pid_t pid = -1;
        int fd = -1;
        int acks = 0;
        int killAfter = 0;
        int life = 0;
        bool finished = false;
    };
    std::array<Running, N> regs;
    kills = 0;
    // A failed check returns early: the registers still running go with it,
    // so none of them holds the folder, or waits on it, after the test.
    struct EndAll {
        std::array<Running, N>& regs;
        ~EndAll()
        {
            for (Running& run : regs)
                if (!run.finished && run.pid > 0 && kill(run.pid, SIGKILL) == 0)
                    waitpid(run.pid, nullptr, 0);
        }
    } endAll{regs};
    // REGISTER_TORTURE_PROGRESS=n: a line every n acknowledgements, so a run
    // that is slow shows it is still moving and one that hangs shows where.
    const char* every = std::getenv("REGISTER_TORTURE_PROGRESS");
    const int progressEvery = every ? std::atoi(every) : 0;
    int acknowledged = 0;
    auto start = [&](std::size_t r) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        Running& run = regs[r];
        run.acks = 0;
        run.killAfter = 1 + static_cast<int>(rng() % 8);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            child(static_cast<int>(r), run.life, fds[1]);
            _exit(7);
        }
        close(fds[1]);
        run.pid = pid;
        run.fd = fds[0];
    };
    for (std::size_t r = 0; r < N; ++r)
        start(r);
    std::size_t running = N;
    while (running > 0) {
        std::array<pollfd, N> polls{};
        for (std::size_t r = 0; r < N; ++r)
            polls[r] = {regs[r].finished ? -1 : regs[r].fd, POLLIN, 0};
        ASSERT_GT(poll(polls.data(), polls.size(), -1), 0);
        for (std::size_t r = 0; r < N; ++r) {
            Running& run = regs[r];
            if (run.finished || !(polls[r].revents & (POLLIN | POLLHUP)))
                continue;
            char acks[64];
            const ssize_t got = read(run.fd, acks, sizeof acks);
            run.acks += static_cast<int>(std::max<ssize_t>(got, 0));
            for (ssize_t i = 0; i < got; ++i)
                if (progressEvery > 0 && ++acknowledged % progressEvery == 0)
                    std::fprintf(stderr, "registers: %d acknowledged, %d killed\n", acknowledged, kills);
            if (got > 0 && run.acks < run.killAfter)
                continue;
            if (got > 0)
                kill(run.pid, SIGKILL);  // somewhere inside a later operation
            int status = 0;
            ASSERT_EQ(waitpid(run.pid, &status, 0), run.pid);
            run.pid = -1;
            close(run.fd);
            if (WIFEXITED(status)) {
                ASSERT_EQ(WEXITSTATUS(status), 0) << "register " << r << " failed";
                run.finished = true;
                --running;
                continue;
            }
            ++kills;
            ++run.life;
            start(r);
        }
    }
}
