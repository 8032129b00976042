#include "LibraryBench.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <map>

#include "ChildProcess.h"
#include "FileWalk.h"

namespace fs = std::filesystem;

namespace {

constexpr int TreeFiles = 10000;
constexpr int LargeTreeFiles = 100000;
constexpr int Runs = 7;

// A folder of Count files: Photos repeated, each copy in a folder of its
// own (00000/, 00001/ ...), as hard links when the file system allows, else
// as copies. Removed with the object.
class TPhotoTree {
 public:
  TPhotoTree(const std::vector<std::string>& Photos, int Count)
      : FPath(fs::temp_directory_path() / ("lumentag-bench-library-" + std::to_string(::getpid()) + "-" +
                                           std::to_string(Count))) {
    fs::create_directories(FPath);
    for (int Made = 0, Copy = 0; Made < Count; ++Copy) {
      char Name[16];
      std::snprintf(Name, sizeof Name, "%05d", Copy);
      const fs::path Folder = FPath / Name;
      fs::create_directory(Folder);
      for (size_t Photo = 0; Photo < Photos.size() && Made < Count; ++Photo, ++Made) {
        const fs::path Target = Folder / fs::path(Photos[Photo]).filename();
        std::error_code Error;
        fs::create_hard_link(Photos[Photo], Target, Error);
        if (Error) fs::copy_file(Photos[Photo], Target);
      }
    }
  }
  ~TPhotoTree() {
    std::error_code Ignored;
    fs::remove_all(FPath, Ignored);
  }
  TPhotoTree(const TPhotoTree&) = delete;
  TPhotoTree& operator=(const TPhotoTree&) = delete;
  std::string Path() const { return FPath.string(); }

 private:
  fs::path FPath;
};

double CpuSeconds() {
  rusage Usage{};
  ::getrusage(RUSAGE_SELF, &Usage);
  const auto Seconds = [](timeval Time) {
    return static_cast<double>(Time.tv_sec) + static_cast<double>(Time.tv_usec) / 1e6;
  };
  return Seconds(Usage.ru_utime) + Seconds(Usage.ru_stime);
}

struct TCost {
  double Wall = 0;
  double Cpu = 0;
};

// The floor: the dump's own walk, and for each file what every reader pays
// at least: open it, ask its type and size, read its first 64 KiB.
TCost FloorCost(const std::string& Tree) {
  std::vector<uint8_t> Buffer(65536);
  const double CpuStarted = CpuSeconds();
  const auto Started = std::chrono::steady_clock::now();
  const std::string Operands[] = {Tree};
  TFileWalk Walk(Operands, true);
  size_t Bytes = 0;
  for (TWalkEntry Entry; Walk.Next(Entry);) {
    const int File = ::open(Entry.Name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (File < 0) continue;
    struct stat Info{};
    if (::fstat(File, &Info) == 0 && S_ISREG(Info.st_mode)) {
      const ssize_t Got = ::pread(File, Buffer.data(), Buffer.size(), 0);
      if (Got > 0) Bytes += static_cast<size_t>(Got);
    }
    ::close(File);
  }
  benchmark::DoNotOptimize(Bytes);
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - Started).count(),
          CpuSeconds() - CpuStarted};
}

double Median(std::vector<double> Values) {
  if (Values.empty()) return 0;
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

struct TMeasure {
  std::string Label;
  std::vector<std::string> Line;  // empty for the floor
  std::vector<double> Wall, Cpu;
  bool Failed = false;
};

std::vector<std::string> Dump(const std::string& Tree, const char* Format, const char* Jobs) {
  std::vector<std::string> Line{LUMENTAG_DUMP, "-r", "--no-progress", "-j", Jobs};
  if (Format[0] != '\0') Line.emplace_back(Format);
  Line.push_back(Tree);
  return Line;
}

// Runs every measure Runs times, in turns, so that a drift of the machine's
// speed touches all alike.
void RunInTurns(std::vector<TMeasure>& Measures, const std::string& Tree, int Turns) {
  for (int Turn = 0; Turn < Turns; ++Turn)
    for (TMeasure& Measure : Measures) {
      if (Measure.Line.empty()) {
        const TCost Cost = FloorCost(Tree);
        Measure.Wall.push_back(Cost.Wall), Measure.Cpu.push_back(Cost.Cpu);
        continue;
      }
      const std::optional<TChildCost> Cost = SpawnChild(Measure.Line);
      if (!Cost || Cost->Status == 127 || Cost->Status < 0) {
        Measure.Failed = true;
        continue;
      }
      Measure.Wall.push_back(Cost->WallSeconds), Measure.Cpu.push_back(Cost->CpuSeconds);
    }
}

void PrintRow(const std::string& Label, double Files, TCost Cost, TCost Floor) {
  std::cout << std::left << std::setw(34) << Label << std::right << std::fixed << std::setprecision(0)
            << std::setw(9) << Files / Cost.Wall << std::setprecision(2) << std::setw(9)
            << Cost.Wall * 1e6 / Files << std::setw(8) << Cost.Wall / Floor.Wall << std::setw(9)
            << Cost.Cpu * 1e6 / Files << std::setw(8) << Cost.Cpu / Floor.Cpu << '\n';
}

void PrintPeakMemory(const std::vector<std::string>& Photos) {
  std::cout << "\nPeak memory, lumentag-dump -r on " << LargeTreeFiles << " files (median of 3 runs):\n";
  const TPhotoTree Tree(Photos, LargeTreeFiles);
  for (const auto& [Label, Format] : {std::pair{"text", ""}, {"JSON Lines", "--jsonl"}, {"CSV", "--csv"},
                                      {"JSON", "--json"}}) {
    std::vector<double> Peak, Wall;
    for (int Run = 0; Run < 3; ++Run)
      if (const std::optional<TChildCost> Cost = RunChild(Dump(Tree.Path(), Format, "2")))
        Peak.push_back(Cost->PeakMB), Wall.push_back(Cost->WallSeconds);
    std::cout << std::left << std::setw(34) << (std::string(Label) + ", 2 jobs") << std::right << std::fixed
              << std::setprecision(1) << std::setw(8) << Median(Peak) << " MB " << std::setprecision(2)
              << std::setw(8) << Median(Wall) << " s   (goal < 64 MB)\n";
  }
}

}  // namespace

int RunLibraryBench(const std::vector<std::string>& Photos) {
  if (Photos.empty()) {
    std::cerr << "lumentag-bench --library: no photos to make a library of\n";
    return 1;
  }
  std::cout << "A library of " << TreeFiles << " files: " << Photos.size() << " photos repeated\n";
  const TPhotoTree Tree(Photos, TreeFiles);
  const std::string Root = Tree.Path();
  std::vector<TMeasure> Measures{
      {"floor (open, fstat, read 64 KiB)", {}},
      {"text, 1 job", Dump(Root, "", "1")},
      {"JSON Lines, 1 job", Dump(Root, "--jsonl", "1")},
      {"CSV, 1 job", Dump(Root, "--csv", "1")},
      {"JSON, 1 job", Dump(Root, "--json", "1")},
      {"text, 2 jobs", Dump(Root, "", "2")},
      {"JSON Lines, 2 jobs", Dump(Root, "--jsonl", "2")},
      {"CSV, 2 jobs", Dump(Root, "--csv", "2")},
  };
  RunInTurns(Measures, Root, Runs);
  // The others, once each: they take seconds to minutes.
  std::vector<std::string> Exiv2{"exiv2", "-q", "-pa"};
  {
    const std::string Operands[] = {Root};
    TFileWalk Walk(Operands, true);
    for (TWalkEntry Entry; Walk.Next(Entry);) Exiv2.push_back(Entry.Name);
  }
  std::vector<TMeasure> Others{
      {"exiftool -fast -j -r", {"exiftool", "-fast", "-j", "-r", Root}},
      {"exiv2 -q -pa", Exiv2},
  };
  RunInTurns(Others, Root, 1);

  const double Files = TreeFiles;
  const TCost Floor{Median(Measures.front().Wall), Median(Measures.front().Cpu)};
  std::cout << "\n" << std::left << std::setw(34) << ("Medians of " + std::to_string(Runs) + " runs") << std::right
            << std::setw(9) << "files/s" << std::setw(9) << "wall us" << std::setw(8) << "/floor" << std::setw(9)
            << "CPU us" << std::setw(8) << "/floor" << "\n";
  for (const TMeasure& Measure : Measures) {
    if (Measure.Failed) {
      std::cout << Measure.Label << ": could not be run\n";
      continue;
    }
    PrintRow(Measure.Label, Files, {Median(Measure.Wall), Median(Measure.Cpu)}, Floor);
  }
  for (const TMeasure& Measure : Others) {
    if (Measure.Failed || Measure.Wall.empty()) {
      std::cout << Measure.Label << ": could not be run (Debian packages libimage-exiftool-perl, exiv2)\n";
      continue;
    }
    PrintRow(Measure.Label + " (1 run)", Files, {Measure.Wall.front(), Measure.Cpu.front()}, Floor);
  }
  std::cout << "\n2 jobs / 1 job, wall time (goal <= 0.6):";
  for (size_t Format = 1; Format <= 3; ++Format)
    std::cout << "  " << Measures[Format].Label.substr(0, Measures[Format].Label.find(',')) << " "
              << std::setprecision(2) << Median(Measures[Format + 4].Wall) / Median(Measures[Format].Wall);
  std::cout << "\n(goals, 1 job: text <= 2x the floor, JSON Lines <= 3x; the wall time's ratios hold only\n"
               " on an idle machine, the CPU time's on any)\n";
  PrintPeakMemory(Photos);
  return 0;
}
