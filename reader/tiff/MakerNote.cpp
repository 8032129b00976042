// The maker note: a directory of 12-byte entries in a layout of the camera
// maker's own, behind a header that depends on the maker. The maker table
// (MakerNotes.h) says, per maker, where the entries start, their byte order,
// what their value offsets count from, which tags are known and which hold
// packed settings arrays; the walk keeps the entries the maker's table knows
// and unpacks the settings arrays into one record per known setting.
#include <algorithm>
#include <array>
#include <optional>

#include "DirectoryWalk.h"
#include "MakerNotes.h"

namespace {

// The walk ends at the note's zero link, or at the end of the data.
constexpr TWalkEnd MakerNoteWalk{.AtZeroTag = true, .AtEndOfData = true};

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

// The note's first bytes choose the maker (for Makes that need a signature)
// and the layout. The note's own byte order holds for the walk and the file's
// comes back after it, except after a Fuji note, which leaves the document
// little-endian.
void TTiffParser::ReadMakerNote(int64_t NoteOffset) {
  if (NoteOffset == 0 || FDoc.FMakeAt < 0) return;
  const int64_t NoteStart = FIFD0Offset + NoteOffset;
  std::array<uint8_t, NoteHeadBytes> HeadBytes{};
  FFile.Seek(NoteStart);
  const std::span<const uint8_t> Head(HeadBytes.data(), FFile.Read(HeadBytes));
  if (const TMakerNoteFormat BySignature = MakerOfSignature(MakeText(), Head); BySignature != mnfUnknown)
    FDoc.FMNF = BySignature;
  const TMakerNoteMaker& Maker = MakerOf(FDoc.FMNF);
  const TNoteLayout* Layout = NoteLayoutOf(Maker, Head, UsesModel(Maker) ? ModelText() : std::string_view());
  if (Layout == nullptr) return;
  std::optional<TFlagGuard> FileByteOrder;
  if (Layout->Order != nboLittle) FileByteOrder.emplace(FSwap);
  FSwap = NoteIsBigEndian(*Layout, Head, FSwap);
  FMakerNoteBase = Layout->Base == nobNote ? NoteStart + Layout->BaseAt : int64_t{FIFD0Offset};
  uint16_t Count = 0;
  if (!ReadCount(NoteOffset + Layout->CountAt, Count)) return;
  WalkEntries(Count, *Maker.Tags, MakerNoteWalk, [&](const TDirectoryEntry& Entry, const TEXIFTagHeader* Header) {
    if (Header == nullptr || (Layout->Skipped != nullptr && Layout->Skipped(Entry.Tag))) return;
    if (const TSettingsArray* Array = SettingsArrayOf(Maker, Entry.Tag))
      ReadSettings(Entry, *Array);
    else
      Store(FDoc.FMN, *Header, Entry, dkMakerNote);
  });
}

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
  while (Read < Count && Read < Values.size()) {
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
