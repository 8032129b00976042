// EXIF_Defs: the tag dictionary, the value texts shown in the Value column,
// and the decoders of the packed camera-settings arrays.
//
// Everything here is constant data or a pure function of its arguments; the
// unit keeps no state and depends on nothing else of the program.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// One row of a dictionary table. Name and Units always refer to constant
// strings with static storage, so a copied header stays valid on its own.
struct TEXIFTagHeader {
  uint16_t Tag = 0;
  uint8_t Dim = 0;          // how many values the decoder reads for this tag (at most 4)
  std::string_view Name;
  std::string_view Units;   // appended verbatim after a number; carries its own leading space
};

// One decoded tag, the unit of every tag list. The record whose numbers are
// all 0 and whose strings are empty is the "not found" result everywhere.
struct TEXIFTag {
  TEXIFTagHeader Header;
  uint16_t Typ = 0;                      // TIFF field type, 0 when the record carries no value
  std::array<double, 4> NumericValue{};  // decoded numbers, element 0 first
  std::string StringValue;               // decoded text, UTF-8

  bool IsEmpty() const;
};

// TIFF 6.0 field types.
enum TFieldType : uint16_t {
  ftByte = 1,
  ftAscii = 2,
  ftShort = 3,
  ftLong = 4,
  ftRational = 5,
  ftSByte = 6,
  ftUndefined = 7,
  ftSShort = 8,
  ftSLong = 9,
  ftSRational = 10,
  ftFloat = 11,
  ftDouble = 12,
};

// The types of whole numbers: BYTE, SHORT, LONG and their signed kinds.
constexpr bool IsWholeNumberType(uint16_t Type) {
  return Type == ftByte || Type == ftShort || Type == ftLong || Type == ftSByte || Type == ftSShort ||
         Type == ftSLong;
}

// The maker-note layouts the reader knows, chosen from the Make tag (and for
// some makers the note's first bytes): a row each of the maker table
// (MakerNotes.h).
enum TMakerNoteFormat : uint8_t {
  mnfUnknown = 0,
  mnfCanon = 1,
  mnfNikon = 2,
  mnfOlympus = 3,
  mnfPanasonic = 4,
  mnfFuji = 5,
  mnfCasio = 6,
  mnfMinolta = 7,
  mnfApple = 8,
  mnfSony = 9,
  mnfSamsung = 10,
  mnfPentax = 11,
};

// ---------------------------------------------------------------------------
// Dictionary tables (TagTables.cpp): the rows each directory knows, in their
// stored order. No table holds a tag number twice. The lookup by tag number
// that the reader's walks use is in TagLookup.h.

extern const std::array<TEXIFTagHeader, 5> DirectoryPointerTags;
extern const std::array<TEXIFTagHeader, 30> IFD0Tags;
extern const std::array<TEXIFTagHeader, 52> EXIFTags;
extern const std::array<TEXIFTagHeader, 4> InteropTags;
extern const std::array<TEXIFTagHeader, 7> CanonTags;
extern const std::array<TEXIFTagHeader, 14> NikonTags;
extern const std::array<TEXIFTagHeader, 9> OlympusTags;
extern const std::array<TEXIFTagHeader, 14> PanasonicTags;
extern const std::array<TEXIFTagHeader, 16> FujiTags;
extern const std::array<TEXIFTagHeader, 12> CasioTags;
extern const std::array<TEXIFTagHeader, 5> MinoltaTags;
extern const std::array<TEXIFTagHeader, 31> GPSTags;

// The enumerator's own name ("mnfCanon"), for tools that print the format.
std::string_view MakerNoteFormatName(TMakerNoteFormat Format);

// ---------------------------------------------------------------------------
// Selectors (ValueFormat.cpp).

// NumericValue[0] truncated toward zero to a 64-bit integer. NaN gives 0;
// values beyond the 64-bit range saturate.
int64_t TruncToInt64(double Value);

// The selector compared against the word tables: the low 32 bits, signed, of
// the truncated number.
int32_t Selector(double Value);

// ---------------------------------------------------------------------------
// Standard value texts (StandardValueText.cpp).

// Which rational pattern the default value text uses: "%g (%s)%s" for IFD 0,
// IFD 1, Interoperability and maker notes, "%gf (%s)%s" for the EXIF sub-IFD,
// "%g (%s) %s" for GPS.
enum class TRationalStyle { Plain, Exif, GPS };

std::string DefaultValueText(const TEXIFTag& Rec, TRationalStyle Style = TRationalStyle::Plain);

std::string TIFFValueText(const TEXIFTag& Rec);
std::string EXIFValueText(const TEXIFTag& Rec);
std::string InteropValueText(const TEXIFTag& Rec);
std::string GPSValueText(const TEXIFTag& Rec);

std::string CompressionText(int32_t Value);
std::string PhotometricInterpretationText(int32_t Value);
std::string OrientationText(int32_t Value);
std::string PlanarConfigurationText(int32_t Value);
std::string ResolutionUnitText(int32_t Value);
std::string ComponentsConfigurationText(int32_t Value);
std::string ColorSpaceText(int32_t Value);
std::string ExposureProgramText(int32_t Value);
std::string MeteringModeText(int32_t Value);
std::string LightSourceText(int32_t Value);
std::string FlashText(int32_t Value);
std::string SensingMethodText(int32_t Value);
std::string SceneTypeText(int32_t Value);
std::string ExposureModeText(int32_t Value);
std::string WhiteBalanceText(int32_t Value);
std::string SceneCaptureTypeText(int32_t Value);
std::string GainControlText(int32_t Value);
std::string ContrastText(int32_t Value);
std::string SaturationText(int32_t Value);
std::string SharpnessText(int32_t Value);
std::string SubjectDistanceRangeText(int32_t Value);

// ---------------------------------------------------------------------------
// Maker-note value text (MakerNoteValueText.cpp): the words and rules of the
// format's row of the maker table; the plain default value text otherwise.

std::string MakerNoteValueText(TMakerNoteFormat Format, const TEXIFTag& Rec);

// ---------------------------------------------------------------------------
// Camera-settings decoders (CameraSettings.cpp). Each fills Rec in place for
// one item of a settings array; a recognised item leaves Rec.Typ non-zero.

// Canon settings-1 "Lens Attached" shows the lens's focal range, and the long
// end and the focal units live in other items of the same array (23 and 25);
// the reader, which holds the whole array, passes them along.
struct TCanonLensItems {
  uint32_t LongFocal = 0;       // item 23
  uint32_t FocalUnitsPerMm = 0; // item 25
};

void DecodeCanonSettings1(TEXIFTag& Rec, uint32_t Item, const TCanonLensItems& Lens = {});
void DecodeCanonSettings2(TEXIFTag& Rec, uint32_t Item);
void DecodeMinoltaSettings(TEXIFTag& Rec, uint32_t Item);
