#pragma once
// Acts on the window's thread while the window's file work runs (once, at its
// start). Meanwhile the note's timers never fire by themselves: the test takes
// each step with BackgroundWork::takeNextStep().

#include "platform/BackgroundWork.h"

#include <functional>

class WhileWorking {
public:
    explicit WhileWorking(std::function<void()> act) : act_(std::move(act))
    {
        BackgroundWork::setDelays(kNever, kNever);
        BackgroundWork::setStartedHook([this] {
            if (++started_ == 1)
                act_();
        });
    }
    ~WhileWorking()
    {
        BackgroundWork::setStartedHook(nullptr);
        BackgroundWork::setDelays(500, 5000);
    }
    // How many times work has started.
    int started() const { return started_; }

private:
    static constexpr int kNever = 24 * 3600 * 1000;
    std::function<void()> act_;
    int started_ = 0;
};
