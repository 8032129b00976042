#include "HostileFiles.h"

#include <limits>

#include "JpegMaker.h"
#include "MetadataWriter.h"

namespace {


TBytes Repeat(const TBytes& Part, size_t Times) {
  TBytes Out;
  for (size_t Index = 0; Index < Times; ++Index) Out.insert(Out.end(), Part.begin(), Part.end());
  return Out;
}

// A raw directory entry, little-endian unless told.
TBytes Entry(uint16_t Tag, uint16_t Type, uint32_t Count, uint32_t Field, TByteOrder Order = TByteOrder::Little) {
  return Concat({U16(Tag, Order), U16(Type, Order), U32(Count, Order), U32(Field, Order)});
}

// A little-endian TIFF file whose IFD 0 (at 8) is Count, Entries and Link,
// followed by Tail.
TBytes RawTiff(uint16_t Count, const TBytes& Entries, uint32_t Link, const TBytes& Tail = {}) {
  return Concat({BytesOf("II"), U16(42), U32(8), U16(Count), Entries, U32(Link), Tail});
}

bool HasMake(const TEXIF& Doc, const std::string& Make) { return Doc.FindTIFFTag(0x010F).StringValue == Make; }

TIfd CanonIfd0() {
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon").Short(0x0112, {1});
  return Ifd0;
}

// Every maker-note offset, and the settings array's, far past the end.
THostileFile MakerNoteOffsetsPastTheEnd() {
  const TBytes Note = Concat({U16(3), Entry(0x0001, ftShort, 46, 0xFFFFFF00), Entry(0x0006, ftAscii, 32, 0xFFFFFFF0),
                              Entry(0x0008, ftLong, 1, 77), U32(0)});
  auto Exif = std::make_shared<TIfd>();
  Exif->BlobAt(0x927C, ftUndefined, static_cast<uint32_t>(Note.size()), Note);
  TIfd Ifd0 = CanonIfd0();
  Ifd0.SubIfd(0x8769, Exif);
  return {"makernote-offsets-past-end.jpg",
          "Maker-note entries and a Canon settings array whose offsets point far beyond the file.",
          JpegWith({ExifSegment(TiffBlock(Ifd0))}),
          "the Make and the maker note's inline Image Number 77",
          [](const TEXIF& Doc) {
            return HasMake(Doc, "Canon") && Doc.MakerNoteCount() == 2 &&
                   Doc.MakerNoteTag(1).NumericValue[0] == 77;
          }};
}

// A note with a header and byte order of its own (Apple's, big-endian, in a
// little-endian file): an entry count far past the note, value offsets (from
// the note's first byte) past the end of the file, and no zero link.
THostileFile OwnHeaderNoteOutside() {
  const TByteOrder Big = TByteOrder::Big;
  const TBytes Note = Concat({BytesOf(std::string("Apple iOS\0\0\x01MM", 14)), U16(0xFFFF, Big),
                              Entry(0x0001, ftSLong, 1, 7, Big), Entry(0x000B, ftAscii, 40, 0xFFFFFFF0, Big),
                              Entry(0x0008, ftSRational, 3, 0x7FFFFFFF, Big)});
  return {"makernote-own-header-outside.jpg",
          "An Apple note whose count runs far past the note and whose value offsets point beyond the file.",
          JpegWith({ExifSegment(TiffWithMakerNote("Apple", [&](uint32_t) { return Note; }))}),
          "the inline Maker Note Version 7, and the outside values as empty",
          [](const TEXIF& Doc) {
            return Doc.MakerNoteFormat() == mnfApple && Doc.MakerNoteCount() == 3 &&
                   Doc.MakerNoteTag(0).NumericValue[0] == 7 && Doc.MakerNoteTag(1).StringValue.empty();
          }};
}

// A Ricoh Make with a Pentax signature and nothing after it: the count and
// the byte order mark lie past the end of the data.
THostileFile SignatureOnlyNote() {
  return {"makernote-signature-only.tif", "A Pentax note of Ricoh's cut right after its \"AOC\\0\" signature.",
          TiffWithMakerNote("RICOH IMAGING COMPANY, LTD.", [](uint32_t) { return BytesOf(std::string("AOC\0", 4)); }),
          "the Make, the note's maker and no rows",
          [](const TEXIF& Doc) { return Doc.MakerNoteFormat() == mnfPentax && Doc.MakerNoteCount() == 0; }};
}

// Offsets whose sum with the TIFF header's position wraps around 32 bits,
// back to the first bytes of the file.
THostileFile OffsetPlusCountOverflow() {
  TIfd Ifd0 = CanonIfd0();
  Ifd0.Raw(0x010E, ftAscii, 0xFFFFFFFF, 0xFFFFFFF8).Raw(0x011A, ftRational, 0xFFFFFFFF, 0xFFFFFFFC);
  return {"offset-count-overflow.jpg",
          "Values whose offset plus the header's position wraps around 32 bits, back to the start of the file.",
          JpegWith({ExifSegment(TiffBlock(Ifd0))}),
          "the Make; the wrapped text and rational read as empty and 0/0, not as the file's first bytes",
          [](const TEXIF& Doc) {
            return HasMake(Doc, "Canon") && Doc.TIFFTag(2).StringValue.empty() &&
                   Doc.TIFFTag(3).StringValue == "0/0";
          }};
}

// IFD 1 linked back to IFD 0, and an EXIF sub-IFD pointing at IFD 0 itself.
THostileFile DirectoryLoops() {
  const TBytes Entries = Concat({Entry(0x0112, ftShort, 1, 3), Entry(0x8769, ftLong, 1, 8),
                                 Entry(0x8825, ftLong, 1, 8), Entry(0xA005, ftLong, 1, 8)});
  return {"directory-loops.tif",
          "IFD 1 linked back to IFD 0, and EXIF, GPS and Interoperability pointers to IFD 0 itself.",
          RawTiff(4, Entries, 8),
          "IFD 0's orientation, and IFD 1 read once as a copy of IFD 0",
          [](const TEXIF& Doc) {
            return Doc.FindTIFFTag(0x0112).NumericValue[0] == 3 && Doc.EXIF_IFD1Count() == 1 &&
                   Doc.TIFFCount() == 1;
          }};
}

// Marker segments whose lengths step the walk backwards: an APP0 of length 0,
// a comment of length 1, an APP1 of length 2 (shorter than its identifier).
THostileFile MarkerLengthsBelowTwo() {
  const TBytes Tiny = Repeat(
      {0xFF, 0xE0, 0x00, 0x00, 0xFF, 0xFE, 0x00, 0x01, 0xFF, 0xE1, 0x00, 0x02, 'X', 'M', 'P', ' '}, 2000);
  return {"marker-lengths-below-two.jpg",
          "JPEG segments with lengths 0, 1 and 2, which step a naive marker walk backwards, forever if it is not careful.",
          Concat({{0xFF, 0xD8}, Tiny, ExifSegment(TiffBlock(CanonIfd0())), {0xFF, 0xD9}}),
          "the EXIF segment after them",
          [](const TEXIF& Doc) { return HasMake(Doc, "Canon"); }};
}

// Counts from the file that ask for huge allocations.
THostileFile HugeCounts() {
  const TBytes Note = Concat({U16(0xFFFF), Entry(0x0001, ftShort, 0xFFFFFFFF, 0x40), U32(0)});
  const TBytes Settings = Concat({U16(0xFFFF), Repeat(U16(1), 4)});
  auto Exif = std::make_shared<TIfd>();
  Exif->BlobAt(0x927C, ftUndefined, 0xFFFFFFFF, Concat({Note, Settings}));
  Exif->CountOverride = 0xFFFF;
  TIfd Ifd0 = CanonIfd0();
  Ifd0.Raw(0x010E, ftAscii, 0xFFFFFFFF, 0x7FFFFFFF).SubIfd(0x8769, Exif);
  Ifd0.CountOverride = 0xFFFE;  // 0xFFFF itself would read as "no count here"
  return {"huge-counts.jpg",
          "Entry counts of 0xFFFE and 0xFFFF and value counts of 0xFFFFFFFF, which must not size any buffer.",
          JpegWith({ExifSegment(TiffBlock(Ifd0))}),
          "the Make and the orientation",
          [](const TEXIF& Doc) { return HasMake(Doc, "Canon") && Doc.FindTIFFTag(0x0112).NumericValue[0] == 1; }};
}

// Rationals with zero denominators and the one signed quotient that overflows.
THostileFile DivisionByZero() {
  const auto Minus = [](int32_t Value) { return static_cast<uint32_t>(Value); };
  auto Exif = std::make_shared<TIfd>();
  Exif->Rational(0x829A, {{0, 0}})
      .Rational(0x829D, {{5, 0}})
      .Rational(0x9204, {{0x80000000u, Minus(-1)}}, ftSRational)
      .Rational(0x9201, {{Minus(-7), 0}}, ftSRational);
  auto Gps = std::make_shared<TIfd>();
  Gps->Rational(0x0002, {{1, 0}, {0, 0}, {3, 0}});
  TIfd Ifd0 = CanonIfd0();
  Ifd0.SubIfd(0x8769, Exif).SubIfd(0x8825, Gps);
  return {"division-by-zero.jpg",
          "Rationals with zero denominators, and INT32_MIN / -1, the one signed division that traps.",
          JpegWith({ExifSegment(TiffBlock(Ifd0))}),
          "every rational, as 0 with its raw pair",
          [](const TEXIF& Doc) {
            return Doc.EXIFCount() == 4 && Doc.EXIFTag(1).StringValue == "5/0" &&
                   Doc.EXIFTag(2).NumericValue[0] == 2147483648.0 && Doc.GPSTag(0).StringValue == "1/0 0/0 3/0";
          }};
}

THostileFile WithThumbnail(const std::string& Name, const std::string& Attack, const TBytes& Thumbnail,
                           const std::string& Keeps, bool ThumbnailKept) {
  auto Ifd1 = std::make_shared<TIfd>();
  Ifd1->BlobAt(0x0201, ftLong, 1, Thumbnail).Long(0x0202, {static_cast<uint32_t>(Thumbnail.size())});
  TIfd Ifd0 = CanonIfd0();
  Ifd0.Next = Ifd1;
  return {Name, Attack, InsertAfterSoi(MakeJpeg(32, 24), {ExifSegment(TiffBlock(Ifd0))}), Keeps,
          [ThumbnailKept](const TEXIF& Doc) {
            return HasMake(Doc, "Canon") && (Doc.Thumbnail() != nullptr) == ThumbnailKept;
          }};
}

// Thumbnail offsets given as NaN, infinity and negative numbers.
THostileFile NonFiniteOffsets() {
  auto Ifd1 = std::make_shared<TIfd>();
  Ifd1->Double(0x0201, {std::numeric_limits<double>::quiet_NaN()})
      .Float(0x0202, std::numeric_limits<float>::infinity())
      .Long(0x0201, {0x80000000u}, ftSLong);
  TIfd Ifd0 = CanonIfd0();
  Ifd0.Raw(0x8769, ftSLong, 1, 0xFFFFFFF0);
  Ifd0.Next = Ifd1;
  return {"non-finite-offsets.jpg",
          "Thumbnail offset and length given as NaN, infinity and a negative number, and a negative EXIF offset.",
          JpegWith({ExifSegment(TiffBlock(Ifd0))}),
          "the Make and the three IFD 1 rows",
          [](const TEXIF& Doc) {
            return HasMake(Doc, "Canon") && Doc.EXIF_IFD1Count() == 3 && Doc.Thumbnail() == nullptr;
          }};
}

// A thumbnail offset beyond the 64-bit range once truncated, which overflowed
// when added to the header's position (found by the fuzzer).
THostileFile HugeThumbnailOffset() {
  auto Ifd1 = std::make_shared<TIfd>();
  Ifd1->Double(0x0201, {1e19}).Long(0x0202, {100});
  TIfd Ifd0 = CanonIfd0();
  Ifd0.Next = Ifd1;
  return {"thumbnail-offset-huge.jpg",
          "A thumbnail offset of 1e19 (a DOUBLE), which overflows a 64-bit sum with the header's position.",
          JpegWith({ExifSegment(TiffBlock(Ifd0))}),
          "the Make and both IFD 1 rows; no thumbnail",
          [](const TEXIF& Doc) {
            return HasMake(Doc, "Canon") && Doc.EXIF_IFD1Count() == 2 && Doc.Thumbnail() == nullptr;
          }};
}

// A Canon TIFF file whose maker note holds Entries entries that all point at
// one settings array after them.
TBytes SharedCanonSettings(uint16_t Entries) {
  const auto Note = [&](uint32_t NoteAt) {
    const uint32_t ArrayAt = NoteAt + 2 + 12u * Entries + 4;
    return Concat({U16(Entries), Repeat(Entry(0x0001, ftShort, 46, ArrayAt), Entries), U32(0), U16(92),
                   TBytes(90, 0)});
  };
  return TiffWithMakerNote("Canon", Note);
}

// Thousands of maker-note entries all pointing at one Canon settings array.
THostileFile SettingsAmplification() {
  return {"settings-amplification.tif",
          "20000 maker-note entries that all unpack the same Canon settings array, 20 records each.",
          SharedCanonSettings(20000),
          "records from the array, but no more than the file's size allows",
          [](const TEXIF& Doc) {
            return Doc.MakerNoteCount() > 20 && Doc.MakerNoteCount() <= TEXIF::RecordLimit(240200);
          }};
}

// 65,535 maker-note entries that all unpack one Canon settings array: far
// more records than 16-bit positions can reach.
THostileFile MoreRecordsThanPositions() {
  return {"makernote-more-records-than-positions.tif",
          "65,535 maker-note entries unpacking one Canon settings array into over a million records, "
          "which 16-bit positions cannot reach: rows past 65,535 would show earlier ones again.",
          SharedCanonSettings(65535),
          "a full maker-note list of 65,536 records, every one reachable",
          [](const TEXIF& Doc) { return Doc.MakerNoteCount() == int32_t{TEXIF::MaxListRecords}; }};
}

// Thousands of entries all pointing at the same 256-byte text of high bytes.
THostileFile TextAmplification() {
  const uint16_t Entries = 5000;
  const uint32_t TextAt = 8 + 2 + 12u * Entries + 4;
  TBytes File = RawTiff(Entries, Repeat(Entry(0x010E, ftAscii, 256, TextAt), Entries), 0, TBytes(256, 0x80));
  return {"text-amplification.tif",
          "5000 entries that all decode the same 256-byte text, each byte of which becomes 3 bytes of UTF-8.",
          File,
          "the first texts in full, and no more text than the file's size allows",
          [](const TEXIF& Doc) {
            size_t Total = 0;
            for (int32_t Index = 0; Index < Doc.TIFFCount(); ++Index)
              Total += Doc.TIFFTag(static_cast<uint16_t>(Index)).StringValue.size();
            return Doc.TIFFCount() == 5000 && Doc.TIFFTag(0).StringValue.size() == 768 &&
                   static_cast<int64_t>(Total) <= TEXIF::TextLimit(60000 + 270);
          }};
}

// A GPS directory of nothing but zero tags, and a count that runs on.
THostileFile GpsZeroTags() {
  auto Gps = std::make_shared<TIfd>();
  for (int Index = 0; Index < 100; ++Index) Gps->Byte(0x0000, {2, 2, 0, 0});
  Gps->CountOverride = 0xFFFF;
  TIfd Ifd0 = CanonIfd0();
  Ifd0.SubIfd(0x8825, Gps);
  return {"gps-zero-tags.jpg",
          "A GPS directory made only of zero tags, with a count far beyond its entries.",
          JpegWith({ExifSegment(TiffBlock(Ifd0))}),
          "the first Version ID, and nothing after the second zero tag",
          [](const TEXIF& Doc) { return Doc.GPSCount() == 1 && Doc.GPSTag(0).NumericValue[0] == 514; }};
}

bool HasXmp(const TEXIF& Doc, const std::string& Path, const std::string& Value) {
  for (const TXmpProperty& Row : Doc.XmpProperties())
    if (Row.Path == Path && Row.Value == Value) return true;
  return false;
}

bool XmpErrorSays(const TEXIF& Doc, const std::string& Message) {
  return !Doc.XmpProperties().empty() && Doc.XmpProperties().back().Path == "(error)" &&
         Doc.XmpProperties().back().Value.ends_with(Message);
}

// The parts of an Extended XMP packet, all at its start, many times over:
// they cover the packet, so every one is copied, each over the last.
THostileFile XmpExtensionPartsOverlapping() {
  const std::string Guid(32, 'A');
  std::vector<TBytes> Segments{XmpSegment(XmpPacket("<rdf:Description xmpNote:HasExtendedXMP='" + Guid + "' xmp:Rating='1'/>"))};
  for (int Part = 0; Part < 3000; ++Part) Segments.push_back(XmpExtensionSegment(Guid, 1000, 0, std::string(1000, 'x')));
  return {"xmp-extension-overlapping.jpg",
          "3000 Extended XMP parts of 1000 bytes, all at the start of a 1000-byte packet whose digest is not its GUID.",
          JpegWith(Segments), "the standard packet's rows, no extended ones",
          [](const TEXIF& Doc) { return Doc.XmpProperties().size() == 2 && HasXmp(Doc, "xmp:Rating", "1"); }};
}

// Elements nested 20000 deep.
THostileFile XmpNestedDeep() {
  std::string Packet = XmpPacket("<rdf:Description xmp:Rating='2'/>");
  Packet.resize(Packet.find("</rdf:RDF>"));
  for (int Level = 0; Level < 20000; ++Level) Packet += "<a>";
  return {"xmp-nested-deep.tif", "An XMP packet whose elements nest 20000 deep, for a parser that recurses.",
          TiffBlock(TIfd().Byte(700, std::vector<uint8_t>(Packet.begin(), Packet.end()), ftUndefined)),
          "the rows before the nesting, and the error row",
          [](const TEXIF& Doc) { return HasXmp(Doc, "xmp:Rating", "2") && XmpErrorSays(Doc, "nested deeper than 100"); }};
}

// Entities that expand a billion times, declared in a document type.
THostileFile XmpEntityExpansion() {
  std::string Doctype = "<?xml version='1.0'?><!DOCTYPE x [<!ENTITY a0 'lol'>";
  for (int Level = 1; Level < 10; ++Level)
    Doctype += "<!ENTITY a" + std::to_string(Level) + " '" + [&] {
      std::string Ten;
      for (int Copy = 0; Copy < 10; ++Copy) Ten += "&a" + std::to_string(Level - 1) + ";";
      return Ten;
    }() + "'>";
  Doctype += "]><x:xmpmeta xmlns:x='adobe:ns:meta/' x:xmptk='&a9;'/>";
  return {"xmp-entity-expansion.jpg", "An XMP packet whose document type declares entities that expand a billion times.",
          JpegWith({XmpSegment(Doctype)}), "only the error row",
          [](const TEXIF& Doc) {
            return Doc.XmpProperties().size() == 1 && XmpErrorSays(Doc, "document type declarations are not read");
          }};
}

// A struct path of 99 names of 600 letters each, then 5000 leaves: every
// leaf's row would repeat the 60 KB path.
THostileFile XmpRowAmplification() {
  std::string Body = "<rdf:Description xmp:Rating='3'><my:", Close;
  const std::string Name(600, 'n');
  std::string Packet;
  for (int Level = 0; Level < 96; ++Level) Body += Name + " rdf:parseType='Resource'><my:";
  for (int Leaf = 0; Leaf < 5000; ++Leaf) Body += (Leaf == 0 ? "" : "<my:") + std::string("a/>");
  Packet = XmpPacket(Body);
  Packet.replace(Packet.find("<rdf:RDF "), 9, "<rdf:RDF xmlns:my='http://example.com/' ");
  return {"xmp-row-amplification.tif",
          "An XMP packet of 80 KB whose 5000 leaves each sit 60 KB of path deep: rows of 300 MB.",
          TiffBlock(TIfd().Byte(700, std::vector<uint8_t>(Packet.begin(), Packet.end()), ftUndefined)),
          "the first rows, and the error row",
          [](const TEXIF& Doc) {
            return HasXmp(Doc, "xmp:Rating", "3") && XmpErrorSays(Doc, "more than the packet's size allows");
          }};
}

// IPTC records spread over 3000 APP13 segments of 16 bytes each.
THostileFile IptcInManySegments() {
  const TBytes Resources = PhotoshopResource(0x0404, Repeat(IptcDataset(2, 25, "keyword"), 4000));
  std::vector<TBytes> Segments;
  for (size_t At = 0; At < Resources.size(); At += 16)
    Segments.push_back(PhotoshopSegment(TBytes(Resources.begin() + ptrdiff_t(At),
                                               Resources.begin() + ptrdiff_t(std::min(At + 16, Resources.size())))));
  return {"iptc-many-segments.jpg", "IPTC records cut into 3000 APP13 segments of 16 bytes.", JpegWith(Segments),
          "all 4000 keywords", [](const TEXIF& Doc) {
            return Doc.IptcDatasets().size() == 4000 && Doc.IptcDatasets().back().Value == "keyword";
          }};
}

// XMP and IPTC tags of IFD 0 whose counts claim gigabytes, and an IPTC
// dataset whose extended length does.
THostileFile EmbeddedMetadataHugeCounts() {
  const TBytes Records = Concat({IptcDataset(2, 5, "kept"), TBytes{0x1C, 2, 25, 0x80, 8}, TBytes(7, 0xFF), TBytes{1}});
  TIfd Ifd0 = CanonIfd0();
  Ifd0.Raw(700, ftByte, 0xFFFFFFFF, 8).BlobAt(33723, ftUndefined, uint32_t(Records.size()), Records);
  Ifd0.Raw(34377, ftLong, 0x40000000, 8);
  return {"embedded-metadata-huge-counts.tif",
          "XMP and Photoshop tags claiming 4 GB at the start of the file, and an IPTC dataset claiming 2^64 bytes.",
          TiffBlock(Ifd0), "the Make and the IPTC dataset before the huge one", [](const TEXIF& Doc) {
            return HasMake(Doc, "Canon") && Doc.XmpProperties().empty() && Doc.IptcDatasets().size() == 1 &&
                   Doc.IptcDatasets()[0].Value == "kept";
          }};
}

// A raw file whose preview walk is led in circles: IFD 0 (at 8) names 0xFFFF
// SubIFDs, all at IFD 0 itself, whose count says 0xFFFF entries; its EXIF
// pointer leads back there too, and its preview strip claims 4 GB.
THostileFile RawPreviewWalkInCircles() {
  constexpr uint32_t MakeAt = 0x100, SubIfdsAt = 0x140;
  const TBytes Entries = Concat({Entry(0x010F, ftAscii, 6, MakeAt), Entry(0x0103, ftShort, 1, 6),
                                 Entry(0x0111, ftLong, 1, 8), Entry(0x0117, ftLong, 1, 0xFFFFFFFF),
                                 Entry(0x014A, ftLong, 0xFFFF, SubIfdsAt), Entry(0x8769, ftLong, 1, 8)});
  TBytes File = RawTiff(0xFFFF, Entries, 0);
  File.resize(MakeAt, 0);
  File = Concat({File, BytesOf(std::string_view("Canon\0", 6))});
  File.resize(SubIfdsAt, 0);
  return {"raw-preview-walk.nef",
          "A raw file whose SubIFDs and EXIF pointer lead back to IFD 0, which claims 65535 entries, and whose "
          "preview claims 4 GB.",
          Concat({File, Repeat(U32(8), 64)}), "the Make", [](const TEXIF& Doc) { return HasMake(Doc, "Canon"); }};
}

}  // namespace

const char* const MakerNames[12] = {"Canon", "NIKON",   "OLYMPUS", "Panasonic", "FUJIFILM", "CASIO",
                                    "Minolta", "Apple", "SONY",    "samsung",   "PENTAX",   "RICOH"};

std::vector<THostileFile> HostileFiles() {
  const TBytes Picture = MakeJpeg(64, 48, [](int X, int Y) { return uint32_t(X * 4) << 16 | uint32_t(Y * 5) << 8; });
  TBytes Truncated = Picture;
  Truncated.resize(Truncated.size() * 2 / 3);
  std::vector<THostileFile> Files = {
      MakerNoteOffsetsPastTheEnd(),
      OwnHeaderNoteOutside(),
      SignatureOnlyNote(),
      OffsetPlusCountOverflow(),
      DirectoryLoops(),
      MarkerLengthsBelowTwo(),
      HugeCounts(),
      DivisionByZero(),
      WithThumbnail("thumbnail-bomb.jpg",
                    "A thumbnail whose JPEG header claims 60000 x 60000 pixels: a decompression bomb.",
                    WithDeclaredSize(MakeJpeg(16, 16), 60000, 60000), "the Make and the thumbnail's header", true),
      WithThumbnail("thumbnail-not-jpeg.jpg", "Thumbnail bytes that make libjpeg fail in the header.",
                    BytesOf("\xFF\xD8 not really a JPEG stream at all"), "the Make; no thumbnail", false),
      WithThumbnail("thumbnail-truncated.jpg", "A thumbnail cut in the middle of its compressed data.",
                    Truncated, "the Make and the thumbnail, which decodes with a warning", true),
      NonFiniteOffsets(),
      HugeThumbnailOffset(),
      SettingsAmplification(),
      MoreRecordsThanPositions(),
      TextAmplification(),
      GpsZeroTags(),
      XmpExtensionPartsOverlapping(),
      XmpNestedDeep(),
      XmpEntityExpansion(),
      XmpRowAmplification(),
      IptcInManySegments(),
      EmbeddedMetadataHugeCounts(),
      RawPreviewWalkInCircles(),
  };
  Files.push_back({"picture-bomb.jpg",
                   "A picture whose header claims 60000 x 60000 pixels: the Image tab must refuse it, not allocate it.",
                   InsertAfterSoi(WithDeclaredSize(MakeJpeg(16, 16), 60000, 60000), {ExifSegment(TiffBlock(CanonIfd0()))}),
                   "the Make", [](const TEXIF& Doc) { return HasMake(Doc, "Canon"); }});
  // 11585 x 11585 is the largest square under the decoder's pixel limit.
  Files.push_back({"picture-empty-scan.jpg",
                   "A baseline picture of 134 megapixels in 140 bytes, with no scan data at all: a decompression bomb.",
                   EmptyScanJpeg(11585, 11585), "no tags, as it has none", [](const TEXIF&) { return true; }, true});
  Files.push_back({"picture-endless-scans.jpg",
                   "A progressive picture of 134 megapixels whose 1000 scans each sweep all 2 million blocks for some 190 bytes.",
                   EndOfBandJpeg(11585, 11585, false, 1000), "no tags, as it has none", [](const TEXIF&) { return true; }, true});
  Files.push_back({"picture-truncated.jpg", "A picture cut in the middle of its compressed data.",
                   InsertAfterSoi(Truncated, {ExifSegment(TiffBlock(CanonIfd0()))}), "the Make",
                   [](const TEXIF& Doc) { return HasMake(Doc, "Canon"); }});
  return Files;
}

// Small well-formed notes of every maker; their offsets count from the TIFF
// data the fuzzer builds around them (which is TiffWithMakerNote's layout).
std::vector<std::pair<std::string, TBytes>> MakerNoteFuzzInputs() {
  const TByteOrder Big = TByteOrder::Big;
  const TBytes Plain = Concat({U16(2), Entry(0x0001, ftShort, 1, 2), Entry(0x0014, ftShort, 1, 80), U32(0)});
  // Two entries each maker's table knows, in the note's byte order.
  const TBytes Apple = Concat({U16(2, Big), Entry(0x0001, ftSLong, 1, 12, Big), Entry(0x000A, ftSLong, 1, 3, Big), U32(0)});
  const TBytes Sony = Concat({U16(2), Entry(0x0102, ftLong, 1, 2), Entry(0xB023, ftLong, 1, 33), U32(0)});
  const TBytes Samsung = Concat({U16(2), Entry(0x0002, ftLong, 1, 0x12000), Entry(0xA011, ftShort, 1, 1), U32(0)});
  const TBytes Pentax = Concat({U16(2, Big), Entry(0x0008, ftShort, 1, 2 << 16, Big), Entry(0x0014, ftShort, 1, 6 << 16, Big), U32(0)});
  const TBytes Notes[12] = {
      {},
      Concat({BytesOf(std::string("Nikon\0\x02\x10\0\0MM\0\x2A\0\0\0\x08", 18)), Plain}),
      Concat({BytesOf(std::string("OLYMP\0\x01\0", 8)), Plain}),
      Concat({BytesOf(std::string("Panasonic\0\0\0", 12)), Plain}),
      Concat({BytesOf("FUJIFILM"), U32(12), Plain}),
      Plain,
      {},
      Concat({BytesOf(std::string("Apple iOS\0\0\x01MM", 14)), Apple}),
      Concat({BytesOf(std::string("SONY DSC \0\0\0", 12)), Sony}),
      Samsung,
      Concat({BytesOf(std::string("AOC\0MM", 6)), Pentax}),
      Concat({BytesOf(std::string("PENTAX \0MM", 10)), Pentax}),
  };
  std::vector<std::pair<std::string, TBytes>> Inputs;
  for (uint8_t Maker = 0; Maker < 12; ++Maker) {
    const auto Note = [&](uint32_t NoteAt) {
      if (Maker != mnfCanon - 1 && Maker != mnfMinolta - 1) return Notes[Maker];
      const uint32_t ArrayAt = NoteAt + 2 + 12 + 4;
      const uint16_t Tag = Maker == mnfCanon - 1 ? 0x0001 : 0x0003;
      return Concat({U16(1), Entry(Tag, ftShort, 46, ArrayAt), U32(0), U16(92), TBytes(202, 1)});
    };
    const TBytes Tiff = TiffWithMakerNote(MakerNames[Maker], Note);
    const TBytes NoteBytes(Tiff.end() - static_cast<std::ptrdiff_t>(Note(0).size()), Tiff.end());
    Inputs.push_back({MakerNames[Maker], Concat({{Maker, 0}, NoteBytes})});
  }
  return Inputs;
}
