// MakerNotes: the maker table. One row per maker whose note the reader walks
// says everything the reader and the value texts need of that maker: which
// Make tags and note signatures choose it, where the note's entries start,
// their byte order, what value offsets count from, the tag table, the words
// and rules of the value texts and the packed settings arrays.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "EXIF_Defs.h"
#include "TagLookup.h"
#include "Words.h"

// Where the byte order of a note's entries comes from.
enum TNoteByteOrder : uint8_t {
  nboFile,        // the TIFF data's
  nboLittle,      // little-endian in every file, and the document keeps it after the note (Fuji)
  nboMark,        // "II" or "MM" at OrderAt in the note; the TIFF data's when neither stands there
  nboTiffHeader,  // a TIFF header ("II*\0" or "MM\0*") at OrderAt; without one the layout does not apply
};

// What the value offsets of a note's entries count from.
enum TNoteOffsetBase : uint8_t {
  nobTiffHeader,  // the TIFF header, as in every other directory
  nobNote,        // the note's first byte plus BaseAt
};

// One way a maker's note is laid out.
struct TNoteLayout {
  std::string_view Signature;  // the note's first bytes; empty: any note
  uint8_t CountAt;             // bytes from the note's start to its 16-bit entry count; the entries follow
  TNoteByteOrder Order = nboFile;
  uint8_t OrderAt = 0;
  TNoteOffsetBase Base = nobTiffHeader;
  uint8_t BaseAt = 0;
  // The layout applies only when IFD 0's Model starts with this (empty: any model).
  std::string_view ModelPrefix = {};
  // Tags that mean other things in this layout than the maker's table says; never stored.
  bool (*Skipped)(uint16_t Tag) = nullptr;
};

// A packed camera-settings array stored under one maker-note tag: where its
// items start, how many there are, their size and byte order, and the
// decoder of one item.
struct TSettingsArray {
  uint16_t Tag;             // the maker-note tag that holds it
  int64_t FirstItem;        // bytes from the array's offset to its first item
  bool CountInFirstWord;    // the first 16-bit word is the array's length in bytes
  uint16_t MaxItems;        // no known setting lies past this item
  bool BigEndian;
  bool FourBytes;           // 32-bit items, else 16-bit
  void (*Decode)(TEXIFTag& Rec, uint32_t Item, const TCanonLensItems& Lens);
};

// No array holds more items than this.
constexpr size_t MaxSettingsItems = 50;

// One maker. Make prefixes are compared with the start of the Make tag
// without regard to the case of letters.
struct TMakerNoteMaker {
  TMakerNoteFormat Format;
  std::string_view FormatName;                       // the enumerator's own name, "mnfCanon"
  std::span<const std::string_view> Makes;           // Make prefixes that choose the maker
  std::span<const std::string_view> SignatureMakes;  // Make prefixes that choose it for a note with a signature of its layouts
  std::span<const TNoteLayout> Layouts;              // the first that applies is used; none applies: the note is not read
  const TTagTable* Tags;
  const TTagWordsTable* Words;
  const TTagTextTable* Texts;                        // tags whose value text a rule of its own makes
  std::span<const TSettingsArray> Settings;
};

// The maker table, a row per format in the order of the formats' numbers;
// the row of mnfUnknown chooses and reads nothing.
extern const std::array<TMakerNoteMaker, 12> MakerNoteMakers;

// The row of Format (mnfUnknown's for a number past the table).
const TMakerNoteMaker& MakerOf(TMakerNoteFormat Format);

// How many of a note's first bytes the choice of a maker and of a layout
// looks at.
constexpr size_t NoteHeadBytes = 16;

// Whether any maker's Make prefix, of either kind, starts Make.
bool MakeNamesAMaker(std::string_view Make);

// The first maker one of whose Makes starts Make, or mnfUnknown.
TMakerNoteFormat MakerOfMake(std::string_view Make);

// The first maker whose signature Makes start Make and one of whose
// layouts' signatures starts NoteHead, or mnfUnknown: a maker chosen so
// comes before the one MakerOfMake gives. NoteHead holds up to
// NoteHeadBytes of the note's first bytes (none when there is no note).
TMakerNoteFormat MakerOfSignature(std::string_view Make, std::span<const uint8_t> NoteHead);

// Whether one of Maker's layouts applies only to some models.
bool UsesModel(const TMakerNoteMaker& Maker);

// The first of Maker's layouts that applies to a note starting with
// NoteHead in a file whose Model is Model, or nullptr.
const TNoteLayout* NoteLayoutOf(const TMakerNoteMaker& Maker, std::span<const uint8_t> NoteHead,
                                std::string_view Model);

// The byte order a layout gives the note starting with NoteHead: big-endian
// or not, given the TIFF data's.
bool NoteIsBigEndian(const TNoteLayout& Layout, std::span<const uint8_t> NoteHead, bool FileBigEndian);

// The settings array Maker stores under Tag, or nullptr.
const TSettingsArray* SettingsArrayOf(const TMakerNoteMaker& Maker, uint16_t Tag);
