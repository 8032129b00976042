#include "FileDump.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "DumpFormat.h"
#include "FileBytes.h"

TStandardInput::~TStandardInput() {
  if (FMemory != nullptr) ::munmap(FMemory, FCapacity);
}

std::span<const uint8_t> TStandardInput::Bytes() {
  const std::lock_guard Lock(FMutex);
  if (!FRead) {
    FRead = true;
    Read();
  }
  if (!FError.empty()) throw std::runtime_error(FError);
  return {FMemory, FSize};
}

void TStandardInput::Read() {
  for (;;) {
    if (FSize == FCapacity && !Grow()) break;
    const ssize_t Got = ::read(STDIN_FILENO, FMemory + FSize, FCapacity - FSize);
    if (Got < 0 && errno == EINTR) continue;
    if (Got < 0) FError = std::string("Cannot read standard input. ") + std::strerror(errno);
    if (Got > 0 && static_cast<int64_t>(FSize) + Got > MaxBytes) FError = "Standard input holds more than 1 GiB";
    if (Got <= 0 || !FError.empty()) break;
    FSize += static_cast<size_t>(Got);
  }
  if (FError.empty()) return;
  // A failure keeps nothing of what was read.
  if (FMemory != nullptr) ::munmap(FMemory, FCapacity);
  FMemory = nullptr;
  FCapacity = FSize = 0;
}

// Doubles the memory (1 MiB at first); one byte past the limit is room
// enough to tell that the input holds more than it.
bool TStandardInput::Grow() {
  const size_t Limit = static_cast<size_t>(MaxBytes) + 1;
  if (FCapacity >= Limit) {
    FError = "Standard input holds more than 1 GiB";
    return false;
  }
  const size_t Wanted = std::min(FCapacity == 0 ? size_t{1} << 20 : FCapacity * 2, Limit);
  void* Memory = FMemory == nullptr
                     ? ::mmap(nullptr, Wanted, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                     : ::mremap(FMemory, FCapacity, Wanted, MREMAP_MAYMOVE);
  if (Memory == MAP_FAILED) {
    FError = std::string("Cannot read standard input. ") + std::strerror(errno);
    return false;
  }
  FMemory = static_cast<uint8_t*>(Memory);
  FCapacity = Wanted;
  return true;
}

void TFileDumper::Dump(const TWalkEntry& Entry, TFileResult& Result) {
  const auto Fail = [&](std::string_view Reason) {
    Result.Out.clear();
    Result.Err = "lumentag-dump: " + Entry.Name + ": ";
    Result.Err.append(Reason).append(1, '\n');
    Result.Failed = true;
  };
  if (!Entry.Error.empty()) return Fail(Entry.Error);
  try {
    std::optional<TPictureSize> Image;
    Load(Entry, Image);
    Write(Result.Out, Entry.Name, Image);
  } catch (const EFileOpenError& Error) {
    // A name that is no file at all says only why, as a shell does.
    Fail(Error.NoFile() ? Error.Reason() : Error.what());
  } catch (const std::exception& Error) {
    Fail(Error.what());
  }
}

// Loads Entry's file ("-": standard input) into the document, and the size
// of its picture when the options ask for it; throws why it cannot.
void TFileDumper::Load(const TWalkEntry& Entry, std::optional<TPictureSize>& Image) {
  if (Entry.Name == "-") {
    const std::span<const uint8_t> Bytes = FStdin.Bytes();
    FDocument.LoadFromMemory(Bytes);
    if (FOptions.Image) Image = ImageTabSize(FDocument, Bytes);
    return;
  }
  FDocument.LoadExistingFile(Entry.Name, Entry.NoSidecar ? TEXIF::slNoneInFolder : TEXIF::slLook);
  if (FOptions.Image) Image = ImageTabSize(FDocument);
}

void TFileDumper::Write(std::string& Out, const std::string& FileName,
                        const std::optional<TPictureSize>& Image) const {
  const TDumpInput Input{FileName, FDocument, FOptions.Image, Image};
  switch (FOptions.Format) {
    case TOutputFormat::ofText: AppendDumpText(Out, Input); break;
    case TOutputFormat::ofJson: AppendDumpJson(Out, Input, TJsonLayout::jlPretty); break;
    case TOutputFormat::ofJsonLines:
      AppendDumpJson(Out, Input, TJsonLayout::jlCompact);
      Out += '\n';
      break;
    case TOutputFormat::ofCsv: AppendDumpCsv(Out, Input); break;
  }
}
