// Reading metadata: Lumentag against a plain read() of the same files, Exiv2
// and libexif. Every benchmark processes every file once per iteration; the
// "file" counter gives the time per file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <libexif/exif-data.h>
#include <sys/stat.h>
#include <unistd.h>

#include <exiv2/exiv2.hpp>
#include <memory>

#include "BenchFiles.h"
#include "EXIF_Intf.h"

namespace {

// The file's bytes into a fresh buffer: what any reader has to pay at least.
size_t ReadWhole(const std::string& File) {
  const int Fd = ::open(File.c_str(), O_RDONLY | O_CLOEXEC);
  if (Fd < 0) return 0;
  struct stat Info{};
  ::fstat(Fd, &Info);
  const auto Size = static_cast<size_t>(Info.st_size);
  std::unique_ptr<uint8_t[]> Buffer(new uint8_t[Size]);
  size_t Filled = 0;
  while (Filled < Size) {
    const ssize_t Got = ::read(Fd, Buffer.get() + Filled, Size - Filled);
    if (Got <= 0) break;
    Filled += static_cast<size_t>(Got);
  }
  ::close(Fd);
  benchmark::DoNotOptimize(Buffer.get());
  return Filled;
}

// Every row's value text, as the six tag tabs make them.
size_t AllValueTexts(const TEXIF& Doc) {
  size_t Length = 0;
  TEXIFTag Rec;
  const auto Rows = [&](int32_t Count, void (TEXIF::*Record)(uint16_t, TEXIFTag&) const,
                        auto&& ValueText) {
    for (int32_t Index = 0; Index < Count; ++Index) {
      (Doc.*Record)(static_cast<uint16_t>(Index), Rec);
      Length += ValueText(Rec).size();
    }
  };
  Rows(Doc.TIFFCount(), &TEXIF::TIFFTag, TIFFValueText);
  Rows(Doc.EXIFCount(), &TEXIF::EXIFTag, EXIFValueText);
  Rows(Doc.INTEROPCount(), &TEXIF::INTEROPTag, InteropValueText);
  Rows(Doc.MakerNoteCount(), &TEXIF::MakerNoteTag,
       [&](const TEXIFTag& Row) { return MakerNoteValueText(Doc.MakerNoteFormat(), Row); });
  Rows(Doc.EXIF_IFD1Count(), &TEXIF::EXIF_IFD1Tag, TIFFValueText);
  Rows(Doc.GPSCount(), &TEXIF::GPSTag, GPSValueText);
  return Length;
}

template <class TPerFile>
void EveryFile(benchmark::State& State, TPerFile&& PerFile) {
  const std::vector<std::string>& Files = BenchFiles();
  for (auto _ : State)
    for (const std::string& File : Files) PerFile(File);
  State.counters["file"] = benchmark::Counter(static_cast<double>(Files.size()),
                                              benchmark::Counter::kIsIterationInvariantRate |
                                                  benchmark::Counter::kInvert);
}

void PlainRead(benchmark::State& State) {
  EveryFile(State, [](const std::string& File) { benchmark::DoNotOptimize(ReadWhole(File)); });
}

void LumentagLoad(benchmark::State& State) {
  TEXIF Doc;
  EveryFile(State, [&](const std::string& File) {
    Doc.LoadFromFile(File);
    benchmark::DoNotOptimize(Doc.TIFFCount());
  });
}

void LumentagLoadAndValueTexts(benchmark::State& State) {
  TEXIF Doc;
  EveryFile(State, [&](const std::string& File) {
    Doc.LoadFromFile(File);
    benchmark::DoNotOptimize(AllValueTexts(Doc));
  });
}

void Exiv2ReadMetadata(benchmark::State& State) {
  EveryFile(State, [](const std::string& File) {
    try {
      Exiv2::Image::AutoPtr Image = Exiv2::ImageFactory::open(File);
      Image->readMetadata();
      benchmark::DoNotOptimize(Image->exifData().count());
    } catch (const Exiv2::AnyError&) {
    }
  });
}

void LibexifFromFile(benchmark::State& State) {
  EveryFile(State, [](const std::string& File) {
    ExifData* Data = exif_data_new_from_file(File.c_str());
    benchmark::DoNotOptimize(Data);
    if (Data != nullptr) exif_data_unref(Data);
  });
}

}  // namespace

BENCHMARK(PlainRead);
BENCHMARK(LumentagLoad);
BENCHMARK(LumentagLoadAndValueTexts);
BENCHMARK(Exiv2ReadMetadata);
BENCHMARK(LibexifFromFile);
