#include "storage/io/FileWait.h"

#include "storage/io/StepWatch.h"
#include "storage/io/UserPrompt.h"
#include "storage/records/TextFormat.h"

#include <chrono>

namespace {
int waitBeforeAskingMs = 5000;
constexpr int kWatchedWaitMs = 3600 * 1000;
}

namespace FileWait {
int OpenLocked(DataFile& file, const std::string& path, OpenMode mode)
{
    using clock = std::chrono::steady_clock;
    const auto started = clock::now();
    // Under a window's watch the window asks, whatever the call is doing, and
    // the wait keeps its place in the queue until the file comes or the
    // cashier gives it up.
    const int waitMs = StepWatch::watched() ? kWatchedWaitMs : waitBeforeAskingMs;
    for (;;) {
        const int cause = file.openInTurn(path, mode, waitMs);
        if (cause != FileCause::SharingViolation)
            return cause;
        const auto waited = std::chrono::duration_cast<std::chrono::seconds>(clock::now() - started).count();
        // While the question is open this register has left the queue, so the
        // registers behind it are not held up by an unanswered box.
        if (!KeepWaitingFor(path, static_cast<long long>(waited)))
            return FileCause::LockGivenUp;
    }
}

bool KeepWaitingFor(const std::string& path, long long waitedSeconds)
{
    if (StepWatch::watched())
        return !StepWatch::stopHere();
    return userPrompt().keepWaiting(strprintf(
        "Another register is using this file:\n\n%s\n\nIt has been busy for %lld seconds.\n\n"
        "Keep waiting?\n\n(No gives up this operation and changes nothing.)",
        path.c_str(), waitedSeconds));
}

void setWaitBeforeAsking(int ms) { waitBeforeAskingMs = ms; }

int waitBeforeAsking() { return waitBeforeAskingMs; }
}  // namespace FileWait
