#include "FileBlocks.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<uint64_t> BlockReads{0};

}  // namespace

TFileBlocks::TFileBlocks(TOpenFile File, int64_t BlockSize, int64_t HeldBytes)
    : FFile(std::move(File)),
      FBlockSize(std::max<int64_t>(BlockSize, 1)),
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
  // Files of the kernel (/proc, /sys) say they are empty: what the first
  // block reads is their size.
  const bool SaysEmpty = Blocks->FSize == 0;
  if (SaysEmpty) Blocks->FSize = Blocks->FBlockSize;
  TBlock& First = Blocks->SlotForNewBlock();
  Blocks->Read(First, 0, SaysEmpty);
  if (SaysEmpty) Blocks->FSize = static_cast<int64_t>(First.Bytes.size());
  return Blocks;
}

std::span<const uint8_t> TFileBlocks::BlockAt(int64_t Position, int64_t& Start) {
  const int64_t Index = Position / FBlockSize;
  Start = Index * FBlockSize;
  return Fetch(Index).Bytes;
}

uint64_t TFileBlocks::BlocksRead() { return BlockReads.load(std::memory_order_relaxed); }

TFileBlocks::TBlock& TFileBlocks::Fetch(int64_t Index) {
  for (TBlock& Block : FBlocks)
    if (Block.Index == Index) {
      Block.LastUse = ++FClock;
      return Block;
    }
  TBlock& Block = SlotForNewBlock();
  Read(Block, Index, false);
  return Block;
}

// Reads block Index into Block. Only the last block is shorter, unless the
// file has shrunk since it was opened, which is an error.
void TFileBlocks::Read(TBlock& Block, int64_t Index, bool MayEndEarly) {
  const int64_t Start = Index * FBlockSize;
  const auto Wanted = static_cast<size_t>(std::min(FBlockSize, FSize - Start));
  Block.Index = -1;  // holds no block until it has been read in full
  Block.Bytes.resize(Wanted);
  BlockReads.fetch_add(1, std::memory_order_relaxed);
  const size_t Got = FFile.ReadAt(Start, Block.Bytes);
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
