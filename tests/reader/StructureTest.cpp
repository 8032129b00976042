// The structure parser: the JPEG marker walk, the TIFF header rules, the
// directory walks and their end rules, and the thumbnail, on exact bytes.
#include <gtest/gtest.h>

#include "DocumentInternals.h"
#include "EXIF_Intf.h"
#include "ExifWriter.h"
#include "JpegMaker.h"

namespace {

// IFD 0 with a Make, an Orientation and an EXIF sub-IFD holding an exposure time.
TIfd SimpleIfd0() {
  auto Exif = std::make_shared<TIfd>();
  Exif->Rational(0x829A, {{1, 125}});
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon").Short(0x0112, {6}).SubIfd(0x8769, Exif);
  return Ifd0;
}

std::vector<uint16_t> TagsOf(const TEXIF& Doc, TEXIFTag (TEXIF::*At)(uint16_t) const,
                             int32_t (TEXIF::*Count)() const) {
  std::vector<uint16_t> Tags;
  for (int32_t Index = 0; Index < (Doc.*Count)(); ++Index)
    Tags.push_back((Doc.*At)(static_cast<uint16_t>(Index)).Header.Tag);
  return Tags;
}

std::vector<uint16_t> IFD0Tags(const TEXIF& Doc) { return TagsOf(Doc, &TEXIF::TIFFTag, &TEXIF::TIFFCount); }
std::vector<uint16_t> ExifTags(const TEXIF& Doc) { return TagsOf(Doc, &TEXIF::EXIFTag, &TEXIF::EXIFCount); }
std::vector<uint16_t> GpsTags(const TEXIF& Doc) { return TagsOf(Doc, &TEXIF::GPSTag, &TEXIF::GPSCount); }

using TTags = std::vector<uint16_t>;

// --- The JPEG marker walk --------------------------------------------------

TEST(MarkerWalk, FindsTheTiffHeader) {
  const TBytes Tiff = TiffBlock(SimpleIfd0());
  struct TCase {
    const char* What;
    TBytes File;
    uint32_t HeaderAt;  // 0: no EXIF data found
  };
  const TBytes Jfif = Segment(0xE0, TBytes(14, 0x11));
  const TBytes Xmp = Segment(0xE1, Concat({BytesOf("http://ns.adobe.com/xap/1.0/"), TBytes(300, ' ')}));
  const TCase Cases[] = {
      {"APP1 right after SOI", JpegWith({ExifSegment(Tiff)}), 12},
      {"after a JFIF APP0 of length 16", JpegWith({Jfif, ExifSegment(Tiff)}), 30},
      {"identifier in capitals", JpegWith({ExifSegment(Tiff, "EXIF")}), 12},
      {"identifier in lower case", JpegWith({ExifSegment(Tiff, "exif")}), 12},
      {"after an XMP APP1 longer than 255", JpegWith({Xmp, ExifSegment(Tiff)}), 12 + 332},
      {"two stray bytes before the segment", JpegWith({{0x00, 0x00}, ExifSegment(Tiff)}), 14},
      {"a fill byte before the segment", JpegWith({{0xFF}, ExifSegment(Tiff)}), 13},
      {"fill bytes before a JFIF APP0", JpegWith({{0xFF, 0xFF, 0xFF}, Jfif, ExifSegment(Tiff)}), 33},
      {"after the start of the scan", Concat({{0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02}, ExifSegment(Tiff)}), 0},
      {"other identifier only", JpegWith({ExifSegment(Tiff, "Exig")}), 0},
      {"no APP1 at all", JpegWith({Jfif}), 0},
      {"SOI and one byte", {0xFF, 0xD8, 0xFF}, 0},
      {"APP1 cut inside its identifier", {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x10, 'E', 'x'}, 0},
  };
  for (const TCase& Case : Cases) {
    TEXIF Doc;
    LoadBytes(Doc, Case.File);
    EXPECT_EQ(TEXIFInternals::IFD0Offset(Doc), Case.HeaderAt) << Case.What;
    EXPECT_EQ(Doc.TIFFCount(), Case.HeaderAt ? 2 : 0) << Case.What;
  }
}

TEST(MarkerWalk, Comments) {
  const TBytes Exif = ExifSegment(TiffBlock(SimpleIfd0()));
  const std::string Long(300, 'c');
  struct TCase {
    const char* What;
    TBytes File;
    std::string Comment;
  };
  const TCase Cases[] = {
      {"before the EXIF segment", JpegWith({CommentSegment("before"), Exif}), "before"},
      {"after the EXIF segment", JpegWith({Exif, CommentSegment("after")}), "after"},
      {"after fill bytes", JpegWith({Exif, {0xFF, 0xFF}, CommentSegment("filled")}), "filled"},
      {"the last one wins", JpegWith({CommentSegment("one"), Exif, CommentSegment("two")}), "two"},
      {"without EXIF data", JpegWith({CommentSegment("alone")}), "alone"},
      {"300 bytes keep 256", JpegWith({CommentSegment(Long), Exif}), Long.substr(0, 256)},
      {"up to a zero byte", JpegWith({CommentSegment(std::string("ab\0cd", 5)), Exif}), "ab"},
      {"length below 2 reads nothing", JpegWith({CommentSegment("x"), {0xFF, 0xFE, 0x00, 0x01}, Exif}),
       "x"},
      {"windows-1252 text", JpegWith({Exif, Segment(0xFE, {'C', 'a', 'f', 0xE9})}), "Caf\u00E9"},
      {"lines kept", JpegWith({Exif, CommentSegment("a\r\nb")}), "a\r\nb"},
  };
  for (const TCase& Case : Cases) {
    TEXIF Doc;
    LoadBytes(Doc, Case.File);
    EXPECT_EQ(Doc.Comment(), Case.Comment) << Case.What;
  }
}

// After the EXIF segment the walk reads only comments, and stops at the scan.
TEST(MarkerWalk, StopsAtTheScanAfterTheExifSegment) {
  TBytes File = JpegWith({ExifSegment(TiffBlock(SimpleIfd0())), CommentSegment("kept")});
  const TBytes Late = Concat({CommentSegment("inside the scan data"), {0xFF, 0xD9}});
  File.insert(File.end() - 2, Late.begin(), Late.end());
  TEXIF Doc;
  LoadBytes(Doc, File);
  EXPECT_EQ(Doc.Comment(), "kept");
}

// A later APP1 "Exif" segment never replaces the first one.
TEST(MarkerWalk, FirstExifSegmentWins) {
  TIfd Other;
  Other.Ascii(0x010F, "Other").Ascii(0x0110, "Model").Ascii(0x0131, "Software");
  TEXIF Doc;
  LoadBytes(Doc, JpegWith({ExifSegment(TiffBlock(SimpleIfd0())), ExifSegment(TiffBlock(Other))}));
  EXPECT_EQ(TEXIFInternals::IFD0Offset(Doc), 12u);
  EXPECT_EQ(Doc.FindTIFFTag(0x010F).StringValue, "Canon");
}

TEST(MarkerWalk, FilesWithoutExifData) {
  const TBytes Png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  const TBytes Bmp = Concat({BytesOf("BM"), TBytes(60, 0)});
  for (const TBytes& File : {Png, Bmp, TBytes{}, TBytes{0xFF}}) {
    TEXIF Doc;
    LoadBytes(Doc, File);
    EXPECT_EQ(Doc.TIFFCount() + Doc.EXIFCount() + Doc.GPSCount() + Doc.EXIF_IFD1Count() +
                  Doc.INTEROPCount() + Doc.MakerNoteCount(),
              0);
    EXPECT_EQ(Doc.MakerNoteFormat(), mnfUnknown);
    EXPECT_EQ(Doc.Thumbnail(), nullptr);
  }
}

// Bytes that are no marker are passed over two at a time, for at most 1 MiB
// in a row: a JPEG start followed by gigabytes of zeros ends there.
TEST(MarkerWalk, EndsAfterAMebibyteWithoutMarkers) {
  const TBytes Exif = ExifSegment(TiffBlock(SimpleIfd0()));
  const struct {
    size_t Zeros;
    int32_t Rows;
  } Cases[] = {{2, 2}, {size_t{1} << 20, 2}, {(size_t{1} << 20) + 2, 0}};
  for (const auto& Case : Cases) {
    TEXIF Doc;
    LoadBytes(Doc, Concat({{0xFF, 0xD8}, TBytes(Case.Zeros, 0), Exif}));
    EXPECT_EQ(Doc.TIFFCount(), Case.Rows) << Case.Zeros;
  }
}

// --- The TIFF header --------------------------------------------------------

TEST(TiffHeader, TiffFilesInBothByteOrders) {
  for (TByteOrder Order : BothOrders) {
    SCOPED_TRACE(OrderName(Order));
    TEXIF Doc;
    LoadBytes(Doc, TiffBlock(SimpleIfd0(), Order));
    EXPECT_EQ(TEXIFInternals::IFD0Offset(Doc), 0u);
    EXPECT_EQ(TEXIFInternals::Swapped(Doc), Order == TByteOrder::Big);
    EXPECT_EQ(IFD0Tags(Doc), (TTags{0x010F, 0x0112}));
    EXPECT_EQ(Doc.FindTIFFTag(0x0112).NumericValue[0], 6);
    EXPECT_EQ(Doc.EXIFTag(0).StringValue, "1/125");
  }
}

// A TIFF file's IFD 0 is read where the header points, whatever lies at offset 8.
TEST(TiffHeader, TiffFileWithIfd0AfterOtherData) {
  for (TByteOrder Order : BothOrders) {
    SCOPED_TRACE(OrderName(Order));
    TEXIF Doc;
    LoadBytes(Doc, TiffBlock(SimpleIfd0(), Order, 40));
    EXPECT_EQ(IFD0Tags(Doc), (TTags{0x010F, 0x0112}));
    EXPECT_EQ(Doc.EXIFCount(), 1);
  }
}

// Inside a JPEG, IFD 0 is taken to follow the header: W1 (header bytes 8-9) is
// its count unless it is 0 or 0xFFFF; then W2 is, and the entries start at 12.
TEST(TiffHeader, JpegCountWords) {
  const TBytes Make = Concat({U16(0x010F), U16(ftAscii), U32(4), BytesOf("Abc"), {0}});
  const TBytes Model = Concat({U16(0x0110), U16(ftAscii), U32(3), BytesOf("M1"), {0, 0}});
  const TBytes Header = Concat({BytesOf("II"), U16(42), U32(0x1234)});
  struct TCase {
    const char* What;
    TBytes Tiff;
    TTags Tags;
  };
  const TCase Cases[] = {
      {"W1 is the count, O ignored", Concat({Header, U16(2), Make, Model, U32(0)}), {0x010F, 0x0110}},
      {"W1 zero: W2 counts", Concat({Header, U16(0), U16(1), Make, Model, U32(0)}), {0x010F}},
      {"W1 0xFFFF: W2 counts", Concat({Header, U16(0xFFFF), U16(2), Make, Model, U32(0)}),
       {0x010F, 0x0110}},
      {"W2 reads as the Make tag: no entries", Concat({Header, U16(0), Make, Model, U32(0)}), {}},
  };
  for (const TCase& Case : Cases) {
    TEXIF Doc;
    LoadBytes(Doc, JpegWith({ExifSegment(Case.Tiff)}));
    EXPECT_EQ(IFD0Tags(Doc), Case.Tags) << Case.What;
  }
}

// Inside a JPEG, an IFD 0 offset beyond the header's own position is read a
// second time as a position in the file, appending to the same lists.
TEST(TiffHeader, SecondIfd0Pass) {
  TBytes Tiff = TiffBlock(SimpleIfd0());
  const TBytes Offset = U32(12 + 8);  // the header is at 12: this is IFD 0 itself
  std::copy(Offset.begin(), Offset.end(), Tiff.begin() + 4);
  TEXIF Doc;
  LoadBytes(Doc, JpegWith({ExifSegment(Tiff)}));
  EXPECT_EQ(IFD0Tags(Doc), (TTags{0x010F, 0x0112, 0x010F, 0x0112}));
}

TEST(TiffHeader, ShortHeaderReadsNothing) {
  TEXIF Doc;
  LoadBytes(Doc, {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0});
  EXPECT_EQ(Doc.TIFFCount(), 0);
}

// --- Directory walks --------------------------------------------------------

TEST(DirectoryWalks, PointerTagsGoOnlyToThePointerList) {
  auto Exif = std::make_shared<TIfd>();
  Exif->Rational(0x829A, {{1, 125}})
      .BlobAt(0x927C, ftUndefined, 8, TBytes(8, 0))
      .Undefined(0x9286, Concat({BytesOf("ASCII"), TBytes(3, 0), BytesOf("hello")}))
      .Raw(0xA300, ftUndefined, 1, 3);
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon").SubIfd(0x8769, Exif);
  TEXIF Doc;
  LoadBytes(Doc, JpegWith({ExifSegment(TiffBlock(Ifd0))}));
  EXPECT_EQ(IFD0Tags(Doc), (TTags{0x010F}));
  EXPECT_EQ(ExifTags(Doc), (TTags{0x829A}));
  EXPECT_EQ(Doc.FindIFDTag(0x8769).Typ, ftLong);
  EXPECT_NE(Doc.FindIFDTag(0x8769).NumericValue[0], 0);
  EXPECT_NE(Doc.FindIFDTag(0x927C).NumericValue[0], 0);
  EXPECT_EQ(Doc.FindIFDTag(0x9286).Header.Name, "Comment");
  EXPECT_EQ(Doc.FindIFDTag(0x9286).StringValue, "");
}

TEST(DirectoryWalks, Ifd1ReadsUpToThirtyEntries) {
  for (uint16_t Entries : {uint16_t{1}, uint16_t{30}, uint16_t{31}}) {
    for (TByteOrder Order : BothOrders) {
      auto Ifd1 = std::make_shared<TIfd>();
      for (uint16_t Index = 0; Index < Entries; ++Index) Ifd1->Short(0x0100, {Index});
      TIfd Ifd0 = SimpleIfd0();
      Ifd0.Next = Ifd1;
      TEXIF Doc;
      LoadBytes(Doc, JpegWith({ExifSegment(TiffBlock(Ifd0, Order))}));
      EXPECT_EQ(Doc.EXIF_IFD1Count(), Entries <= 30 ? Entries : 0) << Entries << OrderName(Order);
      EXPECT_EQ(Doc.EXIF_IFD1Tag(0).Header.Name, Entries <= 30 ? "Image Width" : "");
    }
  }
}

// The sub-directory walks end after the directory's count of entries, at the
// first zero tag, or at the end of the data.
TEST(DirectoryWalks, ExifWalkEndRules) {
  struct TCase {
    const char* What;
    std::optional<uint16_t> Count;
    size_t CutAfter;  // bytes of the file dropped from the end
    TTags Tags;
  };
  const TCase Cases[] = {
      {"ends at the zero link", std::nullopt, 0, {0x829A, 0x829D, 0x9000}},
      {"count 1 reads one entry", 1, 0, {0x829A}},
      {"count 0 reads none", 0, 0, {}},
      {"a count above the entries ends at the link", 5, 0, {0x829A, 0x829D, 0x9000}},
      {"runs into the end of the data", std::nullopt, 20, {0x829A}},
  };
  for (const TCase& Case : Cases) {
    for (TByteOrder Order : BothOrders) {
      auto Exif = std::make_shared<TIfd>();
      Exif->Short(0x829A, {1}).Short(0x829D, {2}).Undefined(0x9000, BytesOf("0220"));
      Exif->CountOverride = Case.Count;
      TIfd Ifd0;
      Ifd0.Ascii(0x010F, "Maker").SubIfd(0x8769, Exif);
      TBytes Tiff = TiffBlock(Ifd0, Order);
      Tiff.resize(Tiff.size() - Case.CutAfter);
      TEXIF Doc;
      LoadBytes(Doc, Tiff);
      EXPECT_EQ(ExifTags(Doc), Case.Tags) << Case.What << " " << OrderName(Order);
    }
  }
}

// An entry cut by the end of the data is not stored.
TEST(DirectoryWalks, PartialEntriesAreNotStored) {
  TIfd Ifd0;
  Ifd0.Short(0x0112, {1}).Short(0x0128, {2}).Short(0x0213, {1});
  TBytes Tiff = TiffBlock(Ifd0);
  Tiff.resize(8 + 2 + 12 * 2 + 6);
  TEXIF Doc;
  LoadBytes(Doc, Tiff);
  EXPECT_EQ(IFD0Tags(Doc), (TTags{0x0112, 0x0128}));
}

TEST(DirectoryWalks, InteropDirectory) {
  auto Interop = std::make_shared<TIfd>();
  Interop->Ascii(0x0001, "R98").Undefined(0x0002, BytesOf("0100")).Short(0x1001, {640});
  auto Exif = std::make_shared<TIfd>();
  Exif->SubIfd(0xA005, Interop);
  TIfd Ifd0;
  Ifd0.SubIfd(0x8769, Exif);
  for (TByteOrder Order : BothOrders) {
    TEXIF Doc;
    LoadBytes(Doc, JpegWith({ExifSegment(TiffBlock(Ifd0, Order))}));
    ASSERT_EQ(Doc.INTEROPCount(), 3) << OrderName(Order);
    EXPECT_EQ(Doc.INTEROPTag(0).StringValue, "R98");
    EXPECT_EQ(Doc.INTEROPTag(1).StringValue, "0100");
    EXPECT_EQ(Doc.INTEROPTag(2).NumericValue[0], 640);
    EXPECT_EQ(Doc.EXIFCount(), 0);
  }
}

TEST(DirectoryWalks, GpsWalkEndRules) {
  struct TCase {
    const char* What;
    bool WithVersion;
    std::optional<uint16_t> Count;
    TTags Tags;
  };
  const TCase Cases[] = {
      {"version, entries, zero link", true, std::nullopt, {0x0000, 0x0001, 0x001B, 0x0002}},
      // Without a version entry the count keeps the zero link from being read
      // as one, and the walk from running on into the values after it.
      {"no version: the link is not a row", false, std::nullopt, {0x0001, 0x001B, 0x0002}},
      {"count bound", true, 1, {0x0000}},
      {"a count above the entries ends at the link", true, 9, {0x0000, 0x0001, 0x001B, 0x0002}},
  };
  for (const TCase& Case : Cases) {
    for (TByteOrder Order : BothOrders) {
      // The first values after the link look like an Altitude Ref entry.
      const TBytes LooksLikeAnEntry = Concat({U16(0x0005, Order), U16(ftByte, Order), U32(1, Order), {1, 0, 0, 0}});
      auto Gps = std::make_shared<TIfd>();
      if (Case.WithVersion) Gps->Byte(0x0000, {2, 2, 0, 0});
      Gps->Ascii(0x0001, "N")
          .BlobAt(0x001B, ftUndefined, 12, LooksLikeAnEntry)
          .Rational(0x0002, {{35, 1}, {40, 1}, {1234, 100}});
      Gps->CountOverride = Case.Count;
      TIfd Ifd0;
      Ifd0.SubIfd(0x8825, Gps);
      TEXIF Doc;
      LoadBytes(Doc, JpegWith({ExifSegment(TiffBlock(Ifd0, Order))}));
      EXPECT_EQ(GpsTags(Doc), Case.Tags) << Case.What << " " << OrderName(Order);
    }
  }
}

// A second zero tag or tag 0xFFFF ends the GPS walk.
TEST(DirectoryWalks, GpsSecondZeroTagEnds) {
  auto Gps = std::make_shared<TIfd>();
  Gps->Byte(0x0000, {2, 2, 0, 0}).Byte(0x0000, {2, 3, 0, 0}).Ascii(0x0001, "S");
  auto Gps2 = std::make_shared<TIfd>();
  Gps2->Ascii(0x0001, "S").Short(0xFFFF, {0}).Ascii(0x0003, "E");
  for (const auto& Directory : {Gps, Gps2}) {
    TIfd Ifd0;
    Ifd0.SubIfd(0x8825, Directory);
    TEXIF Doc;
    LoadBytes(Doc, TiffBlock(Ifd0));
    EXPECT_EQ(Doc.GPSCount(), 1);
  }
}

// --- The thumbnail -------------------------------------------------------

TIfd WithThumbnail(const TBytes& Thumbnail, uint32_t StatedLength) {
  auto Ifd1 = std::make_shared<TIfd>();
  Ifd1->Short(0x0103, {6}).BlobAt(0x0201, ftLong, 1, Thumbnail).Long(0x0202, {StatedLength});
  TIfd Ifd0 = SimpleIfd0();
  Ifd0.Next = Ifd1;
  return Ifd0;
}

TEST(Thumbnail, CutOutOfTheFile) {
  const TBytes Small = MakeJpeg(16, 8);
  for (TByteOrder Order : BothOrders) {
    TEXIF Doc;
    LoadBytes(Doc, JpegWith({ExifSegment(TiffBlock(WithThumbnail(Small, uint32_t(Small.size())), Order))}));
    ASSERT_NE(Doc.Thumbnail(), nullptr) << OrderName(Order);
    EXPECT_EQ(Doc.Thumbnail()->Width(), 16);
    EXPECT_EQ(Doc.Thumbnail()->Height(), 8);
    EXPECT_EQ(Doc.Thumbnail()->Bytes().size(), Small.size());
  }
}

TEST(Thumbnail, LengthPastTheEndIsCut) {
  const TBytes Small = MakeJpeg(16, 8);
  TEXIF Doc;
  LoadBytes(Doc, TiffBlock(WithThumbnail(Small, 1000000)));
  ASSERT_NE(Doc.Thumbnail(), nullptr);
  EXPECT_EQ(Doc.Thumbnail()->Bytes().size(), Small.size());  // the blob is the file's end
}

// Without a readable thumbnail the tags are still read and the load succeeds.
TEST(Thumbnail, AbsentWhenNotReadable) {
  const TBytes Small = MakeJpeg(16, 8);
  struct TCase {
    const char* What;
    TIfd Ifd0;
  };
  TIfd PastTheEnd = SimpleIfd0();
  PastTheEnd.Next = std::make_shared<TIfd>();
  PastTheEnd.Next->Long(0x0201, {0x7FFFFFF0}).Long(0x0202, {100});
  TIfd NoLength = SimpleIfd0();
  NoLength.Next = std::make_shared<TIfd>();
  NoLength.Next->BlobAt(0x0201, ftLong, 1, Small);
  TBytes Huge = Small;  // a readable picture, with bytes after its end
  Huge.resize(TEXIF::MaxThumbnailBytes + 1, 0);
  const TCase Cases[] = {
      {"length zero", WithThumbnail(Small, 0)},
      {"larger than any camera writes", WithThumbnail(Huge, uint32_t(Huge.size()))},
      {"placeholder bytes", WithThumbnail(BytesOf("no JPEG here"), 12)},
      {"offset past the end", PastTheEnd},
      {"no length tag", NoLength},
  };
  for (const TCase& Case : Cases) {
    TEXIF Doc;
    EXPECT_NO_THROW(LoadBytes(Doc, TiffBlock(Case.Ifd0))) << Case.What;
    EXPECT_EQ(Doc.Thumbnail(), nullptr) << Case.What;
    EXPECT_EQ(Doc.TIFFCount(), 2) << Case.What;
  }
}

}  // namespace
