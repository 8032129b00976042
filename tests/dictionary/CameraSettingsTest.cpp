#include <gtest/gtest.h>

#include <functional>

#include "EXIF_Defs.h"

namespace {

using TDecoder = std::function<void(TEXIFTag&, uint32_t)>;

const TDecoder Canon1 = [](TEXIFTag& Rec, uint32_t Item) { DecodeCanonSettings1(Rec, Item); };
const TDecoder Canon2 = DecodeCanonSettings2;
const TDecoder Minolta = DecodeMinoltaSettings;

// Runs a decoder as the reader does: Tag = index, Typ = 0, the rest as left.
TEXIFTag Decode(const TDecoder& Decoder, uint32_t Index, uint32_t Item) {
  TEXIFTag Rec;
  Rec.Header.Tag = static_cast<uint16_t>(Index);
  Decoder(Rec, Item);
  return Rec;
}

struct TCase {
  const char* What;
  const TDecoder* Decoder;
  uint32_t Index;
  uint32_t Item;
  uint16_t Typ;  // 0: rejected
  const char* Name;
  const char* Text;
  double Number;
  const char* Units;
};

TEST(CameraSettings, Items) {
  const TCase Cases[] = {
      {"macro", &Canon1, 1, 1, 2, "Macro Mode", "Macro", 0, ""},
      {"self timer 0", &Canon1, 2, 0, 3, "Self Timer", "", 0, " ms"},
      {"self timer 20", &Canon1, 2, 20, 3, "Self Timer", "", 2000, " ms"},
      {"self timer max", &Canon1, 2, 65535, 3, "Self Timer", "", 6553500, " ms"},
      {"quality 5", &Canon1, 3, 5, 2, "Quality", "Superfine", 0, ""},
      {"quality 4", &Canon1, 3, 4, 0, "Quality", "", 0, ""},
      {"flash 16", &Canon1, 4, 16, 2, "Flash Mode", "External flash", 0, ""},
      {"drive", &Canon1, 5, 1, 2, "Drive Mode", "Continuous", 0, ""},
      {"index 6", &Canon1, 6, 0, 0, "", "", 0, ""},
      {"focus 3", &Canon1, 7, 3, 2, "Focus Mode", "MF", 0, ""},
      {"focus 6", &Canon1, 7, 6, 2, "Focus Mode", "MF", 0, ""},
      {"focus 7", &Canon1, 7, 7, 0, "Focus Mode", "", 0, ""},
      {"index 8", &Canon1, 8, 1, 0, "", "", 0, ""},
      {"index 9", &Canon1, 9, 1, 0, "", "", 0, ""},
      {"image size", &Canon1, 10, 2, 2, "Image Size", "Small", 0, ""},
      {"program", &Canon1, 11, 10, 2, "Program", "Macro/Close-Up", 0, ""},
      {"zoom", &Canon1, 12, 2, 2, "Digital Zoom", "4x", 0, ""},
      {"contrast low", &Canon1, 13, 65535, 2, "Contrast", "Low", 0, ""},
      {"contrast 2", &Canon1, 13, 2, 0, "Contrast", "", 0, ""},
      {"saturation", &Canon1, 14, 1, 2, "Saturation", "High", 0, ""},
      {"sharpness", &Canon1, 15, 0, 2, "Sharpness", "Normal", 0, ""},
      {"iso 0", &Canon1, 16, 0, 0, "ISO", "", 0, ""},
      {"iso 17", &Canon1, 16, 17, 2, "ISO", "100", 0, ""},
      {"metering", &Canon1, 17, 5, 2, "Metering Mode", "Center-weighted", 0, ""},
      {"focus type", &Canon1, 18, 8, 2, "Focus Type", "Locked (Pan Mode)", 0, ""},
      {"af point", &Canon1, 19, 0x3003, 2, "AF Point Selected", "Center", 0, ""},
      {"af point 3005", &Canon1, 19, 0x3005, 0, "AF Point Selected", "", 0, ""},
      {"exposure mode", &Canon1, 20, 5, 2, "Exposure Mode", "A-DEP", 0, ""},
      {"index 23", &Canon1, 23, 681, 0, "", "", 0, ""},
      {"lens raw", &Canon1, 24, 227, 2, "Lens Attached", "(227 - 0) mm", 0, ""},
      {"focal units", &Canon1, 25, 32, 3, "Focal Units per mm", "", 32, ""},
      {"flash fired", &Canon1, 28, 0, 2, "Flash Activity", "Did not fired", 0, ""},
      {"index 29", &Canon1, 29, 0, 0, "", "", 0, ""},
      {"white balance", &Canon2, 7, 6, 2, "White Balance", "Custom", 0, ""},
      {"white balance 7", &Canon2, 7, 7, 0, "White Balance", "", 0, ""},
      {"sequence 0", &Canon2, 9, 0, 3, "Sequence Number", "", 0, ""},
      {"flash bias 0", &Canon2, 15, 0, 2, "Flash Bias", "0 EV", 0, ""},
      {"flash bias 0x0C", &Canon2, 15, 0x000C, 2, "Flash Bias", "0.33 EV", 0.33, ""},
      {"flash bias 0xFFEC", &Canon2, 15, 0xFFEC, 2, "Flash Bias", "-0.67 EV", -0.67, ""},
      {"flash bias 0xFFC0", &Canon2, 15, 0xFFC0, 2, "Flash Bias", "-2 EV", -2, ""},
      {"flash bias 0x08", &Canon2, 15, 0x0008, 0, "Flash Bias", "", 0, ""},
      {"canon2 index 1", &Canon2, 1, 0, 0, "", "", 0, ""},
      {"minolta exposure", &Minolta, 1, 1, 2, "Exposure Mode", "A", 0, ""},
      {"minolta flash", &Minolta, 2, 1, 2, "Flash Mode", "Red-eye Reduction", 0, ""},
      {"minolta wb 4", &Minolta, 3, 4, 0, "White Balance", "", 0, ""},
      {"minolta wb 12", &Minolta, 3, 12, 2, "White Balance", "Custom 3", 0, ""},
      {"minolta size", &Minolta, 4, 0, 2, "Image Size", "2560 x 1920 (2048 x 1536)", 0, ""},
      {"minolta quality", &Minolta, 5, 5, 2, "Image Quality", "Extra Fine", 0, ""},
      {"minolta big item", &Minolta, 5, 0x01000000, 0, "Image Quality", "", 0, ""},
      {"minolta index 6", &Minolta, 6, 0, 0, "", "", 0, ""},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.What);
    const TEXIFTag Rec = Decode(*Case.Decoder, Case.Index, Case.Item);
    EXPECT_EQ(Rec.Typ, Case.Typ);
    EXPECT_EQ(Rec.Header.Tag, Case.Index);
    EXPECT_EQ(Rec.Header.Name, Case.Name);
    if (Case.Typ == 0) continue;
    EXPECT_EQ(Rec.StringValue, Case.Text);
    EXPECT_DOUBLE_EQ(Rec.NumericValue[0], Case.Number);
    EXPECT_EQ(Rec.Header.Units, Case.Units);
  }
}

// The reader reuses one record: what an entry does not write stays.
TEST(CameraSettings, ReusedRecordKeepsUnwrittenFields) {
  TEXIFTag Rec;
  Rec.Header.Tag = 2;
  DecodeCanonSettings1(Rec, 20);  // Self Timer: 2000 ms
  Rec.Header.Tag = 3;
  Rec.Typ = 0;
  DecodeCanonSettings1(Rec, 3);  // Quality: Fine
  EXPECT_EQ(Rec.Typ, ftAscii);
  EXPECT_EQ(Rec.StringValue, "Fine");
  EXPECT_EQ(Rec.NumericValue[0], 2000);  // left from the Self Timer
  EXPECT_EQ(Rec.Header.Units, "");       // every entry writes its units
  Rec.Header.Tag = 6;
  Rec.Typ = 0;
  Rec.Header.Dim = 7;
  DecodeCanonSettings1(Rec, 1);  // no entry: untouched
  EXPECT_EQ(Rec.Header.Name, "Quality");
  EXPECT_EQ(Rec.Header.Dim, 7);
  EXPECT_EQ(Rec.Typ, 0);
}

TEST(CameraSettings, LensAttachedShowsTheFocalRange) {
  struct TLensCase {
    uint32_t Short, Long, Units;
    const char* Expected;
  };
  const TLensCase Cases[] = {
      {227, 681, 32, "(7 - 21) mm"},  // a 7.1-21.3 mm lens
      {18, 55, 1, "(18 - 55) mm"},
      {18, 55, 0, "(18 - 55) mm"},
      {0, 0, 0, "(0 - 0) mm"},
  };
  for (const TLensCase& Case : Cases) {
    TEXIFTag Rec;
    Rec.Header.Tag = 24;
    DecodeCanonSettings1(Rec, Case.Short, {Case.Long, Case.Units});
    EXPECT_EQ(Rec.Typ, ftAscii);
    EXPECT_EQ(Rec.StringValue, Case.Expected);
  }
}

}  // namespace
