#include <gtest/gtest.h>

#include <clocale>
#include <functional>

#include "DecimalComma.h"
#include "EXIF_Defs.h"
#include "Records.h"

namespace {

struct TEnumCase {
  const char* Name;
  std::function<std::string(int32_t)> Text;
  int32_t Value;
  const char* Expected;
};

// Each enumeration: listed values (first, last, oddities) and an unlisted one.
TEST(StandardValueText, Enumerations) {
  const TEnumCase Cases[] = {
      {"Compression", CompressionText, 1, "Uncompressed"},
      {"Compression", CompressionText, 6, "JPEG Compression (thumbnails only)"},
      {"Compression", CompressionText, 7, "unknown(7)"},
      {"Photometric", PhotometricInterpretationText, 0, "none"},
      {"Photometric", PhotometricInterpretationText, 6, "YCbCr"},
      {"Photometric", PhotometricInterpretationText, 1, "unknown(1)"},
      {"Orientation", OrientationText, 1, "Top Left-hand (1)"},
      {"Orientation", OrientationText, 8, "Left-hand Bottom (8)"},
      {"Orientation", OrientationText, 0, "<unknown> (0)"},
      {"Orientation", OrientationText, 9, "<unknown> (9)"},
      {"Orientation", OrientationText, -1, "<unknown> (-1)"},
      {"Planar", PlanarConfigurationText, 2, "Planar Format"},
      {"Planar", PlanarConfigurationText, 0, "unknown(0)"},
      {"ResolutionUnit", ResolutionUnitText, 2, "inch"},
      {"ResolutionUnit", ResolutionUnitText, 3, "cm"},
      {"ResolutionUnit", ResolutionUnitText, 4, "unknown(4)"},
      {"Components", ComponentsConfigurationText, 14, "YCbCr"},
      {"Components", ComponentsConfigurationText, 112, "RGB"},
      {"Components", ComponentsConfigurationText, 0, ""},
      {"Components", ComponentsConfigurationText, 1 | 128, ""},
      {"ColorSpace", ColorSpaceText, 65535, "Uncalibrated"},
      {"ColorSpace", ColorSpaceText, 0, "unknown(0)"},
      {"ExposureProgram", ExposureProgramText, 0, "Not defined"},
      {"ExposureProgram", ExposureProgramText, 8,
       "Landscape mode (for landscape photos with the background in focus)"},
      {"ExposureProgram", ExposureProgramText, 9, "unknown(9)"},
      {"MeteringMode", MeteringModeText, 0, "unknown"},
      {"MeteringMode", MeteringModeText, 2, "Center weighted-average"},
      {"MeteringMode", MeteringModeText, 255, "unknown(255)"},
      {"LightSource", LightSourceText, 14, "Cool white fluorescent (W 3900 \u2013 4500K)"},
      {"LightSource", LightSourceText, 255, "other light source"},
      {"LightSource", LightSourceText, 16, "unknown(16)"},
      {"Flash", FlashText, 16, "Flash did not fire, compulsory flash mode"},
      {"Flash", FlashText, 95, "Flash fired, auto mode, return light detected, red-eye reduction mode"},
      {"Flash", FlashText, 2, "unknown(2)"},
      {"SensingMethod", SensingMethodText, 2, "One-chip color area sensor"},
      {"SensingMethod", SensingMethodText, 6, "unknown(6)"},
      {"SceneType", SceneTypeText, 0, "Directly photographed image"},
      {"SceneType", SceneTypeText, 1, "unknown(1)"},
      {"ExposureMode", ExposureModeText, 2, "Auto bracket"},
      {"ExposureMode", ExposureModeText, 3, "unknown(3)"},
      {"WhiteBalance", WhiteBalanceText, 1, "Manual"},
      {"WhiteBalance", WhiteBalanceText, 2, "unknown(2)"},
      {"SceneCapture", SceneCaptureTypeText, 3, "Night scene"},
      {"SceneCapture", SceneCaptureTypeText, 4, "unknown(4)"},
      {"GainControl", GainControlText, 4, "High gain down"},
      {"GainControl", GainControlText, 5, "unknown(5)"},
      {"Contrast", ContrastText, 2, "Hard"},
      {"Contrast", ContrastText, -1, "unknown(-1)"},
      {"Saturation", SaturationText, 1, "Low"},
      {"Saturation", SaturationText, 3, "unknown(3)"},
      {"Sharpness", SharpnessText, 1, "Soft"},
      {"Sharpness", SharpnessText, 3, "unknown(3)"},
      {"SubjectDistanceRange", SubjectDistanceRangeText, 0, "unknown"},
      {"SubjectDistanceRange", SubjectDistanceRangeText, 3, "Distant view"},
      {"SubjectDistanceRange", SubjectDistanceRangeText, 4, "unknown(4)"},
  };
  for (const TEnumCase& Case : Cases)
    EXPECT_EQ(Case.Text(Case.Value), Case.Expected) << Case.Name << " " << Case.Value;
}

struct TTextCase {
  const char* What;
  TEXIFTag Rec;
  const char* Expected;
};

void ExpectTexts(const std::function<std::string(const TEXIFTag&)>& Text,
                 std::initializer_list<TTextCase> Cases) {
  for (const TTextCase& Case : Cases) EXPECT_EQ(Text(Case.Rec), Case.Expected) << Case.What;
}

TEST(StandardValueText, TIFFValues) {
  ExpectTexts(TIFFValueText, {
      {"orientation 1", Record(0x0112, ftShort, 1), "Top Left-hand (1)"},
      {"orientation 0", Record(0x0112, ftShort, 0), "<unknown> (0)"},
      {"resolution unit", Record(0x0128, ftShort, 2), "inch"},
      {"compression", Record(0x0103, ftShort, 6), "JPEG Compression (thumbnails only)"},
      {"x resolution", Record(0x011A, ftRational, 72, "72/1", " px"), "72 (72/1) px"},
      {"image width short", Record(0x0100, ftShort, 640, "", " px"), "640 px"},
      {"image width long", Record(0x0100, ftLong, 640, "", " px"), "640 px"},
      {"make", Record(0x010F, ftAscii, 0, "Canon"), "Canon"},
      {"text drops units", Record(0x0100, ftAscii, 0, "abc", " px"), "abc"},
      {"signed byte", Record(0x0102, ftSByte, -5), "-5"},
      {"float", Record(0x0102, ftFloat, 1.5, "", " px"), "1.5 px"},
      {"double", Record(0x0102, ftDouble, 0.25), "0.25"},
      {"no type", Record(0x0102, 0, 0), "0"},
      {"unknown type 13", Record(0x0102, 13, 3), "3"},
      {"srational", Record(0x0102, ftSRational, -0.5, "-1/2"), "-0.5 (-1/2)"},
  });
}

TEST(StandardValueText, EXIFValues) {
  ExpectTexts(EXIFValueText, {
      {"exposure time", Record(0x829A, ftRational, 0.008, "1/125", " s"), "0.008f (1/125) s"},
      {"f-number", Record(0x829D, ftRational, 2.8, "28/10"), "2.8f (28/10)"},
      {"exposure bias", Record(0x9204, ftSRational, -1.0 / 3, "-1/3", "EV"),
       "-0.333333333333333f (-1/3)EV"},
      {"exif version", Record(0x9000, ftUndefined, 0, "0220"), "0220"},
      {"flash 16", Record(0x9209, ftShort, 16), "Flash did not fire, compulsory flash mode"},
      {"flash 2", Record(0x9209, ftShort, 2), "unknown(2)"},
      {"light 14", Record(0x9208, ftShort, 14), "Cool white fluorescent (W 3900 \u2013 4500K)"},
      {"color space", Record(0xA001, ftShort, 65535), "Uncalibrated"},
      {"components", Record(0x9101, ftUndefined, 14), "YCbCr"},
      {"metering 255", Record(0x9207, ftShort, 255), "unknown(255)"},
      {"scene type undefined", Record(0xA301, ftUndefined, 0, "\x01"), "Directly photographed image"},
      {"exposure program", Record(0x8822, ftShort, 2), "Normal program"},
      {"sensing", Record(0xA217, ftShort, 2), "One-chip color area sensor"},
      {"exposure mode", Record(0xA402, ftShort, 1), "Manual"},
      {"white balance", Record(0xA403, ftShort, 0), "Auto"},
      {"scene capture", Record(0xA406, ftShort, 1), "Landscape"},
      {"gain", Record(0xA407, ftShort, 2), "High gain up"},
      {"contrast", Record(0xA408, ftShort, 1), "Soft"},
      {"saturation", Record(0xA409, ftShort, 2), "High"},
      {"sharpness", Record(0xA40A, ftShort, 2), "Hard"},
      {"distance range", Record(0xA40C, ftShort, 1), "Macro"},
      {"iso", Record(0x8827, ftShort, 100), "100"},
      {"pixel width", Record(0xA002, ftLong, 2272, "", " px"), "2272 px"},
      {"interpretation by tag, not type", Record(0x9209, ftRational, 1.9, "19/10"), "Flash fired"},
  });
}

TEST(StandardValueText, InteropValues) {
  ExpectTexts(InteropValueText, {
      {"index", Record(0x0001, ftAscii, 0, "R98"), "R98"},
      {"width", Record(0x1001, ftShort, 640, "", " px"), "640 px"},
      {"rational plain", Record(0x1001, ftRational, 1.5, "3/2", " px"), "1.5 (3/2) px"},
  });
}

TEXIFTag Position(uint16_t Tag, double Degrees, double Minutes, double Seconds) {
  TEXIFTag Rec = Record(Tag, ftRational, Degrees);
  Rec.NumericValue[1] = Minutes;
  Rec.NumericValue[2] = Seconds;
  return Rec;
}

TEST(StandardValueText, GPSValues) {
  ExpectTexts(GPSValueText, {
      {"version", Record(0x0000, ftByte, 514), "0202"},
      {"version rounds half to even", Record(0x0000, ftByte, 2.5), "0002"},
      {"latitude ref N", Record(0x0001, ftAscii, 0, "N"), "North"},
      {"longitude ref E", Record(0x0003, ftAscii, 0, "E"), "East"},
      {"longitude ref W", Record(0x0003, ftAscii, 0, "W"), "West"},
      {"latitude ref S", Record(0x0001, ftAscii, 0, "S"), "South"},
      {"lower case shown as stored", Record(0x0001, ftAscii, 0, "n"), "n"},
      {"dest ref shown as stored", Record(0x0013, ftAscii, 0, "N"), "N"},
      {"dest longitude ref", Record(0x0015, ftAscii, 0, "W"), "W"},
      {"no seconds", Position(0x0002, 35, 40, 0), "35\u00B0 40\u2019"},
      {"seconds", Position(0x0004, 35, 40, 12.34), "35\u00B0 40\u2019 12.34\u201C"},
      {"dest latitude", Position(0x0014, 1, 2, 3), "1\u00B0 2\u2019 3\u201C"},
      {"dest longitude", Position(0x0016, 1, 2.5, 0), "1\u00B0 2.5\u2019"},
      {"altitude ref 0", Record(0x0005, ftByte, 0), "Above Sea Level"},
      {"altitude ref 1", Record(0x0005, ftByte, 1), "Below Sea Level"},
      {"altitude", Record(0x0006, ftRational, 123.4, "1234/10", "m"), "123.4 (1234/10) m"},
      {"timestamp", Record(0x0007, ftRational, 12, "12/1 30/1 5/1"), "12/1 30/1 5/1"},
      {"status A", Record(0x0009, ftAscii, 0, " A "), "Measurement Active"},
      {"status V", Record(0x0009, ftAscii, 0, "V"), "Measurement Void"},
      {"status lower a", Record(0x0009, ftAscii, 0, "a"), "Measurement Void"},
      {"measure 2", Record(0x000A, ftAscii, 0, "2"), "2D Measurement"},
      {"measure 3", Record(0x000A, ftAscii, 0, "3"), "3D Measurement"},
      {"speed K", Record(0x000C, ftAscii, 0, "K"), "km/h"},
      {"speed M", Record(0x000C, ftAscii, 0, "M"), "mph"},
      {"speed N", Record(0x000C, ftAscii, 0, "N"), "knots"},
      {"dest distance K", Record(0x0019, ftAscii, 0, "K"), "km/h"},
      {"track M", Record(0x000E, ftAscii, 0, "M"), "Magnetic North"},
      {"image direction T", Record(0x0010, ftAscii, 0, "T"), "True North"},
      {"dest bearing empty", Record(0x0017, ftAscii, 0, ""), "True North"},
      {"differential 0", Record(0x001E, ftShort, 0), "No Correction "},
      {"differential 1", Record(0x001E, ftShort, 1), "Differential Corrected"},
      {"map datum", Record(0x0012, ftAscii, 0, "WGS-84"), "WGS-84"},
      {"satellites default", Record(0x0008, ftAscii, 0, "04"), "04"},
      {"speed rational", Record(0x000D, ftRational, 5, "5/1"), "5 (5/1) "},
  });
}

// Under a locale with a decimal comma the EXIF rational reads 0,008f (1/125) s.
TEST(StandardValueText, DecimalCommaLocale) {
  const TDecimalCommaLocale Comma;
  if (Comma.Name() == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EXPECT_EQ(EXIFValueText(Record(0x829A, ftRational, 0.008, "1/125", " s")), "0,008f (1/125) s");
  EXPECT_EQ(GPSValueText(Position(0x0002, 35, 40, 12.34)), "35\u00B0 40\u2019 12,34\u201C");
}

}  // namespace
