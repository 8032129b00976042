// Reading metadata, for each set of files: Lumentag's load with every value
// text against reading the file's first 64 KiB, a plain read() of the whole
// file, Exiv2's readMetadata and libexif. Every benchmark processes every
// file of its set once per iteration; the "file" counter gives the time per
// file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <libexif/exif-data.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "BenchFiles.h"
#include "EXIF_Intf.h"
#include "JpegMaker.h"
#include "TagViews.h"

namespace fs = std::filesystem;

namespace {

std::vector<TFileSet>& Sets() {
  static std::vector<TFileSet> List{{"corpus", {}}};
  return List;
}

std::vector<std::string>& Sevens() {
  static std::vector<std::string> List;
  return List;
}

// ---------------------------------------------------------------------------
// The photos

// A W x H picture of noise, the hardest for JPEG to compress, as a camera's
// baseline JPEG with 4:2:0 chroma: its size is that of a detailed photo.
// Exif is its APP1 segment's body.
std::vector<uint8_t> NoisePicture(int Width, int Height, uint32_t Variant, std::span<const uint8_t> Exif) {
  std::minstd_rand Noise(Variant);
  return CompressRows(
      Width, Height,
      [&](int, uint8_t* Row) {
        for (int Sample = 0; Sample < Width * 3; ++Sample) Row[Sample] = static_cast<uint8_t>(Noise() >> 8);
      },
      90, Exif);
}

std::vector<uint8_t> ReadFile(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

// The body of the first APP1 "Exif" segment of a JPEG file: what follows
// its marker and length.
std::vector<uint8_t> ExifSegmentOf(const std::vector<uint8_t>& Jpeg) {
  for (size_t At = 2; At + 10 <= Jpeg.size();) {
    const size_t Length = size_t{Jpeg[At + 2]} << 8 | Jpeg[At + 3];
    if (Jpeg[At + 1] == 0xE1 && std::equal(Jpeg.begin() + std::ptrdiff_t(At + 4), Jpeg.begin() + std::ptrdiff_t(At + 8), "Exif"))
      return {Jpeg.begin() + std::ptrdiff_t(At + 4), Jpeg.begin() + std::ptrdiff_t(std::min(Jpeg.size(), At + 2 + Length))};
    At += 2 + Length;
  }
  return {};
}

// A temporary folder, removed with everything in it when the program ends.
struct TTemporaryFolder {
  fs::path Path;
  TTemporaryFolder() : Path(fs::temp_directory_path() / ("lumentag-bench-photos-" + std::to_string(::getpid()))) {
    fs::create_directories(Path);
  }
  ~TTemporaryFolder() {
    std::error_code Ignored;
    fs::remove_all(Path, Ignored);
  }
};

const fs::path& PhotoFolder() {
  static const TTemporaryFolder Folder;
  return Folder.Path;
}

// A photo of about Megabytes MB: noise sized for it, with the EXIF segment
// of a Canon PowerShot S40's photo after the start of image.
std::string MakePhoto(double Megabytes, uint32_t Variant, const std::vector<uint8_t>& Exif) {
  constexpr double BytesPerPixel = 0.9;  // noise at quality 90, 4:2:0, measured
  const double Pixels = Megabytes * 1e6 / BytesPerPixel;
  const int Height = std::max(16, static_cast<int>(std::sqrt(Pixels / 1.5)));
  const int Width = static_cast<int>(Pixels / Height);
  const std::vector<uint8_t> Jpeg = NoisePicture(Width, Height, Variant, Exif);
  char Name[64];
  std::snprintf(Name, sizeof Name, "photo-%gMB-%u.jpg", Megabytes, Variant);
  const std::string File = (PhotoFolder() / Name).string();
  std::ofstream(File, std::ios::binary).write(reinterpret_cast<const char*>(Jpeg.data()), std::streamsize(Jpeg.size()));
  return File;
}

// ---------------------------------------------------------------------------
// The benchmarks

// Opens a file and reads its first 64 KiB into fresh memory: what any reader
// that looks at the file's start pays at least.
size_t ReadFirst64K(const std::string& File) {
  const int Fd = ::open(File.c_str(), O_RDONLY | O_CLOEXEC);
  if (Fd < 0) return 0;
  constexpr size_t Size = 65536;
  std::unique_ptr<uint8_t[]> Buffer(new uint8_t[Size]);
  const ssize_t Got = ::read(Fd, Buffer.get(), Size);
  ::close(Fd);
  benchmark::DoNotOptimize(Buffer.get());
  return Got > 0 ? static_cast<size_t>(Got) : 0;
}

// The whole file into fresh memory.
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

// Every row's value text, as the tag tabs make them, and the XMP and IPTC
// tabs' values.
size_t AllValueTexts(const TEXIF& Doc) {
  size_t Length = 0;
  for (const TTagView& View : TagViews)
    ForEachRecord(Doc, View, [&](const TEXIFTag& Rec) { Length += View.ValueText(Doc, Rec).size(); });
  for (const TXmpProperty& Row : Doc.XmpProperties()) Length += Row.Value.size();
  for (const TIptcDataset& Row : Doc.IptcDatasets()) Length += Row.Value.size();
  return Length;
}

// The viewer's one document, reused for every file.
TEXIF& Document() {
  static TEXIF Doc;
  return Doc;
}

void LumentagLoad(const std::string& File) {
  Document().LoadFromFile(File);
  benchmark::DoNotOptimize(Document().TIFFCount());
}

void LumentagLoadAndValueTexts(const std::string& File) {
  Document().LoadFromFile(File);
  benchmark::DoNotOptimize(AllValueTexts(Document()));
}

void Exiv2ReadMetadata(const std::string& File) {
  try {
    Exiv2::Image::AutoPtr Image = Exiv2::ImageFactory::open(File);
    Image->readMetadata();
    benchmark::DoNotOptimize(Image->exifData().count());
  } catch (const Exiv2::AnyError&) {
  }
}

void LibexifFromFile(const std::string& File) {
  ExifData* Data = exif_data_new_from_file(File.c_str());
  benchmark::DoNotOptimize(Data);
  if (Data != nullptr) exif_data_unref(Data);
}

struct TReader {
  const char* Name;
  void (*PerFile)(const std::string&);
};

constexpr TReader Readers[] = {
    {"First64K", [](const std::string& File) { benchmark::DoNotOptimize(ReadFirst64K(File)); }},
    {"PlainRead", [](const std::string& File) { benchmark::DoNotOptimize(ReadWhole(File)); }},
    {"LumentagLoad", LumentagLoad},
    {"LumentagLoadAndValueTexts", LumentagLoadAndValueTexts},
    {"Exiv2ReadMetadata", Exiv2ReadMetadata},
    {"LibexifFromFile", LibexifFromFile},
};

void EveryFile(benchmark::State& State, const TFileSet& Set, const TReader& Reader) {
  for (auto _ : State)
    for (const std::string& File : Set.Files) Reader.PerFile(File);
  State.counters["file"] = benchmark::Counter(static_cast<double>(Set.Files.size()),
                                              benchmark::Counter::kIsIterationInvariantRate |
                                                  benchmark::Counter::kInvert);
}

}  // namespace

void AddBenchFolder(const std::string& Folder) {
  std::error_code Error;
  if (!fs::is_directory(Folder, Error)) return;
  std::vector<std::string>& Corpus = Sets().front().Files;
  for (const fs::directory_entry& Entry : fs::recursive_directory_iterator(Folder))
    if (Entry.is_regular_file() && Entry.path().extension() != ".md") Corpus.push_back(Entry.path().string());
  std::sort(Corpus.begin(), Corpus.end());
}

// The corpus files without XMP or IPTC, whose cost the XMP and IPTC readers
// should leave as it was.
void AddPlainCorpus() {
  TFileSet Plain{"corpus-plain", {}};
  TEXIF Doc;
  for (const std::string& File : Sets().front().Files) {
    Doc.LoadFromFile(File);
    if (Doc.XmpProperties().empty() && Doc.IptcDatasets().empty()) Plain.Files.push_back(File);
  }
  Sets().insert(Sets().begin() + 1, std::move(Plain));
}

void MakeBenchPhotos(int Copies17MB) {
  AddPlainCorpus();
  const std::vector<uint8_t> Exif = ExifSegmentOf(ReadFile(std::string(LUMENTAG_SOURCE_DIR) + "/samples/canon-powershot-s40.jpg"));
  for (const double Megabytes : {0.2, 2.0, 8.0, 17.0, 40.0}) {
    char Name[32];
    std::snprintf(Name, sizeof Name, "%gMB", Megabytes);
    Sets().push_back({Name, {MakePhoto(Megabytes, 1, Exif)}});
    if (Megabytes == 17.0) Sevens().push_back(Sets().back().Files.front());
  }
  for (int Copy = 2; Copy <= Copies17MB; ++Copy) Sevens().push_back(MakePhoto(17.0, static_cast<uint32_t>(Copy), Exif));
}

const std::vector<TFileSet>& FileSets() { return Sets(); }
const std::vector<std::string>& Photos17MB() { return Sevens(); }

// One benchmark per reader and set, named Reader/Set.
void RegisterReadingBenchmarks() {
  for (const TFileSet& Set : Sets())
    for (const TReader& Reader : Readers)
      benchmark::RegisterBenchmark((std::string(Reader.Name) + "/" + Set.Name).c_str(),
                                   [&Set, &Reader](benchmark::State& State) { EveryFile(State, Set, Reader); });
}
