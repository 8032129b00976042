// Value texts of maker-note rows. Nikon, Olympus, Panasonic, Fuji and Casio
// store codes whose meaning is known per tag; those codes become words. Every
// other row, and every row of the other formats, gets the default value text.
#include <span>

#include "EXIF_Defs.h"

namespace {

struct TMakerWord {
  uint16_t Tag;
  int32_t Value;
  std::string_view Text;
};

using TMakerWordTable = std::span<const TMakerWord>;

// Nikon (older layout)
constexpr TMakerWord NikonWords[] = {
    {0x0003, 1, "VGA Basic"},   {0x0003, 2, "VGA Normal"},   {0x0003, 3, "VGA Fine"},
    {0x0003, 4, "SXGA Basic"},  {0x0003, 5, "SXGA Normal"},  {0x0003, 6, "SXGA Fine"},
    {0x0003, 7, "XGA Basic"},   {0x0003, 8, "XGA Normal"},   {0x0003, 9, "XGA Fine"},
    {0x0003, 10, "UXGA Basic"}, {0x0003, 11, "UXGA Normal"}, {0x0003, 12, "UXGA Fine"},
    {0x0004, 1, "Colour"},      {0x0004, 2, "Monochrome"},
    {0x0005, 0, "Normal"},      {0x0005, 1, "Bright +"},     {0x0005, 2, "Bright -"},
    {0x0005, 3, "Contrast +"},  {0x0005, 4, "Contrast -"},
    {0x0006, 0, "ISO 80"},      {0x0006, 2, "ISO 160"},      {0x0006, 4, "ISO 320"},
    {0x0006, 5, "ISO 100"},
    {0x0007, 0, "Auto"},        {0x0007, 1, "Preset"},       {0x0007, 2, "Daylight"},
    {0x0007, 3, "Incandescence"}, {0x0007, 4, "Fluorescence"}, {0x0007, 5, "Cloudy"},
    {0x0007, 6, "Speedlight"},
    {0x000B, 0, "None"},        {0x000B, 1, "Fish-eye"},
};

// Olympus
constexpr TMakerWord OlympusWords[] = {
    {0x0200, 0, "Normal"},   {0x0200, 1, "unknown"}, {0x0200, 2, "Fast"},
    {0x0200, 3, "Panorama"},
    {0x0201, 1, "Standard"}, {0x0201, 2, "High"},    {0x0201, 3, "Super High"},
    {0x0202, 0, "Normal"},   {0x0202, 1, "Macro"},
};

// Panasonic
constexpr TMakerWord PanasonicWords[] = {
    {0x0001, 2, "High"},      {0x0001, 3, "Standard"},
    {0x0003, 1, "Auto"},      {0x0003, 2, "Daylight"},  {0x0003, 3, "Cloudy"},
    {0x0003, 4, "Halogen"},   {0x0003, 5, "Manual"},    {0x0003, 6, "Flash"},
    {0x0007, 1, "Auto"},      {0x0007, 2, "Manual"},
    {0x000F, 1, "On"},        {0x000F, 16, "Off"},
    {0x001A, 2, "Mode 1"},    {0x001A, 3, "Off"},       {0x001A, 4, "Mode 2"},
    {0x001C, 1, "Macro"},     {0x001C, 2, "Normal"},
    {0x001F, 2, "Portrait"},  {0x001F, 3, "Scenery"},   {0x001F, 4, "Sports"},
    {0x001F, 5, "Night Portrait"}, {0x001F, 6, "Program"}, {0x001F, 7, "Aperture Priority"},
    {0x001F, 8, "Shutter Priority"}, {0x001F, 9, "Macro"}, {0x001F, 11, "Manual"},
    {0x001F, 13, "Panning"},  {0x001F, 18, "Fireworks"}, {0x001F, 19, "Party"},
    {0x001F, 20, "Snow"},     {0x001F, 21, "Night Scenery"},
    {0x0020, 1, "Yes"},       {0x0020, 2, "No"},
    {0x0028, 1, "Off"},       {0x0028, 2, "Warm"},      {0x0028, 3, "Cool"},
    {0x0028, 4, "B&W"},       {0x0028, 5, "Sepia"},
    {0x002C, 0, "Standard"},  {0x002C, 1, "Low"},       {0x002C, 2, "High"},
    {0x002D, 0, "Standard"},  {0x002D, 1, "Low"},       {0x002D, 2, "High"},
};

// Fuji
constexpr TMakerWord FujiWords[] = {
    {0x1001, 1, "Soft"},   {0x1001, 2, "Soft"},   {0x1001, 3, "Normal"},
    {0x1001, 4, "Hard"},   {0x1001, 5, "Hard"},
    {0x1002, 0, "Auto"},   {0x1002, 256, "Daylight"}, {0x1002, 512, "Cloudy"},
    {0x1002, 768, "DaylightColor-Fluorescence"}, {0x1002, 769, "DaywhiteColor-Fluorescence"},
    {0x1002, 770, "White-Fluorescence"}, {0x1002, 1024, "Incandenscence"},
    {0x1002, 3840, "Custom"},
    {0x1003, 0, "Normal"}, {0x1003, 256, "High"}, {0x1003, 512, "Low"},
    {0x1004, 0, "Normal"}, {0x1004, 256, "High"}, {0x1004, 512, "Low"},
    {0x1010, 0, "Auto"},   {0x1010, 1, "On"},     {0x1010, 2, "Off"},
    {0x1010, 3, "Red-eye reduction"},
    {0x1020, 0, "Off"},    {0x1020, 1, "On"},
    {0x1021, 0, "Auto"},   {0x1021, 1, "Manual"},
    {0x1030, 0, "Off"},    {0x1030, 1, "On"},
    {0x1031, 0, "Auto"},   {0x1031, 1, "Portrait"}, {0x1031, 2, "Landscape"},
    {0x1031, 4, "Sports"}, {0x1031, 5, "Night Scene"}, {0x1031, 6, "Program"},
    {0x1031, 256, "Aperture Priority"}, {0x1031, 512, "Shutter Priority"},
    {0x1031, 768, "Manual"},
    {0x1100, 0, "Off"},    {0x1100, 1, "On"},
    {0x1300, 0, "Off"},    {0x1300, 1, "On"},
    {0x1301, 0, "Off"},    {0x1301, 1, "On"},
    {0x1302, 0, "Off"},    {0x1302, 1, "On"},
};

// Casio
constexpr TMakerWord CasioWords[] = {
    {0x0001, 0, "Normal"},   {0x0001, 1, "Single Shutter"}, {0x0001, 2, "Panorama"},
    {0x0001, 7, "Panorama"}, {0x0001, 3, "Night Scene"},    {0x0001, 10, "Night Scene"},
    {0x0001, 4, "Portrait"}, {0x0001, 15, "Portrait"},      {0x0001, 5, "Landscape"},
    {0x0001, 16, "Landscape"},
    {0x0002, 1, "Economy"},  {0x0002, 2, "Normal"},         {0x0002, 3, "Fine"},
    {0x0003, 2, "Macro"},    {0x0003, 3, "Auto Focus"},     {0x0003, 4, "Manual Focus"},
    {0x0003, 5, "Infinity"},
    {0x0004, 1, "Auto"},     {0x0004, 2, "On"},             {0x0004, 3, "Off"},
    {0x0004, 4, "Red-eye reduction"},
    {0x0005, 11, "Weak"},    {0x0005, 13, "Normal"},        {0x0005, 15, "Strong"},
    {0x0007, 1, "Auto"},     {0x0007, 2, "Tungsten"},       {0x0007, 3, "Daylight"},
    {0x0007, 4, "Fluorescent"}, {0x0007, 5, "Shade"},       {0x0007, 129, "Manual"},
    {0x000A, 0x10000, "Off"}, {0x000A, 0x10001, "2x"},
    {0x000B, 0, "Normal"},   {0x000B, 1, "Soft"},           {0x000B, 2, "High"},
    {0x000C, 0, "Normal"},   {0x000C, 1, "Soft"},           {0x000C, 2, "High"},
    {0x000D, 0, "Normal"},   {0x000D, 1, "Soft"},           {0x000D, 2, "High"},
    {0x0014, 64, "Normal"},  {0x0014, 80, "Normal"},        {0x0014, 100, "High"},
    {0x0014, 125, "+1"},     {0x0014, 244, "+3"},           {0x0014, 250, "+2"},
};

TMakerWordTable MakerWords(TMakerNoteFormat Format) {
  switch (Format) {
    case mnfNikon: return NikonWords;
    case mnfOlympus: return OlympusWords;
    case mnfPanasonic: return PanasonicWords;
    case mnfFuji: return FujiWords;
    case mnfCasio: return CasioWords;
    default: return {};
  }
}

}  // namespace

std::string MakerNoteValueText(TMakerNoteFormat Format, const TEXIFTag& Rec) {
  const TMakerWordTable Words = MakerWords(Format);
  if (!Words.empty()) {
    const int64_t Value = TruncToInt64(Rec.NumericValue[0]);
    for (const TMakerWord& Word : Words)
      if (Word.Tag == Rec.Header.Tag && Word.Value == Value) return std::string(Word.Text);
  }
  return DefaultValueText(Rec, TRationalStyle::Plain);
}
