// Runs programs as child processes, as a user would from a shell, and
// measures what each cost, as the kernel counts it: CPU time, wall time and
// peak resident memory.
//
// The peak resident size that wait4 reports for a child counts what its
// parent held when it was forked (and, for a vfork, the parent's own peak),
// so every child is started by a spawner: a small process forked before the
// benchmarks allocate anything, which runs the command lines it is sent and
// answers with what each cost.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct TChildCost {
  int Status = -1;        // the exit status; -1 when it did not end normally
  double CpuSeconds = 0;  // user + system
  double WallSeconds = 0;
  double PeakMB = 0;      // the largest resident size
};

// Starts the spawner; call it first thing, while the process is small.
void StartChildSpawner();

// What running Line (the program and its arguments; its standard output
// thrown away) cost; nothing when it could not be run.
std::optional<TChildCost> RunChild(const std::vector<std::string>& Line);

// The same, started straight from this process the way a shell starts a
// program (posix_spawn), for a child whose CPU time is to be compared: a
// fork by the spawner copies the spawner's page tables, which costs a short
// run a good part of its time. Its peak memory counts this process's own.
std::optional<TChildCost> SpawnChild(const std::vector<std::string>& Line);

// The SpawnChild run of Runs with the least CPU time; nothing when Line
// cannot be run.
std::optional<TChildCost> CheapestRun(const std::vector<std::string>& Line, int Runs);
