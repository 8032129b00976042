// The maker note: a directory of 12-byte entries in a layout of the camera
// maker's own, behind a header whose length depends on the maker. The walk
// keeps the entries the maker's table knows; Canon's and Minolta's packed
// camera-settings arrays are unpacked into one record per known setting.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "DirectoryWalk.h"

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

// The walk ends at the note's zero link, or at the end of the data.
constexpr TWalkEnd MakerNoteWalk{.AtZeroTag = true, .AtEndOfData = true};

bool IsMinoltaSettings(uint16_t Tag) { return Tag == 0x0001 || Tag == 0x0003 || Tag == 0x0F00; }

// Newer Nikon notes hold a TIFF header of their own after the "Nikon\0"
// signature (at note + 10): their value offsets count from that header, in
// its byte order.
struct TNikonHeader {
  bool Present = false;
  bool BigEndian = false;
};

TNikonHeader ReadNikonHeader(TMemoryStream& File, int64_t NoteStart) {
  uint8_t Signature[10] = {}, Tiff[4] = {};
  File.Seek(NoteStart);
  if (!File.ReadExact(Signature) || !File.ReadExact(Tiff) || std::memcmp(Signature, "Nikon\0", 6) != 0) return {};
  if (std::memcmp(Tiff, "II*\0", 4) == 0) return {true, false};
  if (std::memcmp(Tiff, "MM\0*", 4) == 0) return {true, true};
  return {};
}

// The older Nikon layout's tags 3 to 0x0B (colour mode, quality ...) are
// stored under other meanings in a note with its own header.
bool IsOlderNikonOnlyTag(uint16_t Tag) { return Tag >= 0x0003 && Tag <= 0x000B; }

// Puts a flag back to what it was when the guard was made, however the scope
// ends.
class TFlagGuard {
 public:
  explicit TFlagGuard(bool& Flag) : FFlag(Flag), FSaved(Flag) {}
  ~TFlagGuard() { FFlag = FSaved; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

 private:
  bool& FFlag;
  bool FSaved;
};

}  // namespace

// A packed camera-settings array: where its items start, how many there are,
// their size and byte order, and the decoder of one item.
struct TSettingsArray {
  int64_t FirstItem;       // bytes from the array's offset to its first item
  bool CountInFirstWord;   // the first 16-bit word is the array's length in bytes
  uint16_t MaxItems;       // no known setting lies past this item
  bool BigEndian;
  bool FourBytes;          // 32-bit items, else 16-bit
  void (*Decode)(TEXIFTag& Rec, uint32_t Item, const TCanonLensItems& Lens);
};

namespace {

// Canon: a first 16-bit word giving the array's length in bytes, then one
// 16-bit item per setting, both little-endian as Canon cameras write them.
// Minolta: big-endian 32-bit items in any file; the first word is not a
// setting, and 50 items are read whatever the entry's count.
constexpr TSettingsArray CanonSettings1Array{2, true, 28, false, false, DecodeCanonSettings1};
constexpr TSettingsArray CanonSettings2Array{
    2, true, 15, false, false,
    [](TEXIFTag& Rec, uint32_t Item, const TCanonLensItems&) { DecodeCanonSettings2(Rec, Item); }};
constexpr TSettingsArray MinoltaSettingsArray{
    4, false, 50, true, true,
    [](TEXIFTag& Rec, uint32_t Item, const TCanonLensItems&) { DecodeMinoltaSettings(Rec, Item); }};

constexpr size_t MaxSettingsItems = 50;

}  // namespace

// Value offsets count from the TIFF header, except in Fuji notes (from the
// note's first byte) and in Nikon notes with a header of their own; the
// file's byte order comes back after such a Nikon note.
void TTiffParser::ReadMakerNote(int64_t NoteOffset) {
  if (NoteOffset == 0 || FDoc.FMNF == mnfUnknown) return;
  const int64_t NoteStart = FIFD0Offset + NoteOffset;
  const TNikonHeader Nikon = FDoc.FMNF == mnfNikon ? ReadNikonHeader(FFile, NoteStart) : TNikonHeader{};
  FMakerNoteBase = FIFD0Offset;
  std::optional<TFlagGuard> FileByteOrder;
  if (FDoc.FMNF == mnfFuji) {
    FSwap = false;  // Fuji notes are little-endian in every file, and it stays so
    FMakerNoteBase = NoteStart;
  } else if (Nikon.Present) {
    FileByteOrder.emplace(FSwap);
    FSwap = Nikon.BigEndian;
    FMakerNoteBase = NoteStart + 10;
  }
  uint16_t Count = 0;
  if (!ReadCount(NoteOffset + EntriesStart(FDoc.FMNF) - 2, Count)) return;
  WalkEntries(Count, MakerNoteTags(FDoc.FMNF), MakerNoteWalk,
              [&](const TDirectoryEntry& Entry, const TEXIFTagHeader* Header) {
                if (Header != nullptr && !(Nikon.Present && IsOlderNikonOnlyTag(Entry.Tag)))
                  StoreMakerNoteEntry(*Header, Entry);
              });
}

void TTiffParser::StoreMakerNoteEntry(const TEXIFTagHeader& Header, const TDirectoryEntry& Entry) {
  if (FDoc.FMNF == mnfCanon && Entry.Tag == 0x0001)
    ReadCanonSettings1(Entry);
  else if (FDoc.FMNF == mnfCanon && Entry.Tag == 0x0004)
    ReadCanonSettings2(Entry);
  else if (FDoc.FMNF == mnfMinolta && IsMinoltaSettings(Entry.Tag))
    ReadMinoltaSettings(Entry);
  else
    Store(FDoc.FMN, Header, Entry, dkMakerNote);
}

void TTiffParser::ReadCanonSettings1(const TDirectoryEntry& Entry) { ReadSettings(Entry, CanonSettings1Array); }

void TTiffParser::ReadCanonSettings2(const TDirectoryEntry& Entry) { ReadSettings(Entry, CanonSettings2Array); }

void TTiffParser::ReadMinoltaSettings(const TDirectoryEntry& Entry) { ReadSettings(Entry, MinoltaSettingsArray); }

// Reads the array's items (those the data holds), then hands each to the
// decoder with its 1-based position as the record's tag; every item the
// decoder recognises becomes a record. Canon's "Lens Attached" shows the
// lens's focal range, whose long end and units are items 23 and 25.
void TTiffParser::ReadSettings(const TDirectoryEntry& Entry, const TSettingsArray& Array) {
  const TPositionGuard Resume(FFile);
  const int64_t ArrayStart = int64_t{FIFD0Offset} + Entry.ValueLong();
  TTiffNumbers Items(FFile, Array.BigEndian);
  uint16_t Count = Array.MaxItems;
  FFile.Seek(ArrayStart);
  if (Array.CountInFirstWord) {
    uint16_t Length = 0;
    if (!Items.U16(Length)) return;
    Count = std::min<uint16_t>(static_cast<uint16_t>(Length / 2), Array.MaxItems);
  }
  FFile.Seek(ArrayStart + Array.FirstItem);
  std::array<uint32_t, MaxSettingsItems> Values{};
  size_t Read = 0;
  while (Read < Count) {
    uint16_t Short = 0;
    if (Array.FourBytes ? !Items.U32(Values[Read]) : !Items.U16(Short)) break;
    if (!Array.FourBytes) Values[Read] = Short;
    ++Read;
  }
  const auto Item = [&](size_t Position) { return Position <= Read ? Values[Position - 1] : 0; };
  const TCanonLensItems Lens{Item(23), Item(25)};
  TEXIFTag Rec;
  for (size_t Position = 1; Position <= Read; ++Position) {
    Rec.Header.Tag = static_cast<uint16_t>(Position);
    Rec.Typ = 0;
    Array.Decode(Rec, Item(Position), Lens);
    if (Rec.Typ != 0) NewRecord(FDoc.FMN) = Rec;
  }
}
