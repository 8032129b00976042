// Fuzz target: one XMP packet as a file stores it (any encoding, any bytes
// after it) read into the rows of the XMP tab.
#include "XmpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::vector<TXmpProperty> Rows;
  ReadXmpPacket(std::span<const uint8_t>(Data, Size), Rows);
  return 0;
}
