#pragma once
// Timing helpers for the benchmark programs: each measurement is the median of
// several runs and is printed as one comparable line
//   BENCH name=<name> ms=<median ms> base_ms=<baseline ms> ratio=<ms/base_ms>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

inline double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void reportBench(const std::string& name, double ms, double baseMs)
{
    std::printf("BENCH name=%s ms=%.3f base_ms=%.3f ratio=%.2f\n", name.c_str(), ms, baseMs,
                baseMs > 0 ? ms / baseMs : 0.0);
    std::fflush(stdout);
}
