// One file's part of lumentag-dump's output: the file loaded into a
// document of the reading thread's own, and written in the chosen format.
#pragma once

#include <mutex>
#include <string>

#include "DumpOptions.h"
#include "EXIF_Intf.h"
#include "OrderedJobs.h"

// Standard input, read once, on first demand, by whichever thread asks
// first: "-" named again stands for the same bytes (or the same error).
class TStandardInput {
 public:
  static constexpr int64_t MaxBytes = int64_t{1} << 30;
  TByteBuffer Bytes();

 private:
  std::mutex FMutex;
  bool FRead = false;
  TByteBuffer FBytes;
  std::string FError;
};

class TFileDumper {
 public:
  TFileDumper(const TDumpOptions& Options, TStandardInput& Stdin) : FOptions(Options), FStdin(Stdin) {}

  // Reads Entry's file and writes its output into Result; a file that cannot
  // be read gives no output but the message "lumentag-dump: NAME: REASON".
  void Dump(const TWalkEntry& Entry, TFileResult& Result);

 private:
  void Load(const std::string& FileName, std::optional<TPictureSize>& Image);
  void Write(std::string& Out, const std::string& FileName, const std::optional<TPictureSize>& Image) const;

  const TDumpOptions& FOptions;
  TStandardInput& FStdin;
  TEXIF FDocument;
};
