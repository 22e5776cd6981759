#pragma once
// The private CUPS server of cups-server.sh: raw queues "receipt" and
// "spare", the driver queue "office" (the default), each capturing its jobs
// as files; jobs counted per queue and read back in job order, and the
// ESC/POS a raw receipt carries taken apart.

#include "platform/ReceiptPrinter.h"
#include "support/FolderEvents.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <numeric>
#include <thread>

namespace cupstest {

namespace fs = std::filesystem;

inline const std::string kCaptureDir = CUPS_TEST_DIR "/capture";
inline const std::string kKick("\x1B\x70\x00\x19\xFA", 5);
inline const char* const kQueues[] = {"receipt", "office", "spare"};

inline bool isPdf(const std::string& bytes) { return bytes.rfind("%PDF", 0) == 0; }
inline bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

inline std::string readAll(const std::string& path)
{
    const std::vector<std::uint8_t> b = readBytes(path);
    return {b.begin(), b.end()};
}

// What a program writes on its standard output.
inline std::string run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(-1);
    return p.readAllStandardOutput().toStdString();
}

// Every queue accepting and enabled, whatever a test before left; false
// when the server is not running.
inline bool queuesReady()
{
    run("cupsaccept", {"receipt", "office", "spare"});
    run("cupsenable", {"receipt", "office", "spare"});
    return fs::is_directory(kCaptureDir);
}

// How long a call kept the caller away, in milliseconds.
inline qint64 msAway(const std::function<void()>& call)
{
    QElapsedTimer took;
    took.start();
    call();
    return took.elapsed();
}

// Calls `each` with every job the server knows of on a queue, finished or not.
inline void eachJob(const char* queue, const std::function<void(const cups_job_t&)>& each)
{
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < n; ++i)
        each(jobs[i]);
    cupsFreeJobs(n, jobs);
}

// Jobs on each queue.
inline std::vector<int> jobCounts()
{
    std::vector<int> out(std::size(kQueues));
    for (std::size_t q = 0; q < out.size(); ++q)
        eachJob(kQueues[q], [&n = out[q]](const cups_job_t&) { ++n; });
    return out;
}

// The captured jobs by job id; the backend names them <queue>-<job id>.
inline std::map<int, std::string> capturedFiles()
{
    std::map<int, std::string> byJob;
    for (const auto& entry : fs::directory_iterator(kCaptureDir)) {
        const std::string name = entry.path().filename().string();
        if (name[0] != '.')
            byJob[std::stoi(name.substr(name.rfind('-') + 1))] = name;
    }
    return byJob;
}

// The state of a job on a queue once it is `want`; the last state seen when
// the server never gets there (the bound only catches a hang).
inline int jobStateOnceItIs(const char* queue, int id, int want)
{
    int state = 0;
    for (int tries = 0; tries < 3000 && state != want; ++tries) {
        eachJob(queue, [&state, id](const cups_job_t& job) { state = job.id == id ? job.state : state; });
        if (state != want)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return state;
}

// The server's process, to stop and continue it.
inline pid_t cupsdPid() { return std::stoi(readAll(CUPS_TEST_DIR "/cupsd.pid")); }

// A wait for the print service far above any answer of a loaded machine, and
// far below the 60 s a blocked CUPS call would take; back to 2 s after the test.
struct GenerousAnswerBound {
    GenerousAnswerBound() { ReceiptPrinter::setAnswerBound(10000); }
    ~GenerousAnswerBound() { ReceiptPrinter::setAnswerBound(2000); }
};

// Counts the jobs submitted since forget() and reads what was captured.
class JobWatch {
public:
    void forget()
    {
        for (const auto& entry : fs::directory_iterator(kCaptureDir))
            fs::remove(entry.path());
        before_ = jobCounts();
    }
    // Checks the jobs on receipt, office and spare; the bytes of each, in job order.
    std::vector<std::string> expectJobs(const std::vector<int>& perQueue)
    {
        EXPECT_EQ(submitted(), perQueue);
        const auto count = static_cast<std::size_t>(std::accumulate(perQueue.begin(), perQueue.end(), 0));
        waitInFolder(kCaptureDir, [count] { return capturedFiles().size() >= count; }, 60000);
        std::vector<std::string> out;
        for (const auto& [id, name] : capturedFiles())
            out.push_back(readAll(kCaptureDir + "/" + name));
        EXPECT_EQ(out.size(), count) << "jobs captured";
        out.resize(std::max(out.size(), count));
        return out;
    }

    // Jobs the server was given on each queue since forget(), cancelled ones too.
    std::vector<int> submitted() const
    {
        std::vector<int> out = jobCounts();
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] -= before_[i];
        return out;
    }

private:
    std::vector<int> before_;
};

// An ESC/POS raster receipt taken apart: ESC @, GS v 0 bands of one width, the cut.
struct EscPosReceipt {
    bool valid = false;  // every byte accounted for, in that order
    int widthBytes = 0, rows = 0, blackDots = 0;
};
inline EscPosReceipt decodeEscPos(const std::string& b)
{
    EscPosReceipt r;
    const auto byte = [&b](std::size_t i) { return static_cast<unsigned char>(b[i]); };
    std::size_t at = 2;
    for (; b.rfind("\x1B@", 0) == 0 && b.compare(at, 4, std::string("\x1Dv0\0", 4)) == 0 && at + 8 <= b.size();) {
        r.widthBytes = byte(at + 4) | byte(at + 5) << 8;
        const int rows = byte(at + 6) | byte(at + 7) << 8;
        const std::size_t end = at + 8 + static_cast<std::size_t>(r.widthBytes) * rows;
        if (end > b.size())
            return r;
        for (at += 8; at < end; ++at)
            r.blackDots += __builtin_popcount(byte(at));
        r.rows += rows;
    }
    r.valid = r.rows > 0 && b.compare(at, 3, "\x1DV\x42") == 0 && at + 4 == b.size();
    return r;
}

}  // namespace cupstest
