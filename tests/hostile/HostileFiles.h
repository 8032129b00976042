// Crafted files, one per way a hostile file attacks a metadata reader. The
// tests load each; the file generator writes them to disk for the fuzzers
// and for valgrind.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ExifWriter.h"

struct THostileFile {
  std::string Name;    // file name, with its extension
  std::string Attack;  // one sentence: what the file attacks
  TBytes Bytes;
  std::string Keeps;                          // what must still have been read
  std::function<bool(const TEXIF&)> HasKept;  // checks it
  bool PictureRefused = false;  // its picture costs more than its data justify
};

std::vector<THostileFile> HostileFiles();

// The Makes the maker-note fuzzer chooses from: one of each maker-note
// format, mnfCanon first, then one that chooses Pentax only together with a
// Pentax note's signature.
extern const char* const MakerNames[12];

// Inputs for the maker-note fuzzer: a first byte choosing the Make (its index
// in MakerNames after taking it modulo 12), a second choosing the byte order
// (odd: big-endian), then the maker note's bytes.
std::vector<std::pair<std::string, TBytes>> MakerNoteFuzzInputs();
