#include "FileDump.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "DumpFormat.h"
#include "FileBytes.h"

TByteBuffer TStandardInput::Bytes() {
  const std::lock_guard Lock(FMutex);
  if (!FRead) {
    FRead = true;
    uint8_t Chunk[65536];
    for (;;) {
      const ssize_t Got = ::read(STDIN_FILENO, Chunk, sizeof Chunk);
      if (Got < 0 && errno == EINTR) continue;
      if (Got < 0) FError = std::string("Cannot read standard input. ") + std::strerror(errno);
      if (Got > 0 && static_cast<int64_t>(FBytes.size()) + Got > MaxBytes) FError = "Standard input holds more than 1 GiB";
      if (Got <= 0 || !FError.empty()) break;
      FBytes.insert(FBytes.end(), Chunk, Chunk + Got);
    }
    if (!FError.empty()) FBytes = TByteBuffer();
  }
  if (!FError.empty()) throw std::runtime_error(FError);
  return FBytes;
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
    Load(Entry.Name, Image);
    Write(Result.Out, Entry.Name, Image);
  } catch (const EFileOpenError& Error) {
    // A name that is no file at all says only why, as a shell does.
    Fail(Error.NoFile() ? Error.Reason() : Error.what());
  } catch (const std::exception& Error) {
    Fail(Error.what());
  }
}

// Loads FileName ("-": standard input) into the document, and the size of
// its picture when the options ask for it; throws why it cannot.
void TFileDumper::Load(const std::string& FileName, std::optional<TPictureSize>& Image) {
  if (FileName == "-") {
    TByteBuffer Bytes = FStdin.Bytes();
    if (!FOptions.Image) return FDocument.LoadFromBytes(std::move(Bytes));
    FDocument.LoadFromBytes(Bytes);
    Image = ImageTabSize(FDocument, Bytes);
    return;
  }
  FDocument.LoadExistingFile(FileName);
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
