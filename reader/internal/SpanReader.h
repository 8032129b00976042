// Bytes already in memory read in order, every read checked against what is
// left: a read past the end fails, returns zeros or nothing, and every later
// read fails too. The IPTC records and Photoshop's image resources are read
// through it. Private to the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class TSpanReader {
 public:
  explicit TSpanReader(std::span<const uint8_t> Bytes) : FBytes(Bytes) {}

  bool Ok() const { return FOk; }
  size_t Position() const { return FPosition; }
  size_t Remaining() const { return FOk ? FBytes.size() - FPosition : 0; }

  // The next byte without reading it; 0 at the end.
  uint8_t Peek() const { return Remaining() > 0 ? FBytes[FPosition] : 0; }

  // An unsigned big-endian number of Count bytes (at most 8).
  uint64_t BigEndian(size_t Count) {
    if (Count > 8) FOk = false;
    const std::span<const uint8_t> Read = Bytes(Count);
    uint64_t Value = 0;
    for (const uint8_t Byte : Read) Value = Value << 8 | Byte;
    return Value;
  }
  uint8_t U8() { return static_cast<uint8_t>(BigEndian(1)); }
  uint16_t U16() { return static_cast<uint16_t>(BigEndian(2)); }
  uint32_t U32() { return static_cast<uint32_t>(BigEndian(4)); }

  // The next Count bytes; empty, and the reader failed, when fewer are left.
  std::span<const uint8_t> Bytes(size_t Count) {
    if (Count > Remaining()) {
      FOk = false;
      return {};
    }
    const std::span<const uint8_t> Read = FBytes.subspan(FPosition, Count);
    FPosition += Count;
    return Read;
  }
  void Skip(size_t Count) { Bytes(Count); }

 private:
  std::span<const uint8_t> FBytes;
  size_t FPosition = 0;
  bool FOk = true;
};
