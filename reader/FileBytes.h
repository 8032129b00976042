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

// True when FileName names an existing file that is not a directory.
bool FileExists(const std::string& FileName);

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
  const std::string& FileName() const { return FFileName; }

  // Reads up to Buffer.size() bytes at Position; fewer only at the end of the
  // file. Throws EFileReadError.
  size_t ReadAt(int64_t Position, std::span<uint8_t> Buffer) const;

 private:
  friend std::optional<TOpenFile> OpenRegularFile(const std::string& FileName);

  int FDescriptor;
  int64_t FSize;
  std::string FFileName;
};

// Opens FileName without blocking (a FIFO with no writer would) and checks
// that it is a regular file. Returns nothing when no file exists under that
// name (no such path, or a folder); throws std::runtime_error
//   Cannot open file "NAME". <reason>
// when one exists but cannot be opened, or is a FIFO, a device or a socket
// ("Not a regular file").
std::optional<TOpenFile> OpenRegularFile(const std::string& FileName);

// Reads a whole regular file. Throws `Cannot open file "NAME". <reason>`
// for a missing file or a folder too, and EFileReadError when reading fails.
TByteBuffer ReadWholeFile(const std::string& FileName);
