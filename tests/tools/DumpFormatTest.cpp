#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include <nlohmann/json.hpp>

#include "ContainerWriter.h"
#include "DumpFormat.h"
#include "ExifWriter.h"
#include "JpegMaker.h"
#include "MetadataWriter.h"
#include "PictureMaker.h"
#include "TempDir.h"
#include "ValueFormat.h"

namespace {

TEST(DumpFormat, TagColumnAndEscapes) {
  EXPECT_EQ(TagColumnText(0x0112), "0x112");
  EXPECT_EQ(TagColumnText(0x010F), "0x10F");
  EXPECT_EQ(TagColumnText(0), "0x0");
  EXPECT_EQ(TagColumnText(0xA40C), "0xA40C");
  const std::pair<std::string, std::string> Escapes[] = {
      {"a\tb\x01\x1F c\u00E9", "a\\x09b\\x01\\x1F c\u00E9"},
      {"del\x7F", "del\\x7F"},
      {"c1 \u0080\u0085\u009F \u00A0", "c1 \\x80\\x85\\x9F \u00A0"},
      {"line\u2028para\u2029end \u2027\u202A", "line\\u2028para\\u2029end \u2027\u202A"},
      {"cut \xC2", "cut \xC2"},
  };
  for (const auto& [Text, Escaped] : Escapes) EXPECT_EQ(EscapeControls(Text), Escaped) << Text;
}

TBytes Photo(const std::string& Comment) {
  const TBytes Small = MakeJpeg(16, 8);
  auto Ifd1 = std::make_shared<TIfd>();
  Ifd1->Short(0x0103, {6}).BlobAt(0x0201, ftLong, 1, Small).Long(0x0202, {uint32_t(Small.size())});
  auto Exif = std::make_shared<TIfd>();
  Exif->Rational(0x829A, {{1, 125}});
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon").Short(0x0112, {6}).Ascii(0x010E, "tab\there").SubIfd(0x8769, Exif);
  Ifd0.Next = Ifd1;
  return JpegWith({ExifSegment(TiffBlock(Ifd0)), CommentSegment(Comment)});
}

nlohmann::json DumpJson(const TDumpInput& Input) {
  std::ostringstream Out;
  WriteDumpJson(Out, Input);
  return nlohmann::json::parse(Out.str());
}

TEST(DumpFormat, TextSections) {
  TEXIF Doc;
  LoadBytes(Doc, Photo("one\r\ntwo\rthree\nfour\x07\n"));
  std::ostringstream Out;
  WriteDumpText(Out, {"photo.jpg", Doc});
  EXPECT_EQ(Out.str(),
            "== photo.jpg\n"
            "[IFD 0]\n"
            "0x10F\tEquipment Make\tCanon\n"
            "0x112\tOrientation\tRight-hand Top (6)\n"
            "0x10E\tImage Description\ttab\\x09here\n"
            "[EXIF Sub IFD]\n"
            "0x829A\tExposure Time\t0.008f (1/125) s\n"
            "[EXIF Interoperability IFD]\n"
            "[Maker Note]\n"
            "[IFD 1]\n"
            "0x103\tCompression\tJPEG Compression (thumbnails only)\n"
            "0x201\tJpeg IF Offset\t" + std::to_string(TruncToInt64(Doc.EXIF_IFD1Tag(1).NumericValue[0])) + "\n"
            "0x202\tJpeg IF Byte Count\t" + std::to_string(MakeJpeg(16, 8).size()) + "\n"
            "[GPS]\n"
            "[Thumbnail]\n"
            "16 x 8\n"
            "[XMP]\n"
            "[IPTC]\n"
            "[Comment]\n"
            "one\ntwo\nthree\nfour\\x07\n");
}

TEST(DumpFormat, EmptySectionsAndImage) {
  TEXIF Doc;
  LoadBytes(Doc, {0x89, 'P', 'N', 'G'});
  std::ostringstream Out;
  WriteDumpText(Out, {"x\n.png", Doc, true, TPictureSize{3, 4}});
  EXPECT_EQ(Out.str(),
            "== x\\x0A.png\n[IFD 0]\n[EXIF Sub IFD]\n[EXIF Interoperability IFD]\n[Maker Note]\n"
            "[IFD 1]\n[GPS]\n[Image]\n3 x 4\n[Thumbnail]\n[XMP]\n[IPTC]\n[Comment]\n");
  std::ostringstream Json;
  WriteDumpJson(Json, {"x.png", Doc, true, TPictureSize{3, 4}});
  EXPECT_EQ(Json.str(),
            "  {\n    \"comment\": \"\",\n    \"exif\": [],\n    \"file\": \"x.png\",\n    \"format\": \"unknown\",\n    \"gps\": [],\n"
            "    \"ifd0\": [],\n    \"ifd1\": [],\n    \"image\": {\n      \"height\": 4,\n      \"width\": 3\n    },\n"
            "    \"interop\": [],\n    \"iptc\": [],\n    \"makerNote\": [],\n    \"makerNoteFormat\": \"mnfUnknown\",\n"
            "    \"thumbnail\": null,\n    \"xmp\": []\n  }");
}

TEST(DumpFormat, Json) {
  TEXIF Doc;
  LoadBytes(Doc, Photo("note"));
  const nlohmann::json File = DumpJson({"photo.jpg", Doc});
  EXPECT_EQ(File["file"], "photo.jpg");
  EXPECT_EQ(File["makerNoteFormat"], "mnfCanon");
  ASSERT_EQ(File["ifd0"].size(), 3u);
  const nlohmann::json& Orientation = File["ifd0"][1];
  EXPECT_EQ(Orientation["tag"], 0x112);
  EXPECT_EQ(Orientation["name"], "Orientation");
  EXPECT_EQ(Orientation["units"], "");
  EXPECT_EQ(Orientation["dim"], 1);
  EXPECT_EQ(Orientation["typ"], 3);
  EXPECT_EQ(Orientation["numbers"], nlohmann::json({6.0, 0.0, 0.0, 0.0}));
  EXPECT_EQ(Orientation["string"], "");
  EXPECT_EQ(Orientation["value"], "Right-hand Top (6)");
  EXPECT_EQ(File["exif"][0]["value"], "0.008f (1/125) s");
  EXPECT_EQ(File["interop"], nlohmann::json::array());
  EXPECT_EQ(File["thumbnail"], nlohmann::json({{"width", 16}, {"height", 8}}));
  EXPECT_EQ(File["comment"], "note");
  EXPECT_FALSE(File.contains("image"));
}

// A name that is not UTF-8 also gives its bytes in hex, in "fileBytes"
// right after "file"; a valid name has no such member.
TEST(DumpFormat, JsonFileBytes) {
  const TEXIF Doc;
  const std::pair<std::string, std::string> Cases[] = {
      {"caf\xC3\xA9.jpg", "\"file\":\"caf\xC3\xA9.jpg\",\"format\""},
      {"caf\xE9.jpg", "\"file\":\"caf\xEF\xBF\xBD.jpg\",\"fileBytes\":\"636166e92e6a7067\",\"format\""},
      {"\xED\xA0\x80", "\"file\":\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\",\"fileBytes\":\"eda080\",\"format\""},
  };
  for (const auto& [Name, Members] : Cases) {
    std::string Out;
    AppendDumpJson(Out, {Name, Doc}, TJsonLayout::jlCompact);
    EXPECT_NE(Out.find(Members), std::string::npos) << Out;
    EXPECT_TRUE(nlohmann::json::accept(Out));
  }
}

// A line per row: fields escaped as the text escapes them (a tab, a line
// break), and in quotes, quotes doubled, when they hold a comma or a quote.
TEST(DumpFormat, CsvRows) {
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon").Ascii(0x010E, "tab\there, \"quoted\"\nnext");
  TEXIF Doc;
  LoadBytes(Doc, TiffBlock(Ifd0));
  std::string Csv;
  AppendDumpCsv(Csv, {"dir/a,\"b\"\r.tif", Doc, true, TPictureSize{3, 4}});
  const std::string File = "\"dir/a,\"\"b\"\"\\x0D.tif\"";
  EXPECT_EQ(Csv, File + ",IFD 0,0x10F,Equipment Make,Canon\n" + File +
                     ",IFD 0,0x10E,Image Description,\"tab\\x09here, \"\"quoted\"\"\\x0Anext\"\n" + File +
                     ",Image,,size,3 x 4\n");
  EXPECT_EQ(CsvHeader, "file,section,tag,name,value\n");
}

// The XMP and IPTC sections stand between the thumbnail's and the comment's;
// their JSON objects say a sidecar's rows; the CSV's tag is the path or R:D.
TEST(DumpFormat, XmpAndIptc) {
  const TTempDir Dir;
  const std::string Name = Dir.Write(
      "photo.jpg", JpegWith({XmpSegment(XmpPacket("<rdf:Description><xmp:Label>a\tb</xmp:Label></rdf:Description>")),
                             PhotoshopSegment(PhotoshopResource(0x0404, IptcDataset(2, 25, "sea"))), CommentSegment("c")}));
  Dir.Write("photo.xmp", BytesOf(XmpPacket("<rdf:Description xmp:Rating='5'/>")));
  TEXIF Doc;
  Doc.LoadFromFile(Name);
  std::ostringstream Out;
  WriteDumpText(Out, {"photo.jpg", Doc});
  EXPECT_NE(Out.str().find("[Thumbnail]\n"
                           "[XMP]\n"
                           "xmp:Label\tLabel\ta\\x09b\n"
                           "xmp:Rating\tRating (sidecar)\t5\n"
                           "[IPTC]\n"
                           "2:25\tKeywords\tsea\n"
                           "[Comment]\n"
                           "c\n"),
            std::string::npos)
      << Out.str();
  std::string Line;
  AppendDumpJson(Line, {"photo.jpg", Doc}, TJsonLayout::jlCompact);
  EXPECT_NE(Line.find(R"("iptc":[{"dataset":25,"name":"Keywords","record":2,"value":"sea"}])"), std::string::npos);
  EXPECT_NE(Line.find(R"("xmp":[{"name":"Label","path":"xmp:Label","value":"a\tb"},)"
                      R"J({"name":"Rating (sidecar)","path":"xmp:Rating","sidecar":true,"value":"5"}])J"),
            std::string::npos)
      << Line;
  std::string Csv;
  AppendDumpCsv(Csv, {"photo.jpg", Doc});
  EXPECT_EQ(Csv,
            "photo.jpg,XMP,xmp:Label,Label,a\\x09b\n"
            "photo.jpg,XMP,xmp:Rating,Rating (sidecar),5\n"
            "photo.jpg,IPTC,2:25,Keywords,sea\n");
}

TEST(DumpFormat, JsonNonFiniteNumbersAreNull) {
  TIfd Ifd0;
  Ifd0.Float(0x0102, std::numeric_limits<float>::quiet_NaN());
  TEXIF Doc;
  LoadBytes(Doc, TiffBlock(Ifd0));
  const nlohmann::json File = DumpJson({"nan.tif", Doc, true});
  EXPECT_TRUE(File["ifd0"][0]["numbers"][0].is_null());
  EXPECT_EQ(File["ifd0"][0]["value"], "nan");
  EXPECT_TRUE(File["image"].is_null());
  EXPECT_TRUE(File["thumbnail"].is_null());
}

}  // namespace

namespace {

// A 64 x 48 JPEG with the given Orientation code (none when negative).
TBytes OrientedJpeg(int Orientation) {
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon");
  if (Orientation >= 0) Ifd0.Short(0x0112, {uint16_t(Orientation)});
  return InsertAfterSoi(MakeJpeg(64, 48), {ExifSegment(TiffBlock(Ifd0))});
}

// TIFF data whose IFD 0 is stored as a 40 x 30 JPEG in one strip.
TBytes RawWithPreview(TIfd Ifd0) {
  const TBytes Jpeg = MakeJpeg(40, 30);
  Ifd0.Short(0x0103, {7}).BlobAt(0x0111, ftLong, 1, Jpeg).Long(0x0117, {uint32_t(Jpeg.size())});
  return TiffBlock(Ifd0);
}

struct TImageCase {
  const char* Name;
  TBytes Bytes;
  std::optional<TPictureSize> Size;
};

// A 64 x 48 PNG picture with an eXIf chunk before its end.
TBytes PngWithExif(const TBytes& Tiff) {
  const TBytes Png = MakePng({.Width = 64, .Height = 48, .Samples = [](int, int) {
                                return std::array<uint16_t, 4>{10, 20, 30, 0};
                              }});
  const TBytes End(Png.end() - 12, Png.end());  // IEND
  return Concat({TBytes(Png.begin(), Png.end() - 12), PngChunk("eXIf", Tiff), End});
}

// A 64 x 48 WebP picture with an EXIF chunk after its picture.
TBytes WebpWithExif(const TBytes& Tiff) {
  TBytes Webp = MakeWebp(64, 48, [](int, int) { return 0xFF102030u; }, true);
  Webp = Concat({Webp, RiffChunk("EXIF", Tiff)});
  const TBytes Size = U32(static_cast<uint32_t>(Webp.size() - 8));
  std::copy(Size.begin(), Size.end(), Webp.begin() + 4);
  return Webp;
}

TBytes TestData(const std::string& Name) {
  const TByteBuffer Bytes = ReadWholeFile(std::string(LUMENTAG_TEST_DATA) + "/" + Name);
  return TBytes(Bytes.begin(), Bytes.end());
}

// The size of the Image tab: turned by the orientation, nothing when the
// file does not decode.
TEST(DumpFormat, ImageTabSize) {
  TIfd Tiff;
  Tiff.Ascii(0x010F, "Canon").Short(0x0112, {6});
  const TImageCase Cases[] = {
      {"no orientation", OrientedJpeg(-1), TPictureSize{64, 48}},
      {"orientation 1", OrientedJpeg(1), TPictureSize{64, 48}},
      {"orientation 2, never mirrored", OrientedJpeg(2), TPictureSize{64, 48}},
      {"orientation 3", OrientedJpeg(3), TPictureSize{64, 48}},
      {"orientation 4", OrientedJpeg(4), TPictureSize{64, 48}},
      {"orientation 5", OrientedJpeg(5), TPictureSize{48, 64}},
      {"orientation 6", OrientedJpeg(6), TPictureSize{48, 64}},
      {"orientation 7", OrientedJpeg(7), TPictureSize{48, 64}},
      {"orientation 8", OrientedJpeg(8), TPictureSize{48, 64}},
      {"unknown orientation 9", OrientedJpeg(9), TPictureSize{64, 48}},
      {"TIFF data is no JPEG picture", TiffBlock(Tiff), std::nullopt},
      {"PNG, orientation 6 in eXIf", PngWithExif(TiffBlock(Tiff)), TPictureSize{48, 64}},
      {"WebP, orientation 6 in EXIF", WebpWithExif(TiffBlock(Tiff)), TPictureSize{48, 64}},
      {"HEIC turned by irot, its orientation 6 not applied again", TestData("quadrants-irot-orientation6.heic"),
       TPictureSize{48, 64}},
      {"AVIF", TestData("quadrants-alpha.avif"), TPictureSize{64, 48}},
      {"GIF, no kind the reader shows", BytesOf("GIF89a\x40\x00\x30\x00"), std::nullopt},
      {"raw file: its preview, turned", RawWithPreview(Tiff), TPictureSize{30, 40}},
      {"header of 60000 x 60000", WithDeclaredSize(MakeJpeg(8, 8), 60000, 60000), std::nullopt},
  };
  const TTempDir Dir;
  for (const TImageCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    const std::string File = Dir.Write("picture.jpg", Case.Bytes);
    TEXIF Doc;
    Doc.LoadFromFile(File);
    const auto Size = ImageTabSize(Doc);
    ASSERT_EQ(Size.has_value(), Case.Size.has_value());
    if (!Size) continue;
    EXPECT_EQ(Size->Width, Case.Size->Width);
    EXPECT_EQ(Size->Height, Case.Size->Height);
  }
  // A document whose file has gone shows no picture.
  TEXIF Doc;
  EXPECT_FALSE(ImageTabSize(Doc).has_value());
}

}  // namespace
