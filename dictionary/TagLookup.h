// TagLookup: finding the row of a tag number in a table keyed by tag, for the
// reader's directory walks and for the dictionary's own tables of words.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "EXIF_Defs.h"

// Rows keyed by tag, ready for lookups, made when the program is compiled.
// Beside the rows in their stored order it keeps their tags in ascending
// order, each with the position of its row, in a fixed number of slots: the
// unused slots come last and hold a tag above every 16-bit number, so that a
// lookup in any table is the same six halvings. Rows that share a tag stand
// last row first, so that the lookup, which takes the last slot whose tag is
// not above the one sought, finds the row a scan from the first row would.
template <class TRow>
class TTagIndexed {
 public:
  static constexpr size_t Slots = 64;

  std::span<const TRow> Rows;

  constexpr TTagIndexed() = default;
  constexpr TTagIndexed(std::span<const TRow> TableRows) : Rows(TableRows) {
    if (Rows.size() > Slots) throw "more rows than a table has slots";
    for (size_t Row = 0; Row < Rows.size(); ++Row) {
      size_t At = Row;  // insertion: before the earlier rows with the same tag
      for (; At > 0 && FSlots[At - 1].Tag >= Rows[Row].Tag; --At) FSlots[At] = FSlots[At - 1];
      FSlots[At] = {Rows[Row].Tag, static_cast<uint32_t>(Row)};
    }
  }

  // The first row with Tag, or nullptr.
  const TRow* Find(uint16_t Tag) const {
    const TSlot* Base = FSlots.data();
    for (size_t Half = Slots / 2; Half > 0; Half /= 2)
      Base = Base[Half].Tag <= Tag ? Base + Half : Base;
    return Base->Tag == Tag ? &Rows[Base->Row] : nullptr;
  }

 private:
  struct TSlot {
    uint32_t Tag = 0x10000;
    uint32_t Row = 0;
  };
  std::array<TSlot, Slots> FSlots{};
};

// True when every row's tag is above the tag of the row before: the rows are
// in tag order and no tag stands twice.
template <class TRow, size_t N>
constexpr bool InTagOrder(const TRow (&Rows)[N]) {
  for (size_t Row = 1; Row < N; ++Row)
    if (Rows[Row].Tag <= Rows[Row - 1].Tag) return false;
  return true;
}

// A dictionary table ready for lookups; a type of its own, so that headers can
// name it without this one.
struct TTagTable : TTagIndexed<TEXIFTagHeader> {
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

// The maker-note table of a format; without rows for mnfUnknown.
const TTagTable& MakerNoteTags(TMakerNoteFormat Format);
