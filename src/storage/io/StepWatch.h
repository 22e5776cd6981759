#pragma once
// The window's watch over a file step that runs on a thread of its own. The
// window asks the cashier after a while whether to keep waiting, whatever the
// step is doing (a call the kernel holds on a network share included); "No"
// gives the step up. The storage layer looks at the watch before every open,
// after each open returns, while it waits for a lock and before a change's
// first write: a step given up stops at the next of these points, having
// stored nothing. Once a step has begun to write, it can no longer be given
// up: the change completes (a pass that writes a cache between its blocks
// says when those writes are done, writesDone).
//
// Without a watch on the thread (work run in place, tools, tests of the
// storage layer) every call here answers as if nothing was ever given up.

#include <atomic>
#include <mutex>
#include <string>

class StepWatch {
public:
    StepWatch() = default;
    StepWatch(const StepWatch&) = delete;
    StepWatch& operator=(const StepWatch&) = delete;

    // Puts the watch on the calling thread while it lives.
    class On {
    public:
        explicit On(StepWatch& watch);
        ~On();
        On(const On&) = delete;
        On& operator=(const On&) = delete;

    private:
        StepWatch* before_;
    };

    // From the window: gives the step up. False when it has begun writing and
    // goes on to the end.
    bool giveUp();
    bool givenUp() const { return state_.load() == kGivenUp; }
    bool writing() const { return state_.load() == kWriting; }
    // The data file the step went to last; empty before its first.
    std::string file() const;

    // On the step's own thread.
    static bool watched();
    // True when the step on this thread was given up.
    static bool stopHere();
    // Called before a change's first durable write: false when the step was
    // given up (write nothing); from then on it cannot be.
    static bool startWriting();
    // Called between the blocks of a pass that writes a cache as it goes, when
    // none of its writes is under way: it can be given up again until its next.
    static void writesDone();
    // The step goes to this file now.
    static void at(const std::string& path);
    // The file the step on this thread went to last; empty without a watch.
    static std::string lastFile();

private:
    static constexpr int kRunning = 0, kGivenUp = 1, kWriting = 2;
    std::atomic<int> state_{kRunning};
    mutable std::mutex mutex_;
    std::string file_;
};
