// Fuzz target: the maker-note walk of each of the seven makers. The first
// byte chooses the maker, the second the byte order of the TIFF data around
// the note (odd: big-endian); the rest is the maker note.
#include "ExifWriter.h"

namespace {

const char* const Makes[7] = {"Canon", "NIKON", "OLYMPUS", "Panasonic", "FUJIFILM", "CASIO", "Minolta"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 2) return 0;
  const std::string Make = Makes[Data[0] % 7];
  const TByteOrder Order = (Data[1] & 1) ? TByteOrder::Big : TByteOrder::Little;
  const TBytes Note(Data + 2, Data + Size);
  TEXIF Doc;
  LoadBytes(Doc, TiffWithMakerNote(Make, [&](uint32_t) { return Note; }, Order));
  for (int32_t Index = 0; Index < Doc.MakerNoteCount(); ++Index)
    MakerNoteValueText(Doc.MakerNoteFormat(), Doc.MakerNoteTag(static_cast<uint16_t>(Index)));
  return 0;
}
