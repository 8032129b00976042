// The sets of files the reading benchmarks run over: the shared corpus of
// photos (and the folders given on the command line), and photos made when
// the benchmark starts, of about 0.2, 2, 8, 17 and 40 MB, each a noise
// picture that carries the EXIF segment of a real camera's photo.
#pragma once

#include <string>
#include <vector>

struct TFileSet {
  std::string Name;  // "corpus", "0.2MB" ...
  std::vector<std::string> Files;
};

// Adds every file of Folder to the corpus set.
void AddBenchFolder(const std::string& Folder);

// Makes the photos (in a temporary folder, removed when the program ends):
// one of each size, and Copies17MB different photos of 17 MB.
void MakeBenchPhotos(int Copies17MB);

// Registers every reading benchmark for every set, named Reader/Set.
void RegisterReadingBenchmarks();

// The corpus first, then its files without XMP or IPTC ("corpus-plain"),
// then the photos by size.
const std::vector<TFileSet>& FileSets();
// The different photos of 17 MB.
const std::vector<std::string>& Photos17MB();
