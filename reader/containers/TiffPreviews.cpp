// The JPEG previews a camera stores in a raw file of TIFF structure (CR2,
// NEF, ARW, DNG, ORF, RW2, PEF ...), found by a small walk of the entries
// that point at them; the walk gives no rows (the TIFF parser reads those).
// - IFD 0 and the SubIFDs it names (tag 0x014A), each an image stored as
//   JPEG: Compression (0x0103) 6 or 7 in one strip (StripOffsets 0x0111,
//   StripByteCounts 0x0117), or JPEGInterchangeFormat and its length
//   (0x0201, 0x0202). Tags: TIFF 6.0, TIFF/EP and DNG 1.4 (SubIFDs).
// - Panasonic's JpgFromRaw (0x002E in IFD 0), an UNDEFINED value holding a
//   JPEG file. Tag: ExifTool's PanasonicRaw tags page.
// - Olympus: PreviewImageStart and PreviewImageLength (0x0101, 0x0102) in
//   the CameraSettings directory (0x2020) of the maker note; Pentax:
//   PreviewImageStart and PreviewImageLength (0x0004, 0x0003) in the maker
//   note. Tags and maker-note headers: ExifTool's Olympus, Pentax and
//   MakerNotes tags pages.
#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

#include "ByteOrder.h"
#include "Containers.h"
#include "TiffData.h"

namespace {

constexpr uint16_t CompressionTag = 0x0103;
constexpr uint16_t StripOffsetsTag = 0x0111;
constexpr uint16_t StripByteCountsTag = 0x0117;
constexpr uint16_t SubIfdsTag = 0x014A;
constexpr uint16_t JpegOffsetTag = 0x0201;
constexpr uint16_t JpegLengthTag = 0x0202;
constexpr uint16_t JpgFromRawTag = 0x002E;
constexpr uint16_t ExifIfdTag = 0x8769;
constexpr uint16_t MakerNoteTag = 0x927C;
constexpr uint16_t OlympusCameraSettingsTag = 0x2020;
constexpr uint16_t OlympusPreviewStartTag = 0x0101;
constexpr uint16_t OlympusPreviewLengthTag = 0x0102;
constexpr uint16_t PentaxPreviewStartTag = 0x0004;
constexpr uint16_t PentaxPreviewLengthTag = 0x0003;

// The field type of a directory offset (TIFF/EP), besides LONG.
constexpr uint16_t IfdType = 13;
// Compression codes of JPEG data: 6 the old style of TIFF 6.0, 7 TIFF/EP's.
constexpr uint32_t OldJpeg = 6, NewJpeg = 7;

// Entries read of one directory at most: real ones have some dozens, a
// Pentax maker note about 150.
constexpr uint32_t MaxEntries = 1024;
// SubIFDs looked at: a DNG has two or three, a NEF two.
constexpr size_t MaxSubIfds = 16;

// TIFF data in one byte order, whose offsets count from Base.
struct TTiffPlace {
  int64_t Base = 0;
  bool BigEndian = false;
};

// Calls Visit with each entry of the directory at Position, read in Place's
// byte order.
template <class TVisit>
void ForEachEntry(TMemoryStream& File, TTiffPlace Place, int64_t Position, TVisit&& Visit) {
  File.Seek(Position);
  TTiffNumbers Tiff(File, Place.BigEndian);
  uint16_t Count = 0;
  if (!Tiff.U16(Count)) return;
  for (uint32_t Index = 0; Index < std::min<uint32_t>(Count, MaxEntries); ++Index) {
    TDirectoryEntry Entry;
    if (!Tiff.Entry(Entry)) return;
    const int64_t Next = File.Position();
    Visit(Entry);
    File.Seek(Next);
  }
}

// The one number of an entry of one SHORT, LONG or IFD value.
std::optional<uint32_t> SingleNumber(const TDirectoryEntry& Entry) {
  if (Entry.Count != 1) return std::nullopt;
  if (Entry.Type == ftShort) return Little16(Entry.Value);
  if (Entry.Type == ftLong || Entry.Type == IfdType) return Entry.ValueLong();
  return std::nullopt;
}

// The ranges found so far; one within the file is added once.
class TPreviewList {
 public:
  explicit TPreviewList(int64_t FileSize) : FFileSize(FileSize) {}

  // The bytes at Offset from Base, cut at the end of the file.
  void Add(int64_t Base, std::optional<uint32_t> Offset, std::optional<uint32_t> Length) {
    if (!Offset || !Length || *Offset == 0 || *Length == 0) return;
    const int64_t Position = Base + *Offset;
    if (Position >= FFileSize) return;
    const TByteRange Range{Position, std::min<int64_t>(*Length, FFileSize - Position)};
    const bool Known = std::any_of(FRanges.begin(), FRanges.end(), [&](const TByteRange& Other) {
      return Other.Position == Range.Position && Other.Length == Range.Length;
    });
    if (!Known) FRanges.push_back(Range);
  }
  std::vector<TByteRange> Take() { return std::move(FRanges); }

 private:
  int64_t FFileSize;
  std::vector<TByteRange> FRanges;
};

// What an image directory says of its picture, and where IFD 0 points.
struct TImageDirectory {
  std::optional<uint32_t> Compression;
  std::optional<uint32_t> StripOffset, StripLength;
  std::optional<uint32_t> JpegOffset, JpegLength;
  std::optional<uint32_t> JpgFromRawOffset, JpgFromRawLength;
  std::optional<uint32_t> ExifIfd;
  TDirectoryEntry SubIfds;
};

TImageDirectory ReadImageDirectory(TMemoryStream& File, TTiffPlace Place, int64_t Position) {
  TImageDirectory Image;
  ForEachEntry(File, Place, Position, [&](const TDirectoryEntry& Entry) {
    switch (Entry.Tag) {
      case CompressionTag: Image.Compression = SingleNumber(Entry); break;
      case StripOffsetsTag: Image.StripOffset = SingleNumber(Entry); break;
      case StripByteCountsTag: Image.StripLength = SingleNumber(Entry); break;
      case JpegOffsetTag: Image.JpegOffset = SingleNumber(Entry); break;
      case JpegLengthTag: Image.JpegLength = SingleNumber(Entry); break;
      case ExifIfdTag: Image.ExifIfd = SingleNumber(Entry); break;
      case SubIfdsTag: Image.SubIfds = Entry; break;
      case JpgFromRawTag:
        if (Entry.Type == ftUndefined && Entry.Count > 4) {
          Image.JpgFromRawOffset = Entry.ValueLong();
          Image.JpgFromRawLength = Entry.Count;
        }
        break;
      default: break;
    }
  });
  return Image;
}

void AddImagePreviews(const TImageDirectory& Image, TTiffPlace Place, TPreviewList& Previews) {
  if (Image.Compression == OldJpeg || Image.Compression == NewJpeg)
    Previews.Add(Place.Base, Image.StripOffset, Image.StripLength);
  Previews.Add(Place.Base, Image.JpegOffset, Image.JpegLength);
}

// The SubIFDs' offsets: one in the entry itself, more in an array of 32-bit
// numbers the entry points at.
std::vector<uint32_t> SubIfdOffsets(TMemoryStream& File, TTiffPlace Place, const TDirectoryEntry& Entry) {
  if (Entry.Type != ftLong && Entry.Type != IfdType) return {};
  if (Entry.Count == 1) return {Entry.ValueLong()};
  std::vector<uint32_t> Offsets;
  File.Seek(Place.Base + Entry.ValueLong());
  TTiffNumbers Tiff(File, Place.BigEndian);
  for (uint32_t Index = 0; Index < Entry.Count && Offsets.size() < MaxSubIfds; ++Index) {
    uint32_t Offset = 0;
    if (!Tiff.U32(Offset)) break;
    Offsets.push_back(Offset);
  }
  return Offsets;
}

// A maker note's directory, the base its offsets count from and its byte
// order, by its header.
struct TMakerNote {
  enum { None, Olympus, Pentax } Maker = None;
  int64_t Directory = 0;
  TTiffPlace Place;
};

// The byte order two bytes name ("II", "MM"), else Otherwise.
bool BigEndianOf(std::span<const uint8_t> Order, bool Otherwise) {
  if (Order[0] == 'M' && Order[1] == 'M') return true;
  if (Order[0] == 'I' && Order[1] == 'I') return false;
  return Otherwise;
}

// Olympus notes: "OLYMP\0" and a version, the directory at 8, offsets from
// the TIFF header in its byte order; "OLYMPUS\0", the byte order, a version,
// the directory at 12; "OM SYSTEM\0\0\0", the byte order, a version, the
// directory at 16; both of these count offsets from the note. Pentax notes:
// "AOC\0" and the byte order (or two blanks: the file's), the directory at
// 6, offsets from the TIFF header; "PENTAX \0" and the byte order, the
// directory at 10, offsets from the note.
TMakerNote ReadMakerNoteHeader(TMemoryStream& File, TTiffPlace Tiff, int64_t Note) {
  uint8_t Head[16] = {};
  File.Seek(Note);
  if (!File.ReadExact(Head)) return {};
  const auto Starts = [&](std::string_view Signature) {
    return std::memcmp(Head, Signature.data(), Signature.size()) == 0;
  };
  const std::span<const uint8_t> Bytes(Head);
  if (Starts(std::string_view("OLYMPUS\0", 8)))
    return {TMakerNote::Olympus, Note + 12, {Note, BigEndianOf(Bytes.subspan(8), Tiff.BigEndian)}};
  if (Starts(std::string_view("OM SYSTEM\0\0\0", 12)))
    return {TMakerNote::Olympus, Note + 16, {Note, BigEndianOf(Bytes.subspan(12), Tiff.BigEndian)}};
  if (Starts(std::string_view("OLYMP\0", 6))) return {TMakerNote::Olympus, Note + 8, Tiff};
  if (Starts(std::string_view("AOC\0", 4)))
    return {TMakerNote::Pentax, Note + 6, {Tiff.Base, BigEndianOf(Bytes.subspan(4), Tiff.BigEndian)}};
  if (Starts(std::string_view("PENTAX \0", 8)))
    return {TMakerNote::Pentax, Note + 10, {Note, BigEndianOf(Bytes.subspan(8), Tiff.BigEndian)}};
  return {};
}

// The preview whose start and length two entries of the directory at
// Position give.
void AddPreviewOfEntries(TMemoryStream& File, TTiffPlace Place, int64_t Position, uint16_t StartTag,
                         uint16_t LengthTag, TPreviewList& Previews) {
  std::optional<uint32_t> Start, Length;
  ForEachEntry(File, Place, Position, [&](const TDirectoryEntry& Entry) {
    if (Entry.Tag == StartTag) Start = SingleNumber(Entry);
    if (Entry.Tag == LengthTag) Length = SingleNumber(Entry);
  });
  Previews.Add(Place.Base, Start, Length);
}

// The Olympus CameraSettings directory: where its entry's value field
// points, whether the entry is of type IFD, LONG or UNDEFINED (the
// directory's bytes as the entry's value).
void AddOlympusPreview(TMemoryStream& File, const TMakerNote& Note, TPreviewList& Previews) {
  std::optional<int64_t> Settings;
  ForEachEntry(File, Note.Place, Note.Directory, [&](const TDirectoryEntry& Entry) {
    if (Entry.Tag == OlympusCameraSettingsTag && !Settings &&
        (Entry.Type == IfdType || Entry.Type == ftLong || (Entry.Type == ftUndefined && Entry.Count > 4)))
      Settings = Note.Place.Base + Entry.ValueLong();
  });
  if (Settings)
    AddPreviewOfEntries(File, Note.Place, *Settings, OlympusPreviewStartTag, OlympusPreviewLengthTag, Previews);
}

void AddMakerNotePreview(TMemoryStream& File, TTiffPlace Tiff, uint32_t ExifIfd, TPreviewList& Previews) {
  std::optional<uint32_t> NoteOffset;
  ForEachEntry(File, Tiff, Tiff.Base + ExifIfd, [&](const TDirectoryEntry& Entry) {
    if (Entry.Tag == MakerNoteTag && Entry.Count > 4) NoteOffset = Entry.ValueLong();
  });
  if (!NoteOffset) return;
  const TMakerNote Note = ReadMakerNoteHeader(File, Tiff, Tiff.Base + *NoteOffset);
  if (Note.Maker == TMakerNote::Olympus) AddOlympusPreview(File, Note, Previews);
  if (Note.Maker == TMakerNote::Pentax)
    AddPreviewOfEntries(File, Note.Place, Note.Directory, PentaxPreviewStartTag, PentaxPreviewLengthTag, Previews);
}

}  // namespace

// The header: the byte order, a 16-bit number (42, or another for some raw
// formats), the offset of IFD 0.
std::vector<TByteRange> FindTiffPreviews(TMemoryStream& File, int64_t Header) {
  uint8_t Head[8];
  File.Seek(Header);
  if (!File.ReadExact(Head)) return {};
  const TTiffPlace Tiff{Header, Head[0] == 'M'};
  const uint32_t Ifd0 = Tiff.BigEndian ? Big32(Head + 4) : Little32(Head + 4);
  if (Ifd0 == 0) return {};
  TPreviewList Previews(File.Size());
  const TImageDirectory Image = ReadImageDirectory(File, Tiff, Header + Ifd0);
  AddImagePreviews(Image, Tiff, Previews);
  Previews.Add(Tiff.Base, Image.JpgFromRawOffset, Image.JpgFromRawLength);
  for (uint32_t Offset : SubIfdOffsets(File, Tiff, Image.SubIfds))
    if (Offset != 0) AddImagePreviews(ReadImageDirectory(File, Tiff, Header + Offset), Tiff, Previews);
  if (Image.ExifIfd && *Image.ExifIfd != 0) AddMakerNotePreview(File, Tiff, *Image.ExifIfd, Previews);
  return Previews.Take();
}
