// Decoders of the packed camera-settings arrays of Canon (tags 1 and 4) and
// Minolta (tags 1, 3 and 0x0F00). Each array position is one setting; the
// reader hands the items over one by one, and each decoder turns a known
// position with a known value into a named record, or rejects it (Typ 0).
#include <array>
#include <span>

#include "EXIF_Defs.h"
#include "ValueFormat.h"
#include "Words.h"

namespace {

enum class TSettingKind {
  Words,      // the item selects a word; other values are rejected
  Number,     // the item times Factor is the value; every item is accepted
  Lens,       // Canon's focal range of the attached lens
  FlashBias,  // Canon's flash exposure compensation, in stored EV steps
};

struct TSettingEntry {
  uint8_t Position;
  std::string_view Name;
  TSettingKind Kind;
  TWords Words = {};
  uint32_t Factor = 1;
  std::string_view Units = "";
};

// A decoder's entries found by item position: PlaceOf[P] is the place of the
// entry of position P among Entries plus one, or 0 when the position holds no
// setting the program shows. No decoder shows a setting past position 31.
struct TSettings {
  static constexpr size_t Positions = 32;
  std::span<const TSettingEntry> Entries;
  std::array<uint8_t, Positions> PlaceOf{};

  const TSettingEntry* Find(uint16_t Position) const {
    const uint8_t Place = Position < Positions ? PlaceOf[Position] : 0;
    return Place != 0 ? &Entries[Place - 1u] : nullptr;
  }
};

template <size_t N>
constexpr TSettings ByPosition(const TSettingEntry (&Entries)[N]) {
  TSettings Settings{Entries};
  for (size_t Place = 0; Place < N; ++Place) {
    const uint8_t Position = Entries[Place].Position;
    if (Position >= TSettings::Positions || Settings.PlaceOf[Position] != 0)
      throw "a setting's position lies past the index or is listed twice";
    Settings.PlaceOf[Position] = static_cast<uint8_t>(Place + 1);
  }
  return Settings;
}

// Canon settings 1 -----------------------------------------------------------

constexpr TWord CanonMacroMode[] = {{1, "Macro"}, {2, "Normal"}};
constexpr TWord CanonQuality[] = {{2, "Normal"}, {3, "Fine"}, {5, "Superfine"}};
constexpr TWord CanonFlashMode[] = {
    {0, "Flash not fired"}, {1, "Auto"},         {2, "On"},
    {3, "Red-eye reduction"}, {4, "Slow synchro"}, {5, "Auto + Red-eye reduction"},
    {6, "On + Red-eye reduction"}, {16, "External flash"},
};
constexpr TWord CanonDriveMode[] = {{0, "Timer"}, {1, "Continuous"}};
constexpr TWord CanonFocusMode[] = {
    {0, "One-Shot"}, {1, "AI Servo"}, {2, "AI Focus"}, {3, "MF"},
    {4, "Single"},   {5, "Continuous"}, {6, "MF"},
};
constexpr TWord CanonImageSize[] = {{0, "Large"}, {1, "Medium"}, {2, "Small"}};
constexpr TWord CanonProgram[] = {
    {0, "Full Auto"},    {1, "Manual"},        {2, "Landscape"}, {3, "Fast Shutter"},
    {4, "Slow Shutter"}, {5, "Night"},         {6, "B&W"},       {7, "Sepia"},
    {8, "Portrait"},     {9, "Sports"},        {10, "Macro/Close-Up"}, {11, "Pan Focus"},
};
constexpr TWord CanonDigitalZoom[] = {{0, "None"}, {1, "2x"}, {2, "4x"}};
// Contrast, saturation and sharpness store -1 for "Low", read as 0xFFFF.
constexpr TWord CanonLevel[] = {{0, "Normal"}, {1, "High"}, {0xFFFF, "Low"}};
constexpr TWord CanonISO[] = {
    {15, "Auto"}, {16, "50"}, {17, "100"}, {18, "200"}, {19, "400"},
};
constexpr TWord CanonMeteringMode[] = {
    {3, "Evaluative"}, {4, "Partial"}, {5, "Center-weighted"},
};
constexpr TWord CanonFocusType[] = {
    {0, "Manual"}, {1, "Auto"}, {3, "Close-Up (Macro)"}, {8, "Locked (Pan Mode)"},
};
constexpr TWord CanonAFPoint[] = {
    {0x3000, "None (MF)"}, {0x3001, "Auto-selected"}, {0x3002, "Right"},
    {0x3003, "Center"},    {0x3004, "Left"},
};
constexpr TWord CanonExposureMode[] = {
    {0, "Easy Shooting"}, {1, "Program"}, {2, "Tv Priority"},
    {3, "Av Priority"},   {4, "Manual"},  {5, "A-DEP"},
};
constexpr TWord CanonFlashActivity[] = {{0, "Did not fired"}, {1, "Fired"}};

// Self Timer is stored in tenths of a second and shown in milliseconds.
constexpr TSettingEntry CanonSettings1Entries[] = {
    {1, "Macro Mode", TSettingKind::Words, CanonMacroMode},
    {2, "Self Timer", TSettingKind::Number, {}, 100, " ms"},
    {3, "Quality", TSettingKind::Words, CanonQuality},
    {4, "Flash Mode", TSettingKind::Words, CanonFlashMode},
    {5, "Drive Mode", TSettingKind::Words, CanonDriveMode},
    {7, "Focus Mode", TSettingKind::Words, CanonFocusMode},
    {10, "Image Size", TSettingKind::Words, CanonImageSize},
    {11, "Program", TSettingKind::Words, CanonProgram},
    {12, "Digital Zoom", TSettingKind::Words, CanonDigitalZoom},
    {13, "Contrast", TSettingKind::Words, CanonLevel},
    {14, "Saturation", TSettingKind::Words, CanonLevel},
    {15, "Sharpness", TSettingKind::Words, CanonLevel},
    {16, "ISO", TSettingKind::Words, CanonISO},
    {17, "Metering Mode", TSettingKind::Words, CanonMeteringMode},
    {18, "Focus Type", TSettingKind::Words, CanonFocusType},
    {19, "AF Point Selected", TSettingKind::Words, CanonAFPoint},
    {20, "Exposure Mode", TSettingKind::Words, CanonExposureMode},
    {24, "Lens Attached", TSettingKind::Lens},
    {25, "Focal Units per mm", TSettingKind::Number},
    {28, "Flash Activity", TSettingKind::Words, CanonFlashActivity},
};
constexpr TSettings CanonSettings1 = ByPosition(CanonSettings1Entries);

// Canon settings 2 -----------------------------------------------------------

constexpr TWord CanonWhiteBalance[] = {
    {0, "Auto"},        {1, "Sunny"}, {2, "Cloudy"}, {3, "Tungsten"},
    {4, "Fluorescent"}, {5, "Flash"}, {6, "Custom"},
};

constexpr TSettingEntry CanonSettings2Entries[] = {
    {7, "White Balance", TSettingKind::Words, CanonWhiteBalance},
    {9, "Sequence Number", TSettingKind::Number},
    {15, "Flash Bias", TSettingKind::FlashBias},
};
constexpr TSettings CanonSettings2 = ByPosition(CanonSettings2Entries);

// Flash exposure compensation: the stored 16-bit pattern and the EV number
// shown for it (thirds of a stop rounded to two decimals).
struct TFlashBias {
  uint32_t Item;
  double EV;
};
constexpr TFlashBias FlashBiasSteps[] = {
    {0x0000, 0},     {0x000C, 0.33},  {0x0010, 0.5},  {0x0014, 0.67}, {0x0020, 1},
    {0x002C, 1.33},  {0x0030, 1.5},   {0x0034, 1.67}, {0x0040, 2},    {0xFFF4, -0.33},
    {0xFFF0, -0.5},  {0xFFEC, -0.67}, {0xFFE0, -1},   {0xFFD4, -1.33}, {0xFFD0, -1.5},
    {0xFFCC, -1.67}, {0xFFC0, -2},
};

// Minolta --------------------------------------------------------------------

constexpr TWord MinoltaExposureMode[] = {{0, "P"}, {1, "A"}, {2, "S"}, {3, "M"}};
constexpr TWord MinoltaFlashMode[] = {
    {0, "Fill-Flash"}, {1, "Red-eye Reduction"}, {2, "Rear Flash Sync"}, {3, "Wireless"},
};
constexpr TWord MinoltaWhiteBalance[] = {
    {0, "Auto"},        {1, "Daylight"},      {2, "Cloudy"},   {3, "Tungsten"},
    {5, "Custom"},      {7, "Fluorescent"},   {8, "Fluorescent 2"}, {11, "Custom 2"},
    {12, "Custom 3"},
};
constexpr TWord MinoltaImageSize[] = {
    {0, "2560 x 1920 (2048 x 1536)"}, {1, "1600 x 1200"}, {2, "1280 x 960"}, {3, "640 x 480"},
};
constexpr TWord MinoltaImageQuality[] = {
    {0, "Raw"},      {1, "Super Fine"}, {2, "Fine"},
    {3, "Standard"}, {4, "Economy"},    {5, "Extra Fine"},
};

constexpr TSettingEntry MinoltaSettingsEntries[] = {
    {1, "Exposure Mode", TSettingKind::Words, MinoltaExposureMode},
    {2, "Flash Mode", TSettingKind::Words, MinoltaFlashMode},
    {3, "White Balance", TSettingKind::Words, MinoltaWhiteBalance},
    {4, "Image Size", TSettingKind::Words, MinoltaImageSize},
    {5, "Image Quality", TSettingKind::Words, MinoltaImageQuality},
};
constexpr TSettings MinoltaSettings = ByPosition(MinoltaSettingsEntries);

// ----------------------------------------------------------------------------

// Focal lengths are stored in focal units; with more than one unit per mm
// they are divided down to whole millimetres.
uint32_t FocalMillimetres(uint32_t Focal, uint32_t UnitsPerMm) {
  return UnitsPerMm > 1 ? Focal / UnitsPerMm : Focal;
}

std::string LensText(uint32_t ShortFocal, const TCanonLensItems& Lens) {
  std::string Out = "(";
  AppendInt(Out, FocalMillimetres(ShortFocal, Lens.FocalUnitsPerMm));
  Out += " - ";
  AppendInt(Out, FocalMillimetres(Lens.LongFocal, Lens.FocalUnitsPerMm));
  Out += ") mm";
  return Out;
}

void DecodeFlashBias(TEXIFTag& Rec, uint32_t Item) {
  for (const TFlashBias& Step : FlashBiasSteps) {
    if (Step.Item != Item) continue;
    Rec.NumericValue[0] = Step.EV;
    Rec.StringValue = FormatG(Step.EV) + " EV";
    return;
  }
  Rec.Typ = 0;
}

void DecodeSetting(const TSettings& Settings, TEXIFTag& Rec, uint32_t Item,
                   const TCanonLensItems& Lens = {}) {
  const TSettingEntry* Entry = Settings.Find(Rec.Header.Tag);
  if (Entry == nullptr) return;
  Rec.Header.Name = Entry->Name;
  Rec.Header.Units = Entry->Units;
  Rec.Typ = Entry->Kind == TSettingKind::Number ? ftShort : ftAscii;
  switch (Entry->Kind) {
    case TSettingKind::Words:
      if (const TWord* Word = FindWord(Entry->Words, int64_t{Item}))
        Rec.StringValue = Word->Text;
      else
        Rec.Typ = 0;
      break;
    case TSettingKind::Number:
      Rec.NumericValue[0] = static_cast<double>(static_cast<uint64_t>(Item) * Entry->Factor);
      break;
    case TSettingKind::Lens:
      Rec.StringValue = LensText(Item, Lens);
      break;
    case TSettingKind::FlashBias:
      DecodeFlashBias(Rec, Item);
      break;
  }
}

}  // namespace

void DecodeCanonSettings1(TEXIFTag& Rec, uint32_t Item, const TCanonLensItems& Lens) {
  DecodeSetting(CanonSettings1, Rec, Item, Lens);
}

void DecodeCanonSettings2(TEXIFTag& Rec, uint32_t Item) {
  DecodeSetting(CanonSettings2, Rec, Item);
}

void DecodeMinoltaSettings(TEXIFTag& Rec, uint32_t Item) {
  DecodeSetting(MinoltaSettings, Rec, Item);
}
