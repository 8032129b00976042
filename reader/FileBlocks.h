// A regular file read on demand in aligned blocks. A photo's metadata lies in
// its first kilobytes, so a load reads the first block and, only when the
// parser goes there, the blocks its directories and values point at (a TIFF
// file may keep IFD 0 at its end). The most recently used blocks are kept, at
// most MaxHeldBytes of them; an older one is read again when it is needed.
//
// What one file's reads may cost is bounded by its size, however its values
// are laid out: once whole blocks worth the file's size and MaxHeldBytes have
// been read, a miss reads only a small chunk around the bytes wanted (chunks
// are kept in a table of their own), and once chunks worth the file's size
// more have been read, nothing more is read: reads come up short, and the
// walks end as at the end of the data. So a file whose values jump between
// more blocks than are held reads at most twice its size plus 1 MiB.
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
  static constexpr int64_t ChunkSize = 256;
  static constexpr size_t HeldChunks = 4096;

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

  // The file's size as fstat gave it when it was opened. A file of the
  // kernel's (/proc, /sys) whose first read finds fewer bytes than fstat
  // says, or that says it is empty, has the size of what that read found.
  int64_t Size() const { return FSize; }

  // Bytes of the file from Position (0 <= Position < Size()) on: the block
  // (or chunk) that holds it, whose first byte's position goes to Start.
  // Empty once the file's read budget is spent. The bytes stay valid until
  // the next call. Throws EFileReadError, also when the file has become
  // shorter than its size.
  std::span<const uint8_t> BlockAt(int64_t Position, int64_t& Start);

  // How many reads of blocks or chunks files have had so far in this process.
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
  std::span<const uint8_t> ChunkAt(int64_t Position, int64_t& Start);
  size_t ReadCounted(int64_t Position, std::span<uint8_t> Buffer);

  TOpenFile FFile;
  int64_t FBlockSize;
  int64_t FChunkSize;
  size_t FMaxBlocks;
  int64_t FSize;
  std::vector<TBlock> FBlocks;
  uint64_t FClock = 0;
  // Bytes read so far, and the chunks read past the blocks' budget: a slot
  // per chunk index modulo HeldChunks.
  int64_t FBytesRead = 0;
  std::vector<TBlock> FChunks;
};
