// The Image tab's work on a 24-megapixel photo (read the file, decode it,
// turn it by the orientation) against libjpeg's decode of the same file
// alone. The photo is made by libjpeg's compressor when the benchmark starts.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "Bitmap.h"
#include "FileBytes.h"
#include "Unit1.h"

namespace {

constexpr int PhotoWidth = 6000;
constexpr int PhotoHeight = 4000;

// A picture with detail everywhere (gradients and a fine pattern), so that
// its decoding costs what a photo's does.
std::vector<uint8_t> CompressPhoto() {
  jpeg_compress_struct Info{};
  jpeg_error_mgr Errors{};
  Info.err = jpeg_std_error(&Errors);
  jpeg_create_compress(&Info);
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  jpeg_mem_dest(&Info, &Buffer, &Size);
  Info.image_width = PhotoWidth;
  Info.image_height = PhotoHeight;
  Info.input_components = 3;
  Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, 90, TRUE);
  jpeg_start_compress(&Info, TRUE);
  std::vector<uint8_t> Row(PhotoWidth * 3);
  while (Info.next_scanline < Info.image_height) {
    const unsigned Y = Info.next_scanline;
    for (unsigned X = 0; X < PhotoWidth; ++X) {
      Row[X * 3] = static_cast<uint8_t>(X * 255 / PhotoWidth);
      Row[X * 3 + 1] = static_cast<uint8_t>(Y * 255 / PhotoHeight);
      Row[X * 3 + 2] = static_cast<uint8_t>(((X * 7) ^ (Y * 13)) & 0xFF);
    }
    JSAMPROW Rows[1] = {Row.data()};
    jpeg_write_scanlines(&Info, Rows, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  std::vector<uint8_t> Out(Buffer, Buffer + Size);
  std::free(Buffer);
  return Out;
}

const std::string& PhotoFile() {
  static const std::string File = [] {
    const std::string Name =
        (std::filesystem::temp_directory_path() / ("lumentag-bench-" + std::to_string(::getpid()) + ".jpg"))
            .string();
    const std::vector<uint8_t> Bytes = CompressPhoto();
    std::ofstream(Name, std::ios::binary)
        .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    std::atexit([] { std::filesystem::remove(PhotoFile()); });
    return Name;
  }();
  return File;
}

// libjpeg's decode alone: the photo's bytes, already in memory, decoded into
// a buffer that was allocated and touched before the timing starts, 3 bytes
// per pixel. Whatever a viewer adds (reading the file, allocating the
// picture, turning it) is measured against this.
void LibjpegDecode(benchmark::State& State) {
  const TByteBuffer Bytes = ReadWholeFile(PhotoFile());
  constexpr size_t Stride = size_t{PhotoWidth} * 3;
  std::vector<uint8_t> Pixels(Stride * PhotoHeight, 0);
  for (auto _ : State) {
    jpeg_decompress_struct Info{};
    jpeg_error_mgr Errors{};
    Info.err = jpeg_std_error(&Errors);
    jpeg_create_decompress(&Info);
    jpeg_mem_src(&Info, Bytes.data(), Bytes.size());
    jpeg_read_header(&Info, TRUE);
    Info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&Info);
    while (Info.output_scanline < Info.output_height) {
      JSAMPROW Row = Pixels.data() + Stride * Info.output_scanline;
      jpeg_read_scanlines(&Info, &Row, 1);
    }
    jpeg_finish_decompress(&Info);
    jpeg_destroy_decompress(&Info);
    benchmark::DoNotOptimize(Pixels.data());
  }
}

// The Image tab for a photo whose Orientation tag is State.range(0).
void ImageTab(benchmark::State& State) {
  const std::string& File = PhotoFile();
  const double Angle = OrientationAngle(State.range(0));
  for (auto _ : State) {
    TBitmap Bitmap;
    TJPEGImage Jpeg;
    Jpeg.LoadFromFile(File);
    Bitmap.Picture = JpegToImage(Jpeg);
    if (Angle != 0) RotateBitmapInPlace(Bitmap, static_cast<float>(Angle), true, QColor(240, 240, 240));
    benchmark::DoNotOptimize(Bitmap.Picture.constBits());
  }
}

}  // namespace

BENCHMARK(LibjpegDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(ImageTab)->Arg(1)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond);
