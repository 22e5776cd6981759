#include "platform/ReceiptPrinter.h"

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

std::mutex hookMutex;
std::function<void(int)> jobCreatedHook;

// Runs `work` on a thread of its own and waits at most the answer bound;
// nothing when it has not finished by then. libcups keeps one server
// connection per thread, so the threads never share one.
template <class R> std::optional<R> Bounded(std::function<R()> work)
{
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<R> result;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, work = std::move(work)] {
        R result = work();
        std::lock_guard lock(shared->mutex);
        shared->result = std::move(result);
        shared->done.notify_all();
    }).detach();
    std::unique_lock lock(shared->mutex);
    shared->done.wait_for(lock, std::chrono::milliseconds(boundMs.load()), [&] { return shared->result.has_value(); });
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
    case QueueState::NotAnswering: return SilentReason();
    }
    return {};
}

std::string SilentReason()
{
    return "the print service (CUPS) did not answer within " + std::to_string(answerBound() / 1000) + " seconds";
}

std::optional<QueueList> Queues()
{
    return Bounded<QueueList>([] {
        QueueList list;
        cups_dest_t* dests = nullptr;
        const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
        for (int i = 0; i < count; ++i) {
            if (dests[i].instance)
                continue;
            list.names.push_back(dests[i].name);
            if (dests[i].is_default)
                list.defaultQueue = dests[i].name;
        }
        cupsFreeDests(count, dests);
        return list;
    });
}

void setJobCreatedHook(std::function<void(int job)> hook)
{
    std::lock_guard lock(hookMutex);
    jobCreatedHook = std::move(hook);
}

namespace {

// Sends one document as a job. `wanted` is asked once the server has given
// the job's id: a job no longer wanted is cancelled there and then.
PrintJobResult submitJob(const std::string& queue, const Job& job, const std::function<bool()>& wanted)
{
    PrintJobResult result;
    auto failed = [&result, &queue](int id, const std::string& why) {
        result.message = "The printer \"" + queue + "\" refused the job: " + why;
        if (id > 0)
            cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), id, 0);
        return result;
    };
    cups_option_t* options = nullptr;
    int count = 0;
    if (job.copies > 1)
        count = cupsAddOption("copies", std::to_string(job.copies).c_str(), count, &options);
    const int id = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.c_str(), job.title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (id <= 0)
        return failed(0, cupsLastErrorString());
    std::function<void(int)> hook;
    {
        std::lock_guard lock(hookMutex);
        hook = jobCreatedHook;
    }
    if (hook)
        hook(id);
    if (!wanted())
        return failed(id, "cancelled");
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.c_str(), id, job.title.c_str(), job.format, 1) !=
        HTTP_STATUS_CONTINUE)
        return failed(id, cupsLastErrorString());
    if (!job.bytes.empty() &&
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, job.bytes.data(), job.bytes.size()) != HTTP_STATUS_CONTINUE) {
        cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str());
        return failed(id, cupsLastErrorString());
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str()) != IPP_STATUS_OK)
        return failed(id, cupsLastErrorString());
    result.ok = true;
    result.jobId = id;
    return result;
}

}  // namespace

JobsOutcome SendJobs(const std::string& queue, std::vector<Job> jobs)
{
    // What the sending thread has done, shared with the window until it
    // stops waiting; after that the thread counts nothing and cancels what
    // the server still takes.
    struct Flight {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool abandoned = false;
        JobsOutcome outcome;
    };
    auto flight = std::make_shared<Flight>();
    flight->outcome.failure.ok = true;
    std::thread([flight, queue, jobs = std::move(jobs)] {
        const auto wanted = [&flight] {
            std::lock_guard lock(flight->mutex);
            return !flight->abandoned;
        };
        for (const Job& job : jobs) {
            const PrintJobResult r = submitJob(queue, job, wanted);
            std::lock_guard lock(flight->mutex);
            if (flight->abandoned) {
                if (r.ok)
                    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), r.jobId, 0);
                return;
            }
            if (!r.ok) {
                flight->outcome.failure = r;
                break;
            }
            ++flight->outcome.sent;
        }
        std::lock_guard lock(flight->mutex);
        flight->finished = true;
        flight->done.notify_all();
    }).detach();
    std::unique_lock lock(flight->mutex);
    if (!flight->done.wait_for(lock, std::chrono::milliseconds(boundMs.load()), [&] { return flight->finished; })) {
        flight->abandoned = true;
        flight->outcome.answered = false;
        flight->outcome.failure.ok = false;
        flight->outcome.failure.message = SilentReason();
    }
    return flight->outcome;
}

}  // namespace ReceiptPrinter
