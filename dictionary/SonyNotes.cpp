// Sony's maker note (Alpha, NEX, Cyber-shot, Xperia): its tags, the words
// of its enumerations and the rules of the values that pack several fields.
// Names and words from ExifTool's "Sony Tags" (exiftool.org/TagNames/Sony.html,
// version 12.57), written as ExifTool describes the tags. Tags whose value is
// a block of other fields (camera settings, shot information) and the
// enciphered blocks (0x2010, 0x9050, 0x94xx) are one row each with the
// default value text: the blocks are not unpacked, nor deciphered.
#include <algorithm>
#include <string>

#include "MakerTables.h"
#include "ValueFormat.h"

namespace {

// The tags of the Sony note. Multi-valued numbers decode as many values as
// the tag holds (Dim).
constexpr TEXIFTagHeader SonyTags[] = {
    {0x0010, 1, "Camera Info", ""},
    {0x0020, 1, "Focus Info", ""},
    {0x0102, 1, "Quality", ""},
    {0x0104, 1, "Flash Exposure Compensation", ""},
    {0x0105, 1, "Teleconverter", ""},
    {0x0112, 1, "White Balance Fine Tune", ""},
    {0x0114, 1, "Camera Settings", ""},
    {0x0115, 1, "White Balance", ""},
    {0x0116, 1, "Extra Info", ""},
    {0x0E00, 1, "Print Image Matching", ""},
    {0x1000, 1, "Multi Burst Mode", ""},
    {0x1001, 1, "Multi Burst Image Width", ""},
    {0x1002, 1, "Multi Burst Image Height", ""},
    {0x1003, 1, "Panorama", ""},
    {0x2001, 1, "Preview Image", ""},
    {0x2002, 1, "Rating", ""},
    {0x2004, 1, "Contrast", ""},
    {0x2005, 1, "Saturation", ""},
    {0x2006, 1, "Sharpness", ""},
    {0x2007, 1, "Brightness", ""},
    {0x2008, 1, "Long Exposure Noise Reduction", ""},
    {0x2009, 1, "High ISO Noise Reduction", ""},
    {0x200A, 1, "HDR", ""},
    {0x200B, 1, "Multi Frame Noise Reduction", ""},
    {0x200E, 1, "Picture Effect", ""},
    {0x200F, 1, "Soft Skin Effect", ""},
    {0x2010, 1, "Tag 2010", ""},
    {0x2011, 1, "Vignetting Correction", ""},
    {0x2012, 1, "Lateral Chromatic Aberration", ""},
    {0x2013, 1, "Distortion Correction Setting", ""},
    {0x2014, 2, "WB Shift AB GM", ""},
    {0x2016, 1, "Auto Portrait Framed", ""},
    {0x2017, 1, "Flash Action", ""},
    {0x201A, 1, "Electronic Front Curtain Shutter", ""},
    {0x201B, 1, "Focus Mode", ""},
    {0x201C, 1, "AF Area Mode Setting", ""},
    {0x201D, 2, "Flexible Spot Position", ""},
    {0x201E, 1, "AF Point Selected", ""},
    {0x2020, 1, "AF Points Used", ""},
    {0x2021, 1, "AF Tracking", ""},
    {0x2022, 1, "Focal Plane AF Points Used", ""},
    {0x2023, 1, "Multi Frame NR Effect", ""},
    {0x2026, 2, "WB Shift AB GM Precise", ""},
    {0x2027, 4, "Focus Location", ""},
    {0x2028, 2, "Variable Low Pass Filter", ""},
    {0x2029, 1, "RAW File Type", ""},
    {0x202A, 1, "Tag 202a", ""},
    {0x202B, 1, "Priority Set In AWB", ""},
    {0x202C, 1, "Metering Mode 2", ""},
    {0x202D, 1, "Exposure Standard Adjustment", ""},
    {0x202E, 2, "Quality", ""},
    {0x202F, 1, "Pixel Shift Info", ""},
    {0x2031, 1, "Serial Number", ""},
    {0x2032, 1, "Shadows", ""},
    {0x2033, 1, "Highlights", ""},
    {0x2034, 1, "Fade", ""},
    {0x2035, 1, "Sharpness Range", ""},
    {0x2036, 1, "Clarity", ""},
    {0x2037, 3, "Focus Frame Size", ""},
    {0x2039, 1, "JPEG-HEIF Switch", ""},
    {0x3000, 1, "Shot Info", ""},
    {0x900B, 1, "Tag 900b", ""},
    {0x9050, 1, "Tag 9050", ""},
    {0x9400, 1, "Tag 9400", ""},
    {0x9401, 1, "Tag 9401", ""},
    {0x9402, 1, "Tag 9402", ""},
    {0x9403, 1, "Tag 9403", ""},
    {0x9404, 1, "Tag 9404", ""},
    {0x9405, 1, "Tag 9405", ""},
    {0x9406, 1, "Tag 9406", ""},
    {0x940A, 1, "Tag 940a", ""},
    {0x940C, 1, "Tag 940c", ""},
    {0x940E, 1, "AF Info", ""},
    {0x9416, 1, "Tag 9416", ""},
    {0xB000, 4, "File Format", ""},
    {0xB001, 1, "Sony Model ID", ""},
    {0xB020, 1, "Creative Style", ""},
    {0xB021, 1, "Color Temperature", ""},
    {0xB022, 1, "Color Compensation Filter", ""},
    {0xB023, 1, "Scene Mode", ""},
    {0xB024, 1, "Zone Matching", ""},
    {0xB025, 1, "Dynamic Range Optimizer", ""},
    {0xB026, 1, "Image Stabilization", ""},
    {0xB027, 1, "Lens Type", ""},
    {0xB028, 1, "Minolta Maker Note", ""},
    {0xB029, 1, "Color Mode", ""},
    {0xB02A, 1, "Lens Spec", ""},
    {0xB02B, 2, "Full Image Size", ""},
    {0xB02C, 2, "Preview Image Size", ""},
    {0xB040, 1, "Macro", ""},
    {0xB041, 1, "Exposure Mode", ""},
    {0xB042, 1, "Focus Mode", ""},
    {0xB043, 1, "AF Area Mode", ""},
    {0xB044, 1, "AF Illuminator", ""},
    {0xB047, 1, "JPEG Quality", ""},
    {0xB048, 1, "Flash Level", ""},
    {0xB049, 1, "Release Mode", ""},
    {0xB04A, 1, "Sequence Number", ""},
    {0xB04B, 1, "Anti-Blur", ""},
    {0xB04E, 1, "Focus Mode", ""},
    {0xB04F, 1, "Dynamic Range Optimizer", ""},
    {0xB050, 1, "High ISO Noise Reduction 2", ""},
    {0xB052, 1, "Intelligent Auto", ""},
    {0xB054, 1, "White Balance", ""},
};
static_assert(InTagOrder(SonyTags));

// 0x0102 Quality
constexpr TWord SonyQuality[] = {
    {0, "RAW"}, {1, "Super Fine"}, {2, "Fine"}, {3, "Standard"}, {4, "Economy"}, {5, "Extra Fine"},
    {6, "RAW + JPEG/HEIF"}, {7, "Compressed RAW"}, {8, "Compressed RAW + JPEG"}, {9, "Light"},
    {4294967295, "n/a"},
};

// 0x0105 Teleconverter
constexpr TWord SonyTeleconverter[] = {
    {0, "None"}, {4, "Minolta/Sony AF 1.4x APO (D) (0x04)"}, {5, "Minolta/Sony AF 2x APO (D) (0x05)"},
    {72, "Minolta/Sony AF 2x APO (D)"}, {80, "Minolta AF 2x APO II"}, {96, "Minolta AF 2x APO"},
    {136, "Minolta/Sony AF 1.4x APO (D)"}, {144, "Minolta AF 1.4x APO II"}, {160, "Minolta AF 1.4x APO"},
};

// 0x0115 White Balance
constexpr TWord SonyWhiteBalance0115[] = {
    {0, "Auto"}, {1, "Color Temperature/Color Filter"}, {16, "Daylight"}, {32, "Cloudy"}, {48, "Shade"},
    {64, "Tungsten"}, {80, "Flash"}, {96, "Fluorescent"}, {112, "Custom"}, {128, "Underwater"},
};

// 0x2008 Long Exposure Noise Reduction
constexpr TWord SonyLongExposureNoiseReduction[] = {
    {0, "Off"}, {1, "On (unused)"}, {65537, "On (dark subtracted)"}, {4294901760, "Off (65535)"},
    {4294901761, "On (65535)"}, {4294967295, "n/a"},
};

// 0x2009 High ISO Noise Reduction
constexpr TWord SonyHighISONoiseReduction[] = {
    {0, "Off"}, {1, "Low"}, {2, "Normal"}, {3, "High"}, {256, "Auto"}, {65535, "n/a"},
};

// 0x200A HDR: the level, in the first 16-bit half
constexpr TWord SonyHDRLevel[] = {
    {0, "Off"}, {1, "Auto"}, {16, "1.0 EV"}, {17, "1.5 EV"}, {18, "2.0 EV"}, {19, "2.5 EV"}, {20, "3.0 EV"},
    {21, "3.5 EV"}, {22, "4.0 EV"}, {23, "4.5 EV"}, {24, "5.0 EV"}, {25, "5.5 EV"}, {26, "6.0 EV"},
};

// 0x200A HDR: the result, in the second 16-bit half
constexpr TWord SonyHDRResult[] = {
    {0, "Uncorrected image"}, {1, "HDR image (good)"}, {2, "HDR image (fail 1)"}, {3, "HDR image (fail 2)"},
};

// 0x200B Multi Frame Noise Reduction
constexpr TWord SonyMultiFrameNoiseReduction[] = {{0, "Off"}, {1, "On"}, {255, "n/a"}};

// 0x200E Picture Effect
constexpr TWord SonyPictureEffect[] = {
    {0, "Off"}, {1, "Toy Camera"}, {2, "Pop Color"}, {3, "Posterization"}, {4, "Posterization B/W"},
    {5, "Retro Photo"}, {6, "Soft High Key"}, {7, "Partial Color (red)"}, {8, "Partial Color (green)"},
    {9, "Partial Color (blue)"}, {10, "Partial Color (yellow)"}, {13, "High Contrast Monochrome"},
    {16, "Toy Camera (normal)"}, {17, "Toy Camera (cool)"}, {18, "Toy Camera (warm)"},
    {19, "Toy Camera (green)"}, {20, "Toy Camera (magenta)"}, {32, "Soft Focus (low)"}, {33, "Soft Focus"},
    {34, "Soft Focus (high)"}, {48, "Miniature (auto)"}, {49, "Miniature (top)"},
    {50, "Miniature (middle horizontal)"}, {51, "Miniature (bottom)"}, {52, "Miniature (left)"},
    {53, "Miniature (middle vertical)"}, {54, "Miniature (right)"}, {64, "HDR Painting (low)"},
    {65, "HDR Painting"}, {66, "HDR Painting (high)"}, {80, "Rich-tone Monochrome"}, {97, "Water Color"},
    {98, "Water Color 2"}, {112, "Illustration (low)"}, {113, "Illustration"}, {114, "Illustration (high)"},
};

// 0x200F Soft Skin Effect
constexpr TWord SonySoftSkinEffect[] = {
    {0, "Off"}, {1, "Low"}, {2, "Mid"}, {3, "High"}, {4294967295, "n/a"},
};

// 0x2011 Vignetting Correction, 0x2012 Lateral Chromatic Aberration and 0x2013 Distortion
// Correction Setting
constexpr TWord SonyOffAuto[] = {{0, "Off"}, {2, "Auto"}, {4294967295, "n/a"}};

// 0x2016 Auto Portrait Framed
constexpr TWord SonyNoYes[] = {{0, "No"}, {1, "Yes"}};

// 0x2017 Flash Action
constexpr TWord SonyFlashAction[] = {
    {0, "Did not fire"}, {1, "Flash Fired"}, {2, "External Flash Fired"},
    {3, "Wireless Controlled Flash Fired"},
};

// 0x201A Electronic Front Curtain Shutter
constexpr TWord SonyElectronicFrontCurtainShutter[] = {{0, "Off"}, {1, "On"}};

// 0x201B Focus Mode
constexpr TWord SonyFocusMode201B[] = {
    {0, "Manual"}, {2, "AF-S"}, {3, "AF-C"}, {4, "AF-A"}, {6, "DMF"}, {7, "AF-D"},
};

// 0x2021 AF Tracking
constexpr TWord SonyAFTracking[] = {{0, "Off"}, {1, "Face tracking"}, {2, "Lock On AF"}};

// 0x2023 Multi Frame NR Effect
constexpr TWord SonyMultiFrameNREffect[] = {{0, "Normal"}, {1, "High"}};

// 0x2028 Variable Low Pass Filter: the two 16-bit values as one number, the first above
constexpr TWord SonyVariableLowPassFilter[] = {
    {0x00000000, "n/a"}, {0x00010000, "Off"}, {0x00010001, "Standard"}, {0x00010002, "High"},
    {0xFFFFFFFF, "n/a"},
};

// 0x2029 RAW File Type
constexpr TWord SonyRAWFileType[] = {
    {0, "Compressed RAW"}, {1, "Uncompressed RAW"}, {2, "Lossless Compressed RAW"}, {65535, "n/a"},
};

// 0x202B Priority Set In AWB
constexpr TWord SonyPrioritySetInAWB[] = {{0, "Standard"}, {1, "Ambience"}, {2, "White"}};

// 0x202C Metering Mode 2
constexpr TWord SonyMeteringMode2[] = {
    {256, "Multi-segment"}, {512, "Center-weighted average"}, {769, "Spot (Standard)"}, {770, "Spot (Large)"},
    {1024, "Average"}, {1280, "Highlight"},
};

// 0x202E Quality: the two 16-bit values as one number, the first above
constexpr TWord SonyQualityPair[] = {
    {0x00000000, "n/a"}, {0x00000001, "Standard"}, {0x00000002, "Fine"}, {0x00000003, "Extra Fine"},
    {0x00000004, "Light"}, {0x00010000, "RAW"}, {0x00010001, "RAW + Standard"}, {0x00010002, "RAW + Fine"},
    {0x00010003, "RAW + Extra Fine"}, {0x00010004, "RAW + Light"},
};

// 0x2039 JPEG-HEIF Switch
constexpr TWord SonyJPEGHEIFSwitch[] = {{0, "JPEG"}, {1, "HEIF"}, {65535, "n/a"}};

// 0xB000 File Format: the four bytes as one number, the first highest
constexpr TWord SonyFileFormat[] = {
    {0x00000002, "JPEG"}, {0x01000000, "SR2"}, {0x02000000, "ARW 1.0"}, {0x03000000, "ARW 2.0"},
    {0x03010000, "ARW 2.1"}, {0x03020000, "ARW 2.2"}, {0x03030000, "ARW 2.3"}, {0x03030100, "ARW 2.3.1"},
    {0x03030200, "ARW 2.3.2"}, {0x03030300, "ARW 2.3.3"}, {0x03030500, "ARW 2.3.5"}, {0x04000000, "ARW 4.0"},
};

// 0xB023 Scene Mode
constexpr TWord SonySceneMode[] = {
    {0, "Standard"}, {1, "Portrait"}, {2, "Text"}, {3, "Night Scene"}, {4, "Sunset"}, {5, "Sports"},
    {6, "Landscape"}, {7, "Night Portrait"}, {8, "Macro"}, {9, "Super Macro"}, {16, "Auto"},
    {17, "Night View/Portrait"}, {18, "Sweep Panorama"}, {19, "Handheld Night Shot"},
    {20, "Anti Motion Blur"}, {21, "Cont. Priority AE"}, {22, "Auto+"}, {23, "3D Sweep Panorama"},
    {24, "Superior Auto"}, {25, "High Sensitivity"}, {26, "Fireworks"}, {27, "Food"}, {28, "Pet"},
    {33, "HDR"}, {65535, "n/a"},
};

// 0xB024 Zone Matching
constexpr TWord SonyZoneMatching[] = {{0, "ISO Setting Used"}, {1, "High Key"}, {2, "Low Key"}};

// 0xB025 Dynamic Range Optimizer
constexpr TWord SonyDynamicRangeOptimizerB025[] = {
    {0, "Off"}, {1, "Standard"}, {2, "Advanced Auto"}, {3, "Auto"}, {8, "Advanced Lv1"}, {9, "Advanced Lv2"},
    {10, "Advanced Lv3"}, {11, "Advanced Lv4"}, {12, "Advanced Lv5"}, {16, "Lv1"}, {17, "Lv2"}, {18, "Lv3"},
    {19, "Lv4"}, {20, "Lv5"},
};

// 0xB026 Image Stabilization
constexpr TWord SonyImageStabilization[] = {{0, "Off"}, {1, "On"}, {4294967295, "n/a"}};

// 0xB029 Color Mode
constexpr TWord SonyColorMode[] = {
    {0, "Standard"}, {1, "Vivid"}, {2, "Portrait"}, {3, "Landscape"}, {4, "Sunset"},
    {5, "Night View/Portrait"}, {6, "B&W"}, {7, "Adobe RGB"}, {12, "Neutral"}, {13, "Clear"}, {14, "Deep"},
    {15, "Light"}, {16, "Autumn Leaves"}, {17, "Sepia"}, {18, "FL"}, {19, "Vivid 2"}, {20, "IN"}, {21, "SH"},
    {100, "Neutral"}, {101, "Clear"}, {102, "Deep"}, {103, "Light"}, {104, "Night View"},
    {105, "Autumn Leaves"}, {255, "Off"}, {4294967295, "n/a"},
};

// 0xB040 Macro
constexpr TWord SonyMacro[] = {{0, "Off"}, {1, "On"}, {2, "Close Focus"}, {65535, "n/a"}};

// 0xB041 Exposure Mode
constexpr TWord SonyExposureMode[] = {
    {0, "Program AE"}, {1, "Portrait"}, {2, "Beach"}, {3, "Sports"}, {4, "Snow"}, {5, "Landscape"},
    {6, "Auto"}, {7, "Aperture-priority AE"}, {8, "Shutter speed priority AE"}, {9, "Night Scene / Twilight"},
    {10, "Hi-Speed Shutter"}, {11, "Twilight Portrait"}, {12, "Soft Snap/Portrait"}, {13, "Fireworks"},
    {14, "Smile Shutter"}, {15, "Manual"}, {18, "High Sensitivity"}, {19, "Macro"},
    {20, "Advanced Sports Shooting"}, {29, "Underwater"}, {33, "Food"}, {34, "Sweep Panorama"},
    {35, "Handheld Night Shot"}, {36, "Anti Motion Blur"}, {37, "Pet"}, {38, "Backlight Correction HDR"},
    {39, "Superior Auto"}, {40, "Background Defocus"}, {41, "Soft Skin"}, {42, "3D Image"}, {65535, "n/a"},
};

// 0xB042 Focus Mode
constexpr TWord SonyFocusModeB042[] = {{1, "AF-S"}, {2, "AF-C"}, {4, "Permanent-AF"}, {65535, "n/a"}};

// 0xB044 AF Illuminator
constexpr TWord SonyAFIlluminator[] = {{0, "Off"}, {1, "Auto"}, {65535, "n/a"}};

// 0xB047 JPEG Quality
constexpr TWord SonyJPEGQuality[] = {{0, "Standard"}, {1, "Fine"}, {2, "Extra Fine"}, {65535, "n/a"}};

// 0xB048 Flash Level
constexpr TWord SonyFlashLevel[] = {
    {-32768, "Low"}, {-9, "-9/3"}, {-6, "-6/3"}, {-5, "-5/3"}, {-4, "-4/3"}, {-3, "-3/3"}, {-2, "-2/3"},
    {-1, "-1/3"}, {0, "Normal"}, {1, "+1/3"}, {2, "+2/3"}, {3, "+3/3"}, {4, "+4/3"}, {5, "+5/3"}, {6, "+6/3"},
    {9, "+9/3"}, {128, "n/a"}, {32767, "High"},
};

// 0xB049 Release Mode
constexpr TWord SonyReleaseMode[] = {
    {0, "Normal"}, {2, "Continuous"}, {5, "Exposure Bracketing"}, {6, "White Balance Bracketing"},
    {8, "DRO Bracketing"}, {65535, "n/a"},
};

// 0xB04A Sequence Number
constexpr TWord SonySequenceNumber[] = {{0, "Single"}, {65535, "n/a"}};

// 0xB04B Anti-Blur
constexpr TWord SonyAntiBlur[] = {{0, "Off"}, {1, "On (Continuous)"}, {2, "On (Shooting)"}, {65535, "n/a"}};

// 0xB04E Focus Mode
constexpr TWord SonyFocusModeB04E[] = {{0, "Manual"}, {2, "AF-S"}, {3, "AF-C"}, {5, "Semi-manual"}, {6, "DMF"}};

// 0xB04F Dynamic Range Optimizer
constexpr TWord SonyDynamicRangeOptimizerB04F[] = {{0, "Off"}, {1, "Standard"}, {2, "Plus"}};

// 0xB050 High ISO Noise Reduction 2
constexpr TWord SonyHighISONoiseReduction2[] = {
    {0, "Normal"}, {1, "High"}, {2, "Low"}, {3, "Off"}, {65535, "n/a"},
};

// 0xB052 Intelligent Auto
constexpr TWord SonyIntelligentAuto[] = {{0, "Off"}, {1, "On"}, {2, "Advanced"}};

// 0xB054 White Balance
constexpr TWord SonyWhiteBalanceB054[] = {
    {0, "Auto"}, {4, "Custom"}, {5, "Daylight"}, {6, "Cloudy"}, {7, "Cool White Fluorescent"},
    {8, "Day White Fluorescent"}, {9, "Daylight Fluorescent"}, {10, "Incandescent2"},
    {11, "Warm White Fluorescent"}, {14, "Incandescent"}, {15, "Flash"}, {17, "Underwater 1 (Blue Water)"},
    {18, "Underwater 2 (Green Water)"}, {19, "Underwater Auto"},
};

// The tags of Sony's note that have words.
constexpr TTagWords SonyWords[] = {
    {0x0102, SonyQuality},
    {0x0105, SonyTeleconverter},
    {0x0115, SonyWhiteBalance0115},
    {0x2008, SonyLongExposureNoiseReduction},
    {0x2009, SonyHighISONoiseReduction},
    {0x200B, SonyMultiFrameNoiseReduction},
    {0x200E, SonyPictureEffect},
    {0x200F, SonySoftSkinEffect},
    {0x2011, SonyOffAuto},
    {0x2012, SonyOffAuto},
    {0x2013, SonyOffAuto},
    {0x2016, SonyNoYes},
    {0x2017, SonyFlashAction},
    {0x201A, SonyElectronicFrontCurtainShutter},
    {0x201B, SonyFocusMode201B},
    {0x2021, SonyAFTracking},
    {0x2023, SonyMultiFrameNREffect},
    {0x2029, SonyRAWFileType},
    {0x202B, SonyPrioritySetInAWB},
    {0x202C, SonyMeteringMode2},
    {0x2039, SonyJPEGHEIFSwitch},
    {0xB023, SonySceneMode},
    {0xB024, SonyZoneMatching},
    {0xB025, SonyDynamicRangeOptimizerB025},
    {0xB026, SonyImageStabilization},
    {0xB029, SonyColorMode},
    {0xB040, SonyMacro},
    {0xB041, SonyExposureMode},
    {0xB042, SonyFocusModeB042},
    {0xB044, SonyAFIlluminator},
    {0xB047, SonyJPEGQuality},
    {0xB048, SonyFlashLevel},
    {0xB049, SonyReleaseMode},
    {0xB04A, SonySequenceNumber},
    {0xB04B, SonyAntiBlur},
    {0xB04E, SonyFocusModeB04E},
    {0xB04F, SonyDynamicRangeOptimizerB04F},
    {0xB050, SonyHighISONoiseReduction2},
    {0xB052, SonyIntelligentAuto},
    {0xB054, SonyWhiteBalanceB054},
};
static_assert(InTagOrder(SonyWords));

// The word of Value, or Value as a number.
std::string WordOrNumber(TWords Words, int64_t Value) {
  if (const TWord* Word = FindWord(Words, Value)) return std::string(Word->Text);
  std::string Number;
  AppendInt(Number, Value);
  return Number;
}

// A tag of Count numbers of Bits bits each whose words name the numbers
// together: the word of the numbers joined into one, the first highest. The
// numbers as decoded ("1 3") when no word names them, or when the entry held
// fewer than Count.
std::string JoinedWordsText(TWords Words, const TEXIFTag& Rec, size_t Count, int Bits) {
  const auto Decoded = static_cast<size_t>(std::count(Rec.StringValue.begin(), Rec.StringValue.end(), ' ') + 1);
  int64_t Joined = 0;
  for (size_t Index = 0; Index < Count; ++Index)
    Joined = (Joined << Bits) | (TruncToInt64(Rec.NumericValue[Index]) & ((int64_t{1} << Bits) - 1));
  const TWord* Word = Decoded == Count ? FindWord(Words, Joined) : nullptr;
  return Word != nullptr ? std::string(Word->Text) : Rec.StringValue;
}

// 0x200A HDR: a 32-bit number read as two 16-bit ones, the level and the
// result ("Off; Uncorrected image"). Sony writes little-endian TIFF data, in
// which the first 16-bit number is the low half.
std::string SonyHDRText(const TEXIFTag& Rec) {
  const auto Value = static_cast<uint32_t>(TruncToInt64(Rec.NumericValue[0]));
  return WordOrNumber(SonyHDRLevel, Value & 0xFFFF) + "; " + WordOrNumber(SonyHDRResult, Value >> 16);
}

std::string SonyVariableLowPassFilterText(const TEXIFTag& Rec) {
  return JoinedWordsText(SonyVariableLowPassFilter, Rec, 2, 16);
}

std::string SonyQualityPairText(const TEXIFTag& Rec) { return JoinedWordsText(SonyQualityPair, Rec, 2, 16); }

std::string SonyFileFormatText(const TEXIFTag& Rec) { return JoinedWordsText(SonyFileFormat, Rec, 4, 8); }

// The tags of Sony's note whose value text a rule of its own makes.
constexpr TTagText SonyTexts[] = {
    {0x200A, SonyHDRText},
    {0x2028, SonyVariableLowPassFilterText},
    {0x202E, SonyQualityPairText},
    {0xB000, SonyFileFormatText},
};
static_assert(InTagOrder(SonyTexts));

}  // namespace

constexpr TTagTable SonyTable{SonyTags};
constexpr TTagWordsTable SonyWordsTable{SonyWords};
constexpr TTagTextTable SonyTextsTable{SonyTexts};
