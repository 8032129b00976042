#include "TiffParser.h"

#include <algorithm>
#include <exception>

#include "DirectoryWalk.h"
#include "FileBytes.h"
#include "MakerNotes.h"
#include "TagLookup.h"

namespace {

// Thrown when a load has stored as many records as its file may give; like
// any error inside a walk, it ends the walk.
struct TRecordLimitReached : std::exception {
  const char* what() const noexcept override { return "record limit reached"; }
};

// Runs one directory walk; any error in the metadata ends the walk and is
// not reported. A file that cannot be read ends the whole load.
template <class TWalk>
void Absorbing(TWalk&& Walk) {
  try {
    Walk();
  } catch (const EFileReadError&) {
    throw;
  } catch (const std::exception&) {
  }
}

// IFD 0 and IFD 1 end by their count alone; the sub-directories also at
// their zero link, or where they run into the end of the data; GPS, whose
// Version ID has tag 0, at a second zero tag or tag 0xFFFF; maker notes at
// their zero link or the end of the data.
constexpr TWalkEnd IFDWalk{};
constexpr TWalkEnd SubDirectoryWalk{.AtZeroTag = true, .WithoutProgress = true};
constexpr TWalkEnd GPSWalk{.AtZeroTag = true, .WithoutProgress = true, .AtTag0xFFFF = true};

// Puts the stream back at its start however a parse ends.
class TRewind {
 public:
  explicit TRewind(TMemoryStream& Stream) : FStream(Stream) {}
  ~TRewind() { FStream.Seek(0); }
  TRewind(const TRewind&) = delete;
  TRewind& operator=(const TRewind&) = delete;

 private:
  TMemoryStream& FStream;
};

}  // namespace

TTiffParser::TTiffParser(TEXIF& Doc, TMemoryStream& File, TLoadBudget& Budget, TMetadataLayout* Found)
    : FDoc(Doc), FFile(File), FBudget(Budget), FFound(Found) {}

void TTiffParser::Parse(const TTiffBlock& Block) {
  const TRewind Rewind(FFile);
  // Offsets in TIFF data are 32-bit: a header further on could not be
  // reached by them.
  if (Block.Range.Position < 0 || Block.Range.Position > UINT32_MAX) return;
  FIFD0Offset = static_cast<uint32_t>(Block.Range.Position);
  FFirstPointer = FDoc.FIFD.size();
  FLastEntryEnd = -1;
  ParseDirectories(Block);
  FDoc.FSwap = FSwap;
}

void TTiffParser::ParseDirectories(const TTiffBlock& Block) {
  if (Block.First == TFirstDirectory::IFD0) {
    FDoc.FIFD0Offset = FIFD0Offset;
    if (!ReadTIFF(Block) || Block.DirectoriesApart) return;
    Absorbing([&] { ReadIFD1(); });
    Absorbing([&] { ReadSubDirectory(PointerOffset(0x8769), EXIFTable, FDoc.FEXIF, dkEXIF, true); });
    Absorbing([&] { ReadSubDirectory(PointerOffset(0xA005), InteropTable, FDoc.FINTEROP, dkInterop, false); });
    Absorbing([&] { ReadGPS(PointerOffset(0x8825)); });
    Absorbing([&] { ReadMakerNote(PointerOffset(0x927C)); });
    ReadThumbnail();
    return;
  }
  // A block of one directory: its header's offset points at it.
  uint32_t First = 0;
  if (!ReadHeader(First)) return;
  switch (Block.First) {
    case TFirstDirectory::EXIF:
      Absorbing([&] { ReadSubDirectory(First, EXIFTable, FDoc.FEXIF, dkEXIF, true); });
      Absorbing([&] { ReadSubDirectory(PointerOffset(0xA005), InteropTable, FDoc.FINTEROP, dkInterop, false); });
      if (!Block.DirectoriesApart) Absorbing([&] { ReadMakerNote(PointerOffset(0x927C)); });
      break;
    case TFirstDirectory::GPS: Absorbing([&] { ReadGPS(First); }); break;
    case TFirstDirectory::MakerNote: Absorbing([&] { ReadMakerNote(First); }); break;
    case TFirstDirectory::IFD0: break;
  }
}

// The TIFF header's byte order and its offset of the first directory.
bool TTiffParser::ReadHeader(uint32_t& FirstOffset) {
  FFile.Seek(FIFD0Offset);
  uint8_t Order[2];
  if (!FFile.ReadExact(Order)) return false;
  FSwap = Order[0] == 'M' && Order[1] == 'M';
  uint16_t FortyTwo = 0;
  TTiffNumbers Tiff = Numbers();
  return Tiff.U16(FortyTwo) && Tiff.U32(FirstOffset);
}

// The TIFF header: byte order, 42, the offset O of IFD 0, then the two 16-bit
// words W1 and W2 that follow. In a JPEG file's EXIF segment IFD 0 is taken
// to follow the header directly: W1 is its entry count, unless W1 is 0 or
// 0xFFFF, in which case W2 is and the entries start two bytes later; and a
// second IFD 0 may stand at O, taken as a position in the JPEG file.
// Elsewhere IFD 0 is read where O points.
bool TTiffParser::ReadTIFF(const TTiffBlock& Block) {
  const bool InJpegSegment = Block.Rules == TTiffRules::JpegSegment;
  FFile.Seek(FIFD0Offset);
  if (FFile.Remaining() < 12) return false;
  uint8_t Order[2];
  FFile.ReadExact(Order);
  FSwap = Order[0] == 'M' && Order[1] == 'M';
  TTiffNumbers Tiff = Numbers();
  uint16_t FortyTwo = 0, W1 = 0, W2 = 0;
  uint32_t IFD0 = 0;
  Tiff.U16(FortyTwo);
  Tiff.U32(IFD0);
  Tiff.U16(W1);
  Tiff.U16(W2);

  uint16_t Count = 0;
  if (InJpegSegment && W1 != 0 && W1 != 0xFFFF) {
    Count = W1;
    FFile.Seek(int64_t{FIFD0Offset} + 10);
  } else {
    if (InJpegSegment)
      Count = W2;
    else if (!ReadCount(IFD0, Count))
      Count = 0;
    // Some writers leave the count out: the first entry (the Make tag) follows.
    if (Count == 0x010F) Count = 0;
  }
  ReadIFD0(Count);

  uint16_t SecondCount = 0;
  const int64_t InJpeg = FIFD0Offset - Block.JpegStart;
  if (InJpegSegment && InJpeg < IFD0) {
    if (ReadCount(Block.JpegStart + IFD0 - int64_t{FIFD0Offset}, SecondCount)) ReadIFD0(SecondCount);
  }
  return true;
}

void TTiffParser::ReadIFD0(uint16_t Count) {
  Absorbing([&] {
    WalkEntries(Count, IFD0Table, IFDWalk, [&](const TDirectoryEntry& Entry, const TEXIFTagHeader* Header) {
      if (Header != nullptr) {
        Store(FDoc.FTIFF, *Header, Entry, dkIFD0);
        if (Entry.Tag == 0x010F) DetectMaker(static_cast<int32_t>(FDoc.FTIFF.size()) - 1);
      }
      if (const TEXIFTagHeader* Pointer = FindTagHeader(DirectoryPointerTable, Entry.Tag))
        StorePointer(*Pointer, Entry);
      NoteEmbeddedMetadata(Entry);
    });
  });
}

// IFD 1, the thumbnail's directory, linked from the end of IFD 0. A count
// above 30 is taken as garbage and the directory is not read.
void TTiffParser::ReadIFD1() {
  uint32_t Link = 0;
  if (!Numbers().U32(Link)) return;
  FDoc.FIFD1Offset = Link;
  if (Link == 0) return;
  uint16_t Count = 0;
  if (!ReadCount(Link, Count) || Count < 1 || Count > 30) return;
  WalkEntries(Count, IFD0Table, IFDWalk, [&](const TDirectoryEntry& Entry, const TEXIFTagHeader* Header) {
    if (Header != nullptr) Store(FDoc.FIFD1, *Header, Entry, dkIFD1);
  });
}

// The EXIF sub-IFD and the Interoperability IFD, at Offset from the header.
void TTiffParser::ReadSubDirectory(int64_t Offset, const TTagTable& Table, TTagList& List, TDirectoryKind Kind,
                                   bool AlsoPointers) {
  uint16_t Count = 0;
  if (Offset == 0 || !ReadCount(Offset, Count)) return;
  WalkEntries(Count, Table, SubDirectoryWalk, [&](const TDirectoryEntry& Entry, const TEXIFTagHeader* Header) {
    if (Header != nullptr) Store(List, *Header, Entry, Kind);
    if (AlsoPointers)
      if (const TEXIFTagHeader* Pointer = FindTagHeader(DirectoryPointerTable, Entry.Tag))
        StorePointer(*Pointer, Entry);
  });
}

// The GPS IFD. The count keeps the 4-byte link after the last entry from
// being read as a Version ID.
void TTiffParser::ReadGPS(int64_t Offset) {
  uint16_t Count = 0;
  if (Offset == 0 || !ReadCount(Offset, Count)) return;
  WalkEntries(Count, GPSTable, GPSWalk, [&](const TDirectoryEntry& Entry, const TEXIFTagHeader* Header) {
    if (Header != nullptr) Store(FDoc.FGPS, *Header, Entry, dkGPS);
  });
}

// The thumbnail: the bytes IFD 1 points at, cut at the end of the file. Bytes
// that are not a readable JPEG picture give no thumbnail, not an error (see
// TEXIF::Thumbnail()).
void TTiffParser::ReadThumbnail() {
  const int64_t Offset = TruncToInt64(FDoc.FindIFD1Tag(0x0201).NumericValue[0]);
  // The offset may be any number a FLOAT or DOUBLE tag holds: check it
  // against the data before adding it to anything.
  if (Offset <= 0 || Offset >= FFile.Size()) return;
  const int64_t Start = FIFD0Offset + Offset;
  if (Start >= FFile.Size()) return;
  const int64_t Length =
      std::min(TruncToInt64(FDoc.FindIFD1Tag(0x0202).NumericValue[0]), FFile.Size() - Start);
  if (Length <= 0 || Length > TEXIF::MaxThumbnailBytes) return;
  FDoc.FThumbnailBytes = FFile.Copy(Start, Length);  // checked by libjpeg when first asked for
}

TTiffNumbers TTiffParser::Numbers() { return TTiffNumbers(FFile, FSwap); }

// Reads a directory's 16-bit entry count at Offset from the TIFF header; the
// position is then at the directory's first entry.
bool TTiffParser::ReadCount(int64_t Offset, uint16_t& Count) {
  FFile.Seek(FIFD0Offset + Offset);
  uint16_t Read = 0;
  if (!Numbers().U16(Read)) return false;
  Count = Read;
  return true;
}

// The offset a directory pointer of this block holds; 0 when it has none.
int64_t TTiffParser::PointerOffset(uint16_t Tag) const {
  const auto Pointers = std::span<const TEXIFTag>(FDoc.FIFD).subspan(FFirstPointer);
  const auto Found = std::find_if(Pointers.begin(), Pointers.end(),
                                  [Tag](const TEXIFTag& Rec) { return Rec.Header.Tag == Tag; });
  return Found == Pointers.end() ? 0 : TruncToInt64(Found->NumericValue[0]);
}

TEXIFTag& TTiffParser::NewRecord(TTagList& List) {
  if (FBudget.RecordsLeft <= 0 || List.size() >= TEXIF::MaxListRecords) throw TRecordLimitReached();
  --FBudget.RecordsLeft;
  return List.emplace_back();
}

void TTiffParser::Store(TTagList& List, const TEXIFTagHeader& Header, const TDirectoryEntry& Entry,
                        TDirectoryKind Kind) {
  TEXIFTag& Rec = NewRecord(List);
  Rec.Header = Header;
  DecodeValue(Entry, Kind, Rec);
}

void TTiffParser::StorePointer(const TEXIFTagHeader& Header, const TDirectoryEntry& Entry) {
  TEXIFTag& Rec = NewRecord(FDoc.FIFD);
  Rec.Header = Header;
  Rec.Typ = Entry.Type;
  Rec.NumericValue[0] = Entry.ValueLong();
}

// The maker-note format comes from the Make tag, the last that names a maker
// (MakerNotes.h); for makers that some Makes choose only together with the
// note's signature it is decided again when the note is read.
void TTiffParser::DetectMaker(int32_t MakeAt) {
  const std::string_view Make = FDoc.FTIFF[static_cast<size_t>(MakeAt)].StringValue;
  const TMakerNoteFormat Format = MakerOfMake(Make);
  if (Format == mnfUnknown && !MakeNamesAMaker(Make)) return;
  FDoc.FMakeAt = MakeAt;
  FDoc.FMNF = Format;
}

std::string_view TTiffParser::MakeText() const {
  return FDoc.FMakeAt < 0 ? std::string_view() : std::string_view(FDoc.FTIFF[static_cast<size_t>(FDoc.FMakeAt)].StringValue);
}

// The first Model tag of IFD 0, or the empty text.
std::string_view TTiffParser::ModelText() const {
  for (const TEXIFTag& Rec : FDoc.FTIFF)
    if (Rec.Header.Tag == 0x0110) return Rec.StringValue;
  return {};
}
