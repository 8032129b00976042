// Opening and reading files. Only regular files are read: a FIFO would block
// the program for ever and a device such as /dev/zero never ends.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

#include "ByteBuffer.h"

// A failure to read a file that was opened: it ends a load, whatever part of
// the file was being read, and the document stays as it was. Its message is
//   Cannot read file "NAME". <reason>
class EFileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that cannot be opened for reading. Its message is
//   Cannot open file "NAME". <reason>
// where a name under which there is no file, or only a folder, gives the
// reason "No such file or directory". Reason() says exactly why: the
// system's words ("No such file or directory", "Is a directory",
// "Permission denied") or "Not a regular file".
class EFileOpenError : public std::runtime_error {
 public:
  EFileOpenError(const std::string& FileName, std::string Reason, bool NoFile);
  const std::string& Reason() const { return FReason; }
  // No file under that name, or a folder.
  bool NoFile() const { return FNoFile; }

 private:
  std::string FReason;
  bool FNoFile;
};

// A regular file open for reading; the descriptor is closed with the object.
class TOpenFile {
 public:
  TOpenFile(int Descriptor, int64_t Size, std::string FileName);
  ~TOpenFile();
  TOpenFile(TOpenFile&& Other) noexcept;
  TOpenFile& operator=(TOpenFile&& Other) noexcept;
  TOpenFile(const TOpenFile&) = delete;
  TOpenFile& operator=(const TOpenFile&) = delete;

  // The size fstat gave when the file was opened.
  int64_t Size() const { return FSize; }
  // Whether the file is one of the kernel's (proc, sysfs), whose sizes are
  // only a guess.
  bool OnKernelFileSystem() const;
  const std::string& FileName() const { return FFileName; }

  // Reads up to Buffer.size() bytes at Position; fewer only at the end of the
  // file. Throws EFileReadError.
  size_t ReadAt(int64_t Position, std::span<uint8_t> Buffer) const;

 private:
  friend TOpenFile OpenExistingFile(const std::string& FileName);

  int FDescriptor;
  int64_t FSize;
  std::string FFileName;
};

// Opens FileName without blocking (a FIFO with no writer would) and checks
// that it is a regular file. Throws EFileOpenError when there is no file
// under that name (no such path, or a folder), when it cannot be opened, or
// when it is a FIFO, a device or a socket ("Not a regular file").
TOpenFile OpenExistingFile(const std::string& FileName);

// The same, but returns nothing when there is no file under that name.
std::optional<TOpenFile> OpenRegularFile(const std::string& FileName);
