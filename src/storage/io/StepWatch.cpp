#include "storage/io/StepWatch.h"

namespace {
thread_local StepWatch* current = nullptr;
}

StepWatch::On::On(StepWatch& watch) : before_(current) { current = &watch; }

StepWatch::On::~On() { current = before_; }

bool StepWatch::giveUp()
{
    int expected = kRunning;
    return state_.compare_exchange_strong(expected, kGivenUp) || expected == kGivenUp;
}

std::string StepWatch::file() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return file_;
}

bool StepWatch::watched() { return current != nullptr; }

bool StepWatch::stopHere() { return current && current->givenUp(); }

bool StepWatch::startWriting()
{
    if (!current)
        return true;
    int expected = kRunning;
    return current->state_.compare_exchange_strong(expected, kWriting) || expected == kWriting;
}

void StepWatch::writesDone()
{
    if (!current)
        return;
    int expected = kWriting;
    current->state_.compare_exchange_strong(expected, kRunning);
}

void StepWatch::at(const std::string& path)
{
    if (!current)
        return;
    std::lock_guard<std::mutex> lock(current->mutex_);
    current->file_ = path;
}

std::string StepWatch::lastFile() { return current ? current->file() : std::string(); }
