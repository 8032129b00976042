#include "TiffData.h"

#include <utility>


namespace {

bool IsSmallByteValue(const TDirectoryEntry& Entry) {
  return (Entry.Type == ftByte || Entry.Type == ftAscii || Entry.Type == ftSByte || Entry.Type == ftUndefined) &&
         Entry.Count <= 4;
}

bool IsSmallShortValue(const TDirectoryEntry& Entry) {
  return (Entry.Type == ftShort || Entry.Type == ftSShort) && Entry.Count <= 2;
}

}  // namespace

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
