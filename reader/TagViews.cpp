#include "TagViews.h"

#include "ValueFormat.h"

namespace {

// The value texts of the standard directories depend on the record alone;
// the maker note's on the document's maker-note format too.
template <std::string (*Text)(const TEXIFTag&)>
std::string RecordText(const TEXIF&, const TEXIFTag& Rec) {
  return Text(Rec);
}

std::string MakerNoteText(const TEXIF& Document, const TEXIFTag& Rec) {
  return MakerNoteValueText(Document.MakerNoteFormat(), Rec);
}

}  // namespace

// IFD 1 holds the thumbnail's tags, which are IFD 0's tags: the same texts.
const std::array<TTagView, 6> TagViews{{
    {&TEXIF::TIFFRecords, RecordText<TIFFValueText>},
    {&TEXIF::EXIFRecords, RecordText<EXIFValueText>},
    {&TEXIF::INTEROPRecords, RecordText<InteropValueText>},
    {&TEXIF::MakerNoteRecords, MakerNoteText},
    {&TEXIF::EXIF_IFD1Records, RecordText<TIFFValueText>},
    {&TEXIF::GPSRecords, RecordText<GPSValueText>},
}};

// The nine tabs of the original window, then the tabs of XMP and IPTC, which
// show only while the file has rows for them.
const std::array<TTabView, 11> TabViews{{
    {" IFD 0 ", "IFD 0", "ifd0", tkTags, &TagViews[tvIFD0], false},
    {" EXIF Sub IFD", "EXIF Sub IFD", "exif", tkTags, &TagViews[tvEXIF], false},
    {" EXIF Interoperability IFD ", "EXIF Interoperability IFD", "interop", tkTags, &TagViews[tvInterop], false},
    {" Maker Note ", "Maker Note", "makerNote", tkTags, &TagViews[tvMakerNote], false},
    {" IFD 1", "IFD 1", "ifd1", tkTags, &TagViews[tvIFD1], false},
    {" GPS ", "GPS", "gps", tkTags, &TagViews[tvGPS], false},
    {" Image ", "Image", "image", tkImage, nullptr, false},
    {" Thumbnail ", "Thumbnail", "thumbnail", tkThumbnail, nullptr, false},
    {" Comment ", "Comment", "comment", tkComment, nullptr, false},
    {" XMP ", "XMP", "xmp", tkXmp, nullptr, true},
    {" IPTC ", "IPTC", "iptc", tkIptc, nullptr, true},
}};

const TTabView* FindTab(TTabKind Kind) {
  for (const TTabView& Tab : TabViews)
    if (Tab.Kind == Kind) return &Tab;
  return nullptr;
}

std::string TagColumnText(uint16_t Tag) {
  constexpr char Digits[] = "0123456789ABCDEF";
  char Text[6] = {'0', 'x'};
  size_t Length = 2;
  for (int Shift = 12; Shift >= 0; Shift -= 4)
    if (const unsigned Digit = (Tag >> Shift) & 0xF; Digit != 0 || Length > 2 || Shift == 0)
      Text[Length++] = Digits[Digit];
  return {Text, Length};
}

std::string IptcColumnText(const TIptcDataset& Dataset) {
  return std::to_string(Dataset.Record) + ':' + std::to_string(Dataset.Dataset);
}

size_t RowCount(const TEXIF& Document, const TTabView& Tab) {
  switch (Tab.Kind) {
    case tkTags: return (Document.*Tab.Tags->Records)().size();
    case tkXmp: return Document.XmpProperties().size();
    case tkIptc: return Document.IptcDatasets().size();
    default: return 0;
  }
}
