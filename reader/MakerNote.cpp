// The maker note: a directory of 12-byte entries in a layout of the camera
// maker's own, behind a header whose length depends on the maker. The walk
// keeps the entries the maker's table knows; Canon's and Minolta's packed
// camera-settings arrays are unpacked into one record per known setting.
#include <algorithm>
#include <cstring>

#include "EXIF_Intf.h"

namespace {

// Where a maker's entries start, counted from the maker note's first byte.
// The directory's 16-bit entry count lies just before.
//   2: a plain directory (Canon, Casio, Minolta)
//  20: "Nikon" signature (10 bytes), a TIFF header (8), the count
//  10: "OLYMP" signature (8), the count
//  14: "Panasonic" signature (12), the count; or Fuji's "FUJIFILM" (8),
//      a 4-byte offset and the count
int64_t EntriesStart(TMakerNoteFormat Format) {
  switch (Format) {
    case mnfNikon: return 20;
    case mnfOlympus: return 10;
    case mnfPanasonic:
    case mnfFuji: return 14;
    default: return 2;
  }
}

bool IsMinoltaSettings(uint16_t Tag) { return Tag == 0x0001 || Tag == 0x0003 || Tag == 0x0F00; }

// Canon settings arrays list no setting past these positions.
constexpr uint16_t LastCanonSettings1Item = 28;
constexpr uint16_t LastCanonSettings2Item = 15;
constexpr uint16_t MinoltaSettingsItems = 50;

// Newer Nikon notes hold a TIFF header of their own after the "Nikon\0"
// signature (at note + 10): their value offsets count from that header, in
// its byte order.
struct TNikonHeader {
  bool Present = false;
  bool BigEndian = false;
};

TNikonHeader ReadNikonHeader(TMemoryStream& File, int64_t NoteStart) {
  uint8_t Bytes[14] = {};
  File.Seek(NoteStart);
  if (!File.ReadExact(Bytes) || std::memcmp(Bytes, "Nikon\0", 6) != 0) return {};
  const uint8_t* Tiff = Bytes + 10;
  if (std::memcmp(Tiff, "II*\0", 4) == 0) return {true, false};
  if (std::memcmp(Tiff, "MM\0*", 4) == 0) return {true, true};
  return {};
}

// The older Nikon layout's tags 3 to 0x0B (colour mode, quality ...) are
// stored under other meanings in a note with its own header.
bool IsOlderNikonOnlyTag(uint16_t Tag) { return Tag >= 0x0003 && Tag <= 0x000B; }

}  // namespace

// The walk ends after the note's count of entries (the 16 bits just before
// the maker's first entry), at a zero tag that is not stored (the link after
// the last entry, or a second zero tag), or at the end of the data. A first
// zero tag is stored when the table names it (Fuji's version, Minolta's
// signature). Value offsets count from the TIFF header, except in Fuji notes
// (from the note's first byte) and in Nikon notes with a header of their own.
void TEXIF::ReadMakerNote() {
  const int64_t NoteOffset = PointerOffset(0x927C);
  if (NoteOffset == 0 || FMNF == mnfUnknown) return;
  const int64_t NoteStart = FIFD0Offset + NoteOffset;
  const bool FileSwap = FSwap;
  TNikonHeader Nikon;
  FMakerNoteBase = FIFD0Offset;
  if (FMNF == mnfFuji) {
    FSwap = false;  // Fuji notes are little-endian in every file
    FMakerNoteBase = NoteStart;
  } else if (FMNF == mnfNikon && (Nikon = ReadNikonHeader(FFile, NoteStart)).Present) {
    FSwap = Nikon.BigEndian;
    FMakerNoteBase = NoteStart + 10;
  }
  struct TRestoreByteOrder {
    bool& Swap;
    bool Saved;
    bool Restore;
    ~TRestoreByteOrder() {
      if (Restore) Swap = Saved;
    }
  } Restore{FSwap, FileSwap, Nikon.Present};
  WalkMakerNote(NoteOffset, Nikon.Present);
}

void TEXIF::WalkMakerNote(int64_t NoteOffset, bool SkipOlderNikonTags) {
  const TTagTable Table = MakerNoteTags(FMNF);
  uint16_t Count = 0;
  if (!ReadCount(NoteOffset + EntriesStart(FMNF) - 2, Count)) return;
  bool ZeroStored = false;
  for (uint32_t Read = 0; Read < Count; ++Read) {
    TDirectoryEntry Entry;
    if (!ReadEntry(Entry)) return;
    uint16_t Tag = Entry.Tag;
    const bool Skipped = (Tag == 0 && ZeroStored) || (SkipOlderNikonTags && IsOlderNikonOnlyTag(Tag));
    if (const TEXIFTagHeader* Header = Skipped ? nullptr : FindTagHeader(Table, Tag)) {
      StoreMakerNoteEntry(*Header, Entry);
      if (Tag == 0) {
        ZeroStored = true;
        Tag = 0xFFFF;
      }
    }
    if (Tag == 0 || FFile.Remaining() == 0) return;
  }
}

void TEXIF::StoreMakerNoteEntry(const TEXIFTagHeader& Header, const TDirectoryEntry& Entry) {
  if (FMNF == mnfCanon && Entry.Tag == 0x0001)
    ReadCanonSettings1(Entry);
  else if (FMNF == mnfCanon && Entry.Tag == 0x0004)
    ReadCanonSettings2(Entry);
  else if (FMNF == mnfMinolta && IsMinoltaSettings(Entry.Tag))
    ReadMinoltaSettings(Entry);
  else
    Store(FMN, Header, Entry, dkMakerNote);
}

// A Canon settings array: a first 16-bit word giving the array's length in
// bytes, then one 16-bit item per setting. Both are read as stored
// (little-endian, as Canon cameras write them).
std::vector<uint16_t> TEXIF::ReadCanonItems(const TDirectoryEntry& Entry, uint16_t LastItem) {
  std::vector<uint16_t> Items;
  FFile.Seek(int64_t{FIFD0Offset} + Entry.ValueLong());
  uint8_t Word[2];
  if (!FFile.ReadExact(Word)) return Items;
  const auto Length = static_cast<uint16_t>(Word[0] | (Word[1] << 8));
  const uint16_t Count = std::min<uint16_t>(static_cast<uint16_t>(Length / 2), LastItem);
  while (Items.size() < Count && FFile.ReadExact(Word))
    Items.push_back(static_cast<uint16_t>(Word[0] | (Word[1] << 8)));
  return Items;
}

void TEXIF::ReadCanonSettings1(const TDirectoryEntry& Entry) {
  const int64_t Resume = FFile.Position();
  const std::vector<uint16_t> Items = ReadCanonItems(Entry, LastCanonSettings1Item);
  const auto Item = [&](size_t Position) -> uint32_t {
    return Position <= Items.size() ? Items[Position - 1] : 0;
  };
  const TCanonLensItems Lens{Item(23), Item(25)};
  TEXIFTag Rec;
  for (size_t Position = 1; Position <= Items.size(); ++Position) {
    Rec.Header.Tag = static_cast<uint16_t>(Position);
    Rec.Typ = 0;
    DecodeCanonSettings1(Rec, Item(Position), Lens);
    if (Rec.Typ != 0) NewRecord(FMN) = Rec;
  }
  FFile.Seek(Resume);
}

void TEXIF::ReadCanonSettings2(const TDirectoryEntry& Entry) {
  const int64_t Resume = FFile.Position();
  const std::vector<uint16_t> Items = ReadCanonItems(Entry, LastCanonSettings2Item);
  TEXIFTag Rec;
  for (size_t Position = 1; Position <= Items.size(); ++Position) {
    Rec.Header.Tag = static_cast<uint16_t>(Position);
    Rec.Typ = 0;
    DecodeCanonSettings2(Rec, Items[Position - 1]);
    if (Rec.Typ != 0) NewRecord(FMN) = Rec;
  }
  FFile.Seek(Resume);
}

// A Minolta settings array: big-endian 32-bit items in any file. The first
// word is not a setting; item i is the word at 4 x i.
void TEXIF::ReadMinoltaSettings(const TDirectoryEntry& Entry) {
  const int64_t Resume = FFile.Position();
  FFile.Seek(int64_t{FIFD0Offset} + Entry.ValueLong() + 4);
  TEXIFTag Rec;
  for (uint16_t Position = 1; Position <= MinoltaSettingsItems; ++Position) {
    uint8_t Word[4];
    if (!FFile.ReadExact(Word)) break;
    const uint32_t Item = (uint32_t{Word[0]} << 24) | (uint32_t{Word[1]} << 16) |
                          (uint32_t{Word[2]} << 8) | Word[3];
    Rec.Header.Tag = Position;
    Rec.Typ = 0;
    DecodeMinoltaSettings(Rec, Item);
    if (Rec.Typ != 0) NewRecord(FMN) = Rec;
  }
  FFile.Seek(Resume);
}
