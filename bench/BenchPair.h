#pragma once
// The benchmark harness. A measurement times an operation against a baseline
// that does the least the operation physically must: the reads its code path
// makes of the same files and the flushes its ordering needs, no more and no
// fewer (BenchFloor.h; several registers at once: BenchRegisters.h). The base
// name counts them, and a comment beside the line says where they come from.
// The two are timed as pairs, the order swapped
// every round, and the line gives the median of the per-pair ratios, so a busy
// moment on a shared machine weighs on both halves of a pair alike.
//
// Adding a line:
//     benchPair({"void_invoice", "two_reads_three_syncs", 1.5,
//                [&] { VoidInvoice(local, n); },      // the operation
//                [&] { readsAndSyncs(); },            // its baseline
//                [&] { n = saleToVoid(); }});         // optional, untimed, before each pair
// prints
//     BENCH name=void_invoice base=two_reads_three_syncs ratio=1.21 target=1.5 rounds=21 op_ms=3.104 base_ms=2.566 ok
// with MISSED instead of ok over the target; target 0 is shown as "-" and not judged.
// Figures that are not ratios are printed with benchLine().

#include <functional>
#include <string>

struct PairBench {
    std::string name;  // the operation measured
    std::string base;  // what it is measured against
    double target;     // the ratio to stay within; 0 for none
    std::function<void()> op;
    std::function<void()> baseline;
    std::function<void()> prepare = {};
    int rounds = 21;   // timed pairs, after one untimed pair (short operations want more); --rounds N overrides
};

// Times the pairs, prints the line and returns the median ratio (0 when the
// line was not wanted).
double benchPair(const PairBench& pair);

// BENCH name=<name> <figures> target=<target> ok|MISSED
void benchLine(const std::string& name, const std::string& figures, const std::string& target, bool met);

// Options of the benchmark program: --rounds N sets every measurement's rounds,
// --appends N the appends of each competing register, --only TEXT runs just the
// lines whose name contains TEXT.
void benchOptions(int argc, char** argv);
bool benchWanted(const std::string& name);
int benchAppends(int fallback);

// Milliseconds taken by work().
double timeMs(const std::function<void()>& work);
