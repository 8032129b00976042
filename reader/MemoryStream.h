// The byte stream every parser reads through. It knows the size of its data
// and never touches memory outside the bytes it holds: a seek may go anywhere
// (before the start or past the end), and a read there returns fewer bytes
// than asked for, leaving the rest of the caller's buffer as it was.
// Positions are 64-bit, so an offset from a file plus a base position can
// never wrap around.
//
// The bytes it reads are always in memory: either all of them, handed over
// at once, or the blocks of a file that reading has touched so far (see
// FileBlocks.h). Readers cannot tell the two apart; a file's blocks are
// read only where the parser goes, so the cost of a load does not grow with
// the size of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

#include "ByteBuffer.h"

class TFileBlocks;

class TMemoryStream {
 public:
  TMemoryStream();
  explicit TMemoryStream(TByteBuffer Bytes);
  // Bytes the caller holds, and keeps for as long as the stream lives.
  explicit TMemoryStream(std::span<const uint8_t> Bytes);
  explicit TMemoryStream(std::unique_ptr<TFileBlocks> File);
  ~TMemoryStream();
  TMemoryStream(TMemoryStream&& Other) noexcept;
  TMemoryStream& operator=(TMemoryStream&& Other) noexcept;

  int64_t Size() const { return FSize; }
  int64_t Position() const { return FPosition; }
  void Seek(int64_t Position) { FPosition = Position; }
  void SeekBy(int64_t Delta) { FPosition += Delta; }
  int64_t Remaining() const {
    return (FPosition < 0 || FPosition >= FSize) ? 0 : FSize - FPosition;
  }

  // Copies up to Buffer.size() bytes from the position and advances the
  // position by the number copied, which it returns. Throws EFileReadError
  // when a file's block cannot be read.
  size_t Read(std::span<uint8_t> Buffer) {
    if (!InWindow(Buffer.size())) return ReadAcrossBlocks(Buffer);
    CopyFromWindow(Buffer.data(), Buffer.size());
    return Buffer.size();
  }

  // Reads exactly Buffer.size() bytes, or reads what is there and returns
  // false: a short read.
  bool ReadExact(std::span<uint8_t> Buffer) { return Read(Buffer) == Buffer.size(); }

  // The same for a fixed size, as the parsers read entries and numbers: the
  // copy of a whole one then compiles to a few moves.
  template <size_t N>
  bool ReadExact(uint8_t (&Buffer)[N]) {
    if (!InWindow(N)) return ReadAcrossBlocks(std::span<uint8_t>(Buffer)) == N;
    CopyFromWindow(Buffer, N);
    return true;
  }

  // A copy of the bytes [Start, Start + Count) clipped to the data; the
  // position does not change.
  TByteBuffer Copy(int64_t Start, int64_t Count);

 private:
  // Whether Count bytes from the position lie in the bytes at hand.
  bool InWindow(size_t Count) const {
    return FPosition >= FWindowStart && FPosition <= FWindowEnd &&
           Count <= static_cast<size_t>(FWindowEnd - FPosition);
  }
  void CopyFromWindow(uint8_t* To, size_t Count) {
    std::memcpy(To, FWindow + (FPosition - FWindowStart), Count);
    FPosition += static_cast<int64_t>(Count);
  }
  size_t ReadAcrossBlocks(std::span<uint8_t> Buffer);
  void MoveWindowTo(int64_t Position);

  TByteBuffer FBytes;                  // all the bytes, when they were handed over
  std::unique_ptr<TFileBlocks> FFile;  // else the file whose blocks are read
  int64_t FSize = 0;
  int64_t FPosition = 0;
  // The bytes at hand: [FWindowStart, FWindowEnd) of the data, at FWindow.
  const uint8_t* FWindow = nullptr;
  int64_t FWindowStart = 0;
  int64_t FWindowEnd = 0;
};
