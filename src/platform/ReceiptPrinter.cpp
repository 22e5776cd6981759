#include "platform/ReceiptPrinter.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <cups/cups.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace ReceiptPrinter {

namespace {

std::atomic<int> boundMs{2000};

// Runs `work` on a thread of its own and waits at most the answer bound. A
// result that comes later goes to `late` on the window's thread (dropped
// without one). libcups keeps one server connection per thread, so the
// threads never share one.
template <class R>
std::optional<R> Bounded(std::function<R()> work, std::function<void(const R&)> late = {})
{
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<R> result;
        bool abandoned = false;
        std::function<void(const R&)> late;
    };
    auto shared = std::make_shared<Shared>();
    shared->late = std::move(late);
    std::thread([shared, work = std::move(work)] {
        R result = work();
        std::unique_lock lock(shared->mutex);
        if (!shared->abandoned) {
            shared->result = std::move(result);
            shared->done.notify_all();
            return;
        }
        if (shared->late && QCoreApplication::instance())
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [shared, result] { shared->late(result); }, Qt::QueuedConnection);
    }).detach();
    std::unique_lock lock(shared->mutex);
    if (!shared->done.wait_for(lock, std::chrono::milliseconds(boundMs.load()), [&] { return shared->result.has_value(); })) {
        shared->abandoned = true;
        return std::nullopt;
    }
    return shared->result;
}

std::string option(const cups_dest_t* dest, const char* name)
{
    const char* value = cupsGetOption(name, dest->num_options, dest->options);
    return value ? value : "";
}

// The scheduler's fixed make and model of a queue set up without a driver.
constexpr const char* kRawModel = "Local Raw Printer";

QueueStatus lookNow(const std::string& queue)
{
    QueueStatus status;
    status.queue = queue;
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.empty() ? nullptr : queue.c_str(), nullptr);
    if (!dest) {
        const ipp_status_t error = cupsLastError();
        if (error == IPP_STATUS_ERROR_NOT_FOUND || error == IPP_STATUS_OK || error == IPP_STATUS_ERROR_BAD_REQUEST)
            status.state = queue.empty() ? QueueState::NoDefault : QueueState::Missing;
        else
            status.state = QueueState::Unreachable;
        return status;
    }
    status.queue = dest->name;
    status.makeAndModel = option(dest, "printer-make-and-model");
    status.deviceUri = option(dest, "device-uri");
    status.raw = status.makeAndModel == kRawModel;
    if (option(dest, "printer-state") == std::to_string(IPP_PSTATE_STOPPED))
        status.state = QueueState::Stopped;
    else if (option(dest, "printer-is-accepting-jobs") == "false")
        status.state = QueueState::Rejecting;
    else
        status.state = QueueState::Ready;
    cupsFreeDests(1, dest);
    return status;
}

}  // namespace

int answerBound() { return boundMs.load(); }
void setAnswerBound(int ms) { boundMs = ms; }

QueueStatus Look(const std::string& queue)
{
    if (std::optional<QueueStatus> status = Bounded<QueueStatus>([queue] { return lookNow(queue); }))
        return *status;
    QueueStatus silent;
    silent.state = QueueState::NotAnswering;
    silent.queue = queue;
    return silent;
}

std::string Reason(const QueueStatus& status)
{
    const std::string printer = "the printer \"" + status.queue + "\"";
    switch (status.state) {
    case QueueState::Ready: return {};
    case QueueState::Stopped: return printer + " is paused (stopped) in the print service";
    case QueueState::Rejecting: return printer + " is not accepting jobs";
    case QueueState::Missing: return printer + " is not available";
    case QueueState::NoDefault: return "no receipt printer is chosen and the machine has no default printer";
    case QueueState::Unreachable: return "the print service (CUPS) is not running or cannot be reached";
    case QueueState::NotAnswering:
        return "the print service (CUPS) did not answer within " + std::to_string(answerBound() / 1000) + " seconds";
    }
    return {};
}

PrintJobResult SubmitJob(const std::string& queue, const std::string& title, const char* format, const void* data,
                         std::size_t size, int copies)
{
    PrintJobResult result;
    auto failed = [&result, &queue](int job) {
        result.message = "The printer \"" + queue + "\" refused the job: " + cupsLastErrorString();
        if (job > 0)
            cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), job, 0);
        return result;
    };
    cups_option_t* options = nullptr;
    int count = 0;
    if (copies > 1)
        count = cupsAddOption("copies", std::to_string(copies).c_str(), count, &options);
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.c_str(), title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job <= 0)
        return failed(0);
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.c_str(), job, title.c_str(), format, 1) != HTTP_STATUS_CONTINUE)
        return failed(job);
    if (size > 0 &&
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, static_cast<const char*>(data), size) != HTTP_STATUS_CONTINUE) {
        cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str());
        return failed(job);
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str()) != IPP_STATUS_OK)
        return failed(job);
    result.ok = true;
    result.jobId = job;
    return result;
}

std::optional<JobsOutcome> SendJobs(const std::string& queue, std::vector<Job> jobs,
                                    std::function<void(const JobsOutcome&)> late)
{
    auto send = [queue, jobs = std::move(jobs)] {
        JobsOutcome outcome;
        outcome.failure.ok = true;
        for (const Job& job : jobs) {
            PrintJobResult r = SubmitJob(queue, job.title, job.format, job.bytes.data(), job.bytes.size(), job.copies);
            if (!r.ok) {
                outcome.failure = r;
                break;
            }
            ++outcome.sent;
        }
        return outcome;
    };
    return Bounded<JobsOutcome>(send, std::move(late));
}

}  // namespace ReceiptPrinter
