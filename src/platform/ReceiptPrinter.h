#pragma once
// CUPS queues by name: their state, what identifies them, and jobs sent to
// them through libcups. The machine's default printer is only ever read.
//
// Every request that can wait on the print server runs on a thread of its
// own; the window waits for it at most answerBound() milliseconds. A server
// that answers later leaves the window free, and a job it takes after the
// window has stopped waiting is cancelled as soon as its id is known, so
// nothing the cashier was told did not print comes out later.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct PrintJobResult {
    bool ok = false;
    int jobId = 0;         // the CUPS job, 0 when none was created or a file was written
    std::string message;   // why it failed
};

namespace ReceiptPrinter {

enum class QueueState { Ready, Stopped, Rejecting, Missing, NoDefault, Unreachable, NotAnswering };

struct QueueStatus {
    QueueState state = QueueState::Unreachable;
    std::string queue;  // the queue asked about, or the default found
    bool raw = false;   // no driver: the bytes go to the printer as they are
    std::string makeAndModel;
    std::string deviceUri;
    bool ready() const { return state == QueueState::Ready; }
};

// The queue's state, asked of the server while the window waits at most the
// answer bound (NotAnswering after it). An empty name asks for the machine's
// default printer.
QueueStatus Look(const std::string& queue);
// Why a queue in that state cannot print, as a clause ("the receipt printer
// \"x\" is paused").
std::string Reason(const QueueStatus& status);

// Why nothing went out when the server did not answer within the bound.
std::string SilentReason();

// How long the window waits for the print server (milliseconds, 2000 unless set).
int answerBound();
void setAnswerBound(int ms);

// The queues the print server lists, and its default; nothing when it does
// not answer within the bound. A server that cannot be reached lists none.
struct QueueList {
    std::vector<std::string> names;
    std::string defaultQueue;
};
std::optional<QueueList> Queues();

struct Job {
    std::string title;
    const char* format = nullptr;  // CUPS_FORMAT_RAW, CUPS_FORMAT_PDF
    std::string bytes;
    int copies = 1;
};
struct JobsOutcome {
    int sent = 0;            // jobs the server took, in order, within the bound
    bool answered = true;    // false: the bound ran out, the rest is cancelled
    PrintJobResult failure;  // the first refused job (ok when none was)
};
// Sends the jobs in order, stopping at the first one refused, off the
// window's thread, and waits at most the answer bound. When the bound runs
// out, the jobs not yet taken are never sent, and the one on its way is
// cancelled as soon as the server gives its id.
JobsOutcome SendJobs(const std::string& queue, std::vector<Job> jobs);

// Called on the sending thread with each job's id as soon as the server has
// created it; tests hold the thread there. Nothing by default.
void setJobCreatedHook(std::function<void(int job)> hook);

}  // namespace ReceiptPrinter
