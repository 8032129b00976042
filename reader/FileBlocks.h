// A regular file read on demand in aligned blocks. A photo's metadata lies in
// its first kilobytes, so a load reads the first block and, only when the
// parser goes there, the blocks its directories and values point at (a TIFF
// file may keep IFD 0 at its end). The most recently used blocks are kept, at
// most MaxHeldBytes of them; an older one is read again when it is needed.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ByteBuffer.h"
#include "FileBytes.h"

class TFileBlocks {
 public:
  static constexpr int64_t DefaultBlockSize = int64_t{64} << 10;
  static constexpr int64_t MaxHeldBytes = int64_t{1} << 20;

  // Opens FileName and reads its first block, so that a file that cannot be
  // read fails here. Returns null when no file exists under that name (or it
  // is a folder); throws as OpenRegularFile does, or EFileReadError. At most
  // HeldBytes of blocks are kept (two blocks at least).
  static std::unique_ptr<TFileBlocks> Open(const std::string& FileName,
                                           int64_t BlockSize = DefaultBlockSize,
                                           int64_t HeldBytes = MaxHeldBytes);

  // The same for a file already open.
  static std::unique_ptr<TFileBlocks> FromFile(TOpenFile File, int64_t BlockSize = DefaultBlockSize,
                                               int64_t HeldBytes = MaxHeldBytes);

  // The file's size as fstat gave it when it was opened. A file of the kernel
  // that says it is empty (/proc) has the size of what its first block read.
  int64_t Size() const { return FSize; }

  // The bytes of the block that holds Position (0 <= Position < Size()), and
  // the position of its first byte in Start. The bytes stay valid until the
  // next call. Throws EFileReadError, also when the file has become shorter
  // than its size.
  std::span<const uint8_t> BlockAt(int64_t Position, int64_t& Start);

  // How many blocks have been read from files so far in this process.
  static uint64_t BlocksRead();

 private:
  struct TBlock {
    int64_t Index = 0;
    uint64_t LastUse = 0;
    TByteBuffer Bytes;
  };

  TFileBlocks(TOpenFile File, int64_t BlockSize, int64_t HeldBytes);
  TBlock& Fetch(int64_t Index);
  TBlock& SlotForNewBlock();
  void Read(TBlock& Block, int64_t Index, bool MayEndEarly);

  TOpenFile FFile;
  int64_t FBlockSize;
  size_t FMaxBlocks;
  int64_t FSize;
  std::vector<TBlock> FBlocks;
  uint64_t FClock = 0;
};
