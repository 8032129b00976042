// The six tag tabs of the viewer, in their order: what each is called, which
// list of the document it shows and how its Value column is made. The
// window, the dump tool and the benchmark all go through this table, so a
// tab's list and its value texts are paired in one place only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "EXIF_Intf.h"

struct TTagView {
  std::string_view Caption;  // the tab's caption, its blanks included
  std::string_view Title;    // the dump's section title
  std::string_view Key;      // the dump's JSON key
  std::span<const TEXIFTag> (TEXIF::*Records)() const;
  std::string (*ValueText)(const TEXIF& Document, const TEXIFTag& Rec);
};

enum TTagViewIndex { tvIFD0, tvEXIF, tvInterop, tvMakerNote, tvIFD1, tvGPS };

extern const std::array<TTagView, 6> TagViews;

// The "Tag" column: "0x" and the tag number in hexadecimal, capital digits,
// no leading zeros (0x112).
std::string TagColumnText(uint16_t Tag);

// Calls Visit with each record of View's list, in order.
template <class TVisit>
void ForEachRecord(const TEXIF& Document, const TTagView& View, TVisit&& Visit) {
  for (const TEXIFTag& Rec : (Document.*View.Records)()) Visit(Rec);
}
