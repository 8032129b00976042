// The bytes a picture decoder reads: a file read in blocks, bytes in memory,
// or a range of either (a preview picture inside a larger file). Decoders
// read through this interface only, so that they know nothing of how the
// bytes are kept.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

class TByteSource {
 public:
  virtual ~TByteSource() = default;
  virtual int64_t Size() const = 0;
  // Copies up to Buffer.size() bytes from Position (0 <= Position) and
  // returns how many it copied: fewer only at the end of the data, none past
  // it. Throws when the bytes cannot be read.
  virtual size_t ReadAt(int64_t Position, std::span<uint8_t> Buffer) const = 0;
  // All the bytes at once, when they are in memory already; else nothing,
  // and they are read with ReadAt.
  virtual std::span<const uint8_t> InMemory() const { return {}; }
};

// Bytes in memory, which must outlive the source.
class TMemorySource final : public TByteSource {
 public:
  explicit TMemorySource(std::span<const uint8_t> Bytes) : FBytes(Bytes) {}
  int64_t Size() const override { return static_cast<int64_t>(FBytes.size()); }
  size_t ReadAt(int64_t Position, std::span<uint8_t> Buffer) const override {
    if (Position < 0 || Position >= Size()) return 0;
    const size_t Count = std::min(Buffer.size(), FBytes.size() - static_cast<size_t>(Position));
    std::copy_n(FBytes.begin() + Position, Count, Buffer.begin());
    return Count;
  }
  std::span<const uint8_t> InMemory() const override { return FBytes; }

 private:
  std::span<const uint8_t> FBytes;
};

// The bytes [Start, Start + Length) of another source, clipped to it, read
// as a source of their own: position 0 is Start.
class TRangeSource final : public TByteSource {
 public:
  TRangeSource(const TByteSource& Whole, int64_t Start, int64_t Length)
      : FWhole(Whole),
        FStart(std::clamp<int64_t>(Start, 0, Whole.Size())),
        FSize(std::clamp<int64_t>(Length, 0, Whole.Size() - FStart)) {}
  int64_t Size() const override { return FSize; }
  size_t ReadAt(int64_t Position, std::span<uint8_t> Buffer) const override {
    if (Position < 0 || Position >= FSize) return 0;
    const auto Count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(Buffer.size()), FSize - Position));
    return FWhole.ReadAt(FStart + Position, Buffer.first(Count));
  }

 private:
  const TByteSource& FWhole;
  int64_t FStart;
  int64_t FSize;
};
