#pragma once
// Registers run as child processes and killed with SIGKILL after a random
// number of acknowledged operations, then started again; and the plain byte
// decoders the checks afterwards use instead of the code under test.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <poll.h>
#include <random>
#include <signal.h>
#include <string>
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
            if (got > 0 && run.acks < run.killAfter)
                continue;
            if (got > 0)
                kill(run.pid, SIGKILL);  // somewhere inside a later operation
            int status = 0;
            ASSERT_EQ(waitpid(run.pid, &status, 0), run.pid);
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
