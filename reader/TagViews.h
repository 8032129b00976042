// The tabs of the viewer, in their order: what each is called, what the dump
// calls its section and its JSON key, what it shows and, for the lists, how
// their rows are made. The window, the dump tool and the benchmark all go
// through these tables, so a tab is one row here and its list and value
// texts are paired in one place only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "EXIF_Intf.h"

// A list of tags: the document's list and how its Value column is made.
struct TTagView {
  std::span<const TEXIFTag> (TEXIF::*Records)() const;
  std::string (*ValueText)(const TEXIF& Document, const TEXIFTag& Rec);
};

enum TTagViewIndex { tvIFD0, tvEXIF, tvInterop, tvMakerNote, tvIFD1, tvGPS };

// The six tag lists, in the order of their tabs.
extern const std::array<TTagView, 6> TagViews;

// What a tab shows: a list of tags, XMP or IPTC rows (the window's list, the
// dump's rows), the picture, the thumbnail or the comment.
enum TTabKind : uint8_t { tkTags, tkXmp, tkIptc, tkImage, tkThumbnail, tkComment };

struct TTabView {
  std::string_view Caption;  // the tab's caption, its blanks included
  std::string_view Title;    // the dump's section title
  std::string_view Key;      // the dump's JSON key
  TTabKind Kind;
  const TTagView* Tags;      // a tag tab's list; null for the others
  // Shown only while the file has rows for it; the other tabs always are.
  bool OnlyWithRows;
};

// Every tab, in the window's order: the six tag tabs first, in the order of
// TagViews.
extern const std::array<TTabView, 11> TabViews;

// The first tab of a kind.
const TTabView* FindTab(TTabKind Kind);

// The "Tag" column: "0x" and the tag number in hexadecimal, capital digits,
// no leading zeros (0x112).
std::string TagColumnText(uint16_t Tag);
// The IPTC tab's "Tag" column: record and dataset in decimal ("2:25").
std::string IptcColumnText(const TIptcDataset& Dataset);

// Calls Visit with each record of View's list, in order.
template <class TVisit>
void ForEachRecord(const TEXIF& Document, const TTagView& View, TVisit&& Visit) {
  for (const TEXIFTag& Rec : (Document.*View.Records)()) Visit(Rec);
}

// Whether Tab is a list of rows (tags, XMP or IPTC).
constexpr bool IsList(const TTabView& Tab) { return Tab.Kind == tkTags || Tab.Kind == tkXmp || Tab.Kind == tkIptc; }

// The number of rows of a list tab; 0 for the others.
size_t RowCount(const TEXIF& Document, const TTabView& Tab);

// Calls Visit(Tag, Property, Value) with the texts of the three columns of
// each row of a list tab, in order; nothing for the others.
template <class TVisit>
void ForEachRow(const TEXIF& Document, const TTabView& Tab, TVisit&& Visit) {
  switch (Tab.Kind) {
    case tkTags:
      ForEachRecord(Document, *Tab.Tags, [&](const TEXIFTag& Rec) {
        Visit(TagColumnText(Rec.Header.Tag), std::string_view(Rec.Header.Name), Tab.Tags->ValueText(Document, Rec));
      });
      break;
    case tkXmp:
      for (const TXmpProperty& Row : Document.XmpProperties())
        Visit(std::string_view(Row.Path), std::string_view(Row.Name), std::string_view(Row.Value));
      break;
    case tkIptc:
      for (const TIptcDataset& Row : Document.IptcDatasets())
        Visit(IptcColumnText(Row), std::string_view(Row.Name), std::string_view(Row.Value));
      break;
    default: break;
  }
}
