#pragma once
// Measuring another process's peak resident memory. A child's ru_maxrss
// includes what the process that forked it held at the fork, so the measured
// program is started from a small helper: the benchmark program itself, run
// again as "--peak-of", which forks, runs the program and prints the peak.
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The peak resident bytes of `argv` run with `stdinFile` as its input and
// its output discarded; throws when it cannot be run or fails.
std::uint64_t PeakResidentBytes(const std::string& stdinFile, const std::vector<std::string>& argv);

// The wall time of one run of `argv` as above, in seconds; throws likewise.
double RunSeconds(const std::string& stdinFile, const std::vector<std::string>& argv);

// The argv of this benchmark program run as "--hold-files": it reads the
// files into memory at once and ends; the least a program holding them needs.
std::vector<std::string> HoldFilesCommand(const std::vector<std::string>& files);

} // namespace bench
