#include "MemoryStream.h"

#include <algorithm>
#include <utility>

#include "FileBlocks.h"

TMemoryStream::TMemoryStream() = default;

TMemoryStream::TMemoryStream(TByteBuffer Bytes)
    : FBytes(std::move(Bytes)), FSize(static_cast<int64_t>(FBytes.size())), FWindow(FBytes.data()),
      FWindowEnd(FSize) {}

TMemoryStream::TMemoryStream(std::span<const uint8_t> Bytes)
    : FSize(static_cast<int64_t>(Bytes.size())), FWindow(Bytes.data()), FWindowEnd(FSize) {}

TMemoryStream::TMemoryStream(std::unique_ptr<TFileBlocks> File)
    : FFile(std::move(File)), FSize(FFile ? FFile->Size() : 0) {}

TMemoryStream::~TMemoryStream() = default;

TMemoryStream::TMemoryStream(TMemoryStream&& Other) noexcept { *this = std::move(Other); }

TMemoryStream& TMemoryStream::operator=(TMemoryStream&& Other) noexcept {
  if (this == &Other) return *this;
  // A vector's buffer moves with it, so the window stays valid.
  FBytes = std::move(Other.FBytes);
  FFile = std::move(Other.FFile);
  FSize = std::exchange(Other.FSize, 0);
  FPosition = std::exchange(Other.FPosition, 0);
  FWindow = std::exchange(Other.FWindow, nullptr);
  FWindowStart = std::exchange(Other.FWindowStart, 0);
  FWindowEnd = std::exchange(Other.FWindowEnd, 0);
  return *this;
}

size_t TMemoryStream::ReadAcrossBlocks(std::span<uint8_t> Buffer) {
  size_t Done = 0;
  while (Done < Buffer.size() && FPosition >= 0 && FPosition < FSize) {
    if (FPosition < FWindowStart || FPosition >= FWindowEnd) MoveWindowTo(FPosition);
    if (FPosition < FWindowStart || FPosition >= FWindowEnd) break;  // the file's read budget is spent
    const size_t Count = std::min(Buffer.size() - Done, static_cast<size_t>(FWindowEnd - FPosition));
    CopyFromWindow(Buffer.data() + Done, Count);
    Done += Count;
  }
  return Done;
}

void TMemoryStream::MoveWindowTo(int64_t Position) {
  // Bytes handed over are all in the window already; only a file's move.
  int64_t Start = 0;
  const std::span<const uint8_t> Block = FFile->BlockAt(Position, Start);
  FWindow = Block.data();
  FWindowStart = Start;
  FWindowEnd = Start + static_cast<int64_t>(Block.size());
}

TByteBuffer TMemoryStream::Copy(int64_t Start, int64_t Count) {
  const int64_t Resume = FPosition;
  TByteBuffer Bytes;
  if (Start >= 0 && Start < FSize && Count > 0) {
    Bytes.resize(static_cast<size_t>(std::min(Count, FSize - Start)));
    FPosition = Start;
    Bytes.resize(Read(Bytes));
  }
  FPosition = Resume;
  return Bytes;
}
