// The maker table: a row per maker-note format, and the choice of a maker
// and of a layout from the Make tag, the Model tag and the note's first
// bytes. The layouts of Canon, Nikon, Olympus, Panasonic, Fuji, Casio and
// Minolta are those this program has always read; those of Apple, Sony,
// Samsung and Pentax are as ExifTool's and Exiv2's documentation of maker
// notes describes them (exiftool.org/TagNames, exiftool.org/idiosyncracies.html,
// exiv2.org/makernote.html).
#include "MakerNotes.h"

#include <algorithm>

#include "MakerTables.h"

namespace {

// Packed settings arrays ---------------------------------------------------

// Canon: a first 16-bit word giving the array's length in bytes, then one
// 16-bit item per setting, both little-endian as Canon cameras write them.
// Minolta: big-endian 32-bit items in any file; the first word is not a
// setting, and 50 items are read whatever the entry's count.
void DecodeCanonSettings2Item(TEXIFTag& Rec, uint32_t Item, const TCanonLensItems&) {
  DecodeCanonSettings2(Rec, Item);
}
void DecodeMinoltaSettingsItem(TEXIFTag& Rec, uint32_t Item, const TCanonLensItems&) {
  DecodeMinoltaSettings(Rec, Item);
}

constexpr TSettingsArray CanonSettings[] = {
    {0x0001, 2, true, 28, false, false, DecodeCanonSettings1},
    {0x0004, 2, true, 15, false, false, DecodeCanonSettings2Item},
};
constexpr TSettingsArray MinoltaSettings[] = {
    {0x0001, 4, false, 50, true, true, DecodeMinoltaSettingsItem},
    {0x0003, 4, false, 50, true, true, DecodeMinoltaSettingsItem},
    {0x0F00, 4, false, 50, true, true, DecodeMinoltaSettingsItem},
};

// Layouts ---------------------------------------------------------------------

// A plain directory: the entry count is the note's first word.
constexpr TNoteLayout PlainDirectory[] = {{"", 0}};

// The older Nikon layout's tags 3 to 0x0B (colour mode, quality ...) are
// stored under other meanings in a note with its own TIFF header.
constexpr bool IsOlderNikonOnlyTag(uint16_t Tag) { return Tag >= 0x0003 && Tag <= 0x000B; }

// "Nikon\0" and a version (10 bytes), then in newer notes a TIFF header of
// their own, whose byte order the entries follow and from which their value
// offsets count; the count follows the 8-byte header in both.
constexpr TNoteLayout NikonLayouts[] = {
    {"Nikon\0", 18, nboTiffHeader, 10, nobNote, 10, {}, IsOlderNikonOnlyTag},
    {"", 18},
};

// "OLYMP\0" and a version (8 bytes).
constexpr TNoteLayout OlympusLayouts[] = {{"", 8}};

// "Panasonic\0\0\0" (12 bytes).
constexpr TNoteLayout PanasonicLayouts[] = {{"", 12}};

// "FUJIFILM" and the 4-byte offset of the directory (12 bytes); little-endian
// with offsets from the note's first byte.
constexpr TNoteLayout FujiLayouts[] = {{"", 12, nboLittle, 0, nobNote, 0}};

// "Apple iOS\0", a 16-bit version and "MM" (14 bytes); offsets from the
// note's first byte.
constexpr TNoteLayout AppleLayouts[] = {{"Apple iOS\0", 14, nboMark, 12, nobNote, 0}};

// A 12-byte signature before the directory, or none; offsets from the TIFF
// header, in the TIFF data's byte order.
constexpr TNoteLayout SonyLayouts[] = {
    {"SONY DSC \0\0\0", 12},
    {"SONY CAM \0\0\0", 12},
    {"SONY MOBILE\0", 12},
    {"", 0},
};

// A plain directory ("Type 2"). Offsets count from the TIFF header, except in
// the notes of the Galaxy NX cameras (EK-GN...), which count them from the
// note's first byte (exiftool.org/idiosyncracies.html, "Samsung EK-GN120").
constexpr TNoteLayout SamsungLayouts[] = {
    {"", 0, nboFile, 0, nobNote, 0, "EK-GN"},
    {"", 0},
};

// "AOC\0" and a byte order mark, offsets from the TIFF header; "PENTAX \0"
// and a byte order mark, offsets from the note's first byte; or a plain
// directory (the first Optio and Asahi models).
constexpr TNoteLayout PentaxLayouts[] = {
    {"AOC\0", 6, nboMark, 4},
    {"PENTAX \0", 10, nboMark, 8, nobNote, 0},
    {"", 0},
};

// Make prefixes --------------------------------------------------------------

constexpr std::string_view CanonMakes[] = {"CANON"};
constexpr std::string_view NikonMakes[] = {"NIKON"};
constexpr std::string_view OlympusMakes[] = {"OLYMP"};
constexpr std::string_view PanasonicMakes[] = {"PANAS"};
constexpr std::string_view FujiMakes[] = {"FUJIF"};
constexpr std::string_view CasioMakes[] = {"CASIO"};
constexpr std::string_view MinoltaMakes[] = {"MINOL"};
constexpr std::string_view AppleMakes[] = {"APPLE"};
constexpr std::string_view SonyMakes[] = {"SONY"};
constexpr std::string_view SamsungMakes[] = {"SAMSUNG"};
constexpr std::string_view PentaxMakes[] = {"PENTAX", "ASAHI"};
// Ricoh has made Pentax cameras since 2011, and Samsung sold Pentax models
// under its name (GX-1, GX-10, GX-20); their notes are Pentax notes.
constexpr std::string_view PentaxSignatureMakes[] = {"RICOH", "SAMSUNG"};

constexpr TTagTable NoTags;
constexpr TTagWordsTable NoWords;
constexpr TTagTextTable NoTexts;

// Compares ASCII letters without regard to case; Prefix is in capitals.
bool StartsWithIgnoreCase(std::string_view Text, std::string_view Prefix) {
  if (Text.size() < Prefix.size()) return false;
  for (size_t Index = 0; Index < Prefix.size(); ++Index) {
    const char Letter = Text[Index];
    if ((Letter >= 'a' && Letter <= 'z' ? static_cast<char>(Letter - 'a' + 'A') : Letter) != Prefix[Index]) return false;
  }
  return true;
}

bool HeadStartsWith(std::span<const uint8_t> Head, size_t At, std::string_view Bytes) {
  return At <= Head.size() && Bytes.size() <= Head.size() - At &&
         std::equal(Bytes.begin(), Bytes.end(), Head.begin() + static_cast<std::ptrdiff_t>(At),
                    [](char Byte, uint8_t HeadByte) { return static_cast<uint8_t>(Byte) == HeadByte; });
}

bool HasTiffHeaderAt(std::span<const uint8_t> Head, size_t At) {
  return HeadStartsWith(Head, At, std::string_view("II*\0", 4)) || HeadStartsWith(Head, At, std::string_view("MM\0*", 4));
}

bool HasSignatureOf(const TMakerNoteMaker& Maker, std::span<const uint8_t> Head) {
  return std::any_of(Maker.Layouts.begin(), Maker.Layouts.end(), [&](const TNoteLayout& Layout) {
    return !Layout.Signature.empty() && HeadStartsWith(Head, 0, Layout.Signature);
  });
}

}  // namespace

// Sources of the tag tables: the seven makers' as this program has always
// listed them; Apple's, Sony's, Samsung's and Pentax's in their own files.
constexpr std::array<TMakerNoteMaker, 12> MakerNoteMakers{{
    {mnfUnknown, "mnfUnknown", {}, {}, {}, &NoTags, &NoWords, &NoTexts, {}},
    {mnfCanon, "mnfCanon", CanonMakes, {}, PlainDirectory, &CanonTable, &NoWords, &NoTexts, CanonSettings},
    {mnfNikon, "mnfNikon", NikonMakes, {}, NikonLayouts, &NikonTable, &NikonWordsTable, &NoTexts, {}},
    {mnfOlympus, "mnfOlympus", OlympusMakes, {}, OlympusLayouts, &OlympusTable, &OlympusWordsTable, &NoTexts, {}},
    {mnfPanasonic, "mnfPanasonic", PanasonicMakes, {}, PanasonicLayouts, &PanasonicTable, &PanasonicWordsTable,
     &NoTexts, {}},
    {mnfFuji, "mnfFuji", FujiMakes, {}, FujiLayouts, &FujiTable, &FujiWordsTable, &NoTexts, {}},
    {mnfCasio, "mnfCasio", CasioMakes, {}, PlainDirectory, &CasioTable, &CasioWordsTable, &NoTexts, {}},
    {mnfMinolta, "mnfMinolta", MinoltaMakes, {}, PlainDirectory, &MinoltaTable, &NoWords, &NoTexts, MinoltaSettings},
    {mnfApple, "mnfApple", AppleMakes, {}, AppleLayouts, &AppleTable, &AppleWordsTable, &NoTexts, {}},
    {mnfSony, "mnfSony", SonyMakes, {}, SonyLayouts, &SonyTable, &SonyWordsTable, &SonyTextsTable, {}},
    {mnfSamsung, "mnfSamsung", SamsungMakes, {}, SamsungLayouts, &SamsungTable, &SamsungWordsTable, &NoTexts, {}},
    {mnfPentax, "mnfPentax", PentaxMakes, PentaxSignatureMakes, PentaxLayouts, &PentaxTable, &PentaxWordsTable,
     &NoTexts, {}},
}};

static_assert([] {
  for (size_t Row = 0; Row < MakerNoteMakers.size(); ++Row)
    if (MakerNoteMakers[Row].Format != Row) return false;
  return true;
}(), "the maker table stands in the order of the formats' numbers");

static_assert([] {
  for (const TMakerNoteMaker& Maker : MakerNoteMakers)
    for (const TSettingsArray& Array : Maker.Settings)
      if (Array.MaxItems > MaxSettingsItems) return false;
  return true;
}(), "no settings array reads more items than the reader holds");

const TMakerNoteMaker& MakerOf(TMakerNoteFormat Format) {
  return MakerNoteMakers[Format < MakerNoteMakers.size() ? Format : mnfUnknown];
}

namespace {

// Every Make prefix of the maker table, in the table's order: the choice of
// a maker is one pass over them.
struct TMakePrefix {
  std::string_view Prefix;
  TMakerNoteFormat Format;
  bool NeedsSignature;
};

constexpr size_t MakePrefixCount = [] {
  size_t Count = 0;
  for (const TMakerNoteMaker& Maker : MakerNoteMakers) Count += Maker.Makes.size() + Maker.SignatureMakes.size();
  return Count;
}();

constexpr std::array<TMakePrefix, MakePrefixCount> MakePrefixes = [] {
  std::array<TMakePrefix, MakePrefixCount> Prefixes{};
  size_t At = 0;
  for (const TMakerNoteMaker& Maker : MakerNoteMakers) {
    for (std::string_view Prefix : Maker.Makes) Prefixes[At++] = {Prefix, Maker.Format, false};
    for (std::string_view Prefix : Maker.SignatureMakes) Prefixes[At++] = {Prefix, Maker.Format, true};
  }
  return Prefixes;
}();

// The prefixes' first letters, in their order: most Makes are told from all
// but one prefix by their first letter alone.
constexpr std::array<char, MakePrefixCount> FirstLetters = [] {
  std::array<char, MakePrefixCount> Letters{};
  for (size_t At = 0; At < MakePrefixCount; ++At) Letters[At] = MakePrefixes[At].Prefix[0];
  return Letters;
}();

char FirstLetterOf(std::string_view Make) {
  const char Letter = Make.empty() ? '\0' : Make[0];
  return Letter >= 'a' && Letter <= 'z' ? static_cast<char>(Letter - 'a' + 'A') : Letter;
}

}  // namespace

bool MakeNamesAMaker(std::string_view Make) {
  const char First = FirstLetterOf(Make);
  for (size_t At = 0; At < MakePrefixCount; ++At)
    if (FirstLetters[At] == First && StartsWithIgnoreCase(Make, MakePrefixes[At].Prefix)) return true;
  return false;
}

TMakerNoteFormat MakerOfMake(std::string_view Make) {
  const char First = FirstLetterOf(Make);
  for (size_t At = 0; At < MakePrefixCount; ++At) {
    const TMakePrefix& Prefix = MakePrefixes[At];
    if (FirstLetters[At] == First && !Prefix.NeedsSignature && StartsWithIgnoreCase(Make, Prefix.Prefix))
      return Prefix.Format;
  }
  return mnfUnknown;
}

TMakerNoteFormat MakerOfSignature(std::string_view Make, std::span<const uint8_t> NoteHead) {
  const char First = FirstLetterOf(Make);
  for (size_t At = 0; At < MakePrefixCount; ++At) {
    const TMakePrefix& Prefix = MakePrefixes[At];
    if (FirstLetters[At] == First && Prefix.NeedsSignature && StartsWithIgnoreCase(Make, Prefix.Prefix) &&
        HasSignatureOf(MakerOf(Prefix.Format), NoteHead))
      return Prefix.Format;
  }
  return mnfUnknown;
}

bool UsesModel(const TMakerNoteMaker& Maker) {
  return std::any_of(Maker.Layouts.begin(), Maker.Layouts.end(),
                     [](const TNoteLayout& Layout) { return !Layout.ModelPrefix.empty(); });
}

const TNoteLayout* NoteLayoutOf(const TMakerNoteMaker& Maker, std::span<const uint8_t> NoteHead,
                                std::string_view Model) {
  for (const TNoteLayout& Layout : Maker.Layouts) {
    if (!HeadStartsWith(NoteHead, 0, Layout.Signature)) continue;
    if (!StartsWithIgnoreCase(Model, Layout.ModelPrefix)) continue;
    if (Layout.Order == nboTiffHeader && !HasTiffHeaderAt(NoteHead, Layout.OrderAt)) continue;
    return &Layout;
  }
  return nullptr;
}

bool NoteIsBigEndian(const TNoteLayout& Layout, std::span<const uint8_t> NoteHead, bool FileBigEndian) {
  switch (Layout.Order) {
    case nboLittle: return false;
    case nboMark:
    case nboTiffHeader:
      if (HeadStartsWith(NoteHead, Layout.OrderAt, "MM")) return true;
      if (HeadStartsWith(NoteHead, Layout.OrderAt, "II")) return false;
      return FileBigEndian;
    case nboFile: break;
  }
  return FileBigEndian;
}

const TSettingsArray* SettingsArrayOf(const TMakerNoteMaker& Maker, uint16_t Tag) {
  for (const TSettingsArray& Array : Maker.Settings)
    if (Array.Tag == Tag) return &Array;
  return nullptr;
}
