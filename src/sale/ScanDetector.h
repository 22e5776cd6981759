#pragma once
// Tells a bar-code scan from typing. A scanner sends a code as a burst of
// characters ended by Enter, a few milliseconds apart on an idle PC; on a busy
// one the keys reach the program with gaps of up to about 100 ms inside a
// code. A person types with gaps of 100 ms and more, and hardly ever four
// keys and Enter in a row each under that. So a run is a scan when every gap
// in it, the Enter's included, is at most 100 ms and it holds four or more
// characters: a scan broken by a busy moment stays one scan, and typing
// stays typing. Times are the key events' own timestamps in milliseconds, so
// the verdict does not depend on when the events are handled. A key without
// a time (0) counts as typed.

#include <cstdint>
#include <string>

class ScanDetector {
public:
    static constexpr std::uint64_t kDefaultGapMs = 100;
    static constexpr std::size_t kDefaultMinLength = 4;

    explicit ScanDetector(std::uint64_t maxGapMs = kDefaultGapMs, std::size_t minLength = kDefaultMinLength)
        : maxGap_(maxGapMs), minLength_(minLength)
    {
    }
    void setMaxGap(std::uint64_t ms) { maxGap_ = ms; }

    // A printable character at time t. True when it starts a new run of keys,
    // so the caller can keep what the box held before it.
    bool Character(std::uint64_t t, const std::string& text);
    // Enter at time t: the run's characters when the run and this Enter came
    // as a scan, else empty. The run ends either way.
    std::string Enter(std::uint64_t t);
    // Any other key ends the run.
    void Reset();

private:
    bool Fast(std::uint64_t t) const;

    std::uint64_t maxGap_;
    std::size_t minLength_;
    std::string run_;
    std::size_t characters_ = 0;
    std::uint64_t last_ = 0;
    bool timed_ = false;  // every key of the run carried a time
};
