// lumentag-dump [-r] [-j N] [--json | --jsonl | --csv] [--image] [--no-progress] [--] FILE...
// Loads each file (FILE - is standard input; with -r, the files under a
// folder) as the viewer's open command does and prints what the tag,
// thumbnail and comment tabs would show; with --image also the size of the
// picture on the Image tab. The files are read on N threads and printed in
// their order.
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "DumpFormat.h"
#include "DumpOptions.h"
#include "FileDump.h"
#include "FileWalk.h"
#include "OrderedJobs.h"
#include "ProgressLine.h"
#include "StandardOutput.h"

namespace {

// Numbers are the only thing the locale changes in the output: their decimal
// separator. Only that category is loaded, and not at all when the
// environment names the C locale (C, POSIX, C.UTF-8 ...), whose separator the
// program starts with: finding a locale reads files, which costs a short run
// more than its work.
void UseTheLocalesNumbers() {
  const auto Named = [](const char* Variable) {
    const char* Value = std::getenv(Variable);
    return Value != nullptr && Value[0] != '\0' ? Value : nullptr;
  };
  const char* Locale = Named("LC_ALL");
  if (Locale == nullptr) Locale = Named("LC_NUMERIC");
  if (Locale == nullptr) Locale = Named("LANG");
  if (Locale == nullptr) return;
  const std::string_view Name(Locale);
  if (Name == "C" || Name == "POSIX" || Name.starts_with("C.")) return;
  std::setlocale(LC_NUMERIC, "");
}

// How many files the walk will give, counted by a walk of its own (which
// lists the folders but opens no file), for the progress line; 0 when the
// line is not wanted.
uint64_t FilesForProgress(const TDumpOptions& Options) {
  if (!Options.Progress || !ProgressWanted()) return 0;
  TFileWalk Walk(Options.Files, Options.Recursive);
  uint64_t Count = 0;
  for (TWalkEntry Entry; Walk.Next(Entry);) ++Count;
  return Count;
}

// Writes each file's output, in order, between what the format puts
// before, between and after the files.
class TOrderedOutput {
 public:
  TOrderedOutput(const TDumpOptions& Options, TStandardOutput& Out, TProgressLine& Progress)
      : FFormat(Options.Format), FOut(Out), FProgress(Progress) {
    if (FFormat == TOutputFormat::ofCsv) FOut.Write(CsvHeader);
  }

  bool Deliver(const TFileResult& Result) {
    if (!Result.Err.empty()) {
      FProgress.Clear();
      WriteStandardError(Result.Err);
    }
    FAnyFailed = FAnyFailed || Result.Failed;
    if (!Result.Out.empty()) {
      if (FFormat == TOutputFormat::ofJson) FOut.Write(FWritten == 0 ? "[\n" : ",\n");
      FOut.Write(Result.Out);
      ++FWritten;
    }
    FProgress.Update(++FDone);
    return !FOut.Failed();
  }

  void End() {
    FProgress.Clear();
    if (FFormat == TOutputFormat::ofJson) FOut.Write(FWritten == 0 ? "[]\n" : "\n]\n");
  }

  bool AnyFailed() const { return FAnyFailed; }

 private:
  TOutputFormat FFormat;
  TStandardOutput& FOut;
  TProgressLine& FProgress;
  uint64_t FWritten = 0;
  uint64_t FDone = 0;
  bool FAnyFailed = false;
};

}  // namespace

int main(int Argc, char** Argv) {
  UseTheLocalesNumbers();
  TDumpOptions Options;
  if (!ParseDumpOptions(Argc, Argv, Options)) {
    WriteStandardError(DumpUsage);
    return 2;
  }
  const unsigned Jobs = Options.Jobs != 0 ? Options.Jobs : AvailableCores();
  const uint64_t Total = FilesForProgress(Options);
  TProgressLine Progress(Total > 1, Total);
  TStandardOutput Out;
  TOrderedOutput Output(Options, Out, Progress);

  // Each thread reads into a document of its own, made when it starts.
  TStandardInput Stdin;
  std::vector<std::unique_ptr<TFileDumper>> Dumpers(Jobs);
  TOrderedJobs Pool(
      Jobs,
      [&](unsigned Worker, const TWalkEntry& Entry, TFileResult& Result) {
        if (!Dumpers[Worker]) Dumpers[Worker] = std::make_unique<TFileDumper>(Options, Stdin);
        Dumpers[Worker]->Dump(Entry, Result);
      },
      [&](TFileResult& Result) { return Output.Deliver(Result); });
  TFileWalk Walk(Options.Files, Options.Recursive);
  for (TWalkEntry Entry; Walk.Next(Entry);)
    if (!Pool.Add(std::move(Entry))) break;
  Pool.Finish();
  Output.End();

  if (!Out.Flush()) {
    WriteStandardError(std::string("lumentag-dump: write error: ") + std::strerror(Out.Error()) + "\n");
    return 1;
  }
  return Output.AnyFailed() ? 1 : 0;
}
