// One file's part of lumentag-dump's output: the file loaded into a
// document of the reading thread's own, and written in the chosen format.
#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <string>

#include "DumpOptions.h"
#include "EXIF_Intf.h"
#include "OrderedJobs.h"

// Standard input, read once, on first demand, by whichever thread asks
// first: "-" named again stands for the same bytes (or the same error). The
// bytes are held once, in memory that grows by moving its pages (mremap), so
// that a pipe of a gigabyte costs a gigabyte, not the two or three that
// copies on growth and on loading would.
class TStandardInput {
 public:
  static constexpr int64_t MaxBytes = int64_t{1} << 30;
  TStandardInput() = default;
  TStandardInput(const TStandardInput&) = delete;
  TStandardInput& operator=(const TStandardInput&) = delete;
  ~TStandardInput();
  // The bytes, valid while this object lives; throws why they cannot be read.
  std::span<const uint8_t> Bytes();

 private:
  void Read();
  bool Grow();

  std::mutex FMutex;
  bool FRead = false;
  uint8_t* FMemory = nullptr;
  size_t FCapacity = 0;
  size_t FSize = 0;
  std::string FError;
};

class TFileDumper {
 public:
  TFileDumper(const TDumpOptions& Options, TStandardInput& Stdin) : FOptions(Options), FStdin(Stdin) {}

  // Reads Entry's file and writes its output into Result; a file that cannot
  // be read gives no output but the message "lumentag-dump: NAME: REASON".
  void Dump(const TWalkEntry& Entry, TFileResult& Result);

 private:
  void Load(const TWalkEntry& Entry, std::optional<TPictureSize>& Image);
  void Write(std::string& Out, const std::string& FileName, const std::optional<TPictureSize>& Image) const;

  const TDumpOptions& FOptions;
  TStandardInput& FStdin;
  TEXIF FDocument;
};
