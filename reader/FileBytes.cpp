#include "FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

std::string FileMessage(const char* What, const std::string& FileName, const char* Reason) {
  return std::string(What) + " \"" + FileName + "\". " + Reason;
}

constexpr const char* NoSuchFile = "No such file or directory";

[[noreturn]] void ThrowOpenError(const std::string& FileName, const char* Reason) {
  throw EFileOpenError(FileName, Reason, false);
}

[[noreturn]] void ThrowReadError(const std::string& FileName, const char* Reason) {
  throw EFileReadError(FileMessage("Cannot read file", FileName, Reason));
}

constexpr const char* NotRegular = "Not a regular file";

// Why a name that could not be opened is refused. A socket cannot be
// opened, but is there.
[[noreturn]] void ThrowOpenFailure(const std::string& FileName, int Error) {
  struct stat Info{};
  if (::stat(FileName.c_str(), &Info) != 0) throw EFileOpenError(FileName, std::strerror(Error), true);
  if (S_ISDIR(Info.st_mode)) throw EFileOpenError(FileName, std::strerror(EISDIR), true);
  ThrowOpenError(FileName, S_ISREG(Info.st_mode) ? std::strerror(Error) : NotRegular);
}

}  // namespace

EFileOpenError::EFileOpenError(const std::string& FileName, std::string Reason, bool NoFile)
    : std::runtime_error(FileMessage("Cannot open file", FileName, NoFile ? NoSuchFile : Reason.c_str())),
      FReason(std::move(Reason)),
      FNoFile(NoFile) {}

TOpenFile::TOpenFile(int Descriptor, int64_t Size, std::string FileName)
    : FDescriptor(Descriptor), FSize(Size), FFileName(std::move(FileName)) {}

TOpenFile::~TOpenFile() {
  if (FDescriptor >= 0) ::close(FDescriptor);
}

TOpenFile::TOpenFile(TOpenFile&& Other) noexcept
    : FDescriptor(std::exchange(Other.FDescriptor, -1)), FSize(Other.FSize),
      FFileName(std::move(Other.FFileName)) {}

TOpenFile& TOpenFile::operator=(TOpenFile&& Other) noexcept {
  if (this != &Other) {
    if (FDescriptor >= 0) ::close(FDescriptor);
    FDescriptor = std::exchange(Other.FDescriptor, -1);
    FSize = Other.FSize;
    FFileName = std::move(Other.FFileName);
  }
  return *this;
}

bool TOpenFile::OnKernelFileSystem() const {
  constexpr long ProcMagic = 0x9FA0, SysfsMagic = 0x62656572;  // linux/magic.h
  struct statfs Info{};
  return ::fstatfs(FDescriptor, &Info) == 0 && (Info.f_type == ProcMagic || Info.f_type == SysfsMagic);
}

size_t TOpenFile::ReadAt(int64_t Position, std::span<uint8_t> Buffer) const {
  size_t Filled = 0;
  while (Filled < Buffer.size()) {
    const ssize_t Got = ::pread(FDescriptor, Buffer.data() + Filled, Buffer.size() - Filled,
                                static_cast<off_t>(Position + static_cast<int64_t>(Filled)));
    if (Got < 0 && errno == EINTR) continue;
    if (Got < 0) ThrowReadError(FFileName, std::strerror(errno));
    if (Got == 0) break;
    Filled += static_cast<size_t>(Got);
  }
  return Filled;
}

TOpenFile OpenExistingFile(const std::string& FileName) {
  // Opening first and asking only when that fails keeps the common case to
  // one path lookup. O_NONBLOCK makes opening a FIFO return at once; it
  // changes nothing for a regular file.
  const int Descriptor = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (Descriptor < 0) ThrowOpenFailure(FileName, errno);
  TOpenFile File(Descriptor, 0, FileName);  // closed on every path that refuses it
  struct stat Info{};
  if (::fstat(Descriptor, &Info) != 0) ThrowReadError(FileName, std::strerror(errno));
  if (S_ISDIR(Info.st_mode)) throw EFileOpenError(FileName, std::strerror(EISDIR), true);
  if (!S_ISREG(Info.st_mode)) ThrowOpenError(FileName, NotRegular);
  File.FSize = Info.st_size;
  return File;
}

std::optional<TOpenFile> OpenRegularFile(const std::string& FileName) {
  try {
    return OpenExistingFile(FileName);
  } catch (const EFileOpenError& Error) {
    if (Error.NoFile()) return std::nullopt;
    throw;
  }
}
