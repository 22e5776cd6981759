#include "sale/ScanDetector.h"

bool ScanDetector::Fast(std::uint64_t t) const
{
    return timed_ && t != 0 && t >= last_ && t - last_ <= maxGap_;
}

bool ScanDetector::Character(std::uint64_t t, const std::string& text)
{
    const bool starts = run_.empty() || !Fast(t);
    if (starts) {
        run_.clear();
        characters_ = 0;
        timed_ = t != 0;
    }
    run_ += text;
    ++characters_;
    last_ = t;
    return starts;
}

std::string ScanDetector::Enter(std::uint64_t t)
{
    std::string code;
    if (characters_ >= minLength_ && Fast(t))
        code = run_;
    Reset();
    return code;
}

void ScanDetector::Reset()
{
    run_.clear();
    characters_ = 0;
    timed_ = false;
}
