#include <gtest/gtest.h>

#include <sstream>

#include "DumpFormat.h"
#include "ExifWriter.h"
#include "JpegMaker.h"
#include "ValueFormat.h"

namespace {

TEST(DumpFormat, TagColumnAndEscapes) {
  EXPECT_EQ(TagColumnText(0x0112), "0x112");
  EXPECT_EQ(TagColumnText(0x010F), "0x10F");
  EXPECT_EQ(TagColumnText(0), "0x0");
  EXPECT_EQ(TagColumnText(0xA40C), "0xA40C");
  EXPECT_EQ(EscapeControls("a\tb\x01\x1F c\u00E9"), "a\\x09b\\x01\\x1F c\u00E9");
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
            "0x201\tJpeg IF Offset\t" + FormatFixed0(Doc.EXIF_IFD1Tag(1).NumericValue[0]) + "\n"
            "0x202\tJpeg IF Byte Count\t" + std::to_string(MakeJpeg(16, 8).size()) + "\n"
            "[GPS]\n"
            "[Thumbnail]\n"
            "16 x 8\n"
            "[Comment]\n"
            "one\ntwo\nthree\nfour\\x07\n");
}

TEST(DumpFormat, EmptySectionsAndImage) {
  TEXIF Doc;
  LoadBytes(Doc, {0x89, 'P', 'N', 'G'});
  std::ostringstream Out;
  WriteDumpText(Out, {"x.png", Doc, true, TPictureSize{3, 4}});
  EXPECT_EQ(Out.str(),
            "== x.png\n[IFD 0]\n[EXIF Sub IFD]\n[EXIF Interoperability IFD]\n[Maker Note]\n"
            "[IFD 1]\n[GPS]\n[Image]\n3 x 4\n[Thumbnail]\n[Comment]\n");
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
