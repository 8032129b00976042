#include "FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

[[noreturn]] void ThrowFileError(const char* What, const std::string& FileName, int Error) {
  throw std::runtime_error(std::string(What) + " \"" + FileName + "\". " + std::strerror(Error));
}

// Closes the descriptor on every path.
struct TFileDescriptor {
  int Fd;
  ~TFileDescriptor() {
    if (Fd >= 0) ::close(Fd);
  }
};

// Reads until Buffer is full or the file ends; returns the bytes read.
size_t ReadInto(const TFileDescriptor& File, const std::string& FileName, uint8_t* Buffer,
                size_t Size) {
  size_t Filled = 0;
  while (Filled < Size) {
    const ssize_t Got = ::read(File.Fd, Buffer + Filled, Size - Filled);
    if (Got < 0 && errno == EINTR) continue;
    if (Got < 0) ThrowFileError("Cannot read file", FileName, errno);
    if (Got == 0) break;
    Filled += static_cast<size_t>(Got);
  }
  return Filled;
}

// Files that report no size (pipes, /proc) are read in chunks to their end.
void ReadRest(const TFileDescriptor& File, const std::string& FileName, TByteBuffer& Bytes) {
  uint8_t Chunk[65536];
  while (const size_t Got = ReadInto(File, FileName, Chunk, sizeof Chunk)) {
    Bytes.insert(Bytes.end(), Chunk, Chunk + Got);
    if (Got < sizeof Chunk) break;
  }
}

}  // namespace

bool FileExists(const std::string& FileName) {
  struct stat Info{};
  return ::stat(FileName.c_str(), &Info) == 0 && !S_ISDIR(Info.st_mode);
}

std::optional<TByteBuffer> ReadExistingFile(const std::string& FileName) {
  // Opening first and asking only when that fails keeps the common case to
  // one path lookup.
  TFileDescriptor File{::open(FileName.c_str(), O_RDONLY | O_CLOEXEC)};
  if (File.Fd < 0) {
    const int Error = errno;
    if (!FileExists(FileName)) return std::nullopt;
    ThrowFileError("Cannot open file", FileName, Error);
  }
  struct stat Info{};
  if (::fstat(File.Fd, &Info) != 0) ThrowFileError("Cannot read file", FileName, errno);
  if (S_ISDIR(Info.st_mode)) return std::nullopt;

  const auto Size = Info.st_size > 0 ? static_cast<size_t>(Info.st_size) : 0;
  TByteBuffer Bytes(Size);
  Bytes.resize(ReadInto(File, FileName, Bytes.data(), Bytes.size()));
  if (Size == 0) ReadRest(File, FileName, Bytes);
  return Bytes;
}

TByteBuffer ReadWholeFile(const std::string& FileName) {
  std::optional<TByteBuffer> Bytes = ReadExistingFile(FileName);
  if (!Bytes) ThrowFileError("Cannot open file", FileName, FileExists(FileName) ? EISDIR : ENOENT);
  return std::move(*Bytes);
}
