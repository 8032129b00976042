// What tests and fuzzers see of a document beyond its public face: the byte
// order and the position of the TIFF header that the parse found, and a load
// through a stream of their own making (a file read in small blocks).
#pragma once

#include <string>
#include <utility>

#include "EXIF_Intf.h"

struct TEXIFInternals {
  // The byte order of the last file's TIFF data ("MM"); a Fuji maker note,
  // which is always little-endian, leaves it cleared.
  static bool Swapped(const TEXIF& Doc) { return Doc.FSwap; }
  // Stream position of the TIFF header (0 for a TIFF file).
  static uint32_t IFD0Offset(const TEXIF& Doc) { return Doc.FIFD0Offset; }
  static void LoadFrom(TEXIF& Doc, TMemoryStream File, std::string FileName = {}) {
    Doc.LoadFrom(std::move(File), std::move(FileName));
  }
};
