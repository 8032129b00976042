#include "TiffData.h"

#include <bit>
#include <utility>

#include "EXIF_Intf.h"

namespace {

uint16_t Little16(const uint8_t* Bytes) { return static_cast<uint16_t>(Bytes[0] | (Bytes[1] << 8)); }

uint32_t Little32(const uint8_t* Bytes) {
  return uint32_t{Bytes[0]} | (uint32_t{Bytes[1]} << 8) | (uint32_t{Bytes[2]} << 16) |
         (uint32_t{Bytes[3]} << 24);
}

uint16_t Swap16(uint16_t Value) { return static_cast<uint16_t>((Value >> 8) | (Value << 8)); }

bool IsSmallByteValue(const TDirectoryEntry& Entry) {
  return (Entry.Type == ftByte || Entry.Type == ftAscii || Entry.Type == ftSByte || Entry.Type == ftUndefined) &&
         Entry.Count <= 4;
}

bool IsSmallShortValue(const TDirectoryEntry& Entry) {
  return (Entry.Type == ftShort || Entry.Type == ftSShort) && Entry.Count <= 2;
}

}  // namespace

uint32_t SwapLong(uint32_t Value) {
  return (Value >> 24) | ((Value >> 8) & 0xFF00) | ((Value << 8) & 0xFF0000) | (Value << 24);
}

double SwapDouble(uint32_t Lo, uint32_t Hi) {
  const uint64_t Bits = (uint64_t{SwapLong(Lo)} << 32) | SwapLong(Hi);
  return std::bit_cast<double>(Bits);
}

uint32_t TDirectoryEntry::ValueLong() const { return Little32(Value); }

bool TTiffNumbers::U16(uint16_t& Value) {
  uint8_t Bytes[2] = {};
  const bool Whole = FStream.ReadExact(Bytes);
  Value = FBigEndian ? Swap16(Little16(Bytes)) : Little16(Bytes);
  return Whole;
}

bool TTiffNumbers::U32(uint32_t& Value) {
  uint8_t Bytes[4] = {};
  const bool Whole = FStream.ReadExact(Bytes);
  Value = FBigEndian ? SwapLong(Little32(Bytes)) : Little32(Bytes);
  return Whole;
}

bool TTiffNumbers::F64(double& Value) {
  uint8_t Bytes[8] = {};
  const bool Whole = FStream.ReadExact(Bytes);
  const uint32_t Lo = Little32(Bytes), Hi = Little32(Bytes + 4);
  Value = FBigEndian ? SwapDouble(Lo, Hi) : std::bit_cast<double>((uint64_t{Hi} << 32) | Lo);
  return Whole;
}

bool TTiffNumbers::Entry(TDirectoryEntry& Entry) {
  uint8_t Bytes[12];
  if (!FStream.ReadExact(Bytes)) return false;
  Entry.Tag = Little16(Bytes);
  Entry.Type = Little16(Bytes + 2);
  Entry.Count = Little32(Bytes + 4);
  for (int Index = 0; Index < 4; ++Index) Entry.Value[Index] = Bytes[8 + Index];
  if (!FBigEndian) return true;
  Entry.Tag = Swap16(Entry.Tag);
  Entry.Type = Swap16(Entry.Type);
  Entry.Count = SwapLong(Entry.Count);
  if (IsSmallShortValue(Entry))
    std::swap(Entry.Value[0], Entry.Value[1]);
  else if (!IsSmallByteValue(Entry))
    std::swap(Entry.Value[0], Entry.Value[3]), std::swap(Entry.Value[1], Entry.Value[2]);
  return true;
}
