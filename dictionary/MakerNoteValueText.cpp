// Value texts of maker-note rows, by the format's row of the maker table:
// codes whose meaning is known per tag become words, a few tags have rules
// of their own, and every other row gets the default value text. The words
// of Nikon, Olympus, Panasonic, Fuji and Casio stand here; Apple's, Sony's,
// Samsung's and Pentax's in their makers' files.
#include <array>

#include "EXIF_Defs.h"
#include "MakerNotes.h"
#include "MakerTables.h"
#include "TagLookup.h"
#include "Words.h"

namespace {

// Nikon (older layout) -------------------------------------------------------

// 0x0003 Quality
constexpr TWord NikonQuality[] = {
    {1, "VGA Basic"},   {2, "VGA Normal"},   {3, "VGA Fine"},
    {4, "SXGA Basic"},  {5, "SXGA Normal"},  {6, "SXGA Fine"},
    {7, "XGA Basic"},   {8, "XGA Normal"},   {9, "XGA Fine"},
    {10, "UXGA Basic"}, {11, "UXGA Normal"}, {12, "UXGA Fine"},
};

// 0x0004 Color Mode
constexpr TWord NikonColorMode[] = {{1, "Colour"}, {2, "Monochrome"}};

// 0x0005 Image Adjustment
constexpr TWord NikonImageAdjustment[] = {
    {0, "Normal"}, {1, "Bright +"}, {2, "Bright -"}, {3, "Contrast +"}, {4, "Contrast -"},
};

// 0x0006 CCD Sensitivity
constexpr TWord NikonCCDSensitivity[] = {
    {0, "ISO 80"}, {2, "ISO 160"}, {4, "ISO 320"}, {5, "ISO 100"},
};

// 0x0007 White Balance
constexpr TWord NikonWhiteBalance[] = {
    {0, "Auto"},         {1, "Preset"}, {2, "Daylight"},   {3, "Incandescence"},
    {4, "Fluorescence"}, {5, "Cloudy"}, {6, "Speedlight"},
};

// 0x000B Converter
constexpr TWord NikonConverter[] = {{0, "None"}, {1, "Fish-eye"}};

// The tags of Nikon's note that have words.
constexpr TTagWords NikonWords[] = {
    {0x0003, NikonQuality},
    {0x0004, NikonColorMode},
    {0x0005, NikonImageAdjustment},
    {0x0006, NikonCCDSensitivity},
    {0x0007, NikonWhiteBalance},
    {0x000B, NikonConverter},
};
static_assert(InTagOrder(NikonWords));

// Olympus --------------------------------------------------------------------

// 0x0200 Special Mode
constexpr TWord OlympusSpecialMode[] = {
    {0, "Normal"}, {1, "unknown"}, {2, "Fast"}, {3, "Panorama"},
};

// 0x0201 JPEG Quality
constexpr TWord OlympusJPEGQuality[] = {{1, "Standard"}, {2, "High"}, {3, "Super High"}};

// 0x0202 Macro
constexpr TWord OlympusMacro[] = {{0, "Normal"}, {1, "Macro"}};

// The tags of Olympus's note that have words.
constexpr TTagWords OlympusWords[] = {
    {0x0200, OlympusSpecialMode},
    {0x0201, OlympusJPEGQuality},
    {0x0202, OlympusMacro},
};
static_assert(InTagOrder(OlympusWords));

// Panasonic ------------------------------------------------------------------

// 0x0001 Image Quality
constexpr TWord PanasonicImageQuality[] = {{2, "High"}, {3, "Standard"}};

// 0x0003 White Balance
constexpr TWord PanasonicWhiteBalance[] = {
    {1, "Auto"}, {2, "Daylight"}, {3, "Cloudy"}, {4, "Halogen"}, {5, "Manual"}, {6, "Flash"},
};

// 0x0007 Focus Mode
constexpr TWord PanasonicFocusMode[] = {{1, "Auto"}, {2, "Manual"}};

// 0x000F Spot Mode
constexpr TWord PanasonicSpotMode[] = {{1, "On"}, {16, "Off"}};

// 0x001A Image Stabilizer
constexpr TWord PanasonicImageStabilizer[] = {{2, "Mode 1"}, {3, "Off"}, {4, "Mode 2"}};

// 0x001C Macro Mode
constexpr TWord PanasonicMacroMode[] = {{1, "Macro"}, {2, "Normal"}};

// 0x001F Shooting Mode
constexpr TWord PanasonicShootingMode[] = {
    {2, "Portrait"},          {3, "Scenery"},          {4, "Sports"},
    {5, "Night Portrait"},    {6, "Program"},          {7, "Aperture Priority"},
    {8, "Shutter Priority"},  {9, "Macro"},            {11, "Manual"},
    {13, "Panning"},          {18, "Fireworks"},       {19, "Party"},
    {20, "Snow"},             {21, "Night Scenery"},
};

// 0x0020 Audio
constexpr TWord PanasonicAudio[] = {{1, "Yes"}, {2, "No"}};

// 0x0028 Color Effect
constexpr TWord PanasonicColorEffect[] = {
    {1, "Off"}, {2, "Warm"}, {3, "Cool"}, {4, "B&W"}, {5, "Sepia"},
};

// 0x002C Contrast and 0x002D Noise Reducton
constexpr TWord PanasonicLevel[] = {{0, "Standard"}, {1, "Low"}, {2, "High"}};

// The tags of Panasonic's note that have words.
constexpr TTagWords PanasonicWords[] = {
    {0x0001, PanasonicImageQuality},
    {0x0003, PanasonicWhiteBalance},
    {0x0007, PanasonicFocusMode},
    {0x000F, PanasonicSpotMode},
    {0x001A, PanasonicImageStabilizer},
    {0x001C, PanasonicMacroMode},
    {0x001F, PanasonicShootingMode},
    {0x0020, PanasonicAudio},
    {0x0028, PanasonicColorEffect},
    {0x002C, PanasonicLevel},
    {0x002D, PanasonicLevel},
};
static_assert(InTagOrder(PanasonicWords));

// Fuji -----------------------------------------------------------------------

// 0x1001 Sharpness
constexpr TWord FujiSharpness[] = {
    {1, "Soft"}, {2, "Soft"}, {3, "Normal"}, {4, "Hard"}, {5, "Hard"},
};

// 0x1002 White Balance
constexpr TWord FujiWhiteBalance[] = {
    {0, "Auto"},
    {256, "Daylight"},
    {512, "Cloudy"},
    {768, "DaylightColor-Fluorescence"},
    {769, "DaywhiteColor-Fluorescence"},
    {770, "White-Fluorescence"},
    {1024, "Incandenscence"},
    {3840, "Custom"},
};

// 0x1003 Color and 0x1004 Tone
constexpr TWord FujiLevel[] = {{0, "Normal"}, {256, "High"}, {512, "Low"}};

// 0x1010 Flash Mode
constexpr TWord FujiFlashMode[] = {
    {0, "Auto"}, {1, "On"}, {2, "Off"}, {3, "Red-eye reduction"},
};

// 0x1021 Focus Mode
constexpr TWord FujiFocusMode[] = {{0, "Auto"}, {1, "Manual"}};

// 0x1031 Picture Mode
constexpr TWord FujiPictureMode[] = {
    {0, "Auto"},   {1, "Portrait"},    {2, "Landscape"},
    {4, "Sports"}, {5, "Night Scene"}, {6, "Program"},
    {256, "Aperture Priority"}, {512, "Shutter Priority"}, {768, "Manual"},
};

// 0x1020 Macro, 0x1030 SlowSync, 0x1100 ContTake/Bracket and the warnings
// 0x1300 to 0x1302
constexpr TWord FujiOffOn[] = {{0, "Off"}, {1, "On"}};

// The tags of Fuji's note that have words.
constexpr TTagWords FujiWords[] = {
    {0x1001, FujiSharpness},
    {0x1002, FujiWhiteBalance},
    {0x1003, FujiLevel},
    {0x1004, FujiLevel},
    {0x1010, FujiFlashMode},
    {0x1020, FujiOffOn},
    {0x1021, FujiFocusMode},
    {0x1030, FujiOffOn},
    {0x1031, FujiPictureMode},
    {0x1100, FujiOffOn},
    {0x1300, FujiOffOn},
    {0x1301, FujiOffOn},
    {0x1302, FujiOffOn},
};
static_assert(InTagOrder(FujiWords));

// Casio ----------------------------------------------------------------------

// 0x0001 Recording Mode
constexpr TWord CasioRecordingMode[] = {
    {0, "Normal"},   {1, "Single Shutter"}, {2, "Panorama"},
    {7, "Panorama"}, {3, "Night Scene"},    {10, "Night Scene"},
    {4, "Portrait"}, {15, "Portrait"},      {5, "Landscape"},
    {16, "Landscape"},
};

// 0x0002 Quality
constexpr TWord CasioQuality[] = {{1, "Economy"}, {2, "Normal"}, {3, "Fine"}};

// 0x0003 Focusing Mode
constexpr TWord CasioFocusingMode[] = {
    {2, "Macro"}, {3, "Auto Focus"}, {4, "Manual Focus"}, {5, "Infinity"},
};

// 0x0004 Flash Mode
constexpr TWord CasioFlashMode[] = {
    {1, "Auto"}, {2, "On"}, {3, "Off"}, {4, "Red-eye reduction"},
};

// 0x0005 Flash Intensity
constexpr TWord CasioFlashIntensity[] = {{11, "Weak"}, {13, "Normal"}, {15, "Strong"}};

// 0x0007 White Balance
constexpr TWord CasioWhiteBalance[] = {
    {1, "Auto"},        {2, "Tungsten"}, {3, "Daylight"},
    {4, "Fluorescent"}, {5, "Shade"},    {129, "Manual"},
};

// 0x000A Digital Zoom
constexpr TWord CasioDigitalZoom[] = {{0x10000, "Off"}, {0x10001, "2x"}};

// 0x000B Sharpness, 0x000C Contrast and 0x000D Saturation
constexpr TWord CasioLevel[] = {{0, "Normal"}, {1, "Soft"}, {2, "High"}};

// 0x0014 CCD Sensitivity
constexpr TWord CasioCCDSensitivity[] = {
    {64, "Normal"}, {80, "Normal"}, {100, "High"}, {125, "+1"}, {244, "+3"}, {250, "+2"},
};

// The tags of Casio's note that have words.
constexpr TTagWords CasioWords[] = {
    {0x0001, CasioRecordingMode},
    {0x0002, CasioQuality},
    {0x0003, CasioFocusingMode},
    {0x0004, CasioFlashMode},
    {0x0005, CasioFlashIntensity},
    {0x0007, CasioWhiteBalance},
    {0x000A, CasioDigitalZoom},
    {0x000B, CasioLevel},
    {0x000C, CasioLevel},
    {0x000D, CasioLevel},
    {0x0014, CasioCCDSensitivity},
};
static_assert(InTagOrder(CasioWords));

}  // namespace

constexpr TTagWordsTable NikonWordsTable{NikonWords};
constexpr TTagWordsTable OlympusWordsTable{OlympusWords};
constexpr TTagWordsTable PanasonicWordsTable{PanasonicWords};
constexpr TTagWordsTable FujiWordsTable{FujiWords};
constexpr TTagWordsTable CasioWordsTable{CasioWords};

const TTagWordsTable& MakerNoteWords(TMakerNoteFormat Format) { return *MakerOf(Format).Words; }

// A rule of the maker's for the tag first; then, for a tag of several whole
// numbers, the list the decoder made of them ("4000 3000"); then the tag's
// words; then the default value text.
std::string MakerNoteValueText(TMakerNoteFormat Format, const TEXIFTag& Rec) {
  const TMakerNoteMaker& Maker = MakerOf(Format);
  if (const TTagText* Rule = Maker.Texts->Find(Rec.Header.Tag)) return Rule->Text(Rec);
  if (Rec.Header.Dim > 1 && IsWholeNumberType(Rec.Typ)) return Rec.StringValue + std::string(Rec.Header.Units);
  return WordsOrDefaultText(*Maker.Words, Rec, TruncToInt64, TRationalStyle::Plain);
}
