// lumentag-bench [benchmark options] [FOLDER...]
// Runs the benchmarks, then prints the ratios the README's table reports.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <map>

#include <exiv2/exiv2.hpp>

#include "BenchFiles.h"
#include "PictureBench.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string>& Files() {
  static std::vector<std::string> List;
  return List;
}

// Keeps each benchmark's time per iteration besides printing it as usual.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  // A single run's time, or the median of repeated runs when there are some.
  void ReportRuns(const std::vector<Run>& Runs) override {
    for (const Run& Result : Runs) {
      if (Result.run_type == Run::RT_Iteration && Result.iterations > 0 && Result.repetitions <= 1)
        Times[Result.run_name.str()] = Result.GetAdjustedRealTime();
      if (Result.run_type == Run::RT_Aggregate && Result.aggregate_name == "median")
        Times[Result.run_name.str()] = Result.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(Runs);
  }
  std::map<std::string, double> Times;
};

void PrintRatio(const TRatioReporter& Reporter, const char* Label, const std::string& Top,
                const std::string& Bottom) {
  const auto A = Reporter.Times.find(Top), B = Reporter.Times.find(Bottom);
  if (A == Reporter.Times.end() || B == Reporter.Times.end() || B->second == 0) return;
  std::cout << std::left << std::setw(44) << Label << std::fixed << std::setprecision(2)
            << A->second / B->second << "\n";
}

}  // namespace

void AddBenchFolder(const std::string& Folder) {
  std::error_code Error;
  if (!fs::is_directory(Folder, Error)) return;
  for (const fs::directory_entry& Entry : fs::recursive_directory_iterator(Folder))
    if (Entry.is_regular_file() && Entry.path().extension() != ".md") Files().push_back(Entry.path().string());
}

const std::vector<std::string>& BenchFiles() { return Files(); }

int main(int Argc, char** Argv) {
  if (const std::optional<int> Status = RunPictureChild(Argc, Argv)) return *Status;
  benchmark::Initialize(&Argc, Argv);
  Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);  // its warnings about odd files are not ours to show
  AddBenchFolder(std::string(LUMENTAG_SOURCE_DIR) + "/../shared/corpus");
  for (int Index = 1; Index < Argc; ++Index) AddBenchFolder(Argv[Index]);
  std::sort(Files().begin(), Files().end());
  std::cout << "Reading benchmarks over " << Files().size() << " files\n";
  // Four passes, each interleaving only work of a kind: the plain read and
  // Lumentag, then the other libraries (whose heaps of small objects would
  // otherwise leave malloc slower for the others), then the pictures (whose
  // hundreds of megabytes would flush the caches the reading depends on),
  // then whole processes.
  TRatioReporter Reporter;
  if (benchmark::GetBenchmarkFilter() != ".") {
    benchmark::RunSpecifiedBenchmarks(&Reporter);
  } else {
    for (const char* Pass : {"PlainRead|Lumentag", "Exiv2|Libexif", "LibjpegDecode|ImageTab", "Process"})
      benchmark::RunSpecifiedBenchmarks(&Reporter, Pass);
  }
  std::cout << "\nRatios (of times per file or per picture):\n";
  PrintRatio(Reporter, "Lumentag load / plain read", "LumentagLoad", "PlainRead");
  PrintRatio(Reporter, "Lumentag load + value texts / plain read", "LumentagLoadAndValueTexts", "PlainRead");
  PrintRatio(Reporter, "Exiv2 / Lumentag load + value texts", "Exiv2ReadMetadata", "LumentagLoadAndValueTexts");
  PrintRatio(Reporter, "libexif / Lumentag load + value texts", "LibexifFromFile", "LumentagLoadAndValueTexts");
  for (const char* Orientation : {"1", "3", "6"})
    PrintRatio(Reporter, (std::string("Image tab, orientation ") + Orientation + " / libjpeg decode").c_str(),
               std::string("ImageTab/") + Orientation, "LibjpegDecode");
  PrintPictureResults(Reporter.Times);
  benchmark::Shutdown();
  return 0;
}
