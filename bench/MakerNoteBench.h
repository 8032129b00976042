// The maker-note walk of the seven makers' photos of the corpus, measured as
// the load of their EXIF segments with and without a recognised Make.
#pragma once

#include <string>

// Registers LumentagMakerNotes/seven and LumentagMakerNotes/sevenUnrecognised
// when CorpusFolder holds the photos.
void RegisterMakerNoteBenchmarks(const std::string& CorpusFolder);
