#pragma once
// CUPS queues by name: their state, what identifies them, and jobs sent to
// them through libcups. The machine's default printer is only ever read.
//
// Every request that can wait on the print server runs on a thread of its
// own; the window waits for it at most answerBound() milliseconds. A server
// that answers later leaves the window free; what it finally says about jobs
// already sent is reported on the window's thread when it comes.

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

// How long the window waits for the print server (milliseconds, 2000 unless set).
int answerBound();
void setAnswerBound(int ms);

// Sends one document of the given MIME type as a job to the queue. Waits on
// the server without bound: call it off the window's thread.
PrintJobResult SubmitJob(const std::string& queue, const std::string& title, const char* format,
                         const void* data, std::size_t size, int copies = 1);

struct Job {
    std::string title;
    const char* format = nullptr;  // CUPS_FORMAT_RAW, CUPS_FORMAT_PDF
    std::string bytes;
    int copies = 1;
};
struct JobsOutcome {
    int sent = 0;            // jobs the server took, in order
    PrintJobResult failure;  // the first refused job (ok when none was)
};
// Sends the jobs in order, stopping at the first one refused, off the
// window's thread. The outcome when it comes within the answer bound; else
// nothing, and `late` gets the outcome on the window's thread once it comes.
std::optional<JobsOutcome> SendJobs(const std::string& queue, std::vector<Job> jobs,
                                    std::function<void(const JobsOutcome&)> late);

}  // namespace ReceiptPrinter
