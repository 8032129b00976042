// The pictures. In process: the Image tab's work on a 1920 x 1080 screen
// (read the file, decode it at the scale the screen needs, turn it by the
// orientation) against libjpeg's full decode of the same file alone, for a
// 24-megapixel photo and a 61-megapixel panorama. As child processes,
// measured by their CPU time and peak resident size (wait4): the Image tab
// and libjpeg's full decode of the panorama, lumentag-dump --image against
// djpeg on the panorama, and lumentag-dump --image on two decompression
// bombs. Every picture is made when the benchmark first needs it.
#include "PictureBench.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <span>
#include <vector>

#include <jpeglib.h>

#include "Bitmap.h"
#include "ChildProcess.h"
#include "DecoderBench.h"
#include "ExifWriter.h"
#include "JpegMaker.h"
#include "TempDir.h"
#include "PictureSize.h"
#include "Unit1.h"

namespace {

constexpr int PhotoWidth = 6000;
constexpr int PhotoHeight = 4000;
constexpr int PanoramaWidth = 16000;
constexpr int PanoramaHeight = 3840;
constexpr QSize Screen(1920, 1080);
const QColor Background(240, 240, 240);

// An EXIF segment's body whose IFD 0 holds only Orientation Code
// (little-endian TIFF: header, one entry of type SHORT, no next directory).
std::vector<uint8_t> OrientationExif(uint8_t Code) {
  return {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
          0x12, 0x01, 3, 0, 1, 0, 0, 0, Code, 0, 0, 0, 0, 0, 0, 0};
}

// Detail everywhere (gradients and a fine pattern), so that decoding the
// photo costs what a photo's does.
void PhotoRow(int Line, uint8_t* Row) {
  const auto Y = static_cast<unsigned>(Line);
  for (unsigned X = 0; X < PhotoWidth; ++X) {
    Row[X * 3] = static_cast<uint8_t>(X * 255 / PhotoWidth);
    Row[X * 3 + 1] = static_cast<uint8_t>(Y * 255 / PhotoHeight);
    Row[X * 3 + 2] = static_cast<uint8_t>(((X * 7) ^ (Y * 13)) & 0xFF);
  }
}

// Gradients under noise of +-64 in every channel: some 40 MB at quality 90,
// about what a camera of that size writes for a grainy picture.
void PanoramaRow(int Line, uint8_t* Row) {
  const auto Y = static_cast<unsigned>(Line);
  static uint32_t State = 0x9E3779B9u;
  for (unsigned X = 0; X < PanoramaWidth; ++X) {
    const unsigned Base[3] = {X * 255 / PanoramaWidth, Y * 255 / PanoramaHeight, 128};
    for (unsigned Channel = 0; Channel < 3; ++Channel) {
      State ^= State << 13, State ^= State >> 17, State ^= State << 5;  // xorshift32
      const int Value = static_cast<int>(Base[Channel]) + static_cast<int>(State % 129) - 64;
      Row[X * 3 + Channel] = static_cast<uint8_t>(std::clamp(Value, 0, 255));
    }
  }
}

// Bytes written to a file of the temporary folder, removed when the
// benchmark ends.
std::string TemporaryFile(const std::string& Name, const std::vector<uint8_t>& Bytes) {
  static std::vector<std::string> Made;
  const std::string Path = (std::filesystem::temp_directory_path() /
                            ("lumentag-bench-" + std::to_string(::getpid()) + "-" + Name))
                               .string();
  std::ofstream(Path, std::ios::binary)
      .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
  if (Made.empty())
    std::atexit([] {
      for (const std::string& File : Made) std::filesystem::remove(File);
    });
  Made.push_back(Path);
  return Path;
}

enum class TBenchFile { Photo, Panorama, EmptyScan, EndlessScans };

const std::string& BenchFile(TBenchFile File);

// A 30 MB raw file as a Nikon lays it out: IFD 0 of Orientation 6, a
// 160 x 120 JPEG in its first SubIFD, the photo as the full-size JPEG
// preview in the second, lossless raw data in the third, filling the rest.
const std::string& RawPhoto() {
  static const std::string Name = [] {
    const TByteBuffer Photo = ReadWholeFile(BenchFile(TBenchFile::Photo));
    const TBytes Small = MakeJpeg(160, 120);
    const auto Image = [](uint16_t Compression, TBytes Jpeg) {
      auto Directory = std::make_shared<TIfd>();
      const auto Length = static_cast<uint32_t>(Jpeg.size());
      Directory->Short(0x0103, {Compression}).BlobAt(0x0111, ftLong, 1, std::move(Jpeg)).Long(0x0117, {Length});
      return Directory;
    };
    TBytes Raw = FrameOnlyJpeg(0xC3, 14, PhotoWidth, PhotoHeight);
    Raw.resize(size_t{30} << 20 > Photo.size() ? (size_t{30} << 20) - Photo.size() : 0, 0x5A);
    TIfd Ifd0;
    Ifd0.Ascii(0x010F, "NIKON CORPORATION").Short(0x0112, {6});
    Ifd0.SubIfds(0x014A, {Image(6, Small), Image(6, TBytes(Photo.begin(), Photo.end())), Image(7, std::move(Raw))});
    return TemporaryFile("photo.nef", TiffBlock(Ifd0));
  }();
  return Name;
}

const std::string& BenchFile(TBenchFile File) {
  switch (File) {
    case TBenchFile::Photo: {
      static const std::string Name = TemporaryFile("photo.jpg", CompressRows(PhotoWidth, PhotoHeight, PhotoRow));
      return Name;
    }
    case TBenchFile::Panorama: {
      static const std::string Name =
          TemporaryFile("panorama.jpg", CompressRows(PanoramaWidth, PanoramaHeight, PanoramaRow, 90, OrientationExif(6)));
      return Name;
    }
    case TBenchFile::EmptyScan: {
      static const std::string Name = TemporaryFile("empty-scan.jpg", EmptyScanJpeg(11585, 11585));
      return Name;
    }
    default: {
      static const std::string Name = TemporaryFile("endless-scans.jpg", EndOfBandJpeg(11585, 11585, false, 1000));
      return Name;
    }
  }
}

// libjpeg's decode alone, at Eighths/8: the bytes, already in memory,
// decoded into RGB rows of a buffer that was allocated and touched before.
class TLibjpegDecode {
 public:
  TLibjpegDecode(const std::string& File, int Eighths) : FBytes(ReadWholeFile(File)), FEighths(Eighths) {
    jpeg_decompress_struct Info{};
    Start(Info);
    FStride = size_t{Info.output_width} * 3;
    FPixels.assign(FStride * Info.output_height, 0);
    jpeg_destroy_decompress(&Info);
  }
  void Run() {
    jpeg_decompress_struct Info{};
    Start(Info);
    jpeg_start_decompress(&Info);
    while (Info.output_scanline < Info.output_height) {
      JSAMPROW Row = FPixels.data() + FStride * Info.output_scanline;
      jpeg_read_scanlines(&Info, &Row, 1);
    }
    jpeg_finish_decompress(&Info);
    jpeg_destroy_decompress(&Info);
    benchmark::DoNotOptimize(FPixels.data());
  }

 private:
  void Start(jpeg_decompress_struct& Info) {
    Info.err = jpeg_std_error(&FErrors);
    jpeg_create_decompress(&Info);
    jpeg_mem_src(&Info, FBytes.data(), FBytes.size());
    jpeg_read_header(&Info, TRUE);
    Info.out_color_space = JCS_RGB;
    Info.scale_num = static_cast<unsigned>(FEighths);
    Info.scale_denom = 8;
    jpeg_calc_output_dimensions(&Info);
  }
  TByteBuffer FBytes;
  int FEighths;
  jpeg_error_mgr FErrors{};
  size_t FStride = 0;
  std::vector<uint8_t> FPixels;
};

void LibjpegDecode(benchmark::State& State, TBenchFile File, int Eighths) {
  TLibjpegDecode Decode(BenchFile(File), Eighths);
  for (auto _ : State) Decode.Run();
}

// The photo with an EXIF segment giving its Orientation code.
const std::string& TurnedPhoto(int64_t Orientation) {
  static std::map<int64_t, std::string> Names;
  std::string& Name = Names[Orientation];
  if (Name.empty()) {
    const TByteBuffer Photo = ReadWholeFile(BenchFile(TBenchFile::Photo));
    Name = TemporaryFile("photo-" + std::to_string(Orientation) + ".jpg",
                         InsertAfterSoi(TBytes(Photo.begin(), Photo.end()),
                                        {Segment(0xE1, OrientationExif(static_cast<uint8_t>(Orientation)))}));
  }
  return Name;
}

// The Image tab's work, once the file is loaded: the picture read from the
// file again, decoded for the screen and turned.
void ImageTabOf(benchmark::State& State, const std::string& Name) {
  TEXIF Document;
  Document.LoadFromFile(Name);
  for (auto _ : State) {
    TPictureSource Source(Document);
    const TShownPicture Shown = ScreenPicture(Source, Screen, Background);
    benchmark::DoNotOptimize(Shown.Picture.constBits());
  }
}

void ImageTab(benchmark::State& State, TBenchFile File) { ImageTabOf(State, BenchFile(File)); }

void ImageTabPhoto(benchmark::State& State) { ImageTabOf(State, TurnedPhoto(State.range(0))); }

void ImageTabRaw(benchmark::State& State) { ImageTabOf(State, RawPhoto()); }

enum class TCommand { ImageTab, LibjpegDecode, DumpImage, Djpeg };

std::vector<std::string> CommandLine(TCommand Command, const std::string& File) {
  switch (Command) {
    case TCommand::ImageTab: return {"/proc/self/exe", "--child", "image-tab", File};
    case TCommand::LibjpegDecode: return {"/proc/self/exe", "--child", "libjpeg", File};
    case TCommand::DumpImage: return {LUMENTAG_DUMP, "--image", File};
    default: return {"djpeg", "-outfile", "/dev/null", File};
  }
}

// Every child run, by benchmark name.
std::map<std::string, std::vector<TChildCost>>& ChildRuns() {
  static std::map<std::string, std::vector<TChildCost>> Runs;
  return Runs;
}

// The time of an iteration is the child's CPU time: the machine's other load
// leaves it alone.
void Process(benchmark::State& State, const char* Name, TCommand Command, TBenchFile File) {
  const std::vector<std::string> Line = CommandLine(Command, BenchFile(File));
  std::vector<TChildCost>& Runs = ChildRuns()[std::string("Process/") + Name];
  for (auto _ : State) {
    const std::optional<TChildCost> Cost = RunChild(Line);
    // djpeg exits with 2 after a warning.
    if (!Cost || Cost->Status < 0 || Cost->Status == 127 || (Cost->Status != 0 && Command != TCommand::Djpeg)) {
      State.SkipWithError((Line[0] + " could not be run" +
                           (Command == TCommand::Djpeg ? " (Debian package libjpeg-turbo-progs)" : ""))
                              .c_str());
      break;
    }
    State.SetIterationTime(Cost->CpuSeconds);
    State.counters["peak_MB"] = Cost->PeakMB;
    Runs.push_back(*Cost);
  }
}

double Median(std::vector<double> Values) {
  if (Values.empty()) return 0;
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

}  // namespace

BENCHMARK_CAPTURE(LibjpegDecode, photo, TBenchFile::Photo, 8)->Name("LibjpegDecode")->Unit(benchmark::kMillisecond);
BENCHMARK(ImageTabPhoto)->Name("ImageTab")->Arg(1)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(ImageTabRaw)->Name("ImageTabRaw")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LibjpegDecode, panorama, TBenchFile::Panorama, 8)
    ->Name("LibjpegDecodePanorama")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LibjpegDecode, panorama_eighth, TBenchFile::Panorama, 1)
    ->Name("LibjpegDecodeEighthPanorama")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImageTab, panorama, TBenchFile::Panorama)->Name("ImageTabPanorama")->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(Process, ImageTabPanorama, "ImageTabPanorama", TCommand::ImageTab, TBenchFile::Panorama)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Process, LibjpegDecodePanorama, "LibjpegDecodePanorama", TCommand::LibjpegDecode,
                  TBenchFile::Panorama)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Process, DumpImagePanorama, "DumpImagePanorama", TCommand::DumpImage, TBenchFile::Panorama)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Process, DjpegPanorama, "DjpegPanorama", TCommand::Djpeg, TBenchFile::Panorama)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Process, DumpImageEmptyScan, "DumpImageEmptyScan", TCommand::DumpImage, TBenchFile::EmptyScan)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Process, DumpImageEndlessScans, "DumpImageEndlessScans", TCommand::DumpImage,
                  TBenchFile::EndlessScans)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

std::optional<int> RunPictureChild(int Argc, char** Argv) {
  if (Argc != 4 || std::strcmp(Argv[1], "--child") != 0) {
    StartChildSpawner();
    return std::nullopt;
  }
  const std::string Task = Argv[2], File = Argv[3];
  try {
    if (Task == "image-tab") {
      // What the window does: load the document, then show its picture.
      TEXIF Document;
      Document.LoadFromFile(File);
      TPictureSource Source(Document);
      const TShownPicture Shown = ScreenPicture(Source, Screen, Background);
      return Shown.Picture.isNull() ? 1 : 0;
    }
    if (Task == "thumbnail-tab") {
      // What the window's Thumbnail tab does once the document is loaded.
      TEXIF Document;
      Document.LoadFromFile(File);
      const TJPEGImage* Thumbnail = Document.Thumbnail();
      if (Thumbnail == nullptr) return 1;
      const int Eighths = DecodeEighths(Thumbnail->Size(), 0, TPictureSize{Screen.width(), Screen.height()});
      return JpegToImage(*Thumbnail, Eighths).isNull() ? 1 : 0;
    }
    if (Task == "libjpeg") {
      TLibjpegDecode(File, 8).Run();
      return 0;
    }
    if (const std::optional<int> Status = RunDecoderChild(Task, File)) return Status;
  } catch (const std::exception& Error) {
    std::cerr << "lumentag-bench --child " << Task << ": " << Error.what() << '\n';
    return 1;
  }
  std::cerr << "lumentag-bench: unknown child task " << Task << '\n';
  return 2;
}

void PrintPictureResults(const std::map<std::string, double>& Times) {
  // Benchmarks timed by hand carry "/manual_time" in their names.
  const auto Time = [&](const std::string& Name) {
    auto Found = Times.find(Name);
    if (Found == Times.end()) Found = Times.find(Name + "/manual_time");
    return Found == Times.end() ? 0.0 : Found->second;
  };
  const auto Ratio = [&](const char* Label, const char* Top, const char* Bottom, const char* Goal) {
    const double A = Time(Top), B = Time(Bottom);
    if (A == 0 || B == 0) return;
    std::cout << std::left << std::setw(48) << Label << std::right << std::fixed << std::setprecision(2)
              << std::setw(6) << A / B << "   " << Goal << '\n';
  };
  std::cout << "\nA 30 MB raw file whose largest preview is the photo (Orientation 6):\n";
  Ratio("Image tab, raw / the photo as a JPEG file", "ImageTabRaw", "ImageTab/6",
        "(the preview search and nothing more)");
  {
    TEXIF Document;
    Document.LoadFromFile(RawPhoto());
    const TPictureSource Source(Document);
    const TPictureSize Decoded = Source.DecodedSize({Screen.width(), Screen.height()});
    std::cout << "the preview, " << Source.StoredSize().Width << " x " << Source.StoredSize().Height
              << ", is decoded at " << Decoded.Width << " x " << Decoded.Height << " for a " << Screen.width()
              << " x " << Screen.height() << " screen\n";
  }
  std::cout << "\nThe panorama (" << PanoramaWidth << " x " << PanoramaHeight
            << ", Orientation 6) on a 1920 x 1080 screen:\n";
  Ratio("Image tab / libjpeg full decode", "ImageTabPanorama", "LibjpegDecodePanorama", "(goal <= 0.5)");
  Ratio("libjpeg 1/8 decode / libjpeg full decode", "LibjpegDecodeEighthPanorama", "LibjpegDecodePanorama",
        "(the entropy decoding every scale pays)");
  Ratio("lumentag-dump --image / djpeg, CPU time", "Process/DumpImagePanorama", "Process/DjpegPanorama",
        "(goal <= 0.6)");
  if (ChildRuns().empty()) return;
  std::cout << "\nChild processes (medians)                     CPU ms    wall ms   peak MB\n";
  const std::pair<const char*, const char*> Rows[] = {
      {"Process/ImageTabPanorama", "Image tab, panorama (goal < 400 MB)"},
      {"Process/LibjpegDecodePanorama", "libjpeg full decode, panorama"},
      {"Process/DumpImagePanorama", "lumentag-dump --image, panorama (< 150 MB)"},
      {"Process/DjpegPanorama", "djpeg -outfile /dev/null, panorama"},
      {"Process/DumpImageEmptyScan", "--image, 140-byte bomb (< 200 ms, 100 MB)"},
      {"Process/DumpImageEndlessScans", "--image, 188 KB bomb (< 200 ms, 100 MB)"},
  };
  for (const auto& [Key, Label] : Rows) {
    const auto Found = ChildRuns().find(Key);
    if (Found == ChildRuns().end() || Found->second.empty()) continue;
    std::vector<double> Cpu, Wall, Peak;
    for (const TChildCost& Run : Found->second)
      Cpu.push_back(Run.CpuSeconds * 1e3), Wall.push_back(Run.WallSeconds * 1e3), Peak.push_back(Run.PeakMB);
    std::cout << std::left << std::setw(44) << Label << std::right << std::fixed << std::setprecision(0)
              << std::setw(9) << Median(Cpu) << std::setw(11) << Median(Wall) << std::setw(10) << Median(Peak)
              << '\n';
  }
}
