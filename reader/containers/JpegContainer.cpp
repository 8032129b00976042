// JPEG files: marker segments from offset 2. The EXIF segment (APP1 "Exif")
// holds the TIFF block; APP1 segments of Adobe's XMP namespace hold XMP
// packets, those of its extension namespace the parts of Extended XMP,
// APP13 "Photoshop 3.0" segments the image resources whose resource 0x0404
// is the IPTC block, and COM segments the comment. The picture is the whole
// file. Extended XMP: Adobe's XMP documents, Part 3, section 1.1.3.1.
#include <algorithm>
#include <optional>
#include <string_view>

#include "ByteOrder.h"
#include "Containers.h"
#include "IptcReader.h"
#include "TextCodec.h"

namespace {

// Compares ASCII letters without regard to case; Upper is in capitals.
bool EqualsIgnoreCase(std::string_view Text, std::string_view Upper) {
  return Text.size() == Upper.size() &&
         std::equal(Text.begin(), Text.end(), Upper.begin(), [](char A, char B) {
           return (A >= 'a' && A <= 'z' ? static_cast<char>(A - 'a' + 'A') : A) == B;
         });
}

// A segment's identifier: the bytes after its length, compared with Prefix.
bool StartsWith(TMemoryStream& File, int64_t Data, int64_t DataLength, std::string_view Prefix) {
  if (DataLength < static_cast<int64_t>(Prefix.size())) return false;
  uint8_t Bytes[64];
  const std::span<uint8_t> Wanted(Bytes, std::min(Prefix.size(), sizeof Bytes));
  File.Seek(Data);
  return File.ReadExact(Wanted) && std::equal(Wanted.begin(), Wanted.end(), Prefix.begin(),
                                              [](uint8_t A, char B) { return A == static_cast<uint8_t>(B); });
}

constexpr std::string_view XmpIdentifier{"http://ns.adobe.com/xap/1.0/\0", 29};
constexpr std::string_view XmpExtensionIdentifier{"http://ns.adobe.com/xmp/extension/\0", 35};
constexpr std::string_view PhotoshopIdentifier{"Photoshop 3.0\0", 14};

// Extended XMP is kept to this many parts: a writer cuts a packet into parts
// of some 65000 bytes, and the joined packet may hold 64 MiB.
constexpr size_t MaxXmpExtensionParts = 4096;
// The image resources of all APP13 segments, joined, are read up to the
// size IPTC records are read to.
constexpr int64_t MaxPhotoshopBytes = MaxIptcBytes;

// A comment segment: its text runs to the first zero byte, at most 256 bytes.
// A segment too short to hold its own length is no comment.
std::optional<std::string> ReadComment(TMemoryStream& File, uint16_t SegmentLength) {
  if (SegmentLength < 2) return std::nullopt;
  const int64_t DataLength = SegmentLength - 2;
  // One byte more than is kept tells whether the text was cut.
  uint8_t Buffer[257];
  const size_t Read =
      File.Read(std::span<uint8_t>(Buffer, std::min<size_t>(sizeof Buffer, static_cast<size_t>(DataLength))));
  std::span<const uint8_t> Data(Buffer, Read);
  const bool Cut = Data.size() > 256;
  Data = Data.first(std::min<size_t>(Data.size(), 256));
  const auto Zero = std::find(Data.begin(), Data.end(), 0);
  const bool EndsAtZero = Zero != Data.end();
  Data = Data.first(static_cast<size_t>(Zero - Data.begin()));
  File.SeekBy(DataLength - static_cast<int64_t>(Read));
  return TextFromFileBytes(Data, Cut && !EndsAtZero);
}

// An Extended XMP part: the packet's GUID in 32 hex digits, its full length
// and this part's offset in it (32-bit big-endian), then the part's bytes.
void NoteXmpExtensionPart(TMemoryStream& File, int64_t Start, int64_t End, TMetadataLayout& Layout) {
  uint8_t Header[40];
  File.Seek(Start);
  if (End - Start < static_cast<int64_t>(sizeof Header) || !File.ReadExact(Header) ||
      Layout.XmpExtension.size() >= MaxXmpExtensionParts)
    return;
  TXmpExtensionPart Part;
  std::copy(Header, Header + 32, Part.Guid.begin());
  Part.FullLength = Big32(Header + 32);
  Part.Offset = Big32(Header + 36);
  Part.Data = {Start + 40, End - Start - 40};
  Layout.XmpExtension.push_back(Part);
}

// An APP1 segment: the first whose identifier reads "Exif" (in any case)
// holds the TIFF header, after the identifier's two zero bytes; XMP packets
// follow their namespace's identifier. False when the data end before an
// identifier could be read.
bool ReadApp1(TMemoryStream& File, uint16_t Length, int64_t JpegStart, TMetadataLayout& Layout) {
  const int64_t Data = File.Position();
  const int64_t DataLength = int64_t{Length} - 2;
  uint8_t Identifier[4];
  if (!File.ReadExact(Identifier)) return false;
  const std::string_view Text(reinterpret_cast<const char*>(Identifier), 4);
  const int64_t Header = File.Position() + 2;
  if (Layout.TiffBlocks.empty() && EqualsIgnoreCase(Text, "EXIF") && Header <= UINT32_MAX) {
    Layout.TiffBlocks.push_back({{Header, std::max<int64_t>(0, DataLength - 6)},
                                 TFirstDirectory::IFD0,
                                 TTiffRules::JpegSegment,
                                 {},
                                 JpegStart});
  } else if (StartsWith(File, Data, DataLength, XmpIdentifier)) {
    const auto Skip = static_cast<int64_t>(XmpIdentifier.size());
    Layout.XmpPackets.push_back({{Data + Skip, DataLength - Skip}, {}});
  } else if (StartsWith(File, Data, DataLength, XmpExtensionIdentifier)) {
    NoteXmpExtensionPart(File, Data + static_cast<int64_t>(XmpExtensionIdentifier.size()), Data + DataLength,
                         Layout);
  }
  return true;
}

// The data of an APP13 segment of Photoshop's: its part of the image
// resources, which a long block continues in the next segment.
void ReadApp13(TMemoryStream& File, uint16_t Length, std::vector<TByteRange>& Photoshop) {
  const int64_t Data = File.Position();
  const int64_t DataLength = int64_t{Length} - 2;
  if (!StartsWith(File, Data, DataLength, PhotoshopIdentifier)) return;
  const auto Skip = static_cast<int64_t>(PhotoshopIdentifier.size());
  Photoshop.push_back({Data + Skip, DataLength - Skip});
}

// The IPTC block: resource 0x0404 of the joined image resources.
void NoteIptc(TMemoryStream& File, const std::vector<TByteRange>& Photoshop, TMetadataLayout& Layout) {
  if (Photoshop.empty()) return;
  auto Joined = std::make_shared<TByteBuffer>();
  for (const TByteRange& Range : Photoshop) {
    if (Range.Length > MaxPhotoshopBytes - static_cast<int64_t>(Joined->size())) break;
    const TByteBuffer Part = File.Copy(Range.Position, Range.Length);
    Joined->insert(Joined->end(), Part.begin(), Part.end());
  }
  if (const std::optional<TSpanRange> Iptc = PhotoshopIptc(*Joined))
    Layout.Iptc = TMetadataBytes{{static_cast<int64_t>(Iptc->Offset), static_cast<int64_t>(Iptc->Length)},
                                 std::move(Joined)};
}

}  // namespace

bool IsJpeg(std::span<const uint8_t> First) { return First.size() >= 2 && First[0] == 0xFF && First[1] == 0xD8; }

// Each step reads the marker and the 16-bit big-endian segment length
// (which counts itself). Markers are not validated: a byte other than 0xFF
// moves the walk on by two bytes, and a 0xFF before another 0xFF is a fill
// byte, which JPEG allows before any marker. Comment segments are read on
// both sides of the EXIF segment; every comment met replaces the one before.
// The walk stops at the start of the scan: the compressed data that follow
// hold no segments. It also stops after MaxBytesWithoutMarker bytes in a row
// that are no marker (a file of a JPEG start and gigabytes of zeros), and
// past 4 GiB, beyond which no EXIF offset could reach.
void ReadJpegSegments(TMemoryStream& File, TByteRange Jpeg, TMetadataLayout& Layout) {
  constexpr int64_t MaxBytesWithoutMarker = int64_t{1} << 20;
  constexpr int64_t MaxPosition = int64_t{1} << 32;
  const int64_t End = Jpeg.Position + Jpeg.Length;
  int64_t WithoutMarker = 0;
  std::vector<TByteRange> Photoshop;
  File.Seek(Jpeg.Position + 2);
  while (File.Position() >= Jpeg.Position && File.Position() <= End - 4 && WithoutMarker <= MaxBytesWithoutMarker &&
         File.Position() < MaxPosition) {
    uint8_t Marker[4];
    File.ReadExact(Marker);
    const auto Length = static_cast<uint16_t>((Marker[2] << 8) | Marker[3]);
    if (Marker[0] != 0xFF) {
      File.SeekBy(-2);
      WithoutMarker += 2;
      continue;
    }
    if (Marker[1] == 0xFF) {
      File.SeekBy(-3);
      WithoutMarker += 1;
      continue;
    }
    WithoutMarker = 0;
    if (Marker[1] == 0xDA || (!Layout.TiffBlocks.empty() && Marker[1] == 0xD9)) break;
    const int64_t Next = File.Position() + int64_t{Length} - 2;
    if (Marker[1] == 0xE1) {
      if (!ReadApp1(File, Length, Jpeg.Position, Layout)) break;
      File.Seek(Next);
    } else if (Marker[1] == 0xED) {
      ReadApp13(File, Length, Photoshop);
      File.Seek(Next);
    } else if (Marker[1] == 0xFE) {
      if (std::optional<std::string> Comment = ReadComment(File, Length)) Layout.Comment = std::move(Comment);
    } else {
      File.Seek(Next);
    }
  }
  NoteIptc(File, Photoshop, Layout);
}

void ReadJpegLayout(TMemoryStream& File, TMetadataLayout& Layout) { ReadJpegSegments(File, {0, File.Size()}, Layout); }
