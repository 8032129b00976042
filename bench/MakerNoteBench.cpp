// The maker-note walk of the seven makers' photos of the corpus: their EXIF
// segments, held in memory, loaded as they are and loaded once more with the
// Make's first letter changed so that no maker is recognised. The second
// costs everything but the maker-note walk; the difference is the walk.
#include "MakerNoteBench.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "EXIF_Intf.h"

namespace {

// The corpus photos of Canon, Nikon, Olympus, Panasonic, Fuji, Casio and
// Minolta whose maker notes are read.
constexpr const char* SevenMakersPhotos[] = {
    "et-Canon.jpg",   "es-Canon_PowerShot_S40.jpg", "et-Nikon.jpg",   "es-DSCN0010.jpg",
    "et-Olympus.jpg", "et-Panasonic.jpg",           "et-FujiFilm.jpg", "es-Fujifilm_FinePix_E500.jpg",
    "et-Casio.jpg",   "et-Minolta.jpg",
};

using TBytes = std::vector<uint8_t>;

TBytes ReadWholeFile(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

// The start of image and the first APP1 "Exif" segment of a JPEG file: all
// the parse reads of it.
TBytes ExifPart(const TBytes& Jpeg) {
  for (size_t At = 2; At + 10 <= Jpeg.size();) {
    const size_t Length = size_t{Jpeg[At + 2]} << 8 | Jpeg[At + 3];
    const auto Segment = Jpeg.begin() + std::ptrdiff_t(At);
    if (Jpeg[At + 1] == 0xE1 && std::equal(Segment + 4, Segment + 8, "Exif")) {
      TBytes Part{0xFF, 0xD8};
      Part.insert(Part.end(), Segment, Segment + std::ptrdiff_t(std::min(Jpeg.size() - At, Length + 2)));
      return Part;
    }
    At += 2 + Length;
  }
  return {};
}

TMakerNoteFormat FormatOf(const TBytes& Bytes) {
  TEXIF Doc;
  Doc.LoadFromBytes(TByteBuffer(Bytes.begin(), Bytes.end()));
  return Doc.MakerNoteFormat();
}

// The same bytes with the Make's text starting with 'Q', which no maker's
// prefix does; empty when the Make is not found.
TBytes WithoutMaker(const TBytes& Bytes) {
  TEXIF Doc;
  Doc.LoadFromBytes(TByteBuffer(Bytes.begin(), Bytes.end()));
  const std::string Make = Doc.FindTIFFTag(0x010F).StringValue;
  const auto At = std::search(Bytes.begin(), Bytes.end(), Make.begin(), Make.end());
  if (Make.empty() || At == Bytes.end()) return {};
  TBytes Changed = Bytes;
  Changed[static_cast<size_t>(At - Bytes.begin())] = 'Q';
  return FormatOf(Changed) == mnfUnknown ? Changed : TBytes{};
}

struct TSets {
  std::vector<TByteBuffer> WithNotes, WithoutNotes;
};

TSets& Sets() {
  static TSets Loaded;
  return Loaded;
}

void LoadEach(benchmark::State& State, const std::vector<TByteBuffer>& Files) {
  TEXIF Doc;
  for (auto _ : State)
    for (const TByteBuffer& File : Files) {
      Doc.LoadFromBytes(File);
      benchmark::DoNotOptimize(Doc.MakerNoteCount());
    }
  State.counters["file"] = benchmark::Counter(static_cast<double>(Files.size()),
                                              benchmark::Counter::kIsIterationInvariantRate |
                                                  benchmark::Counter::kInvert);
}

}  // namespace

void RegisterMakerNoteBenchmarks(const std::string& CorpusFolder) {
  for (const char* Name : SevenMakersPhotos) {
    const TBytes Exif = ExifPart(ReadWholeFile(CorpusFolder + "/" + Name));
    const TBytes Plain = Exif.empty() ? TBytes{} : WithoutMaker(Exif);
    if (Plain.empty() || FormatOf(Exif) == mnfUnknown) continue;
    Sets().WithNotes.emplace_back(Exif.begin(), Exif.end());
    Sets().WithoutNotes.emplace_back(Plain.begin(), Plain.end());
  }
  if (Sets().WithNotes.empty()) return;
  benchmark::RegisterBenchmark("LumentagMakerNotes/seven", [](benchmark::State& State) {
    LoadEach(State, Sets().WithNotes);
  });
  benchmark::RegisterBenchmark("LumentagMakerNotes/sevenUnrecognised", [](benchmark::State& State) {
    LoadEach(State, Sets().WithoutNotes);
  });
}
