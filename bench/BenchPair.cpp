#include "BenchPair.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
int roundsOverride = 0;
int appendsOverride = 0;
std::string only;

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}
}  // namespace

double timeMs(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double benchPair(const PairBench& pair)
{
    if (!benchWanted(pair.name))
        return 0;
    const int rounds = roundsOverride > 0 ? roundsOverride : pair.rounds;
    std::vector<double> ratios, opMs, baseMs;
    for (int round = -1; round < rounds; ++round) {
        if (pair.prepare)
            pair.prepare();
        double op = 0, base = 0;
        if (round % 2 == 0) {
            op = timeMs(pair.op);
            base = timeMs(pair.baseline);
        } else {
            base = timeMs(pair.baseline);
            op = timeMs(pair.op);
        }
        if (round < 0 || base <= 0)
            continue;  // the first pair warms the caches
        ratios.push_back(op / base);
        opMs.push_back(op);
        baseMs.push_back(base);
    }
    // Judged as printed, to two places.
    const double ratio = std::round(median(ratios) * 100) / 100;
    const bool judged = pair.target > 0;
    std::printf("BENCH name=%s base=%s ratio=%.2f target=%s rounds=%zu op_ms=%.3f base_ms=%.3f %s\n",
                pair.name.c_str(), pair.base.c_str(), ratio, judged ? number(pair.target).c_str() : "-",
                ratios.size(), median(opMs), median(baseMs), !judged ? "-" : ratio <= pair.target ? "ok" : "MISSED");
    std::fflush(stdout);
    return ratio;
}

void benchLine(const std::string& name, const std::string& figures, const std::string& target, bool met)
{
    if (!benchWanted(name))
        return;
    std::printf("BENCH name=%s %s target=%s %s\n", name.c_str(), figures.c_str(), target.c_str(),
                met ? "ok" : "MISSED");
    std::fflush(stdout);
}

void benchOptions(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--rounds") == 0)
            roundsOverride = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--appends") == 0)
            appendsOverride = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--only") == 0)
            only = argv[i + 1];
        else
            std::fprintf(stderr, "unknown option %s (--rounds N, --appends N, --only TEXT)\n", argv[i]);
    }
}

bool benchWanted(const std::string& name) { return only.empty() || name.find(only) != std::string::npos; }

int benchAppends(int fallback) { return appendsOverride > 0 ? appendsOverride : fallback; }
