// Containers that carry a TIFF block: each gives the six tag sections the
// same block gives as a TIFF file of its own, and names its format.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "ContainerWriter.h"
#include "EXIF_Intf.h"
#include "JpegMaker.h"
#include "TagViews.h"

namespace {

// A Canon note of two entries whose values lie in the entries.
TBytes CanonNote(TByteOrder Order) {
  return Concat({U16(2, Order), U16(0x0008, Order), U16(ftLong, Order), U32(1, Order), U32(1234, Order),
                 U16(0x0012, Order), U16(ftLong, Order), U32(1, Order), U32(56789, Order), U32(0, Order)});
}

// Something in every directory, values at offsets included, and a thumbnail.
TBytes RichTiff(TByteOrder Order, size_t Gap = 0) {
  auto Interop = std::make_shared<TIfd>();
  Interop->Ascii(0x0001, "R98");
  auto Exif = std::make_shared<TIfd>();
  Exif->Rational(0x829A, {{1, 125}}).Short(0x8827, {200}).Ascii(0x9003, "2024:05:06 07:08:09");
  Exif->SubIfd(0xA005, Interop).BlobAt(0x927C, ftUndefined, 26, CanonNote(Order));
  auto Gps = std::make_shared<TIfd>();
  Gps->Byte(0x0000, {2, 2, 0, 0}).Ascii(0x0001, "N").Rational(0x0002, {{54, 1}, {59, 1}, {2280, 100}});
  const TBytes Thumbnail = MakeJpeg(16, 8);
  auto Ifd1 = std::make_shared<TIfd>();
  Ifd1->BlobAt(0x0201, ftLong, 1, Thumbnail).Long(0x0202, {static_cast<uint32_t>(Thumbnail.size())});
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS").Short(0x0112, {6}).Rational(0x011A, {{72, 1}});
  Ifd0.SubIfd(0x8769, Exif).SubIfd(0x8825, Gps);
  Ifd0.Next = Ifd1;
  return TiffBlock(Ifd0, Order, Gap);
}

// The six tag sections as the dump prints them.
std::string Sections(const TEXIF& Doc) {
  std::ostringstream Out;
  for (const TTabView& Tab : TabViews) {
    if (Tab.Kind != tkTags) continue;
    Out << '[' << Tab.Title << "]\n";
    ForEachRow(Doc, Tab, [&](std::string_view Tag, std::string_view Name, std::string_view Value) {
      Out << Tag << '\t' << Name << '\t' << Value << '\n';
    });
  }
  return Out.str();
}

TBytes RawProfile(std::string_view Chunk, std::string_view Name, const TBytes& Exif) {
  const std::string Text = RawProfileText(Name, Exif);
  const TBytes Key = BytesOf(std::string_view("Raw profile type exif\0", 22));
  if (Chunk == "tEXt") return PngChunk("tEXt", Concat({Key, BytesOf(Text)}));
  if (Chunk == "zTXt") return PngChunk("zTXt", Concat({Key, {0}, Deflate(BytesOf(Text))}));
  return PngChunk("iTXt", Concat({Key, {1, 0, 0, 0}, Deflate(BytesOf(Text))}));  // compressed, no language
}

TBytes HeifWith(TBytes Tiff, std::string Major, bool InItemData, int Extents, int Version) {
  THeifLayout Layout;
  Layout.MajorBrand = Major;
  Layout.CompatibleBrands = {"mif1", Major};
  Layout.Version = Version;
  Layout.Items = {{.Id = 1, .Type = "hvc1", .Data = BytesOf("coded picture")},
                  {.Id = 2, .Type = "Exif", .Data = HeifExifItemData(Tiff), .InItemData = InItemData,
                   .Extents = Extents, .Describes = 1}};
  return HeifFile(Layout);
}

TEST(Containers, GiveTheRowsOfTheirTiffBlock) {
  for (const TByteOrder Order : BothOrders) {
    const TBytes Tiff = RichTiff(Order);
    TEXIF AsTiff;
    LoadBytes(AsTiff, Tiff);
    const std::string Expected = Sections(AsTiff);
    ASSERT_EQ(AsTiff.MakerNoteCount(), 2);
    ASSERT_EQ(AsTiff.GPSCount(), 3);
    const TBytes Prefixed = Concat({BytesOf(std::string_view("Exif\0\0", 6)), Tiff});
    struct TCase {
      const char* What;
      TBytes File;
      const char* Format;
    };
    const TCase Cases[] = {
        {"PNG eXIf before the image data", PngFile({PngHeader(), PngChunk("eXIf", Tiff), PngStandInData(), PngEnd()}),
         "PNG"},
        {"PNG eXIf after the image data", PngFile({PngHeader(), PngStandInData(), PngChunk("eXIf", Tiff), PngEnd()}),
         "PNG"},
        {"PNG eXIf after Exif\\0\\0", PngFile({PngHeader(), PngChunk("eXIf", Prefixed), PngEnd()}), "PNG"},
        {"PNG tEXt raw profile", PngFile({PngHeader(), RawProfile("tEXt", "exif", Prefixed), PngEnd()}), "PNG"},
        {"PNG zTXt raw profile", PngFile({PngHeader(), RawProfile("zTXt", "exif", Prefixed), PngEnd()}), "PNG"},
        {"PNG iTXt compressed raw profile", PngFile({PngHeader(), RawProfile("iTXt", "APP1", Prefixed), PngEnd()}),
         "PNG"},
        {"PNG eXIf wins over a raw profile",
         PngFile({PngHeader(), RawProfile("tEXt", "exif", RichTiff(TByteOrder::Big, 4)), PngChunk("eXIf", Tiff),
                  PngEnd()}),
         "PNG"},
        {"WebP EXIF", WebpFile({RiffChunk("EXIF", Tiff)}), "WebP"},
        {"WebP EXIF after Exif\\0\\0", WebpFile({RiffChunk("VP8X", TBytes(10, 0)), RiffChunk("EXIF", Prefixed)}),
         "WebP"},
        {"HEIC, Exif item in mdat", HeifWith(Tiff, "heic", false, 1, 0), "HEIF"},
        {"HEIC, Exif item in two extents", HeifWith(Tiff, "heic", false, 2, 0), "HEIF"},
        {"AVIF, Exif item in idat", HeifWith(Tiff, "avif", true, 1, 0), "AVIF"},
        {"AVIF, 32-bit item ids", HeifWith(Tiff, "avif", false, 1, 1), "AVIF"},
    };
    for (const TCase& Case : Cases) {
      TEXIF Doc;
      LoadBytes(Doc, Case.File);
      EXPECT_EQ(Sections(Doc), Expected) << Case.What << ' ' << OrderName(Order);
      EXPECT_EQ(Doc.FileFormat(), Case.Format) << Case.What;
      EXPECT_NE(Doc.Thumbnail(), nullptr) << Case.What;
    }
  }
}

// Outside a JPEG segment IFD 0 is where the header says, as exiftool writes
// WebP files (IFD 0 at 16); inside one it is read after the header.
TEST(Containers, ReadIfd0WhereTheHeaderSays) {
  const TBytes Tiff = RichTiff(TByteOrder::Little, 8);
  TEXIF AsTiff, AsWebp;
  LoadBytes(AsTiff, Tiff);
  LoadBytes(AsWebp, WebpFile({RiffChunk("EXIF", Tiff)}));
  EXPECT_EQ(AsWebp.TIFFCount(), 4);
  EXPECT_EQ(Sections(AsWebp), Sections(AsTiff));
}

// The EXIF item that describes the primary item is taken, else the first.
TEST(Containers, HeifExifItemOfThePrimaryItem) {
  TIfd Other, Primary;
  Other.Ascii(0x010F, "Other");
  Primary.Ascii(0x010F, "Primary");
  THeifLayout Layout;
  Layout.Items = {{.Id = 1, .Type = "hvc1", .Data = BytesOf("picture")},
                  {.Id = 2, .Type = "Exif", .Data = HeifExifItemData(TiffBlock(Other)), .Describes = 7},
                  {.Id = 3, .Type = "Exif", .Data = HeifExifItemData(TiffBlock(Primary)), .Describes = 1}};
  TEXIF Doc;
  LoadBytes(Doc, HeifFile(Layout));
  EXPECT_EQ(Doc.TIFFTag(0).StringValue, "Primary");
  Layout.Items[2].Describes.reset();
  LoadBytes(Doc, HeifFile(Layout));
  EXPECT_EQ(Doc.TIFFTag(0).StringValue, "Other");
}

// HEIF pictures are turned by the container's "irot", not by the EXIF
// Orientation; the stored size comes from "ispe".
TEST(Containers, HeifTurnAndSize) {
  const struct {
    std::optional<uint8_t> Turn;
    int64_t Orientation;
  } Cases[] = {{std::nullopt, 1}, {0, 1}, {1, 8}, {2, 3}, {3, 6}};
  for (const auto& Case : Cases) {
    THeifLayout Layout;
    Layout.Turn = Case.Turn;
    Layout.Width = 4032;
    Layout.Height = 3024;
    Layout.Items = {{.Id = 1, .Type = "hvc1", .Data = BytesOf("picture")},
                    {.Id = 2, .Type = "Exif", .Data = HeifExifItemData(RichTiff(TByteOrder::Big)), .Describes = 1}};
    TEXIF Doc;
    LoadBytes(Doc, HeifFile(Layout));
    EXPECT_EQ(Doc.Picture().Format, TPictureFormat::HEIF);
    EXPECT_EQ(Doc.Picture().ContainerOrientation, Case.Orientation);
    EXPECT_EQ(Doc.Picture().StoredSize, (TPictureSize{4032, 3024}));
    EXPECT_EQ(OrientationCode(Doc), 6);  // the EXIF tag is still a row
  }
}

// Broken containers give no rows and no error; what lies outside the file
// is never read.
TEST(Containers, BrokenLayoutsGiveNothing) {
  const TBytes Tiff = RichTiff(TByteOrder::Little);
  TBytes LongChunk = PngFile({PngHeader(), PngChunk("eXIf", Tiff)});
  LongChunk[8 + 25] = 0x80;  // the eXIf length, above the 2^31 - 1 that PNG allows
  THeifLayout Outside;
  Outside.Items = {{.Id = 2, .Type = "Exif", .Data = HeifExifItemData(Tiff), .Describes = 1}};
  TBytes Heif = HeifFile(Outside);
  Heif.resize(Heif.size() - Tiff.size());  // the item's extent runs past the end
  const struct {
    const char* What;
    TBytes File;
  } Cases[] = {
      {"PNG chunk of a length PNG does not allow", LongChunk},
      {"PNG raw profile with a bad length",
       PngFile({PngHeader(), PngChunk("tEXt", Concat({BytesOf(std::string_view("Raw profile type exif\0", 22)),
                                                     BytesOf("\nexif\n   99999\n4578")}))})},
      {"WebP without chunks", WebpFile({})},
      {"HEIF item past the end", Heif},
      {"ISO media of another brand", Concat({Box("ftyp", BytesOf("isom\0\0\0\0mp41")), Box("meta", {})})},
      {"box size below its header", Concat({Box("ftyp", BytesOf("heic\0\0\0\0")), U32(4, TByteOrder::Big),
                                             BytesOf("meta")})},
  };
  for (const auto& Case : Cases) {
    TEXIF Doc;
    LoadBytes(Doc, Case.File);
    EXPECT_EQ(Doc.TIFFCount() + Doc.EXIFCount() + Doc.GPSCount(), 0) << Case.What;
  }
}

}  // namespace
