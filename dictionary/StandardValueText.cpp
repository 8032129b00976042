// Value texts of the standard directories: IFD 0 and IFD 1, the EXIF sub-IFD,
// the Interoperability IFD and GPS. Enumerated values become words; every
// other value is shown by the default value text of its field type.
#include <cmath>

#include "EXIF_Defs.h"
#include "TagLookup.h"
#include "ValueFormat.h"
#include "Words.h"

namespace {

// 0x0103 Compression
constexpr TWord CompressionWords[] = {
    {1, "Uncompressed"},
    {6, "JPEG Compression (thumbnails only)"},
};

// 0x0106 Photometric Interpretation
constexpr TWord PhotometricInterpretationWords[] = {
    {0, "none"},
    {2, "RGB"},
    {6, "YCbCr"},
};

// 0x0112 Orientation
constexpr TWord OrientationWords[] = {
    {1, "Top Left-hand"},     {2, "Top Right-hand"},   {3, "Bottom Right-hand"},
    {4, "Bottom Left-hand"},  {5, "Left-hand Top"},    {6, "Right-hand Top"},
    {7, "Right-hand Bottom"}, {8, "Left-hand Bottom"},
};

// 0x011C Planar Configuration
constexpr TWord PlanarConfigurationWords[] = {
    {1, "Chunky Format"},
    {2, "Planar Format"},
};

// 0x0128 Resolution Unit
constexpr TWord ResolutionUnitWords[] = {
    {1, "none"},
    {2, "inch"},
    {3, "cm"},
};

// 0xA001 Color Space
constexpr TWord ColorSpaceWords[] = {
    {1, "sRGB"},
    {2, "Adobe RGB"},
    {65535, "Uncalibrated"},
};

// 0x8822 Exposure Program
constexpr TWord ExposureProgramWords[] = {
    {0, "Not defined"},
    {1, "Manual"},
    {2, "Normal program"},
    {3, "Aperture priority"},
    {4, "Shutter priority"},
    {5, "Creative program (biased toward depth of field)"},
    {6, "Action program (biased toward fast shutter speed)"},
    {7, "Portrait mode (for closeup photos with the background out of focus)"},
    {8, "Landscape mode (for landscape photos with the background in focus)"},
};

// 0x9207 Metering Mode
constexpr TWord MeteringModeWords[] = {
    {0, "unknown"}, {1, "Average"},   {2, "Center weighted-average"}, {3, "Spot"},
    {4, "MultiSpot"}, {5, "Pattern"}, {6, "Partial"},
};

// 0x9208 Light Source (the ranges carry an en dash)
constexpr TWord LightSourceWords[] = {
    {0, "Auto"},
    {1, "Daylight"},
    {2, "Fluorescent"},
    {3, "Tungsten (incandescent light)"},
    {4, "Flash"},
    {9, "Fine weather"},
    {10, "Cloudy weather"},
    {11, "Shade"},
    {12, "Daylight fluorescent (D 5700 \u2013 7100K)"},
    {13, "Day white fluorescent (N 4600 \u2013 5400K)"},
    {14, "Cool white fluorescent (W 3900 \u2013 4500K)"},
    {15, "White fluorescent (WW 3200 \u2013 3700K)"},
    {17, "Standard light A"},
    {18, "Standard light B"},
    {19, "Standard light C"},
    {20, "D55"},
    {21, "D65"},
    {22, "D75"},
    {23, "D50"},
    {24, "ISO studio tungsten"},
    {255, "other light source"},
};

// 0x9209 Flash
constexpr TWord FlashWords[] = {
    {0, "Flash not fired"},
    {1, "Flash fired"},
    {5, "Strobe return light not detected"},
    {7, "Strobe return light detected"},
    {9, "Flash fired, compulsory flash mode"},
    {13, "Flash fired, compulsory flash mode, return light not detected"},
    {15, "Flash fired, compulsory flash mode, return light detected"},
    {16, "Flash did not fire, compulsory flash mode"},
    {24, "Flash did not fire, auto mode"},
    {25, "Flash fired, auto mode"},
    {29, "Flash fired, auto mode, return light not detected"},
    {31, "Flash fired, auto mode, return light detected"},
    {32, "No flash function"},
    {65, "Flash fired, red-eye reduction mode"},
    {69, "Flash fired, red-eye reduction mode, return light not detected"},
    {71, "Flash fired, red-eye reduction mode, return light detected"},
    {73, "Flash fired, compulsory flash mode, red-eye reduction mode"},
    {77, "Flash fired, compulsory flash mode, red-eye reduction mode, return light not detected"},
    {79, "Flash fired, compulsory flash mode, red-eye reduction mode, return light detected"},
    {89, "Flash fired, auto mode, red-eye reduction mode"},
    {93, "Flash fired, auto mode, return light not detected, red-eye reduction mode"},
    {95, "Flash fired, auto mode, return light detected, red-eye reduction mode"},
};

// 0xA217 Sensing Method
constexpr TWord SensingMethodWords[] = {
    {1, "Not defined"},
    {2, "One-chip color area sensor"},
    {3, "Two-chip color area sensor"},
    {4, "Three-chip color area sensor"},
    {5, "Color sequential area sensor"},
    {7, "Trilinear sensor"},
    {8, "Color sequential linear sensor"},
};

// 0xA301 Scene Type
constexpr TWord SceneTypeWords[] = {
    {0, "Directly photographed image"},
};

// 0xA402 Exposure Mode
constexpr TWord ExposureModeWords[] = {
    {0, "Auto"},
    {1, "Manual"},
    {2, "Auto bracket"},
};

// 0xA403 White Balance
constexpr TWord WhiteBalanceWords[] = {
    {0, "Auto"},
    {1, "Manual"},
};

// 0xA406 Scene Capture Type
constexpr TWord SceneCaptureTypeWords[] = {
    {0, "Standard"},
    {1, "Landscape"},
    {2, "Portrait"},
    {3, "Night scene"},
};

// 0xA407 Gain Control
constexpr TWord GainControlWords[] = {
    {0, "None"},          {1, "Low gain up"},     {2, "High gain up"},
    {3, "Low gain down"}, {4, "High gain down"},
};

// 0xA408 Contrast and 0xA40A Sharpness
constexpr TWord ContrastWords[] = {
    {0, "Normal"},
    {1, "Soft"},
    {2, "Hard"},
};

// 0xA409 Saturation
constexpr TWord SaturationWords[] = {
    {0, "Normal"},
    {1, "Low"},
    {2, "High"},
};

// 0xA40C Subject Distance Range
constexpr TWord SubjectDistanceRangeWords[] = {
    {0, "unknown"},
    {1, "Macro"},
    {2, "Close view"},
    {3, "Distant view"},
};

// 0x9101 Components Configuration: one bit per component code 1 to 6.
constexpr TWord ComponentsConfigurationWords[] = {
    {2, "Y"}, {4, "Cb"}, {8, "Cr"}, {16, "R"}, {32, "G"}, {64, "B"},
};

// The enumerated tags of IFD 0 and IFD 1.
constexpr TTagWords TIFFWordRows[] = {
    {0x0103, CompressionWords, TWordStyle::WordOrUnknown},
    {0x0106, PhotometricInterpretationWords, TWordStyle::WordOrUnknown},
    {0x0112, OrientationWords, TWordStyle::WordAndNumber},
    {0x011C, PlanarConfigurationWords, TWordStyle::WordOrUnknown},
    {0x0128, ResolutionUnitWords, TWordStyle::WordOrUnknown},
};
static_assert(InTagOrder(TIFFWordRows));

// The enumerated tags of the EXIF sub-IFD.
constexpr TTagWords EXIFWordRows[] = {
    {0x8822, ExposureProgramWords, TWordStyle::WordOrUnknown},
    {0x9101, ComponentsConfigurationWords, TWordStyle::LettersPerBit},
    {0x9207, MeteringModeWords, TWordStyle::WordOrUnknown},
    {0x9208, LightSourceWords, TWordStyle::WordOrUnknown},
    {0x9209, FlashWords, TWordStyle::WordOrUnknown},
    {0xA001, ColorSpaceWords, TWordStyle::WordOrUnknown},
    {0xA217, SensingMethodWords, TWordStyle::WordOrUnknown},
    {0xA301, SceneTypeWords, TWordStyle::WordOrUnknown},
    {0xA402, ExposureModeWords, TWordStyle::WordOrUnknown},
    {0xA403, WhiteBalanceWords, TWordStyle::WordOrUnknown},
    {0xA406, SceneCaptureTypeWords, TWordStyle::WordOrUnknown},
    {0xA407, GainControlWords, TWordStyle::WordOrUnknown},
    {0xA408, ContrastWords, TWordStyle::WordOrUnknown},
    {0xA409, SaturationWords, TWordStyle::WordOrUnknown},
    {0xA40A, ContrastWords, TWordStyle::WordOrUnknown},
    {0xA40C, SubjectDistanceRangeWords, TWordStyle::WordOrUnknown},
};
static_assert(InTagOrder(EXIFWordRows));

// Trimmed as the reader trims texts: characters of code 32 or below go.
std::string_view Trimmed(std::string_view Text) {
  const auto IsBlank = [](char C) { return static_cast<unsigned char>(C) <= 32; };
  while (!Text.empty() && IsBlank(Text.front())) Text.remove_prefix(1);
  while (!Text.empty() && IsBlank(Text.back())) Text.remove_suffix(1);
  return Text;
}

// Degrees, minutes and, when not zero, seconds of a GPS position.
std::string GPSPositionText(const TEXIFTag& Rec) {
  std::string Out;
  AppendG(Out, Rec.NumericValue[0]);
  Out += "\u00B0 ";
  AppendG(Out, Rec.NumericValue[1]);
  Out += "\u2019";
  if (Rec.NumericValue[2] != 0) {
    Out += ' ';
    AppendG(Out, Rec.NumericValue[2]);
    Out += "\u201C";
  }
  return Out;
}

// The four version bytes, read as one number, in hexadecimal.
std::string GPSVersionText(const TEXIFTag& Rec) {
  // Rounded half to even, as the default floating-point rounding mode does.
  const double Rounded = std::nearbyint(Rec.NumericValue[0]);
  return FormatHex(static_cast<uint32_t>(Selector(Rounded)), 4);
}

std::string GPSReferenceText(const TEXIFTag& Rec) {
  const std::string& Stored = Rec.StringValue;
  if (Stored == "N") return "North";
  if (Stored == "E") return "East";
  if (Stored == "W") return "West";
  if (Stored == "S") return "South";
  return Stored;
}

std::string GPSAltitudeRefText(const TEXIFTag& Rec) {
  return Rec.NumericValue[0] == 0 ? "Above Sea Level" : "Below Sea Level";
}

std::string GPSStoredText(const TEXIFTag& Rec) { return Rec.StringValue; }

std::string GPSStatusText(const TEXIFTag& Rec) {
  return Trimmed(Rec.StringValue) == "A" ? "Measurement Active" : "Measurement Void";
}

std::string GPSMeasureModeText(const TEXIFTag& Rec) {
  return Trimmed(Rec.StringValue) == "2" ? "2D Measurement" : "3D Measurement";
}

std::string GPSSpeedUnitText(const TEXIFTag& Rec) {
  const std::string_view Letter = Trimmed(Rec.StringValue);
  if (Letter == "K") return "km/h";
  if (Letter == "M") return "mph";
  return "knots";
}

std::string GPSNorthText(const TEXIFTag& Rec) {
  return Trimmed(Rec.StringValue) == "M" ? "Magnetic North" : "True North";
}

std::string GPSDifferentialText(const TEXIFTag& Rec) {
  return Rec.NumericValue[0] == 0 ? "No Correction " : "Differential Corrected";
}

// The GPS tags with rules of their own. The references of the destination
// (0x0013, 0x0015) are not among them: they show as stored.
constexpr TTagText GPSTextRows[] = {
    {0x0000, GPSVersionText},       // Version ID
    {0x0001, GPSReferenceText},     // Latitude Ref
    {0x0002, GPSPositionText},      // Latitude
    {0x0003, GPSReferenceText},     // Longiture Ref
    {0x0004, GPSPositionText},      // Longitude
    {0x0005, GPSAltitudeRefText},   // Altitude Ref
    {0x0007, GPSStoredText},        // Timestamp
    {0x0009, GPSStatusText},        // Status
    {0x000A, GPSMeasureModeText},   // Measure Mode
    {0x000C, GPSSpeedUnitText},     // Speed Ref
    {0x000E, GPSNorthText},         // Track Ref
    {0x0010, GPSNorthText},         // Image Direction Ref
    {0x0014, GPSPositionText},      // Dest Latitude
    {0x0016, GPSPositionText},      // Dest Longitude
    {0x0017, GPSNorthText},         // Dest Bearing Ref
    {0x0019, GPSSpeedUnitText},     // Dest Distance Ref
    {0x001E, GPSDifferentialText},  // Differential
};
static_assert(InTagOrder(GPSTextRows));

}  // namespace

constexpr TTagWordsTable TIFFWords{TIFFWordRows};
constexpr TTagWordsTable EXIFWords{EXIFWordRows};
constexpr TTagTextTable GPSTexts{GPSTextRows};

std::string DefaultValueText(const TEXIFTag& Rec, TRationalStyle Style) {
  std::string Out;
  if (IsWholeNumberType(Rec.Typ)) {
    AppendFixed0(Out, Rec.NumericValue[0]);
    Out += Rec.Header.Units;
    return Out;
  }
  switch (Rec.Typ) {
    case ftAscii:
    case ftUndefined:
      return Rec.StringValue;
    case ftRational:
    case ftSRational: {
      AppendG(Out, Rec.NumericValue[0]);
      const std::string_view Mark = Style == TRationalStyle::Exif ? "f (" : " (";
      const std::string_view Close = Style == TRationalStyle::GPS ? ") " : ")";
      Out.reserve(Out.size() + Mark.size() + Rec.StringValue.size() + Close.size() + Rec.Header.Units.size());
      Out.append(Mark).append(Rec.StringValue).append(Close).append(Rec.Header.Units);
      return Out;
    }
    default:
      AppendG(Out, Rec.NumericValue[0]);
      Out += Rec.Header.Units;
      return Out;
  }
}

std::string CompressionText(int32_t Value) { return EnumerationText(TIFFWords, 0x0103, Value); }
std::string PhotometricInterpretationText(int32_t Value) {
  return EnumerationText(TIFFWords, 0x0106, Value);
}
std::string OrientationText(int32_t Value) { return EnumerationText(TIFFWords, 0x0112, Value); }
std::string PlanarConfigurationText(int32_t Value) {
  return EnumerationText(TIFFWords, 0x011C, Value);
}
std::string ResolutionUnitText(int32_t Value) { return EnumerationText(TIFFWords, 0x0128, Value); }
std::string ExposureProgramText(int32_t Value) { return EnumerationText(EXIFWords, 0x8822, Value); }
std::string ComponentsConfigurationText(int32_t Value) {
  return EnumerationText(EXIFWords, 0x9101, Value);
}
std::string MeteringModeText(int32_t Value) { return EnumerationText(EXIFWords, 0x9207, Value); }
std::string LightSourceText(int32_t Value) { return EnumerationText(EXIFWords, 0x9208, Value); }
std::string FlashText(int32_t Value) { return EnumerationText(EXIFWords, 0x9209, Value); }
std::string ColorSpaceText(int32_t Value) { return EnumerationText(EXIFWords, 0xA001, Value); }
std::string SensingMethodText(int32_t Value) { return EnumerationText(EXIFWords, 0xA217, Value); }
std::string SceneTypeText(int32_t Value) { return EnumerationText(EXIFWords, 0xA301, Value); }
std::string ExposureModeText(int32_t Value) { return EnumerationText(EXIFWords, 0xA402, Value); }
std::string WhiteBalanceText(int32_t Value) { return EnumerationText(EXIFWords, 0xA403, Value); }
std::string SceneCaptureTypeText(int32_t Value) {
  return EnumerationText(EXIFWords, 0xA406, Value);
}
std::string GainControlText(int32_t Value) { return EnumerationText(EXIFWords, 0xA407, Value); }
std::string ContrastText(int32_t Value) { return EnumerationText(EXIFWords, 0xA408, Value); }
std::string SaturationText(int32_t Value) { return EnumerationText(EXIFWords, 0xA409, Value); }
std::string SharpnessText(int32_t Value) { return EnumerationText(EXIFWords, 0xA40A, Value); }
std::string SubjectDistanceRangeText(int32_t Value) {
  return EnumerationText(EXIFWords, 0xA40C, Value);
}

std::string TIFFValueText(const TEXIFTag& Rec) {
  return WordsOrDefaultText(TIFFWords, Rec, Selector, TRationalStyle::Plain);
}

std::string EXIFValueText(const TEXIFTag& Rec) {
  return WordsOrDefaultText(EXIFWords, Rec, Selector, TRationalStyle::Exif);
}

std::string InteropValueText(const TEXIFTag& Rec) {
  return DefaultValueText(Rec, TRationalStyle::Plain);
}

std::string GPSValueText(const TEXIFTag& Rec) {
  const TTagText* Row = GPSTexts.Find(Rec.Header.Tag);
  return Row != nullptr ? Row->Text(Rec) : DefaultValueText(Rec, TRationalStyle::GPS);
}
