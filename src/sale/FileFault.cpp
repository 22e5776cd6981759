#include "sale/FileFault.h"

#include "storage/files/CLocalFile.h"
#include "storage/io/DataFile.h"
#include "storage/io/StepWatch.h"
#include "storage/journal/Transaction.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

std::string fileName(const std::string& kind)
{
    static const std::pair<const char*, const char*> names[] = {
        {"Invoices", "the sales file"},     {"Products", "the products file"}, {"Payments", "the payments file"},
        {"Customers", "the customers file"}, {"Rentals", "the rentals file"},
        {"Journal", "the journal of the data files"},
    };
    for (const auto& [k, name] : names)
        if (kind == k)
            return name;
    return "a data file";
}

}  // namespace

std::string FaultText(const FileFault& fault)
{
    const std::string file = fileName(fault.kind);
    switch (fault.cause) {
    case FileCause::LockGivenUp: return "another register is using " + file + " and the wait was given up";
    case FileCause::WaitGivenUp: return "the wait for " + (fault.kind.empty() ? "the data files" : file) + " was given up";
    case FileCause::SharingViolation: return "another register is using " + file;
    case FileCause::AccessDenied: return "the system refused access to " + file;
    case FileCause::NotFound:
    case FileCause::BadPath: return file + " was not found";
    case FileCause::TooManyOpen: return "too many files are open on this computer";
    case FileCause::DiskFull: return "the disk is full";
    case FileCause::IoError:
        return file + " could not be " + (fault.writing ? "written" : "read") +
               ". The disk or the network share reported an input/output error";
    case FileCause::ShareLost:
        return file + " could not be " + (fault.writing ? "written" : "read") +
               ". The connection to the network share was lost";
    default: break;
    }
    if (fault.writing)
        return fault.kind.empty() ? "writing to the data files failed; the disk may be full"
                                  : "writing to " + file + " failed; the disk may be full";
    if (fault.kind.empty())
        return "the data files could not be read or written";
    return file + " could not be read or locked; it may be damaged";
}

FileFault FaultAmong(const CLocalFile& local, const std::vector<std::string>& kinds, int cause)
{
    std::vector<std::pair<std::string, std::string>> files;  // path, kind
    for (const std::string& kind : kinds)
        files.emplace_back(local.GetPath(kind), kind);
    // Given up at the window's question, or refused by the system: the file the
    // step was working on (a transaction looks at its set's journal first).
    const bool givenUp = cause == FileCause::LockGivenUp || cause == FileCause::WaitGivenUp;
    const bool system = cause == FileCause::AccessDenied || cause == FileCause::IoError || cause == FileCause::ShareLost;
    if ((givenUp || system) && StepWatch::watched()) {
        for (const auto& [path, kind] : files)
            if (path == StepWatch::lastFile())
                return FileFault{kind, cause};
        if (!files.empty() && Journal::pathFor(files.front().first) == StepWatch::lastFile())
            return FileFault{"Journal", cause};
    }
    // The cashier stopped waiting for a call: asking the files again would wait too.
    if (cause == FileCause::WaitGivenUp)
        return FileFault{{}, cause};
    std::sort(files.begin(), files.end());
    for (const auto& [path, kind] : files) {
        DataFile probe;
        const int now = probe.tryOpen(path, OpenMode::ReadWrite);
        if (now == FileCause::WaitGivenUp)  // the step was given up: no more questions
            break;
        // A file still missing is made by the change itself, unless that is the cause.
        if (now == FileCause::None || (now == FileCause::NotFound && cause != FileCause::NotFound))
            continue;
        // Held elsewhere: the wait the change gave up is the better word for it.
        const bool held = now == FileCause::SharingViolation && cause == FileCause::LockGivenUp;
        return FileFault{kind, held ? cause : now};
    }
    return FileFault{{}, cause};
}
