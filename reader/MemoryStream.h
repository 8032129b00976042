// The in-memory byte stream every parser reads through. It owns the bytes,
// knows their size, and never touches memory outside them: a seek may go
// anywhere (before the start or past the end), and a read there returns
// fewer bytes than asked for, leaving the rest of the caller's buffer as it
// was. Positions are 64-bit, so an offset from a file plus a base position
// can never wrap around.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "ByteBuffer.h"

class TMemoryStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(TByteBuffer Bytes) : FBytes(std::move(Bytes)) {}

  // Replaces the contents; the position goes back to 0.
  void Assign(TByteBuffer Bytes);
  void Clear();

  int64_t Size() const { return static_cast<int64_t>(FBytes.size()); }
  int64_t Position() const { return FPosition; }
  void Seek(int64_t Position) { FPosition = Position; }
  void SeekBy(int64_t Delta) { FPosition += Delta; }
  int64_t Remaining() const {
    return (FPosition < 0 || FPosition >= Size()) ? 0 : Size() - FPosition;
  }

  // Copies up to Buffer.size() bytes from the position and advances the
  // position by the number copied, which it returns.
  size_t Read(std::span<uint8_t> Buffer) {
    const int64_t Available = Remaining();
    const size_t Count = static_cast<int64_t>(Buffer.size()) < Available ? Buffer.size()
                                                                          : static_cast<size_t>(Available);
    if (Count > 0) std::memcpy(Buffer.data(), FBytes.data() + FPosition, Count);
    FPosition += static_cast<int64_t>(Count);
    return Count;
  }

  // Reads exactly Buffer.size() bytes, or reads what is there and returns
  // false: a short read.
  bool ReadExact(std::span<uint8_t> Buffer) { return Read(Buffer) == Buffer.size(); }

  // The same for a fixed size, as the parsers read entries and numbers: the
  // copy of a whole one then compiles to a few moves.
  template <size_t N>
  bool ReadExact(uint8_t (&Buffer)[N]) {
    if (Remaining() < static_cast<int64_t>(N)) return ReadExact(std::span<uint8_t>(Buffer));
    std::memcpy(Buffer, FBytes.data() + FPosition, N);
    FPosition += static_cast<int64_t>(N);
    return true;
  }

  // Bytes [Start, Start + Count) clipped to the data.
  std::span<const uint8_t> Slice(int64_t Start, int64_t Count) const;
  std::span<const uint8_t> Bytes() const { return FBytes; }

 private:
  TByteBuffer FBytes;
  int64_t FPosition = 0;
};
