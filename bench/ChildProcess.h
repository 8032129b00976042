// Runs a program as a child process, as a user would from a shell, and
// measures what it cost: its CPU time, its wall time and its peak resident
// memory, as the kernel counts them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TChildCost {
  double CpuSeconds = 0;   // user + system
  double WallSeconds = 0;
  int64_t PeakBytes = 0;   // resident set at its largest
  int ExitStatus = -1;     // -1 when it did not exit normally
};

// Runs Arguments[0] with the rest as its arguments; its standard output and
// error go to /dev/null.
TChildCost RunChild(const std::vector<std::string>& Arguments);

// The run of Runs with the least CPU time.
TChildCost CheapestRun(const std::vector<std::string>& Arguments, int Runs);
