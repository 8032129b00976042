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
    {" IFD 0 ", "IFD 0", "ifd0", &TEXIF::TIFFRecords, RecordText<TIFFValueText>},
    {" EXIF Sub IFD", "EXIF Sub IFD", "exif", &TEXIF::EXIFRecords, RecordText<EXIFValueText>},
    {" EXIF Interoperability IFD ", "EXIF Interoperability IFD", "interop", &TEXIF::INTEROPRecords,
     RecordText<InteropValueText>},
    {" Maker Note ", "Maker Note", "makerNote", &TEXIF::MakerNoteRecords, MakerNoteText},
    {" IFD 1", "IFD 1", "ifd1", &TEXIF::EXIF_IFD1Records, RecordText<TIFFValueText>},
    {" GPS ", "GPS", "gps", &TEXIF::GPSRecords, RecordText<GPSValueText>},
}};

std::string TagColumnText(uint16_t Tag) {
  constexpr char Digits[] = "0123456789ABCDEF";
  char Text[6] = {'0', 'x'};
  size_t Length = 2;
  for (int Shift = 12; Shift >= 0; Shift -= 4)
    if (const unsigned Digit = (Tag >> Shift) & 0xF; Digit != 0 || Length > 2 || Shift == 0)
      Text[Length++] = Digits[Digit];
  return {Text, Length};
}
