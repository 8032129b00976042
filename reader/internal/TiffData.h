// TIFF data as the parser reads it: 12-byte directory entries, the numbers
// of the byte order of the data being walked, and a guard that puts the
// stream back where it was. Private to the reader.
#pragma once

#include <bit>
#include <cstdint>

#include "ByteOrder.h"
#include "EXIF_Intf.h"
#include "MemoryStream.h"

// One 12-byte directory entry, brought to host order. Value holds the 4 bytes
// of the value field as they are to be read little-endian: the value itself
// when it fits, else the offset of the values from the TIFF header.
struct TDirectoryEntry {
  uint16_t Tag = 0;
  uint16_t Type = 0;
  uint32_t Count = 0;
  uint8_t Value[4] = {};

  uint32_t ValueLong() const { return Little32(Value); }
};

// Which directory an entry comes from; it decides how value offsets count.
enum TDirectoryKind : uint8_t {
  dkIFD0 = 0,
  dkEXIF = 1,
  dkInterop = 2,
  dkMakerNote = 3,
  dkIFD1 = 4,
  dkGPS = 5,
};

// The numbers of TIFF data, read through the stream in one byte order ("II"
// little-endian, "MM" big-endian), which a walk chooses once. Each read moves
// the stream on; bytes past the end of the data read as zeros, and a read
// that did not find all its bytes returns false.
class TTiffNumbers {
 public:
  TTiffNumbers(TMemoryStream& Stream, bool BigEndian) : FStream(Stream), FBigEndian(BigEndian) {}

  bool U16(uint16_t& Value) {
    uint8_t Bytes[2] = {};
    const bool Whole = FStream.ReadExact(Bytes);
    Value = FBigEndian ? Swap16(Little16(Bytes)) : Little16(Bytes);
    return Whole;
  }
  bool U32(uint32_t& Value) {
    uint8_t Bytes[4] = {};
    const bool Whole = FStream.ReadExact(Bytes);
    Value = FBigEndian ? SwapLong(Little32(Bytes)) : Little32(Bytes);
    return Whole;
  }
  bool F64(double& Value) {
    uint8_t Bytes[8] = {};
    const bool Whole = FStream.ReadExact(Bytes);
    const uint32_t Lo = Little32(Bytes), Hi = Little32(Bytes + 4);
    Value = FBigEndian ? SwapDouble(Lo, Hi) : std::bit_cast<double>((uint64_t{Hi} << 32) | Lo);
    return Whole;
  }
  // A directory entry. Its tag, type and count are numbers of the byte
  // order; its value field is turned by what it holds: bytes and texts of up
  // to 4 bytes stay as stored, a single pair of 16-bit values has only its
  // first value's bytes exchanged (the first value is all that is read), and
  // anything else, a 32-bit value or an offset, is reversed whole.
  bool Entry(TDirectoryEntry& Entry);

 private:
  TMemoryStream& FStream;
  bool FBigEndian;
};

// Puts the stream back at the position it had when the guard was made,
// however the scope ends.
class TPositionGuard {
 public:
  explicit TPositionGuard(TMemoryStream& Stream) : FStream(Stream), FPosition(Stream.Position()) {}
  ~TPositionGuard() { FStream.Seek(FPosition); }
  TPositionGuard(const TPositionGuard&) = delete;
  TPositionGuard& operator=(const TPositionGuard&) = delete;

 private:
  TMemoryStream& FStream;
  int64_t FPosition;
};
