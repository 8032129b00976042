// lumentag-bench [benchmark options] [FOLDER...]
// lumentag-bench --library [FOLDER...]
// Runs the benchmarks, then prints the ratios the README's table reports;
// with --library, reads a library of photos with lumentag-dump -r instead.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <map>

#include <exiv2/exiv2.hpp>

#include "BenchFiles.h"
#include "BoundedCostBench.h"
#include "ChildProcess.h"
#include "ContainerBench.h"
#include "DecoderBench.h"
#include "FileTypes.h"
#include "LibraryBench.h"
#include "MakerNoteBench.h"
#include "MetadataBench.h"
#include "PictureBench.h"

namespace fs = std::filesystem;

namespace {

// Keeps each benchmark's time per iteration besides printing it as usual,
// and its CPU time as "NAME/cpu".
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  // A single run's time, or the median of repeated runs when there are some.
  void ReportRuns(const std::vector<Run>& Runs) override {
    for (const Run& Result : Runs) {
      if ((Result.run_type == Run::RT_Iteration && Result.iterations > 0 && Result.repetitions <= 1) ||
          (Result.run_type == Run::RT_Aggregate && Result.aggregate_name == "median")) {
        Times[Result.run_name.str()] = Result.GetAdjustedRealTime();
        Times[Result.run_name.str() + "/cpu"] = Result.GetAdjustedCPUTime();
      }
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

// The maker-note walk's time per photo of the seven makers: the load with
// the maker recognised less the load without.
void PrintMakerNoteWalk(const TRatioReporter& Reporter) {
  const auto With = Reporter.Times.find("LumentagMakerNotes/seven");
  const auto Without = Reporter.Times.find("LumentagMakerNotes/sevenUnrecognised");
  if (With == Reporter.Times.end() || Without == Reporter.Times.end()) return;
  std::cout << std::left << std::setw(44) << "Maker-note walk, seven makers' photos" << std::fixed
            << std::setprecision(2) << (With->second - Without->second) << " (load " << With->second
            << ", without the walk " << Without->second << ", per iteration)\n";
}

}  // namespace

// Whole processes, as a user runs them: lumentag-dump against exiv2 -q -pa
// on the same files, by the CPU time of the cheapest of twenty runs.
void PrintWholeProcesses(const char* Label, const std::vector<std::string>& Files) {
  if (Files.empty()) return;
  std::vector<std::string> Dump{LUMENTAG_DUMP}, Exiv2{"exiv2", "-q", "-pa"};
  Dump.insert(Dump.end(), Files.begin(), Files.end());
  Exiv2.insert(Exiv2.end(), Files.begin(), Files.end());
  const std::optional<TChildCost> Ours = CheapestRun(Dump, 20), Theirs = CheapestRun(Exiv2, 20);
  std::cout << std::left << std::setw(50) << (std::string("exiv2 -q -pa / lumentag-dump, ") + Label)
            << std::fixed << std::setprecision(2);
  if (!Ours || !Theirs || Theirs->Status == 127 || Ours->CpuSeconds <= 0) {
    std::cout << "(exiv2 could not be run: Debian package exiv2)\n";
    return;
  }
  std::cout << Theirs->CpuSeconds / Ours->CpuSeconds << "   (" << Theirs->CpuSeconds * 1e3 << " ms / "
            << Ours->CpuSeconds * 1e3 << " ms of CPU)\n";
}

int main(int Argc, char** Argv) {
  if (const std::optional<int> Status = RunPictureChild(Argc, Argv)) return *Status;
  if (Argc >= 2 && std::strcmp(Argv[1], "--library") == 0) {
    AddBenchFolder(std::string(LUMENTAG_SOURCE_DIR) + "/../shared/corpus");
    for (int Index = 2; Index < Argc; ++Index) AddBenchFolder(Argv[Index]);
    std::vector<std::string> Photos;
    for (const std::string& File : FileSets().front().Files)
      if (IsOfferedFileName(File)) Photos.push_back(File);
    return RunLibraryBench(Photos);
  }
  benchmark::Initialize(&Argc, Argv);
  Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);  // its warnings about odd files are not ours to show
  AddBenchFolder(std::string(LUMENTAG_SOURCE_DIR) + "/../shared/corpus");
  for (int Index = 1; Index < Argc; ++Index) AddBenchFolder(Argv[Index]);
  std::cout << "Making the photos of 0.2 to 40 MB ...\n";
  MakeBenchPhotos(10);
  RegisterReadingBenchmarks();
  RegisterMakerNoteBenchmarks(std::string(LUMENTAG_SOURCE_DIR) + "/../shared/corpus");
  RegisterMetadataBenchmarks();
  std::cout << "Reading benchmarks over " << FileSets().front().Files.size() << " corpus files and "
            << FileSets().size() - 2 << " generated photos\n";
  // Passes, each interleaving only work of a kind: Lumentag and the 64 KiB
  // read it is measured against; the whole-file reads (whose allocations of
  // up to 40 MB leave malloc's thresholds raised for what runs beside them);
  // the other libraries (whose heaps of small objects would otherwise leave
  // malloc slower for the others); the pictures (whose hundreds of megabytes
  // would flush the caches the reading depends on); whole processes.
  TRatioReporter Reporter;
  if (benchmark::GetBenchmarkFilter() != ".") {
    benchmark::RunSpecifiedBenchmarks(&Reporter);
  } else {
    for (const char* Pass : {"First64K|Lumentag", "PlainRead", "Exiv2|Libexif", "LibjpegDecode|ImageTab", "PictureDecoder",
                             "Process"})
      benchmark::RunSpecifiedBenchmarks(&Reporter, Pass);
  }
  std::cout << "\nRatios (of times per file or per picture):\n";
  PrintRatio(Reporter, "Lumentag load / plain read, corpus", "LumentagLoad/corpus", "PlainRead/corpus");
  PrintMakerNoteWalk(Reporter);
  for (const TFileSet& Set : FileSets()) {
    const std::string Texts = "LumentagLoadAndValueTexts/" + Set.Name;
    PrintRatio(Reporter, ("Lumentag + texts / first 64 KiB, " + Set.Name).c_str(), Texts, "First64K/" + Set.Name);
    PrintRatio(Reporter, ("Lumentag + texts / plain read, " + Set.Name).c_str(), Texts, "PlainRead/" + Set.Name);
    PrintRatio(Reporter, ("Exiv2 / Lumentag + texts, " + Set.Name).c_str(), "Exiv2ReadMetadata/" + Set.Name, Texts);
    PrintRatio(Reporter, ("libexif / Lumentag + texts, " + Set.Name).c_str(), "LibexifFromFile/" + Set.Name, Texts);
  }
  for (const char* Orientation : {"1", "3", "6"})
    PrintRatio(Reporter, (std::string("Image tab, orientation ") + Orientation + " / libjpeg decode").c_str(),
               std::string("ImageTab/") + Orientation, "LibjpegDecode");
  PrintPictureResults(Reporter.Times);
  PrintDecoderResults(Reporter.Times);
  PrintMetadataResults();
  std::cout << "\nWhole processes (CPU time, cheapest of 20 runs):\n";
  PrintWholeProcesses("corpus", FileSets().front().Files);
  PrintWholeProcesses("ten 17 MB photos", Photos17MB());
  PrintContainerCosts();
  PrintBoundedCosts();
  benchmark::Shutdown();
  return 0;
}
