// The structure parser: finds the TIFF header (in the EXIF APP1 segment of a
// JPEG file, or at the start of TIFF data), walks IFD 0, IFD 1, the EXIF,
// Interoperability and GPS directories and the maker note, and cuts the
// thumbnail out of the file. It is tolerant: bad metadata is never an error,
// a directory's walk just ends at its first fault and keeps what it stored.
#include <algorithm>
#include <exception>

#include "EXIF_Intf.h"
#include "FileBytes.h"
#include "TextCodec.h"

namespace {

uint16_t Swap16(uint16_t Value) { return static_cast<uint16_t>((Value >> 8) | (Value << 8)); }

uint16_t Little16(const uint8_t* Bytes) { return static_cast<uint16_t>(Bytes[0] | (Bytes[1] << 8)); }

uint32_t Little32(const uint8_t* Bytes) {
  return uint32_t{Bytes[0]} | (uint32_t{Bytes[1]} << 8) | (uint32_t{Bytes[2]} << 16) |
         (uint32_t{Bytes[3]} << 24);
}

// Compares ASCII letters without regard to case; Upper is in capitals.
bool EqualsIgnoreCase(std::string_view Text, std::string_view Upper) {
  return Text.size() == Upper.size() &&
         std::equal(Text.begin(), Text.end(), Upper.begin(), [](char A, char B) {
           return (A >= 'a' && A <= 'z' ? static_cast<char>(A - 'a' + 'A') : A) == B;
         });
}

// The value field of a big-endian entry: values of one or two bytes that fit
// stay as stored, a single 16-bit pair has each half's bytes exchanged only in
// its first half (the first value is all that is read), everything else, a
// 32-bit value or an offset, is reversed whole.
void ValueFieldToHost(TDirectoryEntry& Entry) {
  const bool SmallBytes = (Entry.Type == ftByte || Entry.Type == ftAscii || Entry.Type == ftSByte ||
                           Entry.Type == ftUndefined) && Entry.Count <= 4;
  const bool SmallShorts = (Entry.Type == ftShort || Entry.Type == ftSShort) && Entry.Count <= 2;
  if (SmallBytes) return;
  if (SmallShorts) {
    std::swap(Entry.Value[0], Entry.Value[1]);
    return;
  }
  std::reverse(std::begin(Entry.Value), std::end(Entry.Value));
}

// The maker prefixes of the Make tag, in the order they are tried.
struct TMakerPrefix {
  std::string_view Prefix;
  TMakerNoteFormat Format;
};
constexpr TMakerPrefix MakerPrefixes[] = {
    {"CANON", mnfCanon}, {"NIKON", mnfNikon}, {"OLYMP", mnfOlympus}, {"PANAS", mnfPanasonic},
    {"FUJIF", mnfFuji},  {"CASIO", mnfCasio}, {"MINOL", mnfMinolta},
};

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

}  // namespace

void TEXIF::Parse() {
  struct TRewind {
    TMemoryStream& File;
    ~TRewind() { File.Seek(0); }
  } Rewind{FFile};
  FMNF = mnfUnknown;
  FThumbnail.reset();
  FThumbnailBytes.clear();
  FSOI = 0;
  FIFD0Offset = 0;
  FIFD1Offset = 0;
  FLastEntryEnd = -1;
  FRecordsLeft = RecordLimit(FFile.Size());
  FTextBytesLeft = TextLimit(FFile.Size());
  ParseStructure();
}

void TEXIF::ParseStructure() {
  uint8_t Start[2] = {};
  FFile.Seek(0);
  FFile.ReadExact(Start);
  FSOI = Little16(Start);
  const bool IsTIFF = FSOI == 0x4949 || FSOI == 0x4D4D;  // "II" or "MM"
  const bool IsJPEG = Start[0] == 0xFF && Start[1] == 0xD8;
  if (!IsTIFF && !(IsJPEG && FindExifSegment())) return;
  if (!ReadTIFF()) return;
  Absorbing([&] { ReadIFD1(); });
  Absorbing([&] { ReadSubDirectory(0x8769, EXIFTable, FEXIF, dkEXIF, true); });
  Absorbing([&] { ReadSubDirectory(0xA005, InteropTable, FINTEROP, dkInterop, false); });
  Absorbing([&] { ReadGPS(); });
  Absorbing([&] { ReadMakerNote(); });
  ReadThumbnail();
}

// Walks the JPEG marker segments from offset 2. Each step reads the marker and
// the 16-bit big-endian segment length (which counts itself). Markers are not
// validated: a byte other than 0xFF moves the walk on by two bytes, and a
// 0xFF before another 0xFF is a fill byte, which JPEG allows before any
// marker. The first APP1 segment whose identifier reads "Exif" (in any case)
// holds the TIFF header, after the identifier's two zero bytes. Comment
// segments are read on both sides of it. The walk stops at the start of the
// scan: the compressed data that follows holds no segments.
bool TEXIF::FindExifSegment() {
  bool Found = false;
  FFile.Seek(2);
  while (FFile.Remaining() >= 4) {
    uint8_t Marker[4];
    FFile.ReadExact(Marker);
    const auto Length = static_cast<uint16_t>((Marker[2] << 8) | Marker[3]);
    if (Marker[0] != 0xFF) {
      FFile.SeekBy(-2);
      continue;
    }
    if (Marker[1] == 0xFF) {
      FFile.SeekBy(-3);
      continue;
    }
    if (Marker[1] == 0xDA || (Found && Marker[1] == 0xD9)) break;
    if (Marker[1] == 0xE1) {
      uint8_t Identifier[4];
      if (!FFile.ReadExact(Identifier)) break;
      const std::string_view Text(reinterpret_cast<const char*>(Identifier), 4);
      const int64_t Header = FFile.Position() + 2;
      if (!Found && EqualsIgnoreCase(Text, "EXIF") && Header <= UINT32_MAX) {
        FIFD0Offset = static_cast<uint32_t>(Header);
        Found = true;
      }
      FFile.SeekBy(int64_t{Length} - 6);
    } else if (Marker[1] == 0xFE) {
      ReadComment(Length);
    } else {
      FFile.SeekBy(int64_t{Length} - 2);
    }
  }
  return Found;
}

// A comment segment: its text runs to the first zero byte, at most 256 bytes.
// Every comment met replaces the one before.
void TEXIF::ReadComment(uint16_t SegmentLength) {
  if (SegmentLength < 2) return;
  const int64_t DataLength = SegmentLength - 2;
  // One byte more than is kept tells whether the text was cut.
  uint8_t Buffer[257];
  const size_t Read =
      FFile.Read(std::span<uint8_t>(Buffer, std::min<size_t>(sizeof Buffer, static_cast<size_t>(DataLength))));
  std::span<const uint8_t> Data(Buffer, Read);
  const bool Cut = Data.size() > 256;
  Data = Data.first(std::min<size_t>(Data.size(), 256));
  const auto Zero = std::find(Data.begin(), Data.end(), 0);
  const bool EndsAtZero = Zero != Data.end();
  Data = Data.first(static_cast<size_t>(Zero - Data.begin()));
  FComment = TextFromFileBytes(Data, Cut && !EndsAtZero);
  FFile.SeekBy(DataLength - static_cast<int64_t>(Read));
}

// The TIFF header: byte order, 42, the offset O of IFD 0, then the two 16-bit
// words W1 and W2 that follow. In a JPEG file IFD 0 is taken to follow the
// header directly: W1 is its entry count, unless W1 is 0 or 0xFFFF, in which
// case W2 is and the entries start two bytes later. A TIFF file's IFD 0 is
// read where O points.
bool TEXIF::ReadTIFF() {
  uint8_t Header[12];
  FFile.Seek(FIFD0Offset);
  if (!FFile.ReadExact(Header)) return false;
  FSwap = Header[0] == 'M' && Header[1] == 'M';
  const uint32_t IFD0 = FSwap ? SwapLong(Little32(Header + 4)) : Little32(Header + 4);
  const uint16_t W1 = Little16(Header + 8);
  const uint16_t W2 = Little16(Header + 10);
  const bool InJPEG = FIFD0Offset != 0;

  uint16_t Count = 0;
  if (InJPEG && W1 != 0 && W1 != 0xFFFF) {
    Count = FSwap ? Swap16(W1) : W1;
    FFile.Seek(int64_t{FIFD0Offset} + 10);
  } else {
    if (InJPEG)
      Count = FSwap ? Swap16(W2) : W2;
    else if (!ReadCount(IFD0, Count))
      Count = 0;
    // Some writers leave the count out: the first entry (the Make tag) follows.
    if (Count == 0x010F) Count = 0;
  }
  ReadIFD0(Count);

  // A second IFD 0 at O, taken as a position in the file.
  uint16_t SecondCount = 0;
  if (InJPEG && FIFD0Offset < IFD0) {
    if (ReadCount(IFD0 - int64_t{FIFD0Offset}, SecondCount)) ReadIFD0(SecondCount);
  }
  return true;
}

void TEXIF::ReadIFD0(uint16_t Count) {
  Absorbing([&] {
    for (uint16_t Index = 0; Index < Count; ++Index) {
      TDirectoryEntry Entry;
      if (!ReadEntry(Entry)) return;
      if (const TEXIFTagHeader* Header = FindTagHeader(IFD0Table, Entry.Tag)) {
        Store(FTIFF, *Header, Entry, dkIFD0);
        if (Entry.Tag == 0x010F) DetectMaker(FTIFF.back());
      }
      if (const TEXIFTagHeader* Pointer = FindTagHeader(DirectoryPointerTable, Entry.Tag))
        StorePointer(*Pointer, Entry);
    }
  });
}

// IFD 1, the thumbnail's directory, linked from the end of IFD 0. A count
// above 30 is taken as garbage and the directory is not read.
void TEXIF::ReadIFD1() {
  uint8_t Link[4];
  if (!FFile.ReadExact(Link)) return;
  FIFD1Offset = FSwap ? SwapLong(Little32(Link)) : Little32(Link);
  if (FIFD1Offset == 0) return;
  uint16_t Count = 0;
  if (!ReadCount(FIFD1Offset, Count) || Count < 1 || Count > 30) return;
  for (uint16_t Index = 0; Index < Count; ++Index) {
    TDirectoryEntry Entry;
    if (!ReadEntry(Entry)) return;
    if (const TEXIFTagHeader* Header = FindTagHeader(IFD0Table, Entry.Tag))
      Store(FIFD1, *Header, Entry, dkIFD1);
  }
}

// The EXIF sub-IFD and the Interoperability IFD. The walk ends after the
// directory's count of entries, at the first entry whose tag is 0, or when a
// read makes no progress.
void TEXIF::ReadSubDirectory(uint16_t PointerTag, const TTagTable& Table, TTagList& List,
                             TDirectoryKind Kind, bool AlsoPointers) {
  const int64_t Offset = PointerOffset(PointerTag);
  uint16_t Count = 0;
  if (Offset == 0 || !ReadCount(Offset, Count)) return;
  for (uint32_t Read = 0; Read < Count; ++Read) {
    TDirectoryEntry Entry;
    if (!ReadEntry(Entry) || FFile.Position() == FLastEntryEnd) return;
    FLastEntryEnd = FFile.Position();
    if (const TEXIFTagHeader* Header = FindTagHeader(Table, Entry.Tag))
      Store(List, *Header, Entry, Kind);
    if (AlsoPointers)
      if (const TEXIFTagHeader* Pointer = FindTagHeader(DirectoryPointerTable, Entry.Tag))
        StorePointer(*Pointer, Entry);
    if (Entry.Tag == 0) return;
  }
}

// The GPS IFD. Its Version ID has tag 0, so the first zero tag is stored and
// only a second one (or tag 0xFFFF) ends the walk, besides the count and the
// progress check of the other sub-directories. The count keeps the 4-byte link
// after the last entry from being read as a Version ID.
void TEXIF::ReadGPS() {
  const int64_t Offset = PointerOffset(0x8825);
  uint16_t Count = 0;
  if (Offset == 0 || !ReadCount(Offset, Count)) return;
  bool ZeroStored = false;
  for (uint32_t Read = 0; Read < Count; ++Read) {
    TDirectoryEntry Entry;
    if (!ReadEntry(Entry) || FFile.Position() == FLastEntryEnd) return;
    FLastEntryEnd = FFile.Position();
    const uint16_t Tag = (Entry.Tag == 0 && ZeroStored) ? 0xFFFF : Entry.Tag;
    if (const TEXIFTagHeader* Header = FindTagHeader(GPSTable, Tag)) {
      if (Tag == 0) ZeroStored = true;
      Store(FGPS, *Header, Entry, dkGPS);
    }
    if (Tag == 0xFFFF) return;
  }
}

// The thumbnail: the bytes IFD 1 points at, cut at the end of the file. Bytes
// that are not a readable JPEG picture give no thumbnail, not an error (see
// Thumbnail()).
void TEXIF::ReadThumbnail() {
  const int64_t Offset = TruncToInt64(FindIFD1Tag(0x0201).NumericValue[0]);
  // The offset may be any number a FLOAT or DOUBLE tag holds: check it
  // against the data before adding it to anything.
  if (Offset <= 0 || Offset >= FFile.Size()) return;
  const int64_t Start = FIFD0Offset + Offset;
  if (Start >= FFile.Size()) return;
  const int64_t Length =
      std::min(TruncToInt64(FindIFD1Tag(0x0202).NumericValue[0]), FFile.Size() - Start);
  if (Length <= 0 || Length > MaxThumbnailBytes) return;
  FThumbnailBytes = FFile.Copy(Start, Length);  // checked by libjpeg when first asked for
}

// Reads one 12-byte entry and brings it to host order; false on a short read.
bool TEXIF::ReadEntry(TDirectoryEntry& Entry) {
  uint8_t Bytes[12];
  if (!FFile.ReadExact(Bytes)) return false;
  Entry.Tag = Little16(Bytes);
  Entry.Type = Little16(Bytes + 2);
  Entry.Count = Little32(Bytes + 4);
  std::copy(Bytes + 8, Bytes + 12, Entry.Value);
  if (FSwap) {
    Entry.Tag = Swap16(Entry.Tag);
    Entry.Type = Swap16(Entry.Type);
    Entry.Count = SwapLong(Entry.Count);
    ValueFieldToHost(Entry);
  }
  return true;
}

// Reads a directory's 16-bit entry count at Offset from the TIFF header; the
// position is then at the directory's first entry.
bool TEXIF::ReadCount(int64_t Offset, uint16_t& Count) {
  uint8_t Bytes[2];
  FFile.Seek(FIFD0Offset + Offset);
  if (!FFile.ReadExact(Bytes)) return false;
  Count = FSwap ? Swap16(Little16(Bytes)) : Little16(Bytes);
  return true;
}

int64_t TEXIF::PointerOffset(uint16_t Tag) const {
  return TruncToInt64(FindIFDTag(Tag).NumericValue[0]);
}

TEXIFTag& TEXIF::NewRecord(TTagList& List) {
  if (FRecordsLeft <= 0 || List.size() >= MaxListRecords) throw TRecordLimitReached();
  --FRecordsLeft;
  return List.emplace_back();
}

void TEXIF::Store(TTagList& List, const TEXIFTagHeader& Header, const TDirectoryEntry& Entry,
                  TDirectoryKind Kind) {
  TEXIFTag& Rec = NewRecord(List);
  Rec.Header = Header;
  DecodeValue(Entry, Kind, Rec);
}

void TEXIF::StorePointer(const TEXIFTagHeader& Header, const TDirectoryEntry& Entry) {
  TEXIFTag& Rec = NewRecord(FIFD);
  Rec.Header = Header;
  Rec.Typ = Entry.Type;
  Rec.NumericValue[0] = Entry.ValueLong();
}

// The maker-note format comes from the first five characters of the Make tag.
void TEXIF::DetectMaker(const TEXIFTag& Make) {
  const std::string_view Start = std::string_view(Make.StringValue).substr(0, 5);
  for (const TMakerPrefix& Maker : MakerPrefixes) {
    if (EqualsIgnoreCase(Start, Maker.Prefix)) {
      FMNF = Maker.Format;
      return;
    }
  }
}
