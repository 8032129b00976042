// Fuzz target: the maker-note walk of every maker. The first byte chooses the
// Make (modulo the number of Makes below), the second the byte order of the
// TIFF data around the note (odd: big-endian); the rest is the maker note.
#include "ExifWriter.h"

namespace {

// One Make of each maker, in the order of the formats' numbers, then a Make
// that chooses Pentax only together with a Pentax note's signature.
const char* const Makes[12] = {"Canon", "NIKON",   "OLYMPUS", "Panasonic", "FUJIFILM", "CASIO",
                               "Minolta", "Apple", "SONY",    "samsung",   "PENTAX",   "RICOH"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 2) return 0;
  const std::string Make = Makes[Data[0] % 12];
  const TByteOrder Order = (Data[1] & 1) ? TByteOrder::Big : TByteOrder::Little;
  const TBytes Note(Data + 2, Data + Size);
  TEXIF Doc;
  LoadBytes(Doc, TiffWithMakerNote(Make, [&](uint32_t) { return Note; }, Order));
  for (int32_t Index = 0; Index < Doc.MakerNoteCount(); ++Index)
    MakerNoteValueText(Doc.MakerNoteFormat(), Doc.MakerNoteTag(static_cast<uint16_t>(Index)));
  return 0;
}
