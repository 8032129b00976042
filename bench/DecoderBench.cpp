// The PNG, WebP and HEIF decoders at the size a 1920 x 1080 screen needs,
// each against its library's own full decode of the same bytes in memory:
// a 24-megapixel PNG and WebP, a 12-megapixel HEIC (4032 x 3024, as a phone
// writes) and, when the corpus is there, its iPhone HEIC. The HEIC decoder's
// peak memory is measured in child processes, against libheif's bare
// decode. The pictures are made the first time they are needed and kept in
// the build folder, as encoding them takes the better part of a minute.
#include "DecoderBench.h"

#include <benchmark/benchmark.h>
#include <libheif/heif.h>
#include <png.h>
#include <webp/decode.h>

#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <stdexcept>
#include <vector>

#include <webp/encode.h>

#include "ChildProcess.h"
#include "Corpus.h"
#include "PictureDecoders.h"
#include "PictureMaker.h"
#include "PictureSource.h"
#include "Unit1.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

constexpr TPictureSize Screen{1920, 1080};
constexpr TPictureSize LargeSize{6000, 4000};
constexpr TPictureSize PhoneSize{4032, 3024};

// Gradients under a fine pattern and mild noise: detail everywhere, so that
// decoding costs what a photo's decoding does.
void PaintPhotoRow(int Width, int Height, int Line, uint8_t* Row) {
  static uint32_t State = 0x9E3779B9u;
  const auto Y = static_cast<unsigned>(Line);
  for (unsigned X = 0; X < static_cast<unsigned>(Width); ++X) {
    State ^= State << 13, State ^= State >> 17, State ^= State << 5;  // xorshift32
    const unsigned Noise = State % 17;
    Row[X * 3] = static_cast<uint8_t>(X * 255 / unsigned(Width) / 2 + Noise);
    Row[X * 3 + 1] = static_cast<uint8_t>(Y * 255 / unsigned(Height) / 2 + Noise);
    Row[X * 3 + 2] = static_cast<uint8_t>((((X * 7) ^ (Y * 13)) & 0x7F) + Noise);
  }
}

std::vector<uint8_t> PhotoPixels(TPictureSize Size) {
  std::vector<uint8_t> Pixels(static_cast<size_t>(Size.Width) * static_cast<size_t>(Size.Height) * 3);
  for (int Y = 0; Y < Size.Height; ++Y)
    PaintPhotoRow(Size.Width, Size.Height, Y, &Pixels[static_cast<size_t>(Y) * static_cast<size_t>(Size.Width) * 3]);
  return Pixels;
}

std::vector<uint8_t> EncodeWebp(TPictureSize Size) {
  const std::vector<uint8_t> Pixels = PhotoPixels(Size);
  uint8_t* Output = nullptr;
  const size_t Length = WebPEncodeRGB(Pixels.data(), Size.Width, Size.Height, Size.Width * 3, 80, &Output);
  std::vector<uint8_t> Bytes(Output, Output + Length);
  WebPFree(Output);
  return Bytes;
}

void Check(const heif_error& Error) {
  if (Error.code != heif_error_Ok) throw std::runtime_error(std::string("libheif: ") + Error.message);
}

// A HEVC picture at libheif's default quality (50), as heif-enc writes.
void EncodeHeic(TPictureSize Size, const std::string& File) {
  heif_context* Context = heif_context_alloc();
  heif_encoder* Encoder = nullptr;
  Check(heif_context_get_encoder_for_format(Context, heif_compression_HEVC, &Encoder));
  heif_image* Image = nullptr;
  Check(heif_image_create(Size.Width, Size.Height, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &Image));
  Check(heif_image_add_plane(Image, heif_channel_interleaved, Size.Width, Size.Height, 8));
  int Stride = 0;
  uint8_t* Plane = heif_image_get_plane(Image, heif_channel_interleaved, &Stride);
  for (int Y = 0; Y < Size.Height; ++Y)
    PaintPhotoRow(Size.Width, Size.Height, Y, Plane + static_cast<ptrdiff_t>(Y) * Stride);
  Check(heif_context_encode_image(Context, Image, Encoder, nullptr, nullptr));
  Check(heif_context_write_to_file(Context, File.c_str()));
  heif_image_release(Image);
  heif_encoder_release(Encoder);
  heif_context_free(Context);
}

enum class TBenchPicture { LargePng, LargeWebp, PhoneHeic, CorpusHeic };

// The picture's file, made into the build folder when it is not there.
std::string BenchPicture(TBenchPicture Picture) {
  const fs::path Folder = fs::path(LUMENTAG_BUILD_DIR) / "bench-pictures";
  fs::create_directories(Folder);
  const auto Keep = [&](const char* Name, auto Make) {
    const fs::path File = Folder / Name;
    if (!fs::exists(File)) {
      std::cout << "Making " << File.string() << " ...\n" << std::flush;
      const fs::path Part = File.string() + ".part";
      Make(Part.string());
      fs::rename(Part, File);
    }
    return File.string();
  };
  const auto Write = [](const std::string& File, const std::vector<uint8_t>& Bytes) {
    std::FILE* Out = std::fopen(File.c_str(), "wb");
    if (Out == nullptr || std::fwrite(Bytes.data(), 1, Bytes.size(), Out) != Bytes.size() || std::fclose(Out) != 0)
      throw std::runtime_error("cannot write " + File);
  };
  switch (Picture) {
    case TBenchPicture::LargePng:
      return Keep("large-6000x4000.png", [&](const std::string& File) {
        Write(File, MakePngRows(LargeSize.Width, LargeSize.Height, [](int Y, uint8_t* Row) {
          PaintPhotoRow(LargeSize.Width, LargeSize.Height, Y, Row);
        }));
      });
    case TBenchPicture::LargeWebp:
      return Keep("large-6000x4000.webp", [&](const std::string& File) { Write(File, EncodeWebp(LargeSize)); });
    case TBenchPicture::PhoneHeic:
      return Keep("phone-4032x3024.heic", [](const std::string& File) { EncodeHeic(PhoneSize, File); });
    default:
      return CorpusFile("es-IMG_5195.HEIC");
  }
}

using TOpenDecoder = std::unique_ptr<TPictureDecoder> (*)(const TByteSource&);

// The decoder's work for the Image tab: the file's bytes in memory, opened
// and decoded at the size the screen needs.
void DecodeForScreen(const TByteBuffer& Bytes, TOpenDecoder Open) {
  const TMemorySource Source(Bytes);
  const std::unique_ptr<TPictureDecoder> Decoder = Open(Source);
  const TPictureSize AtLeast = DecodeAtLeast(Decoder->Size(), 1, Screen);
  const TPictureSize Size = Decoder->DecodedSize(AtLeast);
  const size_t Stride = static_cast<size_t>(Size.Width) * 4;
  std::vector<uint8_t> Pixels(Stride * static_cast<size_t>(Size.Height));
  Decoder->DecodeTo(Pixels, Stride, AtLeast, 0xF0F0F0);
  benchmark::DoNotOptimize(Pixels.data());
}

// libheif's bare decode of the primary image, as stored, into 8-bit RGB.
void BareHeifDecode(const TByteBuffer& Bytes) {
  heif_context* Context = heif_context_alloc();
  Check(heif_context_read_from_memory_without_copy(Context, Bytes.data(), Bytes.size(), nullptr));
  heif_image_handle* Handle = nullptr;
  Check(heif_context_get_primary_image_handle(Context, &Handle));
  heif_image* Image = nullptr;
  Check(heif_decode_image(Handle, &Image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr));
  int Stride = 0;
  benchmark::DoNotOptimize(heif_image_get_plane_readonly(Image, heif_channel_interleaved, &Stride));
  heif_image_release(Image);
  heif_image_handle_release(Handle);
  heif_context_free(Context);
}

// libpng's and libwebp's full decodes into RGB rows allocated beforehand.
class TFullDecode {
 public:
  TFullDecode(TByteBuffer Bytes, TPictureSize Size)
      : FBytes(std::move(Bytes)), FSize(Size), FPixels(static_cast<size_t>(Size.Width) * static_cast<size_t>(Size.Height) * 3, 1) {}
  void Png() {
    png_image Image{};
    Image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&Image, FBytes.data(), FBytes.size());
    Image.format = PNG_FORMAT_RGB;
    png_image_finish_read(&Image, nullptr, FPixels.data(), 0, nullptr);
    benchmark::DoNotOptimize(FPixels.data());
  }
  void Webp() {
    WebPDecodeRGBInto(FBytes.data(), FBytes.size(), FPixels.data(), FPixels.size(), FSize.Width * 3);
    benchmark::DoNotOptimize(FPixels.data());
  }

 private:
  TByteBuffer FBytes;
  TPictureSize FSize;
  std::vector<uint8_t> FPixels;
};

// What the window's Image tab does with a HEIF file once it is loaded: read
// its picture, decode it for the screen and turn it by the file's irot.
void HeifImageTab(const TEXIF& Document) {
  TPictureSource Source(Document);
  const TShownPicture Shown = ScreenPicture(Source, QSize(Screen.Width, Screen.Height), QColor(240, 240, 240));
  benchmark::DoNotOptimize(Shown.Picture.constBits());
}

void PictureDecoder(benchmark::State& State, TBenchPicture Picture) {
  if (Picture == TBenchPicture::CorpusHeic && CorpusDir().empty()) return State.SkipWithError("no corpus");
  if (Picture == TBenchPicture::PhoneHeic || Picture == TBenchPicture::CorpusHeic) {
    TEXIF Document;
    Document.LoadFromFile(BenchPicture(Picture));
    for (auto _ : State) HeifImageTab(Document);
    return;
  }
  const TByteBuffer Bytes = ReadWholeFile(BenchPicture(Picture));
  const TOpenDecoder Open = Picture == TBenchPicture::LargePng    ? TOpenDecoder{OpenPngDecoder}
                            : Picture == TBenchPicture::LargeWebp ? TOpenDecoder{OpenWebpDecoder}
                                                                  : TOpenDecoder{OpenHeifDecoder};
  for (auto _ : State) DecodeForScreen(Bytes, Open);
}

void LibraryDecode(benchmark::State& State, TBenchPicture Picture) {
  if (Picture == TBenchPicture::CorpusHeic && CorpusDir().empty()) return State.SkipWithError("no corpus");
  TByteBuffer Bytes = ReadWholeFile(BenchPicture(Picture));
  if (Picture == TBenchPicture::PhoneHeic || Picture == TBenchPicture::CorpusHeic) {
    for (auto _ : State) BareHeifDecode(Bytes);
    return;
  }
  TFullDecode Decode(std::move(Bytes), LargeSize);
  for (auto _ : State) Picture == TBenchPicture::LargePng ? Decode.Png() : Decode.Webp();
}

// Every child run of a HEIC decode, by task.
std::map<std::string, std::vector<TChildCost>>& HeifRuns() {
  static std::map<std::string, std::vector<TChildCost>> Runs;
  return Runs;
}

void HeifProcess(benchmark::State& State, const char* Task) {
  const std::vector<std::string> Line{"/proc/self/exe", "--child", Task, BenchPicture(TBenchPicture::PhoneHeic)};
  for (auto _ : State) {
    const std::optional<TChildCost> Cost = RunChild(Line);
    if (!Cost || Cost->Status != 0) {
      State.SkipWithError("the child process failed");
      break;
    }
    State.SetIterationTime(Cost->CpuSeconds);
    State.counters["peak_MB"] = Cost->PeakMB;
    HeifRuns()[Task].push_back(*Cost);
  }
}

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  return Values.empty() ? 0 : Values[Values.size() / 2];
}

}  // namespace

BENCHMARK_CAPTURE(PictureDecoder, png, TBenchPicture::LargePng)->Name("PictureDecoder/Png")->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LibraryDecode, png, TBenchPicture::LargePng)->Name("PictureDecoder/LibpngFull")->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PictureDecoder, webp, TBenchPicture::LargeWebp)->Name("PictureDecoder/Webp")->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LibraryDecode, webp, TBenchPicture::LargeWebp)->Name("PictureDecoder/LibwebpFull")->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PictureDecoder, heic, TBenchPicture::PhoneHeic)->Name("PictureDecoder/Heic")->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LibraryDecode, heic, TBenchPicture::PhoneHeic)->Name("PictureDecoder/LibheifBare")->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PictureDecoder, corpus_heic, TBenchPicture::CorpusHeic)
    ->Name("PictureDecoder/CorpusHeic")
    ->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LibraryDecode, corpus_heic, TBenchPicture::CorpusHeic)
    ->Name("PictureDecoder/CorpusLibheifBare")
    ->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HeifProcess, heic, "heic-screen")->Name("Process/HeicScreen")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HeifProcess, bare, "libheif-bare")->Name("Process/LibheifBare")->UseManualTime()->Unit(benchmark::kMillisecond);

std::optional<int> RunDecoderChild(const std::string& Task, const std::string& File) {
  if (Task == "heic-screen") {
    TEXIF Document;
    Document.LoadFromFile(File);
    HeifImageTab(Document);
    return 0;
  }
  if (Task == "libheif-bare") {
    BareHeifDecode(ReadWholeFile(File));
    return 0;
  }
  return std::nullopt;
}

void PrintDecoderResults(const std::map<std::string, double>& Times) {
  const auto Ratio = [&](const char* Label, const std::string& Top, const std::string& Bottom, const char* Goal) {
    const auto A = Times.find("PictureDecoder/" + Top + "/process_time/cpu");
    const auto B = Times.find("PictureDecoder/" + Bottom + "/process_time/cpu");
    if (A == Times.end() || B == Times.end() || B->second == 0) return;
    std::cout << std::left << std::setw(56) << Label << std::right << std::fixed << std::setprecision(2)
              << std::setw(6) << A->second / B->second << "   (" << std::setprecision(0) << A->second << " / "
              << B->second << " ms) " << Goal << '\n';
  };
  std::cout << "\nPicture decoders, at the size a 1920 x 1080 screen needs, against the library's decode\n"
               "(CPU time of all threads):\n";
  Ratio("PNG 6000 x 4000 / libpng full decode", "Png", "LibpngFull", "");
  Ratio("WebP 6000 x 4000 / libwebp full decode", "Webp", "LibwebpFull", "");
  Ratio("HEIC 4032 x 3024 / bare heif_decode_image", "Heic", "LibheifBare", "(goal <= 1.1)");
  Ratio("corpus iPhone HEIC / bare heif_decode_image", "CorpusHeic", "CorpusLibheifBare", "(goal <= 1.1)");
  for (const auto& [Task, Runs] : HeifRuns()) {
    std::vector<double> Peak, Cpu;
    for (const TChildCost& Run : Runs) Peak.push_back(Run.PeakMB), Cpu.push_back(Run.CpuSeconds * 1e3);
    std::cout << "process " << std::left << std::setw(14) << Task << std::right << std::fixed << std::setprecision(0)
              << std::setw(6) << Median(Cpu) << " ms of CPU, peak " << Median(Peak) << " MB"
              << (Task == "heic-screen" ? "   (goal < 200 MB)" : "") << '\n';
  }
}
