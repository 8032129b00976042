// Value texts of the standard directories: IFD 0 and IFD 1, the EXIF sub-IFD,
// the Interoperability IFD and GPS. Enumerated values become words; every
// other value is shown by the default value text of its field type.
#include <algorithm>
#include <cmath>
#include <span>

#include "EXIF_Defs.h"
#include "ValueFormat.h"

namespace {

struct TWord {
  int32_t Value;
  std::string_view Text;
};

using TWordTable = std::span<const TWord>;

std::string WordOrUnknown(TWordTable Table, int32_t Value) {
  for (const TWord& Word : Table)
    if (Word.Value == Value) return std::string(Word.Text);
  std::string Out = "unknown(";
  AppendInt(Out, Value);
  Out += ')';
  return Out;
}

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

// Components Configuration: one bit per component code 1 to 6.
struct TComponent {
  int32_t Bit;
  std::string_view Letters;
};
constexpr TComponent Components[] = {
    {2, "Y"}, {4, "Cb"}, {8, "Cr"}, {16, "R"}, {32, "G"}, {64, "B"},
};

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

std::string GPSVersionText(double Value) {
  // Rounded half to even, as the default floating-point rounding mode does.
  const double Rounded = std::nearbyint(Value);
  return FormatHex(static_cast<uint32_t>(Selector(Rounded)), 4);
}

std::string GPSReferenceText(std::string_view Stored) {
  if (Stored == "N") return "North";
  if (Stored == "E") return "East";
  if (Stored == "W") return "West";
  if (Stored == "S") return "South";
  return std::string(Stored);
}

std::string GPSSpeedUnitText(std::string_view Stored) {
  const std::string_view Letter = Trimmed(Stored);
  if (Letter == "K") return "km/h";
  if (Letter == "M") return "mph";
  return "knots";
}

std::string GPSNorthText(std::string_view Stored) {
  return Trimmed(Stored) == "M" ? "Magnetic North" : "True North";
}

}  // namespace

std::string DefaultValueText(const TEXIFTag& Rec, TRationalStyle Style) {
  std::string Out;
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
    case ftByte:
    case ftShort:
    case ftLong:
    case ftSByte:
    case ftSShort:
    case ftSLong:
      AppendFixed0(Out, Rec.NumericValue[0]);
      Out += Rec.Header.Units;
      return Out;
    default:
      AppendG(Out, Rec.NumericValue[0]);
      Out += Rec.Header.Units;
      return Out;
  }
}

std::string CompressionText(int32_t Value) { return WordOrUnknown(CompressionWords, Value); }

std::string PhotometricInterpretationText(int32_t Value) {
  return WordOrUnknown(PhotometricInterpretationWords, Value);
}

std::string OrientationText(int32_t Value) {
  std::string_view Word = "<unknown>";
  for (const TWord& Candidate : OrientationWords)
    if (Candidate.Value == Value) Word = Candidate.Text;
  std::string Out(Word);
  Out += " (";
  AppendInt(Out, Value);
  Out += ')';
  return Out;
}

std::string PlanarConfigurationText(int32_t Value) {
  return WordOrUnknown(PlanarConfigurationWords, Value);
}

std::string ResolutionUnitText(int32_t Value) { return WordOrUnknown(ResolutionUnitWords, Value); }

std::string ComponentsConfigurationText(int32_t Value) {
  std::string Out;
  for (const TComponent& Component : Components)
    if ((Value & Component.Bit) != 0) Out += Component.Letters;
  return Out;
}

std::string ColorSpaceText(int32_t Value) { return WordOrUnknown(ColorSpaceWords, Value); }

std::string ExposureProgramText(int32_t Value) {
  return WordOrUnknown(ExposureProgramWords, Value);
}

std::string MeteringModeText(int32_t Value) { return WordOrUnknown(MeteringModeWords, Value); }

std::string LightSourceText(int32_t Value) { return WordOrUnknown(LightSourceWords, Value); }

std::string FlashText(int32_t Value) { return WordOrUnknown(FlashWords, Value); }

std::string SensingMethodText(int32_t Value) { return WordOrUnknown(SensingMethodWords, Value); }

std::string SceneTypeText(int32_t Value) { return WordOrUnknown(SceneTypeWords, Value); }

std::string ExposureModeText(int32_t Value) { return WordOrUnknown(ExposureModeWords, Value); }

std::string WhiteBalanceText(int32_t Value) { return WordOrUnknown(WhiteBalanceWords, Value); }

std::string SceneCaptureTypeText(int32_t Value) {
  return WordOrUnknown(SceneCaptureTypeWords, Value);
}

std::string GainControlText(int32_t Value) { return WordOrUnknown(GainControlWords, Value); }

std::string ContrastText(int32_t Value) { return WordOrUnknown(ContrastWords, Value); }

std::string SaturationText(int32_t Value) { return WordOrUnknown(SaturationWords, Value); }

std::string SharpnessText(int32_t Value) { return WordOrUnknown(ContrastWords, Value); }

std::string SubjectDistanceRangeText(int32_t Value) {
  return WordOrUnknown(SubjectDistanceRangeWords, Value);
}

std::string TIFFValueText(const TEXIFTag& Rec) {
  const int32_t Value = Selector(Rec.NumericValue[0]);
  switch (Rec.Header.Tag) {
    case 0x0103: return CompressionText(Value);
    case 0x0106: return PhotometricInterpretationText(Value);
    case 0x0112: return OrientationText(Value);
    case 0x011C: return PlanarConfigurationText(Value);
    case 0x0128: return ResolutionUnitText(Value);
    default: return DefaultValueText(Rec, TRationalStyle::Plain);
  }
}

std::string EXIFValueText(const TEXIFTag& Rec) {
  const int32_t Value = Selector(Rec.NumericValue[0]);
  switch (Rec.Header.Tag) {
    case 0x8822: return ExposureProgramText(Value);
    case 0x9101: return ComponentsConfigurationText(Value);
    case 0x9207: return MeteringModeText(Value);
    case 0x9208: return LightSourceText(Value);
    case 0x9209: return FlashText(Value);
    case 0xA001: return ColorSpaceText(Value);
    case 0xA217: return SensingMethodText(Value);
    case 0xA301: return SceneTypeText(Value);
    case 0xA402: return ExposureModeText(Value);
    case 0xA403: return WhiteBalanceText(Value);
    case 0xA406: return SceneCaptureTypeText(Value);
    case 0xA407: return GainControlText(Value);
    case 0xA408: return ContrastText(Value);
    case 0xA409: return SaturationText(Value);
    case 0xA40A: return SharpnessText(Value);
    case 0xA40C: return SubjectDistanceRangeText(Value);
    default: return DefaultValueText(Rec, TRationalStyle::Exif);
  }
}

std::string InteropValueText(const TEXIFTag& Rec) {
  return DefaultValueText(Rec, TRationalStyle::Plain);
}

std::string GPSValueText(const TEXIFTag& Rec) {
  switch (Rec.Header.Tag) {
    case 0x0000: return GPSVersionText(Rec.NumericValue[0]);
    case 0x0001:
    case 0x0003: return GPSReferenceText(Rec.StringValue);
    case 0x0002:
    case 0x0004:
    case 0x0014:
    case 0x0016: return GPSPositionText(Rec);
    case 0x0005: return Rec.NumericValue[0] == 0 ? "Above Sea Level" : "Below Sea Level";
    case 0x0007: return Rec.StringValue;
    case 0x0009: return Trimmed(Rec.StringValue) == "A" ? "Measurement Active" : "Measurement Void";
    case 0x000A: return Trimmed(Rec.StringValue) == "2" ? "2D Measurement" : "3D Measurement";
    case 0x000C:
    case 0x0019: return GPSSpeedUnitText(Rec.StringValue);
    case 0x000E:
    case 0x0010:
    case 0x0017: return GPSNorthText(Rec.StringValue);
    case 0x001E: return Rec.NumericValue[0] == 0 ? "No Correction " : "Differential Corrected";
    default: return DefaultValueText(Rec, TRationalStyle::GPS);
  }
}
