#pragma once
// Where the file work of a change runs. A change is done in three steps: what
// it needs is gathered from the screen, the files are changed, and the result
// is shown. A window hands in a runner that does the middle step off its own
// thread and returns once it is done; without one the step runs in place.
// The step itself touches files only: no prompt, no clock, no screen state
// that the window could change meanwhile.

#include <functional>

using StoreRunner = std::function<void(const std::function<void()>& step)>;

inline void RunStoreStep(const StoreRunner& runner, const std::function<void()>& step)
{
    if (runner)
        runner(step);
    else
        step();
}
