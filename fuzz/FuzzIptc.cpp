// Fuzz target: IPTC records read into the rows of the IPTC tab. An even
// first byte gives the records themselves (TIFF tag 33723), an odd one
// Photoshop image resources whose resource 0x0404 holds them (JPEG APP13,
// TIFF tag 34377).
#include "IptcReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  std::span<const uint8_t> Block(Data + 1, Size - 1);
  if (Data[0] & 1) {
    const std::optional<TSpanRange> Records = PhotoshopIptc(Block);
    if (!Records) return 0;
    Block = Block.subspan(Records->Offset, Records->Length);
  }
  std::vector<TIptcDataset> Rows;
  ReadIptcRecords(Block, Rows);
  return 0;
}
