#include "ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>

extern char** environ;

namespace {

bool ReadAll(int Fd, void* Data, size_t Size) {
  auto* Bytes = static_cast<char*>(Data);
  while (Size > 0) {
    const ssize_t Got = ::read(Fd, Bytes, Size);
    if (Got <= 0) return false;
    Bytes += Got, Size -= static_cast<size_t>(Got);
  }
  return true;
}

bool WriteAll(int Fd, const void* Data, size_t Size) {
  const auto* Bytes = static_cast<const char*>(Data);
  while (Size > 0) {
    const ssize_t Put = ::write(Fd, Bytes, Size);
    if (Put <= 0) return false;
    Bytes += Put, Size -= static_cast<size_t>(Put);
  }
  return true;
}

// A command line on a pipe: its length, then its words, each ended by a zero.
bool SendLine(int Fd, const std::vector<std::string>& Line) {
  std::string Packed;
  for (const std::string& Word : Line) Packed.append(Word).push_back('\0');
  const uint32_t Size = static_cast<uint32_t>(Packed.size());
  return WriteAll(Fd, &Size, sizeof Size) && WriteAll(Fd, Packed.data(), Packed.size());
}

std::optional<std::vector<std::string>> ReceiveLine(int Fd) {
  uint32_t Size = 0;
  if (!ReadAll(Fd, &Size, sizeof Size)) return std::nullopt;
  std::string Packed(Size, '\0');
  if (!ReadAll(Fd, Packed.data(), Size)) return std::nullopt;
  std::vector<std::string> Line;
  for (size_t At = 0; At < Packed.size(); At = Packed.find('\0', At) + 1) Line.emplace_back(Packed.c_str() + At);
  return Line;
}

std::vector<char*> ArgumentsOf(const std::vector<std::string>& Line) {
  std::vector<char*> Argv;
  for (const std::string& Word : Line) Argv.push_back(const_cast<char*>(Word.c_str()));
  Argv.push_back(nullptr);
  return Argv;
}

// Waits for Child, started at Started, and tells what it cost.
TChildCost Reap(pid_t Child, std::chrono::steady_clock::time_point Started) {
  TChildCost Cost;
  int Status = 0;
  rusage Usage{};
  if (Child <= 0 || ::wait4(Child, &Status, 0, &Usage) != Child) return Cost;
  const auto Seconds = [](timeval Time) {
    return static_cast<double>(Time.tv_sec) + static_cast<double>(Time.tv_usec) / 1e6;
  };
  Cost.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  Cost.CpuSeconds = Seconds(Usage.ru_utime) + Seconds(Usage.ru_stime);
  Cost.WallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Started).count();
  Cost.PeakMB = static_cast<double>(Usage.ru_maxrss) / 1024.0;
  return Cost;
}

// Runs Line with its output thrown away.
TChildCost RunMeasured(const std::vector<std::string>& Line) {
  std::vector<char*> Argv = ArgumentsOf(Line);
  const auto Started = std::chrono::steady_clock::now();
  const pid_t Child = ::fork();
  if (Child == 0) {
    const int Null = ::open("/dev/null", O_WRONLY);
    ::dup2(Null, STDOUT_FILENO);
    ::execvp(Argv[0], Argv.data());
    ::_exit(127);
  }
  return Reap(Child, Started);
}

struct TSpawner {
  int Requests = -1;  // command lines to it
  int Replies = -1;   // their costs back
};

TSpawner& Spawner() {
  static TSpawner Instance;
  return Instance;
}

void StartSpawnerProcess() {
  int Requests[2], Replies[2];
  if (::pipe2(Requests, O_CLOEXEC) != 0 || ::pipe2(Replies, O_CLOEXEC) != 0) return;
  const pid_t Pid = ::fork();
  if (Pid == 0) {
    ::close(Requests[1]), ::close(Replies[0]);
    while (const auto Line = ReceiveLine(Requests[0])) {
      const TChildCost Cost = RunMeasured(*Line);
      if (!WriteAll(Replies[1], &Cost, sizeof Cost)) break;
    }
    ::_exit(0);
  }
  ::close(Requests[0]), ::close(Replies[1]);
  if (Pid < 0) return;
  Spawner() = {Requests[1], Replies[0]};
}

}  // namespace

void StartChildSpawner() { StartSpawnerProcess(); }

std::optional<TChildCost> RunChild(const std::vector<std::string>& Line) {
  const TSpawner& Through = Spawner();
  TChildCost Cost;
  if (Through.Requests < 0 || !SendLine(Through.Requests, Line) || !ReadAll(Through.Replies, &Cost, sizeof Cost))
    return std::nullopt;
  return Cost;
}

std::optional<TChildCost> SpawnChild(const std::vector<std::string>& Line) {
  std::vector<char*> Argv = ArgumentsOf(Line);
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const auto Started = std::chrono::steady_clock::now();
  pid_t Child = 0;
  const int Failed = ::posix_spawnp(&Child, Argv[0], &Actions, nullptr, Argv.data(), environ);
  posix_spawn_file_actions_destroy(&Actions);
  if (Failed != 0) return std::nullopt;
  return Reap(Child, Started);
}

std::optional<TChildCost> CheapestRun(const std::vector<std::string>& Line, int Runs) {
  std::optional<TChildCost> Best;
  for (int Run = 0; Run < Runs; ++Run) {
    const std::optional<TChildCost> Cost = SpawnChild(Line);
    if (!Cost) return std::nullopt;
    if (!Best || Cost->CpuSeconds < Best->CpuSeconds) Best = Cost;
  }
  return Best;
}
