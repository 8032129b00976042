// TagLookup: finding the row of a tag number in a table keyed by tag, for the
// reader's directory walks and for the dictionary's own tables of words.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "EXIF_Defs.h"

// Rows keyed by tag, ready for lookups, made when the program is compiled.
// Beside the rows in their stored order it keeps their tags in ascending
// order, each with the position of its row, in as many slots as the smallest
// power of two that holds them all (at most MaxSlots): the unused slots come
// last and hold a tag above every 16-bit number, so that a lookup is one
// halving per doubling of the table. Rows that share a tag stand last row
// first, so that the lookup, which takes the last slot whose tag is not
// above the one sought, finds the row a scan from the first row would.
template <class TRow, size_t MaxSlots = 64>
class TTagIndexed {
  static_assert(MaxSlots <= 256, "Find halves at most eight times");

 public:
  std::span<const TRow> Rows;

  constexpr TTagIndexed() = default;
  constexpr TTagIndexed(std::span<const TRow> TableRows) : Rows(TableRows) {
    if (Rows.size() > MaxSlots) throw "more rows than a table has slots";
    while ((size_t{1} << FHalvings) < Rows.size()) ++FHalvings;
    for (size_t Row = 0; Row < Rows.size(); ++Row) {
      size_t At = Row;  // insertion: before the earlier rows with the same tag
      for (; At > 0 && FSlots[At - 1].Tag >= Rows[Row].Tag; --At) FSlots[At] = FSlots[At - 1];
      FSlots[At] = {Rows[Row].Tag, static_cast<uint32_t>(Row)};
    }
  }

  // The first row with Tag, or nullptr. The halvings are written out, from
  // the table's own number of them down to the last.
  const TRow* Find(uint16_t Tag) const {
    const TSlot* Base = FSlots.data();
    const auto Halve = [&](size_t Half) { Base = Base[Half].Tag <= Tag ? Base + Half : Base; };
    switch (FHalvings) {
      case 8: Halve(128); [[fallthrough]];
      case 7: Halve(64); [[fallthrough]];
      case 6: Halve(32); [[fallthrough]];
      case 5: Halve(16); [[fallthrough]];
      case 4: Halve(8); [[fallthrough]];
      case 3: Halve(4); [[fallthrough]];
      case 2: Halve(2); [[fallthrough]];
      case 1: Halve(1); [[fallthrough]];
      default: break;
    }
    return Base->Tag == Tag ? &Rows[Base->Row] : nullptr;
  }

 private:
  struct TSlot {
    uint32_t Tag = 0x10000;
    uint32_t Row = 0;
  };
  std::array<TSlot, MaxSlots> FSlots{};
  uint8_t FHalvings = 0;  // log2 of the slots in use
};

// True when every row's tag is above the tag of the row before: the rows are
// in tag order and no tag stands twice.
template <class TRow, size_t N>
constexpr bool InTagOrder(const TRow (&Rows)[N]) {
  for (size_t Row = 1; Row < N; ++Row)
    if (Rows[Row].Tag <= Rows[Row - 1].Tag) return false;
  return true;
}

// A dictionary table ready for lookups, of up to 256 rows (the largest maker
// tables hold some 150); a type of its own, so that headers can name it
// without this one.
struct TTagTable : TTagIndexed<TEXIFTagHeader, 256> {
  using TTagIndexed::TTagIndexed;
};

// The twelve dictionary tables ready for lookups.
extern const TTagTable DirectoryPointerTable;
extern const TTagTable IFD0Table;
extern const TTagTable EXIFTable;
extern const TTagTable InteropTable;
extern const TTagTable CanonTable;
extern const TTagTable NikonTable;
extern const TTagTable OlympusTable;
extern const TTagTable PanasonicTable;
extern const TTagTable FujiTable;
extern const TTagTable CasioTable;
extern const TTagTable MinoltaTable;
extern const TTagTable GPSTable;

// The first row of Table with this tag number, or nullptr.
inline const TEXIFTagHeader* FindTagHeader(const TTagTable& Table, uint16_t Tag) {
  return Table.Find(Tag);
}

// The maker-note table of a format (its row of the maker table, MakerNotes.h);
// without rows for mnfUnknown.
const TTagTable& MakerNoteTags(TMakerNoteFormat Format);
