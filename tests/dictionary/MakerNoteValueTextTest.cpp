#include <gtest/gtest.h>

#include "EXIF_Defs.h"
#include "Records.h"

namespace {

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
  };
  for (const TCase& Case : Cases)
    EXPECT_EQ(MakerNoteValueText(Case.Format, Case.Rec), Case.Expected) << Case.What;
}

}  // namespace
