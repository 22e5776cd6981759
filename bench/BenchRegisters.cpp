#include "BenchRegisters.h"

#include "BenchPair.h"
#include "storage/files/CLocalFile.h"
#include "receivables/PaidRule.h"
#include "storage/files/InvoiceFile.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
bool writeAll(int fd, const std::vector<double>& ms)
{
    const auto* bytes = reinterpret_cast<const char*>(ms.data());
    std::size_t left = ms.size() * sizeof(double);
    while (left > 0) {
        const ssize_t w = write(fd, bytes, left);
        if (w <= 0)
            return false;
        bytes += w;
        left -= static_cast<std::size_t>(w);
    }
    return true;
}

std::vector<double> readAll(int fd)
{
    std::vector<double> ms;
    double value;
    while (read(fd, &value, sizeof value) == static_cast<ssize_t>(sizeof value))
        ms.push_back(value);
    return ms;
}
}  // namespace

BenchRegistersResult runRegisters(const std::vector<BenchRegister>& registers)
{
    BenchRegistersResult result;
    result.ms.resize(registers.size());
    // go: every register starts when the parent closes it; stop: the others
    // stop when the parent closes it, after the main registers have ended.
    int go[2], stop[2];
    if (pipe(go) != 0) {
        result.failed = static_cast<int>(registers.size());
        return result;
    }
    if (pipe(stop) != 0) {
        close(go[0]);
        close(go[1]);
        result.failed = static_cast<int>(registers.size());
        return result;
    }
    std::vector<pid_t> pids(registers.size(), -1);
    std::vector<int> fds(registers.size(), -1);
    for (std::size_t r = 0; r < registers.size(); ++r) {
        int times[2];
        if (pipe(times) != 0)
            break;
        const pid_t pid = fork();
        if (pid == 0) {
            close(go[1]);
            close(stop[1]);
            close(times[0]);
            for (std::size_t before = 0; before < r; ++before)
                close(fds[before]);
            char c;
            if (read(go[0], &c, 1) != 0)
                _exit(2);
            const auto keepGoing = [fd = stop[0]] {
                pollfd p{fd, POLLIN, 0};
                return poll(&p, 1, 0) == 0;
            };
            std::vector<double> ms;
            const bool ok = registers[r].work(ms, keepGoing);
            _exit(!writeAll(times[1], ms) ? 3 : ok ? 0 : 1);
        }
        close(times[1]);
        if (pid < 0) {
            close(times[0]);
            break;
        }
        pids[r] = pid;
        fds[r] = times[0];
    }
    close(go[0]);
    close(go[1]);
    close(stop[0]);

    auto collect = [&](bool main) {
        for (std::size_t r = 0; r < registers.size(); ++r) {
            if (registers[r].main != main)
                continue;
            if (pids[r] < 0) {
                ++result.failed;
                continue;
            }
            result.ms[r] = readAll(fds[r]);
            close(fds[r]);
            int status = 0;
            waitpid(pids[r], &status, 0);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                ++result.failed;
        }
    };
    collect(true);
    close(stop[1]);
    collect(false);
    return result;
}

double percentile(const std::vector<double>& sorted, int percent)
{
    if (sorted.empty())
        return 0;
    const std::size_t rank = (sorted.size() * static_cast<std::size_t>(percent) + 99) / 100;
    return sorted[rank == 0 ? 0 : rank - 1];
}

BenchRegister appendingRegister(const std::string& folder, int appends, std::function<InvoiceRecord(int)> sale,
                                const CalendarTime& now)
{
    return {[=](std::vector<double>& ms, const std::function<bool()>&) {
        const CLocalFile mine(folder);
        int count = 0;
        for (int i = 0; i < appends; ++i) {
            InvoiceRecord record = sale(i);
            int stored = -1;
            ms.push_back(timeMs([&] { stored = AppendInvoice(mine, record, count, now); }));
            if (stored < 0)
                return false;
        }
        return true;
    }};
}
