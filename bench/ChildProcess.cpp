#include "ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>

extern char** environ;

namespace {

double Seconds(const timeval& Time) {
  return static_cast<double>(Time.tv_sec) + static_cast<double>(Time.tv_usec) / 1e6;
}

}  // namespace

TChildCost RunChild(const std::vector<std::string>& Arguments) {
  std::vector<char*> Argv;
  for (const std::string& Argument : Arguments) Argv.push_back(const_cast<char*>(Argument.c_str()));
  Argv.push_back(nullptr);
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
  TChildCost Cost;
  const auto Start = std::chrono::steady_clock::now();
  pid_t Child = 0;
  const int Spawned = posix_spawnp(&Child, Argv[0], &Actions, nullptr, Argv.data(), environ);
  posix_spawn_file_actions_destroy(&Actions);
  if (Spawned != 0) return Cost;
  int Status = 0;
  rusage Usage{};
  if (::wait4(Child, &Status, 0, &Usage) != Child) return Cost;
  Cost.WallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  Cost.CpuSeconds = Seconds(Usage.ru_utime) + Seconds(Usage.ru_stime);
  Cost.PeakBytes = int64_t{Usage.ru_maxrss} * 1024;
  Cost.ExitStatus = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  return Cost;
}

TChildCost CheapestRun(const std::vector<std::string>& Arguments, int Runs) {
  TChildCost Best = RunChild(Arguments);
  for (int Run = 1; Run < Runs; ++Run) {
    const TChildCost Cost = RunChild(Arguments);
    if (Cost.CpuSeconds < Best.CpuSeconds) Best = Cost;
  }
  return Best;
}
