#pragma once
// The file work of a window, run on a thread of its own while the window's
// event loop goes on, so that a file held by another register, a slow share or
// a call the kernel keeps waiting never freezes the screen.
//
// While the work runs, the window takes no key, click or close (a second key
// press starts nothing), shows the note "Saving..." ("Reading..." for work that
// only reads) after half a second and, after five seconds, says that it is
// still waiting on the files and asks the storage layer's "Keep waiting?"
// question, whatever the work is doing (a call the kernel holds included),
// again after each further five seconds while the answer is "Yes". "No" gives
// the work up through its StepWatch: it stops as soon as its file call comes
// back, having stored nothing, and fails with FileCause::WaitGivenUp (or
// LockGivenUp in a lock wait). Once the work has begun to write, the change
// completes and the note says so instead of asking. The storage layer's
// messages (userPrompt()) are shown on the window's thread and their answers
// handed back to the work. Run returns on the window's thread once the work is
// done, and the window shows the result there.
//
// Work that shows its own progress (a report's pass) shows the waiting in its
// own window, puts the question off while it advances, and can be stopped at
// any time, even after it has written a cache: "No" or its own "Cancel" stop
// it at its next block.

#include "sale/StoreStep.h"

#include <functional>

class QLabel;
class QWidget;

namespace BackgroundWork {

extern const char* const kSavingNote;
extern const char* const kReadingNote;  // for work that only reads
extern const char* const kStillWaitingNote;
extern const char* const kWritingNote;   // after 5 s once the change is being written
extern const char* const kGivingUpNote;  // after "No", until the call comes back
extern const char* const kStoppingNote;  // the same for work that shows its own progress

// How work that shows its own progress is watched: `show` puts up the note's
// text after half a second and the later texts in the work's own window;
// `stop` tells the work to end at its next block (on the window's thread).
struct OwnProgress {
    std::function<void(const char* text)> show;
    std::function<void()> stop;
};

// Runs `work` on a thread of its own for the window of `widget` and returns
// when it has finished; an exception it throws is thrown again here. Work
// started while other work runs (a question's window cannot start any), or
// for a window not shown yet, runs in place.
void Run(QWidget* widget, const std::function<void()>& work, const char* noteText = kSavingNote);
void Run(QWidget* widget, const std::function<void()>& work, const char* noteText, const OwnProgress& own);
// Run for the window of `widget`, as the runner of a change's file step.
StoreRunner RunnerFor(QWidget* widget, const char* noteText = kSavingNote);

// True while work runs.
bool busy();
// On the window's thread: the running work with its own progress has advanced,
// so the still-waiting question is put off by a whole interval again.
void advanced();
// On the window's thread: stops the running work with its own progress, as "No" does.
void stop();
// The running work's note (hidden until its first step); nullptr when none runs.
QLabel* note();

// When the note and the still-waiting text come, in milliseconds after the
// start (500 and 5000 unless set).
void setDelays(int noteMs, int stillWaitingMs);
// Takes the running work's next step now, as its timer would: first the
// note, then the still-waiting text and the question, then the question again.
void takeNextStep();
// Called on the window's thread once work has started; nothing by default.
void setStartedHook(std::function<void()> hook);

}  // namespace BackgroundWork
