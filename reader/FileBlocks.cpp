#include "FileBlocks.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<uint64_t> BlockReads{0};

}  // namespace

TFileBlocks::TFileBlocks(TOpenFile File, int64_t BlockSize, int64_t HeldBytes)
    : FFile(std::move(File)),
      FBlockSize(std::max<int64_t>(BlockSize, 1)),
      FChunkSize(std::min(ChunkSize, FBlockSize)),
      FMaxBlocks(static_cast<size_t>(std::max<int64_t>(2, HeldBytes / FBlockSize))),
      FSize(FFile.Size()) {}

std::unique_ptr<TFileBlocks> TFileBlocks::Open(const std::string& FileName, int64_t BlockSize,
                                               int64_t HeldBytes) {
  std::optional<TOpenFile> File = OpenRegularFile(FileName);
  if (!File) return nullptr;
  return FromFile(std::move(*File), BlockSize, HeldBytes);
}

std::unique_ptr<TFileBlocks> TFileBlocks::FromFile(TOpenFile File, int64_t BlockSize, int64_t HeldBytes) {
  std::unique_ptr<TFileBlocks> Blocks(new TFileBlocks(std::move(File), BlockSize, HeldBytes));
  // Files of the kernel's (/proc, /sys) say they are empty, or hold fewer
  // bytes than they say: what the first block reads is their size. Any
  // other file that comes up short has shrunk since it was opened.
  const bool SaysEmpty = Blocks->FSize == 0;
  if (SaysEmpty) Blocks->FSize = Blocks->FBlockSize;
  TBlock& First = Blocks->SlotForNewBlock();
  Blocks->Read(First, 0, true);
  const auto Got = static_cast<int64_t>(First.Bytes.size());
  if (Got < std::min(Blocks->FSize, Blocks->FBlockSize)) {
    if (!SaysEmpty && !Blocks->FFile.OnKernelFileSystem())
      throw EFileReadError("Cannot read file \"" + Blocks->FFile.FileName() + "\". It became shorter while it was read");
    Blocks->FSize = Got;
  }
  return Blocks;
}

std::span<const uint8_t> TFileBlocks::BlockAt(int64_t Position, int64_t& Start) {
  const int64_t Index = Position / FBlockSize;
  for (TBlock& Block : FBlocks)
    if (Block.Index == Index) {
      Block.LastUse = ++FClock;
      Start = Index * FBlockSize;
      return Block.Bytes;
    }
  if (FBytesRead + FBlockSize > FSize + MaxHeldBytes) return ChunkAt(Position, Start);
  Start = Index * FBlockSize;
  return Fetch(Index).Bytes;
}

uint64_t TFileBlocks::BlocksRead() { return BlockReads.load(std::memory_order_relaxed); }

TFileBlocks::TBlock& TFileBlocks::Fetch(int64_t Index) {
  TBlock& Block = SlotForNewBlock();
  Read(Block, Index, false);
  return Block;
}

// Past the blocks' budget: the chunk that holds Position, from the table of
// chunks or read now; nothing once the file's whole budget is spent. The
// table is 4-way set-associative: a chunk may stand in one of four slots,
// chosen by a hash of its index, and replaces the least recently used one.
std::span<const uint8_t> TFileBlocks::ChunkAt(int64_t Position, int64_t& Start) {
  constexpr size_t Ways = 4;
  const int64_t Index = Position / FChunkSize;
  Start = Index * FChunkSize;
  if (FChunks.empty()) FChunks.resize(HeldChunks);
  const size_t Set = static_cast<size_t>((static_cast<uint64_t>(Index) * 0x9E3779B97F4A7C15u) >> 32) % (HeldChunks / Ways);
  const std::span<TBlock> Slots = std::span(FChunks).subspan(Set * Ways, Ways);
  for (TBlock& Chunk : Slots)
    if (Chunk.Index == Index && !Chunk.Bytes.empty()) {
      Chunk.LastUse = ++FClock;
      return Chunk.Bytes;
    }
  if (FBytesRead + FChunkSize > 2 * FSize + MaxHeldBytes) return {};
  TBlock& Chunk = *std::min_element(Slots.begin(), Slots.end(),
                                    [](const TBlock& A, const TBlock& B) { return A.LastUse < B.LastUse; });
  Chunk.Index = -1;
  Chunk.Bytes.resize(static_cast<size_t>(std::min(FChunkSize, FSize - Start)));
  if (ReadCounted(Start, Chunk.Bytes) < Chunk.Bytes.size())
    throw EFileReadError("Cannot read file \"" + FFile.FileName() + "\". It became shorter while it was read");
  Chunk.Index = Index;
  Chunk.LastUse = ++FClock;
  return Chunk.Bytes;
}

size_t TFileBlocks::ReadCounted(int64_t Position, std::span<uint8_t> Buffer) {
  BlockReads.fetch_add(1, std::memory_order_relaxed);
  FBytesRead += static_cast<int64_t>(Buffer.size());
  return FFile.ReadAt(Position, Buffer);
}

// Reads block Index into Block. Only the last block is shorter, unless the
// file has shrunk since it was opened, which is an error.
void TFileBlocks::Read(TBlock& Block, int64_t Index, bool MayEndEarly) {
  const int64_t Start = Index * FBlockSize;
  const auto Wanted = static_cast<size_t>(std::min(FBlockSize, FSize - Start));
  Block.Index = -1;  // holds no block until it has been read in full
  Block.Bytes.resize(Wanted);
  const size_t Got = ReadCounted(Start, Block.Bytes);
  if (Got < Wanted && !MayEndEarly)
    throw EFileReadError("Cannot read file \"" + FFile.FileName() + "\". It became shorter while it was read");
  Block.Bytes.resize(Got);
  Block.Index = Index;
  Block.LastUse = ++FClock;
}

// A free slot while fewer than the most blocks are held, else the least
// recently used block's.
TFileBlocks::TBlock& TFileBlocks::SlotForNewBlock() {
  if (FBlocks.size() < FMaxBlocks) return FBlocks.emplace_back();
  return *std::min_element(FBlocks.begin(), FBlocks.end(),
                           [](const TBlock& A, const TBlock& B) { return A.LastUse < B.LastUse; });
}
