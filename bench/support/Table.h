#pragma once
// The table that a benchmark program with comparisons prints after its runs:
// each figure's median beside the median of its baseline, measured in the
// same run, with their ratio and the ratio wanted.
#include <string>

namespace bench {

struct Comparison {
    std::string figure;   // a benchmark as reported, "Name/arg/arg", without repetitions
    std::string baseline; // the same for the benchmark it is compared with
    double target = 0;    // the largest ratio wanted; 0 for none
    // A counter that both report instead of their time, "peak_bytes" say.
    std::string counter;
    // The largest figure wanted, in nanoseconds or in the counter's unit; 0
    // for none.
    double limit = 0;
};

// Adds a line to the table, in the order of the calls.
void Compare(const Comparison& comparison);

} // namespace bench
