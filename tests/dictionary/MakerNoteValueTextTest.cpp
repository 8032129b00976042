#include <gtest/gtest.h>

#include <vector>

#include "EXIF_Defs.h"
#include "Records.h"

namespace {

// A record of several whole numbers, as the reader decodes a maker-note tag
// whose Dim is Dim: the numbers, and their list as text.
TEXIFTag ListRecord(uint16_t Tag, uint16_t Typ, uint8_t Dim, std::vector<double> Numbers) {
  TEXIFTag Rec = Record(Tag, Typ, 0);
  Rec.Header.Dim = Dim;
  for (size_t Index = 0; Index < Numbers.size(); ++Index) {
    Rec.NumericValue[Index] = Numbers[Index];
    Rec.StringValue += (Index > 0 ? " " : "") + std::to_string(static_cast<int64_t>(Numbers[Index]));
  }
  return Rec;
}

TEST(MakerNoteValueText, WordsPerFormat) {
  struct TCase {
    const char* What;
    TMakerNoteFormat Format;
    TEXIFTag Rec;
    const char* Expected;
  };
  const TCase Cases[] = {
      {"canon text setting", mnfCanon, Record(1, ftAscii, 0, "Macro"), "Macro"},
      {"canon self timer", mnfCanon, Record(2, ftShort, 2000, "", " ms"), "2000 ms"},
      {"minolta has no table", mnfMinolta, Record(0x0003, ftShort, 5), "5"},
      {"unknown format", mnfUnknown, Record(0x0003, ftShort, 5), "5"},
      {"nikon quality 13 unlisted", mnfNikon, Record(0x0003, ftShort, 13), "13"},
      {"nikon quality 5", mnfNikon, Record(0x0003, ftShort, 5), "SXGA Normal"},
      {"nikon quality 12", mnfNikon, Record(0x0003, ftShort, 12), "UXGA Fine"},
      {"nikon ccd 1 unlisted", mnfNikon, Record(0x0006, ftShort, 1), "1"},
      {"nikon ccd 5", mnfNikon, Record(0x0006, ftShort, 5), "ISO 100"},
      {"nikon color 2.7", mnfNikon, Record(0x0004, ftShort, 2.7), "Monochrome"},
      {"nikon colour", mnfNikon, Record(0x0004, ftShort, 1), "Colour"},
      {"nikon adjustment", mnfNikon, Record(0x0005, ftShort, 2), "Bright -"},
      {"nikon converter", mnfNikon, Record(0x000B, ftShort, 1), "Fish-eye"},
      {"nikon text matched by number", mnfNikon, Record(0x0007, ftAscii, 3, "AUTO"), "Incandescence"},
      {"nikon focus has no words", mnfNikon, Record(0x0008, ftAscii, 0, "AF-S"), "AF-S"},
      {"nikon zoom units", mnfNikon, Record(0x0086, ftRational, 1.5, "3/2", " x"), "1.5 (3/2) x"},
      {"olympus special 1", mnfOlympus, Record(0x0200, ftLong, 1), "unknown"},
      {"olympus quality 3", mnfOlympus, Record(0x0201, ftShort, 3), "Super High"},
      {"olympus macro", mnfOlympus, Record(0x0202, ftShort, 1), "Macro"},
      {"panasonic spot 16", mnfPanasonic, Record(0x000F, ftShort, 16), "Off"},
      {"panasonic spot 0", mnfPanasonic, Record(0x000F, ftShort, 0), "0"},
      {"panasonic focus 3 unlisted", mnfPanasonic, Record(0x0007, ftShort, 3), "3"},
      {"panasonic night scenery", mnfPanasonic, Record(0x001F, ftShort, 21), "Night Scenery"},
      {"panasonic b&w", mnfPanasonic, Record(0x0028, ftShort, 4), "B&W"},
      {"panasonic noise", mnfPanasonic, Record(0x002D, ftShort, 2), "High"},
      {"panasonic wb adjust units", mnfPanasonic, Record(0x0023, ftSShort, -2, "", " 1/3EV"), "-2 1/3EV"},
      {"fuji custom", mnfFuji, Record(0x1002, ftShort, 3840), "Custom"},
      {"fuji 3841", mnfFuji, Record(0x1002, ftShort, 3841), "3841"},
      {"fuji incandenscence", mnfFuji, Record(0x1002, ftShort, 1024), "Incandenscence"},
      {"fuji sharpness 2", mnfFuji, Record(0x1001, ftShort, 2), "Soft"},
      {"fuji flash red-eye", mnfFuji, Record(0x1010, ftShort, 3), "Red-eye reduction"},
      {"fuji picture 768", mnfFuji, Record(0x1031, ftShort, 768), "Manual"},
      {"fuji strength units", mnfFuji, Record(0x1011, ftSRational, 0, "0/100", " EV"), "0 (0/100) EV"},
      {"fuji ae warning", mnfFuji, Record(0x1302, ftShort, 1), "On"},
      {"casio zoom 2x", mnfCasio, Record(0x000A, ftLong, 65537), "2x"},
      {"casio zoom 2", mnfCasio, Record(0x000A, ftLong, 2), "2"},
      {"casio ccd 64", mnfCasio, Record(0x0014, ftShort, 64), "Normal"},
      {"casio ccd 80", mnfCasio, Record(0x0014, ftShort, 80), "Normal"},
      {"casio ccd 250", mnfCasio, Record(0x0014, ftShort, 250), "+2"},
      {"casio recording 16", mnfCasio, Record(0x0001, ftShort, 16), "Landscape"},
      {"casio object distance", mnfCasio, Record(0x0006, ftLong, 1234, "", " mm"), "1234 mm"},
      {"nikon wb 3", mnfNikon, Record(0x0007, ftShort, 3), "Incandescence"},
      {"panasonic 0x0007 3", mnfPanasonic, Record(0x0007, ftShort, 3), "3"},
      {"casio wb 3", mnfCasio, Record(0x0007, ftShort, 3), "Daylight"},
      {"typ 0", mnfNikon, Record(0x0099, 0, 0), "0"},
      {"typ 12", mnfNikon, Record(0x0099, ftDouble, 0.5, "", " x"), "0.5 x"},
      {"rational without word", mnfOlympus, Record(0x0204, ftRational, 1, "100/100"), "1 (100/100)"},
      {"apple hdr image", mnfApple, Record(0x000A, ftSLong, 3), "HDR Image"},
      {"apple capture type 5 unlisted", mnfApple, Record(0x0014, ftSLong, 5), "5"},
      {"apple af stable", mnfApple, Record(0x0007, ftSLong, 1), "Yes"},
      {"sony quality n/a", mnfSony, Record(0x0102, ftLong, 4294967295.0), "n/a"},
      {"sony scene mode", mnfSony, Record(0xB023, ftLong, 33), "HDR"},
      {"sony lens type is a number", mnfSony, Record(0xB027, ftLong, 32784), "32784"},
      {"sony hdr halves", mnfSony, Record(0x200A, ftLong, 0x00010012), "2.0 EV; HDR image (good)"},
      {"sony hdr unlisted halves", mnfSony, Record(0x200A, ftLong, 0x00070030), "48; 7"},
      {"sony file format", mnfSony, ListRecord(0xB000, ftByte, 4, {3, 3, 5, 0}), "ARW 2.3.5"},
      {"sony file format unlisted", mnfSony, ListRecord(0xB000, ftByte, 4, {9, 0, 0, 0}), "9 0 0 0"},
      {"sony quality pair", mnfSony, ListRecord(0x202E, ftShort, 2, {1, 2}), "RAW + Fine"},
      {"sony quality pair cut short", mnfSony, ListRecord(0x202E, ftShort, 2, {2}), "2"},
      {"sony low pass filter", mnfSony, ListRecord(0x2028, ftShort, 2, {65535, 65535}), "n/a"},
      {"sony signed list", mnfSony, ListRecord(0x2014, ftSLong, 2, {-3, 2}), "-3 2"},
      {"samsung cell phone", mnfSamsung, Record(0x0002, ftLong, 0x12000), "Cell Phone"},
      {"samsung smart range", mnfSamsung, Record(0xA012, ftShort, 1), "On"},
      {"pentax iso 100", mnfPentax, Record(0x0014, ftShort, 6), "100"},
      {"pentax white balance", mnfPentax, Record(0x0019, ftShort, 9), "Flash"},
      {"pentax size list", mnfPentax, ListRecord(0x0002, ftShort, 2, {640, 480}), "640 480"},
      {"rational list keeps the default text", mnfApple, Record(0x000C, ftSRational, 0.5, "1/2 3/4", " m"),
       "0.5 (1/2 3/4) m"},
  };
  for (const TCase& Case : Cases)
    EXPECT_EQ(MakerNoteValueText(Case.Format, Case.Rec), Case.Expected) << Case.What;
}

}  // namespace
