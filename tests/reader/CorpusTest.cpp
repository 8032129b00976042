// The real photos of the shared corpus: every file loads, and the rows that
// matter read what exiftool reads from the same files.
#include <gtest/gtest.h>

#include "Corpus.h"
#include "EXIF_Intf.h"
#include "TagViews.h"

namespace {

TEST(Corpus, EveryFileLoads) {
  SKIP_WITHOUT_CORPUS();
  const std::vector<std::string> Files = CorpusFiles();
  EXPECT_GE(Files.size(), 29u);
  TEXIF Doc;
  for (const std::string& File : Files) {
    EXPECT_NO_THROW(Doc.LoadFromFile(File)) << File;
    EXPECT_EQ(Doc.FileName(), File);
  }
}

enum TSection { sIFD0, sEXIF, sInterop, sMaker, sIFD1, sGPS };

// The value text of the first row of Section whose tag and name match.
std::string ValueOf(const TEXIF& Doc, TSection Section, uint16_t Tag, std::string_view Name) {
  std::string Value = "<no row>";
  bool Found = false;
  const TTagView& View = TagViews[Section];
  ForEachRecord(Doc, View, [&](const TEXIFTag& Rec) {
    if (Found || Rec.Header.Tag != Tag || Rec.Header.Name != Name) return;
    Found = true;
    Value = View.ValueText(Doc, Rec);
  });
  return Value;
}

struct TRowCase {
  const char* File;
  TSection Section;
  uint16_t Tag;
  const char* Name;
  const char* Value;
};

// Each expectation was checked against exiftool's reading of the same tag.
const TRowCase CorpusRows[] = {
    {"es-Canon_PowerShot_S40.jpg", sIFD0, 0x0110, "Camera Model", "Canon PowerShot S40"},
    {"es-Canon_PowerShot_S40.jpg", sEXIF, 0x829A, "Exposure Time", "0.002f (1/500) s"},
    {"es-Canon_PowerShot_S40.jpg", sEXIF, 0x829D, "F-Number", "4.9f (49/10)"},
    {"es-Canon_PowerShot_S40.jpg", sEXIF, 0x9209, "Flash Mode", "Flash did not fire, auto mode"},
    {"es-Canon_PowerShot_S40.jpg", sEXIF, 0x9207, "Metering Mode", "Center weighted-average"},
    {"es-Canon_PowerShot_S40.jpg", sInterop, 0x0001, "Interoperability Index", "R98"},
    {"es-Canon_PowerShot_S40.jpg", sIFD1, 0x0202, "Jpeg IF Byte Count", "5448"},
    {"es-Canon_PowerShot_S40.jpg", sMaker, 0x0001, "Macro Mode", "Normal"},
    {"es-Canon_PowerShot_S40.jpg", sMaker, 0x0003, "Quality", "Superfine"},
    {"es-Canon_PowerShot_S40.jpg", sMaker, 0x0004, "Flash Mode", "Auto"},
    {"es-Canon_PowerShot_S40.jpg", sMaker, 0x0007, "Focus Mode", "Single"},
    {"es-Canon_PowerShot_S40.jpg", sMaker, 0x0010, "ISO", "100"},
    {"es-Canon_PowerShot_S40.jpg", sMaker, 0x0007, "White Balance", "Auto"},
    {"es-Canon_PowerShot_S40.jpg", sMaker, 0x0018, "Lens Attached", "(7 - 21) mm"},
    {"es-Canon_PowerShot_S40.jpg", sMaker, 0x0013, "AF Point Selected", "Center"},
    {"et-Canon.jpg", sMaker, 0x0004, "Flash Mode", "Flash not fired"},
    {"et-Canon.jpg", sMaker, 0x0007, "Focus Mode", "MF"},
    {"et-Canon.jpg", sMaker, 0x0007, "White Balance", "Auto"},
    {"et-Canon.jpg", sMaker, 0x0018, "Lens Attached", "(18 - 55) mm"},
    {"et-Canon.jpg", sMaker, 0x0009, "Owner Name", "Phil Harvey"},
    {"et-Canon.jpg", sInterop, 0x1001, "Related Image Width", "3072 px"},
    {"et-FujiFilm.jpg", sMaker, 0x1001, "Sharpness", "Normal"},
    {"et-FujiFilm.jpg", sMaker, 0x1002, "White Balance", "Auto"},
    {"et-FujiFilm.jpg", sMaker, 0x1010, "Flash Mode", "Red-eye reduction"},
    {"et-FujiFilm.jpg", sMaker, 0x0000, "Version", "0130"},
    {"es-Fujifilm_FinePix_E500.jpg", sMaker, 0x1010, "Flash Mode", "Off"},
    {"es-Fujifilm_FinePix_E500.jpg", sMaker, 0x1020, "Macro", "On"},
    {"et-Casio.jpg", sMaker, 0x0001, "Recording Mode", "Single Shutter"},
    {"et-Casio.jpg", sMaker, 0x0002, "Quality", "Fine"},
    {"et-Casio.jpg", sMaker, 0x0006, "Object Distance", "2500 mm"},
    {"et-Minolta.jpg", sMaker, 0x0001, "Exposure Mode", "P"},
    {"et-Minolta.jpg", sMaker, 0x0003, "White Balance", "Auto"},
    {"et-Minolta.jpg", sMaker, 0x0004, "Image Size", "2560 x 1920 (2048 x 1536)"},
    {"et-Minolta.jpg", sMaker, 0x0005, "Image Quality", "Fine"},
    {"et-Olympus.jpg", sMaker, 0x0201, "JPEG Quality", "Standard"},
    {"et-Olympus.jpg", sMaker, 0x0202, "Macro", "Normal"},
    {"et-Panasonic.jpg", sMaker, 0x001F, "Shooting Mode", "Program"},
    {"et-Panasonic.jpg", sMaker, 0x001A, "Image Stabilizer", "Mode 2"},
    {"et-Panasonic.jpg", sMaker, 0x0020, "Audio", "No"},
    {"et-GPS.jpg", sGPS, 0x0002, "Latitude", "54\u00B0 59.38\u2019"},
    {"et-GPS.jpg", sGPS, 0x0003, "Longiture Ref", "West"},
    {"et-GPS.jpg", sGPS, 0x0000, "Version ID", "0002"},
    {"es-DSCN0010.jpg", sGPS, 0x0002, "Latitude", "43\u00B0 28\u2019 2.814\u201C"},
    {"es-DSCN0010.jpg", sGPS, 0x0012, "Map Datum", "WGS-84"},
    {"es-DSCN0010.jpg", sGPS, 0x0000, "Version ID", "<no row>"},  // the directory has none
    {"es-IMG_5195.HEIC", sIFD0, 0x0110, "Camera Model", "iPhone 11 Pro Max"},
    {"es-IMG_5195.HEIC", sEXIF, 0x829A, "Exposure Time", "0.00255754475703325f (1/391) s"},
    {"es-IMG_5195.HEIC", sGPS, 0x0002, "Latitude", "39\u00B0 3\u2019 4.84\u201C"},
    {"es-IMG_5195.HEIC", sGPS, 0x0004, "Longitude", "94\u00B0 17\u2019 19.58\u201C"},
    {"es-samplefilehub.heif", sIFD0, 0x0112, "Orientation", "Top Left-hand (1)"},
    {"es-DSCN0010.jpg", sMaker, 0x000F, "ISO selection", "AUTO"},
    {"es-DSCN0010.jpg", sMaker, 0x0080, "Image Adjustment", "NORMAL"},
    {"es-DSCN0010.jpg", sMaker, 0x0082, "Auxilitary Lens", "OFF"},
    {"es-DSCN0010.jpg", sMaker, 0x0086, "Digital Zoom", "1 (1/1) x"},
    {"es-DSCN0010.jpg", sMaker, 0x0088, "AF Focus Position", ""},
    {"es-DSCN0010.jpg", sEXIF, 0xA405, "Focal Length In 35mm Film", "112 mm"},
    {"es-67-0_length_string.jpg", sGPS, 0x0006, "Altitude", "340 (340/1) m"},
    {"es-67-0_length_string.jpg", sGPS, 0x0010, "Image Direction Ref", "Magnetic North"},
    {"es-67-0_length_string.jpg", sEXIF, 0xA002, "Image Width", "4032 px"},
    {"es-Arbitro.tiff", sIFD0, 0x0102, "Bits Per Sample", "8"},
    {"es-Arbitro.tiff", sIFD0, 0x0115, "Samples Per Pixel", "4"},
    {"et-ExifTool.tif", sIFD0, 0x010E, "Image Description", "The picture caption"},
    {"et-ExifTool.tif", sIFD0, 0x011A, "X Resolution", "180 (1800/10) px"},
    {"es-Konica_Minolta_DiMAGE_Z3.jpg", sEXIF, 0x9203, "Brightness", "-0.5f (-5/10)"},
    {"es-Nikon_D70.jpg", sEXIF, 0x9204, "Exposure Bias", "-1f (-1/1)EV"},
    {"es-landscape_6.jpg", sIFD0, 0x0112, "Orientation", "Right-hand Top (6)"},
    {"et-Apple.jpg", sMaker, 0x0001, "Maker Note Version", "4"},
    {"et-Apple.jpg", sMaker, 0x0004, "AE Stable", "Yes"},
    {"et-Apple.jpg", sMaker, 0x0005, "AE Target", "177"},
    {"et-Apple.jpg", sMaker, 0x0006, "AE Average", "185"},
    {"et-Apple.jpg", sMaker, 0x0007, "AF Stable", "Yes"},
    // exiftool: -0.6483164083 0.002264119004 -0.7500767578
    {"et-Apple.jpg", sMaker, 0x0008, "Acceleration Vector", "-0.648316408337787 (-1213/1871 107/47259 -2443/3257)"},
    // exiftool: 0.5390625 0.68359375
    {"et-Apple.jpg", sMaker, 0x000C, "Focus Distance Range", "0.5390625 (69/128 175/256) m"},
    {"et-Apple.jpg", sMaker, 0x000F, "OIS Mode", "2"},
    {"et-Apple.jpg", sMaker, 0x0014, "Image Capture Type", "5"},
    {"es-IMG_5195.HEIC", sMaker, 0x0001, "Maker Note Version", "12"},
    // exiftool: 0.04538494722 -0.8529752501 -0.4998340304
    {"es-IMG_5195.HEIC", sMaker, 0x0008, "Acceleration Vector", "0.0453849472152301 (9574/210951 -8099/9495 -7529/15063)"},
    // exiftool: 0.609375 0.3671875
    {"es-IMG_5195.HEIC", sMaker, 0x000C, "Focus Distance Range", "0.609375 (39/64 47/128) m"},
    {"es-IMG_5195.HEIC", sMaker, 0x0011, "Content Identifier", "570F1469-09C7-4E50-9875-05F21D5BD166"},
    {"es-IMG_5195.HEIC", sMaker, 0x0014, "Image Capture Type", "Photo"},
    {"es-IMG_5195.HEIC", sMaker, 0x0017, "Live Photo Video Index", "575676416"},
    {"es-IMG_5195.HEIC", sMaker, 0x0019, "Image Processing Flags", "2"},
    {"es-IMG_5195.HEIC", sMaker, 0x001A, "Quality Hint", "q900n"},
    // exiftool: 1.41934514
    {"es-IMG_5195.HEIC", sMaker, 0x0021, "HDR Headroom", "1.41934513966144 (47206/33259)"},
    {"es-IMG_5195.HEIC", sMaker, 0x0023, "AF Performance", "8 268435538"},
    {"es-IMG_5195.HEIC", sMaker, 0x0025, "Scene Flags", "134"},
    {"es-IMG_5195.HEIC", sMaker, 0x002F, "Focus Position", "237"},
};

TEST(Corpus, RowsAgreeWithExiftool) {
  SKIP_WITHOUT_CORPUS();
  TEXIF Doc;
  std::string Loaded;
  for (const TRowCase& Case : CorpusRows) {
    if (Loaded != Case.File) {
      Doc.LoadFromFile(CorpusFile(Case.File));
      Loaded = Case.File;
    }
    EXPECT_EQ(ValueOf(Doc, Case.Section, Case.Tag, Case.Name), Case.Value) << Case.File << " " << Case.Name;
  }
}

TEST(Corpus, FormatsCommentsAndThumbnails) {
  SKIP_WITHOUT_CORPUS();
  struct TCase {
    const char* File;
    TMakerNoteFormat Format;
    int MakerRows;  // -1: any number above 0
    const char* Comment;
    int ThumbnailWidth;  // 0: none
  };
  const TCase Cases[] = {
      {"et-Canon.jpg", mnfCanon, -1, "", 0},
      {"et-Nikon.jpg", mnfNikon, 0, "", 0},  // an older Nikon layout: nothing at the fixed offset
      {"es-DSCN0010.jpg", mnfNikon, 5, "", 160},  // a note with its own TIFF header
      {"et-Unknown.jpg", mnfUnknown, 0, "", 0},
      {"es-Konica_Minolta_DiMAGE_Z3.jpg", mnfUnknown, 0, "", 49},
      {"es-Nikon_D70.jpg", mnfNikon, 0, "comment in GIMP 2.4.5", 66},
      {"es-Canon_PowerShot_S40.jpg", mnfCanon, 23, "", 160},
      {"es-corrupted.jpg", mnfOlympus, 0, "", 160},  // a newer Olympus header: nothing at the fixed offset
      {"es-image01088.jpg", mnfUnknown, 0, "", 0},
      // the 11 of its 14 entries that ExifTool names (not 0x000D, 0x000E, 0x0010)
      {"et-Apple.jpg", mnfApple, 11, "", 0},
      // the 22 of its 37 entries that ExifTool names
      {"es-IMG_5195.HEIC", mnfApple, 22, "", 0},
      {"es-67-0_length_string.jpg", mnfSamsung, 0, "", 0},  // a phone's photo without a maker note
  };
  TEXIF Doc;
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.File);
    Doc.LoadFromFile(CorpusFile(Case.File));
    EXPECT_EQ(Doc.MakerNoteFormat(), Case.Format);
    if (Case.MakerRows < 0)
      EXPECT_GT(Doc.MakerNoteCount(), 0);
    else
      EXPECT_EQ(Doc.MakerNoteCount(), Case.MakerRows);
    EXPECT_EQ(Doc.Comment(), Case.Comment);
    EXPECT_EQ(Doc.Thumbnail() ? Doc.Thumbnail()->Width() : 0, Case.ThumbnailWidth);
  }
}

// Every photo of the corpus with XMP or IPTC gives as many values as
// exiftool reads there (-xmp:all -iptc:all), each one of them; some files'
// rows exactly.
TEST(Corpus, XmpAndIptcRows) {
  SKIP_WITHOUT_CORPUS();
  const struct {
    const char* File;
    size_t XmpRows, IptcRows;
    const char* Rows;  // "path|name|value" lines of the XMP rows, then the IPTC rows; null: not compared
  } Cases[] = {
      {"es-67-0_length_string.jpg", 2, 0, nullptr},
      {"es-Arbitro.tiff", 2, 0, "x:xmptk|Xmptk|XMP Core 5.1.2\ntiff:Compression|Compression|5\n"},
      {"es-BlueSquare.jpg", 33, 8, nullptr},
      {"es-DSCN0010.jpg", 2, 0, "x:xmptk|Xmptk|Public XMP Toolkit Core 3.5\nMicrosoftPhoto:Rating|Rating|0\n"},
      {"es-IMG_5195.HEIC", 5, 0,
       "x:xmptk|Xmptk|XMP Core 6.0.0\nxmp:CreateDate|Create Date|2021-04-11T15:47:53\n"
       "xmp:CreatorTool|Creator Tool|14.4.2\nxmp:ModifyDate|Modify Date|2021-04-11T15:47:53\n"
       "photoshop:DateCreated|Date Created|2021-04-11T15:47:53\n"},
      {"es-Nikon_D70.jpg", 79, 0, nullptr},
      {"es-image01088.jpg", 277, 0, nullptr},
      {"es-landscape_1.jpg", 7, 2, nullptr},
      {"es-long_description.jpg", 33, 0, nullptr},
      {"es-samplefilehub.heif", 2, 0, nullptr},
      {"et-ExifTool.tif", 0, 19,
       "2:0|Record Version|2\n2:120|Caption/Abstract|The picture caption\n2:122|Writer/Editor|I wrote it\n"
       "2:40|Special Instructions|no instructions\n2:80|By-line|I'm the author\n2:85|By-line Title|On top\n"
       "2:110|Credit|Phil Harvey\n2:115|Source|My camera\n2:5|Object Name|This is the title\n"
       "2:55|Date Created|2004-02-20\n2:90|City|Kingston\n2:95|Province/State|Ontario\n"
       "2:101|Country/Primary Location Name|Canada\n2:103|Original Transmission Reference|no reference\n"
       "2:25|Keywords|exiftool\n2:25|Keywords|test\n2:25|Keywords|picture\n2:116|Copyright Notice|Copyright notice\n"
       "2:105|Headline|headline\n"},
      {"et-GPS.jpg", 0, 18, nullptr},
  };
  TEXIF Doc;
  size_t Files = 0;
  for (const std::string& File : CorpusFiles()) {
    Doc.LoadFromFile(File);
    Files += !Doc.XmpProperties().empty() || !Doc.IptcDatasets().empty();
  }
  EXPECT_EQ(Files, std::size(Cases));
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.File);
    Doc.LoadFromFile(CorpusFile(Case.File));
    EXPECT_EQ(Doc.XmpProperties().size(), Case.XmpRows);
    EXPECT_EQ(Doc.IptcDatasets().size(), Case.IptcRows);
    if (Case.Rows == nullptr) continue;
    std::string Rows;
    for (const TXmpProperty& Row : Doc.XmpProperties()) Rows += Row.Path + '|' + Row.Name + '|' + Row.Value + '\n';
    for (const TIptcDataset& Row : Doc.IptcDatasets())
      Rows += std::to_string(Row.Record) + ':' + std::to_string(Row.Dataset) + '|' + Row.Name + '|' + Row.Value + '\n';
    EXPECT_EQ(Rows, Case.Rows);
  }
  Doc.LoadFromFile(CorpusFile("es-landscape_1.jpg"));  // UTF-8 records
  EXPECT_EQ(Doc.IptcDatasets()[0].Value, "ESC % G");
  Doc.LoadFromFile(CorpusFile("es-Nikon_D70.jpg"));
  EXPECT_EQ(Doc.XmpProperties()[44].Path, "exif:Flash/exif:Fired");
  EXPECT_EQ(Doc.XmpProperties()[26].Path, "crs:ToneCurve[2]");
  EXPECT_EQ(Doc.XmpProperties()[26].Value, "32, 22");
}

}  // namespace
